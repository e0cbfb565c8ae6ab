#include "data/win32/wide_path.h"

#include <shellapi.h>

#include "data/win32/profile.h"


namespace tvx::win {

namespace {

// WC_NO_BEST_FIT_CHARS keeps Windows from writing "a" for "ä" without
// saying so; the UTF-8 code pages take neither it nor the used-default flag
// (and lose nothing).
bool HasDefaultChar(UINT codePage) {
    const UINT page = codePage == CP_ACP ? GetACP() : codePage;
    return page != CP_UTF8 && page != CP_UTF7;
}

bool EncodeOne(UINT codePage, char32_t character, std::string& out) {
    wchar_t units[2];
    int count = 1;
    if (character >= 0x10000) {
        units[0] = static_cast<wchar_t>(0xD800 + ((character - 0x10000) >> 10));
        units[1] = static_cast<wchar_t>(0xDC00 + ((character - 0x10000) & 0x3FF));
        count = 2;
    } else {
        units[0] = static_cast<wchar_t>(character);
    }
    char bytes[8];
    BOOL usedDefault = FALSE;
    const bool checked = HasDefaultChar(codePage);
    const int n = WideCharToMultiByte(codePage, checked ? WC_NO_BEST_FIT_CHARS : 0, units, count, bytes, sizeof bytes,
                                      nullptr, checked ? &usedDefault : nullptr);
    if (n <= 0 || usedDefault) return false;
    out.append(bytes, static_cast<size_t>(n));
    return true;
}

// The mark for a missing character: a white square where the code page has
// one (GBK does), else "_".
std::string MarkFor(UINT codePage) {
    std::string mark;
    return EncodeOne(codePage, U'\u25A1', mark) ? mark : std::string("_");
}

}  // namespace

CodePageText ToAnsi(std::wstring_view wide, UINT codePage) {
    CodePageText result;
    if (wide.empty()) return result;
    const bool checked = HasDefaultChar(codePage);
    const DWORD flags = checked ? WC_NO_BEST_FIT_CHARS : 0;
    BOOL usedDefault = FALSE;
    const int size = static_cast<int>(wide.size());
    const int n = WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, checked ? &usedDefault : nullptr);
    if (n > 0 && !usedDefault) {
        result.text.resize(static_cast<size_t>(n));
        WideCharToMultiByte(codePage, flags, wide.data(), size, &result.text[0], n, nullptr, nullptr);
        return result;
    }
    static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wide characters");
    return ToCodePage(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()),
                      [codePage](char32_t c, std::string& out) { return EncodeOne(codePage, c, out); }, MarkFor(codePage));
}

std::wstring FromAnsi(std::string_view text, UINT codePage) {
    if (text.empty()) return std::wstring();
    const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
    return wide;
}

std::wstring ShortPathOf(const std::wstring& path) {
    const DWORD n = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (n == 0) return std::wstring();
    std::wstring shortPath(n, L'\0');
    const DWORD got = GetShortPathNameW(path.c_str(), &shortPath[0], n);
    if (got == 0 || got >= n) return std::wstring();
    shortPath.resize(got);
    return shortPath;
}

FiledPath FilePathFrom(const std::wstring& path, ShortPathLookup lookup, UINT codePage) {
    const CodePageText full = ToAnsi(path, codePage);
    if (!full.lossy) return ChooseFiledPath(full, nullptr);
    const std::wstring shortPath = lookup ? lookup(path) : std::wstring();
    const CodePageText shortForm = ToAnsi(shortPath, codePage);
    return ChooseFiledPath(full, shortPath.empty() ? nullptr : &shortForm);
}

DroppedFiles TakeDroppedFiles(HDROP drop, size_t maxBytes, ShortPathLookup lookup) {
    DroppedFiles taken;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        if (length == 0) continue;
        std::wstring path(length + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, &path[0], length + 1));
        const FiledPath filed = FilePathFrom(path, lookup);
        if (!filed.usable) {
            taken.refused.push_back(filed.shown);
        } else if (filed.path.size() >= maxBytes || filed.shown.size() >= maxBytes) {
            taken.tooLong = true;  // never cut into another path
        } else {
            taken.files.push_back(filed);
        }
    }
    return taken;
}

std::string NameOutsideCodePageText(const std::vector<std::string>& refused) {
    std::string text = MessageText("NameOutsideCodePage") + "\r\n";
    for (const std::string& name : refused) text += "\r\n" + name;
    return text;
}

}  // namespace tvx::win
