// A report list view that shows rows kept elsewhere: owner data, so the list
// asks for a cell's text only when it draws it, whatever the number of rows.
#pragma once
#include "base/win32/win_handles.h"

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace tvx::win {

class RowListView {
public:
    using CellText = std::function<std::string(size_t row, int column)>;
    using RowImage = std::function<int(size_t row)>;

    void Attach(HWND list, CellText text, RowImage image = {});
    HWND hwnd() const { return hwnd_; }

    // The rows changed: the new count, nothing selected, everything redrawn.
    void Reset(size_t count);
    // The same rows with new texts.
    void Refresh() const;
    size_t count() const { return count_; }

    std::vector<size_t> Selected() const;  // top to bottom
    long FirstSelected() const;
    // Selects and focuses one row and scrolls it into view; -1 selects none.
    void SelectOnly(long row);
    void SelectAll();
    void ClearSelection();

    // LVN_GETDISPINFO of this list; true when it was one.
    bool HandleNotify(NMHDR* header);

private:
    HWND hwnd_ = nullptr;
    CellText text_;
    RowImage image_;
    size_t count_ = 0;
};

}  // namespace tvx::win
