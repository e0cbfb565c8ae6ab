// Stored clipboard contents: capture the clipboard into a data file and put a
// data file back on the clipboard.
#pragma once
#include "base/win32/win_handles.h"

#include <string>

namespace tvx::win {

// Writes one record per clipboard format whose data is a global memory
// block, in the clipboard's order (never format 49260, nor data too large
// for the record head). An earlier file of that path is replaced only once
// the new one is whole; when no format was usable no file is left. Reports 1.
int CaptureClipboard(HWND owner, const std::string& path);

// Empties the clipboard and sets the file's formats in file order; a record
// that runs past the end stops the restore, keeping what was set. A missing
// file reports 0 and leaves the clipboard alone; otherwise 1.
int RestoreClipboard(HWND owner, const std::string& path);

// A fresh data-file path: folder + "\Data\" + a new GUID text + ".stx".
std::string NewClipboardDataPath(const std::string& installDir);

}  // namespace tvx::win
