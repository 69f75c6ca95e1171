#include "commands/Regex.h"

#include "commands/RegexTables.h"
#include "platform/Error.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <QCoreApplication>

#include <pcre2.h>

#include <string>

namespace {

std::string LibraryMessage(int code)
{
    PCRE2_UCHAR text[256];
    if (pcre2_get_error_message(code, text, sizeof text) < 0)
        return "error " + std::to_string(code);
    return std::string(reinterpret_cast<const char*>(text));
}

// 32 KiB is the library's default; patterns with deep nesting get up to 1 MiB before the
// search gives up with a message rather than a wrong answer.
constexpr std::size_t kJitStackStart = 32 * 1024;
constexpr std::size_t kJitStackMax = 1024 * 1024;

} // namespace

struct Regex::Impl {
    pcre2_code* code = nullptr;
    pcre2_match_data* data = nullptr;
    pcre2_match_context* context = nullptr;
    pcre2_jit_stack* stack = nullptr;
    bool namesLineBreak = false; // the pattern has a literal CR or LF in it

    ~Impl()
    {
        pcre2_jit_stack_free(stack);
        pcre2_match_context_free(context);
        pcre2_match_data_free(data);
        pcre2_code_free(code);
    }
};

Regex::Regex(std::string_view pattern, bool caseless, bool boundedStarts) : m(std::make_unique<Impl>())
{
    pcre2_compile_context* compile = pcre2_compile_context_create(nullptr);
    pcre2_set_character_tables(compile, Cp1254RegexTables());
    pcre2_set_newline(compile, PCRE2_NEWLINE_CRLF);
    // Bytes are Windows-1254, never UTF-8: a (*UTF) or (*UCP) in the pattern is refused rather
    // than misreading every Turkish letter.
    std::uint32_t options = PCRE2_MULTILINE | PCRE2_NEVER_UTF | PCRE2_NEVER_UCP;
    if (caseless)
        options |= PCRE2_CASELESS;
    if (boundedStarts)
        options |= PCRE2_USE_OFFSET_LIMIT;
    int error = 0;
    PCRE2_SIZE offset = 0;
    static const char kEmpty[] = "";
    const auto* bytes = reinterpret_cast<PCRE2_SPTR>(pattern.empty() ? kEmpty : pattern.data());
    m->code = pcre2_compile(bytes, pattern.size(), options, &error, &offset, compile);
    pcre2_compile_context_free(compile);
    if (!m->code)
        throw QuorlexError(QCoreApplication::translate("Regex", "Invalid regular expression at %1: %2")
                               .arg(QString::number(offset), QString::fromStdString(LibraryMessage(error)))
                               .toStdString());
    std::uint32_t hasCrOrLf = 0;
    pcre2_pattern_info(m->code, PCRE2_INFO_HASCRORLF, &hasCrOrLf);
    m->namesLineBreak = hasCrOrLf != 0;
    // Without machine code (a platform the compiler does not know) the interpreter runs instead.
    pcre2_jit_compile(m->code, PCRE2_JIT_COMPLETE);
    m->data = pcre2_match_data_create_from_pattern(m->code, nullptr);
    m->context = pcre2_match_context_create(nullptr);
    m->stack = pcre2_jit_stack_create(kJitStackStart, kJitStackMax, nullptr);
    if (!m->data || !m->context)
        throw std::bad_alloc();
    if (m->stack)
        pcre2_jit_stack_assign(m->context, nullptr, m->stack);
}

Regex::~Regex() = default;

const std::size_t* Regex::Search(std::string_view subject, std::size_t from, unsigned flags)
{
    return SearchStartingBy(subject, from, kUnset, flags);
}

const std::size_t* Regex::SearchStartingBy(std::string_view subject, std::size_t from, std::size_t lastStart,
                                           unsigned flags)
{
    if (from > subject.size())
        return nullptr;
    std::uint32_t options = 0;
    if (flags & kNotEmptyAtStart)
        options |= PCRE2_NOTEMPTY_ATSTART;
    if (flags & kNotEndOfLine)
        options |= PCRE2_NOTEOL;
    pcre2_set_offset_limit(m->context, lastStart == kUnset ? PCRE2_UNSET : lastStart);
    static const char kEmpty[] = "";
    const auto* bytes = reinterpret_cast<PCRE2_SPTR>(subject.empty() ? kEmpty : subject.data());
    for (;;) {
        const int rc = pcre2_match(m->code, bytes, subject.size(), from, options, m->data, m->context);
        if (rc == PCRE2_ERROR_NOMATCH)
            return nullptr;
        if (rc < 0)
            throw QuorlexError(QCoreApplication::translate("Regex", "The regular expression search stopped: %1")
                                   .arg(QString::fromStdString(LibraryMessage(rc)))
                                   .toStdString());
        const std::size_t* groups = pcre2_get_ovector_pointer(m->data);
        // A match never begins between the CR and the LF of a line break unless the pattern
        // asks for a CR or LF itself. The interpreter keeps to that; the machine code skips the
        // check where it jumps ahead to a required byte, so it is made here.
        const std::size_t start = groups[0];
        const bool insideBreak =
            start > 0 && start < subject.size() && subject[start - 1] == '\r' && subject[start] == '\n';
        if (!insideBreak || m->namesLineBreak)
            return groups;
        from = start + 1;
        options &= ~static_cast<std::uint32_t>(PCRE2_NOTEMPTY_ATSTART);
    }
}

int Regex::Groups() const
{
    std::uint32_t count = 0;
    pcre2_pattern_info(m->code, PCRE2_INFO_CAPTURECOUNT, &count);
    return static_cast<int>(count);
}

std::vector<int> Regex::GroupsNamed(std::string_view name) const
{
    std::uint32_t count = 0;
    std::uint32_t entrySize = 0;
    PCRE2_SPTR table = nullptr;
    pcre2_pattern_info(m->code, PCRE2_INFO_NAMECOUNT, &count);
    pcre2_pattern_info(m->code, PCRE2_INFO_NAMEENTRYSIZE, &entrySize);
    pcre2_pattern_info(m->code, PCRE2_INFO_NAMETABLE, &table);
    std::vector<int> groups;
    for (std::uint32_t i = 0; i < count; ++i) {
        // Each entry: the group number in two bytes, high first, then the name ending in 0.
        PCRE2_SPTR entry = table + static_cast<std::size_t>(i) * entrySize;
        if (name == reinterpret_cast<const char*>(entry + 2))
            groups.push_back((entry[0] << 8) | entry[1]);
    }
    return groups;
}
