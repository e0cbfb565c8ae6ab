#include "data/field_text.h"

#include <cstring>

namespace tvx {

const char FieldText::kEmpty[1] = {'\0'};

void FieldText::Own(std::string_view text) {
    if (text.empty()) {
        Forget();
        return;
    }
    char* copy = new char[text.size() + 1];
    std::memcpy(copy, text.data(), text.size());
    copy[text.size()] = '\0';
    data_ = copy;
    bits_ = static_cast<uint32_t>(text.size()) | kOwnedBit;
}

FieldText& FieldText::assign(std::string_view text) {
    // The text may lie inside this field's own: copy it before letting go.
    if (owned() && text.data() >= data_ && text.data() <= data_ + size()) {
        FieldText copy(text);
        return *this = std::move(copy);
    }
    Release();
    Own(text);
    return *this;
}

}  // namespace tvx
