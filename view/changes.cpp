// The view's change slots.
#include "view/changes.h"

static const ChangeListener *g_listener;

void SetChangeListener(const ChangeListener *listener)
{
    g_listener = listener;
}

void NotifyRowChanged(HWND view, int row, UINT stringId, const char *before, const char *after, ChangeSource source)
{
    if (g_listener && g_listener->rowChanged) g_listener->rowChanged(view, row, stringId, before, after, source);
}

void NotifySignatureChanged(HWND view, const char *before, ChangeSource source)
{
    if (g_listener && g_listener->signatureChanged) g_listener->signatureChanged(view, before, source);
}
