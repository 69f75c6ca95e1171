#include "platform/Collation.h"

#include "platform/Cp1254.h"

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

} // namespace

TextCollator::TextCollator() : TextCollator(CollationLocale()) {}

TextCollator::TextCollator(const QLocale& locale) : m_collator(locale)
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
