#pragma once

#include "document/DocumentLines.h"
#include "editor/Memo.h"

// Undo as the window does it: the document steps back, the view shows the selection it gives.
inline void UndoIn(TMemo& memo)
{
    const ByteDocument::Undone done = memo.Document().ApplyUndo();
    if (done.start >= 0) {
        memo.SetSelection(done.selStart, done.selLength);
        memo.EnsureCaretVisible();
    }
}
inline void UndoIn(TMemo* memo) { UndoIn(*memo); }
