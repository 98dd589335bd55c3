// The checks that keep a translation from breaking the host program: a pure comparison of a
// translated text with its source text. Window-free, so it is tested as tables and fuzzed.
#pragma once
#include <cstddef>
#include <cstdint>

#include "frame/textcut.h"
#include "state/textsize.h"

enum class ProblemSeverity : uint8_t { Warning, Error };

// One value per check, in the order the checks run and report.
enum class CheckId : uint8_t {
    Printf,     // printf conversions: number, order and argument type
    Inserts,    // FormatMessage inserts %1..%99 with their !fmt!
    Length,     // more bytes than a language file keeps
    Shortcut,   // the shortcut after the last tab
    AccessKey,  // the & that marks an access key
    LineBreaks, // the number of line feeds
    Blanks,     // leading and trailing blanks
    Ending,     // a final ":" or "..."
};

constexpr size_t kTextCheckMax = kTextSize - 1; // bytes a language file keeps of a text
constexpr size_t kProblemMessageSize = 128;
// Each check reports at most its first problem, so a text has at most one per check.
constexpr int kMaxTextProblems = 8;

struct TextProblem {
    ProblemSeverity severity;
    CheckId check;
    char message[kProblemMessageSize]; // e.g. "%d expected where %s stands"
};

struct TextProblems {
    int count;
    int errors;
    int warnings;
    TextProblem items[kMaxTextProblems];
};

// Compares translation with source and fills out with the problems found, in CheckId order;
// returns their number. An empty translation is untranslated: no problems. Both texts are
// terminated; neither is read past its terminator, and a lead byte before the terminator is a
// character of its own.
int CheckTranslation(const char *source, const char *translation, LeadByteFn isLead, TextProblems *out);

// The check's name as the command line prints it ("printf", "accesskey" ...).
const char *CheckName(CheckId check);
// "error" or "warning".
const char *SeverityName(ProblemSeverity severity);
