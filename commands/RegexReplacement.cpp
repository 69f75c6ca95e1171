#include "commands/RegexReplacement.h"

#include "commands/Regex.h"
#include "platform/Cp1254.h"
#include "platform/Error.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

RegexReplacement::RegexReplacement(std::string_view text, const Regex& regex)
{
    const int groups = regex.Groups();
    std::string literal;
    auto flush = [&] {
        if (!literal.empty())
            m_parts.push_back({std::move(literal), {}});
        literal.clear();
    };
    auto group = [&](std::vector<int> numbers) {
        flush();
        m_parts.push_back({{}, std::move(numbers)});
    };
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (c != '$' || i + 1 == text.size()) {
            literal += c;
            ++i;
        } else if (next == '$') {
            literal += '$';
            i += 2;
        } else if (IsDigit(next)) {
            const int n = next - '0';
            if (n > groups)
                throw QuorlexError(QCoreApplication::translate("Regex", "The replacement names group %1, which the "
                                                                   "regular expression does not have")
                                       .arg(n)
                                       .toStdString());
            group({n});
            i += 2;
        } else if (next == '{') {
            const std::size_t close = text.find('}', i + 2);
            if (close == std::string_view::npos)
                throw QuorlexError(Translated("Regex", QT_TRANSLATE_NOOP("Regex", "The replacement has a ${ without its }")));
            const std::string_view name = text.substr(i + 2, close - i - 2);
            std::vector<int> numbers;
            if (!name.empty() && name.size() <= 5 && std::all_of(name.begin(), name.end(), IsDigit)) {
                const int n = std::stoi(std::string(name));
                if (n <= groups)
                    numbers.push_back(n);
            } else {
                numbers = regex.GroupsNamed(name);
            }
            if (numbers.empty())
                throw QuorlexError(QCoreApplication::translate("Regex", "The replacement names group %1, which the "
                                                                   "regular expression does not have")
                                       .arg(QString::fromStdString(cp1254::ToUtf8(name)))
                                       .toStdString());
            group(std::move(numbers));
            i = close + 1;
        } else {
            literal += '$';
            ++i;
        }
    }
    flush();
}

void RegexReplacement::AppendTo(std::string& out, std::string_view subject, const std::size_t* groups) const
{
    for (const Part& part : m_parts) {
        if (part.groups.empty()) {
            out += part.literal;
            continue;
        }
        for (const int n : part.groups) {
            const std::size_t start = groups[2 * n];
            if (start == Regex::kUnset)
                continue;
            out.append(subject.substr(start, groups[2 * n + 1] - start));
            break;
        }
    }
}

std::string RegexReplacement::Expand(std::string_view subject, const std::size_t* groups) const
{
    std::string out;
    AppendTo(out, subject, groups);
    return out;
}
