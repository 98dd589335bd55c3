// The toolbar inside the test process: a plain parent window stands in for the view, with a
// zeroed view state attached as the view window attaches its own.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

#include "state/appstate.h"
#include "state/viewstate.h"
#include "frame/menus.h"
#include "frame/toolbar.h"
#include "frame/toolbardata.h"
#include "image/imageres.h"
#include "res/resource.h"
#include "tests/support/winharness.h"

namespace {

// The strip as drawn: one 16 x 16 image per command.
constexpr int kStripWidth = 16 * kStripImageCount;

const char kParentClass[] = "ToolbarTestParent";

std::vector<UINT> g_commands;    // WM_COMMAND IDs the parent received
std::vector<std::string> g_tips; // texts the parent gave to tooltip requests

LRESULT CALLBACK ParentProc(HWND window, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_COMMAND: g_commands.push_back(LOWORD(wp)); return 0;
    case WM_NOTIFY: {
        auto *header = reinterpret_cast<NMHDR *>(lp);
        if (header->code == UINT(TTN_GETDISPINFOA)) {
            auto *info = reinterpret_cast<NMTTDISPINFOA *>(lp);
            if (ToolbarTooltipText(window, info)) g_tips.push_back(info->lpszText);
            return 0;
        }
        break;
    }
    case WM_SIZE: RepositionToolbar(window); return 0;
    }
    return DefWindowProcA(window, msg, wp, lp);
}

struct ToolbarOptions {
    std::vector<int32_t> items; // empty: the default list
    bool flat = false;
    bool labels = false;
};

std::vector<int32_t> AllCommands()
{
    std::vector<int32_t> ids;
    for (int32_t id = CMD_FIRST; id <= CMD_LAST; ++id) ids.push_back(id);
    return ids;
}

TBBUTTON Button(HWND toolbar, int index)
{
    TBBUTTON button = {};
    EXPECT_TRUE(SendMessageA(toolbar, TB_GETBUTTON, WPARAM(index), reinterpret_cast<LPARAM>(&button)));
    return button;
}

std::string ButtonText(HWND toolbar, UINT command)
{
    char text[256] = "";
    LRESULT n = SendMessageA(toolbar, TB_GETBUTTONTEXTA, command, reinterpret_cast<LPARAM>(text));
    return n > 0 ? std::string(text, size_t(n)) : std::string();
}

RECT ButtonRect(HWND toolbar, UINT command)
{
    RECT rc = {};
    SendMessageA(toolbar, TB_GETRECT, command, reinterpret_cast<LPARAM>(&rc));
    return rc;
}

// Presses and releases the left button over a button, as a click does.
void Click(HWND toolbar, UINT command)
{
    RECT rc = ButtonRect(toolbar, command);
    LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    SendMessageA(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(toolbar, WM_LBUTTONUP, 0, at);
    PumpMessages();
}

// The pixels of a device-dependent bitmap as 0x00BBGGRR, top row first.
std::vector<COLORREF> BitmapPixels(HBITMAP bitmap, int width, int height)
{
    std::vector<uint32_t> bgra(size_t(width) * size_t(height));
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    HDC screen = GetDC(nullptr);
    int lines = GetDIBits(screen, bitmap, 0, UINT(height), bgra.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(lines, height);
    std::vector<COLORREF> pixels;
    for (uint32_t p : bgra) pixels.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    return pixels;
}

// What the window shows on screen, copied out of its device context.
std::vector<COLORREF> WindowPixels(HWND window, int *width, int *height)
{
    RECT rc;
    GetClientRect(window, &rc);
    *width = rc.right;
    *height = rc.bottom;
    HDC dc = GetDC(window);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, *width, *height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, *width, *height, dc, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(window, dc);
    std::vector<COLORREF> pixels = BitmapPixels(bitmap, *width, *height);
    DeleteObject(bitmap);
    return pixels;
}

// Writes pixels as a 24-bit BMP (for looking at the toolbar; PARLEVO_SHOT_DIR names the folder).
void WriteBmp(const std::string &path, const std::vector<COLORREF> &pixels, int width, int height)
{
    int stride = (width * 3 + 3) & ~3;
    std::string bytes(size_t(54 + stride * height), '\0');
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes[at + size_t(i)] = char((v >> (8 * i)) & 0xFF);
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, uint32_t(bytes.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, uint32_t(width));
    put32(22, uint32_t(height));
    put32(26, 1 | (24 << 16));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            COLORREF c = pixels[size_t(y) * size_t(width) + size_t(x)];
            size_t at = 54 + size_t(height - 1 - y) * size_t(stride) + size_t(x) * 3;
            bytes[at] = char(GetBValue(c));
            bytes[at + 1] = char(GetGValue(c));
            bytes[at + 2] = char(GetRValue(c));
        }
    }
    HarnessWriteFile(path, bytes);
}

