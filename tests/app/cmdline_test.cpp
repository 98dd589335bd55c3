// Command lines: token 1, the start-up state, and the line a second start hands over.
#include <cstring>

#include "app/cmdline.h"
#include "res/resource.h"
#include "tests/support/datarows.h"

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
    for (const auto &row : ReadDataRows(PARLEVO_APP_DATA "/cmdline.tsv", 20)) {
        SCOPED_TRACE(row.at(0).substr(0, 60));
        EXPECT_EQ(Token(row[0], 1, kTokenSize), row.at(1));
        CommandLineState state;
        memset(&state, 0xCC, sizeof state);
        ParseCommandLineText(&state, row[0].c_str(), FakeFullPath);
        int options = 0;
        for (; options < kOptionSlots && state.slots[options].row; ++options)
            EXPECT_EQ(state.slots[options].row->command, unsigned(CMD_HELP_ABOUT));
        EXPECT_EQ(state.fileName + std::string(" ") + std::to_string(options) +
                      std::to_string(state.quitAfterOptions != 0),
                  row.at(2) + " " + row.at(3) + row.at(4));
        if (row.at(5).empty()) continue;
        char out[512];
        const size_t n = BuildForwardedCommandLine(row[0].c_str(), FakeFullPath, out, sizeof out);
        ParseCommandLineText(&state, out, FakeFullPath); // what is sent reads back as the same file name
        EXPECT_EQ(std::to_string(n) + " " + out + "|" + state.fileName,
                  std::to_string(row[5].size()) + " " + row[5] + "|" + row[2]);
    }
    // Cut at a small capacity, and a forwarded line that does not fit is not sent at all.
    EXPECT_EQ(Token("prog abcdef", 1, 4), "abc");
    char tiny[12];
    EXPECT_TRUE(BuildForwardedCommandLine("prog de.lng", FakeFullPath, tiny, sizeof tiny) == 0 && !*tiny);
}

} // namespace
