// libFuzzer target: any bytes as an exchange archive, through the program's
// own reading and unpacking: the entry names and sizes from the directory
// (UTF-8 names through a converter, over-long names refused), the name and
// size rules, and the unpack loop into a scratch "folder" that records what
// is written. Nothing may be written for a refused archive, and every path
// written must stay inside the folder: relative, no ".." part, no drive or
// stream, no empty part, and a file only inside folders made before it.
#include "data/ansi_text.h"
#include "exchange/archive_unpack.h"

#include <minizip/unzip.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
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
    if (origin != ZLIB_FILEFUNC_SEEK_SET && origin != ZLIB_FILEFUNC_SEEK_CUR && origin != ZLIB_FILEFUNC_SEEK_END)
        return -1;
    ZPOS64_T base = origin == ZLIB_FILEFUNC_SEEK_SET ? 0 : origin == ZLIB_FILEFUNC_SEEK_CUR ? m->at : m->bytes.size();
    if (base + offset > m->bytes.size()) return -1;
    m->at = base + offset;
    return 0;
}
int Close(voidpf, voidpf) { return 0; }
int Error(voidpf, voidpf) { return 0; }

// A stand-in for the system's conversion: ASCII stays, anything else has no
// ANSI form unless it is one of two Chinese characters (as two GBK bytes).
bool ToAnsi(std::string_view utf8, std::string& ansi) {
    ansi.clear();
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            ansi += static_cast<char>(c);
            ++i;
        } else if (utf8.substr(i, 3) == "\xE4\xB8\xAD") {  // 中
            ansi += "\xD6\xD0";
            i += 3;
        } else if (utf8.substr(i, 3) == "\xE8\xA8\xBA") {  // 診, whose GBK form ends in "\"
            ansi += "\xD4\x5C";
            i += 3;
        } else {
            return false;
        }
    }
    return true;
}

// Splits a native path at "\" the way the unpacker does (by characters).
std::vector<std::string> PartsOf(const std::string& path) {
    std::vector<std::string> parts(1);
    for (size_t i = 0; i < path.size();) {
        const size_t width = tvx::StrictCharWidthAt(path, i);
        if (width == 1 && path[i] == '\\') parts.emplace_back();
        else parts.back().append(path, i, width);
        i += width;
    }
    return parts;
}

void MustStayInside(const std::string& path) {
    if (path.empty() || path.size() > tvx::kMaxEntryName) std::abort();
    for (const std::string& part : PartsOf(path)) {
        if (part.empty() || part.find_first_not_of(". ") == std::string::npos) std::abort();
        for (size_t i = 0; i < part.size();) {
            const size_t width = tvx::StrictCharWidthAt(part, i);
            const unsigned char c = static_cast<unsigned char>(part[i]);
            if (width == 1 && (c == ':' || c == '/' || c < 0x20)) std::abort();
            i += width;
        }
    }
}

// The scratch folder: what was made and written, checked as it happens.
class ScratchSink : public tvx::UnpackSink {
public:
    bool MakeFolder(const std::string& path) override {
        MustStayInside(path);
        folders_.insert(path);
        return true;
    }
    bool BeginFile(const std::string& path) override {
        MustStayInside(path);
        if (open_) std::abort();
        // Its folders were made first (a "\" inside a character is no folder).
        const std::vector<std::string> parts = PartsOf(path);
        std::string folder;
        for (size_t i = 0; i + 1 < parts.size(); ++i) {
            folder += (i ? "\\" : "") + parts[i];
            if (!folders_.count(folder)) std::abort();
        }
        open_ = true;
        files_[path].clear();
        current_ = path;
        return true;
    }
    bool Write(const char* data, size_t size) override {
        if (!open_) std::abort();
        std::string& file = files_[current_];
        if (file.size() < (1u << 20)) file.append(data, std::min<size_t>(size, (1u << 20) - file.size()));
        return true;
    }
    bool EndFile() override {
        if (!open_) std::abort();
        open_ = false;
        return true;
    }
    bool empty() const { return folders_.empty() && files_.empty(); }

private:
    std::set<std::string> folders_;
    std::map<std::string, std::string> files_;
    std::string current_;
    bool open_ = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    Memory memory{std::string_view(reinterpret_cast<const char*>(data), size)};
    zlib_filefunc64_def functions = {Open, Read, Write, Tell, Seek, Close, Error, &memory};
    unzFile unz = unzOpen2_64("memory", &functions);
    if (!unz) return 0;
    std::vector<tvx::ArchiveEntry> entries;
    if (tvx::ReadArchiveEntries(unz, ToAnsi, entries) && entries.size() <= 64) {
        for (const tvx::ArchiveEntry& entry : entries)
            if (entry.name.size() > tvx::kMaxEntryName) std::abort();  // conversion never makes a name longer
        ScratchSink sink;
        const tvx::UnpackResult result = tvx::UnpackArchiveEntries(unz, entries, sink);
        if (result == tvx::UnpackResult::UnsafeName && !sink.empty()) std::abort();  // refused: nothing written
        bool anyUnsafe = false;
        for (const tvx::ArchiveEntry& entry : entries) anyUnsafe = anyUnsafe || !tvx::IsSafeEntryName(entry.name);
        if (anyUnsafe && result != tvx::UnpackResult::UnsafeName) std::abort();
    }
    unzClose(unz);
    return 0;
}
