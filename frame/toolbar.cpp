// The toolbar at the top of the view: buttons from the toolbar list with images from the
// built-in strip, optional labels, tooltips, and buttons greyed together with the menus.
#include "frame/toolbar.h"

#include <climits>

#include "state/appstate.h"
#include "state/viewstate.h"
#include "frame/leadbytes.h"
#include "frame/toolbardata.h"
#include "frame/uitext.h"
#include "image/draw.h"
#include "image/imageres.h"
#include "res/resource.h"
#include "state/textsize.h"

static_assert(kButtonEnabled == TBSTATE_ENABLED && kButtonStyleSeparator == BTNS_SEP &&
              kButtonStyleButton == BTNS_BUTTON && kButtonNoImage == I_IMAGENONE);

namespace
{

constexpr DWORD kTransparentStyle = 0x8000; // TBSTYLE_TRANSPARENT
const char kStripType[] = "IMAGE";

// The strip as drawn for the control hangs on the toolbar window, so it lives exactly as long
// as that toolbar.
const char kStripProperty[] = "ParlevoToolbarImage";

// The version-6 controls through the program's own manifest, for systems that have
// activation contexts (NT 5.1 on). The functions are looked up so that older systems run.
struct ActivationScope {
    using CreateFn = HANDLE(WINAPI *)(const ACTCTXW *);
    using ActivateFn = BOOL(WINAPI *)(HANDLE, ULONG_PTR *);
    using DeactivateFn = BOOL(WINAPI *)(DWORD, ULONG_PTR);
    using ReleaseFn = void(WINAPI *)(HANDLE);

    HMODULE kernel = nullptr;
    HANDLE context = INVALID_HANDLE_VALUE;
    ULONG_PTR cookie = 0;
    bool active = false;
    DeactivateFn deactivate = nullptr;
    ReleaseFn release = nullptr;

    ActivationScope();
    ~ActivationScope();
    ActivationScope(const ActivationScope &) = delete;
    ActivationScope &operator=(const ActivationScope &) = delete;
};

template <typename Fn> Fn Lookup(HMODULE module, const char *name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void *>(GetProcAddress(module, name)));
}

bool HasActivationContexts()
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version) || version.dwPlatformId != VER_PLATFORM_WIN32_NT) return false;
    return version.dwMajorVersion > 5 || (version.dwMajorVersion == 5 && version.dwMinorVersion >= 1);
}

ActivationScope::ActivationScope()
{
    if (!HasActivationContexts()) return;
    kernel = LoadLibraryA("KERNEL32.dll");
    if (!kernel) return;
    auto create = Lookup<CreateFn>(kernel, "CreateActCtxW");
    auto activate = Lookup<ActivateFn>(kernel, "ActivateActCtx");
    deactivate = Lookup<DeactivateFn>(kernel, "DeactivateActCtx");
    release = Lookup<ReleaseFn>(kernel, "ReleaseActCtx");
    if (!create || !activate || !deactivate || !release) return;
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(AppInstance(), path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    ACTCTXW request = {};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID | ACTCTX_FLAG_HMODULE_VALID;
    request.lpSource = path;
    request.lpResourceName = MAKEINTRESOURCEW(1);
    request.hModule = AppInstance();
    context = create(&request);
    if (context != INVALID_HANDLE_VALUE) active = activate(context, &cookie) != FALSE;
}

ActivationScope::~ActivationScope()
{
    if (active) deactivate(0, cookie);
    if (context != INVALID_HANDLE_VALUE) release(context);
    if (kernel) FreeLibrary(kernel);
}

// Greys of the strip become the current button colours, whatever the display depth.
void MapStripGreys(Image *image)
{
    if (ImageGetBitCount(image) > 8) return;
    PALETTEENTRY entries[256] = {};
    uint32_t count = ImageGetPalette(image, entries);
    ButtonColours colours = {GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_3DLIGHT)};
    if (RemapButtonGreys(entries, count, colours) > 0) ImageSetPalette(image, entries);
}

// Draws the strip over the button face into a screen-compatible bitmap kept with the toolbar.
HBITMAP DrawStrip(HWND toolbar, const Image *image)
{
    int width = ImageGetWidth(image);
    int height = ImageGetHeight(image);
    BitmapHolder *holder = BitmapHolderCreate(width, height);
    if (!holder) return nullptr;
    if (!SetPropA(toolbar, kStripProperty, holder)) {
        BitmapHolderFree(holder);
        return nullptr;
    }
    App().toolbarImage = BitmapHolderGetBitmap(holder);
    HDC screen = GetDC(nullptr);
    if (!screen) return nullptr;
    if (HDC memory = BitmapHolderOpenDC(holder, screen)) {
        RECT all = {0, 0, width, height};
        SetBkColor(memory, GetSysColor(COLOR_BTNFACE));
        ExtTextOutA(memory, 0, 0, ETO_OPAQUE, &all, "", 0, nullptr);
        ImageDraw(image, memory, 0, 0, 0, 0, 0, 0);
        BitmapHolderCloseDC(holder);
    }
    ReleaseDC(nullptr, screen);
    return BitmapHolderGetBitmap(holder);
}

