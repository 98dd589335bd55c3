// The ANSI code page's lead bytes in a table.
#include "frame/leadbytes.h"

#include <windows.h>

static bool g_leadBytes[256];
static bool g_leadBytesKnown;

static void LearnLeadBytes()
{
    CPINFO info;
    if (GetCPInfo(CP_ACP, &info)) {
        for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i]; i += 2)
            for (int c = info.LeadByte[i]; c <= info.LeadByte[i + 1]; ++c)
                g_leadBytes[c] = true;
    }
    g_leadBytesKnown = true;
}

bool IsAnsiLeadByte(unsigned char c)
{
    if (!g_leadBytesKnown) LearnLeadBytes();
    return g_leadBytes[c];
}
