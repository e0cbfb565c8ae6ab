// The arithmetic of the skinned scroll bars and of the tree's drag
// auto-scroll, apart from any window: where the thumb lies for a scroll
// range, which position a dragged thumb stands for, and how fast a tree
// scrolls while a node is dragged near its edge.
#pragma once
#include <optional>

namespace tvx {

// A control's scroll range as the system keeps it: positions min..max, of
// which `page` are shown at once, the first shown being `pos`.
struct ScrollRange {
    long long min = 0;
    long long max = 0;
    long long page = 0;
    long long pos = 0;
};

// Whether there is more to see than what is shown.
bool Scrollable(const ScrollRange& range);

// The last position the first shown row can take (min when not scrollable).
long long LastPosition(const ScrollRange& range);

// The thumb inside the track (the part of the bar between its arrows), in
// pixels from the track's start. None when the range cannot scroll or the
// track has no room.
struct Thumb {
    int offset = 0;
    int length = 0;
};
std::optional<Thumb> ThumbFor(const ScrollRange& range, int trackLength, int minThumbLength);

// The position a thumb of `thumbLength` dragged to `thumbOffset` stands for.
long long PositionForThumb(const ScrollRange& range, int trackLength, int thumbLength, int thumbOffset);

// A tree scrolls one line every n-th tick of its 40 ms drag timer while the
// pointer is inside the 10-pixel band at its top or bottom edge (or beyond
// it). `distance` is how far the pointer is past the band's inner line, in
// pixels (1 and more); the further out, the faster: n = 6 - distance / 20,
// never below 1.
int AutoScrollTickInterval(int distance);

// How far past the inner line of an edge band the pointer is, or 0 when it
// is outside both bands. Negative for the top band, positive for the bottom.
int AutoScrollDistance(int pointerY, int clientHeight);
constexpr int kAutoScrollBand = 10;

}  // namespace tvx
