// Command lines: token 1, the start-up state, and the line a second start hands over.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/cmdline.h"
#include "res/resource.h"

namespace
{

// As the system does: a name that is already a full path stays; too long a path fails.
size_t FakeFullPath(const char *name, char *out, size_t capacity)
{
    std::string full = name[0] && name[1] == ':' ? std::string(name) : std::string("C:\\work\\") + name;
    if (full.size() >= capacity) return 0;
    memcpy(out, full.c_str(), full.size() + 1);
    return full.size();
}

std::string Token(const std::string &line, int index, size_t capacity)
{
    char out[512];
    memset(out, 'x', sizeof out);
    size_t n = GetCommandLineToken(line.c_str(), out, capacity, index);
    EXPECT_EQ(n, strlen(out)) << line;
    return out;
}

TEST(CommandLine, TokensParseAndForward)
{
    const std::string about30 = [] {
        std::string line = "prog";
        for (int i = 0; i < 30; ++i)
            line += " -a";
        return line;
    }();
    const struct {
        std::string line;
        std::string token1;
        std::string fileName;
        int options; // each one CMD_HELP_ABOUT, the only option
        bool quit;
        const char *forwarded; // null: not checked
    } rows[] = {
        {"prog", "", "", 0, false, "\"prog\""},
        {"", "", "", 0, false, nullptr},
        {"prog a.lng b.lng c.lng", "a.lng", "C:\\work\\c.lng", 0, false, nullptr},
        // Quotes group and are never copied.
        {"prog ab\"c d\"e f", "abc de", "C:\\work\\f", 0, false, "\"prog\" \"C:\\work\\abc de\" \"C:\\work\\f\""},
        {"\"C:\\P F\\prog.exe\" \"my file.lng\"", "my file.lng", "C:\\work\\my file.lng", 0, false,
         "\"C:\\P F\\prog.exe\" \"C:\\work\\my file.lng\""},
        {"prog\t\r\n  x", "x", "C:\\work\\x", 0, false, nullptr},
        {"  prog x", "prog", "C:\\work\\x", 0, false, nullptr}, // leading separators shift the numbering
        // A long token is cut and the scan goes on; too long for a full path, the cut name is kept.
        {"prog " + std::string(300, 'a') + " next", std::string(259, 'a'), "C:\\work\\next", 0, false, nullptr},
        {"prog " + std::string(400, 'f') + ".lng", std::string(259, 'f'), std::string(259, 'f'), 0, false, nullptr},
        // Options by any prefix in any case; alone they end the program after running.
        {"prog -about", "-about", "", 1, true, nullptr},
        {"prog -Ab", "-Ab", "", 1, true, nullptr},
        {"prog -A", "-A", "", 1, true, nullptr},
        {about30, "-a", "", 1, true, nullptr}, // one slot however often it is given
        {"prog /ABOUT:x de.lng", "/ABOUT:x", "C:\\work\\de.lng", 1, false, nullptr},
        {"prog -about \"my file.lng\" /a:x", "-about", "C:\\work\\my file.lng", 1, false,
         "\"prog\" \"-about\" \"C:\\work\\my file.lng\" \"/a:x\""},
        {"prog -zzz", "-zzz", "", 0, false, nullptr},
        {"prog -aboutx", "-aboutx", "", 0, false, nullptr},
        {"prog -", "-", "", 0, false, nullptr},
        {"prog /", "/", "", 0, false, nullptr},
        // An empty token ends the scan, and nothing after it is sent.
        {"prog a.lng \"\" b.lng -about", "a.lng", "C:\\work\\a.lng", 0, false, "\"prog\" \"C:\\work\\a.lng\""}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.line.substr(0, 60));
        EXPECT_EQ(Token(row.line, 1, kTokenSize), row.token1);
        CommandLineState state;
        memset(&state, 0xCC, sizeof state);
        ParseCommandLineText(&state, row.line.c_str(), FakeFullPath);
        EXPECT_EQ(state.fileName, row.fileName);
        EXPECT_EQ(state.quitAfterOptions != 0, row.quit);
        int options = 0;
        for (; options < kOptionSlots && state.slots[options].row; ++options)
            EXPECT_EQ(state.slots[options].row->command, unsigned(CMD_HELP_ABOUT));
        EXPECT_EQ(options, row.options);
        if (!row.forwarded) continue;
        char out[512];
        EXPECT_EQ(BuildForwardedCommandLine(row.line.c_str(), FakeFullPath, out, sizeof out), strlen(row.forwarded));
        EXPECT_STREQ(out, row.forwarded);
        // What is sent reads back as the same file name.
        ParseCommandLineText(&state, out, FakeFullPath);
        EXPECT_EQ(state.fileName, row.fileName);
    }
    // Cut at a small capacity, and a forwarded line that does not fit is not sent at all.
    EXPECT_EQ(Token("prog abcdef", 1, 4), "abc");
    char tiny[12];
    EXPECT_EQ(BuildForwardedCommandLine("prog de.lng", FakeFullPath, tiny, sizeof tiny), 0u);
    EXPECT_STREQ(tiny, "");
}

} // namespace
