#include "data/ansi_text.h"

namespace tvx {

std::string Trim(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && IsBlank(text[b])) ++b;
    while (e > b && IsBlank(text[e - 1])) --e;
    return std::string(text.substr(b, e - b));
}

namespace {
template <typename F>
std::string MapSingleBytes(std::string_view text, F map) {
    std::string out(text);
    for (size_t i = 0; i < out.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(out[i]);
        if (IsLeadByte(c)) { ++i; continue; }  // skip the whole double-byte character
        out[i] = map(out[i]);
    }
    return out;
}
}  // namespace

std::string ToLowerAnsi(std::string_view text) {
    return MapSingleBytes(text, [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; });
}

std::string ToUpperAnsi(std::string_view text) {
    return MapSingleBytes(text, [](char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; });
}

long long ParseDecimal(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value < 100000000000000000LL) value = value * 10 + (text[i] - '0');  // saturate, never overflow
    }
    return negative ? -value : value;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (IsLeadByte(x)) {  // a double-byte character compares byte for byte
            if (x != y) return false;
            if (i + 1 < a.size()) {
                if (a[i + 1] != b[i + 1]) return false;
                ++i;
            }
            continue;
        }
        const unsigned char lx = (x >= 'A' && x <= 'Z') ? x + 32 : x, ly = (y >= 'A' && y <= 'Z') ? y + 32 : y;
        if (lx != ly) return false;
    }
    return true;
}

bool EndsWithNoCase(std::string_view text, std::string_view tail) {
    if (text.size() < tail.size()) return false;
    return EqualsNoCase(text.substr(text.size() - tail.size()), tail);
}

std::string_view CutAtCharacterBoundary(std::string_view text, size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    size_t end = 0;
    for (size_t i = 0; i < text.size();) {
        size_t width = IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
        if (i + width > maxBytes) break;
        i += width;
        end = i;
    }
    return text.substr(0, end);
}

size_t CopyToCharBuffer(std::string_view text, char* buffer, size_t size) {
    if (!buffer || size == 0) return 0;
    const std::string_view kept = CutAtCharacterBoundary(text, size - 1);
    kept.copy(buffer, kept.size());
    buffer[kept.size()] = '\0';
    return kept.size();
}

size_t FindLastChar(std::string_view text, char c) {
    size_t found = std::string_view::npos;
    for (size_t i = 0; i < text.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
            ++i;  // the whole double-byte character
            continue;
        }
        if (text[i] == c) found = i;
    }
    return found;
}

namespace {
size_t CharWidthAt(std::string_view text, size_t i) {
    return IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}
}  // namespace

bool EndsInsideCharacter(std::string_view text) {
    size_t i = 0;
    while (i + 1 < text.size()) i += CharWidthAt(text, i);
    return i + 1 == text.size() && IsLeadByte(static_cast<unsigned char>(text[i]));
}

size_t FindWhole(std::string_view text, std::string_view needle, size_t from) {
    if (needle.empty() || from > text.size()) return std::string_view::npos;
    size_t boundary = from;  // always a character boundary at or before the next candidate
    for (;;) {
        const size_t hit = text.find(needle, boundary);
        if (hit == std::string_view::npos) return hit;
        while (boundary < hit) boundary += CharWidthAt(text, boundary);
        if (boundary == hit) {
            size_t end = hit;
            while (end < hit + needle.size()) end += CharWidthAt(text, end);
            if (end == hit + needle.size()) return hit;
            boundary += CharWidthAt(text, boundary);  // the match ends inside a character: look further on
        }
        // else the hit began with a second byte: the walk is past it already
    }
}

std::string FileTitleOf(std::string_view path) {
    const size_t slash = FindLastChar(path, '\\');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const size_t dot = FindLastChar(name, '.');
    return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}

}  // namespace tvx
