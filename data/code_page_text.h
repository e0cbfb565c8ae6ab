// Text that comes from Windows in Unicode (UTF-16) and must be kept in the
// ANSI code page the program works in. A character the code page lacks is
// never silently turned into "?": the conversion says it lost something,
// and what is shown carries a visible mark instead.
#pragma once
#include <functional>
#include <string>
#include <string_view>

namespace tvx {

// One character's bytes in the code page, appended to `out`; false when the
// code page has no such character (nothing appended then).
using EncodeCharacter = std::function<bool(char32_t character, std::string& out)>;

struct CodePageText {
    std::string text;    // in the code page; characters it lacks are `mark`
    bool lossy = false;  // some character could not be written
};

// UTF-16 text in the code page, a character at a time. A surrogate pair is
// one character; a lone surrogate cannot be written in any code page.
CodePageText ToCodePage(std::u16string_view wide, const EncodeCharacter& encode, std::string_view mark);

// How a path from Windows is filed: in full when the code page can write it,
// else by its short (8.3) form when it has one that the code page can write,
// else not at all. `shown` is always the full path as the code page can
// show it (for the entry's Name and for messages).
struct FiledPath {
    bool usable = false;
    std::string path;   // what the entry starts
    std::string shown;  // the full path, with marks where characters are missing
};
FiledPath ChooseFiledPath(const CodePageText& full, const CodePageText* shortForm);

}  // namespace tvx
