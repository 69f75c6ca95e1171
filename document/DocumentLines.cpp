#include "document/DocumentLines.h"

#include "document/LineText.h"
#include "platform/Error.h"

#include <QCoreApplication>

namespace lines {
namespace {

bool Exists(const ByteDocument& doc, int i) { return i >= 0 && i < doc.Pieces(); }

bool ReplaceWhole(ByteDocument& doc, std::string&& text)
{
    if (doc.Equals(text))
        return false;
    doc.Assign(std::move(text)); // throws for a text too big, before changing anything
    return true;
}

} // namespace

std::string Get(const ByteDocument& doc, int i)
{
    if (!Exists(doc, i))
        return {};
    const ByteDocument::Offset start = doc.LineStart(i);
    return doc.Slice(start, doc.LineEnd(i) - start);
}

void Put(ByteDocument& doc, int i, std::string_view s)
{
    if (!Exists(doc, i))
        return;
    const ByteDocument::Offset start = doc.LineStart(i);
    doc.Replace(start, doc.LineEnd(i) - start, s);
}

void Insert(ByteDocument& doc, int i, std::string_view s)
{
    if (Exists(doc, i)) {
        std::string bytes;
        bytes.reserve(s.size() + 2);
        bytes.append(s).append("\r\n");
        doc.Replace(doc.LineStart(i), 0, bytes);
    } else if (i >= 1 && Exists(doc, i - 1) && doc.LineEnd(i - 1) > doc.LineStart(i - 1)) {
        std::string bytes;
        bytes.reserve(s.size() + 2);
        bytes.append("\r\n").append(s);
        doc.Replace(doc.LineEnd(i - 1), 0, bytes);
    }
}

void Delete(ByteDocument& doc, int i)
{
    if (!Exists(doc, i))
        return;
    const ByteDocument::Offset start = doc.LineStart(i);
    const ByteDocument::Offset end = i + 1 < doc.Pieces() ? doc.LineStart(i + 1) : doc.Length();
    doc.Replace(start, end - start, {});
}

bool SetText(ByteDocument& doc, std::string_view text)
{
    if (HasLoneLineBreak(text))
        return ReplaceWhole(doc, NormalizeLineBreaks(text));
    return SetTextRaw(doc, text);
}

bool SetTextRaw(ByteDocument& doc, std::string_view text)
{
    if (static_cast<ByteDocument::Offset>(text.size()) > ByteDocument::kCapacity)
        throw QuorlexError(Translated("Document", QT_TRANSLATE_NOOP("Document", "Text exceeds memo capacity")));
    if (doc.Equals(text))
        return false;
    doc.Assign(std::string(text));
    return true;
}

bool AdoptTextRaw(ByteDocument& doc, std::string&& text) { return ReplaceWhole(doc, std::move(text)); }

bool AdoptText(ByteDocument& doc, std::string&& text)
{
    if (HasLoneLineBreak(text))
        text = NormalizeLineBreaks(text);
    return ReplaceWhole(doc, std::move(text));
}

} // namespace lines
