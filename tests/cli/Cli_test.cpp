// The command-line program against the editor's pure operations: the same bytes for every
// command, and its exit status and messages when something fails.
#include "analysis/WordList.h"
#include "cli/AnalysisText.h"
#include "commands/CaseConversion.h"
#include "commands/FindReplace.h"
#include "commands/LineParameters.h"
#include "commands/RandomGenerator.h"
#include "document/LineText.h"
#include "document/TextFile.h"
#include "extract/ExtractionScript.h"
#include "platform/Collation.h"
#include "platform/Utf8Text.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the program with `input` on its standard input; `inChild` runs in the child before
// the program starts (limits, another user).
Outcome RunCli(const std::vector<std::string>& args, const std::string& input, const TempHome& home,
               const std::function<void()>& inChild = {})
{
    const std::string in = home.File(QStringLiteral("stdin")).toStdString();
    const std::string out = home.File(QStringLiteral("stdout")).toStdString();
    const std::string err = home.File(QStringLiteral("stderr")).toStdString();
    WriteFileBytes(QString::fromStdString(in), input);
    const pid_t child = ::fork();
    if (child == 0) {
        const int fdIn = ::open(in.c_str(), O_RDONLY);
        const int fdOut = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        const int fdErr = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        ::dup2(fdIn, 0);
        ::dup2(fdOut, 1);
        ::dup2(fdErr, 2);
        if (inChild)
            inChild();
        std::vector<char*> argv{const_cast<char*>(QUORLEX_CLI)};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(QUORLEX_CLI, argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status),
            ReadFileBytes(QString::fromStdString(out)), ReadFileBytes(QString::fromStdString(err))};
}

// Windows-1254: Ç ş İ ı ğ, a tab, blanks at both ends, an empty line, words differing in
// case only (the sort's order of equal lines shows), no final line break.
const std::string kText = "  \xC7" "al\xFD\xFE\tAnkara  \r\n"
                          "\xFD" "l\xFD" "k i\xF0ne, Apple\r\n"
                          "\r\n"
                          "apple APPLE \xFD\xFE\xFDk\r\n"
                          "b;3.14 don't\r\n"
                          "\xDDSTANBUL I\xD0" "DIR  \r\n"
                          "  \r\n"
                          "Zeytin x<b>y</b>z";

const std::string kScript = "Head line\r\n"
                            "$GETLINE[1]\r\n"
                            "$GETPARTOFLINE1[7;<b>,</b>]\r\n"
                            "$GETPARTOFLINE2[0;3,8]\r\n"
                            "$GETPARTOFLINE3[4;3,don]\r\n"
                            "$GETPARTOFLINE4[1;i,30]\r\n"
                            "$GETLINE[99]\r\n"
                            "\r\n";

// The window's Replace pressed until nothing is found, the caret behind each replacement.
std::string PressReplaceUntilDone(std::string text, std::string_view find, std::string_view replacement)
{
    std::int64_t caret = 0;
    while (auto r = ReplaceAfterSelection(text, caret, 0, find, replacement)) {
        text = std::move(r->text);
        caret = r->caret;
    }
    return text;
}

// Replace All with the dialog's options.
std::string ReplaceAllWith(const std::string& text, std::string_view find, std::string_view replacement,
                           const FindOptions& options)
{
    auto r = ReplaceAll(TextPieces{text, {}}, find, replacement, options);
    return r ? r->text : text;
}

// Extract Text's OK: the result goes through temp001.txt into the document.
std::string ExtractAsTheWindowDoes(const LineView& lines, const TempHome& home)
{
    const std::string script = NormalizeLineBreaks(kScript);
    std::string result = RunExtractionScript(LineView(script), lines, home.File(QStringLiteral("temp.txt")), {},
                                             [](const std::string&) {});
    std::string document;
    LoadExtractionResult(std::move(result), home.File(QStringLiteral("temp001.txt")),
                         [&](const QString& path) { document = NormalizeLineBreaks(ReadFileBytes(path)); });
    return document;
}

