#include "cli/Help.h"

#include <array>

namespace cli {

const char* const kUsageLine = "Usage: quorlex-text COMMAND [OPTIONS] [FILE]\n";

namespace {

struct Topic {
    std::string_view name;
    std::string_view text;
};

constexpr std::array<Topic, 12> kTopics = {{
    {"sort", "quorlex-text sort [FILE]\n"
             "Sort Lines: the lines in the order of the user's locale (LC_ALL, LC_COLLATE, LANG), case\n"
             "ignored; the sorted text loses blanks and empty lines at its two ends and ends with a line\n"
             "break.\n"},
    {"shuffle", "quorlex-text shuffle [--seed N] [FILE]\n"
                "Randomize Lines: as many random swaps of two lines as there are lines. With --seed N\n"
                "(0 to 4294967295) the same input always gives the same output.\n"},
    {"trim", "quorlex-text trim [--left | --right] [FILE]\n"
             "Trim Lines: blanks, tabs and other characters of code 32 or less removed from both ends of\n"
             "every line, or from the start (--left) or the end (--right) only.\n"},
    {"upper", "quorlex-text upper [FILE]\n"
              "Make Uppercase, All: a-z and the Turkish letters (i and dotless i become I).\n"},
    {"lower", "quorlex-text lower [FILE]\n"
              "Make Lowercase, All: A-Z and the Turkish letters (I and dotted I become i).\n"},
    {"join", "quorlex-text join SEPARATOR [FILE]\n"
             "Separate Lines: every line trimmed, all joined into one line with SEPARATOR between them.\n"},
    {"prefix", "quorlex-text prefix TEXT [FILE]\n"
               "Insert Text To Beginning Of Lines: TEXT in front of every line.\n"},
    {"suffix", "quorlex-text suffix TEXT [FILE]\n"
               "Insert Text To End Of Lines: TEXT behind every line.\n"},
    {"wordlist", "quorlex-text wordlist [FILE]\n"
                 "Generate Word List: the distinct words, A-Z folded to a-z, sorted, one a line.\n"},
    {"analyze", "quorlex-text analyze [--general | --chars | --words] [--csv] [FILE]\n"
                "The Analyze window's tables. Without options all three as aligned text; --general\n"
                "or --chars one of them; --words the word list export (Copy Word-list); --csv the\n"
                "word table as CSV (Copy All as CSV), or with --general or --chars that table.\n"},
    {"replace", "quorlex-text replace [--ignore-case] [--whole-word] [--regex] FIND REPLACEMENT [FILE]\n"
                "Replace All: every occurrence of FIND, left to right, exact and case-sensitive unless\n"
                "told otherwise. --whole-word: no letter or digit right before or after it; --regex:\n"
                "FIND is a regular expression, and $1 ... in REPLACEMENT name its groups.\n"},
    {"extract", "quorlex-text extract [--allow-fetch] SCRIPT [FILE]\n"
                "Runs the extraction script in the file SCRIPT over the input ($GETLINE[n],\n"
                "$GETPARTOFLINE1[n;start,stop] ... $GETPARTOFLINE4[...], other lines as they are).\n"
                "$GETURL[url] lines fetch a page only with --allow-fetch; without it the run stops\n"
                "with an error naming the line. Notices go to standard error.\n"},
}};

constexpr std::string_view kProgramHelp =
    "Runs the Extra! commands of the Quorlex editor over a text file or standard input, giving\n"
    "the bytes the editor's command gives.\n"
    "\n"
    "Commands:\n"
    "  sort                    Sort Lines (locale order, case ignored)\n"
    "  shuffle [--seed N]      Randomize Lines\n"
    "  trim [--left|--right]   Trim Both / Left / Right\n"
    "  upper, lower            Make Uppercase / Lowercase, Turkish letters included\n"
    "  join SEPARATOR          Separate Lines\n"
    "  prefix TEXT             Insert Text To Beginning Of Lines\n"
    "  suffix TEXT             Insert Text To End Of Lines\n"
    "  wordlist                Generate Word List\n"
    "  analyze [--general|--chars|--words] [--csv]   the Analyze window's tables\n"
    "  replace [--ignore-case] [--whole-word] [--regex] FIND REPLACEMENT   Replace All\n"
    "  extract [--allow-fetch] SCRIPT                an extraction script\n"
    "\n"
    "Options:\n"
    "  -o OUT                  write to OUT instead of standard output\n"
    "  -i                      write back into FILE (the old file stays whole if that fails)\n"
    "  --encoding E            read as E: utf-8 or windows-1254 (default: UTF-8 whose\n"
    "                          characters all fit Windows-1254 is read as UTF-8, else bytes)\n"
    "  --output-encoding E     write as E (default: as the input was read)\n"
    "  --crlf, --lf            line breaks of the output (default: CR LF when the input had\n"
    "                          any, LF otherwise)\n"
    "  --help, --version\n"
    "\n"
    "FILE absent or \"-\": standard input. A word after -- is never an option.\n"
    "Exit status: 0 done, 1 the command failed (nothing written), 2 a wrong command line.\n"
    "'quorlex-text help COMMAND' tells more of one command; see quorlex-text(1).\n";

} // namespace

std::string HelpText(std::string_view command)
{
    for (const Topic& t : kTopics)
        if (t.name == command)
            return "Usage: " + std::string(t.text);
    return std::string(kUsageLine) + std::string(kProgramHelp);
}

} // namespace cli
