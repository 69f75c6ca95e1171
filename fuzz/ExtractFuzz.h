#pragma once

// One extraction run on arbitrary bytes, shared by the fuzz target and its regression test.
// The input is cut at its first two bytes of value 1 into the script, the document and the
// body that every fetch of the run delivers.

#include "document/TextFile.h"
#include "extract/ExtractionScript.h"
#include "platform/Error.h"

#include <QDir>

#include <string>
#include <string_view>

namespace fuzz {

inline bool Trimmed(std::string_view s)
{
    return s.empty() || (static_cast<unsigned char>(s.front()) > 32 && static_cast<unsigned char>(s.back()) > 32);
}

// Empty when every rule held, else what went wrong. `folder` is an empty scratch folder.
inline std::string RunExtraction(std::string_view input, const QString& folder)
{
    const std::size_t a = input.find('\1');
    const std::size_t b = a == std::string_view::npos ? a : input.find('\1', a + 1);
    const std::string_view script = input.substr(0, a);
    const std::string_view document = a == std::string_view::npos ? std::string_view() : input.substr(a + 1, b - a - 1);
    const std::string_view body = b == std::string_view::npos ? std::string_view() : input.substr(b + 1);

    const QString temp = folder + QStringLiteral("/temp.txt");
    std::string problem;
    const FetchOperation fetch = [&](const std::string&, const QString& path) {
        if (path != temp)
            problem = "fetch outside the program folder: " + path.toStdString();
        WriteFileBytes(temp, body);
    };
    std::size_t notices = 0;
    const NoticeOperation notice = [&](const std::string&) { ++notices; };

    const LineView scriptLines(script);
    const LineView source(document);
    try {
        const std::string out = RunExtractionScript(scriptLines, source, temp, fetch, notice);
        if (!Trimmed(out))
            return "result not trimmed";
        if (notices > 2 * static_cast<std::size_t>(scriptLines.Count()))
            return "more notices than two a line";
        std::string carried;
        LoadExtractionResult(out, folder + QStringLiteral("/temp001.txt"),
                             [&](const QString& path) { carried = ReadFileBytes(path); });
        if (!out.empty() && !carried.ends_with("\r\n"))
            return "carrier file without its final break";
    } catch (const QuorlexError& e) {
        // The only error a script can cause is a number that does not convert: "'text' is not
        // a valid integer value" (what() ends at a byte 0 of the text, so only its start counts).
        if (e.what()[0] != '\'')
            return std::string("unexpected error: ") + e.what();
    }
    const QStringList left = QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QString& name : left)
        if (name != QStringLiteral("temp.txt"))
            problem = "file left in the program folder: " + name.toStdString();
    QFile::remove(temp);
    return problem;
}

} // namespace fuzz
