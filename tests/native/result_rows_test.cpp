#include "launcher/result_rows.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

ItemStore Store(std::vector<std::pair<std::string, std::string>> nameAndShort) {
    ItemStore store;
    for (auto& [name, shortName] : nameAndShort) {
        LaunchItem it;
        it.Name = name;
        it.ShortName = shortName;
        it.Description = "d:" + name;
        it.Status = "0";
        store.Append(std::move(it));
    }
    return store;
}

std::vector<std::string> Keys(const std::vector<ResultRow>& rows) {
    std::vector<std::string> keys;
    for (const auto& r : rows) keys.push_back(r.key);
    return keys;
}

TEST(ResultRows, UpperCaseSortsFirstAndDoubleByteCharactersAfterLatin) {
    ItemStore store = Store({{"n1", "ab"}, {"n2", "Abc"}, {"n3", "abd"}, {"n4", "\xBC\xC7"}, {"n5", "a"}});
    ResultLists lists = FillAtStartup(store);
    EXPECT_EQ(Keys(lists.byShortName), (std::vector<std::string>{"Abc", "a", "ab", "abd", "\xBC\xC7"}));
    EXPECT_EQ(lists.byShortName[0].position, 1);
    EXPECT_EQ(lists.byShortName[0].second, "n2");
    EXPECT_EQ(lists.byName[0].key, "n1");
    EXPECT_EQ(lists.byName[0].second, "ab");
}

TEST(ResultRows, StartupListsEmptyShortNamesButCatalogFillingDoesNot) {
    ItemStore store = Store({{"Notepad", ""}, {"  ", "blank"}, {"Calc", "c"}});
    store.Append(LaunchItem{});
    store.Remove(3);
    ResultLists start = FillAtStartup(store);
    EXPECT_EQ(Keys(start.byName), (std::vector<std::string>{"Calc", "Notepad"})) << "a blank name is not listed";
    ResultLists root = FillFromCatalog(kRootCatalogId, true, store);
    EXPECT_EQ(Keys(root.byName), (std::vector<std::string>{"  ", "Calc"}));
    ResultLists catalog = FillFromCatalog("ID|2,0,1,3,-1,99,,", false, store);
    EXPECT_EQ(Keys(catalog.byShortName), (std::vector<std::string>{"blank", "c"}));
    EXPECT_TRUE(FillFromCatalog("ID", false, store).byName.empty()) << "no \"|\": nothing listed";
}

TEST(ResultRows, PrefixSearchIgnoresCaseAndPicksTheFirstRowInListOrder) {
    ItemStore store = Store({{"n1", "ab"}, {"n2", "Abc"}, {"n3", "abd"}, {"n4", "xyz"}});
    ResultLists lists = FillAtStartup(store);
    EXPECT_EQ(FindFirstPrefix(lists.byShortName, "ab"), 0) << "typing ab selects Abc";
    EXPECT_EQ(lists.byShortName[0].key, "Abc");
    EXPECT_EQ(FindFirstPrefix(lists.byShortName, "ABD"), 2);
    EXPECT_EQ(FindFirstPrefix(lists.byShortName, "q"), -1);
    EXPECT_EQ(FindFirstPrefix(lists.byShortName, "abcd"), -1) << "a key shorter than the text never matches";
    EXPECT_EQ(FindFirstPrefix(lists.byShortName, ""), 0) << "the empty text is a prefix of every key";
    EXPECT_EQ(FindFirstPrefix({}, ""), -1);
}

TEST(ResultRows, RowsCarryWhateverTheItemFileHeld) {
    LaunchItem odd;
    odd.Name = "a|b|c";
    odd.ShortName = "s";
    odd.Description = std::string(9999, 'd');
    ItemStore store;
    store.Append(odd);
    ResultLists lists = FillFromCatalog("ID|0", false, store);
    ASSERT_EQ(lists.byName.size(), 1u);
    EXPECT_EQ(lists.byName[0].key, "a|b|c");
    EXPECT_EQ(lists.byName[0].description.size(), 9999u);
}

}  // namespace
}  // namespace tvx