class Toolbar : public ::testing::Test {
protected:
    HWND parent = nullptr;
    ViewState *vs = nullptr;

    void SetUp() override
    {
        HarnessStartApp("");
        WNDCLASSA wc = {};
        if (!GetClassInfoA(GetModuleHandleA(nullptr), kParentClass, &wc)) {
            wc.lpfnWndProc = ParentProc;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = kParentClass;
            wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1); // as under a frame
            ASSERT_TRUE(RegisterClassA(&wc));
        }
        g_commands.clear();
        g_tips.clear();
    }

    void TearDown() override
    {
        CloseParent();
        HarnessStopApp();
    }

    void CloseParent()
    {
        if (!parent) return;
        DestroyToolbar(parent);
        DestroyWindow(parent);
        parent = nullptr;
        LocalFree(vs);
        vs = nullptr;
    }

    // A parent with a view state, and the toolbar the view would create with these settings.
    HWND Create(const ToolbarOptions &options, int x = 0, int y = 0, int width = 560)
    {
        SettingsRecord &settings = App().settings;
        if (!options.items.empty()) {
            settings.toolbarItems.Clear();
            for (int32_t id : options.items) settings.toolbarItems.Append(id);
        }
        settings.flatStyle = options.flat;
        settings.textLabels = options.labels;
        parent = CreateWindowExA(0, kParentClass, "Toolbar", WS_OVERLAPPEDWINDOW, x, y, width, 140, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        EXPECT_NE(parent, nullptr);
        vs = static_cast<ViewState *>(LocalAlloc(LPTR, sizeof(ViewState)));
        vs->view = parent;
        SetWindowLongPtrA(parent, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(vs));
        ShowToolbar(parent, true);
        return vs->toolbar;
    }

    int ClickableButtons(HWND toolbar)
    {
        int clickable = 0;
        int count = int(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            TBBUTTON b = Button(toolbar, i);
            if (!(b.fsStyle & BTNS_SEP) && (b.fsState & TBSTATE_ENABLED)) ++clickable;
        }
        return clickable;
    }
};

