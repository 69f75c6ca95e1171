#include "document/TextDocument.h"

#include "document/DocumentLines.h"
#include "document/LineText.h"

TextDocument::TextDocument(QObject* parent) : QObject(parent)
{
    m_bytes.AddListener([this](const DocumentEdit& edit) {
        if (m_silent > 0)
            return;
        if (m_quiet == 0)
            SetModified(true);
        emit Changed(edit);
        emit UndoStateChanged();
    });
}

TextDocument::~TextDocument() = default;

std::string TextDocument::Get(int i) const { return lines::Get(m_bytes, i); }

void TextDocument::SetFileName(const QString& path)
{
    if (path == m_fileName)
        return;
    m_fileName = path;
    emit FileNameChanged(m_fileName);
}

void TextDocument::SetEncoding(FileEncoding encoding, bool markModified)
{
    const bool changed = !(encoding == m_encoding);
    m_encoding = encoding;
    emit EncodingChanged(m_encoding);
    if (changed && markModified)
        SetModified(true);
}

void TextDocument::SetModified(bool modified)
{
    if (modified == m_modified)
        return;
    m_modified = modified;
    emit ModifiedChanged(m_modified);
}

void TextDocument::SetStamp(const QString& path, const FileStamp& stamp)
{
    m_stampPath = path;
    m_stamp = stamp;
}

void TextDocument::Load(const QString& path, std::optional<bool> asUtf8, ByteDocument::Undo undo)
{
    const FileStamp onDisk = FileStampOf(path); // before the read: a change during it shows later
    TextFileContents file = ReadTextFile(path, asUtf8);
    if (file.scan.loneBreak) {
        file.bytes = NormalizeLineBreaks(file.bytes);
        file.scan = ScanText(file.bytes);
    }
    if (undo == ByteDocument::Undo::History && KeepsHistory()) {
        if (!m_bytes.Equals(file.bytes))
            m_bytes.Assign(std::move(file.bytes), std::move(file.scan.starts), ByteDocument::Undo::History);
    } else {
        Adopt(std::move(file.bytes), std::move(file.scan.starts));
    }
    SetEncoding(file.encoding, false);
    SetFileName(path);
    SetModified(false);
    SetStamp(path, onDisk);
}

void TextDocument::WriteTo(const QString& path) const { WriteTextFile(path, m_bytes.Bytes(), m_encoding); }

void TextDocument::WriteTo(const QString& path, const WriteSetup& setup) const
{
    WriteTextFile(path, m_bytes.Bytes(), m_encoding, setup);
}

void TextDocument::Clear()
{
    ++m_silent;
    struct Loud {
        int& silent;
        ~Loud() { --silent; }
    } loud{m_silent};
    m_bytes.Clear();
    emit UndoStateChanged();
}

void TextDocument::Reset()
{
    Clear();
    DocumentEdit emptied;
    emptied.whole = true;
    emit Changed(emptied); // the counters show the empty document
    SetEncoding({}, false);
    SetFileName({});
    SetModified(false);
    SetStamp({}, {});
    emit UndoStateChanged();
}

void TextDocument::Adopt(std::string&& text, std::vector<Offset>&& starts)
{
    ++m_quiet;
    struct Loud {
        int& quiet;
        ~Loud() { --quiet; }
    } loud{m_quiet};
    if (m_bytes.Equals(text))
        m_bytes.ForgetUndo();
    else if (starts.empty())
        m_bytes.Assign(std::move(text));
    else
        m_bytes.Assign(std::move(text), std::move(starts));
    emit UndoStateChanged();
}

void TextDocument::Replace(Offset start, Offset length, std::string_view bytes, ByteDocument::Undo undo)
{
    if (!m_bytes.Replace(start, length, bytes, undo))
        Touch();
}

void TextDocument::Touch()
{
    SetModified(true);
    emit Changed(DocumentEdit{});
}

bool TextDocument::SetWholeText(std::string&& text)
{
    if (m_bytes.Equals(text))
        return false;
    m_bytes.Assign(std::move(text), ByteDocument::Undo::History);
    return true;
}

bool TextDocument::SetWholeTextNormalized(std::string&& text)
{
    if (HasLoneLineBreak(text))
        text = NormalizeLineBreaks(text);
    return SetWholeText(std::move(text));
}

void TextDocument::Restore(std::string&& text, const QString& fileName)
{
    Adopt(std::move(text));
    m_bytes.ForgetUndo();
    SetFileName(fileName);
    SetModified(true);
    emit UndoStateChanged();
}

void TextDocument::SetKeepHistory(bool on)
{
    m_bytes.SetKeepHistory(on);
    emit UndoStateChanged();
}

ByteDocument::Undone TextDocument::Undo() { return m_bytes.ApplyUndo(); }

ByteDocument::Undone TextDocument::Redo() { return m_bytes.ApplyRedo(); }

void TextDocument::ForgetUndo()
{
    m_bytes.ForgetUndo();
    emit UndoStateChanged();
}
