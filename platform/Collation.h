#pragma once

#include <QCollator>
#include <QLocale>

#include <string_view>

// The user's locale collation with case ignored, applied to the Unicode form of byte texts.
class TextCollator {
public:
    TextCollator(); // the locale of LC_ALL / LC_COLLATE / LANG
    explicit TextCollator(const QLocale& locale);

    // Negative, zero or positive.
    int Compare(std::string_view a, std::string_view b) const;
    QCollatorSortKey SortKey(std::string_view text) const;

private:
    QCollator m_collator;
};
