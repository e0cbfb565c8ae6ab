// The skinned list and tree on real common controls: the system bars stay
// hidden, the skinned bars follow and drive the controls at any size, and a
// dragged tree node lands where it is released.
#include "ui/skin/win32/skin_list.h"
#include "ui/skin/win32/skin_tree.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace tvx::win {
namespace {

// Scroll steps the bars report to their dialog.
int g_steps = 0;
WPARAM g_lastStep = 0;
LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kScrollStepMessage) {
        ++g_steps;
        g_lastStep = wp;
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

// A parent window with one control, shown on the screen.
class Host {
public:
    Host() {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES};
        InitCommonControlsEx(&icc);
        WNDCLASSA wc = {};
        wc.lpfnWndProc = HostProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TvxSkinTestHost";
        RegisterClassA(&wc);
        parent_ = CreateWindowExA(0, "TvxSkinTestHost", "skin test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40,
                                  400, 400, nullptr, nullptr, wc.hInstance, nullptr);
    }
    ~Host() { DestroyWindow(parent_); }
    HWND Add(const char* cls, DWORD style) {
        return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | WS_BORDER | style, 20, 20, 200, 160, parent_,
                               reinterpret_cast<HMENU>(100), GetModuleHandleA(nullptr), nullptr);
    }
    HWND parent() const { return parent_; }

private:
    HWND parent_;
};

void Pump(DWORD ms) {
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    } while (GetTickCount() - start < ms);
}

bool HasSystemBars(HWND h) { return (GetWindowLongA(h, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL)) != 0; }

// The thumb of a bar as the bar reports it: pixels from the bar's start.
std::pair<int, int> ThumbOf(const SkinScrollBar* bar) {
    SCROLLBARINFO info = {};
    info.cbSize = sizeof info;
    SendMessageA(bar->hwnd(), SBM_GETSCROLLBARINFO, 0, reinterpret_cast<LPARAM>(&info));
    return {info.xyThumbTop, info.xyThumbBottom};
}

