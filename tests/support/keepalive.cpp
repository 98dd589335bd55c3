// Holds the session's Wine background processes up: they inherit the output handles of the
// program they were started for, which kept CTest waiting on a test that had already passed.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // The desktop process comes with the first window; the test script ends this one.
    DestroyWindow(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, instance, nullptr));
    return int(SleepEx(60 * 60 * 1000, FALSE));
}
