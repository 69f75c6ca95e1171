#pragma once

#include "document/ByteDocument.h"

#include <QAbstractScrollArea>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class QPainter;
struct ViewRow;

// The document editor: a view of a document it is given (Windows-1254 bytes, CR LF line
// breaks). It keeps the caret, the selection and caches, and paints the rows in sight straight
// from the document: a lone CR, a lone LF, byte 0, the other control bytes and
// the code page's undefined codes are drawn as small labelled boxes. Everything it offers to the
// rest of the program speaks byte offsets (a CR LF counts two).
class TMemo : public QAbstractScrollArea {
    Q_OBJECT
public:
    // The document must outlive the view.
    explicit TMemo(ByteDocument& document, QWidget* parent = nullptr);
    ~TMemo() override;

    ByteDocument& Document() { return *m_doc; }
    const ByteDocument& Document() const { return *m_doc; }

    // --- selection, in byte offsets ---
    std::int64_t SelStart() const;
    std::int64_t SelLength() const;
    std::string SelText() const;
    bool HasSelection() const { return SelLength() > 0; }
    // Anchor at start, caret at start + length (clamped; never between the CR and LF of a break).
    void SetSelection(std::int64_t start, std::int64_t length);
    std::int64_t CaretOffset() const;
    void SelectAll();
    // Scrolls so the caret is in sight; `centre`: a caret out of sight comes to the middle.
    void EnsureCaretVisible(bool centre = false);
    // Puts the caret at `offset`; a line out of sight comes to the middle of the view.
    void GoTo(std::int64_t offset);

    // --- edit commands on the selection ---
    void Cut();
    void Copy() const;
    void Paste();
    void DeleteSelection();

    // Typing replaces the character under the caret (never a line break); Insert switches.
    bool Overwrite() const;
    void SetOverwrite(bool on);

    // --- view options ---
    void SetWordWrap(bool on);   // also sets the scroll bars (vertical only while wrapping)
    bool WordWrap() const;
    // Rows of a huge wrapped line that are still being worked out while the editor is idle.
    bool RowsPending() const;
    // Background colour of the text area; the selection colour is chosen to stay readable on it.
    void SetBackgroundColor(const QColor& color);
    QColor BackgroundColor() const;
    // setFont() works as for any widget; the glyph tables follow the font.
    // While on, the selection and the caret stay in sight without the keyboard focus, the
    // selection in the inactive colour: a find dialog that keeps the keys shows what it found.
    void SetShowSelectionUnfocused(bool on);
    bool ShowsSelectionUnfocused() const { return m_selectionUnfocused; }

    // Decoded characters of bytes for the printer; a CR LF pair becomes "\n", a lone CR or LF
    // and byte 0 their control pictures.
    static QString ToDisplay(std::string_view bytes);

signals:
    // Every change of the text, after the view has followed it.
    void ContentsChanged();
    void SelectionChanged();
    // The caret went elsewhere (by a key, the mouse, a command or an edit).
    void CaretMoved();
    // Ctrl and the wheel: steps of the font size, up when positive.
    void ZoomRequested(int steps);
    // Files from the desktop dropped on the text.
    void FilesDropped(const QStringList& paths);
    // Undo and Redo keys: the document's owner knows which history they walk.
    void UndoRequested();
    void RedoRequested();

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
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dragLeaveEvent(QDragLeaveEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    using Offset = std::int64_t;
    using Fixed = std::int64_t; // 1/64 px
    ByteDocument* m_doc;
    // The view's own state (caret, anchor, caches) is private to the implementation.
    struct View;
    std::unique_ptr<View> m_view;
    bool m_selectionUnfocused = false;

    // Memo.cpp: the document's changes and the caret.
    void OnDocumentEdit(const DocumentEdit& edit);
    std::int64_t Legal(std::int64_t offset) const;
    void MoveCaret(std::int64_t caret, bool keepAnchor, bool keepGoal = false);
    void AnnounceSelection();
    // Replaces the selection by `bytes` and puts the caret behind them.
    void ReplaceSelection(std::string_view bytes, ByteDocument::Undo undo);
    // The same for [start, start + length), as one undoable change.
    void ReplaceRange(std::int64_t start, std::int64_t length, std::string_view bytes);

    // MemoScroll.cpp: what is in sight.
    int RowsInSight() const;
    ViewRow TopRow() const;
    void SetTop(ViewRow row);
    ViewRow LastPageTop() const;
    int RowIndexInSight(ViewRow row) const;
    void ScrollRows(std::int64_t rows);
    void UpdateWrapWidth();
    void UpdateScrollBars();
    void OnWrapIdle();
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
    // The byte under the point (its line's end when the point is beyond it).
    std::int64_t ByteUnder(QPoint point) const;
    // The run of letters and digits, of blanks or of other signs that holds the byte at `at`.
    std::pair<std::int64_t, std::int64_t> WordAround(std::int64_t at) const;
    void SelectWordAt(QPoint point);
    void SelectLineAt(QPoint point);
    // A drag of the mouse moves the caret by the unit the selection began with.
    void ExtendSelection(QPoint point);
    void OnAutoScroll();

    // MemoDrag.cpp: the selected text dragged, and text or files dropped.
    void StartDrag();
    void ShowDropCaret(QPoint point);
    void MoveOrCopySelection(std::int64_t to, bool copy);

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
