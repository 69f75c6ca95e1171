#pragma once

#include <QPlainTextEdit>

#include <cstdint>
#include <string>
#include <string_view>

// The document editor. It shows the document's Windows-1254 bytes (CR LF as a line break,
// a lone CR, a lone LF and byte 0 as control pictures) and speaks bytes to the rest of the
// program: offsets, lengths and texts are those of the byte text with CR LF breaks.
class TMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TMemo(QWidget* parent = nullptr);

    // Whole text.
    std::string Text() const;
    // Text (set): lone CR / LF become CR LF; nothing happens when the result equals the text.
    // Throws "Text exceeds memo capacity".
    void SetText(std::string_view text);
    // As SetText, without the line-break normalisation.
    void SetTextRaw(std::string_view text);
    // SetText for a text the caller gives up (a file just read): no second copy of it.
    void AdoptText(std::string&& text);
    // Empties the editor without a change notification.
    void Clear();

    // Length of the byte text, in constant time.
    std::int64_t ByteLength() const;

    // Line view: pieces cut at CR LF; Count leaves out a last empty piece.
    int Count() const;
    std::string Get(int i) const;
    void Put(int i, std::string_view s);
    void Insert(int i, std::string_view s);
    void Add(std::string_view s) { Insert(Count(), s); }
    void Delete(int i);

    // Selection in byte offsets.
    std::int64_t SelStart() const;
    std::int64_t SelLength() const;
    std::string SelText() const;
    // Caret at start + length, anchor at start.
    void SetSelection(std::int64_t start, std::int64_t length);

    // Replaces the bytes [start, start + length) by `bytes`, keeping everything else; a lone
    // CR that meets an LF becomes a line break. Not entered in the undo history unless
    // `undoable`. Raises the change notification when something changed.
    void ReplaceRange(std::int64_t start, std::int64_t length, std::string_view bytes, bool undoable = false);

    // The editor keeps one level of undo: an Undo right after an Undo redoes.
    void UndoOneLevel();
    bool CanUndoOneLevel() const;

    // Byte offset <-> editor position.
    std::int64_t ByteOffsetOf(int position) const;
    int PositionOf(std::int64_t byteOffset) const;

    static QString ToDisplay(std::string_view bytes);
    static std::string FromDisplay(QStringView text);

signals:
    // The change notification: every change of the text, except Clear and a SetText that
    // changes nothing.
    void Change();
    void UndoStateChanged();

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    QMimeData* createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    void OnContentsChanged();
    void ReplaceWholeText(const QString& display);
    // False when `text` equals the present text; throws when the editor cannot hold it.
    bool NeedsReplacing(std::string_view text) const;
    int BlockOfByte(std::int64_t byteOffset) const;
    std::int64_t LineStartByte(int block) const;

    int m_silent = 0;          // >0: changes raise no notification (Clear)
    bool m_undoing = false;    // inside UndoOneLevel
    bool m_lastWasUndo = false;
};
