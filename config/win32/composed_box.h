// The configuration dialog's composed box: the members of one composed entry
// in their order, with its name box, its "composed" check box and the record
// the box was loaded from. Saving it into the item rows and editing a member
// stay with the dialog, which owns the rows and the store.
#pragma once
#include "config/editor_rules.h"
#include "services/item_rows.h"
#include "services/win32/row_list_view.h"

#include <string>
#include <vector>

namespace tvx::win {

class ComposedBox {
public:
    // The dialog's check box, name box and member list.
    void Attach(HWND dialog, int checkId, int nameId, int listId);

    bool Checked() const;
    // What the name box holds now, trimmed.
    std::string TypedName() const;
    const std::vector<ComposedMember>& members() const { return members_; }
    // The record the box was loaded from or saved into last; -1 for none.
    long long source() const { return source_; }
    void SetSource(long long record) { source_ = record; }
    // Loaded from a record and changed since (members or name).
    bool Unsaved() const;

    // Empty, unchecked, from no record.
    void Clear();
    // Shows a composed entry's row: its members, its name, checked.
    void Load(const ItemRow& row);
    // Adds members; a name the box has (in any case) or a composed item's is
    // skipped. Returns false when one was refused because the stored form
    // cannot hold it (line breaks, "^^^").
    bool Add(const std::vector<ComposedMember>& added);
    void Delete(bool all);
    void Move(int delta);
    // The selected member, or -1.
    long Current() const { return view_.FirstSelected(); }
    void Replace(size_t at, ComposedMember member);
    // Saved under `name`: nothing unsaved any more.
    void Saved(const std::string& name);
    // The member list's texts; true when it was its notification.
    bool HandleNotify(NMHDR* header) { return view_.HandleNotify(header); }
    HWND list() const { return view_.hwnd(); }

private:
    HWND dialog_ = nullptr;
    int checkId_ = 0, nameId_ = 0;
    std::vector<ComposedMember> members_;
    RowListView view_;
    std::string name_;       // the name the box was loaded or saved with
    long long source_ = -1;
    bool modified_ = false;  // members changed since
};

}  // namespace tvx::win
