#include "data/item_file.h"

#include "data/ansi_text.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace tvx {

namespace {
size_t RecordSize(const LaunchItem& item) {
    size_t total = 4 * LaunchItem::kFieldCount;
    for (int f = 0; f < LaunchItem::kFieldCount; ++f)
        total += std::min(item.Field(f).size(), kItemFieldMaxBytes);
    return total;
}

// Writes the record at `at`, which has room for RecordSize(item): each
// field as its 4-digit length and its bytes, cut to 9999 bytes at a
// character boundary. Returns the end.
char* WriteRecord(char* at, const LaunchItem& item, size_t* cutFields) {
    for (int f = 0; f < LaunchItem::kFieldCount; ++f) {
        const std::string& field = item.Field(f);
        const std::string_view kept = CutAtCharacterBoundary(field, kItemFieldMaxBytes);
        if (kept.size() != field.size() && cutFields) ++*cutFields;
        const size_t n = kept.size();
        at[0] = char('0' + n / 1000);
        at[1] = char('0' + n / 100 % 10);
        at[2] = char('0' + n / 10 % 10);
        at[3] = char('0' + n % 10);
        if (n) std::memcpy(at + 4, kept.data(), n);
        at += 4 + n;
    }
    return at;
}
}  // namespace

std::string EncodeItemRecord(const LaunchItem& item, size_t* cutFields) {
    std::string out(RecordSize(item), '\0');
    out.resize(static_cast<size_t>(WriteRecord(&out[0], item, cutFields) - out.data()));
    return out;
}

std::string EncodeItemFile(const ItemStore& store, size_t* cutFields) {
    if (store.empty()) return std::string(1, '\0');
    size_t total = kItemFileHeaderSize;
    for (const LaunchItem& item : store.items()) total += RecordSize(item);
    // One buffer of the largest size the records can take (a field cut at
    // a character boundary may come out a byte shorter), filled in place.
    std::string out(total, '\0');
    char count[24];
    std::snprintf(count, sizeof count, "%016llu", static_cast<unsigned long long>(store.size()));
    out.replace(100, 16, count, 16);
    char* at = &out[kItemFileHeaderSize];
    for (const LaunchItem& item : store.items()) at = WriteRecord(at, item, cutFields);
    out.resize(static_cast<size_t>(at - out.data()));
    return out;
}

namespace {
// The 4-digit length: the common all-digit case directly, anything else as
// a decimal conversion that stops at the first non-digit.
// Sets *damaged when the four bytes hold no digit at all.
long long FieldLength(std::string_view four, bool* damaged) {
    const unsigned d0 = static_cast<unsigned char>(four[0]) - '0', d1 = static_cast<unsigned char>(four[1]) - '0',
                   d2 = static_cast<unsigned char>(four[2]) - '0', d3 = static_cast<unsigned char>(four[3]) - '0';
    if ((d0 | d1 | d2 | d3) < 10) return d0 * 1000 + d1 * 100 + d2 * 10 + d3;
    // Read leniently as a number, but four bytes without a digit were never
    // written as a length: the file is damaged from here on.
    *damaged = four.find_first_of("0123456789") == std::string_view::npos;
    return ParseDecimal(four);
}
}  // namespace

ItemStore DecodeItemFile(std::string_view bytes, bool* whole) {
    ItemStore store;
    // An empty store is one byte (the editing mark); a header shorter than
    // its 116 bytes is a cut file.
    if (whole) *whole = bytes.size() <= 1;
    if (bytes.size() < kItemFileHeaderSize) return store;
    // The header count is only a hint (appends leave it behind), bounded by
    // what the file can hold.
    const long long hinted = ParseDecimal(bytes.substr(100, 16));
    if (bytes.size() == kItemFileHeaderSize) {
        if (whole) *whole = hinted <= 0;
        return store;
    }
    const size_t fit = (bytes.size() - kItemFileHeaderSize) / 36;
    if (hinted > 0) store.Reserve(std::min(static_cast<size_t>(hinted) + 16, fit + 1));
    size_t pos = kItemFileHeaderSize;
    while (pos < bytes.size()) {
        LaunchItem item;
        bool complete = true;
        for (int f = 0; f < LaunchItem::kFieldCount && complete; ++f) {
            if (bytes.size() - pos < 4) { complete = false; break; }
            bool damaged = false;
            long long length = FieldLength(bytes.substr(pos, 4), &damaged);
            if (damaged) { complete = false; break; }
            pos += 4;
            if (length < 1) continue;  // the empty text
            if (static_cast<unsigned long long>(length) > bytes.size() - pos) { complete = false; break; }
            std::string_view text = bytes.substr(pos, static_cast<size_t>(length));
            // Stored texts hold no NUL; a NUL ends the text as it would in memory.
            item.Field(f).assign(text.substr(0, text.find('\0')));
            pos += static_cast<size_t>(length);
        }
        if (!complete) {
            if (whole) *whole = false;
            return store;
        }
        store.Append(std::move(item));
    }
    // A full save writes the count of its records and appends only add to
    // them: a count above what the file holds means records went missing.
    if (whole) *whole = hinted <= static_cast<long long>(store.size());
    return store;
}

}  // namespace tvx
