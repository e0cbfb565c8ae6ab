#include "config/win32/candidate_pane.h"

namespace tvx::win {

void CandidatePane::Attach(HWND list, SkinListCtrl* skin) {
    skin_ = skin;
    view_.Attach(list, [this](size_t r, int) { return rows_[r].name; });
}

void CandidatePane::Set(std::vector<CandidateRow> rows) {
    rows_ = std::move(rows);
    if (sorted_) SortCandidates(rows_, ascending_);
    view_.Reset(rows_.size());
}

const CandidateRow* CandidatePane::FirstSelected() const {
    const long row = view_.FirstSelected();
    return row >= 0 && static_cast<size_t>(row) < rows_.size() ? &rows_[static_cast<size_t>(row)] : nullptr;
}

void CandidatePane::Find(const std::string& prefix) {
    const long current = view_.FirstSelected();
    const long row = FindByNamePrefix(rows_, prefix, current < 0 ? 0 : static_cast<size_t>(current));
    if (row >= 0) view_.SelectOnly(row);
}

void CandidatePane::Sort() {
    ascending_ = sorted_ ? !ascending_ : true;
    sorted_ = true;
    SortCandidates(rows_, ascending_);
    if (skin_) skin_->header().SetSortMark(0, ascending_);
    view_.Reset(rows_.size());
}

bool CandidatePane::HandleNotify(NMHDR* header) {
    if (view_.HandleNotify(header)) return true;
    if (header->hwndFrom != view_.hwnd() || header->code != LVN_COLUMNCLICK) return false;
    Sort();
    return true;
}

}  // namespace tvx::win