struct Case {
    const char* name;
    std::vector<std::string> args; // the script's path is appended for extract
    std::function<std::string(const LineView& lines, const TempHome& home)> editor;
};

std::vector<Case> Cases()
{
    const auto text = [](const LineView& l) { return std::string(l.Text()); };
    return {
        {"sort", {"sort"}, [](auto& l, auto&) { return SortLineList(l, TextCollator()).text; }},
        {"shuffle_seeded", {"shuffle", "--seed", "4711"},
         [](auto& l, auto&) {
             RandomGenerator random(4711);
             return ShuffleLineList(l, random).text;
         }},
        {"trim", {"trim"}, [](auto& l, auto&) { return TrimEachLine(l, TrimSide::Both).text; }},
        {"trim_left", {"trim", "--left"}, [](auto& l, auto&) { return TrimEachLine(l, TrimSide::Left).text; }},
        {"trim_right", {"trim", "--right"}, [](auto& l, auto&) { return TrimEachLine(l, TrimSide::Right).text; }},
        {"upper", {"upper"}, [=](auto& l, auto&) { return ToUpperTurkish(text(l)); }},
        {"lower", {"lower"}, [=](auto& l, auto&) { return ToLowerTurkish(text(l)); }},
        {"join", {"join", ", "}, [](auto& l, auto&) { return JoinLinesWithSeparator(l, ", ").text; }},
        {"prefix", {"prefix", "> "}, [](auto& l, auto&) { return PrefixEachLine(l, "> ").text; }},
        {"suffix_turkish_text", {"suffix", ";\xC5\x9F"},
         [](auto& l, auto&) { return SuffixEachLine(l, ";\xFE").text; }},
        {"wordlist", {"wordlist"}, [](auto& l, auto&) { return GenerateWordList(l); }},
        {"analyze_all", {"analyze"}, [](auto& l, auto&) { return cli::AllTablesText(AnalyzeText(l)); }},
        {"analyze_csv", {"analyze", "--csv"}, [](auto& l, auto&) { return WordCsvText(AnalyzeText(l).WordRows); }},
        {"analyze_words", {"analyze", "--words"},
         [](auto& l, auto&) { return WordListText(AnalyzeText(l).WordRows); }},
        {"analyze_chars_csv", {"analyze", "--chars", "--csv"},
         [](auto& l, auto&) { return WordCsvText(AnalyzeText(l).CharRows); }},
        {"replace", {"replace", "pp", "PPp"},
         [=](auto& l, auto&) { return PressReplaceUntilDone(text(l), "pp", "PPp"); }},
        {"replace_turkish", {"replace", "\xC4\xB1", "i"},
         [=](auto& l, auto&) { return PressReplaceUntilDone(text(l), "\xFD", "i"); }},
        {"replace_caseless_whole_words", {"replace", "--ignore-case", "--whole-word", "apple", "pear"},
         [=](auto& l, auto&) { return ReplaceAllWith(text(l), "apple", "pear", {false, true, false, false, false}); }},
        {"replace_regex_groups", {"replace", "--regex", "(\\w+) (\\w+)", "$2 $1"},
         [=](auto& l, auto&) {
             return ReplaceAllWith(text(l), "(\\w+) (\\w+)", "$2 $1", {true, false, false, false, true});
         }},
        {"extract", {"extract"}, [](auto& l, auto& home) { return ExtractAsTheWindowDoes(l, home); }},
    };
}

// The input in three forms: the editor's own CR LF bytes; LF breaks, which come back as LF;
// UTF-8, which comes back as UTF-8.
enum class Form { CrLf, Lf, Utf8 };

class CommandGivesTheEditorsBytes : public testing::TestWithParam<std::tuple<Case, Form>> {};

