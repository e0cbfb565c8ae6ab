// The configuration dialog's item-list pane: the rows of the listed catalog
// in their list, the item-info box that shows the selected row (short name,
// hot key, description), the in-place edit of a row's short name or
// description, the key pop-up of the hot-key box and the list's find box.
// The dialog decides which rows the pane shows and what a change of them
// means for the catalogs.
#pragma once
#include "services/item_rows.h"
#include "services/win32/row_list_view.h"
#include "ui/skin/win32/skin_list.h"

#include <functional>
#include <string>
#include <vector>

namespace tvx::win {

class ItemListPane {
public:
    struct Events {
        std::function<void(long row)> rowClicked;  // after the info box shows it
        std::function<void()> rowsReordered;       // a sort of the list
        std::function<void()> doubleClicked;
        std::function<void(bool on)> dragByBody;   // off while the key pop-up is open
    };
    // What the item-info box holds.
    struct Info {
        std::string shortName, hotkey1, hotkey2, description;
    };

    // The dialog's controls; `list` is the item list's skin (null: no
    // skinned bars). Its columns go in.
    void Attach(HWND dialog, SkinListCtrl* list, Events events);
    // The key pop-up's list gets its column and the key names.
    void FillKeys(SkinListCtrl* keys);

    std::vector<ItemRow>& rows() { return rows_; }
    const std::vector<ItemRow>& rows() const { return rows_; }
    RowListView& view() { return view_; }
    const RowListView& view() const { return view_; }
    // The item row showing that record, or -1.
    long RowShowing(size_t record) const;

    // New rows, in the order of the user's sort if he sorted; the first is
    // selected and shown.
    void Show(std::vector<ItemRow> rows);
    void ShowInfo(long row);
    void ClearInfo();
    Info ReadInfo() const;

    void Find();  // the find box changed
    void EndInplaceEdit();  // the edited text goes into its row
    void CloseKeyPopup();

    // The pane's messages, notifications and commands; true when handled.
    bool PreTranslate(const MSG& msg);
    bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    bool HandleNotify(NMHDR* header);
    bool HandleCommand(int id, int code, HWND control);

private:
    void Sort(int column);
    void BeginInplaceEdit(long row, int column);
    void OpenKeyPopup();
    void ChooseKey();

    HWND dialog_ = nullptr;
    HWND keys_ = nullptr, hotkey1_ = nullptr, hotkey2_ = nullptr;
    std::vector<ItemRow> rows_;
    RowListView view_;
    SkinListCtrl* skin_ = nullptr;
    Events events_;
    int sortColumn_ = -1;
    bool sortAscending_ = true;
    bool keyPopupOpen_ = false;
    HWND inplace_ = nullptr;  // a child of the list: it goes with it
    long inplaceRow_ = -1;
    int inplaceColumn_ = -1;
};

}  // namespace tvx::win
