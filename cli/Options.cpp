#include "cli/Options.h"

#include <array>
#include <charconv>
#include <string_view>

namespace cli {
namespace {

struct CommandInfo {
    Command command;
    const char* name;
    int words; // the command's own words before FILE
};

constexpr std::array<CommandInfo, 12> kCommands = {{
    {Command::Sort, "sort", 0},
    {Command::Shuffle, "shuffle", 0},
    {Command::Trim, "trim", 0},
    {Command::Upper, "upper", 0},
    {Command::Lower, "lower", 0},
    {Command::Join, "join", 1},
    {Command::Prefix, "prefix", 1},
    {Command::Suffix, "suffix", 1},
    {Command::WordList, "wordlist", 0},
    {Command::Analyze, "analyze", 0},
    {Command::Replace, "replace", 2},
    {Command::Extract, "extract", 1},
}};

const CommandInfo& InfoOf(Command command)
{
    for (const CommandInfo& c : kCommands)
        if (c.command == command)
            return c;
    return kCommands[0];
}

// An option and the one command it belongs to (none: every command takes it).
struct OptionInfo {
    std::string_view name;
    bool takesValue;
    std::optional<Command> only;
};

constexpr std::array<OptionInfo, 19> kOptions = {{
    {"-o", true, std::nullopt},
    {"--output", true, std::nullopt},
    {"-i", false, std::nullopt},
    {"--in-place", false, std::nullopt},
    {"--encoding", true, std::nullopt},
    {"--output-encoding", true, std::nullopt},
    {"--crlf", false, std::nullopt},
    {"--lf", false, std::nullopt},
    {"--seed", true, Command::Shuffle},
    {"--left", false, Command::Trim},
    {"--right", false, Command::Trim},
    {"--general", false, Command::Analyze},
    {"--chars", false, Command::Analyze},
    {"--words", false, Command::Analyze},
    {"--csv", false, Command::Analyze},
    {"--ignore-case", false, Command::Replace},
    {"--whole-word", false, Command::Replace},
    {"--regex", false, Command::Replace},
    {"--allow-fetch", false, Command::Extract},
}};

const OptionInfo* OptionNamed(std::string_view name)
{
    for (const OptionInfo& o : kOptions)
        if (o.name == name)
            return &o;
    return nullptr;
}

bool EncodingIsUtf8(std::string_view option, std::string_view value)
{
    if (value == "utf-8" || value == "UTF-8" || value == "utf8")
        return true;
    if (value == "windows-1254" || value == "Windows-1254" || value == "cp1254")
        return false;
    throw UsageError(std::string(option) + " takes utf-8 or windows-1254, not '" + std::string(value) + "'");
}

std::uint32_t SeedOf(std::string_view value)
{
    std::uint32_t seed = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), seed);
    if (value.empty() || error != std::errc() || end != value.data() + value.size())
        throw UsageError("--seed takes a whole number from 0 to 4294967295, not '" + std::string(value) + "'");
    return seed;
}

struct Given {
    const OptionInfo* option;
    std::string value;
};

void Apply(Request& r, const Given& g)
{
    const std::string_view name = g.option->name;
    if (name == "-o" || name == "--output") {
        if (g.value.empty())
            throw UsageError("-o takes a file name");
        r.output = g.value;
    } else if (name == "-i" || name == "--in-place") {
        r.inPlace = true;
    } else if (name == "--encoding") {
        r.readUtf8 = EncodingIsUtf8(name, g.value);
    } else if (name == "--output-encoding") {
        r.writeUtf8 = EncodingIsUtf8(name, g.value);
    } else if (name == "--crlf" || name == "--lf") {
        if (r.crlf && *r.crlf != (name == "--crlf"))
            throw UsageError("--crlf and --lf exclude each other");
        r.crlf = name == "--crlf";
    } else if (name == "--seed") {
        r.seed = SeedOf(g.value);
    } else if (name == "--left" || name == "--right") {
        const TrimSide side = name == "--left" ? TrimSide::Left : TrimSide::Right;
        if (r.side != TrimSide::Both && r.side != side)
            throw UsageError("--left and --right exclude each other; without either both ends are trimmed");
        r.side = side;
    } else if (name == "--general" || name == "--chars" || name == "--words") {
        const AnalyzeTable table = name == "--general" ? AnalyzeTable::General
                                   : name == "--chars" ? AnalyzeTable::Chars
                                                       : AnalyzeTable::Words;
        if (r.table != AnalyzeTable::All && r.table != table)
            throw UsageError("--general, --chars and --words exclude each other");
        r.table = table;
    } else if (name == "--csv") {
        r.csv = true;
    } else if (name == "--ignore-case") {
        r.ignoreCase = true;
    } else if (name == "--whole-word") {
        r.wholeWord = true;
    } else if (name == "--regex") {
        r.regex = true;
    } else if (name == "--allow-fetch") {
        r.allowFetch = true;
    }
}

} // namespace

