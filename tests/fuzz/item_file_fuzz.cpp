// libFuzzer target: any bytes as an item file. Decoding must never read out
// of bounds, and what decodes must encode and decode to the same items.
#include "data/item_file.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    using namespace tvx;
    ItemStore store = DecodeItemFile(std::string_view(reinterpret_cast<const char*>(data), size));
    size_t cut = 0;
    ItemStore again = DecodeItemFile(EncodeItemFile(store, &cut));
    if (cut != 0 || again.size() != store.size()) std::abort();
    for (size_t i = 0; i < store.size(); ++i)
        if (!(again[i] == store[i])) std::abort();
    return 0;
}
