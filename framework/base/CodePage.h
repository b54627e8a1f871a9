#pragma once
// Text rules of the system's ANSI code page. On Windows they are the
// system's own, double-byte code pages (932, 936, 949, 950) included; on
// POSIX the rules of Windows-1252, where every character is one byte.
//
// In a double-byte code page the second byte of a character may equal an
// ASCII character: 表 is 0x95 0x5C in 932, and 0x5C is the backslash. Code
// that looks for a separator, a dot or a space in ANSI text, or walks it to
// change case, goes through these helpers, which step by characters.

#include <cstddef>
#include <string>

// Whether byte starts a character of two bytes (the system's IsDBCSLeadByte;
// never on POSIX).
bool IsAnsiLeadByte(unsigned char byte);
// Whether byte, as a character of its own, is the superscript digit 1, 2
// or 3 (which Windows takes for the digit in device names such as COM2):
// in Windows-1252 it is, in 932 the same bytes are katakana.
bool IsAnsiSuperscriptDigit(unsigned char byte);

// The bytes of the character that starts at text[pos]: 2 for a lead byte
// with a byte after it, else 1 (a lead byte at the end stands alone, as
// CharNextA takes it).
size_t AnsiCharLength(const std::string& text, size_t pos);

// The first character at or after from (a character's start) that is one
// of the ASCII characters in set; npos when there is none.
size_t AnsiFind(const std::string& text, const char* set, size_t from = 0);
// The last character that is one of the ASCII characters in set; npos when
// there is none.
size_t AnsiFindLast(const std::string& text, const char* set);
// Whether text's last character is c (ASCII).
bool AnsiEndsWith(const std::string& text, char c);
// The longest start of text of at most limit bytes that does not end inside
// a character: a double-byte character that the limit would split, or a
// lead byte left alone at the cut, is left out whole.
std::string AnsiCutBytes(const std::string& text, size_t limit);

// Lower-cases text by the ANSI code page's rules, leaving the trail bytes of
// double-byte characters alone.
std::string AnsiToLower(const std::string& text);
void AnsiMakeLower(std::string& text);
// Upper-cases the ASCII letters of text that are characters of their own.
void AnsiMakeUpperAscii(std::string& text);
