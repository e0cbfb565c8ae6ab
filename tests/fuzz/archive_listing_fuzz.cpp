// libFuzzer target: any bytes as an exchange archive. Reading its listing
// and unpacking its entries (into memory) never fails badly, and every entry
// name is judged by the same rule the import uses before anything is written.
#include "exchange/exchange_rules.h"

#include <minizip/unzip.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

struct Memory {
    std::string_view bytes;
    ZPOS64_T at = 0;
};

voidpf Open(voidpf opaque, const void*, int) { return opaque; }
uLong Read(voidpf, voidpf stream, void* buffer, uLong size) {
    auto* m = static_cast<Memory*>(stream);
    const ZPOS64_T left = m->bytes.size() - std::min<ZPOS64_T>(m->at, m->bytes.size());
    const uLong n = static_cast<uLong>(std::min<ZPOS64_T>(size, left));
    std::memcpy(buffer, m->bytes.data() + m->at, n);
    m->at += n;
    return n;
}
uLong Write(voidpf, voidpf, const void*, uLong) { return 0; }
ZPOS64_T Tell(voidpf, voidpf stream) { return static_cast<Memory*>(stream)->at; }
long Seek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    auto* m = static_cast<Memory*>(stream);
    ZPOS64_T base = origin == ZLIB_FILEFUNC_SEEK_SET ? 0 : origin == ZLIB_FILEFUNC_SEEK_CUR ? m->at : m->bytes.size();
    if (origin != ZLIB_FILEFUNC_SEEK_SET && origin != ZLIB_FILEFUNC_SEEK_CUR && origin != ZLIB_FILEFUNC_SEEK_END)
        return -1;
    if (base + offset > m->bytes.size()) return -1;
    m->at = base + offset;
    return 0;
}
int Close(voidpf, voidpf) { return 0; }
int Error(voidpf, voidpf) { return 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    Memory memory{std::string_view(reinterpret_cast<const char*>(data), size)};
    zlib_filefunc64_def functions = {Open, Read, Write, Tell, Seek, Close, Error, &memory};
    unzFile unz = unzOpen2_64("memory", &functions);
    if (!unz) return 0;
    char buffer[4096];
    int entries = 0;
    for (int r = unzGoToFirstFile(unz); r == UNZ_OK && entries < 64; r = unzGoToNextFile(unz), ++entries) {
        char name[1024] = {};
        unz_file_info64 info;
        if (unzGetCurrentFileInfo64(unz, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK) break;
        const bool safe = tvx::IsSafeEntryName(name);
        const std::string native = tvx::NativeEntryPath(name);
        if (native.size() != std::strlen(name)) std::abort();
        if (safe && (native.empty() || native[0] == '\\' || native.find(':') != std::string::npos)) std::abort();
        if (unzOpenCurrentFile(unz) != UNZ_OK) continue;
        size_t total = 0;
        int got;
        while ((got = unzReadCurrentFile(unz, buffer, sizeof buffer)) > 0 && total < (1u << 20)) total += got;
        unzCloseCurrentFile(unz);
    }
    unzClose(unz);
    return 0;
}
