// An in-memory profile file for window-free tests of the settings load. Binary values are
// kept as the platform keeps them: two uppercase hex digits per byte, then the byte sum's.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "frame/settingsdata.h"

std::string EncodeProfileBlob(const void *data, size_t size);

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
        auto found = values.find(section + "/" + key);
        return found == values.end() ? nullptr : &found->second;
    }
    int GetInt(const char *section, const char *key, int defaultValue) override
    {
        return Find(section, key) ? int(strtol(Find(section, key)->c_str(), nullptr, 10)) : defaultValue;
    }
    void GetString(const char *section, const char *key, const char *defaultValue, char *out, size_t capacity) override
    {
        snprintf(out, capacity, "%s", Find(section, key) ? Find(section, key)->c_str() : defaultValue);
    }
    // Read only when the text is exactly what the platform writes for the bytes it decodes to.
    bool GetStruct(const char *section, const char *key, void *out, size_t size) override
    {
        const std::string *text = Find(section, key);
        std::string bytes(size, '\0');
        for (size_t i = 0; text && 2 * i + 2 <= text->size() && i < size; ++i)
            bytes[i] = char(strtoul(text->substr(2 * i, 2).c_str(), nullptr, 16));
        if (!text || EncodeProfileBlob(bytes.data(), size) != *text) return false;
        return memcpy(out, bytes.data(), size), true;
    }
    bool WriteString(const char *section, const char *key, const char *value) override
    {
        return Set(section, key, value), ++writes;
    }
    bool WriteStruct(const char *section, const char *key, const void *data, size_t size) override
    {
        return WriteString(section, key, EncodeProfileBlob(data, size).c_str());
    }
};