TEST_F(Toolbar, StripResourceIsOneFrameOfSixteenColourButtons)
{
    ImageSource source = {};
    Image *strip = ImageLoadResource(AppCodecRegistry(), AppInstance(), IDR_TOOLSTRIP, "IMAGE", &source);
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(source.error, 0u);
    EXPECT_EQ(source.formatFlags, 0u); // not interlaced
    EXPECT_EQ(ImageGetWidth(strip), 16 * kStripImageCount);
    EXPECT_EQ(ImageGetHeight(strip), 16);
    EXPECT_EQ(ImageGetDepthCode(strip), 4);
    EXPECT_EQ(ImageNextFrame(strip), nullptr);
    EXPECT_EQ(ImageGetLoopCount(strip), 1u);
    EXPECT_EQ(ImageGetDelay(strip), 0u);
    EXPECT_EQ(ImageGetTransparency(strip), 0u);
    PALETTEENTRY palette[256] = {};
    ASSERT_EQ(ImageGetPalette(strip, palette), 16u);

    // The three button greys are there to be mapped, and every button draws something on the face.
    auto greyIndex = [&](int level) {
        for (int i = 0; i < 16; ++i)
            if (palette[i].peRed == level && palette[i].peGreen == level && palette[i].peBlue == level) return i;
        return -1;
    };
    ASSERT_GE(greyIndex(128), 0);
    ASSERT_GE(greyIndex(192), 0);
    ASSERT_GE(greyIndex(223), 0);
    uint32_t face = uint32_t(greyIndex(192));
    for (int button = 0; button < kStripImageCount; ++button) {
        int drawn = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) drawn += ImageGetPixel(strip, button * 16 + x, y) != face;
        EXPECT_GT(drawn, 40) << "button " << button;
        EXPECT_LT(drawn, 256) << "button " << button; // some face shows round every picture
    }
    ImageFree(strip);
}

TEST_F(Toolbar, DefaultListGivesTwelveButtonsBehindALeadingSeparator)
{
    HWND toolbar = Create({});
    ASSERT_NE(toolbar, nullptr);
    EXPECT_EQ(GetDlgItem(parent, kToolbarId), toolbar);
    EXPECT_EQ(ClassName(toolbar), TOOLBARCLASSNAMEA);
    EXPECT_FALSE(IsWindowVisible(toolbar)); // shown by the first reposition
    EXPECT_EQ(GetWindowLongPtrA(toolbar, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(vs));
    LONG_PTR style = GetWindowLongPtrA(toolbar, GWL_STYLE);
    EXPECT_TRUE(style & TBSTYLE_TOOLTIPS);
    EXPECT_FALSE(style & TBSTYLE_FLAT);
    EXPECT_FALSE(style & 0x8000);

    ASSERT_EQ(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0), 12);
    EXPECT_TRUE(Button(toolbar, 0).fsStyle & BTNS_SEP);
    for (int i = 0; i < 12; ++i) {
        TBBUTTON b = Button(toolbar, i);
        if (kDefaultToolbar[i] == kToolbarSeparator) {
            EXPECT_TRUE(b.fsStyle & BTNS_SEP) << i;
            continue;
        }
        EXPECT_EQ(b.idCommand, kDefaultToolbar[i]) << i;
        EXPECT_EQ(b.iBitmap, kDefaultToolbar[i] - CMD_FIRST) << i;
        EXPECT_TRUE(b.fsState & TBSTATE_ENABLED) << i;
    }
    EXPECT_EQ(ClickableButtons(toolbar), 8);

    // The whole strip, cut into 16 x 16 images.
    auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(toolbar, TB_GETIMAGELIST, 0, 0));
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(images), kStripImageCount);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(images, &cx, &cy);
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);
    EXPECT_NE(App().toolbarImage, nullptr);
}

TEST_F(Toolbar, FlatStyleFollowsTheSettingWithoutTheTransparentBit)
{
    HWND toolbar = Create({{}, true, false});
    ASSERT_NE(toolbar, nullptr);
    LONG_PTR style = GetWindowLongPtrA(toolbar, GWL_STYLE);
    EXPECT_TRUE(style & TBSTYLE_FLAT);
    EXPECT_FALSE(style & 0x8000);
}

TEST_F(Toolbar, SeparatorsOnlyGiveNoClickableButton)
{
    HWND toolbar = Create({{-1, -1, -1}});
    ASSERT_NE(toolbar, nullptr);
    EXPECT_EQ(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0), 3);
    EXPECT_EQ(ClickableButtons(toolbar), 0);
}

