// quorlex-text: the editor's Extra! commands over a file or standard input, for scripts and
// pipelines. No window and no display: the logic library alone.
#include "cli/ArgumentText.h"
#include "cli/Help.h"
#include "cli/Options.h"
#include "cli/Run.h"
#include "cli/TextStreams.h"
#include "document/LineText.h"
#include "extract/UrlFetch.h"
#include "platform/Cp1254.h"
#include "platform/Error.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <new>
#include <unistd.h>

namespace {

constexpr const char* kName = "quorlex-text: ";

void Say(const std::string& text)
{
    const std::string line = kName + text + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
}

int UsageFailure(const std::string& message)
{
    Say(message);
    std::fputs(cli::kUsageLine, stderr);
    std::fputs("Try 'quorlex-text --help' for more.\n", stderr);
    return 2;
}

int Print(const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

// The first script line (from 1) that fetches a page; 0 when none does.
int FirstFetchingLine(const std::string& script)
{
    const std::string text = NormalizeLineBreaks(script);
    const LineView lines(text);
    for (int i = 0; i < lines.Count(); ++i)
        if (lines.Get(i).find("$GETURL[") != std::string_view::npos)
            return i + 1;
    return 0;
}

// Everything a command needs before the input is read, so that a wrong word or a missing
// script is reported before standard input is waited for.
cli::CommandInputs Prepare(const cli::Request& r, std::unique_ptr<QTemporaryDir>& fetchFolder)
{
    using cli::Command;
    cli::CommandInputs inputs;
    if (r.command != Command::Extract)
        for (const std::string& w : r.words)
            inputs.words.push_back(cli::ArgumentBytes(w));
    if (r.command == Command::Replace && inputs.words[0].empty())
        throw cli::UsageError("replace needs a FIND text that is not empty");
    if (r.command != Command::Extract)
        return inputs;

    inputs.script = ReadTextFile(QFile::decodeName(QByteArray::fromStdString(r.words[0]))).bytes;
    inputs.notice = [](const std::string& text) { Say("notice: " + cp1254::ToUtf8(text)); };
    const int fetching = FirstFetchingLine(inputs.script);
    if (!r.allowFetch) {
        inputs.fetch = [fetching](const std::string&, const QString&) {
            throw QuorlexError("line " + std::to_string(fetching) +
                               " of the script fetches a page ($GETURL); that needs --allow-fetch");
        };
        return inputs;
    }
    if (fetching == 0)
        return inputs;
    // The page goes to a file of this run's own, not to the editor's temp.txt.
    fetchFolder = std::make_unique<QTemporaryDir>();
    if (!fetchFolder->isValid())
        throw QuorlexError("Cannot create a temporary folder for the fetched pages. " +
                           fetchFolder->errorString().toStdString());
    inputs.fetchFile = fetchFolder->filePath(QStringLiteral("temp.txt"));
    const bool tell = ::isatty(STDERR_FILENO) == 1;
    inputs.fetch = [tell](const std::string& url, const QString& path) {
        if (tell)
            Say("fetching " + cp1254::ToUtf8(url));
        DownloadUrlToFile(url, path);
    };
    return inputs;
}

int Run(const cli::Request& request)
{
    std::unique_ptr<QTemporaryDir> fetchFolder;
    cli::CommandInputs inputs;
    try {
        inputs = Prepare(request, fetchFolder);
    } catch (const cli::UsageError& e) {
        return UsageFailure(e.what());
    }
    cli::InputText input = cli::ReadInput(request);
    std::string result = cli::RunCommand(request, inputs, std::move(input.document));
    cli::WriteOutput(request, std::move(result), input);
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    cli::Parsed parsed;
    try {
        parsed = cli::ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const cli::UsageError& e) {
        return UsageFailure(e.what());
    }
    switch (parsed.kind) {
    case cli::Parsed::Kind::Version:
        return Print("quorlex-text " QUORLEX_VERSION "\n");
    case cli::Parsed::Kind::Help:
        return Print(cli::HelpText(parsed.helpTopic));
    case cli::Parsed::Kind::Run:
        break;
    }
    try {
        return Run(parsed.request);
    } catch (const std::bad_alloc&) {
        Say("Out of memory.");
    } catch (const std::exception& e) {
        Say(ErrorBoxText(e.what()));
    }
    return 1;
}