TEST(SkinList, HundredThousandVirtualRowsScrollEndToEndWithoutSystemBars) {
    Host host;
    HWND lv = host.Add(WC_LISTVIEWA, LVS_REPORT | LVS_OWNERDATA | LVS_NOCOLUMNHEADER);
    SkinListCtrl list;
    ASSERT_TRUE(list.Attach(lv, Installation("C:\\nowhere")));  // no images: the bars draw plain colours
    list.InsertColumn(0, "Name", SkinListCtrl::Left, 600);
    SendMessageA(lv, LVM_SETITEMCOUNT, 100000, 0);
    Pump(50);
    EXPECT_FALSE(HasSystemBars(lv)) << "the list's own bars are hidden";
    const ScrollRange rows = list.Range(true);
    EXPECT_EQ(rows.max, 99999);
    ASSERT_GT(rows.page, 0);

    // The bars lie beside and under the list, 12 pixels thick, and are shown with it.
    RECT listRc, vRc, hRc;
    GetWindowRect(lv, &listRc);
    GetWindowRect(list.bar(true)->hwnd(), &vRc);
    GetWindowRect(list.bar(false)->hwnd(), &hRc);
    EXPECT_EQ(vRc.left, listRc.right);
    EXPECT_EQ(vRc.right - vRc.left, SkinScrollBar::kThickness);
    EXPECT_EQ(hRc.top, listRc.bottom);
    EXPECT_EQ(hRc.right - hRc.left, listRc.right - listRc.left);
    EXPECT_TRUE(IsWindowVisible(list.bar(true)->hwnd()));

    const auto top = ThumbOf(list.bar(true));
    EXPECT_EQ(top.first, SkinScrollBar::kThickness) << "the thumb starts right after the up arrow";
    list.ScrollTo(true, 99999);
    EXPECT_EQ(SendMessageA(lv, LVM_GETTOPINDEX, 0, 0), 100000 - rows.page) << "the last row is shown";
    const auto bottom = ThumbOf(list.bar(true));
    EXPECT_EQ(bottom.second, (vRc.bottom - vRc.top) - SkinScrollBar::kThickness) << "and the thumb is at the end";
    list.ScrollTo(true, 50000);
    EXPECT_EQ(SendMessageA(lv, LVM_GETTOPINDEX, 0, 0), 50000);

    // Scrolled by other means, the thumb follows: selection and keys.
    SendMessageA(lv, LVM_ENSUREVISIBLE, 10, FALSE);
    Pump(20);
    EXPECT_EQ(ThumbOf(list.bar(true)), top);
    // The horizontal bar scrolls the 600-pixel column.
    ASSERT_TRUE(Scrollable(list.Range(false)));
    list.Step(false, SB_PAGEDOWN);
    EXPECT_GT(list.Range(false).pos, 0);
    // A press on the bar's down arrow steps the list and tells the dialog
    // (message 1324); releasing it over the arrow steps once more.
    const long before = static_cast<long>(SendMessageA(lv, LVM_GETTOPINDEX, 0, 0));
    g_steps = 0;
    HWND vbar = list.bar(true)->hwnd();
    const LPARAM onDownArrow = MAKELPARAM(5, (vRc.bottom - vRc.top) - 5);
    SendMessageA(vbar, WM_LBUTTONDOWN, MK_LBUTTON, onDownArrow);
    EXPECT_EQ(SendMessageA(lv, LVM_GETTOPINDEX, 0, 0), before + 1);
    EXPECT_EQ(g_steps, 1);
    EXPECT_EQ(g_lastStep, MAKEWPARAM(SB_LINEDOWN, 1));
    SendMessageA(vbar, WM_LBUTTONUP, 0, onDownArrow);
    EXPECT_EQ(SendMessageA(lv, LVM_GETTOPINDEX, 0, 0), before + 2);
    EXPECT_EQ(g_steps, 2);
    // Released away from the arrow: no last step.
    SendMessageA(vbar, WM_LBUTTONDOWN, MK_LBUTTON, onDownArrow);
    SendMessageA(vbar, WM_LBUTTONUP, 0, MAKELPARAM(5, 200));
    EXPECT_EQ(SendMessageA(lv, LVM_GETTOPINDEX, 0, 0), before + 3);

    // Items removed: nothing to scroll, no thumb.
    SendMessageA(lv, LVM_SETITEMCOUNT, 2, 0);
    Pump(20);
    EXPECT_FALSE(Scrollable(list.Range(true)));
    const auto none = ThumbOf(list.bar(true));
    EXPECT_EQ(none.first, none.second);
    EXPECT_FALSE(HasSystemBars(lv));
    // And its arrows do nothing either: no step, no message, no repeat.
    g_steps = 0;
    SendMessageA(vbar, WM_LBUTTONDOWN, MK_LBUTTON, onDownArrow);
    Pump(400);
    SendMessageA(vbar, WM_LBUTTONUP, 0, onDownArrow);
    EXPECT_EQ(g_steps, 0);
    EXPECT_EQ(SendMessageA(lv, LVM_GETTOPINDEX, 0, 0), 0);

    // Hidden with the list, shown with it again.
    ShowWindow(lv, SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(list.bar(true)->hwnd()));
    EXPECT_FALSE(IsWindowVisible(list.bar(false)->hwnd()));
    ShowWindow(lv, SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(list.bar(true)->hwnd()));
}

// A list view destroys the image lists it holds unless it only borrows them:
// the program's owners destroy theirs, so every list must borrow.
TEST(SkinList, ListViewsOnlyBorrowTheImageListsTheProgramOwns) {
    Host host;
    HWND lv = host.Add(WC_LISTVIEWA, LVS_REPORT);  // no LVS_SHAREIMAGELISTS in its template
    UniqueImageList images(ImageList_Create(16, 16, ILC_COLOR32, 1, 1));
    ASSERT_TRUE(images);
    LendImageList(lv, LVSIL_SMALL, images.get());
    EXPECT_TRUE(GetWindowLongA(lv, GWL_STYLE) & LVS_SHAREIMAGELISTS);
    SkinListCtrl list;
    HWND other = host.Add(WC_LISTVIEWA, LVS_REPORT);
    ASSERT_TRUE(list.Attach(other, Installation("C:\\nowhere")));
    list.SetRowHeight(22);  // the row-height helper hands one over too
    EXPECT_TRUE(GetWindowLongA(other, GWL_STYLE) & LVS_SHAREIMAGELISTS);
    EXPECT_NE(SendMessageA(other, LVM_GETIMAGELIST, LVSIL_SMALL, 0), 0);
    DestroyWindow(lv);
    DestroyWindow(other);
    EXPECT_EQ(ImageList_GetImageCount(images.get()), 0) << "still a valid, empty image list";
    EXPECT_TRUE(ImageList_SetImageCount(images.get(), 1)) << "the owner's image list outlived the window";
    EXPECT_EQ(ImageList_GetImageCount(images.get()), 1);
}

