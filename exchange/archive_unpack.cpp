#include "exchange/archive_unpack.h"

#include "data/ansi_text.h"

#include <minizip/unzip.h>

namespace tvx {

namespace {
constexpr unsigned long kUtf8NameFlag = 1u << 11;
constexpr size_t kBufferSize = 256 * 1024;
}  // namespace

bool ReadArchiveEntries(void* unz, const AnsiConverter& toAnsi, std::vector<ArchiveEntry>& entries) {
    int r = unzGoToFirstFile(unz);
    for (; r == UNZ_OK; r = unzGoToNextFile(unz)) {
        char name[kMaxEntryName + 1] = {};
        unz_file_info64 info;
        if (unzGetCurrentFileInfo64(unz, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK) return false;
        if (info.size_filename > kMaxEntryName) return false;  // cut names would be other names
        ArchiveEntry entry;
        entry.name.assign(name, info.size_filename);
        entry.name.resize(std::string_view(entry.name).find('\0') == std::string_view::npos
                              ? entry.name.size()
                              : std::string_view(entry.name).find('\0'));
        std::string ansi;
        if ((info.flag & kUtf8NameFlag) && toAnsi && toAnsi(entry.name, ansi)) entry.name = std::move(ansi);
        entry.size = {info.compressed_size, info.uncompressed_size};
        entries.push_back(std::move(entry));
    }
    return r == UNZ_END_OF_LIST_OF_FILE;
}

namespace {
// Each "\" of the native path (found by characters) ends a folder.
bool MakeFoldersFor(const std::string& nativePath, UnpackSink& sink) {
    for (size_t i = 0; i < nativePath.size();) {
        const size_t width = StrictCharWidthAt(nativePath, i);  // the rule the entry name was judged by
        if (width == 1 && nativePath[i] == '\\' && !sink.MakeFolder(nativePath.substr(0, i))) return false;
        i += width;
    }
    return true;
}
}  // namespace

UnpackResult UnpackArchiveEntries(void* unz, const std::vector<ArchiveEntry>& entries, UnpackSink& sink) {
    std::vector<EntrySize> sizes;
    for (const ArchiveEntry& entry : entries) {
        if (!IsSafeEntryName(entry.name)) return UnpackResult::UnsafeName;
        sizes.push_back(entry.size);
    }
    // The reader never gives more than an entry's stated size, so the
    // directory's sizes bound what is written.
    if (!ArchiveSizesSafe(sizes)) return UnpackResult::UnsafeName;

    std::vector<char> buffer(kBufferSize);
    size_t at = 0;
    for (int r = unzGoToFirstFile(unz); r == UNZ_OK; r = unzGoToNextFile(unz), ++at) {
        if (at >= entries.size()) return UnpackResult::Unreadable;
        const std::string native = NativeEntryPath(entries[at].name);
        if (!MakeFoldersFor(native, sink)) return UnpackResult::WriteFailed;
        if (IsFolderEntry(entries[at].name)) continue;
        if (unzOpenCurrentFile(unz) != UNZ_OK) return UnpackResult::Unreadable;
        if (!sink.BeginFile(native)) {
            unzCloseCurrentFile(unz);
            return UnpackResult::WriteFailed;
        }
        int got;
        while ((got = unzReadCurrentFile(unz, buffer.data(), static_cast<unsigned>(buffer.size()))) > 0) {
            if (!sink.Write(buffer.data(), static_cast<size_t>(got))) {
                sink.EndFile();
                unzCloseCurrentFile(unz);
                return UnpackResult::WriteFailed;
            }
        }
        const bool written = sink.EndFile();
        // Closing checks the CRC of what was read.
        if (unzCloseCurrentFile(unz) != UNZ_OK || got < 0) return UnpackResult::Unreadable;
        if (!written) return UnpackResult::WriteFailed;
    }
    return at == entries.size() ? UnpackResult::Unpacked : UnpackResult::Unreadable;
}

}  // namespace tvx
