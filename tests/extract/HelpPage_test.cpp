// The help page's examples are run as the page states them: an element of class "script"
// starts an example, "result" is what it gives, "notice" a message it shows (in order);
// "input" sets the editor's text and "page" the fetched page for the examples after it.
#include "document/TextFile.h"
#include "extract/ExtractionScript.h"
#include "platform/Error.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
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

TEST(HelpPage, EveryExampleGivesWhatThePageSays)
{
    const std::string html = ReadFileBytes(QStringLiteral(QUORLEX_SOURCE_DIR "/resources/extract_help.htm"));
    const std::vector<Example> examples = ExamplesOf(html);
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
        EXPECT_EQ(notices, e.notices);
    }
}

} // namespace