TEST(SkinList, HeaderKeepsTheVerticalBarBelowItAndTakesTheHeightFactor) {
    Host host;
    HWND lv = host.Add(WC_LISTVIEWA, LVS_REPORT);
    SkinListCtrl list;
    list.header().SetHeightFactor(1.5);
    ASSERT_TRUE(list.Attach(lv, Installation("C:\\nowhere")));
    list.InsertColumn(0, "Name", SkinListCtrl::Left, 100);
    list.InsertColumn(1, "Hotkey", SkinListCtrl::Center, 60);
    HWND header = reinterpret_cast<HWND>(SendMessageA(lv, LVM_GETHEADER, 0, 0));
    ASSERT_EQ(list.header().hwnd(), header);
    // Lay the header out again now that the factor applies.
    SetWindowPos(lv, nullptr, 0, 0, 201, 160, SWP_NOMOVE | SWP_NOZORDER);
    RECT headerRc, vRc;
    GetWindowRect(header, &headerRc);
    GetWindowRect(list.bar(true)->hwnd(), &vRc);
    EXPECT_EQ(vRc.top, headerRc.bottom) << "the bar starts under the header";
    HDLAYOUT layout = {};
    RECT area{0, 0, 200, 100};
    WINDOWPOS pos = {};
    layout.prc = &area;
    layout.pwpos = &pos;
    SendMessageA(header, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout));
    HWND other = host.Add(WC_LISTVIEWA, LVS_REPORT);
    HWND otherHeader = reinterpret_cast<HWND>(SendMessageA(other, LVM_GETHEADER, 0, 0));
    RECT area2{0, 0, 200, 100};
    WINDOWPOS pos2 = {};
    HDLAYOUT layout2{&area2, &pos2};
    SendMessageA(otherHeader, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout2));
    EXPECT_EQ(pos.cy, static_cast<int>(pos2.cy * 1.5 + 0.5)) << "one and a half times the standard height";
    EXPECT_EQ(area.top, pos.cy) << "and the rows start below it";
}

