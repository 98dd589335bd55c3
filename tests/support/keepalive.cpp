// Holds the test session's Wine processes up. Wine starts its background processes (services,
// the desktop) for the first program that needs them, and they inherit that program's output
// handles: a test that started them kept CTest waiting on its output until every other test had
// ended, and so timed out although it had passed. Started first, with no output of its own, and
// kept running for the whole session, this program is the one they are started for.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // The desktop process comes with the first window.
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, instance, nullptr);
    if (window) DestroyWindow(window);
    // Ended by the test script; an hour is longer than any test session.
    Sleep(60 * 60 * 1000);
    return 0;
}
