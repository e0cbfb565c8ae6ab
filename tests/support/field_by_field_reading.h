// The item file read the plain way, one string per field, as the program
// read it before its fields became views into the file's own bytes. The
// tests and the fuzzer hold the program's reading to it.
#pragma once
#include "data/ansi_text.h"
#include "data/item_file.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace tvx::reference {

using Record = std::array<std::string, LaunchItem::kFieldCount>;

inline std::vector<Record> ReadFieldByField(std::string_view bytes, bool* whole) {
    std::vector<Record> records;
    *whole = bytes.size() <= 1;
    if (bytes.size() < kItemFileHeaderSize) return records;
    const long long hinted = ParseDecimal(bytes.substr(100, 16));
    if (bytes.size() == kItemFileHeaderSize) {
        *whole = hinted <= 0;
        return records;
    }
    size_t pos = kItemFileHeaderSize;
    while (pos < bytes.size()) {
        Record record;
        for (int f = 0; f < LaunchItem::kFieldCount; ++f) {
            if (bytes.size() - pos < 4) return *whole = false, records;
            const std::string_view four = bytes.substr(pos, 4);
            if (four.find_first_of("0123456789") == std::string_view::npos) return *whole = false, records;
            const long long length = ParseDecimal(four);
            pos += 4;
            if (length < 1) continue;
            if (static_cast<unsigned long long>(length) > bytes.size() - pos) return *whole = false, records;
            const std::string_view text = bytes.substr(pos, static_cast<size_t>(length));
            record[f] = std::string(text.substr(0, text.find('\0')));
            pos += static_cast<size_t>(length);
        }
        records.push_back(record);
    }
    *whole = hinted <= static_cast<long long>(records.size());
    return records;
}

// Whether the program's reading of `bytes` gives what the plain reading gives.
inline bool ReadsAsFieldByField(std::string_view bytes) {
    bool expectedWhole = false, whole = false;
    const std::vector<Record> expected = ReadFieldByField(bytes, &expectedWhole);
    const ItemStore store = DecodeItemFile(bytes, &whole);
    if (whole != expectedWhole || store.size() != expected.size()) return false;
    for (size_t i = 0; i < store.size(); ++i)
        for (int f = 0; f < LaunchItem::kFieldCount; ++f) {
            const FieldText& field = store[i].Field(f);
            // c_str() ends where the text ends
            if (field != expected[i][f] || field.c_str()[field.size()] != '\0') return false;
        }
    return true;
}

}  // namespace tvx::reference
