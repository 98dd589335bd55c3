// The application-wide state block, its accessors and the program's constants.
#include "state/appstate.h"

static AppState g_app;

AppState &App()
{
    return g_app;
}

HINSTANCE AppInstance()
{
    return g_app.instance;
}
const char *AppProgramName()
{
    return "Parlevo";
}
const char *AppFrameClass()
{
    return "ParlevoA";
}
const char *AppSettingsBaseName()
{
    return "Parlvo";
}
const char *AppVersion()
{
    return "1.0.4";
}
const char *AppBuildDate()
{
    return "Jul 13 2009";
}
const char *AppClosingLine()
{
    return "Made for the translators who give Lumivex its many voices.";
}
const char *AppHostFileName()
{
    return g_app.hostFileName;
}
const char *AppHostName()
{
    return g_app.hostName;
}
const char *AppSettingsPath()
{
    return g_app.settingsPath;
}
const char *AppOptionSection()
{
    return "Option";
}
CodecRegistry *AppCodecRegistry()
{
    return g_app.codecs;
}
