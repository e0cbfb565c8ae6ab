// The languages the program offers at first start, in the order the language
// dialog lists them, and the files that follow from the choice.
#pragma once
#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tvx {

struct LanguageRow {
    std::string_view comboText;  // bytes as stored: GB2312/GBK for the Chinese and Japanese rows
    std::string_view code;       // names the module "\Lang\" + code + ".dat"
};

extern const std::array<LanguageRow, 8> kLanguageTable;

// The three-letter code of a language index; the empty text outside 0..7.
std::string_view LanguageCode(long long index);

// Tail of the language module, "\Lang\" + code + ".dat"; empty for an empty code.
std::string LanguageModuleTail(std::string_view code);

struct LanguageCopy {
    std::string folderTail;  // copy only when this folder exists
    std::string sourceTail;
    std::string targetTail;
};

// The per-language data files refreshed after the language dialog was shown.
std::vector<LanguageCopy> LanguageCopies(std::string_view code);

}  // namespace tvx
