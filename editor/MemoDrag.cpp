// The selection dragged elsewhere, and what other programs drop on the text.
#include "editor/Memo.h"

#include "editor/MemoView.h"
#include "platform/Cp1254.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace {

QStringList LocalFiles(const QMimeData* mime)
{
    QStringList paths;
    if (mime && mime->hasUrls())
        for (const QUrl& url : mime->urls())
            if (url.isLocalFile())
                paths << url.toLocalFile();
    return paths;
}

// Ctrl held copies: the drag proposes a copy then, and the event carries the key.
bool Copies(const QDropEvent* e)
{
    return e->proposedAction() == Qt::CopyAction || (e->modifiers() & Qt::ControlModifier);
}

} // namespace

void TMemo::StartDrag()
{
    View& v = *m_view;
    const Offset start = SelStart();
    const Offset length = SelLength();
    auto* mime = new QMimeData;
    mime->setText(cp1254::Decode(SelText()));
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    v.droppedHere = false;
    const Qt::DropAction action = drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
    v.dragging = false;
    // Moved into another program: the text leaves here, unless something changed it meanwhile.
    if (action == Qt::MoveAction && !v.droppedHere && SelStart() == start && SelLength() == length)
        ReplaceSelection({}, ByteDocument::Undo::Record);
}

void TMemo::ShowDropCaret(QPoint point)
{
    View& v = *m_view;
    // Near the top or bottom edge the text scrolls, so a drop can reach any line.
    const int height = v.glyphs->LineHeight();
    if (point.y() < height / 2)
        ScrollRows(-1);
    else if (point.y() > viewport()->height() - height / 2)
        ScrollRows(1);
    const Offset at = Legal(HitTest(point));
    if (at == v.dropCaret)
        return;
    v.dropCaret = at;
    viewport()->update();
}

void TMemo::dragEnterEvent(QDragEnterEvent* e)
{
    const QMimeData* mime = e->mimeData();
    if (!LocalFiles(mime).isEmpty()) {
        e->acceptProposedAction(); // files are opened, not inserted: no drop caret
        return;
    }
    if (!mime->hasText()) {
        e->ignore();
        return;
    }
    dragMoveEvent(e);
}

void TMemo::dragMoveEvent(QDragMoveEvent* e)
{
    const QMimeData* mime = e->mimeData();
    if (!LocalFiles(mime).isEmpty()) {
        e->acceptProposedAction();
        return;
    }
    if (!mime->hasText()) {
        e->ignore();
        return;
    }
    ShowDropCaret(e->position().toPoint());
    if (e->source() == this) {
        e->setDropAction(Copies(e) ? Qt::CopyAction : Qt::MoveAction);
        e->accept();
    } else {
        e->acceptProposedAction();
    }
}

void TMemo::dragLeaveEvent(QDragLeaveEvent* e)
{
    m_view->dropCaret = -1;
    viewport()->update();
    e->accept();
}

void TMemo::dropEvent(QDropEvent* e)
{
    View& v = *m_view;
    v.dropCaret = -1;
    viewport()->update();
    const QMimeData* mime = e->mimeData();
    const QStringList files = LocalFiles(mime);
    if (!files.isEmpty()) {
        e->acceptProposedAction();
        emit FilesDropped(files);
        return;
    }
    if (!mime->hasText()) {
        e->ignore();
        return;
    }
    const Offset at = Legal(HitTest(e->position().toPoint()));
    if (e->source() == this) {
        const bool copy = Copies(e);
        e->setDropAction(copy ? Qt::CopyAction : Qt::MoveAction);
        e->accept();
        v.droppedHere = true;
        MoveOrCopySelection(at, copy);
    } else {
        e->acceptProposedAction();
        const std::string bytes = TypedBytes(mime->text());
        ReplaceRange(at, 0, bytes);
        v.anchor = at;
        MoveCaret(at + static_cast<Offset>(bytes.size()), true);
    }
    setFocus(Qt::OtherFocusReason);
}

// One change, so one Undo puts the text back: a move rewrites the stretch from the drop point
// to the far end of the selection.
void TMemo::MoveOrCopySelection(std::int64_t to, bool copy)
{
    View& v = *m_view;
    const Offset start = SelStart();
    const Offset end = start + SelLength();
    const std::string text = SelText();
    const auto length = static_cast<Offset>(text.size());
    if (length == 0 || (!copy && to >= start && to <= end))
        return; // dropped onto itself
    Offset selected = to;
    if (copy)
        m_doc->Replace(to, 0, text, ByteDocument::Undo::Record);
    else if (to < start)
        m_doc->Replace(to, end - to, text + m_doc->Slice(to, start - to), ByteDocument::Undo::Record);
    else {
        m_doc->Replace(start, to - start, m_doc->Slice(end, to - end) + text, ByteDocument::Undo::Record);
        selected = to - length;
    }
    v.anchor = selected;
    MoveCaret(selected + length, true);
    EnsureCaretVisible();
}
