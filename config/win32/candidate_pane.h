// The configuration dialog's candidate pane: what can become an item (the
// programs discovery found, addresses from the browsers' history), shown in
// its list with its own find box and sort. The dialog decides where a chosen
// candidate goes (the item list or the composed box).
#pragma once
#include "services/item_rows.h"
#include "services/win32/row_list_view.h"
#include "ui/skin/win32/skin_list.h"

#include <string>
#include <vector>

namespace tvx::win {

class CandidatePane {
public:
    // The list (its skin may be null: no skinned bars).
    void Attach(HWND list, SkinListCtrl* skin);
    HWND list() const { return view_.hwnd(); }

    std::vector<CandidateRow>& rows() { return rows_; }
    // The rows changed (some taken or given back): the list shows them again.
    void Refresh() { view_.Reset(rows_.size()); }
    // New candidates, in the order the user sorted the list in, if he did.
    void Set(std::vector<CandidateRow> rows);
    void Clear() { Set({}); }
    std::vector<size_t> Selected() const { return view_.Selected(); }
    // The first selected candidate, or null.
    const CandidateRow* FirstSelected() const;
    // Selects the next candidate whose name starts with `prefix`, from the selected one on.
    void Find(const std::string& prefix);
    // The list's own notifications (its texts, a click on its heading); true when it was one.
    bool HandleNotify(NMHDR* header);

private:
    void Sort();

    std::vector<CandidateRow> rows_;
    RowListView view_;
    SkinListCtrl* skin_ = nullptr;
    bool sorted_ = false;
    bool ascending_ = true;
};

}  // namespace tvx::win
