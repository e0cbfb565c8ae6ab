#include "data/clipboard_data.h"

#include <cstdio>

namespace tvx {

namespace {
// The decimal number of an 8-byte text field: digits up to the NUL (or the
// field's end); -1 when it holds no digits, a sign or garbage before the NUL.
long long FieldNumber(std::string_view field) {
    long long value = 0;
    size_t i = 0;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) value = value * 10 + (field[i] - '0');
    if (i == 0) return -1;
    if (i < field.size() && field[i] != '\0') return -1;
    return value;
}
}  // namespace

bool AppendClipboardRecord(std::string& file, unsigned format, std::string_view data) {
    // Both texts must end inside their 8 bytes: a longer one would be cut
    // into another number.
    if (data.size() > kMaxClipboardFormatBytes || format > kMaxClipboardFormatNumber) return false;
    char head[kClipboardRecordHead] = {};
    std::snprintf(head, 8, "%u", format);  // clipboard formats are 16-bit numbers
    std::snprintf(head + 8, 8, "%u", static_cast<unsigned>(data.size()));
    file.append(head, kClipboardRecordHead);
    file.append(data);
    return true;
}

std::vector<ClipboardRecord> DecodeClipboardRecords(std::string_view bytes) {
    std::vector<ClipboardRecord> records;
    size_t pos = 0;
    while (pos < bytes.size()) {
        if (bytes.size() - pos < kClipboardRecordHead) break;
        const long long format = FieldNumber(bytes.substr(pos, 8));
        const long long size = FieldNumber(bytes.substr(pos + 8, 8));
        if (format < 0 || size < 0) break;
        pos += kClipboardRecordHead;
        if (static_cast<unsigned long long>(size) > bytes.size() - pos) break;
        records.push_back({format, bytes.substr(pos, static_cast<size_t>(size))});
        pos += static_cast<size_t>(size);
    }
    return records;
}

}  // namespace tvx
