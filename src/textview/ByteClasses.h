// How the text views class the bytes of a line: word characters, blanks and
// punctuation, for word movement, word selection and the whole-word search.
//
// A byte above 0x7F belongs to a double-byte GBK character, which is a
// letter of a Chinese word: it is a word character, so that a comment in
// Chinese moves and selects as words do.  The C library's isalnum would say
// no (or depend on the locale), so the classes are spelled out here.
#pragma once

inline bool IsWordChar(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || b == '_' || b >= 0x80;
}

inline bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
