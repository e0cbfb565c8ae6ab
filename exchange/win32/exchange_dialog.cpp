#include "exchange/win32/exchange_dialog.h"

#include "data/ansi_text.h"
#include "data/win32/file_io.h"
#include "data/win32/guid.h"
#include "data/win32/profile.h"
#include "data/win32/wide_path.h"
#include "services/win32/progress_window.h"
#include "ui/skin/win32/catalog_tree_view.h"
#include "ui/skin/win32/message_box.h"
#include "ui/skin/win32/subclass.h"

#include <commdlg.h>

#include <thread>

namespace tvx::win {

namespace {

constexpr COLORREF kTitleColor = RGB(31, 78, 107);  // ink on the light top of the picture

// The path box shows what the chooser picked; typing, pasting and cutting
// change nothing in it.
LRESULT CALLBACK PathBoxProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    switch (msg) {
    case WM_CHAR: case WM_PASTE: case WM_CUT: case WM_CLEAR: case WM_UNDO: return 0;
    case WM_KEYDOWN:
        if (wp == VK_DELETE || wp == VK_BACK) return 0;
        break;
    case WM_NCDESTROY: RemoveSubclass(hwnd, PathBoxProc, 0); break;
    default: break;
    }
    return CallNextSubclass(hwnd, msg, wp, lp);
}

}  // namespace

ExchangeDialog::ExchangeDialog(Installation installation, const Library& library, Mode mode, std::function<void()> help)
    : SkinnedDialog(IDD_EXCHANGE), installation_(std::move(installation)), mode_(mode), help_(std::move(help)),
      pipeline_(installation_, mode == Mode::Export), newNodeId_([] { return NewGuidText(); }) {
    left_.items = library.store();
    left_.table.Reindex();
    library.CopyCatalogsTo(left_.tree, left_.index);
}

ExchangeDialog::~ExchangeDialog() = default;

// ---- opening -------------------------------------------------------------------------

bool ExchangeDialog::OnInitDialog() {
    SetUpImagesAndTips();
    SetUpModeControls();
    SetUpList(left_);
    SetUpList(right_);
    SetUpTrees();
    AddSubclass(Item(IDC_EX_PATH), PathBoxProc, 0, 0);
    const bool exporting = mode_ == Mode::Export;
    const std::string title = MessageText(exporting ? "ExportDlgTitle" : "ImportDlgTitle");
    SetDlgItemTextA(hwnd(), IDC_EX_TITLE, title.c_str());
    SetWindowTextA(hwnd(), title.c_str());
    SetDlgItemTextA(hwnd(), IDC_EX_RIGHT_TREE_LABEL,
                    MessageText(exporting ? "ExportCatalogsTitle" : "ImportCatalogsTitle").c_str());
    SetDlgItemTextA(hwnd(), IDC_EX_RIGHT_LIST_LABEL,
                    MessageText(exporting ? "ExportListTitle" : "ImportListTitle").c_str());
    return true;
}

