#include "data/clipboard_data.h"
#include "data/win32/clipboard_io.h"
#include "tests/win32/test_support.h"

#include <gtest/gtest.h>

#include <cstring>

namespace tvx::win {
namespace {

void PutOnClipboard(std::initializer_list<std::pair<UINT, std::string>> formats) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    for (const auto& [format, bytes] : formats) {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
        GlobalUnlock(block);
        SetClipboardData(format, block);
    }
    CloseClipboard();
}

std::string ClipboardBytes(UINT format) {
    std::string out;
    if (!OpenClipboard(nullptr)) return out;
    if (HANDLE data = GetClipboardData(format)) {
        if (const char* p = static_cast<const char*>(GlobalLock(data))) {
            out.assign(p, GlobalSize(data));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return out;
}

std::string ClipboardText() {
    std::string bytes = ClipboardBytes(CF_TEXT);
    return bytes.substr(0, bytes.find('\0'));
}

TEST(Clipboard, CapturingTextWritesAFormatOneRecord) {
    test::ScratchDir dir("capture");
    const std::string path = dir.File("a.stx");
    PutOnClipboard({{CF_TEXT, std::string("hello", 6)}});
    EXPECT_EQ(CaptureClipboard(nullptr, path).outcome, CaptureOutcome::Stored);
    const std::string file = test::ReadWholeFile(path);
    ASSERT_GE(file.size(), 22u);
    auto records = DecodeClipboardRecords(file);
    ASSERT_FALSE(records.empty());
    const ClipboardRecord* text = nullptr;
    for (const auto& r : records) if (r.format == CF_TEXT) text = &r;
    ASSERT_NE(text, nullptr) << "no CF_TEXT record";
    EXPECT_GE(text->data.size(), 6u);
    EXPECT_EQ(text->data.substr(0, 6), std::string_view("hello", 6));
    EXPECT_EQ(file.substr(0, 8), std::string("1\0\0\0\0\0\0\0", 8)) << "the first record is the text itself";
}

TEST(Clipboard, CapturingAnEmptyClipboardLeavesNoFileAndRemovesAnOldOne) {
    test::ScratchDir dir("empty");
    const std::string path = dir.File("b.stx");
    test::WriteWholeFile(path, "old contents");
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    EXPECT_EQ(CaptureClipboard(nullptr, path).outcome, CaptureOutcome::Nothing);
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
    PutOnClipboard({{CF_TEXT, std::string("keep", 5)}});
    EXPECT_EQ(RestoreClipboard(nullptr, path), 0) << "a missing file reports 0";
    EXPECT_EQ(ClipboardText(), "keep") << "and leaves the clipboard as it was";
}

TEST(Clipboard, RestoringSetsEveryRecordInFileOrder) {
    test::ScratchDir dir("restore");
    const std::string path = dir.File("c.stx");
    const UINT custom = RegisterClipboardFormatA("TavrolinexTestFormat");
    std::string file;
    AppendClipboardRecord(file, CF_TEXT, std::string("abc", 4));
    AppendClipboardRecord(file, custom, std::string("\x01\x02\x00\x03", 4));
    test::WriteWholeFile(path, file);
    PutOnClipboard({{CF_TEXT, std::string("before", 7)}});
    EXPECT_EQ(RestoreClipboard(nullptr, path), 1);
    EXPECT_EQ(ClipboardText(), "abc");
    EXPECT_EQ(ClipboardBytes(custom).substr(0, 4), std::string("\x01\x02\x00\x03", 4));
}

TEST(Clipboard, AZeroByteFileEmptiesTheClipboardAndGarbageStopsSafely) {
    test::ScratchDir dir("zero");
    const std::string path = dir.File("d.stx");
    test::WriteWholeFile(path, "");
    PutOnClipboard({{CF_TEXT, std::string("x", 2)}});
    EXPECT_EQ(RestoreClipboard(nullptr, path), 1);
    EXPECT_EQ(CountClipboardFormats(), 0);

    std::string file;
    AppendClipboardRecord(file, CF_TEXT, std::string("good", 5));
    file += std::string("1\0\0\0\0\0\0\0" "9999999\0", 16) + "short";
    test::WriteWholeFile(path, file);
    EXPECT_EQ(RestoreClipboard(nullptr, path), 1);
    EXPECT_EQ(ClipboardText(), "good") << "the record before the broken one stays";
}

TEST(Clipboard, Format49260IsNeverStored) {
    // Registered formats are numbered upwards from 0xC000: register names
    // until one gets the number the capture must leave out.
    UINT format = 0;
    for (int i = 0; i < 2000 && format != kSkippedClipboardFormat; ++i)
        format = RegisterClipboardFormatA(("TavrolinexProbe" + std::to_string(i)).c_str());
    ASSERT_EQ(format, kSkippedClipboardFormat) << "could not reach format 49260 here";
    test::ScratchDir dir("skip");
    const std::string path = dir.File("e.stx");
    PutOnClipboard({{format, "private"}, {CF_TEXT, std::string("t", 2)}});
    CaptureClipboard(nullptr, path);
    auto records = DecodeClipboardRecords(test::ReadWholeFile(path));
    ASSERT_FALSE(records.empty());
    for (const auto& r : records) EXPECT_NE(r.format, static_cast<long long>(kSkippedClipboardFormat));
}

// Another program holds the clipboard, as clipboard history does right
// after a copy: a moment is waited out; longer, nothing is stored and the
// earlier file stays as it was.
struct ClipboardHold {
    DWORD ms;
    HANDLE opened;
};
DWORD WINAPI HoldClipboard(void* p) {
    auto* hold = static_cast<ClipboardHold*>(p);
    // For a window of its own, as another program holds it (Wine lets a
    // second OpenClipboard for no window through).
    HWND window = CreateWindowExA(0, "STATIC", "holder", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    const BOOL open = OpenClipboard(window);
    SetEvent(hold->opened);
    Sleep(hold->ms);
    if (open) CloseClipboard();
    DestroyWindow(window);
    return 0;
}

TEST(Clipboard, AClipboardHeldByAnotherIsWaitedForBrieflyAndNeverCostsTheEarlierFile) {
    test::ScratchDir dir("held");
    const std::string path = dir.File("h.stx");
    PutOnClipboard({{CF_TEXT, std::string("new", 4)}});
    for (DWORD ms : {100u, 1500u}) {
        test::WriteWholeFile(path, "the earlier capture");
        ClipboardHold hold{ms, CreateEventA(nullptr, TRUE, FALSE, nullptr)};
        HANDLE thread = CreateThread(nullptr, 0, HoldClipboard, &hold, 0, nullptr);
        ASSERT_EQ(WaitForSingleObject(hold.opened, 5000), WAIT_OBJECT_0);
        const CaptureResult result = CaptureClipboard(nullptr, path);
        WaitForSingleObject(thread, 5000);
        CloseHandle(thread);
        CloseHandle(hold.opened);
        if (ms < 200) {
            EXPECT_EQ(result.outcome, CaptureOutcome::Stored) << "held " << ms << " ms";
        } else {
            EXPECT_EQ(result.outcome, CaptureOutcome::ClipboardBusy) << "held " << ms << " ms";
            EXPECT_EQ(test::ReadWholeFile(path), "the earlier capture");
        }
    }
}

// A registered format's number belongs to one logon session: stored under
// one number, it comes back under the number its name has now. (Wine keeps
// the numbers while its server runs, so the file stands for one written in
// another session.) Handle formats are never read as memory.
TEST(Clipboard, ARegisteredFormatComesBackByItsNameAndHandleFormatsAreSkipped) {
    const UINT html = RegisterClipboardFormatA("HTML Format");
    test::ScratchDir dir("named");
    const std::string path = dir.File("n.stx");
    PutOnClipboard({{html, "<b>bold</b>"}, {CF_TEXT, std::string("t", 2)}});
    ASSERT_TRUE(OpenClipboard(nullptr));
    SetClipboardData(CF_BITMAP, CreateBitmap(2, 2, 1, 32, nullptr));  // a handle, not a memory block
    CloseClipboard();
    ASSERT_EQ(CaptureClipboard(nullptr, path).outcome, CaptureOutcome::Stored);
    std::string moved;
    const std::string stored = test::ReadWholeFile(path);  // the records are views into it
    for (const ClipboardRecord& r : DecodeClipboardRecords(stored)) {
        EXPECT_NE(r.format, CF_BITMAP) << "a bitmap handle is not stored";
        if (r.format == kFormatNamesRecord) continue;
        // As another session numbered it: 0xC123 stands for "HTML Format" there.
        AppendClipboardRecord(moved, r.format == html ? 0xC123u : static_cast<unsigned>(r.format), r.data);
    }
    AppendClipboardRecord(moved, kFormatNamesRecord, EncodeFormatNames({{0xC123u, "HTML Format"}}));
    test::WriteWholeFile(path, moved);
    PutOnClipboard({{CF_TEXT, std::string("other", 6)}});
    ASSERT_EQ(RestoreClipboard(nullptr, path), 1);
    EXPECT_EQ(ClipboardBytes(html).substr(0, 11), "<b>bold</b>");
    EXPECT_EQ(ClipboardText(), "t");
}

TEST(Clipboard, DataPathsAreFreshGuidNamesInTheDataFolder) {
    const std::string a = NewClipboardDataPath(Installation("C:\\Inst")), b = NewClipboardDataPath(Installation("C:\\Inst"));
    EXPECT_EQ(a.size(), std::string("C:\\Inst\\Data\\").size() + 36 + 4);
    EXPECT_EQ(a.substr(0, 13), "C:\\Inst\\Data\\");
    EXPECT_EQ(a.substr(a.size() - 4), ".stx");
    EXPECT_NE(a, b);
}

}  // namespace
}  // namespace tvx::win
