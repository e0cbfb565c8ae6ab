#include "data/item_file.h"
#include "data/ansi_text.h"
#include "tests/support/field_by_field_reading.h"
#include "tests/support/item_builder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace tvx {
namespace {

LaunchItem Sample(std::string name, std::string description = "") {
    return test::Entry(std::move(name))
        .Short("sn")
        .Keys("Ctrl", "F5")
        .Description(std::move(description))
        .Guid("0A0B0C0D-0000-4000-8000-000000000001")
        .Command("c:\\tools\\app.exe");
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

// Records of random texts, some long enough that a file spans many of the
// blocks the reading searches for NULs at a time.
std::string RandomFile(std::mt19937& rng, size_t records) {
    ItemStore store;
    for (size_t i = 0; i < records; ++i) {
        LaunchItem it;
        for (int f = 0; f < LaunchItem::kFieldCount; ++f) {
            const size_t n = rng() % 4 == 0 ? 0 : rng() % (f == 5 ? 3000 : 60);
            std::string text;
            for (size_t c = 0; c < n; ++c) text += static_cast<char>(0x20 + rng() % 0xC0);
            it.Field(f) = text;
        }
        store.Append(std::move(it));
    }
    return EncodeItemFile(store);
}

TEST(ItemFile, ReadsEveryFileAsTheFieldByFieldReadingDoes) {
    // The fuzzer's seeds, then random files: whole, with NULs inside texts
    // and lengths (near and across search blocks), with garbled lengths, cut.
    const std::filesystem::path seeds = std::filesystem::path(TVX_SOURCE_DIR) / "tests/fuzz/seeds/item_file";
    for (const auto& entry : std::filesystem::directory_iterator(seeds)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        EXPECT_TRUE(reference::ReadsAsFieldByField(bytes.str())) << entry.path();
    }
    std::mt19937 rng(7);
    for (int round = 0; round < 60; ++round) {
        std::string bytes = RandomFile(rng, round % 3 == 0 ? 400 : rng() % 20);
        const int damage = bytes.size() > 116 ? round % 4 : 0;
        for (int k = 0; damage >= 1 && k < 1 + round % 9; ++k) bytes[116 + rng() % (bytes.size() - 116)] = '\0';
        if (damage == 2) bytes[116 + rng() % (bytes.size() - 116)] = static_cast<char>(rng());
        if (damage == 3) bytes.resize(116 + rng() % (bytes.size() - 115));
        if (round % 5 == 0) bytes += "00";  // a record cut in its first length
        ASSERT_TRUE(reference::ReadsAsFieldByField(bytes)) << "round " << round << ", " << bytes.size() << " bytes";
    }
}

TEST(ItemFile, TheChunkedEncodingIsTheSameBytes) {
    std::mt19937 rng(3);
    for (size_t records : {0, 1, 9000}) {  // 9,000 records span several chunks
        ItemStore store = DecodeItemFile(RandomFile(rng, records));
        if (records == 1) store[0].ExePath = std::string(12000, 'p') + "\xBC\xC7";  // cut, too
        std::string chunked;
        size_t chunks = 0, cutWhole = 0, cutChunked = 0;
        ASSERT_TRUE(EncodeItemFileInChunks(store, [&](std::string_view part) {
            chunked.append(part);
            return ++chunks > 0;
        }, &cutChunked));
        EXPECT_EQ(chunked, EncodeItemFile(store, &cutWhole)) << records << " records";
        EXPECT_EQ(cutChunked, cutWhole);
        if (records == 9000) {
            EXPECT_GT(chunks, 2u);
        }
    }
    size_t calls = 0;
    EXPECT_FALSE(EncodeItemFileInChunks(DecodeItemFile(RandomFile(rng, 9000)), [&](std::string_view) {
        ++calls;
        return false;
    })) << "a sink that fails stops the encoding";
    EXPECT_EQ(calls, 1u);
}

TEST(ItemStore, FieldsSetAfterALoadOwnTheirTextsAndLeaveTheOthersAlone) {
    ItemStore store;
    store.Append(Sample("first", "one"));
    store.Append(Sample("second", "two"));
    ItemStore loaded = DecodeItemFile(EncodeItemFile(store));
    ASSERT_EQ(loaded.size(), 2u);
    loaded[0].Name = "a much longer first name than before";
    loaded[0].Description = loaded[0].Description.view().substr(1);  // from its own text
    loaded[1].ShortName.clear();
    EXPECT_EQ(loaded[0].Name, "a much longer first name than before");
    EXPECT_EQ(loaded[0].Description, "ne");
    EXPECT_EQ(loaded[0].ShortName, "sn");
    EXPECT_EQ(loaded[1].Name, "second");
    EXPECT_EQ(loaded[1].Description, "two");
    EXPECT_EQ(std::string(loaded[1].Name.c_str()), "second") << "a view ends at its own NUL";
    // Copies outlive the store they came from: an item, and a store that
    // shares the file's bytes.
    LaunchItem item = loaded[1];
    ItemStore copy = loaded;
    loaded = ItemStore();
    EXPECT_EQ(item.Name, "second");
    EXPECT_EQ(copy[0].Name, "a much longer first name than before");
    EXPECT_EQ(copy[1].ExePath, "c:\\tools\\app.exe");
    ItemStore other;
    other.Append(copy[1]);
    copy = ItemStore();
    EXPECT_EQ(other[0].Description, "two");
    const ItemStore again = DecodeItemFile(EncodeItemFile(other));
    EXPECT_EQ(again[0], other[0]);
}

}  // namespace
}  // namespace tvx
