// The ANSI code page's lead bytes in a table.
#include "frame/leadbytes.h"

#include <windows.h>

static bool g_leadBytes[256];
static bool g_leadBytesKnown;

bool LearnLeadBytes(unsigned codePage, bool isLead[256])
{
    for (int c = 0; c < 256; ++c)
        isLead[c] = false;
    CPINFO info;
    if (!GetCPInfo(codePage, &info)) return false;
    for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i]; i += 2)
        for (int c = info.LeadByte[i]; c <= info.LeadByte[i + 1]; ++c)
            isLead[c] = true;
    return true;
}

bool IsAnsiLeadByte(unsigned char c)
{
    if (!g_leadBytesKnown) {
        LearnLeadBytes(CP_ACP, g_leadBytes);
        g_leadBytesKnown = true;
    }
    return g_leadBytes[c];
}
