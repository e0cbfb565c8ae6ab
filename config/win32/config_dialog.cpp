#include "config/win32/config_dialog.h"

#include "data/ansi_text.h"
#include "data/win32/file_io.h"
#include "data/win32/guid.h"
#include "data/win32/mailbox.h"
#include "data/win32/profile.h"
#include "data/win32/timing_log.h"
#include "data/win32/wide_path.h"
#include "services/hotkey_table.h"
#include "services/win32/progress_window.h"
#include "resources/config_ids.h"
#include "ui/skin/win32/catalog_tree_view.h"
#include "ui/skin/win32/message_box.h"
#include "ui/skin/win32/skin_controls.h"

#include <shellapi.h>
#include <windowsx.h>

#include <thread>

namespace tvx::win {

namespace {

// Posted to itself, to act once a control has handled a click.
constexpr UINT kTreeClicked = WM_APP + 2;
constexpr COLORREF kTitleColor = RGB(31, 78, 107);  // ink on the light top of the picture


}  // namespace

ConfigDialog::ConfigDialog(Installation installation, Library& library, Services services)
    : SkinnedDialog(IDD_CONFIG), installation_(std::move(installation)), library_(library),
      store_(library.store()),
      services_(std::move(services)),
      newGuid_([] { return NewGuidText(); }) {
    title_ = MessageText("ConfigDlgTitle");
}

ConfigDialog::~ConfigDialog() = default;

// ---- opening ----------------------------------------------------------------------

bool ConfigDialog::OnInitDialog() {
    // The dialog's work starts 200 ms after it opens: counted from here, so
    // that setting up the dialog is part of the wait, not added to it.
    SetTimer(hwnd(), kStartTimer, 200, nullptr);
    // Entries added from Explorer now come to this dialog.
    PublishMailboxDestination(installation_.MailboxFile(), hwnd());
    WriteEditingMark(ItemFilePath(), 0x01);
    SetUpImagesAndTips();
    SetUpLists();
    LoadCatalogs();
    SetWindowTextA(hwnd(), MessageText("ShortcutConfigDlgTitle").c_str());
    CheckDlgButton(hwnd(), IDC_CFG_PROGRAMS, BST_CHECKED);
    DragAcceptFiles(hwnd(), TRUE);
    treeLayout_ = RECT{};
    GetWindowRect(Item(IDC_CFG_TREE), &treeLayout_);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&treeLayout_), 2);
    GetWindowRect(Item(IDC_CFG_ITEMS), &listLayout_);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&listLayout_), 2);
    return true;
}

