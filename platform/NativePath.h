#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <string_view>

class QUrl;

// A Linux file name is bytes, not necessarily UTF-8. Paths travel through the program as
// QString so that every caller keeps its types: valid UTF-8 decodes as usual, and each byte
// that is not part of it becomes the lone surrogate U+DC00 + byte, which no UTF-8 text can
// hold. NativePath gives the very bytes back; ShownPath is what the user reads.

// The path the system's bytes name.
QString PathFromNative(std::string_view bytes);
// The bytes to hand to the system for `path`.
QByteArray NativePath(const QString& path);
// `path` for a caption, a prompt or an error: each byte that is not UTF-8 shows as U+FFFD.
QString ShownPath(const QString& path);

// The program's arguments after the first, as the bytes of `argv`: Qt's own decoding of them
// would replace what is not UTF-8.
QStringList ArgumentsFromArgv(int argc, const char* const* argv);

// The local path of a file URL, percent-escapes taken as bytes.
QString PathFromFileUrl(const QUrl& url);

// A path a file dialog gave back after showing a name that is not UTF-8 with U+FFFD: when it
// names nothing, each such part is matched against the names in its folder as the dialog
// showed them, and the path of the one entry that fits is returned. Otherwise `path` itself.
QString ResolveShownPath(const QString& path);
