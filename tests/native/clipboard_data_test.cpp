#include "data/clipboard_data.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

TEST(ClipboardData, ATextRecordIsEightByteFormatEightByteSizeAndTheBytes) {
    std::string file;
    ASSERT_TRUE(AppendClipboardRecord(file, 1, std::string("hello\0", 6)));
    EXPECT_EQ(file, std::string("1\0\0\0\0\0\0\0" "6\0\0\0\0\0\0\0" "hello\0", 22));
    ASSERT_TRUE(AppendClipboardRecord(file, 49161, "xy"));
    EXPECT_EQ(file.substr(22, 16), std::string("49161\0\0\0" "2\0\0\0\0\0\0\0", 16));

    auto records = DecodeClipboardRecords(file);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].format, 1);
    EXPECT_EQ(records[0].data, std::string_view("hello\0", 6));
    EXPECT_EQ(records[1].format, 49161);
    EXPECT_EQ(records[1].data, "xy");
}

TEST(ClipboardData, DataTooLargeForTheHeadIsNotWritten) {
    std::string file;
    EXPECT_TRUE(AppendClipboardRecord(file, 13, std::string(kMaxClipboardFormatBytes, 'a')));
    const size_t before = file.size();
    EXPECT_FALSE(AppendClipboardRecord(file, 13, std::string(kMaxClipboardFormatBytes + 1, 'a')));
    EXPECT_EQ(file.size(), before);
    EXPECT_EQ(DecodeClipboardRecords(file).size(), 1u);
    // A format number of eight digits has no room for its NUL either (found
    // by the clipboard fuzzer: it was cut into another number).
    EXPECT_FALSE(AppendClipboardRecord(file, 16766617, "x"));
    EXPECT_EQ(file.size(), before);
}

TEST(ClipboardData, TruncatedRecordsEndTheListKeepingWhatCameBefore) {
    std::string file;
    AppendClipboardRecord(file, 1, "first");
    AppendClipboardRecord(file, 7, "second");
    const size_t firstEnd = 16 + 5;
    for (size_t cut = 0; cut < file.size(); ++cut) {
        auto records = DecodeClipboardRecords(std::string_view(file).substr(0, cut));
        EXPECT_EQ(records.size(), cut < firstEnd ? 0u : 1u) << "cut at " << cut;
    }
    EXPECT_TRUE(DecodeClipboardRecords("").empty());
}

TEST(ClipboardData, GarbageNegativeAndHugeSizesNeverReadOutOfBounds) {
    std::string good;
    AppendClipboardRecord(good, 1, "ok");
    for (const char* size : {"-5\0\0\0\0\0\0", "abc\0\0\0\0\0", "99999999", "9999999\0", "\0\0\0\0\0\0\0\0", "12345x\0\0"}) {
        std::string file = good + std::string("1\0\0\0\0\0\0\0", 8) + std::string(size, 8) + "tail";
        auto records = DecodeClipboardRecords(file);
        ASSERT_EQ(records.size(), 1u) << size;
        EXPECT_EQ(records[0].data, "ok");
    }
    // A zero size is a real, empty record.
    std::string empty = std::string("2\0\0\0\0\0\0\0" "0\0\0\0\0\0\0\0", 16);
    ASSERT_EQ(DecodeClipboardRecords(empty).size(), 1u);
}

}  // namespace
}  // namespace tvx
