#pragma once

// Character tables for the regular expressions, made for Windows-1254 instead of the locale
// the program happens to run in: \w, \d, \s, \b, the POSIX classes and caseless matching know
// the Turkish letters, and caseless matching pairs letters exactly as the plain search does.
// The tables live for the whole run (compiled patterns point into them).
const unsigned char* Cp1254RegexTables();
