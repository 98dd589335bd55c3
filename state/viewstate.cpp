// The window blocks' accessors: each window keeps its block as its user data.
#include "state/viewstate.h"

#include "state/appstate.h"

FrameState *GetFrameState(HWND frame)
{
    return frame ? reinterpret_cast<FrameState *>(GetWindowLongPtrA(frame, GWLP_USERDATA)) : nullptr;
}

HWND ViewOfFrame(HWND frame)
{
    FrameState *fs = GetFrameState(frame);
    return fs ? fs->view : nullptr;
}

void DestroyWindowIfAlive(HWND window)
{
    if (window && IsWindow(window)) DestroyWindow(window);
}

// A modal dialog or message box disables the top-level window that owns it, even when its
// owner was given as a child.
bool ModalDialogOpen(HWND window)
{
    HWND root = window ? GetAncestor(window, GA_ROOT) : nullptr;
    return root && !IsWindowEnabled(root);
}

ViewState *GetViewState(HWND view)
{
    return view ? reinterpret_cast<ViewState *>(GetWindowLongPtrA(view, GWLP_USERDATA)) : nullptr;
}

HWND FrameOfView(HWND view)
{
    HWND parent = GetParent(view);
    char name[256]; // the longest class name
    if (!parent || !GetClassNameA(parent, name, sizeof name)) return nullptr;
    return lstrcmpiA(name, AppFrameClass()) == 0 ? parent : nullptr;
}
