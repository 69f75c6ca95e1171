#include "document/ByteDocument.h"
#include "document/DocumentLines.h"
#include "platform/Error.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <sys/mman.h>

namespace {

using Offset = ByteDocument::Offset;

std::vector<Offset> StartsOf(const std::string& text)
{
    std::vector<Offset> starts{0};
    for (std::size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] == '\r' && text[i + 1] == '\n')
            starts.push_back(static_cast<Offset>(i + 2));
    return starts;
}

std::vector<Offset> StartsOf(const ByteDocument& doc)
{
    std::vector<Offset> starts;
    for (int i = 0; i < doc.Pieces(); ++i)
        starts.push_back(doc.LineStart(i));
    return starts;
}

// The same random edits on the document and on a plain string, compared after every step; the
// undo model is the text as it was before the step (or the run of typing) that undo reverts.
TEST(ByteDocumentModel, AgreesWithAPlainStringOverRandomEdits)
{
    std::mt19937 rng(20240611);
    const auto below = [&](std::size_t n) { return n ? std::size_t(rng() % n) : 0; };
    const auto randomBytes = [&](std::size_t n) {
        static const std::string tokens[] = {"\r", "\n", "\r\n", "a", "b", "\xFD", "\r\n\r\n", "\n\r"};
        std::string s;
        while (s.size() < n)
            s += tokens[below(std::size(tokens))];
        return s;
    };

    ByteDocument doc;
    std::vector<DocumentEdit> edits;
    doc.AddListener([&](const DocumentEdit& e) { edits.push_back(e); });
    std::string model;
    std::optional<std::string> undoText;
    enum class Run { None, Typing, Erasing } run = Run::None;
    Offset runStart = 0, runEnd = 0;

    for (int step = 0; step < 30000; ++step) {
        const std::string before = model;
        const std::vector<Offset> startsBefore = StartsOf(before);
        edits.clear();
        bool raises = true;
        const std::size_t op = below(100);
        const auto size = model.size();
        if (op < 2) {
            model = randomBytes(below(3000));
            doc.Assign(std::string(model));
            undoText.reset();
            run = Run::None;
        } else if (op < 12) {
            const auto [at, len] = doc.UndoOnce();
            ASSERT_EQ(at < 0, !undoText.has_value());
            raises = undoText.has_value();
            if (undoText) {
                model = *undoText;
                undoText = before;
                ASSERT_LE(at + len, static_cast<Offset>(model.size()));
            }
            run = Run::None;
        } else if (op < 16) {
            // Lets the gap sit anywhere before the next edit.
            const Offset at = static_cast<Offset>(below(size + 1));
            ASSERT_EQ(doc.Contiguous(at, 40), std::string_view(model).substr(at, 40));
            continue;
        } else {
            // Edits cluster near the previous one so that typing runs continue.
            const Offset near = std::clamp<Offset>(runEnd + Offset(below(5)) - 2, 0, Offset(size));
            const Offset at = below(3) ? near : Offset(below(size + 1));
            const Offset len = below(3) ? 0 : Offset(below(std::min<std::size_t>(6, size - at + 1)));
            const std::string bytes = below(4) ? randomBytes(below(4)) : std::string();
            const auto undo = static_cast<ByteDocument::Undo>(below(3));
            const bool changed = doc.Replace(at, len, bytes, undo);
            model.replace(at, len, bytes);
            ASSERT_EQ(changed, model != before);
            raises = changed;
            if (changed && undo == ByteDocument::Undo::None) {
                undoText.reset();
                run = Run::None;
            } else if (changed && undo == ByteDocument::Undo::Record) {
                undoText = before;
                run = Run::None;
            } else if (changed) {
                const Offset added = Offset(bytes.size());
                if (run == Run::Typing && len == 0 && at == runEnd) {
                    runEnd += added;
                } else if (run == Run::Erasing && added == 0 && (at + len == runStart || at == runStart)) {
                    runStart = runEnd = at;
                } else {
                    undoText = before;
                    run = added ? Run::Typing : Run::Erasing;
                    runStart = at;
                    runEnd = at + added;
                }
            }
        }

        ASSERT_TRUE(doc.Equals(model)) << "step " << step;
        ASSERT_EQ(doc.Text(), model);
        ASSERT_EQ(doc.Length(), Offset(model.size()));
        const std::vector<Offset> starts = StartsOf(model);
        ASSERT_EQ(StartsOf(doc), starts) << "step " << step;
        ASSERT_EQ(doc.Count(), int(starts.size()) - (starts.back() == Offset(model.size()) ? 1 : 0));
        ASSERT_EQ(doc.CanUndo(), undoText.has_value());
        for (int k = 0; k < 4; ++k) {
            const Offset o = Offset(below(model.size() + 1));
            const int line = int(std::upper_bound(starts.begin(), starts.end(), o) - starts.begin()) - 1;
            ASSERT_EQ(doc.LineOfOffset(o), line);
        }

        // One notification per change, and enough in it to repair caches of lines.
        ASSERT_EQ(edits.size(), raises ? 1u : 0u) << "step " << step;
        if (edits.empty() || edits[0].whole)
            continue;
        const DocumentEdit& e = edits[0];
        const Offset delta = e.added - e.removed;
        ASSERT_EQ(int(startsBefore.size()) - e.linesRemoved + e.linesAdded, int(starts.size()));
        ASSERT_EQ(e.firstLine, int(std::upper_bound(startsBefore.begin(), startsBefore.end(), e.start) -
                                   startsBefore.begin()) - 1);
        for (int i = 0; i <= e.firstLine; ++i)
            ASSERT_EQ(starts[i], startsBefore[i]);
        for (std::size_t i = e.firstLine + 1 + e.linesRemoved; i < startsBefore.size(); ++i)
            ASSERT_EQ(starts[i - e.linesRemoved + e.linesAdded], startsBefore[i] + delta);
    }
}

