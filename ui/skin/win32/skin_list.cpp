#include "ui/skin/win32/skin_list.h"

#include "ui/skin/win32/subclass.h"

#include <algorithm>

namespace tvx::win {

// ---- CHeaderCtrlCl -------------------------------------------------------------

CHeaderCtrlCl::~CHeaderCtrlCl() {
    if (hwnd_) RemoveSubclass(hwnd_, Proc, 1);
}

bool CHeaderCtrlCl::Attach(HWND header) {
    if (!header || hwnd_) return false;
    hwnd_ = header;
    return AddSubclass(header, Proc, 1, reinterpret_cast<DWORD_PTR>(this)) != FALSE;
}

void CHeaderCtrlCl::SetColor(COLORREF color) {
    color_ = color;
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void CHeaderCtrlCl::SetTextColor(COLORREF color) {
    textColor_ = color;
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void CHeaderCtrlCl::SetAlignment(int column, int code) {
    if (column < 0) return;
    if (alignment_.size() <= static_cast<size_t>(column)) alignment_.resize(static_cast<size_t>(column) + 1, 0);
    alignment_[static_cast<size_t>(column)] = code;
}

void CHeaderCtrlCl::SetSortMark(int column, bool ascending) {
    sortColumn_ = column;
    sortAscending_ = ascending;
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void CHeaderCtrlCl::Paint() {
    PaintDC paint(hwnd_);
    const HDC dc = paint.get();
    RECT client{};
    GetClientRect(hwnd_, &client);
    UniqueGdi<HBRUSH> face(CreateSolidBrush(color_));
    UniqueGdi<HPEN> separator(CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0));
    if (!font) font = reinterpret_cast<HFONT>(SendMessageA(GetParent(hwnd_), WM_GETFONT, 0, 0));
    SelectGuard fontGuard(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    SelectGuard penGuard(dc, separator.get());
    SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, textColor_);
    const int count = static_cast<int>(SendMessageA(hwnd_, HDM_GETITEMCOUNT, 0, 0));
    int right = client.left;
    for (int i = 0; i < count; ++i) {
        RECT item{};
        SendMessageA(hwnd_, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        right = std::max(right, static_cast<int>(item.right));
        if (item.right <= item.left) continue;
        FillRect(dc, &item, face.get());
        MoveToEx(dc, item.right - 1, item.top + 2, nullptr);
        LineTo(dc, item.right - 1, item.bottom - 2);
        char text[260] = {};
        HDITEMA hd = {};
        hd.mask = HDI_TEXT;
        hd.pszText = text;
        hd.cchTextMax = sizeof text;
        SendMessageA(hwnd_, HDM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&hd));
        RECT textRc = item;
        OffsetRect(&textRc, 0, 2);
        textRc.left += 3;
        textRc.right -= 3;
        if (i == sortColumn_) {
            // A small triangle at the right end: up for ascending, down for descending.
            const int cx = textRc.right - 4, cy = (item.top + item.bottom) / 2 + 1;
            const int d = sortAscending_ ? -2 : 2;
            POINT mark[3] = {{cx - 3, cy - d}, {cx + 3, cy - d}, {cx, cy + d}};
            UniqueGdi<HBRUSH> ink(CreateSolidBrush(textColor_));
            SelectGuard b(dc, ink.get());
            SelectGuard p(dc, GetStockObject(NULL_PEN));
            Polygon(dc, mark, 3);
            textRc.right -= 10;
        }
        const int code = static_cast<size_t>(i) < alignment_.size() ? alignment_[static_cast<size_t>(i)] : 0;
        const UINT align = code == 1 ? DT_CENTER : code == 2 ? DT_RIGHT : DT_LEFT;
        DrawTextA(dc, text, -1, &textRc, align | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    // The space right of the last column looks the same.
    if (right < client.right) {
        RECT rest{right, client.top, client.right, client.bottom};
        FillRect(dc, &rest, face.get());
    }
}

LRESULT CALLBACK CHeaderCtrlCl::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
    auto* header = reinterpret_cast<CHeaderCtrlCl*>(self);
    switch (msg) {
    case WM_NCDESTROY:
        RemoveSubclass(hwnd, Proc, 1);
        header->hwnd_ = nullptr;
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        header->Paint();
        return 0;
    case HDM_LAYOUT: {
        LRESULT r = CallNextSubclass(hwnd, msg, wp, lp);
        auto* layout = reinterpret_cast<HDLAYOUT*>(lp);
        if (r && layout && layout->pwpos && header->heightFactor_ > 0 && header->heightFactor_ != 1.0) {
            const int height = static_cast<int>(layout->pwpos->cy * header->heightFactor_ + 0.5);
            layout->prc->top += height - layout->pwpos->cy;
            layout->pwpos->cy = height;
        }
        return r;
    }
    default:
        break;
    }
    return CallNextSubclass(hwnd, msg, wp, lp);
}

void LendImageList(HWND listView, int which, HIMAGELIST images) {
    if (!listView) return;
    const LONG_PTR style = GetWindowLongPtrA(listView, GWL_STYLE);
    if (!(style & LVS_SHAREIMAGELISTS)) SetWindowLongPtrA(listView, GWL_STYLE, style | LVS_SHAREIMAGELISTS);
    SendMessageA(listView, LVM_SETIMAGELIST, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(images));
}

// ---- SkinListCtrl ---------------------------------------------------------------

void SkinListCtrl::OnAttached() {
    const LONG_PTR style = GetWindowLongPtrA(hwnd(), GWL_STYLE);
    HWND header = reinterpret_cast<HWND>(SendMessageA(hwnd(), LVM_GETHEADER, 0, 0));
    if (header && !(style & LVS_NOCOLUMNHEADER)) header_.Attach(header);
}

void SkinListCtrl::SetRowHeight(int pixels) {
    if (pixels <= 0 || !hwnd()) return;
    // A report list makes its rows as high as its small images: a one
    // pixel wide image list of that height sets the row height.
    // The list borrows it; this control owns it and outlives the window.
    UniqueImageList images(ImageList_Create(1, pixels, ILC_COLOR32, 1, 1));
    LendImageList(hwnd(), LVSIL_SMALL, images.get());
    rowHeightImages_ = std::move(images);
}

int SkinListCtrl::InsertColumn(int index, const std::string& heading, Align align, int width) {
    LVCOLUMNA col = {};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM | LVCF_FMT;
    col.fmt = align == Center ? LVCFMT_CENTER : align == Right ? LVCFMT_RIGHT : LVCFMT_LEFT;
    if (index == 0) col.fmt = LVCFMT_LEFT;  // the first column of a report list is always left-aligned
    col.pszText = const_cast<char*>(heading.c_str());
    col.cx = width;
    col.iSubItem = index;
    const int at = static_cast<int>(SendMessageA(hwnd(), LVM_INSERTCOLUMNA, static_cast<WPARAM>(index),
                                                 reinterpret_cast<LPARAM>(&col)));
    if (at >= 0) header_.SetAlignment(at, align);
    return at;
}

int SkinListCtrl::RowHeight() const {
    RECT rc{};
    rc.left = LVIR_BOUNDS;
    const WPARAM top = static_cast<WPARAM>(SendMessageA(hwnd(), LVM_GETTOPINDEX, 0, 0));
    if (!SendMessageA(hwnd(), LVM_GETITEMRECT, top, reinterpret_cast<LPARAM>(&rc))) return 0;
    return rc.bottom - rc.top;
}

int SkinListCtrl::TopInset() const {
    HWND header = header_.hwnd();
    if (!header || !(GetWindowLongPtrA(header, GWL_STYLE) & WS_VISIBLE)) return 0;
    RECT headerRc{}, listRc{};
    GetWindowRect(header, &headerRc);
    GetWindowRect(hwnd(), &listRc);
    return headerRc.bottom - listRc.top;  // the header lies inside the list's border
}

ScrollRange SkinListCtrl::Range(bool vertical) const {
    if (!hwnd()) return {};
    if (vertical) {
        const long long count = SendMessageA(hwnd(), LVM_GETITEMCOUNT, 0, 0);
        const long long page = SendMessageA(hwnd(), LVM_GETCOUNTPERPAGE, 0, 0);
        const long long top = SendMessageA(hwnd(), LVM_GETTOPINDEX, 0, 0);
        return {0, count - 1, page, top};
    }
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    if (!GetScrollInfo(hwnd(), SB_HORZ, &si)) return {};
    return {si.nMin, si.nMax, si.nPage, si.nPos};
}

void SkinListCtrl::Step(bool vertical, int code) {
    SendMessageA(hwnd(), vertical ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, 0), 0);
}

void SkinListCtrl::ScrollLines(bool vertical, int lines) {
    if (!vertical) {
        SkinScrolledControl::ScrollLines(vertical, lines);
        return;
    }
    // One scroll for the whole turn of the wheel, in whole rows.
    const long long top = Range(true).pos;
    ScrollTo(true, std::clamp<long long>(top + lines, 0, LastPosition(Range(true))));
}

void SkinListCtrl::ScrollTo(bool vertical, long long position) {
    const ScrollRange now = Range(vertical);
    const long long target = std::clamp(position, now.min, LastPosition(now));
    if (vertical) {
        const long long rows = target - now.pos;
        const long long dy = rows * RowHeight();
        if (dy != 0) SendMessageA(hwnd(), LVM_SCROLL, 0, static_cast<LPARAM>(dy));
    } else if (target != now.pos) {
        SendMessageA(hwnd(), LVM_SCROLL, static_cast<WPARAM>(target - now.pos), 0);
    }
}

void AppendTextRow(HWND listView, const std::string& text) {
    std::string shown(text);
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = &shown[0];
    SendMessageA(listView, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

}  // namespace tvx::win
