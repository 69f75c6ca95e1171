#include "document/ByteDocument.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

using Offset = ByteDocument::Offset;
using U = ByteDocument::Undo;

constexpr std::size_t kBound = 300;

// Where Undo can go from here and where Redo then leads, walked on a copy so that the walk
// itself (which may trim the copy's history) leaves the document alone.
struct Reach {
    std::vector<std::string> back;    // newest first
    std::vector<std::string> forward; // after going all the way back
};

Reach Walk(const ByteDocument& doc)
{
    ByteDocument copy = doc;
    Reach reach;
    while (copy.CanUndo() && reach.back.size() < 10000) {
        EXPECT_GE(copy.ApplyUndo().start, 0);
        reach.back.push_back(copy.Text());
    }
    while (copy.CanRedo() && reach.forward.size() < 10000) {
        EXPECT_GE(copy.ApplyRedo().start, 0);
        reach.forward.push_back(copy.Text());
    }
    return reach;
}

// The history against the list of texts it went through. The bound lets the oldest steps go,
// so Undo reaches back over the newest part of the list only; Redo must always get back to the
// newest text.
void RunHistoryModel(unsigned seed)
{
    SCOPED_TRACE(seed);
    std::mt19937 rng(seed);
    const auto below = [&](std::size_t n) { return n ? std::size_t(rng() % n) : 0; };
    const auto randomBytes = [&](std::size_t n) {
        static const std::string tokens[] = {"a", "b", "\r\n", "\xFD", "\r", "\n"};
        std::string s;
        while (s.size() < n)
            s += tokens[below(std::size(tokens))];
        return s;
    };

    ByteDocument doc;
    doc.SetKeepHistory(true);
    doc.SetHistoryMinimumBound(kBound);
    std::vector<std::string> states{""};
    std::size_t at = 0;
    // A change made here: the texts Redo could have reached are gone; typing that joins the
    // step before it moves that step's text on instead of adding one.
    const auto changed = [&](bool joins) {
        states.resize(at + 1);
        if (!joins) {
            states.emplace_back();
            ++at;
        }
        states.back() = doc.Text();
    };
    // Two runs of one kind in a row could join each other; the model keeps them apart.
    enum class Run { None, Typing, Erasing } last = Run::None;
    int dropped = 0;

    for (int step = 0; step < 1500; ++step) {
        const std::size_t len = static_cast<std::size_t>(doc.Length());
        const bool shrink = len > 150;
        const std::size_t op = below(100);
        Run run = Run::None;
        if (op < 25) {
            const Offset start = Offset(below(len + 1));
            const Offset length = Offset(below(std::min<std::size_t>(len - start, 20) + 1));
            if (doc.Replace(start, length, randomBytes(below(shrink ? 3 : 12)), below(2) ? U::Record : U::History))
                changed(false);
            else
                run = last;
        } else if (op < 50 && last != Run::Typing) {
            run = Run::Typing;
            Offset pos = Offset(below(len + 1));
            const Offset over = Offset(below(std::min<std::size_t>(len - pos, 3) + 1));
            const std::size_t keys = 1 + below(6);
            for (std::size_t k = 0; k < keys; ++k) {
                const std::string key = randomBytes(1);
                if (!doc.Replace(pos, k == 0 ? over : 0, key, U::Coalesce)) { // typed over the same bytes
                    run = last;
                    break;
                }
                pos += Offset(key.size());
                changed(k > 0);
            }
        } else if (op < 60 && last != Run::Erasing && len > 0) {
            run = Run::Erasing;
            const bool backspace = below(2);
            Offset pos = Offset(1 + below(len));
            const std::size_t room = backspace ? std::size_t(pos) : len - std::size_t(pos) + 1;
            if (!backspace)
                --pos;
            const std::size_t keys = 1 + below(std::min<std::size_t>(room, 6));
            for (std::size_t k = 0; k < keys; ++k) {
                ASSERT_TRUE(doc.Replace(backspace ? pos - 1 : pos, 1, {}, U::Coalesce));
                pos -= backspace;
                changed(k > 0);
            }
        } else if (op < 68) {
            doc.Assign(randomBytes(below(shrink ? 40 : 160)), U::History);
            changed(false);
        } else if (op < 84) {
            const bool could = doc.CanUndo();
            const auto done = doc.ApplyUndo();
            ASSERT_EQ(done.start >= 0, could);
            if (could)
                ASSERT_EQ(doc.Text(), states[--at]);
            else
                run = last;
        } else if (op < 98) {
            const bool could = doc.CanRedo();
            const auto done = doc.ApplyRedo();
            ASSERT_EQ(done.start >= 0, could);
            ASSERT_EQ(could, at + 1 < states.size());
            if (could)
                ASSERT_EQ(doc.Text(), states[++at]);
            else
                run = last;
        } else {
            // An edit the history does not take forgets all of it.
            doc.Replace(0, 0, "z", U::None);
            states = {doc.Text()};
            at = 0;
        }
        last = run;

        ASSERT_EQ(doc.Text(), states[at]) << "step " << step;
        const Reach reach = Walk(doc);
        ASSERT_LE(reach.back.size(), at) << "step " << step;
        for (std::size_t i = 0; i < reach.back.size(); ++i)
            ASSERT_EQ(reach.back[i], states[at - 1 - i]) << "step " << step << ", undo " << i;
        const std::size_t oldest = at - reach.back.size();
        dropped += oldest > 0;
        ASSERT_EQ(reach.forward.size(), states.size() - 1 - oldest) << "step " << step;
        for (std::size_t i = 0; i < reach.forward.size(); ++i)
            ASSERT_EQ(reach.forward[i], states[oldest + 1 + i]) << "step " << step << ", redo " << i;
        ASSERT_EQ(doc.CanUndo(), !reach.back.empty());
        ASSERT_EQ(doc.CanRedo(), at + 1 < states.size());
        // Past the bound only with nothing left to drop: a single step, or only what Redo needs.
        const std::size_t bound = std::max(kBound, 2 * std::size_t(doc.Length()));
        if (doc.HistoryBytes() > bound && !reach.back.empty())
            ASSERT_LE(reach.back.size() + (states.size() - 1 - at), 1u)
                << "step " << step << ", op " << op << ", held " << doc.HistoryBytes() << " of " << bound;
    }
    EXPECT_GT(dropped, 0) << "the bound never dropped a step";
}