// The strip and the buttons; without the strip the toolbar stays without buttons.
void AddStripAndButtons(HWND toolbar, const ToolbarLayout &layout)
{
    SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    Image *image = ImageLoadResource(AppCodecRegistry(), AppInstance(), IDR_TOOLSTRIP, kStripType, nullptr);
    if (!image) return;
    MapStripGreys(image);
    int height = ImageGetHeight(image);
    if (HBITMAP bitmap = DrawStrip(toolbar, image)) {
        // The image size must be known before the first bitmap arrives: the control cuts the
        // bitmap into images of the size in force at that moment.
        SendMessageA(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(height, height));
        TBADDBITMAP strip = {nullptr, reinterpret_cast<UINT_PTR>(bitmap)};
        SendMessageA(toolbar, TB_ADDBITMAP, kStripImageCount, reinterpret_cast<LPARAM>(&strip));
        TBBUTTON buttons[kToolbarCapacity] = {};
        for (int i = 0; i < layout.buttonCount; ++i) {
            const ToolbarButtonRecord &record = layout.buttons[i];
            buttons[i].iBitmap = record.image;
            buttons[i].idCommand = record.command;
            buttons[i].fsState = record.state;
            buttons[i].fsStyle = record.style;
            buttons[i].iString = record.label;
        }
        SendMessageA(toolbar, TB_ADDBUTTONSA, WPARAM(layout.buttonCount), reinterpret_cast<LPARAM>(buttons));
    }
    ImageFree(image);
}

void CreateToolbar(HWND view, ViewState *vs)
{
    const SettingsRecord &settings = App().settings;
    DWORD style = WS_CHILD | TBSTYLE_TOOLTIPS | (settings.flatStyle ? TBSTYLE_FLAT : 0);
    ActivationScope scope;
    HWND toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr, style, 0, 0, 0, 0, view,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(kToolbarId)), AppInstance(), nullptr);
    if (!toolbar) return;
    SetWindowLongPtrA(toolbar, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(vs));
    SetWindowLongPtrA(toolbar, GWL_STYLE, GetWindowLongPtrA(toolbar, GWL_STYLE) & ~LONG_PTR(kTransparentStyle));
    vs->toolbar = toolbar;

    auto *layout = static_cast<ToolbarLayout *>(LocalAlloc(LPTR, sizeof(ToolbarLayout)));
    if (!layout) return;
    BuildToolbarLayout(settings.toolbarItems, settings.textLabels ? LoadUiText : nullptr, IsAnsiLeadByte, layout);
    AddStripAndButtons(toolbar, *layout);
    if (layout->labelCount > 0) SendMessageA(toolbar, TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(layout->labels));
    LocalFree(layout);
}

} // namespace

void ShowToolbar(HWND view, bool show)
{
    ViewState *vs = GetViewState(view);
    if (!vs) return;
    DestroyToolbar(view);
    if (show) CreateToolbar(view, vs);
}

void DestroyToolbar(HWND view)
{
    ViewState *vs = GetViewState(view);
    if (!vs) return;
    HWND toolbar = vs->toolbar;
    vs->toolbar = nullptr;
    if (!toolbar) return;
    auto *holder = static_cast<BitmapHolder *>(RemovePropA(toolbar, kStripProperty));
    DestroyWindow(toolbar);
    if (holder && App().toolbarImage == BitmapHolderGetBitmap(holder)) App().toolbarImage = nullptr;
    BitmapHolderFree(holder);
}

void RepositionToolbar(HWND view)
{
    ViewState *vs = GetViewState(view);
    if (!vs || !vs->toolbar) return;
    // A zero size makes the control measure itself against the view.
    SetWindowPos(vs->toolbar, nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SendMessageA(vs->toolbar, TB_AUTOSIZE, 0, 0);
}

void EnableToolbarButton(HWND view, UINT command, bool enabled)
{
    ViewState *vs = GetViewState(view);
    if (!vs || !vs->toolbar) return;
    SendMessageA(vs->toolbar, TB_ENABLEBUTTON, command, MAKELPARAM(enabled ? TRUE : FALSE, 0));
}

bool ToolbarTooltipText(HWND view, NMTTDISPINFOA *info)
{
    ViewState *vs = GetViewState(view);
    if (!vs || !vs->toolbar || !info) return false;
    // The toolbar's own tooltip names a button by its command, never by a window.
    HWND tips = reinterpret_cast<HWND>(SendMessageA(vs->toolbar, TB_GETTOOLTIPS, 0, 0));
    if (!tips || info->hdr.hwndFrom != tips || (info->uFlags & TTF_IDISHWND)) return false;
    if (info->hdr.idFrom > UINT_MAX) return false;
    char text[kTextSize];
    if (!LoadUiText(UINT(info->hdr.idFrom), text)) return false;
    lstrcpynA(info->szText, text, sizeof info->szText);
    info->lpszText = info->szText;
    info->hinst = nullptr;
    return true;
}
