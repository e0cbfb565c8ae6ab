// Stored clipboard contents: capture the clipboard into a data file and put a
// data file back on the clipboard.
#pragma once
#include "base/win32/win_handles.h"
#include "data/installation.h"

#include <string>
#include <vector>

namespace tvx::win {

// What a capture did.
enum class CaptureOutcome {
    Stored,         // the file holds what the clipboard held
    Nothing,        // no format was usable: no file is left
    ClipboardBusy,  // another program held the clipboard: the earlier file, if any, is as it was
    NotWritten,     // the file could not be written: the earlier file, if any, is as it was
};
struct CaptureResult {
    CaptureOutcome outcome = CaptureOutcome::Nothing;
    std::vector<std::string> leftOut;  // formats too large to store, by name
};

// Writes one record per clipboard format whose data is a global memory
// block, in the clipboard's order (never format 49260, never a format whose
// data is a handle of another kind), and the names of registered formats
// after them. A format too large for its record head is left out and named.
// The clipboard is tried for about 200 ms: other programs (clipboard
// history among them) hold it for a moment right after each copy. An
// earlier file of that path is replaced only once the new one is whole.
CaptureResult CaptureClipboard(HWND owner, const std::string& path);

// Empties the clipboard and sets the file's formats in file order, a
// registered format under the number its name has in this session; a record
// that runs past the end stops the restore, keeping what was set. A missing
// file, or a clipboard another program holds beyond about 200 ms, reports 0
// and leaves the clipboard alone; otherwise 1.
int RestoreClipboard(HWND owner, const std::string& path);

// A fresh data-file path: folder + "\Data\" + a new GUID text + ".stx".
std::string NewClipboardDataPath(const Installation& installation);

}  // namespace tvx::win