void ExchangeDialog::SetUpImagesAndTips() {
    const bool exporting = mode_ == Mode::Export;
    SkinFrame frame{"CommonDlg_01.png", true, {}};
    const std::pair<int, const char*> textButtons[] = {
        {IDC_EX_BROWSE, exporting ? "Btn_SelectExpFile" : "SelectImpFile"},
        {IDC_EX_OK, "Btn_CloseDialogwithSave"},       {IDC_EX_CANCEL, "Btn_CloseDialogwithoutSave"},
        {IDC_EX_SAVE, "Btn_SaveChangedDatas"},        {IDC_EX_LOAD, "Btn_LoadImportData"},
        {IDC_EX_LEFT_ADD, "Btn_AddCatalog"},          {IDC_EX_RIGHT_ADD, "Btn_AddCatalog"},
        {IDC_EX_LEFT_UPDATE, "Btn_UpdateCatalog"},    {IDC_EX_RIGHT_UPDATE, "Btn_UpdateCatalog"},
        {IDC_EX_LEFT_DEL, "Btn_DeleteCatalog"},       {IDC_EX_RIGHT_DEL, "Btn_DeleteCatalog"},
    };
    for (auto [id, key] : textButtons) frame.buttons.push_back(LabelButton(id, MessageText(key)));
    struct Picture {
        int id;
        const char* image;
        const char* tip;
    };
    const Picture pictures[] = {
        {IDC_EX_ALL_TO_LEFT, "MultiLeft_arrow", exporting ? "Btn_ExpDelAll" : "Btn_ImpAllItems"},
        {IDC_EX_TO_LEFT, "Left_arrow", exporting ? "Btn_ExpDel" : "Btn_ImpItems"},
        {IDC_EX_ALL_TO_RIGHT, "MultiRight_arrow", exporting ? "Btn_ExpAllItems" : "Btn_ImpDelAll"},
        {IDC_EX_TO_RIGHT, "Right_arrow", exporting ? "Btn_ExpItems" : "Btn_ImpDel"},
        {IDC_EX_COPY_EMPTY_TO_LEFT, "UnSelCatalog_NoSub", "Btn_UnSelectCatalogWithoutData"},
        {IDC_EX_COPY_TO_LEFT, "UnSelCatalog_Sub", "Btn_UnSelectCatalogWithData"},
        {IDC_EX_COPY_EMPTY_TO_RIGHT, "SelCatalog_NoSub", "Btn_SelectCatalogWithoutData"},
        {IDC_EX_COPY_TO_RIGHT, "SelCatalog_Sub", "Btn_SelectCatalogWithData"},
        {IDC_EX_EXIT, "Exit", "ExitButton"},
        {IDC_EX_MIN, "Min", "MinButton"},
    };
    for (const Picture& p : pictures) frame.buttons.push_back(PictureButton(p.id, p.image, MessageText(p.tip)));
    frame.buttons.push_back(PictureButton(IDC_EX_HELP, "Help", MessageText("HelpButton"), 3));
    ApplyFrame(installation_, frame);
}

void ExchangeDialog::SetUpModeControls() {
    auto off = [this](int id) {
        ShowWindow(Item(id), SW_HIDE);
        EnableWindow(Item(id), FALSE);
    };
    auto on = [this](int id) {
        ShowWindow(Item(id), SW_SHOW);
        EnableWindow(Item(id), TRUE);
    };
    if (mode_ == Mode::Import) {
        for (int id : {IDC_EX_RIGHT_ADD, IDC_EX_RIGHT_UPDATE, IDC_EX_RIGHT_DEL, IDC_EX_RIGHT_NAME}) off(id);
        on(IDC_EX_LOAD);
        off(IDC_EX_COPY_TO_RIGHT);
        off(IDC_EX_COPY_EMPTY_TO_RIGHT);
        on(IDC_EX_COPY_TO_LEFT);
        on(IDC_EX_COPY_EMPTY_TO_LEFT);
    } else {
        for (int id : {IDC_EX_LEFT_ADD, IDC_EX_LEFT_UPDATE, IDC_EX_LEFT_DEL, IDC_EX_OK, IDC_EX_CANCEL, IDC_EX_LOAD})
            off(id);
        on(IDC_EX_COPY_TO_RIGHT);
        on(IDC_EX_COPY_EMPTY_TO_RIGHT);
        off(IDC_EX_COPY_TO_LEFT);
        off(IDC_EX_COPY_EMPTY_TO_LEFT);
    }
}

