// The toolbar on the real view, whose commands and tooltip answers a spy records.
#include "state/appstate.h"
#include "frame/menus.h"
#include "frame/toolbar.h"
#include "frame/toolbardata.h"
#include "image/imageres.h"
#include "res/resource.h"
#include "tests/support/apptest.h"

namespace
{

std::vector<UINT> g_commands;    // WM_COMMAND IDs the view was sent: swallowed, so that nothing runs
std::vector<std::string> g_tips; // texts the view gave to tooltip requests
WNDPROC g_viewProc;

LRESULT CALLBACK Spy(HWND window, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_COMMAND && lp) return g_commands.push_back(LOWORD(wp)), 0;
    LRESULT result = CallWindowProcA(g_viewProc, window, msg, wp, lp);
    auto *info = reinterpret_cast<NMTTDISPINFOA *>(lp);
    if (msg == WM_NOTIFY && info->hdr.code == UINT(TTN_GETDISPINFOA) && info->lpszText)
        g_tips.push_back(info->lpszText);
    return result;
}

// The middle of a button, in the toolbar's client coordinates.
POINT Middle(HWND toolbar, UINT command)
{
    RECT rc = {};
    SendMessageA(toolbar, TB_GETRECT, command, reinterpret_cast<LPARAM>(&rc));
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

class Toolbar : public AppTest
{
protected:
    // The toolbar the view makes with these settings (no items: the default list).
    HWND Create(std::vector<int32_t> items = {}, bool flat = false, bool labels = false)
    {
        if (!view) {
            Start("[Option]\r\nStatusBar=0\r\n");
            g_viewProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(view, GWLP_WNDPROC, LONG_PTR(Spy)));
            g_commands.clear();
            g_tips.clear();
        }
        SettingsRecord &settings = App().settings;
        if (!items.empty()) settings.toolbarItems.Clear();
        for (int32_t id : items)
            settings.toolbarItems.Append(id);
        settings.flatStyle = flat;
        settings.textLabels = labels;
        ShowToolbar(view, true);
        return Vs()->toolbar;
    }
};

