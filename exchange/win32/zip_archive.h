// Packing one folder into a zip archive (deflate) and unpacking a whole
// archive into a folder: the container of the exchange archives.
#pragma once
#include <string>

namespace tvx::win {

// Every file below `folder` (sub-folders included) goes into a new archive
// at `archivePath`, named relative to the folder with "/" separators.
bool PackFolder(const std::string& folder, const std::string& archivePath);

// Unpacks every entry into `folder`, creating sub-folders. Entries whose name
// would leave the folder (absolute, drive letters, "..") are refused, and the
// whole unpack reports failure.
bool UnpackArchive(const std::string& archivePath, const std::string& folder);

}  // namespace tvx::win
