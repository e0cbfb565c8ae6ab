// The text of one field of a record. A field read from the item file is a
// view into the file's bytes, which the store keeps (a NUL follows each text
// there, so that c_str() works); a field set afterwards owns its own text.
// Both read alike. Copying a field gives the copy its own text (it may
// outlive the buffer); a copy of the store shares the buffer and keeps its
// views. A std::string is made only where asked for (str()), so that no
// copy hides in a comparison or a call.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tvx {

// Packed to 4 bytes: a record holds nine, and 100,000 records are read at
// once (12 bytes a field on x64 instead of 16, 8 on x86).
#pragma pack(push, 4)
class FieldText {
public:
    static constexpr size_t npos = std::string_view::npos;

    FieldText() = default;
    FieldText(const char* text) { Own(text ? std::string_view(text) : std::string_view()); }
    FieldText(std::string_view text) { Own(text); }
    FieldText(const std::string& text) { Own(text); }
    FieldText(const FieldText& other) { Own(other.view()); }
    FieldText(FieldText&& other) noexcept : data_(other.data_), bits_(other.bits_) { other.Forget(); }
    ~FieldText() { Release(); }

    FieldText& operator=(const FieldText& other) { return assign(other.view()); }
    FieldText& operator=(FieldText&& other) noexcept {
        if (this == &other) return *this;
        Release();
        data_ = other.data_;
        bits_ = other.bits_;
        other.Forget();
        return *this;
    }
    FieldText& operator=(const char* text) { return assign(text ? std::string_view(text) : std::string_view()); }
    FieldText& operator=(std::string_view text) { return assign(text); }
    FieldText& operator=(const std::string& text) { return assign(text); }
    FieldText& assign(std::string_view text);
    void clear() { assign(std::string_view()); }

    // A view of text that lives in a buffer of the store's, NUL after it.
    static FieldText ViewOf(const char* text, size_t size) {
        FieldText view;
        view.SetView(text, size);
        return view;
    }
    // Makes this field such a view (a reading fills its fresh fields so).
    void SetView(const char* text, size_t size) {
        Release();
        if (size == 0) return;
        data_ = text;
        bits_ = static_cast<uint32_t>(size);
    }
    // The same view again (for a store that shares the buffer).
    FieldText SharedCopy() const { return owned() ? FieldText(view()) : ViewOf(data_, size()); }
    bool IsView() const { return bits_ != 0 && !owned(); }

    const char* data() const { return data_; }
    const char* c_str() const { return data_; }
    size_t size() const { return bits_ & kSizeBits; }
    size_t length() const { return size(); }
    bool empty() const { return bits_ == 0; }
    std::string_view view() const { return std::string_view(data_, size()); }
    operator std::string_view() const { return view(); }
    explicit operator std::string() const { return std::string(view()); }
    std::string str() const { return std::string(view()); }

    char operator[](size_t i) const { return data_[i]; }
    char front() const { return data_[0]; }
    char back() const { return data_[size() - 1]; }
    const char* begin() const { return data_; }
    const char* end() const { return data_ + size(); }

    size_t find(std::string_view s, size_t from = 0) const { return view().find(s, from); }
    size_t find(char c, size_t from = 0) const { return view().find(c, from); }
    size_t rfind(std::string_view s, size_t from = npos) const { return view().rfind(s, from); }
    size_t rfind(char c, size_t from = npos) const { return view().rfind(c, from); }
    std::string substr(size_t at, size_t n = npos) const { return std::string(view().substr(at, n)); }
    int compare(std::string_view s) const { return view().compare(s); }

    // Comparisons and joins with other texts; found only where a field takes
    // part (hidden friends), so that they never stand between two other texts.
    friend bool operator==(const FieldText& a, const FieldText& b) { return a.view() == b.view(); }
    friend bool operator!=(const FieldText& a, const FieldText& b) { return a.view() != b.view(); }
    friend bool operator<(const FieldText& a, const FieldText& b) { return a.view() < b.view(); }
    friend bool operator==(const FieldText& a, std::string_view b) { return a.view() == b; }
    friend bool operator!=(const FieldText& a, std::string_view b) { return a.view() != b; }
    friend bool operator==(std::string_view a, const FieldText& b) { return a == b.view(); }
    friend bool operator!=(std::string_view a, const FieldText& b) { return a != b.view(); }
    friend bool operator==(const FieldText& a, const std::string& b) { return a.view() == b; }
    friend bool operator!=(const FieldText& a, const std::string& b) { return a.view() != b; }
    friend bool operator==(const std::string& a, const FieldText& b) { return a == b.view(); }
    friend bool operator!=(const std::string& a, const FieldText& b) { return a != b.view(); }
    friend bool operator==(const FieldText& a, const char* b) { return a.view() == b; }
    friend bool operator!=(const FieldText& a, const char* b) { return a.view() != b; }
    friend std::string operator+(const FieldText& a, std::string_view b) { return Join(a.view(), b); }
    friend std::string operator+(const FieldText& a, const std::string& b) { return Join(a.view(), b); }
    friend std::string operator+(const FieldText& a, const char* b) { return Join(a.view(), b); }
    friend std::string operator+(const FieldText& a, char b) { return Join(a.view(), std::string_view(&b, 1)); }
    friend std::string operator+(std::string_view a, const FieldText& b) { return Join(a, b.view()); }
    friend std::string operator+(const std::string& a, const FieldText& b) { return Join(a, b.view()); }
    friend std::string operator+(const char* a, const FieldText& b) { return Join(a, b.view()); }
    friend std::string operator+(std::string&& a, const FieldText& b) { return std::move(a.append(b.view())); }

private:
    static std::string Join(std::string_view a, std::string_view b) {
        std::string out;
        out.reserve(a.size() + b.size());
        out.append(a);
        out.append(b);
        return out;
    }
    void Own(std::string_view text);
    void Release() {
        if (owned()) delete[] data_;
        Forget();
    }
    void Forget() {
        data_ = kEmpty;
        bits_ = 0;
    }

    static const char kEmpty[1];
    bool owned() const { return (bits_ & kOwnedBit) != 0; }

    static constexpr uint32_t kOwnedBit = 0x80000000u;
    static constexpr uint32_t kSizeBits = 0x7FFFFFFFu;
    const char* data_ = kEmpty;
    uint32_t bits_ = 0;  // the size, and kOwnedBit when data_ is this field's own
};
#pragma pack(pop)

}  // namespace tvx