TEST_P(CommandGivesTheEditorsBytes, Matches)
{
    const auto& [c, form] = GetParam();
    TempHome home;
    std::string input = kText;
    if (form != Form::CrLf) {
        input = NormalizeLineBreaks(kText);
        for (std::size_t at; (at = input.find("\r\n")) != std::string::npos;)
            input.replace(at, 2, "\n");
    }
    if (form == Form::Utf8)
        input = utf8text::Encode(input);
    std::vector<std::string> args = c.args;
    if (args[0] == "extract") {
        const std::string script = home.File(QStringLiteral("script.txt")).toStdString();
        WriteFileBytes(QString::fromStdString(script), kScript);
        args.push_back(script);
    }
    const Outcome got = RunCli(args, input, home);

    const std::string document = NormalizeLineBreaks(kText);
    std::string expected = c.editor(LineView(document), home);
    if (form != Form::CrLf)
        for (std::size_t at = 0; (at = expected.find("\r\n", at)) != std::string::npos;)
            expected.replace(at, 2, "\n");
    if (form == Form::Utf8)
        expected = utf8text::Encode(expected);
    EXPECT_EQ(got.status, 0) << got.err;
    EXPECT_EQ(got.out, expected);
}

std::string CaseName(const testing::TestParamInfo<std::tuple<Case, Form>>& info)
{
    static const char* const forms[] = {"crlf", "lf", "utf8"};
    return std::string(std::get<0>(info.param).name) + "_" + forms[static_cast<int>(std::get<1>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(Table, CommandGivesTheEditorsBytes,
                         testing::Combine(testing::ValuesIn(Cases()),
                                          testing::Values(Form::CrLf, Form::Lf, Form::Utf8)),
                         CaseName);

// The notices of a script go to standard error; the run goes on.
TEST(Cli, ScriptNoticesGoToStandardErrorAndTheRunGoesOn)
{
    TempHome home;
    const QString script = home.File(QStringLiteral("s.txt"));
    WriteFileBytes(script, "$GETPARTOFLINE1[0;<i>,</b>]\n");
    const Outcome got = RunCli({"extract", script.toStdString()}, "ab</b>\n", home);
    EXPECT_EQ(got.status, 0);
    EXPECT_EQ(got.out, "ab<\n");
    EXPECT_EQ(got.err, "quorlex-text: notice: <i> does not exist.\n");
}

// With --allow-fetch a page enters the output where its line stands, without touching the
// editor's temp.txt.
TEST(Cli, AllowedFetchPutsThePageInTheOutput)
{
    TempHome home;
    LoopbackServer server({{"/page", LoopbackServer::Response("200 OK", "P1\nP2")}});
    const QString script = home.File(QStringLiteral("s.txt"));
    WriteFileBytes(script, "$GETURL[" + server.Url("/page") + "]\r\nend\r\n");
    const Outcome got = RunCli({"extract", "--allow-fetch", script.toStdString()}, "x\r\n", home);
    EXPECT_EQ(got.status, 0) << got.err;
    EXPECT_EQ(got.out, "P1\r\nP2\r\n\r\nend\r\n");
    EXPECT_FALSE(QFile::exists(home.File(QStringLiteral("temp.txt"))));
}

struct Failure {
    const char* name;
    std::vector<std::string> args;
    int status;
    std::string err; // the start of standard error
};

TEST(Cli, FailuresExitWithTheirStatusAndMessage)
{
    TempHome home;
    const std::string missing = home.File(QStringLiteral("missing.txt")).toStdString();
    const std::string fetching = home.File(QStringLiteral("fetch.txt")).toStdString();
    WriteFileBytes(QString::fromStdString(fetching), "plain\r\n$GETLINE[0]\r\n$GETURL[http://127.0.0.1:9/]\r\n");
    const std::string bad = home.File(QStringLiteral("bad.txt")).toStdString();
    WriteFileBytes(QString::fromStdString(bad), "$GETLINE[x]\r\n");
    const std::string usage = "\nUsage: quorlex-text COMMAND [OPTIONS] [FILE]\n";
    const Failure failures[] = {
        {"missing file", {"sort", missing}, 1,
         "quorlex-text: Cannot open file \"" + missing + "\". No such file or directory.\n"},
        {"unknown command", {"frobnicate"}, 2, "quorlex-text: unknown command 'frobnicate'" + usage},
        {"unknown option", {"sort", "--reverse"}, 2, "quorlex-text: unknown option '--reverse'"},
        {"option of another command", {"sort", "--seed", "1"}, 2,
         "quorlex-text: --seed does not apply to sort" + usage},
        {"missing word", {"join"}, 2, "quorlex-text: join needs a SEPARATOR" + usage},
        {"in place without a file", {"upper", "-i"}, 2, "quorlex-text: -i needs a FILE to write back to" + usage},
        {"fetch not allowed", {"extract", fetching}, 1,
         "quorlex-text: line 3 of the script fetches a page ($GETURL); that needs --allow-fetch.\n"},
        {"script number", {"extract", bad}, 1, "quorlex-text: 'x' is not a valid integer value.\n"},
        {"forced UTF-8", {"upper", "--encoding", "utf-8"}, 1, "quorlex-text: Cannot open \"standard input\" as UTF-8."},
        {"broken regular expression", {"replace", "--regex", "(a", "b"}, 1, "quorlex-text: "},
    };
    for (const Failure& f : failures) {
        const Outcome got = RunCli(f.args, "\xFD\r\n", home);
        EXPECT_EQ(got.status, f.status) << f.name;
        EXPECT_EQ(got.err.substr(0, f.err.size()), f.err) << f.name;
        EXPECT_EQ(got.out, "") << f.name;
    }
}

TEST(Cli, UnreadableFileIsReported)
{
    TempHome home;
    const QString path = home.File(QStringLiteral("secret.txt"));
    WriteFileBytes(path, "a\r\n");
    ::chmod(path.toLocal8Bit().constData(), 0);
    // Root reads any file: the program then runs as nobody, who may read the folder only.
    const bool root = ::geteuid() == 0;
    if (root)
        ::chmod(home.Path().toLocal8Bit().constData(), 0755);
    const Outcome got = RunCli({"sort", path.toStdString()}, "", home, [root] {
        if (root && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(126);
    });
    ASSERT_NE(got.status, 126) << "cannot become nobody";
    EXPECT_EQ(got.status, 1);
    EXPECT_EQ(got.err, "quorlex-text: Cannot open file \"" + path.toStdString() + "\". Permission denied.\n");
    EXPECT_EQ(got.out, "");
}

TEST(Cli, InPlaceKeepsTheModeAndAFailedWriteKeepsTheOldFile)
{
    TempHome home;
    const QString path = home.File(QStringLiteral("doc.txt"));
    const QByteArray native = path.toLocal8Bit();
    const std::string old(100 * 1024, 'a');
    WriteFileBytes(path, old);
    ::chmod(native.constData(), 0640);

    // Files of the child may not grow past 64 KB: the write fails as on a full disk.
    const Outcome failed = RunCli({"upper", "-i", path.toStdString()}, "", home, [] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{64 * 1024, 64 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    });
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.err.substr(0, 33), "quorlex-text: Cannot create file ") << failed.err;
    EXPECT_EQ(ReadFileBytes(path), old);
    EXPECT_EQ(QDir(home.Path()).entryList(QDir::Files | QDir::Hidden).size(), 4) << "a temporary file was left";

    const Outcome done = RunCli({"upper", "-i", path.toStdString()}, "", home);
    EXPECT_EQ(done.status, 0) << done.err;
    EXPECT_EQ(ReadFileBytes(path), std::string(old.size(), 'A'));
    struct stat st {};
    ::stat(native.constData(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

} // namespace