// A tree of `parents` nodes with `children` leaves each, all expanded.
std::vector<HTREEITEM> FillTree(HWND tv, int parents, int children) {
    std::vector<HTREEITEM> top;
    SendMessageA(tv, WM_SETREDRAW, FALSE, 0);  // as the program fills its trees
    for (int p = 0; p < parents; ++p) {
        std::string text = "Catalog " + std::to_string(p);
        TVINSERTSTRUCTA ins = {};
        ins.hParent = TVI_ROOT;
        ins.hInsertAfter = TVI_LAST;
        ins.item.mask = TVIF_TEXT;
        ins.item.pszText = &text[0];
        HTREEITEM node = reinterpret_cast<HTREEITEM>(SendMessageA(tv, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
        for (int c = 0; c < children; ++c) {
            std::string leaf = "Leaf " + std::to_string(c);
            ins.hParent = node;
            ins.item.pszText = &leaf[0];
            SendMessageA(tv, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins));
        }
        top.push_back(node);
    }
    SendMessageA(tv, WM_SETREDRAW, TRUE, 0);
    return top;
}

int FirstVisibleIndex(HWND tv) {
    HTREEITEM first = TreeView_GetFirstVisible(tv);
    int index = 0;
    for (HTREEITEM n = TreeView_GetRoot(tv); n && n != first; n = TreeView_GetNextVisible(tv, n)) ++index;
    return index;
}

POINT PointOf(HWND tv, HTREEITEM node) {
    RECT rc{};
    TreeView_GetItemRect(tv, node, &rc, TRUE);
    return POINT{rc.left + 5, (rc.top + rc.bottom) / 2};
}

TEST(SkinTree, ScrollsToPositionsBeyondSixteenBitsAndHidesItsSystemBars) {
    Host host;
    HWND tv = host.Add(WC_TREEVIEWA, TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT);
    SkinTreeCtrl tree;
    ASSERT_TRUE(tree.Attach(tv, Installation("C:\\nowhere")));
    FillTree(tv, 34000, 0);
    Pump(20);
    EXPECT_FALSE(HasSystemBars(tv));
    const ScrollRange range = tree.Range(true);
    ASSERT_EQ(range.max, 33999);
    tree.ScrollTo(true, 33500);
    EXPECT_EQ(FirstVisibleIndex(tv), 33500);
    tree.ScrollTo(true, 40);
    EXPECT_EQ(FirstVisibleIndex(tv), 40);
    tree.Step(true, SB_LINEDOWN);
    EXPECT_EQ(FirstVisibleIndex(tv), 41);
    EXPECT_EQ(tree.Range(true).pos, 41) << "the bar reads the position the tree keeps";
}

struct Dropped {
    HTREEITEM dragged = nullptr, target = nullptr;
    int drops = 0;
};

void BeginDrag(HWND parent, HWND tv, HTREEITEM node, bool right) {
    NMTREEVIEWA info = {};
    info.hdr.hwndFrom = tv;
    info.hdr.idFrom = 100;
    info.hdr.code = right ? TVN_BEGINRDRAGA : TVN_BEGINDRAGA;
    info.itemNew.hItem = node;
    info.ptDrag = PointOf(tv, node);
    SendMessageA(parent, WM_NOTIFY, 100, reinterpret_cast<LPARAM>(&info));
}

TEST(SkinTree, DraggedNodeLandsWhereReleasedUnlessTheRulesRefuse) {
    Host host;
    HWND tv = host.Add(WC_TREEVIEWA, TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT);
    SkinTreeCtrl tree;
    ASSERT_TRUE(tree.Attach(tv, Installation("C:\\nowhere")));
    std::vector<HTREEITEM> nodes = FillTree(tv, 5, 0);
    Dropped dropped;
    HTREEITEM forbidden = nodes[4];
    tree.EnableDragging({nullptr, [&](HTREEITEM, HTREEITEM target) { return target != forbidden; },
                         [&](HTREEITEM d, HTREEITEM t) { dropped = {d, t, dropped.drops + 1}; }});

    BeginDrag(host.parent(), tv, nodes[0], false);
    ASSERT_TRUE(tree.dragging());
    POINT over = PointOf(tv, nodes[2]);
    SendMessageA(tv, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(over.x, over.y));
    EXPECT_TRUE(TreeView_GetItemState(tv, nodes[2], TVIS_DROPHILITED)) << "the node under the pointer is highlighted";
    SendMessageA(tv, WM_LBUTTONUP, 0, MAKELPARAM(over.x, over.y));
    EXPECT_FALSE(tree.dragging());
    EXPECT_EQ(dropped.drops, 1);
    EXPECT_EQ(dropped.dragged, nodes[0]);
    EXPECT_EQ(dropped.target, nodes[2]);
    EXPECT_FALSE(TreeView_GetItemState(tv, nodes[2], TVIS_DROPHILITED)) << "the highlight goes with the drag";

    // A refused target, Esc, and the wrong button's release drop nothing.
    BeginDrag(host.parent(), tv, nodes[1], true);
    POINT no = PointOf(tv, forbidden);
    SendMessageA(tv, WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(no.x, no.y));
    EXPECT_FALSE(TreeView_GetItemState(tv, forbidden, TVIS_DROPHILITED)) << "a refused target is not highlighted";
    SendMessageA(tv, WM_LBUTTONUP, 0, MAKELPARAM(no.x, no.y));
    EXPECT_TRUE(tree.dragging()) << "a right-button drag ends with the right button";
    SendMessageA(tv, WM_RBUTTONUP, 0, MAKELPARAM(no.x, no.y));
    EXPECT_FALSE(tree.dragging());
    BeginDrag(host.parent(), tv, nodes[1], false);
    SendMessageA(tv, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(tree.dragging());
    // Released on itself: nothing.
    BeginDrag(host.parent(), tv, nodes[3], false);
    POINT self = PointOf(tv, nodes[3]);
    SendMessageA(tv, WM_LBUTTONUP, 0, MAKELPARAM(self.x, self.y));
    EXPECT_EQ(dropped.drops, 1);
}

TEST(SkinTree, DraggingNearAnEdgeScrollsAndRestingOnANodeSelectsAndExpandsIt) {
    Host host;
    HWND tv = host.Add(WC_TREEVIEWA, TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT);
    SkinTreeCtrl tree;
    ASSERT_TRUE(tree.Attach(tv, Installation("C:\\nowhere")));
    std::vector<HTREEITEM> nodes = FillTree(tv, 60, 2);
    tree.EnableDragging({nullptr, nullptr, [](HTREEITEM, HTREEITEM) {}});
    tree.ScrollTo(true, 30);
    ASSERT_EQ(FirstVisibleIndex(tv), 30);

    // Far above the top edge: the fastest speed, a line every tick or two.
    BeginDrag(host.parent(), tv, nodes[35], false);
    SendMessageA(tv, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, static_cast<WORD>(-120)));
    Pump(600);
    const int scrolled = 30 - FirstVisibleIndex(tv);
    EXPECT_GE(scrolled, 4) << "40 ms ticks for 600 ms, one line per tick";
    EXPECT_TRUE(TreeView_GetItemState(tv, TreeView_GetFirstVisible(tv), TVIS_DROPHILITED))
        << "the first visible node is highlighted";
    // Inside the band, just below the top edge: the slowest speed.
    const int before = FirstVisibleIndex(tv);
    SendMessageA(tv, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 5));
    Pump(600);
    const int slow = before - FirstVisibleIndex(tv);
    EXPECT_GE(slow, 1);
    EXPECT_LT(slow, scrolled) << "closer to the edge scrolls slower";
    // Away from the edges: it stops.
    RECT rc;
    GetClientRect(tv, &rc);
    SendMessageA(tv, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, rc.bottom / 2));
    const int still = FirstVisibleIndex(tv);
    Pump(300);
    EXPECT_EQ(FirstVisibleIndex(tv), still);

    // Resting over a collapsed node for 800 ms expands it.
    HTREEITEM rest = TreeView_GetNextVisible(tv, TreeView_GetFirstVisible(tv));
    ASSERT_FALSE(TreeView_GetItemState(tv, rest, TVIS_EXPANDED) & TVIS_EXPANDED);
    POINT at = PointOf(tv, rest);
    SendMessageA(tv, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    Pump(400);
    EXPECT_FALSE(TreeView_GetItemState(tv, rest, TVIS_EXPANDED) & TVIS_EXPANDED) << "not before 800 ms";
    Pump(700);
    EXPECT_TRUE(TreeView_GetItemState(tv, rest, TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_EQ(TreeView_GetSelection(tv), rest) << "and selects it";
    SendMessageA(tv, WM_KEYDOWN, VK_ESCAPE, 0);
}

}  // namespace
}  // namespace tvx::win

