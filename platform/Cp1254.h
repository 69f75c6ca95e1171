#pragma once

#include <QString>
#include <QStringView>

#include <string>
#include <string_view>

// The document is Windows-1254 bytes; the editor widget holds Unicode. These are the only
// two doors between them, so every byte value survives a round trip unchanged.
namespace cp1254 {

// Unicode character shown for a byte (every byte has exactly one).
char16_t ToUnicode(unsigned char byte);

// Byte for a Unicode character, or -1 when the code page cannot hold it.
int FromUnicode(char16_t ch);

// Plain conversion of a byte string (no line-break handling): used for messages, the
// clipboard, file names shown in texts.
QString Decode(std::string_view bytes);
// Characters the code page cannot hold become '?'.
std::string Encode(QStringView text);

// Text in UTF-8 (for exception messages and other std::string texts shown to the user); byte 0
// becomes U+2400 so the message is not cut there.
std::string ToUtf8(std::string_view bytes);

} // namespace cp1254
