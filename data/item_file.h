// The item file "Shortcut2.dat" as pure encode/decode over bytes.
//
// Layout: byte 0 the editing mark, bytes 1..99 zero, bytes 100..115 the record
// count as 16 zero-padded decimal digits, then the records. A record is the
// nine fields in order, each as a 4-digit decimal length and its bytes. An
// empty store is the single byte 0x00.
#pragma once
#include "data/item_model.h"

#include <functional>
#include <string>
#include <string_view>

namespace tvx {

constexpr size_t kItemFileHeaderSize = 116;
constexpr size_t kItemFieldMaxBytes = 9999;

// Encoding never writes a corrupt record: a field longer than 9999 bytes is
// cut at a character boundary (never inside a double-byte character), and
// `cutFields` (when given) counts the fields that were cut.
std::string EncodeItemRecord(const LaunchItem& item, size_t* cutFields = nullptr);
std::string EncodeItemFile(const ItemStore& store, size_t* cutFields = nullptr);
// The same bytes handed to `sink` a megabyte or so at a time (no buffer of
// the whole file); false as soon as the sink says false.
bool EncodeItemFileInChunks(const ItemStore& store, const std::function<bool(std::string_view)>& sink,
                            size_t* cutFields = nullptr);

// Records from offset 116 up to the end of the data; a record that would run
// past the end ends the decoding, keeping the records before it. Files of
// 116 bytes or less hold no records. `whole` (when given) tells whether the
// bytes were an item file to their end: nothing or the single byte of an
// empty store, or a header followed by complete records only, at least as many as
// the header counts (appends leave the count behind, never ahead).
// Decoding the file's own bytes in place: the store keeps them and its
// fields view them (the fastest load; the bytes are changed).
ItemStore DecodeItemFile(std::string_view bytes, bool* whole = nullptr);
ItemStore DecodeItemFile(std::string&& file, bool* whole = nullptr);

}  // namespace tvx
