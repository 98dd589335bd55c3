#include "tests/support/memprofile.h"

#include <numeric>

std::string EncodeProfileBlob(const void *data, size_t size)
{
    std::string bytes(static_cast<const char *>(data), size), text;
    bytes += char(std::accumulate(bytes.begin(), bytes.end(), 0)); // the sum's low byte
    for (unsigned char byte : bytes)
        text += {"0123456789ABCDEF"[byte >> 4], "0123456789ABCDEF"[byte & 15]};
    return text;
}
