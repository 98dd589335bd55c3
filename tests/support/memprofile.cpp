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
