#include "ui/skin/scroll_geometry.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

// A report list of `rows` rows showing `page` of them from `top`.
ScrollRange Rows(long long rows, long long page, long long top) { return {0, rows - 1, page, top}; }

TEST(ScrollGeometry, NothingToScrollGivesNoThumb) {
    EXPECT_FALSE(ThumbFor(Rows(5, 10, 0), 100, 8));   // fewer rows than the page
    EXPECT_FALSE(ThumbFor(Rows(10, 10, 0), 100, 8));  // exactly one page
    EXPECT_FALSE(ThumbFor(Rows(1, 4, 0), 100, 8));    // a single row
    EXPECT_FALSE(ThumbFor(Rows(0, 4, 0), 100, 8));    // an empty list (max below min)
    EXPECT_FALSE(ThumbFor(Rows(100, 10, 0), 0, 8));   // a bar too short for a track
    EXPECT_EQ(LastPosition(Rows(5, 10, 0)), 0);
}

TEST(ScrollGeometry, ThumbLengthFollowsTheShownShareAndPositionTheFirstRow) {
    auto top = ThumbFor(Rows(40, 10, 0), 100, 8);
    ASSERT_TRUE(top);
    EXPECT_EQ(top->length, 25);
    EXPECT_EQ(top->offset, 0);
    auto bottom = ThumbFor(Rows(40, 10, 30), 100, 8);  // the last page
    ASSERT_TRUE(bottom);
    EXPECT_EQ(bottom->offset + bottom->length, 100);
    auto middle = ThumbFor(Rows(40, 10, 15), 100, 8);
    ASSERT_TRUE(middle);
    EXPECT_EQ(middle->offset, 38);  // 75 pixels of room, half way
    // A position past the last page (a control mid-update) stays in the track.
    auto past = ThumbFor(Rows(40, 10, 500), 100, 8);
    ASSERT_TRUE(past);
    EXPECT_EQ(past->offset + past->length, 100);
}

TEST(ScrollGeometry, HundredThousandRowsKeepAGrabbableThumbAndReachBothEnds) {
    auto first = ThumbFor(Rows(100000, 4, 0), 36, 10);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->length, 10);
    EXPECT_EQ(first->offset, 0);
    auto last = ThumbFor(Rows(100000, 4, 99996), 36, 10);
    ASSERT_TRUE(last);
    EXPECT_EQ(last->offset, 26);
    // The minimum never exceeds the track itself.
    auto tiny = ThumbFor(Rows(100000, 4, 0), 6, 10);
    ASSERT_TRUE(tiny);
    EXPECT_EQ(tiny->length, 6);
}

TEST(ScrollGeometry, DraggedThumbMapsBackToPositionsAtTheEndsAndBetween) {
    const ScrollRange r = Rows(100000, 4, 0);
    const int track = 200, thumb = 10;
    EXPECT_EQ(PositionForThumb(r, track, thumb, 0), 0);
    EXPECT_EQ(PositionForThumb(r, track, thumb, track - thumb), 99996);  // the last row shows
    EXPECT_EQ(PositionForThumb(r, track, thumb, 5000), 99996);           // dragged beyond the end
    EXPECT_EQ(PositionForThumb(r, track, thumb, -40), 0);
    EXPECT_EQ(PositionForThumb(r, track, thumb, 95), 49998);
    // Round trip: the thumb drawn for a dragged-to position lies where it was dropped.
    for (int offset : {0, 1, 17, 95, 150, 189, 190}) {
        ScrollRange at = r;
        at.pos = PositionForThumb(r, track, thumb, offset);
        auto drawn = ThumbFor(at, track, thumb);
        ASSERT_TRUE(drawn);
        EXPECT_EQ(drawn->offset, offset) << "dragged to " << offset;
    }
    // Nothing to scroll, or no room to move: the first position.
    EXPECT_EQ(PositionForThumb(Rows(3, 10, 0), track, thumb, 50), 0);
    EXPECT_EQ(PositionForThumb(Rows(30, 10, 0), 10, 10, 5), 0);
}

TEST(ScrollGeometry, RangesThatDoNotStartAtZero) {
    const ScrollRange pixels{0, 599, 200, 100};  // a horizontal range in pixels
    auto thumb = ThumbFor(pixels, 120, 8);
    ASSERT_TRUE(thumb);
    EXPECT_EQ(thumb->length, 40);
    EXPECT_EQ(thumb->offset, 20);
    const ScrollRange shifted{10, 49, 10, 10};
    EXPECT_EQ(LastPosition(shifted), 40);
    EXPECT_EQ(PositionForThumb(shifted, 100, 25, 75), 40);
}

TEST(ScrollGeometry, AutoScrollSpeedGrowsWithDistanceButNeverBelowOneTick) {
    EXPECT_EQ(AutoScrollTickInterval(1), 6);
    EXPECT_EQ(AutoScrollTickInterval(19), 6);
    EXPECT_EQ(AutoScrollTickInterval(20), 5);
    EXPECT_EQ(AutoScrollTickInterval(59), 4);
    EXPECT_EQ(AutoScrollTickInterval(100), 1);
    EXPECT_EQ(AutoScrollTickInterval(5000), 1);
    EXPECT_EQ(AutoScrollTickInterval(0), 6);
}

TEST(ScrollGeometry, AutoScrollBandsAtBothEdgesAndBeyond) {
    const int height = 200;
    EXPECT_EQ(AutoScrollDistance(50, height), 0);
    EXPECT_EQ(AutoScrollDistance(10, height), 0);
    EXPECT_EQ(AutoScrollDistance(9, height), -1);
    EXPECT_EQ(AutoScrollDistance(0, height), -10);
    EXPECT_EQ(AutoScrollDistance(-45, height), -55);  // above the tree
    EXPECT_EQ(AutoScrollDistance(190, height), 0);
    EXPECT_EQ(AutoScrollDistance(191, height), 1);
    EXPECT_EQ(AutoScrollDistance(260, height), 70);  // below the tree
}

}  // namespace
}  // namespace tvx
