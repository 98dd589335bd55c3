/* Its entry point leaves a mark in the environment: loaded as the host module, it must not run. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)instance, (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) SetEnvironmentVariableA("PARLEVO_MODULE_CODE_RAN", "1");
    return TRUE;
}
