// libFuzzer target: any bytes as an entry name of an exchange archive. A name
// taken as safe must, once turned into a path of this system, stay inside
// the folder it is unpacked into: no leading separator, no drive or stream,
// no part that climbs out. The second byte of a double-byte character is
// part of its character and never a separator.
#include "data/ansi_text.h"
#include "exchange/exchange_rules.h"

#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    using namespace tvx;
    const std::string name(reinterpret_cast<const char*>(data), size);
    const bool safe = IsSafeEntryName(name);
    const std::string path = NativeEntryPath(name);
    if (path.size() != name.size()) std::abort();
    if (!safe) return 0;
    if (path.empty() || path[0] == '\\') std::abort();
    // ':' and control bytes can never be the second byte of a character.
    for (char c : path)
        if (c == ':' || (static_cast<unsigned char>(c) < 0x20)) std::abort();
    // The parts of the path between single-byte backslashes (0x5C can be
    // the second byte of a character, after a lead byte).
    std::vector<std::string> parts(1);
    for (size_t i = 0; i < path.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(path[i]);
        if (IsLeadByte(c) && i + 1 < path.size() && IsTrailByte(static_cast<unsigned char>(path[i + 1]))) {
            parts.back() += path.substr(i, 2);
            ++i;
            continue;
        }
        if (c == ':' || c < 0x20) std::abort();
        if (c == '\\') parts.emplace_back();
        else parts.back() += static_cast<char>(c);
    }
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::string& part = parts[i];
        if (part == "..") std::abort();
        if (!part.empty() && part.find_first_not_of(". ") == std::string::npos) std::abort();
    }
    return 0;
}