TEST(ByteDocument, TypingAndErasingRunsUndoAsOneStepAndUndoTwiceRedoes)
{
    using U = ByteDocument::Undo;
    ByteDocument doc;
    doc.Assign("0123456789");
    for (char c : std::string("abc"))
        doc.Replace(doc.Length(), 0, std::string(1, c), U::Coalesce);
    EXPECT_EQ(doc.UndoOnce(), std::make_pair(Offset(10), Offset(0)));
    EXPECT_EQ(doc.Text(), "0123456789");
    EXPECT_EQ(doc.UndoOnce(), std::make_pair(Offset(10), Offset(3)));
    EXPECT_EQ(doc.Text(), "0123456789abc");
    // A redo is not typing: the next key starts a step of its own.
    doc.Replace(13, 0, "d", U::Coalesce);
    doc.UndoOnce();
    EXPECT_EQ(doc.Text(), "0123456789abc");

    doc.Replace(5, 1, {}, U::Coalesce); // delete
    doc.Replace(5, 1, {}, U::Coalesce); // delete
    doc.Replace(4, 1, {}, U::Coalesce); // backspace
    doc.Replace(3, 1, {}, U::Coalesce); // backspace
    EXPECT_EQ(doc.Text(), "012789abc");
    EXPECT_EQ(doc.UndoOnce(), std::make_pair(Offset(3), Offset(4)));
    EXPECT_EQ(doc.Text(), "0123456789abc");

    doc.Replace(0, 0, "x", U::Coalesce);
    doc.Replace(5, 0, "y", U::Coalesce); // elsewhere: a new step
    doc.UndoOnce();
    EXPECT_EQ(doc.Text(), "x0123456789abc");
    doc.Replace(0, 1, {}, U::None);
    EXPECT_FALSE(doc.CanUndo());
    doc.Replace(0, 0, "z", U::Record);
    doc.Assign("new");
    EXPECT_FALSE(doc.CanUndo());
}

