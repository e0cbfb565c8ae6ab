#include "services/hotkey_table.h"
#include "tests/support/item_builder.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

LaunchItem WithKeys(std::string name, std::string h1, std::string h2) {
    return test::Entry(std::move(name)).Keys(std::move(h1), std::move(h2));
}

TEST(HotkeyPlan, OnlyNamedItemsWithAWholeCombinationAreRegistered) {
    ItemStore store;
    store.Append(WithKeys("a", "Ctrl", "F12"));
    store.Append(WithKeys("", "Ctrl", "F11"));            // no name
    store.Append(WithKeys("c", "No Hotkey1", "A"));
    store.Append(WithKeys("d", "ctrl", "f12"));           // key names are exact
    store.Append(WithKeys("e", "Ctrl", "F12"));           // same combination: planned, the system refuses it
    auto plan = PlanItemHotkeys(store);
    ASSERT_EQ(plan.size(), 2u);
    EXPECT_EQ(plan[0].position, 0u);
    EXPECT_EQ(plan[0].keys.modifier, kModControl);
    EXPECT_EQ(plan[0].keys.keyCode, 123u);
    EXPECT_EQ(plan[1].position, 4u);
}

TEST(HotkeyPlan, IdsStayClearOfTheFixedOnesAndInsideTheApplicationRange) {
    ItemStore store;
    for (int i = 0; i < 20000; ++i) store.Append(WithKeys("n", "Alt", "F1"));
    for (int pass = 0; pass < 50; ++pass) {
        auto plan = PlanItemHotkeys(store);
        ASSERT_FALSE(plan.empty());
        EXPECT_EQ(plan.front().id, kFirstItemHotkeyId);
        EXPECT_EQ(plan.back().id, kLastHotkeyId) << "items beyond the range get no id";
        for (const PlannedHotkey& p : plan) {
            ASSERT_GT(p.id, kConfigSaveHotkeyId);
            ASSERT_LT(p.id, 0xC000);
            ASSERT_NE(p.id, kShowHideHotkeyId);
        }
    }
}

}  // namespace
}  // namespace tvx

namespace tvx {
namespace {

TEST(HotkeyWarning, ShiftOrAltAloneWithACharacterKeyTakesItFromOtherPrograms) {
    EXPECT_TRUE(TakesKeyFromOtherPrograms(ParseHotkey("Shift", "A")));
    EXPECT_TRUE(TakesKeyFromOtherPrograms(ParseHotkey("Alt", "7")));
    EXPECT_FALSE(TakesKeyFromOtherPrograms(ParseHotkey("Ctrl", "A")));
    EXPECT_FALSE(TakesKeyFromOtherPrograms(ParseHotkey("Shift", "F5"))) << "a function key types nothing";
    EXPECT_FALSE(TakesKeyFromOtherPrograms(ParseHotkey("", "A")));
}

}  // namespace
}  // namespace tvx
