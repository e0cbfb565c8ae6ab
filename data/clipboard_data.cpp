#include "data/clipboard_data.h"

#include <algorithm>
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

std::string EncodeFormatNames(const std::vector<std::pair<unsigned, std::string>>& names) {
    std::string data;
    for (const auto& [format, name] : names) {
        if (name.empty() || name.find_first_of("\t\n") != std::string::npos) continue;
        data += std::to_string(format) + "\t" + name + "\n";
    }
    return data;
}

std::vector<std::pair<unsigned, std::string>> DecodeFormatNames(std::string_view data) {
    std::vector<std::pair<unsigned, std::string>> names;
    for (size_t at = 0; at < data.size();) {
        const size_t end = std::min(data.find('\n', at), data.size());
        const std::string_view line = data.substr(at, end - at);
        const size_t tab = line.find('\t');
        at = end + 1;
        if (tab == 0 || tab == std::string_view::npos || tab + 1 >= line.size() || tab > 7 ||
            line.find('\t', tab + 1) != std::string_view::npos)  // a name holds no tab
            continue;
        unsigned format = 0;
        bool digits = true;
        for (char c : line.substr(0, tab)) {
            if (c < '0' || c > '9') digits = false;
            else format = format * 10 + static_cast<unsigned>(c - '0');
        }
        if (digits) names.emplace_back(format, std::string(line.substr(tab + 1)));
    }
    return names;
}

}  // namespace tvx