// ---- handles and texts of the skin --------------------------------------------

#include "data/item_model.h"
#include "launcher/win32/tray_icon.h"
#include "resources/add_item_ids.h"
#include "additem/win32/add_item_dialog.h"
#include "ui/skin/win32/catalog_tree_view.h"
#include "ui/skin/win32/image_button.h"
#include "ui/skin/win32/resource_module.h"
#include "ui/skin/win32/skin_controls.h"
#include "tests/win32/test_support.h"

namespace tvx::win {
namespace {

TEST(SkinComboBox, RowsLongerThanAnyFixedBufferAreReadWhole) {
    Host host;
    HWND combo = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED |
                                 CBS_HASSTRINGS, 10, 10, 100, 200, host.parent(), nullptr, GetModuleHandleA(nullptr), nullptr);
    SkinComboBox::Attach(combo, "C:\\nowhere\\ComboButton.png", 80);
    const std::string longRow = std::string(1000, 'x') + "\xB6\xCF" + "end";
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Ctrl"));
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(longRow.c_str()));
    EXPECT_EQ(SkinComboBox::ItemText(combo, 0), "Ctrl");
    EXPECT_EQ(SkinComboBox::ItemText(combo, 1), longRow);
    EXPECT_EQ(SkinComboBox::ItemText(combo, 5), "") << "no such row";
}

