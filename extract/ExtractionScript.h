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

// Positions are 1-based, as the script writes them. A line number outside the source gives
// "UNKNOWN-LINE". The results point into the source line (or at a literal): no copy.
std::string_view GetLine(const LineView& source, std::int32_t n);
std::string_view GetPartOfLine1(const LineView& source, std::int32_t n, std::string_view startText,
                                std::string_view stopText, const NoticeOperation& notice);
std::string_view GetPartOfLine2(const LineView& source, std::int32_t n, std::int32_t startPos, std::int32_t stopPos,
                                const NoticeOperation& notice);
std::string_view GetPartOfLine3(const LineView& source, std::int32_t n, std::int32_t startPos,
                                std::string_view stopText, const NoticeOperation& notice);
std::string_view GetPartOfLine4(const LineView& source, std::int32_t n, std::string_view startText,
                                std::int32_t stopPos, const NoticeOperation& notice);

// Evaluates every script line against the source and returns the entries, each followed by
// CR LF, trimmed at both ends. $GETURL lines fetch into "temp.txt" in `programFolder`. A
// number that does not convert throws QuorlexError and nothing is returned.
std::string RunExtractionScript(const LineView& script, const LineView& source, const QString& programFolder,
                                const FetchOperation& fetch, const NoticeOperation& notice);

// Carries a run's result into the document: writes its lines, each followed by CR LF, to
// "temp001.txt" in `programFolder`, hands that path to `load`, and removes the file again,
// also when `load` throws.
void LoadExtractionResult(std::string_view result, const QString& programFolder,
                          const std::function<void(const QString& path)>& load);
