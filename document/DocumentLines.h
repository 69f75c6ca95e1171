#pragma once

#include "document/ByteDocument.h"

#include <string>
#include <string_view>

// The line view of the document: the pieces of its text cut at every CR LF. Count (on the
// document) leaves out a last empty piece; Get, Put and Insert still reach it.
namespace lines {

// Line i without its break; empty for a line that does not exist.
std::string Get(const ByteDocument& doc, int i);
// Replaces the bytes of line i (its break untouched); nothing when line i does not exist.
void Put(ByteDocument& doc, int i, std::string_view s);
// Line i exists: s + CR LF at its start; else line i - 1 exists and is not empty: CR LF + s
// at its end; else nothing.
void Insert(ByteDocument& doc, int i, std::string_view s);
inline void Add(ByteDocument& doc, std::string_view s) { Insert(doc, doc.Count(), s); }
// Removes line i with the break behind it; the last line loses only its bytes.
void Delete(ByteDocument& doc, int i);

// Text (set): every lone CR and lone LF becomes CR LF; when the result differs from the
// document's text it replaces the whole text. Returns whether it did. Throws "Text exceeds
// memo capacity" (the document keeps its text).
bool SetText(ByteDocument& doc, std::string_view text);
// As SetText without the normalisation.
bool SetTextRaw(ByteDocument& doc, std::string_view text);
// SetText for a text the caller gives up (a file just read): no second copy when it needs
// no normalisation.
bool AdoptText(ByteDocument& doc, std::string&& text);
// AdoptText without the normalisation.
bool AdoptTextRaw(ByteDocument& doc, std::string&& text);

} // namespace lines
