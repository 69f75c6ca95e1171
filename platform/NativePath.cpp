#include "platform/NativePath.h"

#include <QFile>
#include <QUrl>

#include <dirent.h>
#include <sys/stat.h>

namespace {

constexpr char16_t kEscapeBase = 0xDC00;
constexpr char16_t kReplacement = 0xFFFD;

bool IsEscape(char16_t u) { return u >= 0xDC80 && u <= 0xDCFF; }

// The length of the valid UTF-8 sequence at `at` and its code point; 0 when there is none.
int Utf8Sequence(std::string_view bytes, std::size_t at, char32_t& point)
{
    const auto lead = static_cast<unsigned char>(bytes[at]);
    int length = 0;
    char32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, point = lead & 0x1Fu, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, point = lead & 0x0Fu, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, point = lead & 0x07u, least = 0x10000;
    } else {
        return 0;
    }
    if (at + static_cast<std::size_t>(length) > bytes.size())
        return 0;
    for (int k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(k)]);
        if ((next & 0xC0u) != 0x80u)
            return 0;
        point = (point << 6) | (next & 0x3Fu);
    }
    if (point < least || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF))
        return 0;
    return length;
}

void AppendUtf8(QByteArray& out, char32_t point)
{
    auto byte = [&out](char32_t b) { out.append(static_cast<char>(b)); };
    if (point < 0x80) {
        byte(point);
    } else if (point < 0x800) {
        byte(0xC0 | (point >> 6)), byte(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        byte(0xE0 | (point >> 12)), byte(0x80 | ((point >> 6) & 0x3F)), byte(0x80 | (point & 0x3F));
    } else {
        byte(0xF0 | (point >> 18)), byte(0x80 | ((point >> 12) & 0x3F));
        byte(0x80 | ((point >> 6) & 0x3F)), byte(0x80 | (point & 0x3F));
    }
}

bool Exists(const QString& path)
{
    struct stat st {};
    return ::lstat(NativePath(path).constData(), &st) == 0;
}

} // namespace

QString PathFromNative(std::string_view bytes)
{
    QString path;
    path.reserve(static_cast<qsizetype>(bytes.size()));
    for (std::size_t at = 0; at < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[at]);
        char32_t point = lead;
        const int length = lead < 0x80 ? 1 : Utf8Sequence(bytes, at, point);
        if (length == 0) {
            path.append(QChar(static_cast<char16_t>(kEscapeBase + lead)));
            ++at;
            continue;
        }
        if (point >= 0x10000) {
            path.append(QChar(QChar::highSurrogate(point)));
            path.append(QChar(QChar::lowSurrogate(point)));
        } else {
            path.append(QChar(static_cast<char16_t>(point)));
        }
        at += static_cast<std::size_t>(length);
    }
    return path;
}

QByteArray NativePath(const QString& path)
{
    QByteArray bytes;
    bytes.reserve(path.size());
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t unit = path[i].unicode();
        char32_t point = unit;
        if (QChar::isHighSurrogate(unit) && i + 1 < path.size() && QChar::isLowSurrogate(path[i + 1].unicode())) {
            point = QChar::surrogateToUcs4(unit, path[++i].unicode());
        } else if (IsEscape(unit)) {
            bytes.append(static_cast<char>(unit - kEscapeBase));
            continue;
        } else if (QChar::isSurrogate(unit)) {
            point = kReplacement;
        }
        AppendUtf8(bytes, point);
    }
    return bytes;
}

QString ShownPath(const QString& path)
{
    QString shown = path;
    for (QChar& c : shown)
        if (IsEscape(c.unicode()))
            c = QChar(kReplacement);
    return shown;
}

QStringList ArgumentsFromArgv(int argc, const char* const* argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << PathFromNative(argv[i]);
    return arguments;
}

QString PathFromFileUrl(const QUrl& url)
{
    const QByteArray bytes = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    return PathFromNative(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

QString ResolveShownPath(const QString& path)
{
    if (!path.contains(QChar(kReplacement)) || Exists(path))
        return path;
    const QStringList parts = path.split(u'/');
    QString resolved;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        QString part = parts[i];
        if (part.contains(QChar(kReplacement))) {
            const QString folder = i == 0 ? QStringLiteral(".") : resolved.isEmpty() ? QStringLiteral("/") : resolved;
            if (DIR* dir = ::opendir(NativePath(folder).constData())) {
                QString match;
                int matches = 0;
                while (const dirent* entry = ::readdir(dir)) {
                    const QString name = PathFromNative(entry->d_name);
                    // The dialog decoded the name with Qt's own replacement, a caption with ours.
                    if (QFile::decodeName(entry->d_name) == part || ShownPath(name) == part)
                        match = name, ++matches;
                }
                ::closedir(dir);
                if (matches == 1)
                    part = match;
            }
        }
        resolved += (i == 0 ? QString() : QStringLiteral("/")) + part;
    }
    return resolved;
}