void ExchangeDialog::SetUpList(Side& side) {
    HWND lv = Item(side.listId);
    SendMessageA(lv, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    SendMessageA(lv, LVM_SETBKCOLOR, 0, RGB(255, 255, 255));
    SendMessageA(lv, LVM_SETTEXTBKCOLOR, 0, RGB(255, 255, 255));
    side.list = SkinList(side.listId, installation_);
    if (SkinListCtrl* list = side.list) {
        list->SetHeaderColor(161, 222, 255);
        RECT rc;
        GetClientRect(lv, &rc);
        // Only the names are shown; the other columns carry the entry's
        // fields, its GUID and its index in the side's table.
        list->InsertColumn(0, MessageText("NameTitle_01"), SkinListCtrl::Left, rc.right - rc.left);
        const char* hidden[] = {"ShortNameTitle_01", "Hotkey1Title_01", "Hotkey2Title_01", "DescriptionTitle_01"};
        int column = 1;
        for (const char* key : hidden) list->InsertColumn(column++, MessageText(key), SkinListCtrl::Left, 0);
        list->InsertColumn(5, "guid", SkinListCtrl::Left, 0);
        list->InsertColumn(6, "Index", SkinListCtrl::Left, 0);
    }
    side.view.Attach(lv, [&side](size_t r, int column) { return side.rows[r].Cell(column); });
}

void ExchangeDialog::SetUpTrees() {
    images_ = CreateCatalogImages();
    for (Side* side : {&left_, &right_}) {
        SkinTree(side->treeId, installation_);
        side->treeView.Attach(Item(side->treeId));
        SendMessageA(Item(side->treeId), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_.get()));
    }
    ResetCatalogs(right_.tree, right_.index,
                  MessageText(mode_ == Mode::Export ? "ExportingCatalogs" : "ImportingCatalogs"));
    ShowTree(left_);
    ShowTree(right_);
    if (mode_ == Mode::Export) TreeView_SelectItem(right_.treeView.hwnd(), right_.treeView.ItemOf(&right_.tree.root()));
}

// ---- trees ---------------------------------------------------------------------------

void ExchangeDialog::ClearSide(Side& side) {
    side.treeView.Clear();
    side.listed = nullptr;
    side.rows.clear();
    side.view.Reset(0);
}

void ExchangeDialog::ShowTree(Side& side) {
    ClearSide(side);
    HTREEITEM root = side.treeView.Show(side.tree, 1);
    TreeView_Expand(side.treeView.hwnd(), root, TVE_EXPAND);
}

void ExchangeDialog::OnTreeSelection(Side& side) {
    CatalogNode* node = side.treeView.SelectedNode();
    if (!node) return;
    SetDlgItemTextA(hwnd(), side.nameId, node->text.c_str());
    side.listed = node;
    FillList(side);
}

void ExchangeDialog::FillList(Side& side) {
    side.rows = side.listed ? RowsOfCatalog(side.items, *side.listed, side.listed == &side.tree.root())
                            : std::vector<ItemRow>{};
    side.sortColumn = -1;
    if (side.list) side.list->header().SetSortMark(-1, true);
    side.view.Reset(side.rows.size());
}

// ---- transfers -----------------------------------------------------------------------

void ExchangeDialog::MoveItems(Side& from, Side& to, bool all) {
    CatalogNode* destination = to.treeView.SelectedNode();
    if (!destination) {
        ShowKey("SelectCatalog");
        return;
    }
    if (destination == &to.tree.root()) {
        ShowKey("SelSubCatalog");
        return;
    }
    const std::vector<size_t> chosen = all ? AllRowsFromLast(from.rows) : from.view.Selected();
    if (chosen.empty()) return;
    // Taking items out of the program (import) or out of the archive
    // (export) leaves tombstones there; the other way round only copies.
    const bool tombstones = (mode_ == Mode::Import) == (&from == &left_);
    if (to.listed != destination) {
        to.listed = destination;
        FillList(to);
    }
    if (MoveRows(from.rows, chosen, from.table, tombstones, to.rows, to.table) == 0) return;
    destination->nodeData = NodeDataFromRows(destination->nodeData, to.rows);
    from.view.Reset(from.rows.size());
    to.view.Reset(to.rows.size());
}

