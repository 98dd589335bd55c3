// The undo history as scripts: each line's step handed back and whether the document is modified.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "app/undohistory.h"

namespace
{

struct HistoryDeleter {
    void operator()(UndoHistory *history) const { UndoHistoryFree(history); }
};
using HistoryPtr = std::unique_ptr<UndoHistory, HistoryDeleter>;

enum Action { kAdd, kAddSignature, kUndo, kRedo, kSave };

// For kUndo and kRedo, id and text are the step handed back and the text to set (id -1: none).
struct Line {
    Action action;
    int id;
    const char *before;
    const char *after;
    bool modified;
};

int Add(UndoHistory *history, UndoKind kind, uint32_t id, const std::string &before, const std::string &after)
{
    const UndoStep step{kind, id, before.data(), before.size(), after.data(), after.size()};
    return UndoHistoryAdd(history, &step);
}

void Play(UndoHistory *history, const Line *lines, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const Line &line = lines[i];
        SCOPED_TRACE(i);
        if (line.action == kAdd || line.action == kAddSignature) {
            const UndoKind kind = line.action == kAdd ? kUndoText : kUndoSignature;
            EXPECT_TRUE(Add(history, kind, static_cast<uint32_t>(line.id), line.before, line.after));
        } else if (line.action == kSave) {
            UndoHistoryMarkSaved(history);
        } else {
            const bool undo = line.action == kUndo;
            const UndoStep *step = undo ? UndoHistoryUndo(history) : UndoHistoryRedo(history);
            // A signature step has ID 0 and nothing else does.
            const auto got = [&] {
                return std::to_string(step->kind == kUndoSignature) + std::to_string(step->stringId) +
                       (undo ? step->before : step->after);
            };
            EXPECT_EQ(step ? got() : "none",
                      line.id < 0 ? "none" : std::to_string(line.id == 0) + std::to_string(line.id) + line.before);
        }
        EXPECT_EQ(UndoHistoryModified(history) != 0, line.modified);
    }
}

TEST(UndoHistory, ScriptsOfChangesUndosRedosAndSaves)
{
    // IDs above 0 are rows, 0 the signature.
    static const Line kBranching[] = {
        {kAdd, 1, "", "a", true},   {kAdd, 2, "x", "y", true},
        {kSave, 0, "", "", false},  {kUndo, 2, "x", "", true},
        {kUndo, 1, "", "", true},   {kUndo, -1, "", "", true},
        {kRedo, 1, "a", "", true},  {kRedo, 2, "y", "", false}, // back at the saved state
        {kRedo, -1, "", "", false}, {kUndo, 2, "x", "", true},
        {kAdd, 3, "", "z", true}, // the saved state lay on the dropped redo step: never again
        {kRedo, -1, "", "", true},  {kUndo, 3, "", "", true},
        {kAdd, 1, "a", "a", true}, // no change: no step, and the redo step stays
        {kRedo, 3, "z", "", true},  {kUndo, 3, "", "", true},
        {kUndo, 1, "", "", true},   {kUndo, -1, "", "", true}};
    // A revert of a row (7: b -> c) is a step like any other.
    static const Line kSavesMoveThePoint[] = {
        {kAdd, 7, "a", "b", true},  {kAddSignature, 0, "Language: x\r\n", "", true},
        {kAdd, 7, "b", "c", true},  {kUndo, 7, "b", "", true},
        {kSave, 0, "", "", false},  {kRedo, 7, "c", "", true},
        {kUndo, 7, "b", "", false}, {kUndo, 0, "Language: x\r\n", "", true},
        {kUndo, 7, "a", "", true},  {kRedo, 7, "b", "", true},
        {kRedo, 0, "", "", false}};
    HistoryPtr history(UndoHistoryCreate(kUndoHistorySteps));
    ASSERT_TRUE(history);
    EXPECT_FALSE(UndoHistoryModified(history.get()));
    Play(history.get(), kBranching, std::size(kBranching));
    UndoHistoryClear(history.get());
    EXPECT_FALSE(UndoHistoryModified(history.get()) || UndoHistoryCanRedo(history.get()));
    Play(history.get(), kSavesMoveThePoint, std::size(kSavesMoveThePoint));
}

TEST(UndoHistory, KeepsAThousandStepsAndForgetsASavedPointThatFellOff)
{
    HistoryPtr history(UndoHistoryCreate(kUndoHistorySteps));
    ASSERT_TRUE(history);
    for (int i = 0; i < kUndoHistorySteps; ++i)
        Add(history.get(), kUndoText, 1, std::to_string(i), std::to_string(i + 1));
    int undone = 0;
    while (UndoHistoryUndo(history.get()))
        ++undone;
    EXPECT_TRUE(undone == kUndoHistorySteps && !UndoHistoryModified(history.get())); // back at the opened state

    // Once more than the history holds: the oldest step, and the opened state with it, are gone.
    while (UndoHistoryRedo(history.get())) {
    }
    Add(history.get(), kUndoText, 1, std::to_string(kUndoHistorySteps), "last");
    const UndoStep *oldest = nullptr;
    for (const UndoStep *step; (step = UndoHistoryUndo(history.get())) != nullptr;)
        oldest = step;
    EXPECT_TRUE(oldest && !strcmp(oldest->before, "1") && UndoHistoryModified(history.get()));
}

} // namespace
