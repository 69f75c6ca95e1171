#pragma once

// What the Find and Replace dialogs ask of a search. The defaults are the exact, forward,
// non-wrapping search of a dialog nobody has touched.
struct FindOptions {
    bool matchCase = true;
    bool wholeWord = false; // no word character right before or after the match
    bool up = false;        // backwards from the start of the selection
    bool wrapAround = false;
    bool regex = false;     // the pattern is a regular expression, the replacement may name its groups
    bool operator==(const FindOptions&) const = default;
};
