// Byte-string helpers with the double-byte rules of the ANSI code page the
// program targets (GB2312/GBK): a byte from 0x81 to 0xFE starts a two-byte
// character whose second byte is never looked at on its own.
#pragma once
#include <string>
#include <string_view>

namespace tvx {

inline bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
// A byte that can follow a lead byte in GBK: 0x40 to 0xFE, but not 0x7F.
inline bool IsTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }
// The width of the character at text[i] where outside bytes are judged (file
// names from archives, values from WIN.INI): 2 only for a lead byte with a
// byte that can follow it, so that a stray lead byte never hides a ':', a
// '/' or a line break behind it. ('\\' can follow one: 0x5C is a trail byte.)
inline size_t StrictCharWidthAt(std::string_view text, size_t i) {
    return i + 1 < text.size() && IsLeadByte(static_cast<unsigned char>(text[i])) &&
                   IsTrailByte(static_cast<unsigned char>(text[i + 1]))
               ? 2
               : 1;
}

// White space as the C library's isspace sees it in the "C" locale.
inline bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string Trim(std::string_view text);

// Lower/upper case of the single-byte letters A-Z; double-byte characters
// are left exactly as they are, even when their second byte looks like a letter.
std::string ToLowerAnsi(std::string_view text);
std::string ToUpperAnsi(std::string_view text);

// Decimal conversion as atoi does it: leading blanks, an optional sign, then
// digits up to the first non-digit. "x" reads as 0; "12ab" as 12.
long long ParseDecimal(std::string_view text);

bool EndsWithNoCase(std::string_view text, std::string_view tail);

// The text cut to at most `maxBytes` without splitting a double-byte character.
std::string_view CutAtCharacterBoundary(std::string_view text, size_t maxBytes);

// Copies as much of the text as fits a C buffer of `size` bytes (its NUL
// included) without splitting a double-byte character; returns the bytes copied.
size_t CopyToCharBuffer(std::string_view text, char* buffer, size_t size);

// Position of the last occurrence of a single-byte character, scanning by
// characters so that the second byte of a double-byte character (which may be
// 0x5C, the backslash) never counts; npos when there is none.
size_t FindLastChar(std::string_view text, char c);
// Whether the text ends in the first byte of a double-byte character whose
// second byte is missing.
bool EndsInsideCharacter(std::string_view text);
// Whether the last character (not merely the last byte) is `c`.
inline bool EndsWithCharacter(std::string_view text, char c) {
    return !text.empty() && FindLastChar(text, c) == text.size() - 1;
}

// A file's title: its name without the folder and without the part from the
// last ".", found by characters (a GBK name such as one with the character
// D4 5C keeps its whole name).
std::string FileTitleOf(std::string_view path);
// The first occurrence of `needle` at or after `from` (a character boundary)
// that begins and ends on character boundaries: a match never starts with
// the second byte of a double-byte character nor ends inside one, so "^" or
// "\\" as a trail byte, or the trail byte of one Chinese character with the
// lead byte of the next, is never found. npos when there is none.
size_t FindWhole(std::string_view text, std::string_view needle, size_t from = 0);

// The separator between the names and the commands of a composed item,
// found by characters.
constexpr std::string_view kComposedMarker = "^^^";
inline size_t FindComposedMarker(std::string_view text) { return FindWhole(text, kComposedMarker); }

// Equality without regard to the case of single-byte letters.
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace tvx