void ExchangeDialog::CopyCatalog(Side& from, Side& to, bool withItems) {
    CatalogNode* source = from.treeView.SelectedNode();
    CatalogNode* destination = to.treeView.SelectedNode();
    if (!source || source == &from.tree.root() || !destination) return;
    CatalogNode* copy = tvx::CopyCatalog(*source, from.items, *destination, to.index, withItems ? &to.table : nullptr,
                                         newNodeId_);
    if (!copy) return;
    to.treeView.Insert(*destination, *copy);
    TreeView_Expand(to.treeView.hwnd(), to.treeView.ItemOf(destination), TVE_EXPAND);
    // The root lists every entry of its side, the new ones too.
    if (withItems && to.listed == &to.tree.root()) FillList(to);
}

void ExchangeDialog::AddCatalog(Side& side) {
    const std::string name = Trim(BoxText(side.nameId));
    if (name.empty()) {
        ShowKey("CatalogEmpty");
        return;
    }
    CatalogNode* parent = side.treeView.SelectedNode();
    if (!parent) parent = &side.tree.root();
    CatalogNode* node = tvx::AddCatalog(*parent, side.index, name, newNodeId_);
    side.treeView.Insert(*parent, *node);
    TreeView_Expand(side.treeView.hwnd(), side.treeView.ItemOf(parent), TVE_EXPAND);
}

void ExchangeDialog::RenameCatalog(Side& side) {
    const std::string name = Trim(BoxText(side.nameId));
    if (name.empty()) {
        ShowKey("CatalogEmpty");
        return;
    }
    CatalogNode* node = side.treeView.SelectedNode();
    if (!node) {
        ShowKey("SelectCatalog");
        return;
    }
    if (node == &side.tree.root()) return;
    node->text = SanitizeCatalogName(name);
    side.treeView.ShowName(*node);
}

void ExchangeDialog::DeleteCatalog(Side& side) {
    CatalogNode* node = side.treeView.SelectedNode();
    if (!node) {
        ShowKey("SelectCatalog");
        return;
    }
    if (node == &side.tree.root()) return;
    HWND tv = side.treeView.hwnd();
    HTREEITEM parentItem = TreeView_GetParent(tv, side.treeView.ItemOf(node));
    // The view lets go of the nodes before they are freed.
    TreeView_SelectItem(tv, nullptr);
    side.treeView.Remove(*node);
    side.listed = nullptr;
    DeleteCatalogWithItems(side.index, node, side.table);
    if (parentItem) TreeView_SelectItem(tv, parentItem);
    else FillList(side);
}

void ExchangeDialog::Find(Side& side) {
    const std::string text = BoxText(side.findId);
    if (text.empty()) return;
    const long row = FindByNamePrefix(side.rows, text, 0);
    if (row >= 0) side.view.SelectOnly(row);
}

void ExchangeDialog::Sort(Side& side, int column) {
    side.sortAscending = side.sortColumn < 0 ? true : !side.sortAscending;
    side.sortColumn = column;
    SortItemRows(side.rows, column, side.sortAscending);
    if (side.list) side.list->header().SetSortMark(column, side.sortAscending);
    side.view.Reset(side.rows.size());
}

// ---- messages ----------------------------------------------------------------------------

void ExchangeDialog::PaintOver(HDC dc) {
    OutlineTextBoxes(dc, {IDC_EX_PATH, IDC_EX_LEFT_NAME, IDC_EX_RIGHT_NAME, IDC_EX_LEFT_FIND, IDC_EX_RIGHT_FIND});
    PaintControlFrames(dc);
}

ExchangeDialog::Side* ExchangeDialog::SideOfControl(HWND control) {
    for (Side* side : {&left_, &right_})
        if (control == Item(side->treeId) || control == Item(side->listId)) return side;
    return nullptr;
}

