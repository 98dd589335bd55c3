// Path expansion on arbitrary bytes: the first byte picks the capacity, the rest is
// "source\0value"; every variable has that value. Checks the bounds and the terminator.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "catalogue/pathexpand.h"

static bool Lookup(const char *name, char *out, size_t capacity, void *context)
{
    const std::string &value = *static_cast<const std::string *>(context);
    if (name[0] == 'U') return false; // names starting with U are undefined
    size_t n = value.size() < capacity - 1 ? value.size() : capacity - 1;
    memcpy(out, value.data(), n);
    out[n] = '\0';
    return true;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1) return 0;
    size_t capacity = data[0] % 64 == 0 ? 260 : data[0] % 64;
    std::string rest(reinterpret_cast<const char *>(data + 1), size - 1);
    size_t split = rest.find('\0');
    std::string source = rest.substr(0, split);
    std::string value = split == std::string::npos ? "" : rest.substr(split + 1);
    value = value.substr(0, value.find('\0'));

    // The exact capacity on the heap, so ASan sees any write past it.
    char *out = static_cast<char *>(malloc(capacity));
    size_t n = ExpandPathVariables(source.c_str(), out, capacity, Lookup, &value);
    if (n >= capacity || out[n] != '\0' || strlen(out) != n) abort();
    free(out);
    return 0;
}
