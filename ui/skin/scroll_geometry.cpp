#include "ui/skin/scroll_geometry.h"

#include <algorithm>

namespace tvx {

namespace {
long long ShownCount(const ScrollRange& r) {
    const long long total = r.max - r.min + 1;
    return std::clamp<long long>(r.page, 1, std::max<long long>(total, 1));
}
}  // namespace

bool Scrollable(const ScrollRange& r) {
    if (r.max < r.min) return false;
    return r.max - r.min + 1 > std::max<long long>(r.page, 1);
}

long long LastPosition(const ScrollRange& r) {
    if (!Scrollable(r)) return r.min;
    return r.max - ShownCount(r) + 1;
}

std::optional<Thumb> ThumbFor(const ScrollRange& r, int trackLength, int minThumbLength) {
    if (!Scrollable(r) || trackLength <= 0) return std::nullopt;
    const long long total = r.max - r.min + 1;
    const long long shown = ShownCount(r);
    long long length = static_cast<long long>(trackLength) * shown / total;
    length = std::clamp<long long>(length, std::min(minThumbLength, trackLength), trackLength);
    const long long room = trackLength - length;
    const long long span = LastPosition(r) - r.min;
    const long long pos = std::clamp(r.pos, r.min, LastPosition(r));
    long long offset = span > 0 ? (room * (pos - r.min) + span / 2) / span : 0;
    offset = std::clamp<long long>(offset, 0, room);
    return Thumb{static_cast<int>(offset), static_cast<int>(length)};
}

long long PositionForThumb(const ScrollRange& r, int trackLength, int thumbLength, int thumbOffset) {
    if (!Scrollable(r)) return r.min;
    const long long room = trackLength - thumbLength;
    if (room <= 0) return r.min;
    const long long offset = std::clamp<long long>(thumbOffset, 0, room);
    const long long span = LastPosition(r) - r.min;
    return r.min + (offset * span + room / 2) / room;
}

int AutoScrollTickInterval(int distance) { return std::max(1, 6 - std::max(distance, 0) / 20); }

int AutoScrollDistance(int y, int height) {
    if (y < kAutoScrollBand) return -(kAutoScrollBand - y);
    if (y > height - kAutoScrollBand) return y - (height - kAutoScrollBand);
    return 0;
}

}  // namespace tvx