// Typing over text, mixed with typing in, goes back as one step in either undo mode.
TEST(ByteDocument, OverwrittenRunsUndoAsOneStep)
{
    using U = ByteDocument::Undo;
    for (const bool history : {false, true}) {
        ByteDocument doc;
        doc.SetKeepHistory(history);
        doc.Assign("abcdef");
        doc.Replace(1, 1, "X", U::Overwrite);
        doc.Replace(2, 1, "Y", U::Overwrite);
        doc.Replace(3, 0, "+", U::Coalesce);
        doc.Replace(4, 1, "Z", U::Overwrite);
        EXPECT_EQ(doc.Text(), "aXY+Zef");
        doc.ApplyUndo();
        EXPECT_EQ(doc.Text(), "abcdef") << history;
        EXPECT_EQ(doc.CanUndo(), !history);
    }
}

TEST(ByteDocument, EditsWithBytesOfItsOwnAndEqualBytesChangeNothingElse)
{
    ByteDocument doc;
    int raised = 0;
    doc.AddListener([&](const DocumentEdit&) { ++raised; });
    doc.Assign("abc\r\ndef");
    doc.Replace(8, 0, doc.Contiguous(2, 4));
    EXPECT_EQ(doc.Text(), "abc\r\ndefc\r\nd");
    EXPECT_FALSE(doc.Replace(0, 3, "abc", ByteDocument::Undo::Record));
    EXPECT_FALSE(doc.Replace(99, 5, ""));
    EXPECT_EQ(raised, 2);
    doc.Clear();
    doc.Clear();
    EXPECT_EQ(raised, 3);
    EXPECT_EQ(doc.Count(), 0);
}

TEST(ByteDocument, TooBigATextIsRefusedBeforeAnythingChanges)
{
    // A readable view of more than the capacity that costs no memory: untouched zero pages.
    const std::size_t size = std::size_t(ByteDocument::kCapacity) + 1;
    void* map = mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    ASSERT_NE(map, MAP_FAILED);
    const std::string_view huge(static_cast<const char*>(map), size);
    ByteDocument doc;
    doc.Assign("abc");
    doc.Replace(3, 0, "d", ByteDocument::Undo::Record);
    int raised = 0;
    doc.AddListener([&](const DocumentEdit&) { ++raised; });
    EXPECT_THROW(doc.Replace(0, 0, huge.substr(0, size - 4)), QuorlexError);
    EXPECT_THROW(lines::SetTextRaw(doc, huge), QuorlexError);
    munmap(map, size);
    EXPECT_EQ(doc.Text(), "abcd");
    EXPECT_EQ(raised, 0);
    doc.UndoOnce();
    EXPECT_EQ(doc.Text(), "abc");
}

struct LineCase {
    const char* name;
    std::string text;
    void (*op)(ByteDocument&);
    std::string after;
    int count;
};

class LineView : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineView, EditsTheTextAsTheLineRulesSay)
{
    ByteDocument doc;
    doc.Assign(std::string(GetParam().text));
    GetParam().op(doc);
    EXPECT_EQ(doc.Text(), GetParam().after);
    EXPECT_EQ(doc.Count(), GetParam().count);
    std::vector<std::string> pieces{""};
    for (std::size_t i = 0; i < GetParam().after.size(); ++i) {
        if (GetParam().after.compare(i, 2, "\r\n") == 0) {
            pieces.emplace_back();
            ++i;
        } else {
            pieces.back() += GetParam().after[i];
        }
    }
    ASSERT_EQ(doc.Pieces(), int(pieces.size()));
    for (int i = 0; i < doc.Pieces(); ++i)
        EXPECT_EQ(lines::Get(doc, i), pieces[i]);
    EXPECT_EQ(lines::Get(doc, -1), "");
    EXPECT_EQ(lines::Get(doc, doc.Pieces()), "");
}

