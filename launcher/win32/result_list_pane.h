// One of the launcher window's two result lists: the list (its rows are
// positions in the store, drawn on demand), its find box and its drop
// button. The launcher decides what opening one means for the controls
// around it, and what a chosen row starts.
#pragma once
#include "data/item_model.h"
#include "launcher/result_rows.h"
#include "ui/skin/win32/skin_list.h"

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

namespace tvx::win {

// Sent by a result list to its window after a key or a press changed its
// selection: wParam the selected row, lParam the list.
constexpr UINT kResultListNotify = 1424;

class ResultListPane {
public:
    ResultListPane(int listId, int boxId, KeyField key) : listId_(listId), boxId_(boxId), rows_{key, {}} {}

    // The window's list and box: its place, its styles and colours.
    void Prepare(HWND window);
    // Then, once the window skinned the list (`skin`, null: plain columns),
    // the columns, the short name first or the name first.
    void AddColumns(SkinListCtrl* skin, bool shortNameFirst);
    HWND list() const { return list_; }
    HWND box() const { return box_; }
    bool open() const { return open_; }

    // Shows the list at its place from the template, `height` tall.
    void Open(int height);
    // Hides the list; a list that has the focus hands it to its box first.
    void Close();

    void SetRows(ResultList rows);
    const ResultList& rows() const { return rows_; }
    long SelectedRow() const;
    void SelectRow(long row);
    std::string TypedText() const;
    // Selects the first row whose key starts with `text`; false (and the
    // selection as it was) when none does.
    bool SelectFirstMatch(const ItemStore& store, const std::string& text);
    // The store position a row shows, or -1.
    long long PositionOf(long row) const;

    // The list's notifications: the texts of its rows, and a click on one
    // (`clicked` gets the row).
    LRESULT OnNotify(const ItemStore& store, NMHDR* header, const std::function<void(size_t row)>& clicked) const;

private:
    const int listId_, boxId_;
    HWND list_ = nullptr, box_ = nullptr;
    ResultList rows_;
    RECT layout_{};  // place and width from the template, in client coordinates
    bool open_ = false;
};

}  // namespace tvx::win
