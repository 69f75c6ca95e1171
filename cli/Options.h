#pragma once

#include "commands/LineOperations.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace cli {

enum class Command { Sort, Shuffle, Trim, Upper, Lower, Join, Prefix, Suffix, WordList, Analyze, Replace, Extract };

enum class AnalyzeTable { All, General, Chars, Words };

// One run of the program, as the command line asks for it.
struct Request {
    Command command = Command::Sort;
    // The command's own words (separator, text, find and replacement, script path), as typed.
    std::vector<std::string> words;
    // Paths as the command line gives them (bytes). No input, or "-": standard input.
    std::string input;
    std::string output; // -o; empty: standard output
    bool inPlace = false;
    std::optional<bool> readUtf8;  // --encoding
    std::optional<bool> writeUtf8; // --output-encoding
    std::optional<bool> crlf;      // --crlf / --lf
    std::optional<std::uint32_t> seed;
    TrimSide side = TrimSide::Both;
    AnalyzeTable table = AnalyzeTable::All;
    bool csv = false;
    bool ignoreCase = false;
    bool wholeWord = false;
    bool regex = false;
    bool allowFetch = false;

    bool FromStandardInput() const { return input.empty() || input == "-"; }
};

// What the command line asks for.
struct Parsed {
    enum class Kind { Run, Help, Version } kind = Kind::Run;
    Request request;
    // For Help: the command whose help is asked for; empty for the program's.
    std::string helpTopic;
};

// A command line the program cannot run: exit status 2 with a short usage line.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

// The command's name, as typed.
const char* CommandName(Command command);
std::optional<Command> CommandNamed(std::string_view name);

// argv without the program's name. Throws UsageError.
Parsed ParseArguments(const std::vector<std::string>& arguments);

} // namespace cli