INSTANTIATE_TEST_SUITE_P(
    Table, LineView,
    ::testing::Values(
        LineCase{"empty", "", [](ByteDocument&) {}, "", 0}, LineCase{"one", "a", [](ByteDocument&) {}, "a", 1},
        LineCase{"final_break", "a\r\n", [](ByteDocument&) {}, "a\r\n", 1},
        LineCase{"blank_middle", "a\r\n\r\nb", [](ByteDocument&) {}, "a\r\n\r\nb", 3},
        LineCase{"lone_cr_lf", "a\rb\n\n\r", [](ByteDocument&) {}, "a\rb\n\n\r", 1},
        LineCase{"put_empty", "", [](ByteDocument& d) { lines::Put(d, 0, "x"); }, "x", 1},
        LineCase{"put_last_empty_piece", "a\r\n", [](ByteDocument& d) { lines::Put(d, 1, "x"); }, "a\r\nx", 2},
        LineCase{"put_missing", "a", [](ByteDocument& d) { lines::Put(d, 1, "x"); }, "a", 1},
        LineCase{"put_makes_break", "a\r\nb", [](ByteDocument& d) { lines::Put(d, 0, "x\r"); }, "x\r\r\nb", 2},
        LineCase{"put_joins_lone_lf", "a\r\nb\nc", [](ByteDocument& d) { lines::Put(d, 0, "\r"); }, "\r\r\nb\nc", 2},
        LineCase{"add_to_empty", "", [](ByteDocument& d) { lines::Add(d, "s"); }, "s\r\n", 1},
        LineCase{"add_after_break", "a\r\n", [](ByteDocument& d) { lines::Add(d, "s"); }, "a\r\ns\r\n", 2},
        LineCase{"add_without_break", "a", [](ByteDocument& d) { lines::Add(d, "s"); }, "a\r\ns", 2},
        LineCase{"insert_middle", "a\r\n\r\nb", [](ByteDocument& d) { lines::Insert(d, 1, "s"); },
                 "a\r\ns\r\n\r\nb", 4},
        LineCase{"insert_after_empty", "a\r\n\r\n", [](ByteDocument& d) { lines::Insert(d, 3, "s"); }, "a\r\n\r\n", 2},
        LineCase{"insert_far", "a", [](ByteDocument& d) { lines::Insert(d, 5, "s"); }, "a", 1},
        LineCase{"delete_middle", "a\r\n\r\nb", [](ByteDocument& d) { lines::Delete(d, 1); }, "a\r\nb", 2},
        LineCase{"delete_last", "a\r\n\r\nb", [](ByteDocument& d) { lines::Delete(d, 2); }, "a\r\n\r\n", 2},
        LineCase{"delete_only", "a", [](ByteDocument& d) { lines::Delete(d, 0); }, "", 0},
        LineCase{"delete_keeps_lone_bytes", "a\r\r\nb\r\n\nc", [](ByteDocument& d) { lines::Delete(d, 1); },
                 "a\r\r\n\nc", 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LineViewSetText, NormalisesAndStaysQuietForAnEqualText)
{
    ByteDocument doc;
    int raised = 0;
    doc.AddListener([&](const DocumentEdit&) { ++raised; });
    EXPECT_TRUE(lines::SetText(doc, "a\nb\rc"));
    EXPECT_EQ(doc.Text(), "a\r\nb\r\nc");
    EXPECT_FALSE(lines::SetText(doc, "a\nb\r\nc"));
    EXPECT_FALSE(lines::AdoptText(doc, "a\r\nb\rc"));
    EXPECT_EQ(raised, 1);
    EXPECT_TRUE(lines::SetTextRaw(doc, "a\nb"));
    EXPECT_EQ(doc.Count(), 1);
    EXPECT_FALSE(lines::SetTextRaw(doc, "a\nb"));
    EXPECT_TRUE(lines::AdoptText(doc, "\n\r"));
    EXPECT_EQ(doc.Text(), "\r\n\r\n");
    EXPECT_EQ(raised, 3);
}

} // namespace
