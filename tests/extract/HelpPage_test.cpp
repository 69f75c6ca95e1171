// The help page's examples are run as the page states them: an element of class "script"
// starts an example, "result" is what it gives, "notice" a message it shows (in order);
// "input" sets the editor's text and "page" the fetched page for the examples after it.
#include "document/TextFile.h"
#include "extract/ExtractionScript.h"
#include "extract/HelpPage.h"
#include "platform/Error.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <tuple>
#include <vector>

namespace {

struct Example {
    std::string script;
    std::string input;
    std::string page;
    std::string result;
    std::vector<std::string> notices;
    bool hasResult = false;
};

std::string Decoded(std::string html)
{
    html = std::regex_replace(html, std::regex("<[^>]*>"), "");
    static const std::pair<const char*, const char*> kEntities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#39;", "'"}, {"&nbsp;", "\xA0"}, {"&amp;", "&"}};
    for (const auto& [entity, text] : kEntities)
        html = std::regex_replace(html, std::regex(entity), text);
    // HTML drops a line break right after <pre>; the script's lines end in CR LF.
    if (html.starts_with('\n'))
        html.erase(0, 1);
    return std::regex_replace(html, std::regex("\n"), "\r\n");
}

std::vector<Example> ExamplesOf(const std::string& html)
{
    std::vector<Example> examples;
    std::string input;
    std::string page;
    const std::regex open(R"re(<(\w+)[^>]*\sclass="([^"]*)"[^>]*>)re");
    for (auto it = std::sregex_iterator(html.begin(), html.end(), open); it != std::sregex_iterator(); ++it) {
        const std::string tag = (*it)[1];
        const std::size_t from = static_cast<std::size_t>(it->position() + it->length());
        const std::size_t to = html.find("</" + tag + ">", from);
        if (to == std::string::npos) {
            ADD_FAILURE() << "unclosed <" << tag << "> at " << it->position();
            break;
        }
        const std::string text = Decoded(html.substr(from, to - from));
        std::istringstream classes((*it)[2]);
        for (std::string c; classes >> c;) {
            if (c == "input") {
                input = text;
            } else if (c == "page") {
                page = text;
            } else if (c == "script") {
                examples.push_back({text, input, page});
            } else if (c == "result" || c == "notice") {
                if (examples.empty()) {
                    ADD_FAILURE() << c << " before any script: " << text;
                    continue;
                }
                if (c == "notice") {
                    examples.back().notices.push_back(text);
                } else {
                    EXPECT_FALSE(examples.back().hasResult) << "second result for " << examples.back().script;
                    examples.back().result = text;
                    examples.back().hasResult = true;
                }
            }
        }
    }
    return examples;
}

std::vector<Example> ExamplesOfPage(const char* name)
{
    return ExamplesOf(ReadFileBytes(QStringLiteral(QUORLEX_SOURCE_DIR "/resources/") + QString::fromLatin1(name)));
}

struct Page {
    const char* name;
    // The Turkish page quotes the program's messages as the translation shows them, while the
    // run here reports them untranslated: only their number is checked there.
    bool noticesVerbatim;
};

class HelpPage : public testing::TestWithParam<Page> {};

TEST_P(HelpPage, EveryExampleGivesWhatThePageSays)
{
    const std::vector<Example> examples = ExamplesOfPage(GetParam().name);
    // Every directive and the two-run web example: a page that lost its marks fails here.
    ASSERT_GE(examples.size(), 9u);
    for (const Example& e : examples) {
        SCOPED_TRACE(e.script);
        EXPECT_TRUE(e.hasResult);
        TempHome home;
        std::vector<std::string> notices;
        const FetchOperation fetch = [&](const std::string&, const QString& path) { WriteFileBytes(path, e.page); };
        const NoticeOperation notice = [&](const std::string& text) { notices.push_back(text); };
        try {
            EXPECT_EQ(RunExtractionScript(LineView(e.script), LineView(e.input), home.File(QStringLiteral("temp.txt")), fetch, notice), e.result);
        } catch (const QuorlexError& error) {
            ADD_FAILURE() << error.what();
        }
        if (GetParam().noticesVerbatim)
            EXPECT_EQ(notices, e.notices);
        else
            EXPECT_EQ(notices.size(), e.notices.size());
    }
}

INSTANTIATE_TEST_SUITE_P(Pages, HelpPage,
                         testing::Values(Page{"extract_help.htm", true}, Page{"extract_help_tr.htm", false}),
                         [](const auto& info) { return std::string(info.param.noticesVerbatim ? "English" : "Turkish"); });

// Only the prose is translated: a Turkish page whose example drifted from the English one
// would teach a script the English page does not.
TEST(HelpPages, TheTurkishPageHoldsTheEnglishExamples)
{
    const auto key = [](const Example& e) { return std::make_tuple(e.script, e.input, e.page, e.result, e.notices.size()); };
    const std::vector<Example> english = ExamplesOfPage("extract_help.htm");
    const std::vector<Example> turkish = ExamplesOfPage("extract_help_tr.htm");
    ASSERT_EQ(turkish.size(), english.size());
    for (std::size_t i = 0; i < english.size(); ++i)
        EXPECT_EQ(key(turkish[i]), key(english[i])) << "example " << i;
}

TEST(HelpPages, TurkishPageOnlyForTurkishAndOnlyWhenItIsInstalled)
{
    TempHome home;
    const QString english = home.File(QStringLiteral("extract_help.htm"));
    const QString turkish = home.File(QStringLiteral("extract_help_tr.htm"));
    EXPECT_EQ(HelpPagePath(QStringLiteral("tr")), english);
    WriteFileBytes(turkish, "<html></html>");
    for (const auto& [language, page] : std::vector<std::pair<const char*, QString>>{
             {"tr", turkish}, {"tr_TR.UTF-8", turkish}, {"tr-TR", turkish}, {"en", english}, {"", english}, {"trv", english}})
        EXPECT_EQ(HelpPagePath(QString::fromLatin1(language)), page) << language;
}

} // namespace
