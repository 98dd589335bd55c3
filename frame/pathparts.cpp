// Path parts, walked character by character.
#include "frame/pathparts.h"

#include <cstring>

// The last backslash of path that is a character of its own; null when there is none.
static const char *LastBackslash(const char *path, LeadByteFn isLead)
{
    const char *last = nullptr;
    for (const char *p = path; *p; ++p) {
        if (*p == '\\')
            last = p;
        else if (isLead && isLead(static_cast<unsigned char>(*p)) && p[1])
            ++p;
    }
    return last;
}

const char *FileNamePart(const char *path, LeadByteFn isLead)
{
    const char *slash = LastBackslash(path, isLead);
    return slash ? slash + 1 : path;
}

bool FolderPart(const char *path, char *out, size_t capacity, LeadByteFn isLead)
{
    const char *slash = LastBackslash(path, isLead);
    if (!slash || slash == path) return false;
    size_t n = size_t(slash - path);
    const bool driveAlone = !memchr(path, '\\', n);
    if (n + (driveAlone ? 2 : 1) > capacity) return false;
    memcpy(out, path, n);
    if (driveAlone) out[n++] = '\\';
    out[n] = '\0';
    return true;
}
