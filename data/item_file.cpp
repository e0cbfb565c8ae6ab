#include "data/item_file.h"

#include "data/ansi_text.h"

#include <cstdio>

namespace tvx {

std::string_view CutAtCharacterBoundary(std::string_view text, size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    size_t end = 0;
    for (size_t i = 0; i < text.size();) {
        size_t width = IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
        if (i + width > maxBytes) break;
        i += width;
        end = i;
    }
    return text.substr(0, end);
}

namespace {
void AppendField(std::string& out, std::string_view field, size_t* cutFields) {
    std::string_view kept = CutAtCharacterBoundary(field, kItemFieldMaxBytes);
    if (kept.size() != field.size() && cutFields) ++*cutFields;
    char length[8];
    std::snprintf(length, sizeof length, "%04u", static_cast<unsigned>(kept.size()));
    out.append(length, 4);
    out.append(kept);
}
}  // namespace

std::string EncodeItemRecord(const LaunchItem& item, size_t* cutFields) {
    std::string out;
    size_t total = 36;
    for (int f = 0; f < LaunchItem::kFieldCount; ++f) total += item.Field(f).size();
    out.reserve(total);
    for (int f = 0; f < LaunchItem::kFieldCount; ++f) AppendField(out, item.Field(f), cutFields);
    return out;
}

std::string EncodeItemFile(const ItemStore& store, size_t* cutFields) {
    if (store.empty()) return std::string(1, '\0');
    std::string out(kItemFileHeaderSize, '\0');
    char count[24];
    std::snprintf(count, sizeof count, "%016llu", static_cast<unsigned long long>(store.size()));
    out.replace(100, 16, count, 16);
    for (const LaunchItem& item : store.items()) out += EncodeItemRecord(item, cutFields);
    return out;
}

ItemStore DecodeItemFile(std::string_view bytes) {
    ItemStore store;
    if (bytes.size() <= kItemFileHeaderSize) return store;
    size_t pos = kItemFileHeaderSize;
    while (pos < bytes.size()) {
        LaunchItem item;
        bool complete = true;
        for (int f = 0; f < LaunchItem::kFieldCount && complete; ++f) {
            if (bytes.size() - pos < 4) { complete = false; break; }
            long long length = ParseDecimal(bytes.substr(pos, 4));
            pos += 4;
            if (length < 1) continue;  // the empty text
            if (static_cast<unsigned long long>(length) > bytes.size() - pos) { complete = false; break; }
            std::string_view text = bytes.substr(pos, static_cast<size_t>(length));
            // Stored texts hold no NUL; a NUL ends the text as it would in memory.
            item.Field(f).assign(text.substr(0, text.find('\0')));
            pos += static_cast<size_t>(length);
        }
        if (!complete) break;
        store.Append(std::move(item));
    }
    return store;
}

}  // namespace tvx
