#pragma once

#include "document/ByteDocument.h"

#include <QAbstractScrollArea>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class QPainter;
struct ViewRow;

// The document editor. It owns the document (Windows-1254 bytes, CR LF line breaks) and paints
// the rows in sight straight from it: a lone CR, a lone LF, byte 0, the other control bytes and
// the code page's undefined codes are drawn as small labelled boxes. Everything it offers to the
// rest of the program speaks byte offsets (a CR LF counts two).
class TMemo : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TMemo(QWidget* parent = nullptr);
    ~TMemo() override;

    ByteDocument& Document() { return *m_doc; }
    const ByteDocument& Document() const { return *m_doc; }

    // --- whole text ---
    std::string Text() const;
    // Text (set): lone CR / LF become CR LF; when the result differs it replaces the whole
    // text (caret to the start, undo forgotten) and raises Change. Throws "Text exceeds memo
    // capacity" (the text stays).
    void SetText(std::string_view text);
    // As SetText, without the line-break normalisation.
    void SetTextRaw(std::string_view text);
    // SetText for a text the caller gives up (a file just read): no second copy of it.
    void AdoptText(std::string&& text);
    // SetTextRaw for a text the caller gives up (a command's result).
    void AdoptTextRaw(std::string&& text);
    // The whole text without a copy: valid until the next change of the text.
    std::string_view TextView();
    // Empties the editor without raising Change.
    void Clear();
    std::int64_t ByteLength() const;

    // --- line view: pieces cut at CR LF; Count leaves out a last empty piece ---
    int Count() const;
    std::string Get(int i) const;
    void Put(int i, std::string_view s);
    void Insert(int i, std::string_view s);
    void Add(std::string_view s) { Insert(Count(), s); }
    void Delete(int i);

    // --- selection, in byte offsets ---
    std::int64_t SelStart() const;
    std::int64_t SelLength() const;
    std::string SelText() const;
    bool HasSelection() const { return SelLength() > 0; }
    // Anchor at start, caret at start + length (clamped; never between the CR and LF of a break).
    void SetSelection(std::int64_t start, std::int64_t length);
    std::int64_t CaretOffset() const;
    void SelectAll();
    // Scrolls so the caret is in sight.
    void EnsureCaretVisible();

    // Replaces [start, start + length) by `bytes`. Not entered in the undo history unless
    // `undoable`. Raises Change when something changed.
    void ReplaceRange(std::int64_t start, std::int64_t length, std::string_view bytes, bool undoable = false);

    // --- edit commands ---
    void UndoOneLevel();  // one level: an Undo right after an Undo redoes
    bool CanUndoOneLevel() const;
    void Cut();
    void Copy() const;
    void Paste();
    void DeleteSelection();

    // --- view options ---
    void SetWordWrap(bool on);   // also sets the scroll bars (vertical only while wrapping)
    bool WordWrap() const;
    // Background colour of the text area; the selection colour is chosen to stay readable on it.
    void SetBackgroundColor(const QColor& color);
    QColor BackgroundColor() const;
    // setFont() works as for any widget; the glyph tables follow the font.

    // Decoded characters of bytes for the printer; a CR LF pair becomes "\n", a lone CR or LF
    // and byte 0 their control pictures.
    static QString ToDisplay(std::string_view bytes);

signals:
    // The change notification: every change of the text except Clear and a SetText that
    // changes nothing.
    void Change();
    // Every change of the text, Clear included.
    void ContentsChanged();
    void SelectionChanged();
    void UndoStateChanged();

public:
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    using Offset = std::int64_t;
    using Fixed = std::int64_t; // 1/64 px
    std::unique_ptr<ByteDocument> m_doc;
    // The view's own state (caret, anchor, caches) is private to the implementation.
    struct View;
    std::unique_ptr<View> m_view;

    // Memo.cpp: the document's changes and the caret.
    void OnDocumentEdit(const DocumentEdit& edit);
    std::int64_t Legal(std::int64_t offset) const;
    void MoveCaret(std::int64_t caret, bool keepAnchor, bool keepGoal = false);
    void AnnounceSelection();
    // Replaces the selection by `bytes` and puts the caret behind them.
    void ReplaceSelection(std::string_view bytes, ByteDocument::Undo undo);

    // MemoScroll.cpp: what is in sight.
    int RowsInSight() const;
    ViewRow TopRow() const;
    void SetTop(ViewRow row);
    ViewRow LastPageTop() const;
    int RowIndexInSight(ViewRow row) const;
    void ScrollRows(std::int64_t rows);
    void UpdateWrapWidth();
    void UpdateScrollBars();
    void MeasureSight(ViewRow top, int rows);
    void OnVerticalAction(int action);
    int BarShift() const;
    std::int64_t TextX(std::int64_t px) const;
    std::int64_t ViewX(std::int64_t fixed) const;
    QRect CaretRect() const;
    QRect OffsetRect(std::int64_t offset) const;

    // MemoInput.cpp: keys, mouse and the clipboard.
    bool Navigate(QKeyEvent* e);
    void TypeText(const QString& text);
    std::int64_t HitTest(QPoint point) const;
    std::int64_t CharLeft(std::int64_t at) const;
    std::int64_t CharRight(std::int64_t at) const;
    std::int64_t WordLeft(std::int64_t at) const;
    std::int64_t WordRight(std::int64_t at) const;
    void SelectWordAt(QPoint point);
    void OnAutoScroll();

    // MemoPaint.cpp: drawing.
    void ApplyFont();
    void ChooseColors();
    void RestartBlink();
    void OnBlink();
    bool SelectionVisible() const;
    void PaintRow(QPainter& painter, ViewRow row, int top, const QRect& clip);

    // MemoAccessible.cpp: what screen readers see.
    friend class TMemoAccessible;
    void AnnounceCaret() const;
    void AnnounceTyping(std::int64_t start, std::string_view removed, std::string_view added) const;
};
