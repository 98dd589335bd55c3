// The undo history: a ring of steps, each owning one block with its two texts.
#include "app/undohistory.h"

#include <cstdlib>
#include <cstring>

namespace
{

// Positions count steps from the history's start and never wrap; the ring slot of a position is
// position % capacity. kNever stands for a saved point that can no longer be reached.
constexpr int64_t kNever = -1;

} // namespace

struct UndoHistory {
    UndoStep *ring;
    int capacity;
    int64_t first;  // position of the oldest step kept
    int64_t end;    // one past the newest step kept
    int64_t cursor; // the steps before it are done, those from it on can be redone
    int64_t saved;  // the cursor at the last save, or kNever
};

namespace
{

UndoStep &Slot(UndoHistory *history, int64_t position)
{
    return history->ring[position % history->capacity];
}

// The texts live in the block `before` points at, `after` right behind it.
void FreeStep(UndoStep &step)
{
    free(const_cast<char *>(step.before));
    step = UndoStep{};
}

void DropNewest(UndoHistory *history, int64_t newEnd)
{
    while (history->end > newEnd)
        FreeStep(Slot(history, --history->end));
}

bool SameTexts(const UndoStep *step)
{
    return step->beforeLength == step->afterLength &&
           (step->beforeLength == 0 || memcmp(step->before, step->after, step->beforeLength) == 0);
}

// A copy of step whose texts, each terminated, sit in one block of its own.
int CopyStep(const UndoStep *step, UndoStep *copy)
{
    const size_t total = step->beforeLength + step->afterLength + 2;
    if (total < step->beforeLength) return 0;
    char *block = static_cast<char *>(malloc(total));
    if (!block) return 0;
    char *after = block + step->beforeLength + 1;
    if (step->beforeLength) memcpy(block, step->before, step->beforeLength);
    block[step->beforeLength] = '\0';
    if (step->afterLength) memcpy(after, step->after, step->afterLength);
    after[step->afterLength] = '\0';
    *copy = *step;
    copy->before = block;
    copy->after = after;
    return 1;
}

} // namespace

UndoHistory *UndoHistoryCreate(int capacity)
{
    if (capacity < 1) return nullptr;
    UndoHistory *history = static_cast<UndoHistory *>(calloc(1, sizeof(UndoHistory)));
    if (!history) return nullptr;
    history->ring = static_cast<UndoStep *>(calloc(static_cast<size_t>(capacity), sizeof(UndoStep)));
    if (!history->ring) {
        free(history);
        return nullptr;
    }
    history->capacity = capacity;
    return history;
}

void UndoHistoryFree(UndoHistory *history)
{
    if (!history) return;
    UndoHistoryClear(history);
    free(history->ring);
    free(history);
}

bool UndoHistoryAdd(UndoHistory *history, const UndoStep *step)
{
    if (!history || !step) return false;
    if ((step->beforeLength && !step->before) || (step->afterLength && !step->after)) return false;
    if (SameTexts(step)) return true;
    UndoStep copy;
    if (!CopyStep(step, &copy)) {
        UndoHistoryClear(history);
        history->saved = kNever;
        return false;
    }
    DropNewest(history, history->cursor);
    if (history->saved > history->cursor) history->saved = kNever;
    if (history->end - history->first == history->capacity) {
        FreeStep(Slot(history, history->first));
        ++history->first; // a saved point before it is now out of the cursor's reach
    }
    Slot(history, history->end) = copy;
    history->cursor = ++history->end;
    return true;
}

const UndoStep *UndoHistoryUndo(UndoHistory *history)
{
    if (!UndoHistoryCanUndo(history)) return nullptr;
    return &Slot(history, --history->cursor);
}

const UndoStep *UndoHistoryRedo(UndoHistory *history)
{
    if (!UndoHistoryCanRedo(history)) return nullptr;
    return &Slot(history, history->cursor++);
}

bool UndoHistoryCanUndo(const UndoHistory *history)
{
    return history && history->cursor > history->first;
}

bool UndoHistoryCanRedo(const UndoHistory *history)
{
    return history && history->cursor < history->end;
}

void UndoHistoryMarkSaved(UndoHistory *history)
{
    if (history) history->saved = history->cursor;
}

bool UndoHistoryModified(const UndoHistory *history)
{
    return history && history->saved != history->cursor;
}

void UndoHistoryClear(UndoHistory *history)
{
    if (!history) return;
    DropNewest(history, history->first);
    history->first = history->end = history->cursor = history->saved = 0;
}