const char* CommandName(Command command) { return InfoOf(command).name; }

std::optional<Command> CommandNamed(std::string_view name)
{
    for (const CommandInfo& c : kCommands)
        if (name == c.name)
            return c.command;
    return std::nullopt;
}

Parsed ParseArguments(const std::vector<std::string>& arguments)
{
    Parsed parsed;
    std::vector<std::string> plain;
    std::vector<Given> given;
    bool help = false;
    bool version = false;
    bool optionsEnd = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (optionsEnd || a.size() < 2 || a[0] != '-') {
            plain.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnd = true;
            continue;
        }
        if (a == "--help" || a == "-h") {
            help = true;
            continue;
        }
        if (a == "--version") {
            version = true;
            continue;
        }
        std::string name = a;
        std::optional<std::string> value;
        if (const std::size_t eq = a.find('='); a.starts_with("--") && eq != std::string::npos) {
            name = a.substr(0, eq);
            value = a.substr(eq + 1);
        } else if (a.size() > 2 && a[1] == 'o') {
            name = "-o";
            value = a.substr(2);
        }
        const OptionInfo* option = OptionNamed(name);
        if (!option)
            throw UsageError("unknown option '" + a + "' (after --, a word that starts with - is a text)");
        if (option->takesValue && !value) {
            if (i + 1 >= arguments.size())
                throw UsageError(name + " needs a value");
            value = arguments[++i];
        } else if (!option->takesValue && value) {
            throw UsageError(name + " takes no value");
        }
        given.push_back({option, value.value_or(std::string())});
    }

    if (version && !help && plain.empty() && given.empty()) {
        parsed.kind = Parsed::Kind::Version;
        return parsed;
    }
    if (!plain.empty() && plain[0] == "help") {
        if (plain.size() > 2)
            throw UsageError("help takes one command");
        if (plain.size() == 2 && !CommandNamed(plain[1]))
            throw UsageError("unknown command '" + plain[1] + "'");
        parsed.kind = Parsed::Kind::Help;
        parsed.helpTopic = plain.size() == 2 ? plain[1] : std::string();
        return parsed;
    }
    if (help) {
        parsed.kind = Parsed::Kind::Help;
        if (!plain.empty() && CommandNamed(plain[0]))
            parsed.helpTopic = plain[0];
        return parsed;
    }
    if (version)
        throw UsageError("--version stands alone");
    if (plain.empty())
        throw UsageError("no command given");

    const auto command = CommandNamed(plain[0]);
    if (!command)
        throw UsageError("unknown command '" + plain[0] + "'");
    Request& r = parsed.request;
    r.command = *command;
    const CommandInfo& info = InfoOf(*command);
    for (const Given& g : given) {
        if (g.option->only && *g.option->only != *command)
            throw UsageError(std::string(g.option->name) + " does not apply to " + info.name);
        Apply(r, g);
    }
    const std::size_t words = static_cast<std::size_t>(info.words);
    if (plain.size() < 1 + words)
        throw UsageError(std::string(info.name) + " needs " +
                         (*command == Command::Replace ? "FIND and REPLACEMENT"
                          : *command == Command::Join  ? "a SEPARATOR"
                          : *command == Command::Extract ? "a SCRIPT file"
                                                         : "a TEXT"));
    if (plain.size() > 2 + words)
        throw UsageError("too many arguments: one FILE at most");
    r.words.assign(plain.begin() + 1, plain.begin() + 1 + static_cast<std::ptrdiff_t>(words));
    if (plain.size() == 2 + words)
        r.input = plain.back();
    if (r.inPlace && r.FromStandardInput())
        throw UsageError("-i needs a FILE to write back to");
    if (r.inPlace && !r.output.empty())
        throw UsageError("-i and -o exclude each other");
    if (*command == Command::Analyze && r.csv && r.table == AnalyzeTable::All)
        r.table = AnalyzeTable::Words;
    return parsed;
}

} // namespace cli
