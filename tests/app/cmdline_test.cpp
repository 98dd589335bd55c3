// Command-line tokens, options and the parse into the start-up state.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/cmdline.h"
#include "res/resource.h"

static std::string Token(const char *text, int index, size_t capacity = kTokenSize)
{
    char out[512];
    memset(out, 'x', sizeof out);
    size_t n = GetCommandLineToken(text, out, capacity, index);
    EXPECT_EQ(n, strlen(out));
    return out;
}

TEST(CommandLineTokens, QuotesGroupAndAreNeverCopied)
{
    EXPECT_EQ(Token("prog ab\"c d\"e f", 1), "abc de");
    EXPECT_EQ(Token("prog ab\"c d\"e f", 2), "f");
    EXPECT_EQ(Token("\"C:\\Program Files\\P.exe\" \"my file.lng\"", 0), "C:\\Program Files\\P.exe");
    EXPECT_EQ(Token("\"C:\\Program Files\\P.exe\" \"my file.lng\"", 1), "my file.lng");
    EXPECT_EQ(Token("prog\t\r\n  x", 1), "x");
    EXPECT_EQ(Token("prog x", 2), "");
    EXPECT_EQ(Token("", 0), "");
    // Leading separators shift the numbering by one.
    EXPECT_EQ(Token("  prog x", 1), "prog");
}

TEST(CommandLineTokens, LongTokenIsCutWithoutOverrunAndScanGoesOn)
{
    std::string longName(300, 'a');
    std::string line = "prog " + longName + " next";
    EXPECT_EQ(Token(line.c_str(), 1), std::string(259, 'a'));
    EXPECT_EQ(Token(line.c_str(), 2), "next");
    char tiny[4];
    EXPECT_EQ(GetCommandLineToken("prog abcdef", tiny, sizeof tiny, 1), 3u);
    EXPECT_STREQ(tiny, "abc");
}

TEST(CommandLineOptions, PrefixesAndCaseSelectAbout)
{
    for (const char *name : {"about", "ABOUT", "Ab", "a"}) {
        const OptionRow *row = FindOption(name);
        ASSERT_NE(row, nullptr) << name;
        EXPECT_EQ(row->command, unsigned(CMD_HELP_ABOUT));
    }
    EXPECT_EQ(FindOption(""), nullptr);
    EXPECT_EQ(FindOption("zzz"), nullptr);
    EXPECT_EQ(FindOption("aboutx"), nullptr);
}

static size_t FakeFullPath(const char *name, char *out, size_t capacity)
{
    // As the system does: a name that is already a full path stays.
    bool absolute = name[0] && name[1] == ':' && name[2] == '\\';
    std::string full = absolute ? std::string(name) : std::string("C:\\work\\") + name;
    if (full.size() >= capacity) return 0;
    memcpy(out, full.c_str(), full.size() + 1);
    return full.size();
}

struct Parsed {
    CommandLineState state;
    int options = 0;
};

static Parsed Parse(const char *line)
{
    Parsed p;
    memset(&p.state, 0xCC, sizeof p.state);
    ParseCommandLineText(&p.state, line, FakeFullPath);
    while (p.options < kOptionSlots && p.state.slots[p.options].row) ++p.options;
    return p;
}

TEST(CommandLineParse, FileNamesAndOptions)
{
    Parsed none = Parse("prog");
    EXPECT_STREQ(none.state.fileName, "");
    EXPECT_EQ(none.state.quitAfterOptions, 0u);
    EXPECT_EQ(none.options, 0);

    Parsed last = Parse("prog a.lng b.lng c.lng");
    EXPECT_STREQ(last.state.fileName, "C:\\work\\c.lng");
    EXPECT_EQ(last.state.quitAfterOptions, 0u);

    Parsed aboutAlone = Parse("prog -about");
    EXPECT_EQ(aboutAlone.options, 1);
    EXPECT_EQ(aboutAlone.state.quitAfterOptions, 1u);
    EXPECT_EQ(aboutAlone.state.slots[0].row->command, unsigned(CMD_HELP_ABOUT));
    EXPECT_EQ(aboutAlone.state.slots[0].arg[0], 0);

    Parsed aboutFile = Parse("prog /ABOUT:x de.lng");
    EXPECT_EQ(aboutFile.options, 1);
    EXPECT_EQ(aboutFile.state.quitAfterOptions, 0u);
    EXPECT_STREQ(aboutFile.state.fileName, "C:\\work\\de.lng");
}

TEST(CommandLineParse, UnknownOptionsAndLoneDashDoNotCount)
{
    for (const char *line : {"prog -zzz", "prog -", "prog /"}) {
        Parsed p = Parse(line);
        EXPECT_EQ(p.options, 0) << line;
        EXPECT_EQ(p.state.quitAfterOptions, 0u) << line;
        EXPECT_STREQ(p.state.fileName, "") << line;
    }
}

TEST(CommandLineParse, EmptyQuotedTokenEndsTheScan)
{
    Parsed p = Parse("prog a.lng \"\" b.lng -about");
    EXPECT_STREQ(p.state.fileName, "C:\\work\\a.lng");
    EXPECT_EQ(p.options, 0);
}

TEST(CommandLineParse, RepeatedOptionTakesOneSlot)
{
    std::string line = "prog";
    for (int i = 0; i < 30; ++i) line += " -a";
    Parsed p = Parse(line.c_str());
    EXPECT_EQ(p.options, 1);
    EXPECT_EQ(p.state.quitAfterOptions, 1u);
}

TEST(CommandLineParse, LongFileNameStaysBoundedAndTerminated)
{
    std::string line = "prog " + std::string(400, 'f') + ".lng";
    Parsed p = Parse(line.c_str());
    // Too long for a full path: the cut token itself is kept.
    EXPECT_EQ(strlen(p.state.fileName), 259u);
}

TEST(CommandLineForward, FileNamesBecomeFullPathsAndTheRestStays)
{
    struct Case {
        const char *line;
        const char *forwarded;
    };
    const Case cases[] = {
        {"prog", "\"prog\""},
        {"\"C:\\P F\\prog.exe\" de.lng", "\"C:\\P F\\prog.exe\" \"C:\\work\\de.lng\""},
        {"prog -about \"my file.lng\" /a:x", "\"prog\" \"-about\" \"C:\\work\\my file.lng\" \"/a:x\""},
        // The receiver stops at an empty token as well, so nothing after it is sent.
        {"prog a.lng \"\" b.lng", "\"prog\" \"C:\\work\\a.lng\""},
    };
    for (const Case &c : cases) {
        char out[512];
        size_t n = BuildForwardedCommandLine(c.line, FakeFullPath, out, sizeof out);
        EXPECT_STREQ(out, c.forwarded) << c.line;
        EXPECT_EQ(n, strlen(c.forwarded)) << c.line;
        // What is sent reads back as the same file name.
        EXPECT_STREQ(Parse(out).state.fileName, Parse(c.line).state.fileName) << c.line;
    }
    char tiny[12];
    EXPECT_EQ(BuildForwardedCommandLine("prog de.lng", FakeFullPath, tiny, sizeof tiny), 0u);
    EXPECT_STREQ(tiny, "");
}
