#include "editor/Memo.h"

#include "editor/MemoView.h"
#include "platform/Cp1254.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QAccessibleWidget>

#include <climits>

// Screen readers see the document as its decoded characters, one per byte, so their offsets are
// the document's byte offsets (a CR LF is two). Offsets past what an int holds are out of reach.
// Their edits (the desktop's cut, copy and paste among them) are changes the user made, each
// one undoable step.
class TMemoAccessible : public QAccessibleWidget, public QAccessibleTextInterface,
                        public QAccessibleEditableTextInterface {
public:
    explicit TMemoAccessible(TMemo* memo) : QAccessibleWidget(memo, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        if (type == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.editable = true;
        s.multiLine = true;
        s.selectableText = true;
        return s;
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return text(0, std::min(characterCount(), 1 << 16));
        if (t == QAccessible::Name)
            return QCoreApplication::translate("TMemo", "Document");
        return QAccessibleWidget::text(t);
    }

    // --- selection and caret ---
    void selection(int index, int* start, int* end) const override
    {
        *start = *end = 0;
        if (index == 0 && Memo()->SelLength() > 0) {
            *start = Clamp(Memo()->SelStart());
            *end = Clamp(Memo()->SelStart() + Memo()->SelLength());
        }
    }
    int selectionCount() const override { return Memo()->SelLength() > 0 ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override { Memo()->SetSelection(Memo()->CaretOffset(), 0); }
    void setSelection(int, int start, int end) override { Memo()->SetSelection(start, end - start); }
    int cursorPosition() const override { return Clamp(Memo()->CaretOffset()); }
    void setCursorPosition(int position) override { Memo()->SetSelection(position, 0); }

    // --- text ---
    int characterCount() const override { return Clamp(Memo()->Document().Length()); }
    QString text(int start, int end) const override
    {
        return cp1254::Decode(Memo()->Document().Slice(start, std::max(0, end - start)));
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override
    {
        const auto [s, e] = Unit(offset, type);
        return Piece(s, e, start, end);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override
    {
        const auto unit = Unit(offset, type);
        if (unit.first <= 0 || type == QAccessible::NoBoundary)
            return Piece(0, 0, start, end);
        const auto [s, e] = Unit(unit.first - 1, type);
        return Piece(s, e, start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override
    {
        const auto unit = Unit(offset, type);
        if (unit.second >= Memo()->Document().Length() || type == QAccessible::NoBoundary)
            return Piece(0, 0, start, end);
        const auto [s, e] = Unit(unit.second, type);
        return Piece(s, e, start, end);
    }

    // --- geometry ---
    QRect characterRect(int offset) const override
    {
        TMemo* memo = Memo();
        const QRect caret = memo->OffsetRect(offset);
        const QRect next = memo->OffsetRect(memo->CharRight(offset));
        const int width = next.y() == caret.y() ? std::max(1, next.x() - caret.x()) : 1;
        return QRect(memo->viewport()->mapToGlobal(caret.topLeft()), QSize(width, caret.height()));
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        TMemo* memo = Memo();
        return Clamp(memo->HitTest(memo->viewport()->mapFromGlobal(point)));
    }
    void scrollToSubstring(int start, int) override
    {
        // Scrolls by way of the caret, then puts the caret back where it was.
        TMemo* memo = Memo();
        const std::int64_t anchor = memo->m_view->anchor;
        const std::int64_t caret = memo->m_view->caret;
        memo->m_view->caret = memo->Legal(start);
        memo->EnsureCaretVisible();
        memo->m_view->caret = caret;
        memo->m_view->anchor = anchor;
        memo->viewport()->update();
    }
    QString attributes(int, int* start, int* end) const override
    {
        *start = 0;
        *end = characterCount();
        return {};
    }

    // --- editing ---
    void deleteText(int startOffset, int endOffset) override { replaceText(startOffset, endOffset, {}); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int startOffset, int endOffset, const QString& text) override
    {
        if (endOffset < startOffset)
            std::swap(startOffset, endOffset);
        Memo()->ReplaceRange(startOffset, endOffset - startOffset, TypedBytes(text));
    }

private:
    TMemo* Memo() const { return static_cast<TMemo*>(widget()); }
    static int Clamp(std::int64_t v) { return static_cast<int>(std::clamp<std::int64_t>(v, 0, INT_MAX)); }

    QString Piece(std::int64_t s, std::int64_t e, int* start, int* end) const
    {
        *start = Clamp(s);
        *end = Clamp(e);
        return text(*start, *end);
    }

    // The character, word or line that holds `offset`.
    std::pair<std::int64_t, std::int64_t> Unit(std::int64_t offset, QAccessible::TextBoundaryType type) const
    {
        const TMemo* memo = Memo();
        const ByteDocument& doc = memo->Document();
        const std::int64_t length = doc.Length();
        offset = std::clamp<std::int64_t>(offset, 0, length);
        const int line = doc.LineOfOffset(offset);
        switch (type) {
        case QAccessible::CharBoundary:
            return {offset, memo->CharRight(offset)};
        case QAccessible::WordBoundary: {
            const std::int64_t right = memo->WordRight(offset);
            const std::int64_t left = memo->WordLeft(std::min(right, length));
            return {std::min(left, offset), std::max(right, offset)};
        }
        case QAccessible::NoBoundary:
            return {0, length};
        default: // sentence, paragraph and line: the document's line with its break
            return {doc.LineStart(line), line + 1 < doc.Pieces() ? doc.LineStart(line + 1) : length};
        }
    }
};

namespace {

QAccessibleInterface* MemoAccessibleFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("TMemo") && object && object->isWidgetType())
        return new TMemoAccessible(static_cast<TMemo*>(object));
    return nullptr;
}

const bool g_factoryInstalled = (QAccessible::installFactory(MemoAccessibleFactory), true);

} // namespace

void TMemo::AnnounceCaret() const
{
    if (!QAccessible::isActive())
        return;
    auto* self = const_cast<TMemo*>(this);
    QAccessibleTextCursorEvent moved(self, static_cast<int>(std::min<std::int64_t>(m_view->caret, INT_MAX)));
    QAccessible::updateAccessibility(&moved);
    if (SelLength() > 0) {
        QAccessibleTextSelectionEvent selected(self, static_cast<int>(std::min<std::int64_t>(SelStart(), INT_MAX)),
                                               static_cast<int>(std::min<std::int64_t>(SelStart() + SelLength(), INT_MAX)));
        QAccessible::updateAccessibility(&selected);
    }
}

void TMemo::AnnounceTyping(std::int64_t start, std::string_view removed, std::string_view added) const
{
    if (!QAccessible::isActive() || start > INT_MAX)
        return;
    auto* self = const_cast<TMemo*>(this);
    const int at = static_cast<int>(start);
    if (!removed.empty() && !added.empty()) {
        QAccessibleTextUpdateEvent update(self, at, cp1254::Decode(removed), cp1254::Decode(added));
        QAccessible::updateAccessibility(&update);
    } else if (!removed.empty()) {
        QAccessibleTextRemoveEvent remove(self, at, cp1254::Decode(removed));
        QAccessible::updateAccessibility(&remove);
    } else if (!added.empty()) {
        QAccessibleTextInsertEvent insert(self, at, cp1254::Decode(added));
        QAccessible::updateAccessibility(&insert);
    }
}
