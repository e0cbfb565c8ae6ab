// Paths from Windows in Unicode: what the code page can write is kept, what
// it cannot is filed by its short form or refused, never filed with "?".
#include "data/ansi_text.h"
#include "data/win32/wide_path.h"
#include "tests/win32/test_support.h"

#include <gtest/gtest.h>

#include <shlobj.h>

namespace tvx::win {
namespace {

TEST(WidePath, TheConversionSaysWhenItLostACharacter) {
    const CodePageText chinese = ToAnsi(L"C:\\\u4E2D\u6587\\a.exe", 936);
    EXPECT_FALSE(chinese.lossy);
    EXPECT_EQ(chinese.text, "C:\\\xD6\xD0\xCE\xC4\\a.exe");  // two bytes each
    // Hangul and an emoji: a white square each, not "?".
    const CodePageText hangul = ToAnsi(L"C:\\\uD55C\U0001F600.exe", 936);
    EXPECT_TRUE(hangul.lossy);
    EXPECT_EQ(hangul.text, "C:\\\xA1\xF5\xA1\xF5.exe");
    EXPECT_FALSE(ToAnsi(L"Espa\u00F1a", 1252).lossy);
    // Best fit would write "o" for "ő" without a word.
    const CodePageText western = ToAnsi(L"Gy\u0151r", 1252);
    EXPECT_TRUE(western.lossy);
    EXPECT_EQ(western.text, "Gy_r");
}

std::wstring NoShortForm(const std::wstring&) { return std::wstring(); }

// An HDROP as Explorer hands one over: DROPFILES with wide paths.
HDROP MakeDrop(const std::vector<std::wstring>& paths) {
    size_t chars = 1;
    for (const std::wstring& p : paths) chars += p.size() + 1;
    HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    auto* files = static_cast<DROPFILES*>(GlobalLock(block));
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    auto* at = reinterpret_cast<wchar_t*>(files + 1);
    for (const std::wstring& p : paths) {
        wcscpy(at, p.c_str());
        at += p.size() + 1;
    }
    GlobalUnlock(block);
    return static_cast<HDROP>(block);
}

TEST(WidePath, ADropFilesWhatItCanAndNamesWhatItRefuses) {
    test::ScratchDir dir("widedrop");
    const std::wstring folder = FromAnsi(dir.path()) + L"\\\uD55C\uAD6D \U0001F600";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::wstring outside = folder + L"\\\uD504\uB85C\uADF8\uB7A8.exe";
    const std::wstring plain = FromAnsi(dir.File("plain.exe"));
    for (const std::wstring& p : {outside, plain}) {
        HANDLE h = CreateFileW(p.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        CloseHandle(h);
    }
    HDROP drop = MakeDrop({outside, plain});
    // Without a short form the name is refused and the other file still comes.
    const DroppedFiles refused = TakeDroppedFiles(drop, 512, NoShortForm);
    ASSERT_EQ(refused.files.size(), 1u);
    EXPECT_EQ(refused.files[0].path, dir.File("plain.exe"));
    ASSERT_EQ(refused.refused.size(), 1u);
    EXPECT_EQ(refused.refused[0].find('?'), std::string::npos) << refused.refused[0];
    // With one, the entry starts by the short form and is named with marks.
    const DroppedFiles taken = TakeDroppedFiles(drop, 512);
    ASSERT_EQ(taken.files.size(), 2u);
    EXPECT_TRUE(taken.refused.empty());
    const std::string& shortPath = taken.files[0].path;
    EXPECT_FALSE(ToAnsi(ShortPathOf(outside)).lossy);
    EXPECT_EQ(FromAnsi(shortPath), ShortPathOf(outside));
    EXPECT_NE(GetFileAttributesA(shortPath.c_str()), INVALID_FILE_ATTRIBUTES) << shortPath;
    EXPECT_EQ(FileTitleOf(taken.files[0].shown), ToAnsi(L"\uD504\uB85C\uADF8\uB7A8").text);
    GlobalFree(drop);
    DeleteFileW(outside.c_str());
    DeleteFileW(plain.c_str());
    RemoveDirectoryW(folder.c_str());
}

}  // namespace
}  // namespace tvx::win
