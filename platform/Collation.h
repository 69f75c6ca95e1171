#pragma once

#include <QCollator>
#include <QLocale>

#include <memory>
#include <string>
#include <string_view>

struct UCollator;

// The user's locale collation with case ignored, applied to the Unicode form of byte texts.
class TextCollator {
public:
    TextCollator(); // the locale of LC_ALL / LC_COLLATE / LANG
    explicit TextCollator(const QLocale& locale);

    // Negative, zero or positive.
    int Compare(std::string_view a, std::string_view b) const;
    QCollatorSortKey SortKey(std::string_view text) const;
    // Appends the bytes of the same sort key, ending in byte 0, so that comparing two such
    // keys byte by byte orders their texts as Compare does. False (nothing appended) when
    // the locale has no such keys (the C locale): use Compare or SortKey then.
    bool AppendSortKeyBytes(std::string_view text, std::string& out) const;

private:
    QCollator m_collator;
    // The same collation opened directly, for keys that can be stored side by side.
    std::shared_ptr<UCollator> m_icu;
    mutable std::u16string m_buffer;
};
