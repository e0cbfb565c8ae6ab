#include "config/win32/composed_box.h"

#include "data/ansi_text.h"
#include "base/win32/window_text.h"

namespace tvx::win {

void ComposedBox::Attach(HWND dialog, int checkId, int nameId, int listId) {
    dialog_ = dialog;
    checkId_ = checkId;
    nameId_ = nameId;
    view_.Attach(GetDlgItem(dialog, listId), [this](size_t r, int) { return members_[r].name; });
}

bool ComposedBox::Checked() const { return IsDlgButtonChecked(dialog_, checkId_) == BST_CHECKED; }

std::string ComposedBox::TypedName() const { return Trim(WindowText(GetDlgItem(dialog_, nameId_))); }

bool ComposedBox::Unsaved() const { return source_ >= 0 && (modified_ || TypedName() != name_); }

void ComposedBox::Clear() {
    members_.clear();
    view_.Reset(0);
    name_.clear();
    source_ = -1;
    modified_ = false;
    SetDlgItemTextA(dialog_, nameId_, "");
    CheckDlgButton(dialog_, checkId_, BST_UNCHECKED);
}

void ComposedBox::Load(const ItemRow& row) {
    members_ = ParseComposedCommand(row.command);
    view_.Reset(members_.size());
    name_ = ComposedNameOf(row.name);
    SetDlgItemTextA(dialog_, nameId_, name_.c_str());
    CheckDlgButton(dialog_, checkId_, BST_CHECKED);
    source_ = static_cast<long long>(row.index);
    modified_ = false;
}

bool ComposedBox::Add(const std::vector<ComposedMember>& added) {
    const size_t before = members_.size();
    bool refused = false;
    for (const ComposedMember& m : added) {
        if (IsComposedName(m.name)) continue;
        if (!FitsComposedForm(m)) {
            refused = true;
            continue;
        }
        bool present = false;
        for (const ComposedMember& have : members_)
            if (EqualsNoCase(have.name, m.name)) present = true;
        if (!present) members_.push_back(m);
    }
    if (before == 0 && members_.size() == 1 && TypedName().empty())
        SetDlgItemTextA(dialog_, nameId_, members_[0].name.c_str());
    if (members_.size() != before) {
        modified_ = true;
        view_.Reset(members_.size());
        view_.SelectOnly(static_cast<long>(members_.size() - 1));
    }
    return !refused;
}

void ComposedBox::Delete(bool all) {
    if (!Checked()) return;
    const size_t before = members_.size();
    if (all) {
        members_.clear();
    } else {
        const std::vector<size_t> selected = view_.Selected();
        for (auto it = selected.rbegin(); it != selected.rend(); ++it)
            members_.erase(members_.begin() + static_cast<std::ptrdiff_t>(*it));
    }
    if (members_.size() != before) modified_ = true;
    view_.Reset(members_.size());
}

void ComposedBox::Move(int delta) {
    if (!Checked()) return;
    const long current = view_.FirstSelected();
    const long target = current + delta;
    if (current < 0 || target < 0 || static_cast<size_t>(target) >= members_.size()) return;
    std::swap(members_[static_cast<size_t>(current)], members_[static_cast<size_t>(target)]);
    modified_ = true;
    view_.Refresh();
    view_.SelectOnly(target);  // the moved member stays the current one
}

void ComposedBox::Replace(size_t at, ComposedMember member) {
    if (at >= members_.size()) return;
    members_[at] = std::move(member);
    modified_ = true;
    view_.Refresh();
}

void ComposedBox::Saved(const std::string& name) {
    name_ = name;
    modified_ = false;
}

}  // namespace tvx::win
