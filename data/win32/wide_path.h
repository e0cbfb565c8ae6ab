// Paths taken from Windows in their Unicode form and turned into the ANSI
// code page the program works in, only through here: a name the code page
// cannot write is filed by its short (8.3) form, or refused, never filed
// with "?" in it.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <string_view>
#include <vector>

#include "data/code_page_text.h"

namespace tvx::win {

// The text in the code page; lossless text converts in one call, lossy text
// is converted again a character at a time with a visible mark for each
// character the page lacks.
CodePageText ToAnsi(std::wstring_view wide, UINT codePage = CP_ACP);
std::wstring FromAnsi(std::string_view text, UINT codePage = CP_ACP);

// The short (8.3) form of an existing path, or an empty text.
std::wstring ShortPathOf(const std::wstring& path);
// The seam through which the short form is looked up (tests make it fail:
// Wine always has one).
using ShortPathLookup = std::wstring (*)(const std::wstring& path);

FiledPath FilePathFrom(const std::wstring& path, ShortPathLookup lookup = ShortPathOf, UINT codePage = CP_ACP);

// The files of a drop (Explorer's selection, a drag onto a window): the
// usable ones, the refused ones as they can be shown, and whether one was
// longer than `maxBytes` in the code page (it is left out, never cut).
struct DroppedFiles {
    std::vector<FiledPath> files;
    std::vector<std::string> refused;
    bool tooLong = false;
};
DroppedFiles TakeDroppedFiles(HDROP drop, size_t maxBytes, ShortPathLookup lookup = ShortPathOf);

// The message "NameOutsideCodePage" with the refused names, one per line.
std::string NameOutsideCodePageText(const std::vector<std::string>& refused);

}  // namespace tvx::win
