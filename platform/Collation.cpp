#include "platform/Collation.h"

#include "platform/Cp1254.h"
#include "platform/Error.h"

#include <QCoreApplication>

#include <unicode/ucol.h>

#include <cstdlib>

namespace {

QLocale LocaleNamed(std::string_view value)
{
    QString locale = QString::fromLatin1(value.data(), static_cast<qsizetype>(value.size()));
    locale = locale.section(u'.', 0, 0).section(u'@', 0, 0);
    if (locale.isEmpty() || locale == u"C" || locale == u"POSIX")
        return QLocale::c();
    return QLocale(locale);
}

QLocale CollationLocale()
{
    for (const char* name : {"LC_ALL", "LC_COLLATE", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return LocaleNamed(value);
    }
    return QLocale::system();
}

// Case-insensitive (secondary strength), blanks and punctuation significant. Normalisation
// is off: text decoded from the code page holds no combining mark, and the check costs a
// fifth of the key's time.
bool Configure(UCollator* collator)
{
    UErrorCode status = U_ZERO_ERROR;
    ucol_setAttribute(collator, UCOL_NORMALIZATION_MODE, UCOL_OFF, &status);
    ucol_setAttribute(collator, UCOL_STRENGTH, UCOL_SECONDARY, &status);
    ucol_setAttribute(collator, UCOL_NUMERIC_COLLATION, UCOL_OFF, &status);
    ucol_setAttribute(collator, UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
    return U_SUCCESS(status);
}

// A locale the library has no rules for gets its root rules ("" names them directly).
std::shared_ptr<UCollator> Open(const char* name)
{
    UErrorCode status = U_ZERO_ERROR;
    UCollator* collator = ucol_open(name, &status);
    if (U_FAILURE(status) || !collator)
        return {};
    std::shared_ptr<UCollator> owned(collator, ucol_close);
    return Configure(collator) ? owned : nullptr;
}

std::shared_ptr<UCollator> OpenIcu(const QLocale& locale)
{
    std::shared_ptr<UCollator> collator;
    if (locale.language() != QLocale::C && locale.language() != QLocale::AnyLanguage)
        collator = Open(locale.bcp47Name().replace(u'-', u'_').toLatin1().constData());
    if (!collator)
        collator = Open("");
    if (!collator)
        throw QuorlexError(Translated("Collation", QT_TRANSLATE_NOOP("Collation", "The sort order cannot be loaded")));
    return collator;
}

void Decode(std::string_view text, std::u16string& out)
{
    out.resize(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        out[i] = cp1254::ToUnicode(static_cast<unsigned char>(text[i]));
}

} // namespace

TextCollator::TextCollator() : TextCollator(CollationLocale()) {}

TextCollator::TextCollator(const QLocale& locale) : m_icu(OpenIcu(locale)) {}

TextCollator TextCollator::ForLocaleName(std::string_view name) { return TextCollator(LocaleNamed(name)); }

int TextCollator::Compare(std::string_view a, std::string_view b) const
{
    std::u16string x;
    std::u16string y;
    Decode(a, x);
    Decode(b, y);
    return ucol_strcoll(m_icu.get(), x.data(), static_cast<int32_t>(x.size()), y.data(), static_cast<int32_t>(y.size()));
}

bool TextCollator::AppendSortKeyBytes(std::string_view text, std::string& out) const
{
    Decode(text, m_buffer);
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
