// An in-memory profile file for window-free tests of the settings load.
#include "tests/support/memprofile.h"

#include <cstdlib>
#include <cstring>

std::string EncodeProfileBlob(const void *data, size_t size)
{
    static const char kHex[] = "0123456789ABCDEF";
    const auto *bytes = static_cast<const unsigned char *>(data);
    std::string text;
    unsigned sum = 0;
    for (size_t i = 0; i < size; ++i) {
        text += kHex[bytes[i] >> 4];
        text += kHex[bytes[i] & 15];
        sum += bytes[i];
    }
    text += kHex[(sum >> 4) & 15];
    text += kHex[sum & 15];
    return text;
}

static int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool DecodeProfileBlob(const std::string &text, void *out, size_t size)
{
    if (text.size() != size * 2 + 2) return false;
    auto *bytes = static_cast<unsigned char *>(out);
    unsigned sum = 0;
    for (size_t i = 0; i <= size; ++i) {
        int hi = HexValue(text[2 * i]), lo = HexValue(text[2 * i + 1]);
        if (hi < 0 || lo < 0) return false;
        unsigned value = unsigned(hi << 4 | lo);
        if (i == size) return value == (sum & 0xFF);
        bytes[i] = (unsigned char)value;
        sum += value;
    }
    return false;
}

const std::string *MemoryProfile::Find(const char *section, const char *key) const
{
    auto it = values.find(std::string(section) + "/" + key);
    return it == values.end() ? nullptr : &it->second;
}

int MemoryProfile::GetInt(const char *section, const char *key, int defaultValue)
{
    const std::string *v = Find(section, key);
    return v ? int(strtol(v->c_str(), nullptr, 10)) : defaultValue;
}

void MemoryProfile::GetString(const char *section, const char *key, const char *defaultValue, char *out,
                              size_t capacity)
{
    const std::string *v = Find(section, key);
    std::string text = v ? *v : defaultValue;
    size_t n = text.size() < capacity ? text.size() : capacity - 1;
    memcpy(out, text.data(), n);
    out[n] = '\0';
}

bool MemoryProfile::GetStruct(const char *section, const char *key, void *out, size_t size)
{
    const std::string *v = Find(section, key);
    return v && DecodeProfileBlob(*v, out, size);
}

bool MemoryProfile::WriteString(const char *section, const char *key, const char *value)
{
    ++writes;
    Set(section, key, value);
    return true;
}

bool MemoryProfile::WriteStruct(const char *section, const char *key, const void *data, size_t size)
{
    ++writes;
    Set(section, key, EncodeProfileBlob(data, size));
    return true;
}
