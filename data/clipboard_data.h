// The records of a clipboard data file (".stx" in the Data folder): per
// clipboard format an 8-byte format text, an 8-byte size text (decimal, NUL
// ended inside the 8 bytes) and the format's bytes. No header, no terminator.
#pragma once
#include <string>
#include <string_view>
#include <utility>
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

// Formats whose clipboard data is a handle of another kind (a bitmap, a
// palette, a metafile, an owner-drawn or GDI object), not a memory block:
// they are never stored.
constexpr bool IsHandleClipboardFormat(unsigned format) {
    return format == 2 || format == 3 || format == 9 || format == 14 ||  // bitmap, metafile, palette, enhanced metafile
           format == 0x80 || format == 0x82 || format == 0x83 || format == 0x8E ||  // owner display, display bitmaps and metafiles
           (format >= 0x300 && format <= 0x3FF);                                     // GDI objects
}

// Registered formats ("HTML Format", "Rich Text Format", OLE's) are numbers
// valid for one logon session only: their names travel in one record of
// format 0, which no clipboard format has, at the end of the file, one line
// "number TAB name" each. A reader that knows nothing of it still restores
// every other record (the clipboard refuses format 0).
constexpr unsigned kFormatNamesRecord = 0;
constexpr unsigned kFirstRegisteredFormat = 0xC000;
std::string EncodeFormatNames(const std::vector<std::pair<unsigned, std::string>>& names);
// The names of such a record; lines that are not "number TAB name" are skipped.
std::vector<std::pair<unsigned, std::string>> DecodeFormatNames(std::string_view data);

// The records in file order. A record whose head or data runs past the end,
// or whose size text is not a number from 0 up, ends the list: what came
// before it stays. Never reads outside `bytes`.
std::vector<ClipboardRecord> DecodeClipboardRecords(std::string_view bytes);

}  // namespace tvx
