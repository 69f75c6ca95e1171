#pragma once

#include "document/ByteDocument.h"
#include "document/DocumentLines.h"
#include "document/TextFile.h"
#include "platform/FileStamp.h"

#include <QObject>
#include <QString>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The document the window edits: its bytes and undo (ByteDocument), the file they belong to,
// how that file is written, whether it was changed since, and what the file looked like on
// disk when it was read or written. It raises the change notification itself; the views, the
// status counters and the recovery copy listen to it. No widget in here.
class TextDocument : public QObject {
    Q_OBJECT
public:
    using Offset = ByteDocument::Offset;

    explicit TextDocument(QObject* parent = nullptr);
    ~TextDocument() override;

    ByteDocument& Bytes() { return m_bytes; }
    const ByteDocument& Bytes() const { return m_bytes; }

    // --- reading ---
    std::string Text() const { return m_bytes.Text(); }
    // The whole text without a copy; valid until the next change.
    std::string_view TextView() { return m_bytes.Contiguous(0, m_bytes.Length()); }
    Offset Length() const { return m_bytes.Length(); }
    // The line view: Count leaves out a last empty line.
    int Count() const { return m_bytes.Count(); }
    std::string Get(int i) const;

    // --- the file ---
    const QString& FileName() const { return m_fileName; }
    void SetFileName(const QString& path);
    FileEncoding Encoding() const { return m_encoding; }
    // How the next Save writes; a change of it marks the document modified (the file on disk
    // no longer matches what Save would write) unless `markModified` is false.
    void SetEncoding(FileEncoding encoding, bool markModified = true);
    bool Modified() const { return m_modified; }
    void SetModified(bool modified);
    // The file as it was on disk when last read or written (for the changed-on-disk check).
    const FileStamp& Stamp() const { return m_stamp; }
    const QString& StampPath() const { return m_stampPath; }
    void SetStamp(const QString& path, const FileStamp& stamp);

    // Reads a file the user opens (see ReadTextFile for `asUtf8`); on success the document is
    // that file, unmodified, with an empty undo history, or with Undo::History (a reload) the
    // text it replaced as one undoable step when the history is kept. A failed read changes
    // nothing.
    void Load(const QString& path, std::optional<bool> asUtf8 = std::nullopt,
              ByteDocument::Undo undo = ByteDocument::Undo::None);
    // Writes the document as its encoding says. Does not rename the document or clear the
    // modified flag: callers decide (the save prompt may write an untitled text elsewhere).
    void WriteTo(const QString& path) const;
    // The same with the setup found beforehand, so that it may run on a worker thread while
    // nothing changes the text.
    void WriteTo(const QString& path, const WriteSetup& setup) const;
    // Empties the document and forgets its file: a new, untitled, unmodified document.
    void Reset();

    // --- editing (each raises Changed once) ---
    // The line view's Text (set): lone CR and LF become CR LF; when the result differs the
    // whole text is replaced (not undoable). Returns whether it was.
    bool SetText(std::string_view text) { return lines::SetText(m_bytes, text); }
    // As SetText without the normalisation.
    bool SetTextRaw(std::string_view text) { return lines::SetTextRaw(m_bytes, text); }
    // Replaces [start, start + length). Raises even when the bytes were already there: the
    // user asked for a change.
    void Replace(Offset start, Offset length, std::string_view bytes,
                 ByteDocument::Undo undo = ByteDocument::Undo::History);
    // A command's whole new text, taken over without a copy: one change, one undo step when
    // the history is kept. Nothing happens when it equals the present text: returns whether
    // the text changed.
    bool SetWholeText(std::string&& text);
    // As SetWholeText, turning lone CR and LF into CR LF first.
    bool SetWholeTextNormalized(std::string&& text);
    // The change notification without a change: a command that wrote the text again with the
    // same bytes still counts as a change the user made.
    void Touch();
    // The line view's Clear: empties the text without the change notification (the views
    // follow; the modified flag and the counters do not).
    void Clear();
    // A restored recovery copy: the text, modified, with an empty history.
    void Restore(std::string&& text, const QString& fileName);

    // --- undo ---
    bool KeepsHistory() const { return m_bytes.KeepsHistory(); }
    void SetKeepHistory(bool on);
    bool CanUndo() const { return m_bytes.CanUndo(); }
    bool CanRedo() const { return m_bytes.CanRedo(); }
    ByteDocument::Undone Undo();
    ByteDocument::Undone Redo();
    // Starts the undo afresh (word wrap does so in one-level mode).
    void ForgetUndo();

signals:
    // The change notification: after every change of the text.
    void Changed(const DocumentEdit& edit);
    void ModifiedChanged(bool modified);
    void FileNameChanged(const QString& path);
    void EncodingChanged(FileEncoding encoding);
    void UndoStateChanged();

private:
    // `starts`: the text's line starts when a read found them already (else empty).
    void Adopt(std::string&& text, std::vector<Offset>&& starts = {});

    ByteDocument m_bytes;
    QString m_fileName;
    FileEncoding m_encoding;
    bool m_modified = false;
    QString m_stampPath;
    FileStamp m_stamp;
    // Loading and resetting change the text without making it modified.
    int m_quiet = 0;
    // Clearing raises nothing at all.
    int m_silent = 0;
};
