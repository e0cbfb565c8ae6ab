// The records of a clipboard data file (".stx" in the Data folder): per
// clipboard format an 8-byte format text, an 8-byte size text (decimal, NUL
// ended inside the 8 bytes) and the format's bytes. No header, no terminator.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace tvx {

constexpr unsigned kSkippedClipboardFormat = 49260;  // never stored
constexpr size_t kClipboardRecordHead = 16;
// The size text must end inside its 8 bytes: at most 9,999,999 bytes a format.
constexpr size_t kMaxClipboardFormatBytes = 9999999;
constexpr unsigned kMaxClipboardFormatNumber = 9999999;  // real ones are 16-bit

// Appends one record; returns false, appending nothing, for a record the
// head cannot describe (10,000,000 bytes or more, or a format number that
// large).
bool AppendClipboardRecord(std::string& file, unsigned format, std::string_view data);

struct ClipboardRecord {
    long long format;
    std::string_view data;  // points into the decoded bytes
};

// The records in file order. A record whose head or data runs past the end,
// or whose size text is not a number from 0 up, ends the list: what came
// before it stays. Never reads outside `bytes`.
std::vector<ClipboardRecord> DecodeClipboardRecords(std::string_view bytes);

}  // namespace tvx