void ConfigDialog::SetUpImagesAndTips() {
    SkinFrame frame{"CommonDlg_01.png", true,
                    {PictureButton(IDC_CFG_EXIT, "Exit", MessageText("ExitButton")),
                     PictureButton(IDC_CFG_MIN, "Min", MessageText("MinButton")),
                     PictureButton(IDC_CFG_HELP, "Help", MessageText("HelpButton")),
                     PictureButton(IDC_CFG_LINK_SELECTED, "Up", MessageText("Btn_LinkSelectedItem")),
                     PictureButton(IDC_CFG_LINK_ALL, "UpAll", MessageText("Btn_LinkAllItems")),
                     PictureButton(IDC_CFG_MEMBER_UP, "Up", MessageText("Btn_UpItem")),
                     PictureButton(IDC_CFG_MEMBER_DOWN, "Down", MessageText("Btn_DownItem")),
                     ListDropButton(IDC_CFG_HOTKEY2_DROP, MessageText("Btn_OpenList"))}};
    const std::pair<int, const char*> textButtons[] = {
        {IDC_CFG_CATALOG_ADD, "Btn_AddCatalog"},       {IDC_CFG_CATALOG_UPDATE, "Btn_UpdateCatalog"},
        {IDC_CFG_CATALOG_DEL, "Btn_DeleteCatalog"},    {IDC_CFG_HIDE_LIST, "Btn_HideShortcut"},
        {IDC_CFG_SET, "Btn_SetItemInfo"},              {IDC_CFG_RESET, "Btn_SetItemDefault"},
        {IDC_CFG_RESET_ALL, "Btn_ResetAllItems"},      {IDC_CFG_CUSTOM, "Btn_CustomCommands"},
        {IDC_CFG_EXEC, "Btn_EditItem"},                {IDC_CFG_BATCH_REPLACE, "Btn_BatchReplaceItem"},
        {IDC_CFG_ADD_SELECTED, "Btn_AddSelectedItems"}, {IDC_CFG_ADD_ALL, "Btn_AddAllItems"},
        {IDC_CFG_REMOVE_SELECTED, "Btn_DeleteSelectedItems"}, {IDC_CFG_REMOVE_ALL, "Btn_DeleteAllItems"},
        {IDC_CFG_FILES, "Btn_SelectFile"},             {IDC_CFG_FOLDER, "Btn_SelectFolder"},
        {IDC_CFG_CREATE_COMP, "Btn_AddComposedItem"},  {IDC_CFG_SAVE_COMP, "Btn_SaveComposedItem"},
        {IDC_CFG_TEST_COMP, "Btn_TestComposedItem"},   {IDC_CFG_EDIT_MEMBER, "Btn_EditCompItem"},
        {IDC_CFG_ADD_TO_COMP, "Btn_AddItemToComp"},    {IDC_CFG_DEL_MEMBER, "Btn_DeleteComposedItem"},
        {IDC_CFG_CLEAR_MEMBERS, "Btn_DeleteAllComposedItem"}, {IDC_CFG_SAVE, "Btn_SaveChangedDatas"},
        {IDC_CFG_OK, "Btn_CloseDialogwithSave"},       {IDC_CFG_CANCEL, "Btn_CloseDialogwithoutSave"},
    };
    for (auto [id, key] : textButtons) frame.buttons.push_back(LabelButton(id, MessageText(key)));
    ApplyFrame(installation_, frame);
    const std::string hideText = MessageText("HideTavrolinexListButton");
    if (!hideText.empty()) SetDlgItemTextA(hwnd(), IDC_CFG_HIDE_LIST, hideText.c_str());
    AddTooltip(IDC_CFG_ITEM_FIND, MessageText("FindTavrolinexItem"));
    AddTooltip(IDC_CFG_CAND_FIND, MessageText("FindProgramItem"));
    NameForScreenReaders(IDC_CFG_ITEM_FIND, MessageText("FindTavrolinexItem"));
    NameForScreenReaders(IDC_CFG_CAND_FIND, MessageText("FindProgramItem"));
    // The hot-key choices.
    SkinComboBox::Attach(Item(IDC_CFG_HOTKEY1), installation_.Image("ComboButton.png"), 0);
    for (const char* text : {"Ctrl", "Alt", "Shift", "No Hotkey"})
        SendMessageA(Item(IDC_CFG_HOTKEY1), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

void ConfigDialog::SetUpLists() {
    images_ = CreateCatalogImages();
    CatalogPane::Events treeEvents;
    treeEvents.catalogChosen = [this](CatalogNode* node) { OnCatalogChosen(node); };
    treeEvents.leafChosen = [this](long row) { OnLeafChosen(row); };
    treeEvents.catalogMoved = [this] {
        items_.EndInplaceEdit();
        modified_ = true;
    };
    treeEvents.doubleClicked = [this] { EditSelectedItem(); };
    catalogs_.Attach(Item(IDC_CFG_TREE), SkinTree(IDC_CFG_TREE, installation_), images_.get(), std::move(treeEvents));

    auto prepare = [](HWND lv) {
        SendMessageA(lv, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
        SendMessageA(lv, LVM_SETBKCOLOR, 0, RGB(255, 255, 255));
        SendMessageA(lv, LVM_SETTEXTBKCOLOR, 0, RGB(255, 255, 255));
    };
    prepare(Item(IDC_CFG_ITEMS));
    SkinListCtrl* itemList = SkinList(IDC_CFG_ITEMS, installation_);
    LendImageList(Item(IDC_CFG_ITEMS), LVSIL_SMALL, images_.get());  // the list borrows the tree's images
    ItemListPane::Events listEvents;
    listEvents.rowClicked = [this](long row) { LoadComposedFromRow(row); };
    listEvents.rowsReordered = [this] { ListChanged(); };
    listEvents.doubleClicked = [this] { EditSelectedItem(); };
    listEvents.dragByBody = [this](bool on) { SetDragByBody(on); };
    items_.Attach(hwnd(), itemList, std::move(listEvents));

    prepare(Item(IDC_CFG_CANDIDATES));
    SkinListCtrl* candidateList = SkinList(IDC_CFG_CANDIDATES, installation_);
    if (candidateList) candidateList->InsertColumn(0, MessageText("NameTitle_01"), SkinListCtrl::Left, 360);
    candidates_.Attach(Item(IDC_CFG_CANDIDATES), candidateList);

    prepare(Item(IDC_CFG_MEMBERS));
    if (SkinListCtrl* members = SkinList(IDC_CFG_MEMBERS, installation_))
        members->InsertColumn(0, "Name", SkinListCtrl::Left, 660);
    composed_.Attach(hwnd(), IDC_CFG_COMPOSED, IDC_CFG_COMP_NAME, IDC_CFG_MEMBERS);

    HWND keys = Item(IDC_CFG_KEYS);
    prepare(keys);
    FrozenRedraw frozen(keys);
    items_.FillKeys(SkinList(IDC_CFG_KEYS, installation_));
}

void ConfigDialog::LoadCatalogs() {
    // The view lets go of its nodes before the catalogs they point at are freed.
    catalogs_.Clear();
    listed_ = pinned_ = nullptr;
    // A copy of the launcher's tree, which is what the catalog file holds (the
    // launcher reads the file again before it opens this dialog when its last
    // read found the file held): Cancel drops the copy.
    library_.CopyCatalogsTo(tree_, index_);
    catalogs_.Show(nullptr);
}

void ConfigDialog::RunFirstDiscovery() {
    // The worker gets the live names, not the table: an entry arriving
    // through the mailbox meanwhile changes the table on this thread.
    std::unordered_set<std::string> live;
    live.reserve(store_.size());
    for (const LaunchItem& item : store_.items())
        if (!item.IsRemoved()) live.insert(item.Name.str());
    std::vector<CandidateRow> found;
    ProgressDone = 0;
    ProgressWindow progress(installation_, MessageText("LoadingConfigDataTip"));
    std::thread worker([&found, &progress, live = std::move(live), discover = services_.discoverPrograms] {
        try {
            if (discover) found = discover(live);
        } catch (...) {
            found.clear();  // nothing found is better than a progress window that never closes
        }
        progress.Finish();
    });
    progress.RunModal(hwnd());
    worker.join();
    candidates_.Set(std::move(found));
    // The root lists every live item.
    catalogs_.SelectRoot();
    if (!listed_) OnCatalogChosen(&tree_.root());
    LogCount("config_started", 1);  // the timings log: the dialog's start is over
}

void ConfigDialog::RunDiscovery() {
    std::unordered_set<std::string> live;
    for (const LaunchItem& item : store_.items())
        if (!item.IsRemoved()) live.insert(item.Name.str());
    candidates_.Set(services_.discoverPrograms ? services_.discoverPrograms(live) : std::vector<CandidateRow>{});
}

// ---- messages ---------------------------------------------------------------------------

bool ConfigDialog::PreTranslateMessage(MSG& msg) {
    if (!hwnd() || !msg.hwnd || (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd))) return false;
    if (items_.PreTranslate(msg)) return true;
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN && msg.hwnd == Item(IDC_CFG_CATALOG_NAME)) {
        AddCatalog();
        return true;
    }
    if (msg.message == WM_KEYUP && msg.wParam == VK_DELETE) {
        if (msg.hwnd == Item(IDC_CFG_TREE)) DeleteCatalog();
        else if (msg.hwnd == Item(IDC_CFG_ITEMS)) RemoveFromList(false);
        else if (msg.hwnd == Item(IDC_CFG_MEMBERS)) composed_.Delete(false);
        return false;
    }
    if (msg.message == WM_KEYUP && msg.wParam == VK_F5) {
        ExecSelected();
        return true;
    }
    if (msg.message == WM_LBUTTONDOWN && msg.hwnd == Item(IDC_CFG_TREE)) {
        // After the tree has handled the press: the click rule reads its selection.
        PostMessageA(hwnd(), kTreeClicked, 0, 0);
    }
    return false;
}

bool ConfigDialog::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (items_.HandleMessage(msg, wp, lp, result)) return true;
    switch (msg) {
    case WM_QUERYENDSESSION:
        result = MayEndSession() ? TRUE : FALSE;
        return true;
    case WM_ENDSESSION:
        if (wp) SettleDataFiles(false);  // the session ends: captures no save took go
        result = 0;
        return true;
    case WM_TIMER:
        if (wp != kStartTimer) return false;
        KillTimer(hwnd(), kStartTimer);
        RunFirstDiscovery();
        result = 0;
        return true;
    case kTreeClicked:
        OnTreeClick();
        result = 0;
        return true;
    case WM_ACTIVATE:
        OnActivate(LOWORD(wp) != WA_INACTIVE);
        return false;
    case WM_CLOSE:
        // Alt+F4 and the taskbar's Close: the frame's close button.
        AskAndClose();
        result = 0;
        return true;
    case WM_HOTKEY:
        if (wp == static_cast<WPARAM>(kConfigSaveHotkeyId)) {
            SaveComposed(false, true);
            SetInfo();
            Save(true);
        }
        result = 0;
        return true;
    case kItemReadyMessage:
        ReceiveItem();
        result = 0;
        return true;
    case WM_DROPFILES:
        OnDroppedFiles(reinterpret_cast<HDROP>(wp));
        result = 0;
        return true;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lp);
        result = 0;
        if (items_.HandleNotify(header) || candidates_.HandleNotify(header) || composed_.HandleNotify(header) ||
            catalogs_.HandleNotify(header))
            return true;
        switch (header->idFrom) {
        case IDC_CFG_CANDIDATES:
            if (header->code == NM_DBLCLK) {
                const CandidateRow* row = candidates_.FirstSelected();
                if (composed_.Checked()) {
                    if (row) AddMembers({{row->name, row->target}});
                } else {
                    AddCandidatesToList(false);
                }
            }
            return true;
        default:
            return false;
        }
    }
    default:
        return false;
    }
}