// The records themselves are ToolbarLayout's: here the control is given them, the strip and the texts.
TEST_F(Toolbar, ShowMakesTheButtonsStripTipsAndLabelsThatRunAndGreyWithTheMenusOrDestroysThem)
{
    HWND first = Create();
    EXPECT_TRUE(first && GetDlgItem(view, kToolbarId) == first);
    EXPECT_EQ(GetWindowLongPtrA(first, GWL_STYLE) & (TBSTYLE_TOOLTIPS | TBSTYLE_FLAT | 0x8000), TBSTYLE_TOOLTIPS);
    auto tips = reinterpret_cast<HWND>(SendMessageA(first, TB_GETTOOLTIPS, 0, 0));
    auto tip = [&](HWND from, UINT_PTR id, UINT flags = 0, bool noView = false) {
        NMTTDISPINFOA info = {{from, id, UINT(TTN_GETDISPINFOA)}};
        info.uFlags = flags;
        return std::string(ToolbarTooltipText(noView ? nullptr : view, &info) ? info.lpszText : "-") + "|";
    };
    // Whole and undecorated; no such string; someone else's tooltip; a tool named by window; no view.
    EXPECT_EQ(tip(tips, CMD_EDIT_FIND) + tip(tips, CMD_TEXT_TRANSLATE_NEXT) + tip(tips, 39999) +
                  tip(view, CMD_EDIT_FIND) + tip(tips, CMD_EDIT_FIND, TTF_IDISHWND) +
                  tip(tips, CMD_EDIT_FIND, 0, true) + (ToolbarTooltipText(view, nullptr) ? "info" : ""),
              "Find|Translate next untranslated|-|-|-|-|");

    HWND toolbar = Create({}, true); // replaced; 0x8000: transparent
    EXPECT_EQ(GetWindowLongPtrA(toolbar, GWL_STYLE) & (TBSTYLE_FLAT | 0x8000), TBSTYLE_FLAT);
    EXPECT_FALSE(IsWindow(first) || FindWindowExA(view, toolbar, TOOLBARCLASSNAMEA, nullptr)); // the only one
    TBBUTTON b = {};
    SendMessageA(toolbar, TB_GETBUTTON, 1, reinterpret_cast<LPARAM>(&b));
    auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(toolbar, TB_GETIMAGELIST, 0, 0));
    int cx = 0, cy = 0;
    ImageList_GetIconSize(images, &cx, &cy);
    EXPECT_EQ(std::to_string(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0)) + " " + std::to_string(b.idCommand) + "@" +
                  std::to_string(b.iBitmap) + " " + std::to_string(ImageList_GetImageCount(images)) + " " +
                  std::to_string(cx) + "x" + std::to_string(cy),
              "12 40005@4 " + std::to_string(kStripImageCount) + " 16x16");
    // The strip's greys in the system button colours (the mapping itself is ToolbarGreys').
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, App().toolbarImage);
    Image *strip = ImageLoadResource(AppCodecRegistry(), AppInstance(), IDR_TOOLSTRIP, "IMAGE", nullptr);
    PALETTEENTRY palette[256] = {};
    RemapButtonGreys(palette, ImageGetPalette(strip, palette),
                     {GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_3DLIGHT)});
    int mismatches = 0;
    for (int i = 0, width = 16 * kStripImageCount; i < width * 16; ++i) {
        const PALETTEENTRY &e = palette[ImageGetPixel(strip, i % width, i / width)];
        mismatches += GetPixel(dc, i % width, i / width) != RGB(e.peRed, e.peGreen, e.peBlue);
    }
    EXPECT_EQ(mismatches, 0);
    ImageFree(strip);
    DeleteDC(dc); // before the toolbar's image goes

    ShowWindow(frame, SW_SHOWNOACTIVATE);
    SetWindowPos(frame, nullptr, 0, 0, 700, 400, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE); // WM_SIZE
    RECT client, bar, list; // without a status bar the list goes down to the bottom
    GetClientRect(view, &client);
    GetWindowRect(toolbar, &bar);
    GetWindowRect(Vs()->list, &list);
    MapWindowPoints(nullptr, view, reinterpret_cast<POINT *>(&bar), 2);
    MapWindowPoints(nullptr, view, reinterpret_cast<POINT *>(&list), 2);
    EXPECT_EQ(std::to_string(IsWindowVisible(toolbar)) + " " + std::to_string(bar.left) + "," +
                  std::to_string(bar.top) + "," + std::to_string(bar.right) + " " +
                  std::to_string(client.bottom - list.bottom) + (Vs()->statusBar ? " status bar" : ""),
              "1 0,0," + std::to_string(client.right) + " 0");
    auto click = [&](UINT command) {
        LPARAM at = MAKELPARAM(Middle(toolbar, command).x, Middle(toolbar, command).y);
        SendMessageA(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(toolbar, WM_LBUTTONUP, 0, at);
        PumpMessages();
    };
    auto enabled = [&] {
        std::string out;
        for (UINT command : {CMD_FILE_SAVE, CMD_FILE_OPEN, CMD_EDIT_FIND})
            out += SendMessageA(toolbar, TB_ISBUTTONENABLED, command, 0) ? "E" : "-";
        return out;
    };
    click(CMD_FILE_SAVE);
    EnableCommand(view, CMD_FILE_SAVE, false);
    EnableToolbarButton(view, CMD_EDIT_FIND, false);
    EXPECT_EQ(enabled(), "-E-");
    click(CMD_FILE_SAVE);
    EXPECT_EQ(g_commands, std::vector<UINT>{CMD_FILE_SAVE}) << "a grey button runs nothing";
    EnableCommand(view, CMD_FILE_SAVE, true);
    EXPECT_EQ(enabled(), "EE-");

    const std::vector<int32_t> items = {CMD_FILE_EXIT, CMD_OPTIONS_PREFERENCES, CMD_TEXT_TRANSLATE, 1};
    for (bool labels : {true, false}) { // cut only when asked
        std::string got;
        for (HWND labelled = Create(items, true, labels); int32_t id : items) {
            char text[64] = "";
            SendMessageA(labelled, TB_GETBUTTONTEXTA, id, reinterpret_cast<LPARAM>(text));
            got += std::string(text) + "|";
        }
        EXPECT_EQ(got, labels ? "Exit|Prefe...|Translate|OK|" : "||||"); // 1: whatever string 1 holds
    }

    ShowToolbar(view, false);
    EXPECT_TRUE(!Vs()->toolbar && !FindWindowExA(view, nullptr, TOOLBARCLASSNAMEA, nullptr) && !App().toolbarImage &&
                tip(tips, CMD_EDIT_FIND) == "-|");
    DestroyToolbar(view); // without a toolbar nothing fails
    EnableCommand(view, CMD_FILE_SAVE, false);
    EnableToolbarButton(view, CMD_FILE_SAVE, false);
    RepositionToolbar(view);
    RepositionToolbar(nullptr);
    ShowToolbar(nullptr, true);
    static CodecRegistry empty;
    App().codecs = &empty; // no codec accepts the strip: a toolbar without buttons
    HWND bare = Create();
    EXPECT_TRUE(bare && SendMessageA(bare, TB_BUTTONCOUNT, 0, 0) == 0 && !App().toolbarImage);
}

// The pointer and the active window belong to the whole session: run alone (see CMakeLists.txt).
using ToolbarPointer = Toolbar;

TEST_F(ToolbarPointer, HoveringAButtonAsksTheViewForItsTooltip)
{
    HWND toolbar = Create();
    ShowWindow(frame, SW_SHOW);
    SetForegroundWindow(frame); // tooltips show for the active window only
    RepositionToolbar(view);
    PumpMessages();
    POINT at = Middle(toolbar, CMD_EDIT_FIND);
    // The toolbar relays mouse moves to its tooltip, which asks for the text when it shows.
    SendMessageA(toolbar, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    ClientToScreen(toolbar, &at);
    SetCursorPos(at.x, at.y);
    ASSERT_TRUE(PumpUntil([&] { return !g_tips.empty(); }, 5000));
    EXPECT_EQ(g_tips.back(), "Find");
}

} // namespace
