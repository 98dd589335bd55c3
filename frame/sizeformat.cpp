// File sizes as the status bar shows them.
#include "frame/sizeformat.h"

#include <cstring>

namespace
{

struct Writer {
    char *out;
    size_t capacity;
    size_t n = 0;
    void Put(const char *text)
    {
        for (; *text; ++text)
            if (n + 1 < capacity) out[n++] = *text;
        out[n] = '\0';
    }
};

} // namespace

bool FormatSize(uint64_t n, bool withUnits, const SizeUnits &units, char *out, size_t capacity)
{
    if (!out || capacity == 0) return false;
    out[0] = '\0';
    uint64_t value = n;
    int decimals = 0;
    const char *unit = units.byte;
    if (withUnits && n >= 1024) {
        static const int kShifts[] = {30, 20, 10};
        const char *names[] = {units.gb, units.mb, units.kb};
        for (int i = 0; i < 3; ++i) {
            uint64_t base = uint64_t(1) << kShifts[i];
            if (n >= base) {
                // n * 100 overflows only past 2^64 / 100 bytes; divide first there.
                value = n <= UINT64_MAX / 100 ? n * 100 / base : n / base * 100;
                decimals = 2;
                unit = names[i];
                break;
            }
        }
    }
    char digits[24];
    int count = 0;
    do {
        digits[count++] = char('0' + value % 10);
        value /= 10;
    } while (value);
    while (count < decimals + 1)
        digits[count++] = '0';
    Writer w{out, capacity};
    for (int i = count - 1; i >= 0; --i) {
        char d[2] = {digits[i], 0};
        w.Put(d);
        if (decimals && i == decimals) w.Put(units.decimal);
        if (!decimals && i > 0 && i % 3 == 0) w.Put(units.thousands);
    }
    w.Put(" ");
    w.Put(unit);
    return true;
}
