#include "document/TextFile.h"
#include "extract/ExtractionScript.h"
#include "platform/Error.h"
#include "tests/support/TempHome.h"

#include <QFile>

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

struct Outcome {
    std::string text;  // the run's result, or "error: " and the message
    std::vector<std::string> notices;
    std::vector<std::string> urls;
};

// Runs `script` (lines joined by CR LF) over `document`; `pages` answers fetches by URL.
Outcome RunScript(const std::string& script, const std::string& document,
            const std::map<std::string, std::string>& pages = {})
{
    TempHome home;
    Outcome out;
    const FetchOperation fetch = [&](const std::string& url, const QString& path) {
        out.urls.push_back(url);
        EXPECT_EQ(path, home.File(QStringLiteral("temp.txt")));
        const auto page = pages.find(url);
        WriteFileBytes(path, page == pages.end() ? std::string() : page->second);
    };
    const NoticeOperation notice = [&](const std::string& text) { out.notices.push_back(text); };
    try {
        const QString temp = home.File(QStringLiteral("temp.txt"));
        out.text = RunExtractionScript(LineView(script), LineView(document), temp, fetch, notice);
    } catch (const QuorlexError& e) {
        out.text = std::string("error: ") + e.what();
    }
    return out;
}

struct Case {
    const char* name;
    std::string document;
    std::string script;
    std::string expected;
    std::vector<std::string> notices;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class Evaluator : public testing::TestWithParam<Case> {};

TEST_P(Evaluator, GivesTheResultAndTheNoticesInOrder)
{
    const Case& c = GetParam();
    const Outcome got = RunScript(c.script, c.document);
    EXPECT_EQ(got.text, c.expected);
    EXPECT_EQ(got.notices, c.notices);
}

const std::string kSix = "l0\r\nl1\r\nl2\r\nl3\r\nl4\r\nline five\r\nl6\r\nl7\r\nl8\r\nl9\r\nline ten\r\n";
const std::string kThree = "a\r\nb\r\nc\r\n";

// clang-format off
INSTANTIATE_TEST_SUITE_P(Positions, Evaluator, testing::Values(
    Case{"StartAndStopPosition", "abcdef", "$GETPARTOFLINE2[0;1,4]", "abc", {}},
    Case{"EqualPositionsGiveNothingSilently", "abcdef", "$GETPARTOFLINE2[0;3,3]x", "", {}},
    Case{"StopPastTheEnd", "abcdef", "$GETPARTOFLINE2[0;2,10]", "bcdef",
         {"Stop position is too big for that line."}},
    Case{"StopBeforeStart", "abcdef", "$GETPARTOFLINE2[0;5,3]", "",
         {"Stop position must be bigger than start position"}},
    Case{"BothPastTheEndInOrder", "abcdef", "$GETPARTOFLINE2[0;8,9]", "",
         {"Start position is too big for that line.", "Stop position is too big for that line."}},
    Case{"StopJustPastTheEnd", "abcdef", "$GETPARTOFLINE2[0;6,7]", "f",
         {"Stop position is too big for that line."}},
    Case{"StartBelowOneKeepsTheCount", "abcdef", "$GETPARTOFLINE2[0;0,3]", "abc", {}},
    Case{"NegativeStartKeepsTheCount", "abcdef", "$GETPARTOFLINE2[0;-2,1]", "abc", {}},
    Case{"ExtremePositionsDoNotWrap", "abcdef", "$GETPARTOFLINE2[0;-2147483648,2147483647]", "abcdef",
         {"Stop position is too big for that line."}},
    Case{"HexPositions", "abcdef", "$GETPARTOFLINE2[0;$2,0x4]", "bc", {}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(Markers, Evaluator, testing::Values(
    Case{"StartAndStopText", "x<b>y</b>z", "$GETPARTOFLINE1[0;<b>,</b>]", "<b>y", {}},
    Case{"PositionAndStopText", "x<b>y</b>z", "$GETPARTOFLINE3[0;2,</b>]", "<b>y", {}},
    Case{"StartTextAndPosition", "x<b>y</b>z", "$GETPARTOFLINE4[0;<b>,6]", "<b>y", {}},
    Case{"StopTextIsSoughtBehindTheStartText", "a]b.a", "$GETPARTOFLINE1[0;a,a]", "a]b.", {}},
    Case{"MissingStartTextCountsFromOne", "ab</b>", "$GETPARTOFLINE1[0;<i>,</b>]", "ab<",
         {"<i> does not exist."}},
    Case{"MissingStopText", "abcdef", "$GETPARTOFLINE1[0;b,zz]", "",
         {"zz does not exist."}},
    Case{"MissingStopTextAfterPosition", "abcdef", "$GETPARTOFLINE3[0;2,zz]", "", {"zz does not exist."}},
    Case{"EmptyStartTextInPart1", "abcdef", "$GETPARTOFLINE1[0;,c]", "abc", {" does not exist."}},
    Case{"EmptyStartTextInPart4", "abcdef", "$GETPARTOFLINE4[0;,3]", "abc", {" does not exist."}},
    Case{"MarkersAreCaseSensitiveAndKeepBlanks", "a b B c", "-\r\n$GETPARTOFLINE1[0; B, c]", "-\r\n B",
         {}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(Lines, Evaluator, testing::Values(
    Case{"FirstLineIsZero", kThree, "$GETLINE[0]", "a", {}},
    Case{"LineAtCountIsUnknown", kThree, "$GETLINE[3]", "UNKNOWN-LINE", {}},
    Case{"NegativeLineIsUnknown", kThree, "$GETLINE[-1]", "UNKNOWN-LINE", {}},
    Case{"UnknownLineShowsNoNotice", "", "$GETPARTOFLINE1[0;zz,yy]\r\n$GETPARTOFLINE2[0;9,1]", 
         "UNKNOWN-LINE\r\nUNKNOWN-LINE", {}},
    Case{"TextAfterTheBracketIsIgnored", kSix, "$GETLINE[5] trailing words", "line five", {}},
    Case{"LeadingBlanksAllowed", kSix, "$GETLINE[ 5]", "line five", {}},
    Case{"HexLineNumber", kSix, "$GETLINE[$A]", "line ten", {}},
    Case{"UrlWinsWhereverItStands", kThree, "x$GETLINE[0] $GETURL[]", "", {}},
    Case{"PlainLinesAreTrimmedOnlyAtTheEnds", "", "\r\n  \r\n  one \r\n\r\n two  \r\n\t\r\n", "one \r\n\r\n two", {}},
    Case{"EmptyScript", kThree, "", "", {}},
    Case{"KeywordCaseMatters", kThree, "$getline[0]", "$getline[0]", {}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

struct Failure {
    const char* name;
    std::string script;
    std::string message;
};

void PrintTo(const Failure& c, std::ostream* os) { *os << c.name; }

class BadNumbers : public testing::TestWithParam<Failure> {};

TEST_P(BadNumbers, EndTheRunNamingTheText)
{
    const Failure& c = GetParam();
    const Outcome got = RunScript(c.script, kSix);
    EXPECT_EQ(got.text, "error: " + c.message);
    EXPECT_TRUE(got.notices.empty());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Conversion, BadNumbers, testing::Values(
    Failure{"ConversionBeforeRange", "$GETPARTOFLINE2[99;a,2]", "'a' is not a valid integer value"},
    Failure{"StartBeforeStop", "$GETPARTOFLINE2[0;s,t]", "'s' is not a valid integer value"},
    Failure{"LineNumberFirst", "$GETPARTOFLINE3[q;t,x]", "'q' is not a valid integer value"},
    Failure{"NotInColumnOne", "Note: $GETLINE[5]", "'TLINE[5' is not a valid integer value"},
    Failure{"TrailingBlank", "$GETLINE[5 ]", "'5 ' is not a valid integer value"},
    Failure{"NoClosingBracket", "$GETPARTOFLINE2[5;10,20", "'' is not a valid integer value"},
    Failure{"Part4StopPosition", "$GETPARTOFLINE4[0;a,b]", "'b' is not a valid integer value"},
    Failure{"TooBig", "$GETLINE[2147483648]", "'2147483648' is not a valid integer value"},
    Failure{"LaterLineDiscardsEarlierOutput", "kept?\r\n$GETLINE[0]\r\n$GETLINE[x]",
            "'x' is not a valid integer value"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(Evaluator, NoticesInScriptOrderAndTheRunGoesOn)
{
    const Outcome got = RunScript("$GETPARTOFLINE1[0;q,b]\r\nmid\r\n$GETPARTOFLINE3[0;1,w]", "abc\r\n");
    EXPECT_EQ(got.notices, (std::vector<std::string>{"q does not exist.", "w does not exist."}));
    EXPECT_EQ(got.text, "ab\r\nmid");
}

TEST(Evaluator, FetchedPageLinesThenTheNextLine)
{
    const Outcome got = RunScript("$GETURL[http://h/p]\r\nend", "", {{"http://h/p", "P1\nP2\r\n"}});
    EXPECT_EQ(got.urls, std::vector<std::string>{"http://h/p"});
    EXPECT_EQ(got.text, "P1\r\nP2\r\n\r\nend");
}

TEST(Evaluator, FetchedPageIsSplitAtEveryBreakAndEndsAtNul)
{
    const Outcome got = RunScript("$GETURL[u]\r\nend", "", {{"u", std::string("a\rb\nc\r\nd\0gone\r\n", 15)}});
    EXPECT_EQ(got.text, "a\r\nb\r\nc\r\nd\r\n\r\nend");
}

TEST(Evaluator, FetchedUtf8PageEntersAsTheCodePagesBytes)
{
    // Turkish UTF-8 becomes its Windows-1254 bytes; a page with a character outside the code
    // page, or one that is not UTF-8, enters as it arrived.
    const Outcome turkish = RunScript("$GETURL[u]", "", {{"u", "\xC4\xB0\xC5\x9F\r\n\xC3\xA7"}});
    EXPECT_EQ(turkish.text, "\xDD\xFE\r\n\xE7");
    const Outcome japanese = RunScript("$GETURL[u]", "", {{"u", "\xC3\xA7\xE6\x97\xA5"}});
    EXPECT_EQ(japanese.text, "\xC3\xA7\xE6\x97\xA5");
    const Outcome bytes = RunScript("$GETURL[u]", "", {{"u", "\xDD\xFE"}});
    EXPECT_EQ(bytes.text, "\xDD\xFE");
}

TEST(Evaluator, UrlIsCutAtTheFirstBracketAndPassedAsWritten)
{
    const Outcome got = RunScript("$GETURL[ http://a/b?c=[1] ]\r\n$GETURL[no bracket", "");
    EXPECT_EQ(got.urls, (std::vector<std::string>{" http://a/b?c=[1", ""}));
}

TEST(Evaluator, FetchDoesNotChangeTheSourceOfLaterLines)
{
    const Outcome got = RunScript("$GETURL[u]\r\n$GETLINE[0]", "doc\r\n", {{"u", "page\r\n"}});
    EXPECT_EQ(got.text, "page\r\n\r\ndoc");
}

TEST(Evaluator, FetchErrorEndsTheRun)
{
    TempHome home;
    const FetchOperation fetch = [](const std::string&, const QString&) {
        throw QuorlexError("Cannot create file \"x\". Permission denied");
    };
    EXPECT_THROW(RunExtractionScript(LineView("a\r\n$GETURL[u]"), LineView(""), home.File(QStringLiteral("temp.txt")),
                                     fetch, [](const std::string&) {}),
                 QuorlexError);
}

TEST(Evaluator, ExtractorsReadTheLineViewWithoutCopying)
{
    const std::string doc = "zero\r\none two\r\n";
    const LineView view(doc);
    const std::string_view got = GetPartOfLine2(LineViewSource(view), 1, 5, 8, [](const std::string&) {});
    EXPECT_EQ(got, "two");
    EXPECT_EQ(got.data(), doc.data() + 10);
}

struct CarryCase {
    const char* name;
    std::string result;
    std::string file;
};

void PrintTo(const CarryCase& c, std::ostream* os) { *os << c.name; }

class Carry : public testing::TestWithParam<CarryCase> {};

TEST_P(Carry, WritesLinesWithCrLfAndRemovesTheFile)
{
    TempHome home;
    std::string loaded;
    QString seen;
    LoadExtractionResult(GetParam().result, home.File(QStringLiteral("temp001.txt")), [&](const QString& path) {
        seen = path;
        loaded = ReadFileBytes(path);
    });
    EXPECT_EQ(seen, home.File(QStringLiteral("temp001.txt")));
    EXPECT_EQ(loaded, GetParam().file);
    EXPECT_FALSE(QFile::exists(seen));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Result, Carry, testing::Values(
    CarryCase{"Empty", "", ""},
    CarryCase{"OneLine", "a", "a\r\n"},
    CarryCase{"EveryBreakBecomesCrLf", "a\rb\nc\r\n\r\nd", "a\r\nb\r\nc\r\n\r\nd\r\n"},
    CarryCase{"DocumentNulIsKept", std::string("a\0b\r\nc", 6), std::string("a\0b\r\nc\r\n", 8)}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(Carry, FileIsRemovedWhenTheLoadFails)
{
    TempHome home;
    EXPECT_THROW(LoadExtractionResult("x", home.File(QStringLiteral("temp001.txt")),
                                      [](const QString&) { throw QuorlexError("full"); }),
                 QuorlexError);
    EXPECT_FALSE(QFile::exists(home.File(QStringLiteral("temp001.txt"))));
}

TEST(Carry, UnwritableFolderGivesTheCreateError)
{
    bool loaded = false;
    try {
        LoadExtractionResult("x", QStringLiteral("/nonexistent-quorlex/temp001.txt"),
                             [&](const QString&) { loaded = true; });
        FAIL() << "no error";
    } catch (const QuorlexError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Cannot create file \"/nonexistent-quorlex/temp001.txt\".", 0), 0u)
            << e.what();
    }
    EXPECT_FALSE(loaded);
}

} // namespace