TEST(UndoHistoryModel, UndoAndRedoWalkTheTextsWithinTheBound)
{
    for (unsigned seed : {1u, 7u, 20261209u, 424242u, 99u})
        RunHistoryModel(seed);
}

// One level, the default: one step, which Undo turns round; no history of commands.
TEST(UndoHistory, OneLevelKeepsASingleStepThatASecondUndoRedoes)
{
    struct Row {
        const char* what;
        std::function<void(ByteDocument&)> act;
        const char* text;
        bool canUndo, canRedo;
    };
    const auto undo = [](ByteDocument& d) { d.ApplyUndo(); };
    const auto redo = [](ByteDocument& d) { d.ApplyRedo(); };
    const Row rows[] = {
        {"edit", [](ByteDocument& d) { d.Replace(3, 0, "d", U::Record); }, "abcd", true, false},
        {"undo", undo, "abc", true, true},
        {"second undo redoes", undo, "abcd", true, false},
        {"third undo undoes again", undo, "abc", true, true},
        {"redo as a second undo", redo, "abcd", true, false},
        {"redo with nothing undone", redo, "abcd", true, false},
        {"command forgets the step", [](ByteDocument& d) { d.Replace(0, 0, "x", U::History); }, "xabcd", false, false},
        {"undo with nothing", undo, "xabcd", false, false},
        {"typing", [](ByteDocument& d) { d.Replace(5, 0, "!", U::Coalesce); }, "xabcd!", true, false},
        {"more typing joins", [](ByteDocument& d) { d.Replace(6, 0, "?", U::Coalesce); }, "xabcd!?", true, false},
        {"undo the run", undo, "xabcd", true, true},
        {"a new change drops the redo", [](ByteDocument& d) { d.Replace(0, 1, {}, U::Coalesce); }, "abcd", true, false},
        {"whole-text command forgets", [](ByteDocument& d) { d.Assign("new", U::History); }, "new", false, false},
        {"edit", [](ByteDocument& d) { d.Replace(0, 3, "old", U::Record); }, "old", true, false},
        {"assign forgets", [](ByteDocument& d) { d.Assign("plain"); }, "plain", false, false},
    };
    ByteDocument doc;
    doc.Assign("abc");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        row.act(doc);
        EXPECT_EQ(doc.Text(), row.text);
        EXPECT_EQ(doc.CanUndo(), row.canUndo);
        EXPECT_EQ(doc.CanRedo(), row.canRedo);
    }
}

TEST(UndoHistory, UndoGivesBackTheSelectionTheChangeWasMadeWith)
{
    std::pair<Offset, Offset> selection{6, 5};
    ByteDocument doc;
    doc.SetSelectionSource([&] { return selection; });
    doc.Assign("hello world");
    doc.SetKeepHistory(true);
    doc.Replace(6, 5, "there", U::Record);
    selection = {11, 0};
    doc.Replace(11, 0, "!", U::Coalesce);
    selection = {0, 5};
    doc.Assign("HELLO", U::History);
    selection = {2, 0};

    const auto whole = doc.ApplyUndo();
    EXPECT_EQ(doc.Text(), "hello there!");
    EXPECT_EQ(std::make_pair(whole.selStart, whole.selLength), std::make_pair(Offset(0), Offset(5)));
    const auto typed = doc.ApplyUndo();
    EXPECT_EQ(std::make_pair(typed.selStart, typed.selLength), std::make_pair(Offset(11), Offset(0)));
    const auto replaced = doc.ApplyUndo();
    EXPECT_EQ(doc.Text(), "hello world");
    EXPECT_EQ(std::make_pair(replaced.start, replaced.length), std::make_pair(Offset(6), Offset(5)));
    EXPECT_EQ(std::make_pair(replaced.selStart, replaced.selLength), std::make_pair(Offset(6), Offset(5)));

    // One level gives the caret behind the restored bytes, whatever the selection was.
    doc.SetKeepHistory(false);
    doc.Replace(0, 5, "howdy", U::Record);
    const auto once = doc.ApplyUndo();
    EXPECT_EQ(std::make_pair(once.selStart, once.selLength), std::make_pair(Offset(5), Offset(0)));
}

} // namespace
