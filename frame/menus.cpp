// The view's menus and accelerators, the shortcut texts and the command states.
#include "frame/menus.h"

#include <commctrl.h>

#include <cstring>
#include <memory>

#include "state/appstate.h"
#include "state/viewstate.h"
#include "frame/toolbar.h"
#include "frame/uitext.h"
#include "res/resource.h"
#include "state/textsize.h"

void DestroyMenus(HWND view)
{
    ViewState *vs = GetViewState(view);
    if (!vs) return;
    if (vs->accelerators) DestroyAcceleratorTable(vs->accelerators);
    if (vs->contextHolder) DestroyMenu(vs->contextHolder);
    if (vs->mainMenu) {
        if (HWND frame = FrameOfView(view); frame && GetMenu(frame) == vs->mainMenu) SetMenu(frame, nullptr);
        DestroyMenu(vs->mainMenu);
    }
    vs->accelerators = nullptr;
    vs->contextHolder = nullptr;
    vs->mainMenu = nullptr;
}

void CreateMenus(HWND view)
{
    ViewState *vs = GetViewState(view);
    if (!vs) return;
    DestroyMenus(view);
    vs->contextHolder = CreatePopupMenu();
    if (HMENU context = LoadMenuA(AppInstance(), MAKEINTRESOURCEA(IDM_CONTEXT))) {
        LocaliseMenu(context);
        SetMenuDefaultItem(context, CMD_TEXT_TRANSLATE, FALSE);
        // Appended as a popup, the menu becomes the holder's first submenu: the list's context menu.
        if (!vs->contextHolder ||
            !AppendMenuA(vs->contextHolder, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(context), "")) {
            DestroyMenu(context);
        }
    }
    vs->mainMenu = LoadMenuA(AppInstance(), MAKEINTRESOURCEA(IDM_MAIN));
    if (vs->mainMenu) {
        LocaliseMenu(vs->mainMenu);
        if (HWND frame = FrameOfView(view)) SetMenu(frame, vs->mainMenu);
    }
    const ShortcutList &shortcuts = App().settings.shortcuts;
    vs->accelerators = BuildAcceleratorTable(shortcuts);
    if (vs->mainMenu) AppendShortcutTexts(vs->mainMenu, shortcuts);
}

HACCEL BuildAcceleratorTable(const ShortcutList &list)
{
    int count = list.Count();
    if (count <= 0) return nullptr;
    std::unique_ptr<ACCEL[]> table(new (std::nothrow) ACCEL[size_t(count)]);
    if (!table) return nullptr;
    int i = 0;
    list.ForEach([&](const ShortcutEntry &e) {
        table[size_t(i)].fVirt = BYTE(e.flags & 0xFF);
        table[size_t(i)].key = e.key;
        table[size_t(i)].cmd = e.command;
        ++i;
    });
    return CreateAcceleratorTableA(table.get(), count);
}

static void Append(char *out, int capacity, const char *text)
{
    int used = int(strlen(out));
    if (used + 1 >= capacity) return;
    lstrcpynA(out + used, text, capacity - used);
}

static void KeyName(UINT vk, char *out, int capacity)
{
    out[0] = '\0';
    if (vk == VK_CLEAR) {
        lstrcpynA(out, "Clear", capacity);
        return;
    }
    if (vk == VK_PAUSE) {
        lstrcpynA(out, "Pause", capacity);
        return;
    }
    LONG lparam = LONG(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC) << 16);
    // Keys of the extended block name themselves only with the extended bit.
    bool extended = (vk >= VK_PRIOR && vk <= VK_DELETE) || vk == VK_APPS || vk == VK_DIVIDE || vk == VK_NUMLOCK;
    if (extended) lparam |= 1L << 24;
    if (GetKeyNameTextA(lparam, out, capacity) <= 0) out[0] = '\0';
}

int FormatShortcut(const ShortcutEntry &entry, char *out, int capacity, bool compact)
{
    if (capacity <= 0) return 0;
    out[0] = '\0';
    const char *joiner = compact ? "+" : " + ";
    char name[64];
    static const struct {
        UINT flag, vk;
    } kModifiers[] = {{kAccControl, VK_CONTROL}, {kAccAlt, VK_MENU}, {kAccShift, VK_SHIFT}};
    for (const auto &m : kModifiers) {
        if (!(entry.flags & m.flag)) continue;
        KeyName(m.vk, name, sizeof name);
        Append(out, capacity, name);
        Append(out, capacity, joiner);
    }
    KeyName(entry.key, name, sizeof name);
    Append(out, capacity, name);
    return int(strlen(name));
}

void AppendShortcutTexts(HMENU menu, const ShortcutList &list)
{
    list.ForEach([menu](const ShortcutEntry &e) {
        char text[kTextSize];
        if (GetMenuStringA(menu, e.command, text, sizeof text, MF_BYCOMMAND) <= 0) return;
        if (strchr(text, '\t')) {
            char orText[kTextSize];
            Append(text, sizeof text, " ");
            if (LoadUiText(IDS_OR, orText)) Append(text, sizeof text, orText);
            Append(text, sizeof text, " ");
        } else {
            Append(text, sizeof text, "\t");
        }
        int used = int(strlen(text));
        FormatShortcut(e, text + used, int(sizeof text) - used, true);
        MENUITEMINFOA mii = {};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_STRING;
        mii.dwTypeData = text;
        SetMenuItemInfoA(menu, e.command, FALSE, &mii);
    });
}

bool TranslateViewKey(HWND view, UINT msg, WPARAM wp, LPARAM lp)
{
    ViewState *vs = GetViewState(view);
    if (!vs || !vs->accelerators) return false;
    MSG m = {};
    m.hwnd = view;
    m.message = msg;
    m.wParam = wp;
    m.lParam = lp;
    return TranslateAcceleratorA(view, vs->accelerators, &m) != 0;
}

void EnableCommand(HWND view, UINT command, bool enabled)
{
    ViewState *vs = GetViewState(view);
    if (!vs) return;
    UINT flags = MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED);
    if (vs->contextHolder) EnableMenuItem(vs->contextHolder, command, flags);
    if (vs->mainMenu) EnableMenuItem(vs->mainMenu, command, flags);
    EnableToolbarButton(view, command, enabled);
}