void ExchangeDialog::OnCommand(int id, int code, HWND control) {
    if (saving_) return;
    const bool exporting = mode_ == Mode::Export;
    switch (id) {
    case IDC_EX_BROWSE: ChooseFile(); break;
    case IDC_EX_LOAD: Load(); break;
    case IDC_EX_SAVE: Save(true); break;
    case IDC_EX_OK: OkCommand(); break;
    case IDC_EX_CANCEL: CancelCommand(); break;
    case IDC_EX_EXIT: CloseCommand(); break;
    case IDC_EX_MIN: ShowWindow(hwnd(), SW_MINIMIZE); break;
    case IDC_EX_HELP: if (help_) help_(); break;
    case IDC_EX_LEFT_ADD: if (!exporting) AddCatalog(left_); break;
    case IDC_EX_LEFT_UPDATE: if (!exporting) RenameCatalog(left_); break;
    case IDC_EX_LEFT_DEL: if (!exporting) DeleteCatalog(left_); break;
    case IDC_EX_RIGHT_ADD: if (exporting) AddCatalog(right_); break;
    case IDC_EX_RIGHT_UPDATE: if (exporting) RenameCatalog(right_); break;
    case IDC_EX_RIGHT_DEL: if (exporting) DeleteCatalog(right_); break;
    case IDC_EX_COPY_TO_RIGHT: if (exporting) CopyCatalog(left_, right_, true); break;
    case IDC_EX_COPY_EMPTY_TO_RIGHT: if (exporting) CopyCatalog(left_, right_, false); break;
    case IDC_EX_COPY_TO_LEFT: if (!exporting) CopyCatalog(right_, left_, true); break;
    case IDC_EX_COPY_EMPTY_TO_LEFT: if (!exporting) CopyCatalog(right_, left_, false); break;
    case IDC_EX_TO_RIGHT: MoveItems(left_, right_, false); break;
    case IDC_EX_ALL_TO_RIGHT: MoveItems(left_, right_, true); break;
    case IDC_EX_TO_LEFT: MoveItems(right_, left_, false); break;
    case IDC_EX_ALL_TO_LEFT: MoveItems(right_, left_, true); break;
    case IDC_EX_LEFT_FIND:
    case IDC_EX_RIGHT_FIND:
        if (code == EN_CHANGE) Find(id == IDC_EX_LEFT_FIND ? left_ : right_);
        break;
    default: break;
    }
    (void)control;
}

bool ExchangeDialog::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_TIMER:
        if (wp != kSaveTimer) return false;
        OnSaveTimer();
        result = 0;
        return true;
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lp) == Item(IDC_EX_TITLE)) {
            HDC dc = reinterpret_cast<HDC>(wp);
            SetTextColor(dc, kTitleColor);
            SetBkMode(dc, TRANSPARENT);
            HBRUSH picture = BackgroundBrushFor(dc, reinterpret_cast<HWND>(lp));
            result = reinterpret_cast<LRESULT>(picture ? picture : static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
            return true;
        }
        return false;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lp);
        result = 0;
        if (left_.view.HandleNotify(header) || right_.view.HandleNotify(header)) return true;
        Side* side = SideOfControl(header->hwndFrom);
        if (!side) return false;
        if (header->hwndFrom == Item(side->treeId)) {
            if (header->code == TVN_SELCHANGEDA || header->code == TVN_SELCHANGEDW) {
                OnTreeSelection(*side);
            } else if (header->code == TVN_ITEMEXPANDEDA || header->code == TVN_ITEMEXPANDEDW) {
                auto* change = reinterpret_cast<NMTREEVIEWA*>(lp);
                if (change->itemNew.hItem != side->treeView.ItemOf(&side->tree.root())) UpdateExpandedImage(*change);
            }
            return true;
        }
        if (header->code == LVN_COLUMNCLICK) {
            Sort(*side, reinterpret_cast<NMLISTVIEW*>(lp)->iSubItem);
        } else if (header->code == NM_DBLCLK && !saving_) {
            if (side == &left_) MoveItems(left_, right_, false);
            else MoveItems(right_, left_, false);
        }
        return true;
    }
    default:
        return false;
    }
}

}  // namespace tvx::win
