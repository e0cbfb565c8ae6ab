#include "data/item_model.h"

#include "data/ansi_text.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>

namespace tvx {

bool IsGuidText(std::string_view text) {
    if (text.size() != 36) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        if (dash ? c != '-' : !((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f')))
            return false;
    }
    return true;
}

bool LaunchItem::IsRemoved() const { return ParseDecimal(Status) == -1; }

bool LaunchItem::operator==(const LaunchItem& o) const {
    for (int i = 0; i < kFieldCount; ++i)
        if (Field(i) != o.Field(i)) return false;
    return true;
}

ItemKind KindOf(const LaunchItem& item) {
    if (FindComposedMarker(item.ExePath) != std::string::npos) return ItemKind::Composed;
    if (EndsWithNoCase(item.ExePath, ".stx")) return ItemKind::Clipboard;
    if (EndsWithNoCase(item.ExePath, ".exe") || EndsWithNoCase(item.ExePath, ".cmd") ||
        EndsWithNoCase(item.ExePath, ".bat"))
        return ItemKind::Program;
    return ItemKind::Other;
}

ItemStore::ItemStore(const ItemStore& other) : texts_(other.texts_) {
    items_.reserve(other.items_.size());
    for (const LaunchItem& from : other.items_) {
        LaunchItem& copy = items_.emplace_back();
        for (int f = 0; f < LaunchItem::kFieldCount; ++f) copy.Field(f) = from.Field(f).SharedCopy();
    }
}

ItemStore& ItemStore::operator=(const ItemStore& other) {
    if (this != &other) *this = ItemStore(other);
    return *this;
}

size_t ItemStore::Append(LaunchItem item) {
    // A view into a buffer this store does not keep would dangle once its
    // own store is gone: such texts are copied.
    const char* begin = texts_ ? texts_->data() : nullptr;
    const char* end = texts_ ? texts_->data() + texts_->size() : nullptr;
    for (int f = 0; f < LaunchItem::kFieldCount; ++f) {
        FieldText& field = item.Field(f);
        if (field.IsView() && !(field.data() >= begin && field.data() < end)) field = FieldText(field.view());
    }
    items_.push_back(std::move(item));
    return items_.size() - 1;
}

void ItemStore::Remove(size_t index) {
    if (index >= items_.size()) return;
    LaunchItem& it = items_[index];
    FieldText reserved = std::move(it.Reserved);
    it = LaunchItem{};
    it.Reserved = std::move(reserved);
    it.Status = "-1";
}

bool ItemStore::IsLive(long long index) const {
    return index >= 0 && static_cast<unsigned long long>(index) < items_.size() &&
           !items_[static_cast<size_t>(index)].IsRemoved();
}

std::string AppendMember(std::string_view nodeData, size_t index) {
    std::string out(nodeData);
    out += nodeData.find('|') != std::string_view::npos ? "," : "|";
    out += std::to_string(index);
    return out;
}

std::vector<size_t> ReadMemberList(std::string_view nodeData, const ItemStore& store) {
    std::vector<size_t> members;
    size_t bar = nodeData.find('|');
    if (bar == std::string_view::npos) return members;
    std::string_view list = nodeData.substr(bar + 1);
    size_t start = 0;
    while (start <= list.size()) {
        size_t comma = list.find(',', start);
        std::string_view piece = list.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        if (!piece.empty()) {
            long long index = ParseDecimal(piece);
            if (store.IsLive(index)) members.push_back(static_cast<size_t>(index));
        }
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return members;
}

std::string_view NodeIdOf(std::string_view nodeData) {
    // A NodeID is 36 characters; stopping at "|" as well keeps a damaged,
    // shorter id from dragging the member list into its children's records.
    return nodeData.substr(0, std::min<size_t>(36, nodeData.find('|')));
}

std::string FormatGuidText(const GuidBytes& g) {
    char text[64];
    std::snprintf(text, sizeof text, "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X", static_cast<unsigned>(g.data1),
                  static_cast<unsigned>(g.data2), static_cast<unsigned>(g.data3), g.data4[0], g.data4[1], g.data4[2],
                  g.data4[3], g.data4[4], g.data4[5], g.data4[6], g.data4[7]);
    return std::string(text, 36);
}

GuidTextSource::GuidTextSource(GuidGenerator generator) : generator_(std::move(generator)) {
    std::random_device device;
    fallbackState_ = (static_cast<uint64_t>(device()) << 32) ^ device() ^
                     static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

namespace {
uint64_t SplitMix64(uint64_t& state) {
    uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}
}  // namespace

std::string GuidTextSource::NewGuidText() {
    GuidBytes g;
    if (!generator_ || !generator_(g)) {
        const uint64_t a = SplitMix64(fallbackState_), b = SplitMix64(fallbackState_);
        g.data1 = static_cast<uint32_t>(a >> 32);
        g.data2 = static_cast<uint16_t>(a >> 16);
        g.data3 = static_cast<uint16_t>((a & 0x0FFF) | 0x4000);  // version 4: random
        for (int i = 0; i < 8; ++i) g.data4[static_cast<size_t>(i)] = static_cast<uint8_t>(b >> (8 * i));
        g.data4[0] = static_cast<uint8_t>((g.data4[0] & 0x3F) | 0x80);
    }
    return FormatGuidText(g);
}

}  // namespace tvx
