// The undo history as scripts: each step's outcome and whether the document is then modified.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "app/undohistory.h"

namespace
{

// "id:before>after": a change of row id (0: the signature).
bool Add(UndoHistory *history, const std::string &change)
{
    const size_t colon = change.find(':'), arrow = change.find('>');
    const std::string before = change.substr(colon + 1, arrow - colon - 1), after = change.substr(arrow + 1);
    const uint32_t id = std::stoul(change);
    const UndoStep step{id ? kUndoText : kUndoSignature, id, before.data(), before.size(), after.data(), after.size()};
    return UndoHistoryAdd(history, &step);
}

// Steps: a change as Add takes it, "s" a save, "u" undo, "r" redo.
// Each gives "+" (added), "s", or the step undo or redo handed back as "id:text to set" ("-": none),
// then "*" while the document is modified.
std::string Play(UndoHistory *history, const std::string &script)
{
    std::istringstream steps(script);
    std::string out;
    for (std::string step; steps >> step; out += UndoHistoryModified(history) ? "* " : " ") {
        if (step.find('>') != std::string::npos) {
            out += Add(history, step) ? "+" : "!";
        } else if (step == "s") {
            out += (UndoHistoryMarkSaved(history), "s");
        } else {
            const UndoStep *got = step == "u" ? UndoHistoryUndo(history) : UndoHistoryRedo(history);
            // A signature step has ID 0 and nothing else does.
            out += !got ? "-"
                   : (got->kind == kUndoSignature) != (got->stringId == 0)
                       ? "?"
                       : std::to_string(got->stringId) + ":" + (step == "u" ? got->before : got->after);
        }
    }
    return out;
}

TEST(UndoHistory, ScriptsOfChangesUndosRedosAndSavesThenAThousandStepsForgettingASavedPointThatFellOff)
{
    UndoHistory *history = UndoHistoryCreate(kUndoHistorySteps);
    // The saved state lies on the redo step the change to 3 drops: never reached again. 1:a>a is no step.
    EXPECT_EQ(Play(history, "u r 1:>a 2:x>y s u u u r r r u 3:>z r u 1:a>a r u u u"),
              "- - +* +* s 2:x* 1:* -* 1:a* 2:y - 2:x* +* -* 3:* +* 3:z* 3:* 1:* -* ");
    UndoHistoryClear(history);
    EXPECT_FALSE(UndoHistoryModified(history) || UndoHistoryCanRedo(history));
    // A revert of a row (7: b -> c) is a step like any other; saves move the saved state.
    EXPECT_EQ(Play(history, "7:a>b 0:Language:x> 7:b>c u s r u u u r r"),
              "+* +* +* 7:b* s 7:c* 7:b 0:Language:x* 7:a* 7:b* 0: ");
    UndoHistoryClear(history);
    for (int i = 0; i < kUndoHistorySteps; ++i)
        Add(history, "1:" + std::to_string(i) + ">" + std::to_string(i + 1));
    int undone = 0;
    while (UndoHistoryUndo(history))
        ++undone;
    EXPECT_TRUE(undone == kUndoHistorySteps && !UndoHistoryModified(history)); // back at the opened state
    // Once more than the history holds: the oldest step, and the opened state with it, are gone.
    while (UndoHistoryRedo(history)) {
    }
    Add(history, "1:" + std::to_string(kUndoHistorySteps) + ">last");
    const UndoStep *oldest = nullptr;
    for (const UndoStep *step; (step = UndoHistoryUndo(history)) != nullptr;)
        oldest = step;
    EXPECT_TRUE(oldest && oldest->before == std::string("1") && UndoHistoryModified(history));
    UndoHistoryFree(history);
}

} // namespace