TEST_F(Toolbar, CommandOutsideTheStripHasNoImage)
{
    HWND toolbar = Create({{40024, CMD_EDIT_FIND, 40000}});
    ASSERT_NE(toolbar, nullptr);
    ASSERT_EQ(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0), 3);
    EXPECT_EQ(Button(toolbar, 0).iBitmap, I_IMAGENONE);
    EXPECT_EQ(Button(toolbar, 0).idCommand, 40024);
    EXPECT_EQ(Button(toolbar, 1).iBitmap, 12);
    EXPECT_EQ(Button(toolbar, 2).iBitmap, I_IMAGENONE); // not the callback index -1
}

TEST_F(Toolbar, LabelsAreTheCommandTextsCutAfterFiveCharacters)
{
    std::vector<int32_t> items = AllCommands();
    items.push_back(1); // not a command: whatever the string table holds under 1
    HWND toolbar = Create({items, true, true});
    ASSERT_NE(toolbar, nullptr);
    EXPECT_EQ(ButtonText(toolbar, CMD_FILE_EXIT), "Exit");
    EXPECT_EQ(ButtonText(toolbar, CMD_OPTIONS_PREFERENCES), "Prefe...");
    EXPECT_EQ(ButtonText(toolbar, CMD_FILE_SAVE_AS), "Save as");
    EXPECT_EQ(ButtonText(toolbar, CMD_TEXT_TRANSLATE), "Translate");
    EXPECT_EQ(ButtonText(toolbar, CMD_TEXT_SIGNATURE), "Signature");
    EXPECT_EQ(ButtonText(toolbar, CMD_FILE_SAVE_TEMPLATE), "Save ...");
    EXPECT_EQ(ButtonText(toolbar, CMD_TEXT_TRANSLATE_NEXT), "Trans...");
    EXPECT_EQ(ButtonText(toolbar, CMD_EDIT_FIND), "Find");
    EXPECT_EQ(ButtonText(toolbar, CMD_EDIT_FIND_NEXT), "Find Next");
    EXPECT_EQ(ButtonText(toolbar, 1), "OK");
}

TEST_F(Toolbar, WithoutLabelsTheButtonsHaveNoText)
{
    HWND toolbar = Create({AllCommands(), false, false});
    ASSERT_NE(toolbar, nullptr);
    EXPECT_EQ(ButtonText(toolbar, CMD_EDIT_FIND), "");
    EXPECT_EQ(ButtonText(toolbar, CMD_FILE_EXIT), "");
}

TEST_F(Toolbar, ButtonsRunTheirCommandsAndGreyWithTheMenus)
{
    HWND toolbar = Create({});
    ASSERT_NE(toolbar, nullptr);
    RepositionToolbar(parent);
    Click(toolbar, CMD_FILE_SAVE);
    EXPECT_EQ(g_commands, std::vector<UINT>{CMD_FILE_SAVE});

    EnableCommand(parent, CMD_FILE_SAVE, false);
    EXPECT_FALSE(SendMessageA(toolbar, TB_ISBUTTONENABLED, CMD_FILE_SAVE, 0));
    EXPECT_TRUE(SendMessageA(toolbar, TB_ISBUTTONENABLED, CMD_FILE_OPEN, 0));
    g_commands.clear();
    Click(toolbar, CMD_FILE_SAVE);
    EXPECT_TRUE(g_commands.empty());

    EnableCommand(parent, CMD_FILE_SAVE, true);
    EXPECT_TRUE(SendMessageA(toolbar, TB_ISBUTTONENABLED, CMD_FILE_SAVE, 0));
    EnableToolbarButton(parent, CMD_EDIT_FIND, false);
    EXPECT_FALSE(SendMessageA(toolbar, TB_ISBUTTONENABLED, CMD_EDIT_FIND, 0));
    EnableToolbarButton(parent, CMD_EDIT_FIND, true);
    EXPECT_TRUE(SendMessageA(toolbar, TB_ISBUTTONENABLED, CMD_EDIT_FIND, 0));

    // Without a toolbar the menus still grey, and nothing fails.
    ShowToolbar(parent, false);
    EnableCommand(parent, CMD_FILE_SAVE, false);
    EnableToolbarButton(parent, CMD_FILE_SAVE, false);
}

