#include "launcher/win32/launcher_window.h"

#include "data/ansi_text.h"
#include "data/win32/clipboard_io.h"
#include "data/win32/file_io.h"
#include "data/win32/mailbox.h"
#include "data/win32/guid.h"
#include "data/win32/profile.h"
#include "data/win32/timing_log.h"
#include "launcher/win32/run_command.h"
#include "resources/add_item_ids.h"
#include "resources/resource_ids.h"
#include "shellext/win32/add_item_dialog.h"
#include "ui/skin/win32/catalog_tree_view.h"
#include "ui/skin/win32/message_box.h"
#include "ui/skin/win32/resource_module.h"
#include "ui/skin/win32/subclass.h"

#include <windowsx.h>

#include <cstring>

namespace tvx::win {

namespace {

constexpr int kOpenListHeight = 60;
constexpr COLORREF kOutlineColor = RGB(161, 220, 255);

class AboutBox : public Dialog {
public:
    AboutBox() : Dialog(IDD_ABOUT) {}
};

RECT ChildRect(HWND parent, HWND child) {
    RECT rc{};
    GetWindowRect(child, &rc);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

// The maker's pages; the addresses are put together when they are opened.
std::string WebPage(const char* page) { return std::string("http://www.") + "tavrolinex" + ".com/" + page; }

LRESULT CALLBACK ResultListProc(HWND list, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (msg == WM_NCDESTROY) RemoveSubclass(list, ResultListProc, 1);
    if (msg == WM_SETFOCUS) {
        // Typing only selects rows (moving the focus mark across a long
        // owner-data list is slow); the arrow keys start from the focus
        // mark, so it joins the selected row when the list takes the keys.
        const LRESULT selected = SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
        if (selected >= 0 && SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED) != selected) {
            LVITEMA focus = {};
            focus.stateMask = focus.state = LVIS_FOCUSED;
            SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(&focus));
        }
    }
    LRESULT r = CallNextSubclass(list, msg, wp, lp);
    if (msg == WM_KEYDOWN || msg == WM_LBUTTONDOWN) {
        // After the list has handled the key or the press: tell the window
        // which row is selected now, so that moving with the arrow keys
        // shows each item, and so does a click on a row (the press closes
        // the list, so its button-up never reaches the list).
        int row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
        if (row >= 0) SendMessageA(GetParent(list), kResultListNotify, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(list));
    }
    return r;
}

}  // namespace

LauncherWindow::LauncherWindow(std::string installDir, ItemStore& store)
    : Dialog(IDD_LAUNCHER), installDir_(std::move(installDir)), store_(store) {
    lists_[kShort] = {IDC_LIST_SHORT, IDC_FIND_SHORT, IDC_DROP_SHORT, {KeyField::ShortName, {}}, {}, false};
    lists_[kName] = {IDC_LIST_NAME, IDC_FIND_NAME, IDC_DROP_NAME, {KeyField::Name, {}}, {}, false};
    titleText_ = MessageText("ShortDlgTitle");
    nameLabel_ = MessageText("NameTitle");
    shortNameLabel_ = MessageText("ShortNameTitle");
    hotkeyLabel_ = MessageText("HotkeyTitle");
    descriptionLabel_ = MessageText("DescriptionTitle");
}

LauncherWindow::~LauncherWindow() { tray_.Remove(); }

