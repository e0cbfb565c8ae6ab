// Reading and unpacking an exchange archive, apart from any file system:
// the entry names from the archive's directory (UTF-8 names turned into the
// ANSI code page by a converter the caller gives), the refusal of names too
// long to read whole, of unsafe names and of archives that would unpack to
// far more than they hold, and the unpack loop that hands folders and file
// bytes to a sink. The Windows side gives a sink that writes into a folder;
// the fuzzer one that checks every path stays inside.
#pragma once
#include "exchange/exchange_rules.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tvx {

// Turns a UTF-8 entry name into the ANSI code page; false when the name has
// no ANSI form (it is then kept as it is, and is simply a name the import
// does not look for).
using AnsiConverter = std::function<bool(std::string_view utf8, std::string& ansi)>;

struct ArchiveEntry {
    std::string name;  // ANSI, "/" or "\" separators as stored
    EntrySize size;
};

// Longest entry name read: a longer one would be read cut, as another name.
constexpr size_t kMaxEntryName = 1023;

// Every entry of an open minizip archive (`unz` is its unzFile), in stored
// order; false when the directory cannot be read or a name is too long.
bool ReadArchiveEntries(void* unz, const AnsiConverter& toAnsi, std::vector<ArchiveEntry>& entries);

// Where unpacked entries go, by their native relative paths ("T\Data\a.stx").
class UnpackSink {
public:
    virtual ~UnpackSink() = default;
    virtual bool MakeFolder(const std::string& path) = 0;
    virtual bool BeginFile(const std::string& path) = 0;
    virtual bool Write(const char* data, size_t size) = 0;
    virtual bool EndFile() = 0;
};

enum class UnpackResult {
    Unpacked,
    Unreadable,   // no zip archive, or damaged: a CRC, a truncated entry
    UnsafeName,   // an entry would land outside the folder, or the archive would
                  // unpack to far more than it holds: nothing was written
    WriteFailed,  // the sink could not take the files (a full disk, say)
};

// Checks every name and the sizes first, then unpacks entry by entry: the
// folders of each entry's path, then its bytes. Nothing reaches the sink when
// a name or the sizes are refused.
UnpackResult UnpackArchiveEntries(void* unz, const std::vector<ArchiveEntry>& entries, UnpackSink& sink);

}  // namespace tvx
