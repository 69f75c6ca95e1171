#pragma once

#include <optional>
#include <string>
#include <string_view>

// The file boundary for UTF-8: the document stays Windows-1254 bytes, a file may be UTF-8.
namespace utf8text {

// A file's text as the document holds it, and how to write it back.
struct Decoded {
    std::string bytes;     // Windows-1254
    bool byteOrderMark = false;
};

// The Windows-1254 bytes of `file` when it is UTF-8 the document can hold whole: valid UTF-8,
// at least one multi-byte sequence (or a leading byte-order mark), and every character one of
// the code page's 256. Nothing otherwise: such a file is read as its bytes.
std::optional<Decoded> DecodeIfQualifies(std::string_view file);

// Why `file` cannot be read as UTF-8 (empty when DecodeIfQualifies would take it), for the
// user who asked to reopen a file as UTF-8.
std::string WhyNotUtf8(std::string_view file);

// Every Windows-1254 byte has a UTF-8 form, so nothing is lost on the way out.
std::string Encode(std::string_view cp1254Bytes, bool byteOrderMark = false);
// The same into `out`, which has EncodedRoom(cp1254Bytes.size()) bytes of room (a buffer used
// again and again costs no new memory); returns how many it wrote.
std::size_t EncodeInto(char* out, std::string_view cp1254Bytes, bool byteOrderMark = false);
std::size_t EncodedRoom(std::size_t cp1254Bytes);

} // namespace utf8text
