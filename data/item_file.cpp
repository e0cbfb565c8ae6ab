#include "data/item_file.h"

#include "data/ansi_text.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace tvx {

namespace {
// Most texts are a few dozen bytes: copied here rather than by a call to the
// C library's memcpy per field (under Wine that is a call into its msvcrt
// for every one of 900,000 fields).
inline void CopyText(char* to, const char* from, size_t n) {
    if (n > 64) {
        std::memcpy(to, from, n);
        return;
    }
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t word;
        std::memcpy(&word, from + i, 8);
        std::memcpy(to + i, &word, 8);
    }
    for (; i < n; ++i) to[i] = from[i];
}

// The first NUL of [text, text + n), or n. Eight bytes at a time: the C
// library's memchr is a byte loop under Wine.
size_t FindNul(const char* text, size_t n) {
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t word;
        std::memcpy(&word, text + i, 8);
        if ((word - 0x0101010101010101ULL) & ~word & 0x8080808080808080ULL) break;  // a zero byte in it
    }
    for (; i < n; ++i)
        if (text[i] == '\0') return i;
    return n;
}

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
        const FieldText& field = item.Field(f);
        const std::string_view kept = CutAtCharacterBoundary(field, kItemFieldMaxBytes);
        if (kept.size() != field.size() && cutFields) ++*cutFields;
        const size_t n = kept.size();
        at[0] = char('0' + n / 1000);
        at[1] = char('0' + n / 100 % 10);
        at[2] = char('0' + n / 10 % 10);
        at[3] = char('0' + n % 10);
        CopyText(at + 4, kept.data(), n);
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

bool EncodeItemFileInChunks(const ItemStore& store, const std::function<bool(std::string_view)>& sink,
                            size_t* cutFields) {
    if (store.empty()) return sink(std::string_view("\0", 1));
    // The header, then records gathered into a buffer of about a megabyte
    // that goes to the sink whenever the next record would not fit.
    constexpr size_t kChunk = 1 << 20;
    std::vector<char> buffer(std::max(kChunk, kItemFileHeaderSize));
    std::memset(buffer.data(), 0, kItemFileHeaderSize);
    char count[24];
    std::snprintf(count, sizeof count, "%016llu", static_cast<unsigned long long>(store.size()));
    std::memcpy(buffer.data() + 100, count, 16);
    size_t used = kItemFileHeaderSize;
    for (const LaunchItem& item : store.items()) {
        const size_t size = RecordSize(item);
        if (used + size > buffer.size()) {
            if (!sink(std::string_view(buffer.data(), used))) return false;
            used = 0;
            if (size > buffer.size()) buffer.resize(size);
        }
        used = static_cast<size_t>(WriteRecord(buffer.data() + used, item, cutFields) - buffer.data());
    }
    return sink(std::string_view(buffer.data(), used));
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
// A 4-byte length that is not four digits: a decimal conversion that stops
// at the first non-digit. Sets *damaged when the four bytes hold no digit.
long long LenientFieldLength(std::string_view four, bool* damaged) {
    // Read leniently as a number, but four bytes without a digit were never
    // written as a length: the file is damaged from here on.
    *damaged = four.find_first_of("0123456789") == std::string_view::npos;
    return ParseDecimal(four);
}

// Finds where a stored text stops at a NUL, searching the records ahead in
// blocks as the reading reaches them (one search per block, not per text).
// Texts hold no NUL as a rule.
class NulFinder {
public:
    NulFinder(const char* base, size_t size, size_t from) : base_(base), size_(size), searched_(from) {}
    // The length of the text [at, at + n) up to its first NUL.
    size_t Kept(size_t at, size_t n) {
        // A NUL in front of the text (the file's, or one this reading put
        // behind an earlier text) is passed: the search goes on from the
        // text itself. Only bytes in front of `at` ever get a NUL put in.
        if (found_ < at) {
            found_ = kNone;
            searched_ = at;
        }
        searched_ = std::max(searched_, at);
        while (found_ == kNone && searched_ < at + n) {
            const size_t end = std::min(size_, std::max(at + n, searched_ + kBlock));
            const size_t nul = FindNul(base_ + searched_, end - searched_);
            if (nul < end - searched_) found_ = searched_ + nul;
            searched_ = end;
        }
        return found_ < at + n ? found_ - at : n;
    }

private:
    static constexpr size_t kNone = static_cast<size_t>(-1);
    static constexpr size_t kBlock = 32 * 1024;
    const char* base_;
    size_t size_;
    size_t searched_;       // searched up to here
    size_t found_ = kNone;  // the first NUL of the searched bytes not yet passed
};
}  // namespace

