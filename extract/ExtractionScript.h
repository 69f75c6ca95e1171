#pragma once

#include "document/LineText.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// Fetches `url` into the file at `targetPath`, replacing what was there (DownloadUrlToFile
// in the program; tests pass their own).
using FetchOperation = std::function<void(const std::string& url, const QString& targetPath)>;
// Shows one message and returns when the user has closed it.
using NoticeOperation = std::function<void(const std::string& text)>;

// The document as the evaluator reads it. The editor's lines are fetched one at a time, so a
// run over a big document never copies all of it; the document must not change during a run.
class SourceLines {
public:
    virtual ~SourceLines() = default;
    virtual int Count() const = 0;
    // Line i (0 <= i < Count()); the text stays valid until the next call.
    virtual std::string_view Get(int i) const = 0;
};

class LineViewSource : public SourceLines {
public:
    explicit LineViewSource(const LineView& view) : m_view(view) {}
    int Count() const override { return m_view.Count(); }
    std::string_view Get(int i) const override { return m_view.Get(i); }

private:
    const LineView& m_view;
};

// Positions are 1-based, as the script writes them. A line number outside the source gives
// "UNKNOWN-LINE". The results point into the source line (or at a literal): no copy.
std::string_view GetLine(const SourceLines& source, std::int32_t n);
std::string_view GetPartOfLine1(const SourceLines& source, std::int32_t n, std::string_view startText,
                                std::string_view stopText, const NoticeOperation& notice);
std::string_view GetPartOfLine2(const SourceLines& source, std::int32_t n, std::int32_t startPos, std::int32_t stopPos,
                                const NoticeOperation& notice);
std::string_view GetPartOfLine3(const SourceLines& source, std::int32_t n, std::int32_t startPos,
                                std::string_view stopText, const NoticeOperation& notice);
std::string_view GetPartOfLine4(const SourceLines& source, std::int32_t n, std::string_view startText,
                                std::int32_t stopPos, const NoticeOperation& notice);

// Evaluates every script line against the source and returns the entries, each followed by
// CR LF, trimmed at both ends. $GETURL lines fetch into `fetchFile` (temp.txt). A
// number that does not convert throws QuorlexError and nothing is returned.
std::string RunExtractionScript(const LineView& script, const SourceLines& source, const QString& fetchFile,
                                const FetchOperation& fetch, const NoticeOperation& notice);
inline std::string RunExtractionScript(const LineView& script, const LineView& source, const QString& fetchFile,
                                       const FetchOperation& fetch, const NoticeOperation& notice)
{
    return RunExtractionScript(script, LineViewSource(source), fetchFile, fetch, notice);
}

// Carries a run's result into the document: writes its lines, each followed by CR LF, to
// `path` (temp001.txt), hands that path to `load`, and removes the file again, also when
// `load` throws. The result is released before `load` runs.
void LoadExtractionResult(std::string result, const QString& path,
                          const std::function<void(const QString& path)>& load);