void ConfigDialog::OnCommand(int id, int code, HWND control) {
    if (items_.HandleCommand(id, code, control)) return;
    switch (id) {
    case IDC_CFG_EXIT: AskAndClose(); break;
    case IDC_CFG_MIN: ShowWindow(hwnd(), SW_MINIMIZE); break;
    case IDC_CFG_HELP: if (services_.help) services_.help(); break;
    case IDC_CFG_SAVE: Save(false); break;
    case IDC_CFG_OK: if (Save(false)) CloseDialog(IDOK); break;
    case IDC_CFG_CANCEL: CloseDialog(IDCANCEL); break;
    case IDC_CFG_CATALOG_ADD: AddCatalog(); break;
    case IDC_CFG_CATALOG_UPDATE: UpdateCatalog(); break;
    case IDC_CFG_CATALOG_DEL: DeleteCatalog(); break;
    case IDC_CFG_LINK_SELECTED: LinkRows(false); break;
    case IDC_CFG_LINK_ALL: LinkRows(true); break;
    case IDC_CFG_NOT_CHANGE_LIST:
        if (code == BN_CLICKED)
            pinned_ = IsDlgButtonChecked(hwnd(), IDC_CFG_NOT_CHANGE_LIST) == BST_CHECKED ? catalogs_.SelectedOrLeafCatalog() : nullptr;
        break;
    case IDC_CFG_HIDE_LIST: ToggleList(); break;
    case IDC_CFG_CAND_FIND: if (code == EN_CHANGE) candidates_.Find(BoxText(IDC_CFG_CAND_FIND)); break;
    case IDC_CFG_SET: SetInfo(); break;
    case IDC_CFG_RESET: ResetSelected(); break;
    case IDC_CFG_RESET_ALL: ResetAll(); break;
    case IDC_CFG_EXEC: ExecSelected(); break;
    case IDC_CFG_ADD_SELECTED: AddCandidatesToList(false); break;
    case IDC_CFG_ADD_ALL: AddCandidatesToList(true); break;
    case IDC_CFG_REMOVE_SELECTED: RemoveFromList(false); break;
    case IDC_CFG_REMOVE_ALL: RemoveFromList(true); break;
    case IDC_CFG_PROGRAMS: if (code == BN_CLICKED) RunDiscovery(); break;
    case IDC_CFG_URLS: if (code == BN_CLICKED) ImportUrls(); break;
    case IDC_CFG_FILES: AddChosenFiles(); break;
    case IDC_CFG_FOLDER: AddChosenFolder(); break;
    case IDC_CFG_CUSTOM: CreateCustomItem(); break;
    case IDC_CFG_BATCH_REPLACE: RunBatchReplace(); break;
    case IDC_CFG_ADD_TO_COMP: AddItemsToComposed(); break;
    case IDC_CFG_DEL_MEMBER: composed_.Delete(false); break;
    case IDC_CFG_CLEAR_MEMBERS: composed_.Delete(true); break;
    case IDC_CFG_MEMBER_UP: composed_.Move(-1); break;
    case IDC_CFG_MEMBER_DOWN: composed_.Move(1); break;
    case IDC_CFG_EDIT_MEMBER: EditMember(); break;
    case IDC_CFG_TEST_COMP: TestComposed(); break;
    case IDC_CFG_CREATE_COMP: SaveComposed(true, false); break;
    case IDC_CFG_SAVE_COMP: SaveComposed(false, false); break;
    default: break;
    }
}

void ConfigDialog::PaintOver(HDC dc) {
    // The text boxes sit on white with a light outline, as the launcher's do.
    OutlineTextBoxes(dc, {IDC_CFG_CATALOG_NAME, IDC_CFG_ITEM_FIND, IDC_CFG_CAND_FIND, IDC_CFG_SHORT, IDC_CFG_DESC,
                          IDC_CFG_COMP_NAME});
    OutlineTextBoxes(dc, {IDC_CFG_HOTKEY2}, IDC_CFG_HOTKEY2_DROP);
    PaintControlFrames(dc);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(hwnd(), WM_GETFONT, 0, 0));
    SelectGuard fontGuard(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, kTitleColor);
    TextOutA(dc, 20, 10, title_.c_str(), static_cast<int>(title_.size()));
}

}  // namespace tvx::win
