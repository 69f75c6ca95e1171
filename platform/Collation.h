#pragma once

#include <QLocale>

#include <memory>
#include <string>
#include <string_view>

struct UCollator;

// The user's locale collation with case ignored, applied to the Unicode form of byte texts.
// A locale that names no language (C, C.UTF-8, POSIX) or that the collation library does not
// know collates by the library's root order at the same strength: case is ignored everywhere.
class TextCollator {
public:
    TextCollator(); // the locale of LC_ALL / LC_COLLATE / LANG
    explicit TextCollator(const QLocale& locale);
    // A locale named as in LANG: "tr_TR.UTF-8", "de_DE@euro", "C.UTF-8", "POSIX".
    static TextCollator ForLocaleName(std::string_view name);

    // Negative, zero or positive.
    int Compare(std::string_view a, std::string_view b) const;
    // Appends the bytes of the text's sort key, ending in byte 0, so that comparing two such
    // keys byte by byte orders their texts as Compare does. False (nothing appended) when the
    // collation library fails on the text.
    bool AppendSortKeyBytes(std::string_view text, std::string& out) const;

private:
    std::shared_ptr<UCollator> m_icu;
    mutable std::u16string m_buffer;
};
