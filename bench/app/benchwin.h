// What the timing programs that drive the real windows share: the clock, the message pump,
// their own folder and the median of a run's times.
#pragma once
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/appwindows.h"
#include "app/startup.h"

// Milliseconds on the performance counter.
inline double Now()
{
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

inline void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// The folder of this program, with its trailing backslash.
inline std::string ExeDir()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string dir(path, n);
    return dir.substr(0, dir.rfind('\\') + 1);
}

inline double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// The frame as start-up shows it (painting is part of what is timed), with its messages
// handled; the view window, or null.
inline HWND StartShownView()
{
    HWND frame = StartFrame(GetModuleHandleA(nullptr), "Parlevo.exe", SW_SHOWNORMAL);
    HWND view = frame ? ViewOfFrame(frame) : nullptr;
    if (!view) return nullptr;
    ShowWindow(frame, SW_SHOWNORMAL);
    UpdateWindow(frame);
    Pump();
    return view;
}