ItemStore DecodeItemFile(std::string_view bytes, bool* whole) { return DecodeItemFile(std::string(bytes), whole); }

ItemStore DecodeItemFile(std::string&& file, bool* whole) {
    ItemStore store;
    const size_t size = file.size();
    // An empty store is one byte (the editing mark); a header shorter than
    // its 116 bytes is a cut file.
    if (whole) *whole = size <= 1;
    if (size < kItemFileHeaderSize) return store;
    // The header count is only a hint (appends leave it behind), bounded by
    // what the file can hold.
    const long long hinted = ParseDecimal(std::string_view(file).substr(100, 16));
    if (size == kItemFileHeaderSize) {
        if (whole) *whole = hinted <= 0;
        return store;
    }
    const size_t fit = (size - kItemFileHeaderSize) / 36;
    if (hinted > 0) store.Reserve(std::min(static_cast<size_t>(hinted) + 16, fit + 1));
    // The fields view the file's own bytes, which the store keeps: no text
    // is copied. Each text needs a NUL after it (c_str()), and the byte
    // after a text is the first digit of the next length (or the string's
    // own terminator at the end), so that digit is read before the NUL
    // takes its place.
    auto texts = std::make_shared<std::string>(std::move(file));
    char* const base = &(*texts)[0];
    store.AdoptTexts(texts);
    size_t pos = kItemFileHeaderSize;
    NulFinder nuls(base, size, pos);
    char* pendingNul = nullptr;  // where the NUL after the last text goes
    bool complete = true;
    while (pos < size && complete) {
        LaunchItem& item = store.EmplaceRead();
        for (int f = 0; f < LaunchItem::kFieldCount; ++f) {
            if (size - pos < 4) { complete = false; break; }
            const unsigned d0 = static_cast<unsigned char>(base[pos]) - '0', d1 = static_cast<unsigned char>(base[pos + 1]) - '0',
                           d2 = static_cast<unsigned char>(base[pos + 2]) - '0', d3 = static_cast<unsigned char>(base[pos + 3]) - '0';
            long long length;
            if ((d0 < 10) & (d1 < 10) & (d2 < 10) & (d3 < 10)) {
                length = d0 * 1000 + d1 * 100 + d2 * 10 + d3;
            } else {
                bool damaged = false;
                length = LenientFieldLength(std::string_view(base + pos, 4), &damaged);
                if (damaged) { complete = false; break; }
            }
            // The text before this length ends here: its NUL goes in now that
            // the length is read.
            if (pendingNul) {
                *pendingNul = '\0';
                pendingNul = nullptr;
            }
            pos += 4;
            if (length < 1) continue;  // the empty text
            if (static_cast<unsigned long long>(length) > size - pos) { complete = false; break; }
            const size_t n = static_cast<size_t>(length);
            // Stored texts hold no NUL; a NUL ends the text as it would in memory.
            (item.*kItemFieldOrder[f]).SetView(base + pos, nuls.Kept(pos, n));
            pos += n;
            pendingNul = base + pos;
        }
    }
    if (pendingNul) *pendingNul = '\0';  // after the last text read
    if (!complete) {
        store.DropLast();
        if (whole) *whole = false;
        return store;
    }
    // A full save writes the count of its records and appends only add to
    // them: a count above what the file holds means records went missing.
    if (whole) *whole = hinted <= static_cast<long long>(store.size());
    return store;
}

}  // namespace tvx
