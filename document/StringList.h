#pragma once

#include <QString>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TextCollator;

// An ordered list of byte strings.
class StringList {
public:
    void Add(std::string s) { m_items.push_back(std::move(s)); }
    void Clear() { m_items.clear(); }
    int Count() const { return static_cast<int>(m_items.size()); }
    const std::string& operator[](int i) const { return m_items[static_cast<std::size_t>(i)]; }
    std::string& operator[](int i) { return m_items[static_cast<std::size_t>(i)]; }
    std::vector<std::string>& Items() { return m_items; }
    const std::vector<std::string>& Items() const { return m_items; }

    // Every item followed by CR LF, the last one included.
    std::string Text() const;
    // Split at CR LF, lone CR and lone LF, stopping at the first byte 0; a final line break
    // gives no extra empty item.
    void SetText(std::string_view text);
    // Reads the file as SetText; throws QuorlexError when it cannot be read.
    void LoadFromFile(const QString& path);

    // Ascending by the collation, case ignored; items that compare equal end in the order
    // the list's quicksort leaves them. That procedure is quadratic on some orders: where it
    // would need more than `comparisons` comparisons, equal items keep their order in the
    // list instead.
    void Sort(const TextCollator& collator, std::int64_t comparisons);
    void Sort(const TextCollator& collator); // within SortBudget
    void Sort();                             // the user's locale
    // 40 n log2 n: a random order needs less than a twentieth of it.
    static std::int64_t SortBudget(std::size_t count);

private:
    std::vector<std::string> m_items;
};

// StringList's sort over texts that live elsewhere: the same order, equal items included,
// without a copy of each.
void SortTexts(std::vector<std::string_view>& texts, const TextCollator& collator);

// StringList's sort over texts that live elsewhere: the same order, equal items included,
// without a copy of each.
void SortTexts(std::vector<std::string_view>& texts, const TextCollator& collator);
