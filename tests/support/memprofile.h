// An in-memory profile file for window-free tests of the settings load. Binary values are
// kept as the platform's structured-profile functions keep them: two uppercase hex digits
// per byte, then two for the low byte of the byte sum.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "frame/settingsdata.h"

std::string EncodeProfileBlob(const void *data, size_t size);
// False when the text is not exactly 2 * size + 2 hex digits or the checksum differs.
bool DecodeProfileBlob(const std::string &text, void *out, size_t size);

class MemoryProfile final : public ProfileSource
{
public:
    std::map<std::string, std::string> values; // "Section/Key" -> text
    int writes = 0;

    void Set(const std::string &section, const std::string &key, const std::string &value)
    {
        values[section + "/" + key] = value;
    }
    const std::string *Find(const std::string &section, const std::string &key) const
    {
        return values.count(section + "/" + key) ? &values.at(section + "/" + key) : nullptr;
    }
    int GetInt(const char *section, const char *key, int defaultValue) override
    {
        return Find(section, key) ? int(strtol(Find(section, key)->c_str(), nullptr, 10)) : defaultValue;
    }
    void GetString(const char *section, const char *key, const char *defaultValue, char *out, size_t capacity) override
    {
        snprintf(out, capacity, "%s", Find(section, key) ? Find(section, key)->c_str() : defaultValue);
    }
    bool GetStruct(const char *section, const char *key, void *out, size_t size) override
    {
        return Find(section, key) && DecodeProfileBlob(*Find(section, key), out, size);
    }
    bool WriteString(const char *section, const char *key, const char *value) override
    {
        Set(section, key, value);
        return ++writes;
    }
    bool WriteStruct(const char *section, const char *key, const void *data, size_t size) override
    {
        return WriteString(section, key, EncodeProfileBlob(data, size).c_str());
    }
};
