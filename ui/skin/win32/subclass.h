// Subclassing of windows, as comctl32's SetWindowSubclass does it (the same
// callback, several subclasses on one window, each handing a message on to
// the one before it), but with its chain kept where the window itself keeps
// data (GWLP_USERDATA). comctl32 looks its chain up among the window's
// properties on every message, and under Wine each such lookup is a call to
// the wineserver: three subclassed controls made every message to them cost
// a tenth of a millisecond, and inserting 2,000 catalogs into the tree took
// half a second. Messages reach the callbacks in their Unicode form, as they
// do through comctl32.
#pragma once
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <commctrl.h>

namespace tvx::win {

// Adds `proc` (with `id` and `data`) as the newest subclass of the window, or
// gives an existing one with the same proc and id the new data. False when
// the window cannot be subclassed (it keeps data of its own there).
bool AddSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data);
// Takes the subclass off; allowed from inside its own callback.
bool RemoveSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id);
// Hands the message on from inside a subclass's callback to the one before
// it, and in the end to the window's own procedure.
LRESULT CallNextSubclass(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

}  // namespace tvx::win
