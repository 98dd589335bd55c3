// An in-memory profile file for window-free tests of the settings load.
#include "tests/support/memprofile.h"

std::string EncodeProfileBlob(const void *data, size_t size)
{
    const auto *bytes = static_cast<const unsigned char *>(data);
    std::string text;
    unsigned sum = 0;
    for (size_t i = 0; i <= size; sum += i < size ? bytes[i] : 0, ++i) {
        char hex[3];
        snprintf(hex, sizeof hex, "%02X", i < size ? bytes[i] : sum & 0xFF);
        text += hex;
    }
    return text;
}

bool DecodeProfileBlob(const std::string &text, void *out, size_t size)
{
    if (text.size() != size * 2 + 2 || text.find_first_not_of("0123456789ABCDEFabcdef") != std::string::npos)
        return false;
    auto *bytes = static_cast<unsigned char *>(out);
    unsigned sum = 0;
    for (size_t i = 0; i < size; ++i)
        sum += bytes[i] = (unsigned char)strtoul(text.substr(2 * i, 2).c_str(), nullptr, 16);
    return strtoul(text.substr(2 * size).c_str(), nullptr, 16) == (sum & 0xFF);
}
