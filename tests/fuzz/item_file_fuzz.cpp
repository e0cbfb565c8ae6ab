// libFuzzer target: any bytes as an item file. Decoding must never read out
// of bounds, must read what the plain field-by-field reading reads (also
// with the records repeated past the blocks it searches for NULs at a
// time), and what decodes must encode and decode to the same items.
#include "data/item_file.h"
#include "tests/support/field_by_field_reading.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    using namespace tvx;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (!reference::ReadsAsFieldByField(bytes)) std::abort();
    if (size > kItemFileHeaderSize) {
        std::string longer(bytes);
        while (longer.size() < 70000) longer += bytes.substr(kItemFileHeaderSize);
        if (!reference::ReadsAsFieldByField(longer)) std::abort();
    }
    ItemStore store = DecodeItemFile(bytes);
    size_t cut = 0;
    ItemStore again = DecodeItemFile(EncodeItemFile(store, &cut));
    if (cut != 0 || again.size() != store.size()) std::abort();
    for (size_t i = 0; i < store.size(); ++i)
        if (!(again[i] == store[i])) std::abort();
    return 0;
}