bool LauncherWindow::OnInitDialog() {
    // 1. The About entry of the system menu.
    const std::string about = LoadResourceString(IDS_ABOUT_ENTRY);
    if (HMENU sys = GetSystemMenu(hwnd(), FALSE); sys && !about.empty()) {
        AppendMenuA(sys, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(sys, MF_STRING, IDM_ABOUTBOX, about.c_str());
    }
    // 2. Icons.
    bigIcon_.reset(static_cast<HICON>(LoadImageA(ResourceModule(), MAKEINTRESOURCEA(IDI_MAINFRAME), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0)));
    smallIcon_.reset(static_cast<HICON>(LoadImageA(ResourceModule(), MAKEINTRESOURCEA(IDI_MAINFRAME), IMAGE_ICON,
                                                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
    SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
    SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
    SetWindowTextA(hwnd(), titleText_.c_str());
    // 3. The support page.
    OpenWebPage("support.htm");
    // 4. The mailbox destination; this window also owns restored clipboards.
    PublishMailboxDestination(hwnd());
    // 6. Both result lists.
    SetUpList(lists_[kShort], true);
    SetUpList(lists_[kName], false);
    // 7.
    ShowWindow(Item(IDC_HOTKEY_TEXT), SW_SHOW);
    ShowWindow(Item(IDC_LIST_SHORT), SW_HIDE);
    ShowWindow(Item(IDC_LIST_NAME), SW_HIDE);
    // 8.
    CreateDirectoryA((installDir_ + "\\Data").c_str(), nullptr);
    // 9. Pictures and buttons.
    SetBackground(installDir_ + "\\Images\\CommonDlg.png");
    SetTransparentLabels(true);
    SetDragByBody(true);
    const std::string img = installDir_ + "\\Images\\";
    SetButtonImages(IDC_RUN_APPS, img + "normalbtn_01.png", img + "normalbtn_02.png");
    SetButtonImages(IDC_EXIT, img + "Exit_01.png", img + "Exit_02.png", MessageText("ExitButton"));
    SetButtonImages(IDC_MINIMIZE, img + "Min_01.png", img + "Min_02.png", MessageText("MinButton"));
    SetButtonImages(IDC_CONFIG, img + "Config_01.png", img + "Config_02.png", MessageText("ConfigButton"));
    SetButtonImages(IDC_IMPORT, img + "Import_01.png", img + "Import_02.png", MessageText("ImportButton"));
    SetButtonImages(IDC_EXPORT, img + "Export_01.png", img + "Export_02.png", MessageText("ExportButton"));
    SetButtonImages(IDC_SUPPORT, img + "TechSupport_01.png", img + "TechSupport_02.png", MessageText("SupportButton"));
    SetButtonImages(IDC_LATEST_VERSION, img + "Download_01.png", img + "Download_02.png",
                    MessageText("LatestVerButton"));
    SetButtonImages(IDC_HELP_LAUNCHER, img + "Help_03.png", img + "Help_04.png", MessageText("HelpButton"));
    SetButtonImages(IDC_DROP_SHORT, img + "ComboButton.png", img + "ComboButton.png");
    SetButtonImages(IDC_DROP_NAME, img + "ComboButton.png", img + "ComboButton.png");
    ShowWindow(Item(IDC_HELP_LAUNCHER), SW_HIDE);
    EnableWindow(Item(IDC_HELP_LAUNCHER), FALSE);
    // The catalog tree: skinned bars and its four icons.
    SkinTree(IDC_CATALOG_TREE, installDir_);
    treeImages_ = CreateCatalogImages();
    SendMessageA(Item(IDC_CATALOG_TREE), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(treeImages_.get()));
    // 10.
    SendMessageA(Item(IDC_FIND_SHORT), EM_SETSEL, 0, -1);
    SetFocus(Item(IDC_FIND_SHORT));
    // 11.-13. A save cut short leaves its temporary file: those go first.
    RemoveStaleTemporaries(installDir_);
    bool itemsWhole = true, catalogsWhole = true;
    LoadItems(&itemsWhole);
    LoadCatalogTree(&catalogsWhole);
    RecoverDamagedFiles(itemsWhole, catalogsWhole);
    itemHotkeys_.Register(store_);
    return false;  // the focus is set
}

void LauncherWindow::SetUpList(ListPane& pane, bool shortNameFirst) {
    HWND lv = Item(pane.listId);
    pane.layout = ChildRect(hwnd(), lv);
    SendMessageA(lv, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    SendMessageA(lv, LVM_SETBKCOLOR, 0, RGB(255, 255, 255));
    SendMessageA(lv, LVM_SETTEXTBKCOLOR, 0, RGB(255, 255, 255));
    SkinListCtrl* list = SkinList(pane.listId, installDir_);
    const char* first = shortNameFirst ? "ShortName" : "Program Name";
    const char* second = shortNameFirst ? "Program Name" : "ShortName";
    const std::pair<const char*, int> columns[] = {
        {first, shortNameFirst ? 60 : 120}, {second, shortNameFirst ? 120 : 60}, {"Program Description", 60}, {"IndexInAll", 0}};
    for (int i = 0; i < 4; ++i) {
        if (list) {
            list->InsertColumn(i, columns[i].first, SkinListCtrl::Left, columns[i].second);
            continue;
        }
        LVCOLUMNA col = {};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        col.pszText = const_cast<char*>(columns[i].first);
        col.cx = columns[i].second;
        col.iSubItem = i;
        SendMessageA(lv, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&col));
    }
    AddSubclass(lv, ResultListProc, 1, 0);
}

// ---- data ----------------------------------------------------------------

void LauncherWindow::LoadItems(bool* whole) {
    SetRows(ResultLists{});
    {
        TimedStep timed("item_file_load_ms");
        store_ = LoadItemFile(ItemFilePath(), whole);
    }
    SetRows(FillAtStartup(store_));
}

// A file that could not be read whole is kept as a dated copy beside it and
// then written again with what could be read, so that later appends and
// saves build on a whole file and the user's only copy of the rest survives.
// A damaged file whose copy could not be made is left as it is, and no write
// replaces it until a copy can be made: it may be the only place the rest of
// the user's entries still are. The user is told once, with its path.
void LauncherWindow::RecoverDamagedFiles(bool itemsWhole, bool catalogsWhole) {
    if (itemsWhole && catalogsWhole) return;
    const DamageRecovery recovery =
        tvx::win::RecoverDamagedFiles(ItemFilePath(), store_, itemsWhole, CatalogFilePath(), tree_, catalogsWhole);
    if (recovery.catalogsChanged) LoadCatalogTree();
    if (recovery.uncopied.empty()) ShowMessageLater("DamagedDataFile");
    else ShowMessageLater("DamagedFileNotCopied", recovery.uncopied);
}

void LauncherWindow::SetRows(ResultLists lists) {
    lists_[kShort].rows = std::move(lists.byShortName);
    lists_[kName].rows = std::move(lists.byName);
    for (const ListPane& pane : lists_) {
        HWND lv = Item(pane.listId);
        SendMessageA(lv, LVM_SETITEMCOUNT, pane.rows.size(), 0);
        InvalidateRect(lv, nullptr, TRUE);
    }
}

void LauncherWindow::LoadCatalogTree(bool* whole) {
    // The nodes point at the catalogs: they go first, and with them the
    // selection, so that no selection change can read a freed catalog.
    HWND tv = Item(IDC_CATALOG_TREE);
    ClearCatalogTreeView(tv);
    ResetCatalogs(tree_, index_, MessageText("AllCatalogsTitle"));
    LoadCatalogFile(CatalogFilePath(), index_, whole);
    HTREEITEM root = ShowCatalogTree(tv, tree_);
    SendMessageA(tv, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
    TVITEMA item = {};  // expanding by message sends no notification: show the open image here
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = root;
    item.iImage = item.iSelectedImage = 1;
    SendMessageA(tv, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void LauncherWindow::FillFromSelectedNode() {
    if (const CatalogNode* node = SelectedCatalogNode(Item(IDC_CATALOG_TREE)))
        SetRows(FillFromCatalog(node->nodeData, node == &tree_.root(), store_));
}

// ---- the result lists -----------------------------------------------------

void LauncherWindow::OpenList(Which which) {
    ListPane& list = lists_[which];
    if (list.open) return;
    ShowWindow(Item(IDC_HOTKEY_TEXT), SW_HIDE);
    const RECT& r = list.layout;
    SetWindowPos(Item(list.listId), HWND_TOP, r.left, r.top, r.right - r.left, kOpenListHeight, SWP_SHOWWINDOW);
    if (which == kShort) {
        ShowWindow(Item(IDC_FIND_NAME), SW_HIDE);
        ShowWindow(Item(IDC_DROP_NAME), SW_HIDE);
    }
    list.open = true;
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void LauncherWindow::CloseList(Which which) {
    ListPane& list = lists_[which];
    // A hidden window cannot keep the focus: hand it to the list's box before
    // the system passes it on to the tree, whose first focus selects a node
    // and refills the lists.
    if (GetFocus() == Item(list.listId)) SetFocus(Item(list.boxId));
    if (list.open) {
        ShowWindow(Item(list.listId), SW_HIDE);
        list.open = false;
    }
    ShowWindow(Item(IDC_FIND_NAME), SW_SHOW);
    ShowWindow(Item(IDC_DROP_NAME), SW_SHOW);
    ShowWindow(Item(IDC_HOTKEY_TEXT), SW_SHOW);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void LauncherWindow::CloseBoth() {
    CloseList(kShort);
    CloseList(kName);
}

long LauncherWindow::SelectedRow(Which which) const {
    return static_cast<long>(
        SendMessageA(GetDlgItem(hwnd(), lists_[which].listId), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void LauncherWindow::SelectRow(Which which, long row) {
    HWND lv = Item(lists_[which].listId);
    // Typing selects a row at every key: the old row is let go by itself
    // first, because a single-selection list that has to find the old one
    // itself looks through all of its 100,000 rows. The focus mark follows
    // when the list takes the keyboard (ResultListProc).
    LVITEMA state = {};
    state.stateMask = LVIS_SELECTED;
    const LRESULT old = SendMessageA(lv, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
    if (old != row) {
        if (old >= 0) SendMessageA(lv, LVM_SETITEMSTATE, static_cast<WPARAM>(old), reinterpret_cast<LPARAM>(&state));
        state.state = LVIS_SELECTED;
        SendMessageA(lv, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
    }
    SendMessageA(lv, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

std::string LauncherWindow::BoxText(Which which) const {
    HWND box = GetDlgItem(hwnd(), lists_[which].boxId);
    std::string text(static_cast<size_t>(GetWindowTextLengthA(box)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(box, &text[0], static_cast<int>(text.size()))));
    return text;
}

bool LauncherWindow::SelectFirstMatch(Which which, const std::string& text) {
    long row = FindFirstPrefix(store_, lists_[which].rows, text);
    if (row < 0) return false;  // the selection stays as it was
    SelectRow(which, row);
    return true;
}

void LauncherWindow::FindAsYouType(Which which) {
    OpenList(which);
    SelectFirstMatch(which, BoxText(which));
}

void LauncherWindow::StartSelected(Which which) {
    const long row = SelectedRow(which);
    const ResultList& rows = lists_[which].rows;
    if (row < 0 || static_cast<size_t>(row) >= rows.size()) return;
    const size_t p = rows.positions[static_cast<size_t>(row)];
    if (p >= store_.size()) return;
    suppressFind_ = true;
    ShowItem(p);
    const std::string command = store_[p].ExePath.str();
    ExecuteItemText(hwnd(), command);
}

void LauncherWindow::StartTypedText(Which which) {
    const std::string text = BoxText(which);
    if (text.empty()) return;
    if (SelectFirstMatch(which, text)) StartSelected(which);
}

void LauncherWindow::ShowItem(long long position) {
    if (position < 0 || static_cast<unsigned long long>(position) >= store_.size()) return;
    const LaunchItem& item = store_[static_cast<size_t>(position)];
    suppressFind_ = true;
    SetWindowTextA(Item(IDC_FIND_NAME), item.Name.c_str());
    SetWindowTextA(Item(IDC_FIND_SHORT), item.ShortName.c_str());
    suppressFind_ = false;
    const std::string hotkey = item.Hotkey1 + " + " + item.Hotkey2;
    SetWindowTextA(Item(IDC_HOTKEY_TEXT), hotkey.c_str());
    SetWindowTextA(Item(IDC_DESCRIPTION), item.Description.c_str());
    current_ = position;
    // The two texts are drawn over the picture: repaint what lies behind them.
    for (int id : {IDC_HOTKEY_TEXT, IDC_DESCRIPTION}) {
        RECT rc = ChildRect(hwnd(), Item(id));
        InvalidateRect(hwnd(), &rc, TRUE);
    }
}

void LauncherWindow::ShowRow(Which which, size_t row) {
    const ResultList& rows = lists_[which].rows;
    if (row < rows.size()) ShowItem(rows.positions[row]);
}

LRESULT LauncherWindow::OnListNotify(Which which, NMHDR* header) {
    const ResultList& rows = lists_[which].rows;
    switch (header->code) {
    case LVN_GETDISPINFOA: {
        auto* info = reinterpret_cast<NMLVDISPINFOA*>(header);
        if (!(info->item.mask & LVIF_TEXT) || info->item.iItem < 0 ||
            static_cast<size_t>(info->item.iItem) >= rows.size() || info->item.cchTextMax <= 0)
            return 0;
        const size_t row = static_cast<size_t>(info->item.iItem);
        std::string position;
        std::string_view text;
        switch (info->item.iSubItem) {
        case 0: text = RowKey(store_, rows, row); break;
        case 1: text = RowSecond(store_, rows, row); break;
        case 2: text = RowDescription(store_, rows, row); break;
        default: text = position = std::to_string(rows.positions[row]); break;
        }
        CopyToCharBuffer(text, info->item.pszText, static_cast<size_t>(info->item.cchTextMax));
        return 0;
    }
    case NM_CLICK: {
        auto* click = reinterpret_cast<NMITEMACTIVATE*>(header);
        if (click->iItem >= 0) ShowRow(which, static_cast<size_t>(click->iItem));
        return 0;
    }
    default:
        return 0;
    }
}

// ---- keys and mouse, before the focused control sees them ------------------

bool LauncherWindow::PreTranslateMessage(MSG& msg) {
    // The program's hot keys are registered for the thread (no window); a hot
    // key that belongs to one of the program's windows goes to that window.
    if (msg.message == WM_HOTKEY && (!msg.hwnd || msg.hwnd == hwnd())) {
        OnHotkey(static_cast<int>(msg.wParam));
        return true;
    }
    if (!hwnd() || !msg.hwnd || (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd))) return false;
    switch (msg.message) {
    case WM_KEYDOWN:
        HandleMousePress(msg);
        return HandleKey(msg);
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN:
        HandleMousePress(msg);
        return false;
    default:
        return false;
    }
}

void LauncherWindow::HandleMousePress(const MSG& msg) {
    const HWND target = msg.hwnd;
    const bool left = msg.message == WM_LBUTTONDOWN || msg.message == WM_NCLBUTTONDOWN;
    const bool isMouse = msg.message != WM_KEYDOWN;
    // A press in the control itself (its rows), or anywhere on it including
    // its skinned scroll bars, which scroll the list without closing it.
    auto inRows = [&](int id) { HWND c = Item(id); return target == c || IsChild(c, target); };
    auto in = [&](int id) { return inRows(id) || SkinScrollBar::TargetOf(target) == Item(id); };

    if (lists_[kShort].open && !in(IDC_FIND_SHORT) && !in(IDC_LIST_SHORT) && !in(IDC_DROP_SHORT))
        CloseList(kShort);
    if (!isMouse) return;
    if (left && (in(IDC_FIND_SHORT) || in(IDC_FIND_NAME))) {
        CloseBoth();
    } else if (left && lists_[kShort].open && inRows(IDC_LIST_SHORT)) {
        CloseList(kShort);  // the press still reaches the list and shows the row under it
    } else if (left && lists_[kName].open && inRows(IDC_LIST_NAME)) {
        CloseList(kName);
    } else if (target == hwnd() || (left && in(IDC_CATALOG_TREE))) {
        CloseBoth();
    }
}

bool LauncherWindow::HandleKey(MSG& msg) {
    const WPARAM key = msg.wParam;
    if (key != VK_DOWN && key != VK_RETURN && key != VK_ESCAPE) return false;
    const HWND target = msg.hwnd;
    for (Which which : {kShort, kName}) {
        const ListPane& list = lists_[which];
        if (target == Item(list.boxId)) {
            if (key == VK_DOWN) {
                OpenList(which);
                SetFocus(Item(list.listId));
            } else {
                CloseList(which);
                if (key == VK_RETURN) StartTypedText(which);
            }
            return true;
        }
        if (target == Item(list.listId) && key != VK_DOWN) {
            CloseList(which);
            if (key == VK_RETURN) StartSelected(which);
            return true;
        }
    }
    return false;
}

// ---- messages ----------------------------------------------------------------

bool LauncherWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_SYSCOMMAND:
        if ((wp & 0xFFF0) == IDM_ABOUTBOX) {
            AboutBox about;
            about.RunModal(hwnd());
            result = 0;
            return true;
        }
        return false;
    case WM_NOTIFY: {
        NMHDR* header = reinterpret_cast<NMHDR*>(lp);
        if (header->idFrom == IDC_LIST_SHORT) { result = OnListNotify(kShort, header); return true; }
        if (header->idFrom == IDC_LIST_NAME) { result = OnListNotify(kName, header); return true; }
        if (header->idFrom == IDC_CATALOG_TREE) {
            if (header->code == TVN_SELCHANGEDA || header->code == TVN_SELCHANGEDW) {
                FillFromSelectedNode();
            } else if (header->code == TVN_ITEMEXPANDEDA || header->code == TVN_ITEMEXPANDEDW) {
                UpdateExpandedImage(*reinterpret_cast<NMTREEVIEWA*>(lp));
            }
            result = 0;
            return true;
        }
        return false;
    }
    case kResultListNotify: {
        HWND list = reinterpret_cast<HWND>(lp);
        suppressFind_ = true;
        ShowRow(list == Item(IDC_LIST_SHORT) ? kShort : kName, wp);
        result = 0;
        return true;
    }
    case kItemReadyMessage:
        ReceiveNewItem();
        result = 0;
        return true;
    case kPrefillRequestMessage:
        OnPrefillRequest();
        result = 0;
        return true;
    case kTrayCallbackMessage:
        if (wp == kTrayIconId && lp == WM_LBUTTONDOWN) Show();
        result = 0;
        return true;
    case WM_NCHITTEST:
        if (!dragEnabled_) {
            result = HTCLIENT;
            return true;
        }
        return false;  // the frame makes the body drag the window
    case WM_LBUTTONDOWN:
        dragEnabled_ = false;
        return false;
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
        dragEnabled_ = true;
        return false;
    default:
        return false;
    }
}

void LauncherWindow::OnCommand(int id, int code, HWND) {
    switch (id) {
    case IDC_FIND_SHORT:
    case IDC_FIND_NAME:
        if (code == EN_CHANGE && !suppressFind_) FindAsYouType(id == IDC_FIND_SHORT ? kShort : kName);
        break;
    case IDC_DROP_SHORT: OpenList(kShort); break;
    case IDC_DROP_NAME: OpenList(kName); break;
    case IDC_RUN_APPS: {
        // The trimmed text is what is checked and what is looked for.
        const std::string text = Trim(BoxText(kShort));
        if (!text.empty() && SelectFirstMatch(kShort, text)) StartSelected(kShort);
        break;
    }
    case IDC_EXIT: OnExit(); break;
    case IDC_MINIMIZE: ShowWindow(hwnd(), SW_MINIMIZE); break;
    case IDC_CONFIG:
        if (runConfigDialog) runConfigDialog(hwnd());
        PublishMailboxDestination(hwnd());
        ReloadItemsAndHotkeys();
        LoadCatalogTree();
        break;
    case IDC_IMPORT:
        holdReceived_ = true;
        if (runImportDialog) runImportDialog(hwnd());
        holdReceived_ = false;
        LoadCatalogTree();
        ReloadItemsAndHotkeys();
        FileHeldItems();
        break;
    case IDC_EXPORT:
        if (runExportDialog) runExportDialog(hwnd());
        break;
    case IDC_SUPPORT: OpenWebPage("support.htm"); break;
    case IDC_LATEST_VERSION: OpenWebPage("download.htm"); break;
    default: break;
    }
}

void LauncherWindow::ReloadItemsAndHotkeys() {
    itemHotkeys_.Unregister();
    LoadItems();
    itemHotkeys_.Register(store_);
}

void LauncherWindow::OpenWebPage(const char* page) {
    const std::string address = WebPage(page);
    RunCommand(address.c_str(), nullptr, 1);
}

void LauncherWindow::OnHotkey(int id) {
    if (id == kShowHideHotkeyId) {
        Toggle();
    } else if (id == kCaptureCHotkeyId || id == kCaptureAHotkeyId) {
        CaptureClipboardToNewItem();
    } else {
        const long long p = itemHotkeys_.PositionOf(id);
        if (p >= 0 && static_cast<unsigned long long>(p) < store_.size()) {
            const std::string command = store_[static_cast<size_t>(p)].ExePath.str();
            ExecuteItemText(hwnd(), command);
        }
    }
}

void LauncherWindow::CaptureClipboardToNewItem() {
    // The clipboard is captured on behalf of the window the user was working
    // in: the focused window of the foreground thread.
    const DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    const DWORD ownThread = GetCurrentThreadId();
    const bool attached = foregroundThread != 0 && foregroundThread != ownThread &&
                          AttachThreadInput(ownThread, foregroundThread, TRUE);
    HWND focused = GetFocus();
    const std::string path = NewClipboardDataPath(installDir_);
    CaptureClipboard(focused, path);
    if (attached) AttachThreadInput(ownThread, foregroundThread, FALSE);
    if (RunAddItemDialog(std::string(), path) == IDCANCEL) DeleteFileA(path.c_str());
}

INT_PTR LauncherWindow::RunAddItemDialog(const std::string& shortName, const std::string& exePath) {
    AddItemVariant v;
    v.tree = IDC_ADD_TREE_PROG;
    v.exitButton = IDC_ADD_EXIT_PROG;
    v.minButton = IDC_ADD_MIN_PROG;
    v.helpButton = IDC_ADD_HELP_PROG;
    v.hotkeyLabel = IDC_ADD_HOTKEY_LABEL_PROG;
    v.title = MessageText("AddTavrolinexDlgTitle");
    v.okTip = MessageText("Btn_CloseDialogwithSave");
    v.cancelTip = MessageText("Btn_CloseDialogwithoutSave");
    v.exitTip = MessageText("ExitButton");
    v.helpTip = MessageText("HelpButton");
    v.minTip = MessageText("MinButton");
    v.rootText = MessageText("AllCatalogsTitle");
    v.selectCatalog = MessageText("SelectCatalog");
    v.selectSubCatalog = MessageText("SelSubCatalog");
    v.showMessage = [](HWND owner, const std::string& text) { ShowMessage(owner, text, MB_OK); };
    v.help = [this] { OpenWebPage("help.htm"); };
    AddItemDialog dialog(installDir_, std::move(v));
    dialog.shortName = shortName;
    dialog.exePath = exePath;
    return dialog.RunModal(IsWindowVisible(hwnd()) ? hwnd() : nullptr);
}

void LauncherWindow::ReceiveNewItem() {
    if (holdReceived_) {
        // The sender waits in SendMessage: read the hand-over now, file it later.
        MailboxFields fields = ReceiveFromMailbox();
        if (!fields.Name.empty()) heldItems_.push_back(std::move(fields));
        return;
    }
    const ReceiveResult received = FileReceivedItem(ReceiveFromMailbox(), NewGuidText(), store_, tree_, index_,
                                                    ItemFilePath(), CatalogFilePath());
    if (received.outcome == ReceivedItem::Nothing || received.outcome == ReceivedItem::ItemFileFailed) {
        // The sender waits in SendMessage until this handler returns.
        if (received.outcome == ReceivedItem::ItemFileFailed) ShowMessageLater("AddItemFailed");
        return;
    }
    if (received.outcome == ReceivedItem::CatalogFileFailed) ShowMessageLater("AddItemCatalogFailed");
    itemHotkeys_.RegisterAdded(store_, received.index);  // its hot key works at once
    RefillAfterNewItem();
}

void LauncherWindow::FileHeldItems() {
    std::vector<MailboxFields> held;
    held.swap(heldItems_);
    bool added = false;
    for (const MailboxFields& fields : held) {
        const ReceiveResult received = FileReceivedItem(fields, NewGuidText(), store_, tree_, index_, ItemFilePath(),
                                                        CatalogFilePath());
        if (received.outcome == ReceivedItem::ItemFileFailed) ShowMessageLater("AddItemFailed");
        if (received.outcome == ReceivedItem::CatalogFileFailed) ShowMessageLater("AddItemCatalogFailed");
        added = added || received.outcome == ReceivedItem::Added || received.outcome == ReceivedItem::CatalogFileFailed;
    }
    if (!added) return;
    itemHotkeys_.Unregister();
    itemHotkeys_.Register(store_);
    RefillAfterNewItem();
}

void LauncherWindow::RefillAfterNewItem() {
    if (SelectedTreeItem(Item(IDC_CATALOG_TREE)))
        FillFromSelectedNode();
    else
        SetRows(FillAtStartup(store_));  // no catalog chosen yet: keep the start-up listing current
}

void LauncherWindow::OnPrefillRequest() {
    const MailboxFields request = ReadPrefillRequest();
    if (request.Name.empty()) return;
    RunAddItemDialog(request.ShortName, request.ExePath);
}

void LauncherWindow::Show() {
    // The window first: taking the tray icon away can wait on the shell.
    ShowWindow(hwnd(), SW_SHOW);
    tray_.Remove();
}

void LauncherWindow::Hide() {
    ShowWindow(hwnd(), SW_HIDE);
    tray_.Add(hwnd(), smallIcon_.get() ? smallIcon_.get() : bigIcon_.get());
}

void LauncherWindow::Toggle() {
    if (IsWindowVisible(hwnd())) Hide();
    else Show();
}

void LauncherWindow::OnExit() {
    const std::string question = MessageText("HideProgram");
    if (ShowMessage(hwnd(), question, MB_YESNO) == IDNO)
        End(IDNO);
    else
        Hide();
}

void LauncherWindow::OnDestroy() {
    tray_.Remove();
    WithdrawMailboxDestination(hwnd());
    PublishMailboxDestination(nullptr);
}

// ---- painting -------------------------------------------------------------------

// The open lists lie over what is drawn here; the window clips its
// children, so nothing is drawn under them.
void LauncherWindow::PaintOver(HDC dc) {
    const RECT boxS = ChildRect(hwnd(), Item(IDC_FIND_SHORT)), dropS = ChildRect(hwnd(), Item(IDC_DROP_SHORT));
    const RECT boxN = ChildRect(hwnd(), Item(IDC_FIND_NAME)), dropN = ChildRect(hwnd(), Item(IDC_DROP_NAME));
    const int dropWidth = dropS.right - dropS.left;

    UniqueGdi<HPEN> whitePen(CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
    UniqueGdi<HPEN> outlinePen(CreatePen(PS_SOLID, 1, kOutlineColor));
    {
        SelectGuard pen(dc, whitePen.get());
        SelectGuard brush(dc, GetStockObject(WHITE_BRUSH));
        RoundRect(dc, boxS.left, boxS.top, boxS.right + dropWidth, boxS.bottom, 1, 1);
        if (IsWindowVisible(Item(IDC_FIND_NAME)))
            RoundRect(dc, boxN.left, boxN.top, boxN.right + (dropN.right - dropN.left), boxN.bottom, 1, 1);
    }
    {
        SelectGuard pen(dc, outlinePen.get());
        SelectGuard brush(dc, GetStockObject(NULL_BRUSH));
        RoundRect(dc, boxN.left, boxN.bottom + 25, boxN.right + 20, boxN.bottom + 50, 1, 1);
        RoundRect(dc, boxN.left, boxN.bottom + 75, boxN.right + 20, boxN.bottom + 155, 1, 1);
        RoundRect(dc, boxS.left - 2, boxS.top - 2, boxS.right + dropWidth + 2, boxS.bottom + 2, 1, 1);
        if (IsWindowVisible(Item(IDC_FIND_NAME)))
            RoundRect(dc, boxN.left - 1, boxN.top - 1, boxN.right + (dropN.right - dropN.left) + 1, boxN.bottom + 1, 1, 1);
    }
    // The tree's and the open lists' frames with the room of their bars.
    PaintControlFrames(dc);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(hwnd(), WM_GETFONT, 0, 0));
    SelectGuard fontGuard(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    TextOutA(dc, 10, 3, titleText_.c_str(), static_cast<int>(titleText_.size()));
    SetTextColor(dc, RGB(31, 78, 107));
    SetTextAlign(dc, TA_RIGHT | TA_TOP);
    TextOutA(dc, boxS.left - 1, boxS.top + 2, shortNameLabel_.c_str(), static_cast<int>(shortNameLabel_.size()));
    if (IsWindowVisible(Item(IDC_FIND_NAME)))
        TextOutA(dc, boxN.left - 1, boxN.top + 2, nameLabel_.c_str(), static_cast<int>(nameLabel_.size()));
    TextOutA(dc, boxN.left, boxN.bottom + 30, hotkeyLabel_.c_str(), static_cast<int>(hotkeyLabel_.size()));
    TextOutA(dc, boxN.left, boxN.bottom + 80, descriptionLabel_.c_str(), static_cast<int>(descriptionLabel_.size()));
}

}  // namespace tvx::win
