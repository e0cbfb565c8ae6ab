#include "data/item_file.h"
#include "data/ansi_text.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

LaunchItem Sample(std::string name, std::string description = "") {
    LaunchItem it;
    it.Name = std::move(name);
    it.ShortName = "sn";
    it.Hotkey1 = "Ctrl";
    it.Hotkey2 = "F5";
    it.Description = std::move(description);
    it.Status = "0";
    it.ItemGuid = "0A0B0C0D-0000-4000-8000-000000000001";
    it.ExePath = "c:\\tools\\app.exe";
    return it;
}

TEST(ItemFile, AnEmptyStoreIsOneZeroByte) {
    EXPECT_EQ(EncodeItemFile(ItemStore()), std::string(1, '\0'));
    EXPECT_TRUE(DecodeItemFile(std::string(1, '\0')).empty());
    EXPECT_TRUE(DecodeItemFile(std::string(116, '\0')).empty()) << "116 bytes hold no record";
}

TEST(ItemFile, ThreeEmptyItemsAreHeaderPlusThirtySixBytesEach) {
    ItemStore store;
    for (int i = 0; i < 3; ++i) store.Append(LaunchItem{});
    const std::string bytes = EncodeItemFile(store);
    ASSERT_EQ(bytes.size(), 224u);
    EXPECT_EQ(bytes.substr(0, 100), std::string(100, '\0'));
    EXPECT_EQ(bytes.substr(100, 16), "0000000000000003");
    EXPECT_EQ(bytes.substr(116, 36), std::string("0000") + "0000" + "0000" + "0000" + "0000" + "0000" + "0000" +
                                         "0000" + "0000");
    EXPECT_EQ(DecodeItemFile(bytes).size(), 3u);
}

TEST(ItemFile, FieldsAreFourDigitLengthsFollowedByTheirBytes) {
    LaunchItem it;
    it.Description = "twelve bytes";
    it.Status = "-1";
    EXPECT_EQ(EncodeItemRecord(it), "0000000000000000" "0000" "0012twelve bytes" "0002-1" "0000" "0000");
}

TEST(ItemFile, AnAppendedRecordIsFoundAlthoughTheHeaderStillCountsTwo) {
    ItemStore store;
    store.Append(Sample("one"));
    store.Append(Sample("two"));
    std::string bytes = EncodeItemFile(store);
    bytes += EncodeItemRecord(Sample("three"));
    EXPECT_EQ(bytes.substr(100, 16), "0000000000000002");
    ItemStore loaded = DecodeItemFile(bytes);
    ASSERT_EQ(loaded.size(), 3u);
    EXPECT_EQ(loaded[2].Name, "three");
    EXPECT_EQ(loaded[0], store[0]);
}

TEST(ItemFile, ARecordRunningPastTheEndStopsLoadingButKeepsEarlierOnes) {
    ItemStore store;
    store.Append(Sample("one"));
    store.Append(Sample("two", "a description"));
    const std::string bytes = EncodeItemFile(store);
    for (size_t cut = 117; cut < bytes.size(); ++cut) {
        ItemStore loaded = DecodeItemFile(std::string_view(bytes).substr(0, cut));
        const size_t firstEnd = 116 + EncodeItemRecord(store[0]).size();
        EXPECT_EQ(loaded.size(), cut < firstEnd ? 0u : 1u) << "cut at " << cut;
    }
}

TEST(ItemFile, GarbageLengthsNeverReadOutOfBounds) {
    std::string bytes(116, '\0');
    bytes += "9999abc";       // runs past the end
    EXPECT_TRUE(DecodeItemFile(bytes).empty());
    bytes = std::string(116, '\0') + "x1y2" "-003" " 002ab" "000000000000000000000000" "00";
    ItemStore loaded = DecodeItemFile(bytes);
    ASSERT_EQ(loaded.size(), 1u);
    EXPECT_EQ(loaded[0].Name, "") << "x1y2 reads as 0";
    EXPECT_EQ(loaded[0].ShortName, "") << "a negative length is the empty text";
    EXPECT_EQ(loaded[0].Hotkey1, "ab") << "\" 002\" reads as 2 after the blank";
}

TEST(ItemFile, OverlongFieldsAreCutAtACharacterBoundaryAndReported) {
    LaunchItem it = Sample("n");
    it.Description = std::string(9998, 'a') + "\xBC\xC7";  // the last character would straddle 9999
    it.ExePath = std::string(12000, 'p');
    size_t cut = 0;
    ItemStore store;
    store.Append(it);
    store.Append(Sample("after"));
    const std::string bytes = EncodeItemFile(store, &cut);
    EXPECT_EQ(cut, 2u);
    ItemStore loaded = DecodeItemFile(bytes);
    ASSERT_EQ(loaded.size(), 2u) << "the record after the long one is intact";
    EXPECT_EQ(loaded[0].Description, std::string(9998, 'a'));
    EXPECT_EQ(loaded[0].ExePath.size(), 9999u);
    EXPECT_EQ(loaded[1].Name, "after");
    EXPECT_EQ(CutAtCharacterBoundary("ab\xBC\xC7", 3), "ab");
    EXPECT_EQ(CutAtCharacterBoundary("ab\xBC", 3), "ab\xBC") << "a lone lead byte at the end is one byte";
}

}  // namespace
}  // namespace tvx
