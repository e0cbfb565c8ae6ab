// libFuzzer target: any bytes as a clipboard data file. Decoding never reads
// outside the bytes, and the records it found (those with a format number)
// encode to a file that decodes to the same formats and the same bytes, in
// the same order.
#include "data/clipboard_data.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    using namespace tvx;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<ClipboardRecord> records = DecodeClipboardRecords(bytes);
    std::string again;
    std::vector<ClipboardRecord> kept;
    for (const ClipboardRecord& record : records) {
        if (record.data.data() < bytes.data() || record.data.data() + record.data.size() > bytes.data() + bytes.size())
            std::abort();
        // A format text of eight digits (no NUL) reads, but no record head can
        // hold it again: such a record is not written.
        if (record.format < 0 || record.format > kMaxClipboardFormatNumber) continue;
        if (!AppendClipboardRecord(again, static_cast<unsigned>(record.format), record.data)) std::abort();
        kept.push_back(record);
    }
    const std::vector<ClipboardRecord> reread = DecodeClipboardRecords(again);
    if (reread.size() != kept.size()) std::abort();
    for (size_t i = 0; i < kept.size(); ++i)
        if (reread[i].format != kept[i].format || reread[i].data != kept[i].data) std::abort();
    // The names of registered formats: what is read is written again the same.
    const auto names = DecodeFormatNames(bytes);
    if (DecodeFormatNames(EncodeFormatNames(names)) != names) std::abort();
    return 0;
}
