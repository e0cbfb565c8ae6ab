#include "data/code_page_text.h"

namespace tvx {

CodePageText ToCodePage(std::u16string_view wide, const EncodeCharacter& encode, std::string_view mark) {
    CodePageText result;
    result.text.reserve(wide.size());
    for (size_t i = 0; i < wide.size(); ++i) {
        char32_t character = wide[i];
        bool lone = false;
        if (character >= 0xD800 && character <= 0xDBFF) {
            if (i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF) {
                character = 0x10000 + ((character - 0xD800) << 10) + (wide[i + 1] - 0xDC00);
                ++i;
            } else {
                lone = true;
            }
        } else if (character >= 0xDC00 && character <= 0xDFFF) {
            lone = true;
        }
        if (character < 0x80 && !lone) {  // every ANSI code page keeps ASCII as it is
            result.text += static_cast<char>(character);
            continue;
        }
        if (lone || !encode(character, result.text)) {
            result.text.append(mark);
            result.lossy = true;
        }
    }
    return result;
}

FiledPath ChooseFiledPath(const CodePageText& full, const CodePageText* shortForm) {
    FiledPath filed;
    filed.shown = full.text;
    if (!full.lossy) {
        filed.usable = true;
        filed.path = full.text;
    } else if (shortForm && !shortForm->lossy && !shortForm->text.empty()) {
        filed.usable = true;
        filed.path = shortForm->text;
    }
    return filed;
}

}  // namespace tvx