TEST(CatalogImages, AnIconThatCannotBeLoadedKeepsTheOthersAtTheirIndices) {
    // The test program has none of the four catalog icons.
    SetResourceModule(nullptr);
    UniqueImageList images = CreateCatalogImages();
    ASSERT_TRUE(images);
    EXPECT_EQ(ImageList_GetImageCount(images.get()), 4) << "every index holds an image, an empty one if need be";
}

TEST(ImageButton, TheTooltipTheDialogDestroysIsForgottenNotDestroyedAgain) {
    ImageButton button;
    {
        Host host;
        HWND b = CreateWindowExA(0, "BUTTON", "Ok", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 10, 10, 60, 20, host.parent(),
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(button.Attach(b));
        button.SetTooltip("Save and exit.");
        ASSERT_NE(button.tooltip(), nullptr);
        EXPECT_TRUE(IsWindow(button.tooltip()));
    }  // the parent goes, and its tooltip with it
    EXPECT_EQ(button.tooltip(), nullptr);
    EXPECT_EQ(button.hwnd(), nullptr);
}

TEST(TrayIcon, TheRecordIsTheClassicOneWithTheTip) {
    const NOTIFYICONDATAA data = TrayIconRecord(reinterpret_cast<HWND>(0x1234), nullptr);
    EXPECT_EQ(data.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V2_SIZE));
#ifndef _WIN64
    EXPECT_EQ(data.cbSize, 488u);
#endif
    EXPECT_GT(data.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE));
    EXPECT_EQ(data.uID, kTrayIconId);
    EXPECT_EQ(data.uCallbackMessage, kTrayCallbackMessage);
    EXPECT_EQ(data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_STREQ(data.szTip, "Tavrolinex 3.0");
}

TEST(AddItemDialog, TakesTheCatalogsOfItsOwnFolderWhileALanguageModuleIsLoaded) {
    const std::string folder = ModuleFolder(CodeModule());
    ASSERT_EQ(folder, test::ExeFolder());
    const std::string catalogFile = folder + "\\Shortcut2.clg";
    test::WriteWholeFile(catalogFile, std::string(kRootCatalogId) + "|Work|AAAAAAAA-0000-0000-0000-000000000001");
    // The dialog's template comes from the language module in "\Lang".
    HMODULE lang = LoadLibraryExA((folder + "\\Lang\\eng.dat").c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    ASSERT_NE(lang, nullptr) << "the test folder needs Lang\\eng.dat";
    SetResourceModule(lang);
    {
        GdiplusSession gdiplus;
        AddItemVariant v = ExtensionVariant();
        v.tree = IDC_ADD_TREE_PROG;
        v.exitButton = IDC_ADD_EXIT_PROG;
        v.minButton = IDC_ADD_MIN_PROG;
        v.helpButton = IDC_ADD_HELP_PROG;
        v.hotkeyLabel = IDC_ADD_HOTKEY_LABEL_PROG;
        AddItemDialog dialog(Installation(), v);  // no folder handed over
        ASSERT_TRUE(dialog.Create(nullptr));
        HWND tree = GetDlgItem(dialog.hwnd(), IDC_ADD_TREE_PROG);
        EXPECT_EQ(TreeView_GetCount(tree), 2u) << "the root and the catalog Work of the program's folder";
        dialog.End(IDCANCEL);
    }
    SetResourceModule(nullptr);
    FreeLibrary(lang);
    DeleteFileA(catalogFile.c_str());
}

}  // namespace
}  // namespace tvx::win
