#include "app/language_table.h"

namespace tvx {

const std::array<LanguageRow, 8> kLanguageTable = {{
    {"English", "eng"},
    {"Fran?ais", "fre"},
    {"Deutsch", "ger"},
    {"Espa?ol", "spa"},
    {"Italia", "itl"},
    {"\xC8\xD5\xB1\xBE\xC8\xCB", "jpa"},          // GB2312
    {"\xBC\xF2\xCC\xE5\xD6\xD0\xCE\xC4", "chs"},  // GB2312
    {"\xB7\xB1\xF3\x77\xD6\xD0\xCE\xC4", "cht"},  // GBK
}};

std::string_view LanguageCode(long long index) {
    if (index < 0 || index >= static_cast<long long>(kLanguageTable.size())) return {};
    return kLanguageTable[static_cast<size_t>(index)].code;
}

std::string LanguageModuleTail(std::string_view code) {
    if (code.empty()) return {};
    return "\\Lang\\" + std::string(code) + ".dat";
}

std::vector<LanguageCopy> LanguageCopies(std::string_view code) {
    if (code.empty()) return {};
    const std::string c(code);
    return {
        {"\\lang01", "\\lang01\\" + c + ".dat", "\\lang01\\datamanfunc.dat"},
        {"\\lang02", "\\lang02\\" + c + ".dat", "\\lang02\\Imgftinit.dat"},
        {"\\lang03", "\\lang03\\" + c + ".dat", "\\lang03\\ToolsInit.dat"},
        {"\\datas\\effect\\lang_ef", "\\datas\\effect\\lang_ef\\" + c + ".dat", "\\datas\\effect\\effect.dat"},
    };
}

}  // namespace tvx
