#include "platform/Collation.h"

#include "platform/Cp1254.h"

#include <unicode/ucol.h>

#include <cstdlib>

namespace {

QLocale CollationLocale()
{
    for (const char* name : {"LC_ALL", "LC_COLLATE", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) {
            QString locale = QString::fromLatin1(value);
            locale = locale.section(u'.', 0, 0).section(u'@', 0, 0);
            if (locale == u"C" || locale == u"POSIX")
                return QLocale::c();
            return QLocale(locale);
        }
    }
    return QLocale::system();
}

// Opened with the attributes QCollator gives a case-insensitive collator, so both produce
// the same order; but without its normalisation check, which every text decoded from the
// code page passes (it holds no combining mark), and which costs a fifth of the key's time.
std::shared_ptr<UCollator> OpenIcu(const QLocale& locale)
{
    if (locale.language() == QLocale::C)
        return {};
    UErrorCode status = U_ZERO_ERROR;
    const QByteArray name = locale.bcp47Name().replace(u'-', u'_').toLatin1();
    UCollator* collator = ucol_open(name.constData(), &status);
    if (U_FAILURE(status) || !collator)
        return {};
    ucol_setAttribute(collator, UCOL_NORMALIZATION_MODE, UCOL_OFF, &status);
    ucol_setAttribute(collator, UCOL_STRENGTH, UCOL_SECONDARY, &status);
    ucol_setAttribute(collator, UCOL_NUMERIC_COLLATION, UCOL_OFF, &status);
    ucol_setAttribute(collator, UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
    if (U_FAILURE(status)) {
        ucol_close(collator);
        return {};
    }
    return std::shared_ptr<UCollator>(collator, ucol_close);
}

} // namespace

TextCollator::TextCollator() : TextCollator(CollationLocale()) {}

TextCollator::TextCollator(const QLocale& locale) : m_collator(locale), m_icu(OpenIcu(locale))
{
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
}

int TextCollator::Compare(std::string_view a, std::string_view b) const
{
    return m_collator.compare(cp1254::Decode(a), cp1254::Decode(b));
}

QCollatorSortKey TextCollator::SortKey(std::string_view text) const
{
    return m_collator.sortKey(cp1254::Decode(text));
}

bool TextCollator::AppendSortKeyBytes(std::string_view text, std::string& out) const
{
    if (!m_icu)
        return false;
    m_buffer.resize(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        m_buffer[i] = cp1254::ToUnicode(static_cast<unsigned char>(text[i]));
    const std::size_t at = out.size();
    const auto length = static_cast<int32_t>(m_buffer.size());
    // A secondary-strength key rarely needs more than three bytes a character.
    std::size_t room = text.size() * 3 + 16;
    for (;;) {
        out.resize(at + room);
        const int32_t needed = ucol_getSortKey(m_icu.get(), m_buffer.data(), length,
                                               reinterpret_cast<uint8_t*>(out.data() + at), static_cast<int32_t>(room));
        if (needed <= 0) {
            out.resize(at);
            return false;
        }
        if (static_cast<std::size_t>(needed) <= room) {
            out.resize(at + static_cast<std::size_t>(needed));
            return true;
        }
        room = static_cast<std::size_t>(needed);
    }
}
