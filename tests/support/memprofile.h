// An in-memory profile file for window-free tests of the settings load. Binary values are
// kept as the platform's structured-profile functions keep them: two uppercase hex digits
// per byte, then two for the low byte of the byte sum.
#pragma once
#include <map>
#include <string>

#include "frame/settingsdata.h"

std::string EncodeProfileBlob(const void *data, size_t size);
// False when the text is not exactly 2 * size + 2 hex digits or the checksum differs.
bool DecodeProfileBlob(const std::string &text, void *out, size_t size);

class MemoryProfile final : public ProfileSource {
public:
    std::map<std::string, std::string> values; // "Section/Key" -> text
    int writes = 0;

    void Set(const std::string &section, const std::string &key, const std::string &value)
    {
        values[section + "/" + key] = value;
    }
    const std::string *Find(const char *section, const char *key) const;

    int GetInt(const char *section, const char *key, int defaultValue) override;
    void GetString(const char *section, const char *key, const char *defaultValue, char *out,
                   size_t capacity) override;
    bool GetStruct(const char *section, const char *key, void *out, size_t size) override;
    bool WriteString(const char *section, const char *key, const char *value) override;
    bool WriteStruct(const char *section, const char *key, const void *data, size_t size) override;
};
