// Short names proposed from item names: pinyin initials for Chinese names,
// word initials for Latin names of several words, the name itself otherwise.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace tvx {

struct PinyinRow {
    char syllable[7];
    uint16_t code;  // first GB2312 level-1 character with this reading
};
// 396 rows in ascending code order.
extern const PinyinRow kPinyinTable[396];

// The syllable of a two-byte code (first byte * 256 + second byte), or
// nullptr below 0xB0A0. Codes from 0xD7F2 up (level 2 and beyond) read "zuo".
const char* PinyinSyllable(unsigned code);
// The pinyin initial of a two-byte GBK code, or 0: for GB2312 level 1 the
// first letter of its syllable above; for every other character with a
// Mandarin reading the first letter of its first reading in Unicode's Unihan
// data (launcher/pinyin_initials.inc); otherwise the syllable's letter again.
char PinyinInitial(unsigned code);

std::string WordInitials(std::string_view text);

// The short name the program proposes for a name.
std::string MakeShortName(std::string_view name);
// The variant used when items are created from program lists: the Latin
// prefix's initials are not trimmed.
std::string MakeShortNameUntrimmed(std::string_view name);
// The configuration dialog's reset: leading "+" and blanks removed, then
// MakeShortName, in upper case.
std::string MakeResetShortName(std::string_view name);

}  // namespace tvx
