#include "cli/Run.h"

#include "analysis/WordList.h"
#include "cli/AnalysisText.h"
#include "cli/ReplaceAll.h"
#include "commands/CaseConversion.h"
#include "commands/LineParameters.h"
#include "commands/RandomGenerator.h"
#include "document/LineText.h"
#include "extract/ExtractionResult.h"
#include "platform/Collation.h"

namespace cli {
namespace {

std::string Analyze(const Request& request, const LineView& lines)
{
    switch (request.table) {
    case AnalyzeTable::All:
        return AllTablesText(AnalyzeText(lines));
    case AnalyzeTable::General: {
        const auto general = AnalyzeText(lines).General();
        return request.csv ? GeneralCsvText(general) : GeneralTableText(general);
    }
    case AnalyzeTable::Chars: {
        const auto rows = BuildFrequencyRows(CountChars(lines)).Rows;
        return request.csv ? WordCsvText(rows) : FrequencyTableText("Char", rows);
    }
    case AnalyzeTable::Words: {
        // The window's word table: the rows AnalyzeText makes of the word count.
        const auto rows = BuildFrequencyRows(CountWords(lines)).Rows;
        return request.csv ? WordCsvText(rows) : WordListText(rows);
    }
    }
    return {};
}

std::string Extract(const CommandInputs& inputs, const LineView& lines)
{
    // The script editor holds its text with CR LF breaks, whatever the file had.
    const std::string script = NormalizeLineBreaks(inputs.script);
    return ExtractionDocumentText(
        RunExtractionScript(LineView(script), lines, inputs.fetchFile, inputs.fetch, inputs.notice));
}

// Make Uppercase / Lowercase All. The conversion maps every byte by itself, so converting a
// slice at a time into the text's own place gives the bytes of the whole text converted, with
// no second copy of a big document. The editor sets the result as the document's text, which
// would turn a lone line break into CR LF; a document read here has none, and the letters
// never become one.
std::string ConvertCase(std::string document, std::string (*convert)(std::string_view))
{
    constexpr std::size_t kSlice = std::size_t{1} << 20;
    for (std::size_t at = 0; at < document.size(); at += kSlice) {
        const std::string converted = convert(std::string_view(document).substr(at, kSlice));
        document.replace(at, converted.size(), converted);
    }
    return document;
}

} // namespace

std::string RunCommand(const Request& request, const CommandInputs& inputs, std::string document)
{
    const auto word = [&](std::size_t i) -> const std::string& { return inputs.words.at(i); };
    switch (request.command) {
    case Command::Upper:
        return ConvertCase(std::move(document), ToUpperTurkish);
    case Command::Lower:
        return ConvertCase(std::move(document), ToLowerTurkish);
    case Command::Replace: {
        FindOptions options;
        options.matchCase = !request.ignoreCase;
        options.wholeWord = request.wholeWord;
        options.regex = request.regex;
        return ReplaceAllInText(document, word(0), word(1), options);
    }
    default:
        break;
    }
    const LineView lines(document);
    switch (request.command) {
    case Command::Sort:
        return SortLineList(lines, TextCollator()).text;
    case Command::Shuffle: {
        RandomGenerator random;
        if (request.seed)
            random.SetSeed(*request.seed);
        else
            random.Randomize();
        return ShuffleLineList(lines, random).text;
    }
    case Command::Trim:
        return TrimEachLine(lines, request.side).text;
    case Command::Join:
        return JoinLinesWithSeparator(lines, word(0)).text;
    case Command::Prefix:
        return PrefixEachLine(lines, word(0)).text;
    case Command::Suffix:
        return SuffixEachLine(lines, word(0)).text;
    case Command::WordList:
        return GenerateWordList(lines);
    case Command::Analyze:
        return Analyze(request, lines);
    case Command::Extract:
        return Extract(inputs, lines);
    case Command::Upper:
    case Command::Lower:
    case Command::Replace:
        break;
    }
    return document;
}

} // namespace cli