TEST_F(Toolbar, TooltipShowsTheCommandsTextForTheToolbarsOwnRequests)
{
    HWND toolbar = Create({});
    ASSERT_NE(toolbar, nullptr);
    auto tips = reinterpret_cast<HWND>(SendMessageA(toolbar, TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tips, nullptr);

    auto request = [&](HWND from, UINT_PTR id, UINT flags) {
        NMTTDISPINFOA info = {};
        info.hdr.hwndFrom = from;
        info.hdr.idFrom = id;
        info.hdr.code = UINT(TTN_GETDISPINFOA);
        info.uFlags = flags;
        bool answered = ToolbarTooltipText(parent, &info);
        return answered ? std::string(info.lpszText) : std::string("<not answered>");
    };
    EXPECT_EQ(request(tips, CMD_EDIT_FIND, 0), "Find");
    EXPECT_EQ(request(tips, CMD_TEXT_TRANSLATE_NEXT, 0), "Translate next untranslated"); // whole, undecorated
    EXPECT_EQ(request(tips, CMD_OPTIONS_PREFERENCES, 0), "Preferences");
    EXPECT_EQ(request(tips, 39999, 0), "<not answered>");                    // no such string
    EXPECT_EQ(request(parent, CMD_EDIT_FIND, 0), "<not answered>");          // someone else's tooltip
    EXPECT_EQ(request(tips, CMD_EDIT_FIND, TTF_IDISHWND), "<not answered>"); // a tool named by window

    NMTTDISPINFOA info = {};
    EXPECT_FALSE(ToolbarTooltipText(nullptr, &info));
    EXPECT_FALSE(ToolbarTooltipText(parent, nullptr));
    ShowToolbar(parent, false);
    EXPECT_EQ(request(tips, CMD_EDIT_FIND, 0), "<not answered>");
}

// The pointer and the active window belong to the whole session: run alone (see CMakeLists.txt).
using ToolbarPointer = Toolbar;

TEST_F(ToolbarPointer, HoveringAButtonAsksTheViewForItsTooltip)
{
    HWND toolbar = Create({});
    ASSERT_NE(toolbar, nullptr);
    // Tooltips show for the active window only.
    ShowWindow(parent, SW_SHOW);
    SetForegroundWindow(parent);
    RepositionToolbar(parent);
    PumpMessages();
    RECT rc = ButtonRect(toolbar, CMD_EDIT_FIND);
    POINT at = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    ClientToScreen(toolbar, &at);
    SetCursorPos(at.x, at.y);
    POINT client = at;
    ScreenToClient(toolbar, &client);
    auto tips = reinterpret_cast<HWND>(SendMessageA(toolbar, TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tips, nullptr);
    // The toolbar relays mouse moves to its tooltip, which asks for the text when it shows.
    SendMessageA(toolbar, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
    EXPECT_TRUE(PumpUntil([&] { return !g_tips.empty(); }, 5000));
    ASSERT_FALSE(g_tips.empty());
    EXPECT_EQ(g_tips.back(), "Find");
}

TEST_F(Toolbar, RepositionShowsTheToolbarAcrossTheTopOfTheView)
{
    HWND toolbar = Create({});
    ASSERT_NE(toolbar, nullptr);
    EXPECT_FALSE(IsWindowVisible(toolbar));
    ShowWindow(parent, SW_SHOWNOACTIVATE);
    RepositionToolbar(parent);
    EXPECT_TRUE(IsWindowVisible(toolbar));
    RECT client, bar;
    GetClientRect(parent, &client);
    GetWindowRect(toolbar, &bar);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT *>(&bar), 2);
    EXPECT_EQ(bar.left, 0);
    EXPECT_EQ(bar.top, 0);
    EXPECT_EQ(bar.right, client.right);
    EXPECT_GE(bar.bottom - bar.top, 22); // a 16-pixel image with the button's edges
    EXPECT_LT(bar.bottom - bar.top, 60);

    // A wider view: the control follows on the next reposition.
    SetWindowPos(parent, nullptr, 0, 0, 700, 140, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    GetClientRect(parent, &client);
    GetWindowRect(toolbar, &bar);
    EXPECT_EQ(bar.right - bar.left, client.right);

    // Without a toolbar nothing happens.
    ShowToolbar(parent, false);
    RepositionToolbar(parent);
    RepositionToolbar(nullptr);
}

TEST_F(Toolbar, ShowReplacesTheToolbarAndFalseDestroysIt)
{
    HWND first = Create({});
    ASSERT_NE(first, nullptr);
    ShowToolbar(parent, true);
    HWND second = vs->toolbar;
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(GetDlgItem(parent, kToolbarId), second);
    EXPECT_EQ(FindWindowExA(parent, second, TOOLBARCLASSNAMEA, nullptr), nullptr); // only one
    EXPECT_NE(App().toolbarImage, nullptr);

    ShowToolbar(parent, false);
    EXPECT_EQ(vs->toolbar, nullptr);
    EXPECT_FALSE(IsWindow(second));
    EXPECT_EQ(App().toolbarImage, nullptr);
    DestroyToolbar(parent); // twice is harmless
    ShowToolbar(nullptr, true);
}

TEST_F(Toolbar, WithoutADecodableStripTheToolbarHasNoButtons)
{
    static CodecRegistry empty;
    App().codecs = &empty; // no codec accepts the strip
    HWND toolbar = Create({});
    ASSERT_NE(toolbar, nullptr);
    EXPECT_EQ(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0), 0);
    EXPECT_EQ(App().toolbarImage, nullptr);
}

TEST_F(Toolbar, StripGreysTakeTheSystemButtonColours)
{
    HWND toolbar = Create({});
    ASSERT_NE(toolbar, nullptr);
    ASSERT_NE(App().toolbarImage, nullptr);
    std::vector<COLORREF> drawn = BitmapPixels(App().toolbarImage, kStripWidth, 16);

    Image *strip = ImageLoadResource(AppCodecRegistry(), AppInstance(), IDR_TOOLSTRIP, "IMAGE", nullptr);
    ASSERT_NE(strip, nullptr);
    PALETTEENTRY palette[256] = {};
    ImageGetPalette(strip, palette);
    int mismatches = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < kStripWidth; ++x) {
            const PALETTEENTRY &e = palette[ImageGetPixel(strip, x, y)];
            COLORREF expected = RGB(e.peRed, e.peGreen, e.peBlue);
            if (e.peRed == e.peGreen && e.peGreen == e.peBlue) {
                if (e.peRed == 128) expected = GetSysColor(COLOR_BTNSHADOW);
                if (e.peRed == 192) expected = GetSysColor(COLOR_BTNFACE);
                if (e.peRed == 223) expected = GetSysColor(COLOR_3DLIGHT);
            }
            if (drawn[size_t(y) * kStripWidth + size_t(x)] != expected && ++mismatches <= 5) {
                ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << drawn[size_t(y) * kStripWidth + size_t(x)]
                              << ", expected " << expected;
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
    ImageFree(strip);
}

TEST_F(Toolbar, ProgramIconsHoldSmallAndLargeImages)
{
    for (UINT id : {IDI_PARLEVO, IDI_FOLDER, IDI_FILETIME, IDI_SAVED, IDI_PROBLEM_ERROR, IDI_PROBLEM_WARNING}) {
        // The icon group lists exactly a 16 x 16 and a 32 x 32 image of 32 bits.
        HRSRC group = FindResourceA(AppInstance(), MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(14)); // RT_GROUP_ICON
        ASSERT_NE(group, nullptr) << id;
        auto *dir = static_cast<const BYTE *>(LockResource(LoadResource(AppInstance(), group)));
        ASSERT_NE(dir, nullptr);
        ASSERT_EQ(dir[4] | (dir[5] << 8), 2) << id;
        std::vector<int> sizes;
        for (int i = 0; i < 2; ++i) {
            const BYTE *entry = dir + 6 + 14 * i;
            EXPECT_EQ(entry[0], entry[1]) << id;
            EXPECT_EQ(entry[6] | (entry[7] << 8), 32) << id; // bit count
            sizes.push_back(entry[0]);
        }
        EXPECT_EQ(sizes, (std::vector<int>{16, 32})) << id;

        for (int size : {16, 32}) {
            auto icon = static_cast<HICON>(
                LoadImageA(AppInstance(), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
            ASSERT_NE(icon, nullptr) << id;
            ICONINFO info = {};
            ASSERT_TRUE(GetIconInfo(icon, &info));
            BITMAP bm = {};
            GetObjectA(info.hbmColor, sizeof bm, &bm);
            EXPECT_EQ(bm.bmWidth, size) << id;
            EXPECT_EQ(bm.bmHeight, size) << id;
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            DestroyIcon(icon);
        }
    }
}

// Draws the toolbar on screen in its looks; with PARLEVO_SHOT_DIR set the pictures are
// written there as toolbar-<look>.bmp.
TEST_F(Toolbar, ToolbarDrawsItsButtonsOnScreen)
{
    struct Look {
        const char *name;
        ToolbarOptions options;
        bool noDocument;
    };
    const Look looks[] = {
        {"flat", {{}, true, false}, true},
        {"raised", {{}, false, false}, true},
        {"labels", {{}, true, true}, false},
        {"all", {AllCommands(), false, false}, false},
    };
    const char *dir = getenv("PARLEVO_SHOT_DIR");
    for (const Look &look : looks) {
        HWND toolbar = Create(look.options, 40, 40, 640);
        ASSERT_NE(toolbar, nullptr);
        // As the program does when there is no document: the document commands are greyed.
        for (UINT command : {CMD_FILE_SAVE, CMD_EDIT_FIND, CMD_TEXT_TRANSLATE, CMD_TEXT_TRANSLATE_NEXT,
                             CMD_TEXT_SIGNATURE, CMD_FILE_CLOSE, CMD_FILE_SAVE_AS, CMD_FILE_SAVE_TEMPLATE,
                             CMD_EDIT_FIND_NEXT})
            if (look.noDocument) EnableCommand(parent, command, false);
        ShowWindow(parent, SW_SHOWNOACTIVATE);
        RepositionToolbar(parent);
        UpdateWindow(parent);
        PumpMessages();
        int width = 0, height = 0;
        std::vector<COLORREF> pixels = WindowPixels(toolbar, &width, &height);
        ASSERT_GT(width, 0);

        // The New button shows its white page; a greyed Save button shows less of its white.
        auto whiteIn = [&](UINT command) {
            RECT rc = ButtonRect(toolbar, command);
            int white = 0;
            for (int y = rc.top; y < rc.bottom && y < height; ++y)
                for (int x = rc.left; x < rc.right && x < width; ++x)
                    white += pixels[size_t(y) * size_t(width) + size_t(x)] == RGB(255, 255, 255);
            return white;
        };
        EXPECT_GT(whiteIn(CMD_FILE_NEW), 60) << look.name;
        if (look.noDocument) EXPECT_LT(whiteIn(CMD_FILE_SAVE), whiteIn(CMD_FILE_NEW)) << look.name;
        else EXPECT_GT(whiteIn(CMD_FILE_SAVE), 20) << look.name;
        if (dir) WriteBmp(std::string(dir) + "\\toolbar-" + look.name + ".bmp", pixels, width, height);
        CloseParent();
    }
}

} // namespace
