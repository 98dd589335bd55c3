// The undo history of a document as plain records: each committed change with the text before
// and after it, a cursor that undo and redo move, and the point where the document was saved.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr int kUndoHistorySteps = 1000; // the steps a document window keeps

enum UndoKind : uint8_t {
    kUndoText,      // a row's text (an empty text: untranslated)
    kUndoSignature, // the signature
};

// A step as given to UndoHistoryAdd, and as handed back by undo and redo: there the texts are
// the history's own copies, each terminated, valid until the next change to the history.
struct UndoStep {
    UndoKind kind;
    uint32_t stringId; // text steps
    const char *before;
    size_t beforeLength;
    const char *after;
    size_t afterLength;
};

struct UndoHistory;

// Null when capacity < 1 or memory cannot be had. A new history is empty and at its saved point.
UndoHistory *UndoHistoryCreate(int capacity);
// Null is allowed.
void UndoHistoryFree(UndoHistory *history);

// Records a change just made: the steps that could be redone are dropped, and when the history
// is full its oldest step falls off. A step whose texts are equal changes nothing and is not
// recorded. Returns false when memory cannot be had; the history is then emptied and counts as
// modified until the next save, since the document holds a change it no longer knows.
bool UndoHistoryAdd(UndoHistory *history, const UndoStep *step);

// Move the cursor one step back or forward and return the step to apply: undo sets its `before`
// text, redo its `after` text. Null, with nothing moved, when there is no step that way. A caller
// that then fails to apply the step moves the cursor back with the other call.
const UndoStep *UndoHistoryUndo(UndoHistory *history);
const UndoStep *UndoHistoryRedo(UndoHistory *history);

bool UndoHistoryCanUndo(const UndoHistory *history);
bool UndoHistoryCanRedo(const UndoHistory *history);

// The document was saved as it stands: this point is the unmodified state from now on, while the
// steps stay. Undoing or redoing back to it makes the document unmodified again; once the point
// falls off the oldest end or lies on dropped redo steps, it is never reached again.
void UndoHistoryMarkSaved(UndoHistory *history);
bool UndoHistoryModified(const UndoHistory *history);

// A document newly made or opened: no steps, and saved as it stands.
void UndoHistoryClear(UndoHistory *history);
