#include "cli/AnalysisText.h"

#include <algorithm>

namespace cli {
namespace {

constexpr std::string_view kBreak = "\r\n";

void Pad(std::string& out, std::size_t n) { out.append(n, ' '); }

} // namespace

std::string GeneralTableText(const std::vector<TGeneralRow>& rows)
{
    std::size_t width = 0;
    for (const TGeneralRow& r : rows)
        width = std::max(width, r.Label.size());
    std::string out;
    for (const TGeneralRow& r : rows) {
        out += r.Label;
        Pad(out, width - r.Label.size() + 2);
        out += r.Value;
        out += kBreak;
    }
    return out;
}

std::string FrequencyTableText(const char* itemHeader, const std::vector<TFrequencyRow>& rows)
{
    const std::string_view header[3] = {itemHeader, "Usage", "%"};
    std::size_t item = header[0].size(), usage = header[1].size(), percent = header[2].size();
    for (const TFrequencyRow& r : rows) {
        item = std::max(item, r.Item.size());
        usage = std::max(usage, r.Usage.size());
        percent = std::max(percent, r.Percent.size());
    }
    std::string out;
    out.reserve((item + usage + percent + 6) * (rows.size() + 1));
    const auto row = [&](std::string_view a, std::string_view b, std::string_view c) {
        out += a;
        Pad(out, item - a.size() + 2 + usage - b.size());
        out += b;
        Pad(out, 2 + percent - c.size());
        out += c;
        out += kBreak;
    };
    row(header[0], header[1], header[2]);
    for (const TFrequencyRow& r : rows)
        row(r.Item, r.Usage, r.Percent);
    return out;
}

std::string GeneralCsvText(const std::vector<TGeneralRow>& rows)
{
    std::string out;
    for (const TGeneralRow& r : rows) {
        out += r.Label;
        out += ';';
        out += r.Value;
        out += kBreak;
    }
    return out;
}

std::string AllTablesText(const TTextStatistics& statistics)
{
    std::string out = "General";
    out += kBreak;
    out += GeneralTableText(statistics.General());
    out += kBreak;
    out += "Char Frequency";
    out += kBreak;
    out += FrequencyTableText("Char", statistics.CharRows);
    out += kBreak;
    out += "Word Frequency";
    out += kBreak;
    out += FrequencyTableText("Word", statistics.WordRows);
    return out;
}

} // namespace cli
