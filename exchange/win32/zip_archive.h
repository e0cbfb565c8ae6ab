// The container of the exchange archives: packing one folder into a zip
// archive (deflate) and unpacking a whole archive into a folder.
#pragma once
#include "exchange/archive_unpack.h"

#include <string>
#include <vector>

namespace tvx::win {

using tvx::UnpackResult;

// Packs `root`\`top` with everything below it into a new archive at
// `archivePath` (which is overwritten: callers pass a file of their own).
// Entry names are relative to `root` with "/" separators, so every entry
// begins with `top`; every sub-folder also gets a folder entry ("top/Data/"),
// so that an empty one travels too. False, with the archive file removed,
// when anything could not be read or written.
bool PackFolder(const std::string& root, const std::string& top, const std::string& archivePath);

// Unpacks every entry into `folder` (which must exist), creating sub-folders.
// Every entry name is checked before anything is written; one that would
// leave the folder refuses the whole archive. Names flagged as UTF-8 are
// turned into the ANSI code page; "\" and "/" both separate folders.
UnpackResult UnpackArchive(const std::string& archivePath, const std::string& folder);

// The entry names of an archive in their stored order; false when it cannot
// be read.
bool ListArchive(const std::string& archivePath, std::vector<std::string>& names);

}  // namespace tvx::win
