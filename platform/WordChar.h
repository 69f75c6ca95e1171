#pragma once

// Word characters: digits, ASCII letters and every code from 192 up. All else ends a word.
// The text analysis counts words by it and Find's whole-word option stops at it.
inline bool IsWordChar(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 192;
}
