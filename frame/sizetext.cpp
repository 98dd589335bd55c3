// File sizes with the units and separators of the program's string table.
#include "frame/sizetext.h"

#include "frame/sizeformat.h"
#include "frame/uitext.h"
#include "res/resource.h"
#include "state/textsize.h"

bool FormatFileSize(uint64_t n, char *out, size_t capacity, bool withUnits)
{
    char texts[6][kTextSize];
    static const unsigned kIds[6] = {IDS_BYTE, IDS_KB, IDS_MB, IDS_GB, IDS_DECIMAL, IDS_THOUSANDS};
    for (int i = 0; i < 6; ++i)
        LoadUiText(kIds[i], texts[i]);
    SizeUnits units = {texts[0], texts[1], texts[2], texts[3], texts[4], texts[5]};
    return FormatSize(n, withUnits, units, out, capacity);
}
