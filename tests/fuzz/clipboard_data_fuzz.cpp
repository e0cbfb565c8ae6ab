// libFuzzer target: any bytes as a clipboard data file. Decoding never reads
// outside the bytes, and the records it found encode to a file that decodes
// to the same records.
#include "data/clipboard_data.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    using namespace tvx;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<ClipboardRecord> records = DecodeClipboardRecords(bytes);
    std::string again;
    for (const ClipboardRecord& record : records) {
        if (record.data.data() < bytes.data() || record.data.data() + record.data.size() > bytes.data() + bytes.size())
            std::abort();
        if (record.format < 0) continue;
        if (!AppendClipboardRecord(again, static_cast<unsigned>(record.format), record.data)) std::abort();
    }
    const std::vector<ClipboardRecord> reread = DecodeClipboardRecords(again);
    size_t kept = 0;
    for (const ClipboardRecord& record : records) kept += record.format >= 0 ? 1 : 0;
    if (reread.size() != kept) std::abort();
    return 0;
}
