#include "launcher/result_rows.h"

#include "data/ansi_text.h"
#include "tests/support/item_builder.h"

#include <gtest/gtest.h>

#include <random>

namespace tvx {
namespace {

ItemStore Store(std::vector<std::pair<std::string, std::string>> nameAndShort) {
    ItemStore store;
    for (auto& [name, shortName] : nameAndShort) store.Append(test::Entry(name).Short(shortName).Description("d:" + name));
    return store;
}

const ItemStore* g_store = nullptr;  // the store the lists of a test were filled from

std::vector<std::string> Keys(const ResultList& list) {
    std::vector<std::string> keys;
    for (size_t i = 0; i < list.size(); ++i) keys.push_back(RowKey(*g_store, list, i).str());
    return keys;
}

TEST(ResultRows, UpperCaseSortsFirstAndDoubleByteCharactersAfterLatin) {
    ItemStore store = Store({{"n1", "ab"}, {"n2", "Abc"}, {"n3", "abd"}, {"n4", "\xBC\xC7"}, {"n5", "a"}});
    g_store = &store;
    ResultLists lists = FillAtStartup(store);
    EXPECT_EQ(Keys(lists.byShortName), (std::vector<std::string>{"Abc", "a", "ab", "abd", "\xBC\xC7"}));
    EXPECT_EQ(lists.byShortName.positions[0], 1u);
    EXPECT_EQ(RowSecond(store, lists.byShortName, 0), "n2");
    EXPECT_EQ(RowDescription(store, lists.byShortName, 0), "d:n2");
    EXPECT_EQ(RowKey(store, lists.byName, 0), "n1");
    EXPECT_EQ(RowSecond(store, lists.byName, 0), "ab");
}

TEST(ResultRows, StartupListsEmptyShortNamesButCatalogFillingDoesNot) {
    ItemStore store = Store({{"Notepad", ""}, {"  ", "blank"}, {"Calc", "c"}});
    store.Append(LaunchItem{});
    store.Remove(3);
    g_store = &store;
    ResultLists start = FillAtStartup(store);
    EXPECT_EQ(Keys(start.byName), (std::vector<std::string>{"Calc", "Notepad"})) << "a blank name is not listed";
    ResultLists root = FillFromCatalog(kRootCatalogId, true, store);
    EXPECT_EQ(Keys(root.byName), (std::vector<std::string>{"  ", "Calc"}));
    ResultLists catalog = FillFromCatalog("ID|2,0,1,3,-1,99,,", false, store);
    EXPECT_EQ(Keys(catalog.byShortName), (std::vector<std::string>{"blank", "c"}));
    EXPECT_EQ(FillFromCatalog("ID", false, store).byName.size(), 0u) << "no \"|\": nothing listed";
}

TEST(ResultRows, PrefixSearchIgnoresCaseAndPicksTheFirstRowInListOrder) {
    ItemStore store = Store({{"n1", "ab"}, {"n2", "Abc"}, {"n3", "abd"}, {"n4", "xyz"}});
    ResultLists lists = FillAtStartup(store);
    EXPECT_EQ(FindFirstPrefix(store, lists.byShortName, "ab"), 0) << "typing ab selects Abc";
    EXPECT_EQ(RowKey(store, lists.byShortName, 0), "Abc");
    EXPECT_EQ(FindFirstPrefix(store, lists.byShortName, "ABD"), 2);
    EXPECT_EQ(FindFirstPrefix(store, lists.byShortName, "q"), -1);
    EXPECT_EQ(FindFirstPrefix(store, lists.byShortName, "abcd"), -1) << "a key shorter than the text never matches";
    EXPECT_EQ(FindFirstPrefix(store, lists.byShortName, ""), 0) << "the empty text is a prefix of every key";
    EXPECT_EQ(FindFirstPrefix(store, ResultList{}, ""), -1);
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
    EXPECT_EQ(RowKey(store, lists.byName, 0), "a|b|c");
    EXPECT_EQ(RowDescription(store, lists.byName, 0).size(), 9999u);
}

// The walk the search replaced: the first row, in list order, whose key
// begins with the text compared as EqualsNoCase compares.
long FirstPrefixByWalk(const ItemStore& store, const ResultList& list, std::string_view typed) {
    for (size_t i = 0; i < list.size(); ++i) {
        const std::string_view key = RowKey(store, list, i);
        if (key.size() >= typed.size() && EqualsNoCase(key.substr(0, typed.size()), typed)) return static_cast<long>(i);
    }
    return -1;
}

TEST(ResultRows, PrefixSearchFindsWhatTheWalkFinds) {
    // Keys of few letters in both cases, digits, and GBK characters whose
    // second byte is a letter (which only matches itself).
    std::mt19937 rng(11);
    const std::vector<std::string> pieces = {"a", "A", "b", "B", "c", "1", "\xB0\xA1", "\xB0\x41", "\xB0\x61", "\xD7\xF7"};
    auto text = [&](size_t most) {
        std::string t;
        for (size_t n = rng() % (most + 1); n > 0; --n) t += pieces[rng() % pieces.size()];
        return t;
    };
    for (int round = 0; round < 300; ++round) {
        std::vector<std::pair<std::string, std::string>> rows;
        for (size_t n = round % 10 == 0 ? round % 3 : rng() % 60; n > 0; --n) {
            const std::string name = text(3);
            rows.emplace_back(name.empty() ? "A" : name, text(4));
        }
        const ItemStore store = Store(rows);
        const ResultLists lists = FillAtStartup(store);
        for (int probe = 0; probe < 40; ++probe) {
            std::string typed = text(3);
            if (probe % 5 == 0 && !typed.empty()) typed.pop_back();  // half a character, too
            for (const ResultList* list : {&lists.byShortName, &lists.byName})
                ASSERT_EQ(FindFirstPrefix(store, *list, typed), FirstPrefixByWalk(store, *list, typed))
                    << "round " << round << ", typed [" << typed << "]";
        }
    }
}

}  // namespace
}  // namespace tvx
