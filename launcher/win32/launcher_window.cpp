#include "launcher/win32/launcher_window.h"

#include "data/ansi_text.h"
#include "data/win32/clipboard_io.h"
#include "data/win32/file_io.h"
#include "data/win32/mailbox.h"
#include "data/win32/guid.h"
#include "data/win32/profile.h"
#include "data/win32/timing_log.h"
#include "services/win32/run_command.h"
#include "resources/resource_ids.h"
#include "ui/skin/win32/catalog_tree_view.h"
#include "ui/skin/win32/message_box.h"
#include "ui/skin/win32/resource_module.h"
#include "ui/skin/win32/subclass.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>

namespace tvx::win {

namespace {

constexpr COLORREF kOutlineColor = RGB(161, 220, 255);

class AboutBox : public SkinnedDialog {
public:
    AboutBox() : SkinnedDialog(IDD_ABOUT) {}
};

// The maker's pages; the addresses are put together when they are opened.

}  // namespace

LauncherWindow::LauncherWindow(Installation installation, Library& library)
    : SkinnedDialog(IDD_LAUNCHER), installation_(std::move(installation)), library_(library), store_(library.store()),
      tree_(library.tree()), index_(library.index()) {
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
    // 3. The support page, at the installation's first start only: the
    // launcher starts at every logon, and a page at every logon is a nuisance.
    if (openSupportPage_) OpenWebPage("support.htm");
    // 4. The mailbox destination; this window also owns restored clipboards.
    PublishMailboxDestination(installation_.MailboxFile(), hwnd());
    // 6. Both result lists.
    for (Which which : {kShort, kName}) {
        ResultListPane& list = lists_[which];
        list.Prepare(hwnd());
        list.AddColumns(SkinList(GetDlgCtrlID(list.list()), installation_), which == kShort);
    }
    // The boxes' labels are painted: screen readers get them as names.
    NameForScreenReaders(IDC_FIND_SHORT, shortNameLabel_);
    NameForScreenReaders(IDC_FIND_NAME, nameLabel_);
    // 7.
    ShowWindow(Item(IDC_HOTKEY_TEXT), SW_SHOW);
    ShowWindow(Item(IDC_LIST_SHORT), SW_HIDE);
    ShowWindow(Item(IDC_LIST_NAME), SW_HIDE);
    // 8.
    CreateDirectoryA((installation_.DataFolder()).c_str(), nullptr);
    // 9. Pictures and buttons.
    ApplyFrame(installation_, {"CommonDlg.png", true,
                               {LabelButton(IDC_RUN_APPS),
                                PictureButton(IDC_EXIT, "Exit", MessageText("ExitButton")),
                                PictureButton(IDC_MINIMIZE, "Min", MessageText("MinButton")),
                                PictureButton(IDC_CONFIG, "Config", MessageText("ConfigButton")),
                                PictureButton(IDC_IMPORT, "Import", MessageText("ImportButton")),
                                PictureButton(IDC_EXPORT, "Export", MessageText("ExportButton")),
                                PictureButton(IDC_SUPPORT, "TechSupport", MessageText("SupportButton")),
                                PictureButton(IDC_LATEST_VERSION, "Download", MessageText("LatestVerButton")),
                                PictureButton(IDC_HELP_LAUNCHER, "Help", MessageText("HelpButton"), 3),
                                ListDropButton(IDC_DROP_SHORT, MessageText("Btn_OpenList")),
                                ListDropButton(IDC_DROP_NAME, MessageText("Btn_OpenList"))}});
    ShowWindow(Item(IDC_HELP_LAUNCHER), SW_HIDE);
    EnableWindow(Item(IDC_HELP_LAUNCHER), FALSE);
    // The catalog tree: skinned bars and its four icons.
    SkinTree(IDC_CATALOG_TREE, installation_);
    treeView_.Attach(Item(IDC_CATALOG_TREE));
    treeImages_ = CreateCatalogImages();
    SendMessageA(Item(IDC_CATALOG_TREE), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(treeImages_.get()));
    // 10.
    SendMessageA(Item(IDC_FIND_SHORT), EM_SETSEL, 0, -1);
    SetFocus(Item(IDC_FIND_SHORT));
    // 11.-13. A save cut short leaves its temporary file: those go first.
    RemoveStaleTemporaries(installation_);
    bool itemsWhole = true, catalogsWhole = true;
    LoadItems(Load::AtStart, &itemsWhole);
    LoadCatalogTree(&catalogsWhole);
    RecoverDamagedFiles(itemsWhole, catalogsWhole);
    SayIfStale();
    // Keys another program holds do nothing: said once per start, with what each was for.
    for (std::string& held : itemHotkeys_.Register(store_)) hotkeysHeldElsewhere_.push_back(std::move(held));
    if (!hotkeysHeldElsewhere_.empty()) {
        std::string list;
        for (const std::string& held : hotkeysHeldElsewhere_) list += (list.empty() ? "" : "\r\n") + held;
        ShowMessageLater("HotkeysHeldElsewhere", list);
    }
    // A taskbar that starts again (Explorer restarted, or ready only after
    // logon) asks every window for its icon; an elevated launcher must let
    // that message through.
    taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
    LetThroughFromLowerIntegrity(hwnd(), taskbarCreated_);
    // An entry handed over while no receiver answered waits in the mailbox.
    ReceiveNewItem();
    return false;  // the focus is set
}

// ---- data ----------------------------------------------------------------

void LauncherWindow::LoadItems(Load when, bool* whole) {
    SetRows(ResultLists{});
    library_.LoadItems(when == Load::AtStart ? "item_file_load_ms" : "item_file_reload_ms", whole);
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
    const DamageRecovery recovery = library_.RecoverDamaged(itemsWhole, catalogsWhole);
    if (recovery.catalogsChanged) LoadCatalogTree();
    if (recovery.uncopied.empty()) ShowMessageLater("DamagedDataFile");
    else ShowMessageLater("DamagedFileNotCopied", recovery.uncopied);
}

// A file another program held past the short wait was not read: the
// library keeps what it had (nothing, at the start) and the file is kept
// from every write until it is read: when the window is shown, before an
// entry is filed and before a dialog starts from the library.
void LauncherWindow::SayIfStale() {
    if (!library_.stale()) return;
    std::string files = library_.itemsStale() ? ItemFilePath() : std::string();
    if (library_.catalogsStale()) files += (files.empty() ? "" : "\r\n") + CatalogFilePath();
    ShowMessageLater("DataFileHeld", files);
}

void LauncherWindow::ReloadIfStale() {
    if (!library_.stale()) return;
    LoadCatalogTree();
    ReloadItemsAndHotkeys();
}

// The dialogs start from the library (the configuration dialog edits its
// store, they all copy its tree): never from one older than the files.
bool LauncherWindow::LibraryCurrent() {
    ReloadIfStale();
    if (!library_.stale()) return true;
    SayIfStale();
    return false;
}

void LauncherWindow::SetRows(ResultLists lists) {
    lists_[kShort].SetRows(std::move(lists.byShortName));
    lists_[kName].SetRows(std::move(lists.byName));
}

void LauncherWindow::LoadCatalogTree(bool* whole) {
    // The nodes point at the catalogs: they go first, and with them the
    // selection, so that no selection change can read a freed catalog.
    treeView_.Clear();
    library_.LoadCatalogs(MessageText("AllCatalogsTitle"), whole);
    // Expanding by message sends no notification: the root has the open image from the start.
    HTREEITEM root = treeView_.Show(tree_, 1);
    SendMessageA(treeView_.hwnd(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
}

void LauncherWindow::FillFromSelectedNode() {
    if (const CatalogNode* node = treeView_.SelectedNode())
        SetRows(FillFromCatalog(node->nodeData, node == &tree_.root(), store_));
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
        for (Which which : {kShort, kName}) {
            if (header->hwndFrom != lists_[which].list()) continue;
            result = lists_[which].OnNotify(store_, header, [this, which](size_t row) { ShowRow(which, row); });
            return true;
        }
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
    case WM_TIMER:
        if (wp != kTrayRetryTimer) return false;
        OnTrayRetry();
        result = 0;
        return true;
    default:
        if (msg != 0 && msg == taskbarCreated_ && tray_.wanted() && !tray_.AddAgain()) StartTrayRetries();
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
        const std::string text = Trim(lists_[kShort].TypedText());
        if (!text.empty() && lists_[kShort].SelectFirstMatch(store_, text)) StartSelected(kShort);
        break;
    }
    case IDC_EXIT: OnExit(); break;
    case IDC_MINIMIZE: ShowWindow(hwnd(), SW_MINIMIZE); break;
    case IDC_CONFIG:
        if (!LibraryCurrent()) break;
        if (runConfigDialog) runConfigDialog(hwnd());
        PublishMailboxDestination(installation_.MailboxFile(), hwnd());
        ReloadItemsAndHotkeys();
        LoadCatalogTree();
        break;
    case IDC_IMPORT:
        if (!LibraryCurrent()) break;
        holdReceived_ = true;
        if (runImportDialog) runImportDialog(hwnd());
        holdReceived_ = false;
        LoadCatalogTree();
        ReloadItemsAndHotkeys();
        FileHeldItems();
        break;
    case IDC_EXPORT:
        if (!LibraryCurrent()) break;
        if (runExportDialog) runExportDialog(hwnd());
        break;
    case IDC_SUPPORT: OpenWebPage("support.htm"); break;
    case IDC_LATEST_VERSION: OpenWebPage("download.htm"); break;
    default: break;
    }
}

void LauncherWindow::ReloadItemsAndHotkeys() {
    itemHotkeys_.Unregister();
    LoadItems(Load::Again);
    itemHotkeys_.Register(store_);
}

// The pages come with the installation ("Help\<language>\"), in the
// chosen language when it has them, else in English.
void LauncherWindow::OpenWebPage(const char* page) {
    std::string path = installation_.HelpPage(pagesLanguage_, page);
    if (!FileExists(path)) path = installation_.HelpPage("eng", page);
    RunCommand(path.c_str(), nullptr, 1);
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
    const std::string path = NewClipboardDataPath(installation_);
    const CaptureResult captured = CaptureClipboard(focused, path);
    if (attached) AttachThreadInput(ownThread, foregroundThread, FALSE);
    // Nothing is filed when nothing could be stored: no entry names a missing file.
    if (captured.outcome == CaptureOutcome::ClipboardBusy || captured.outcome == CaptureOutcome::NotWritten) {
        ShowMessage(IsWindowVisible(hwnd()) ? hwnd() : nullptr,
                    MessageText(captured.outcome == CaptureOutcome::ClipboardBusy ? "ClipboardBusy" : "ClipboardNotWritten"), MB_OK);
        return;
    }
    if (!captured.leftOut.empty()) {
        std::string names;
        for (const std::string& name : captured.leftOut) names += (names.empty() ? "" : ", ") + name;
        ShowMessage(IsWindowVisible(hwnd()) ? hwnd() : nullptr, MessageText("ClipboardFormatsLeftOut") + "\r\n\r\n" + names,
                    MB_OK);
    }
    if (RunAddItemDialog(std::string(), path) == IDCANCEL) DeleteFileA(path.c_str());
}

INT_PTR LauncherWindow::RunAddItemDialog(const std::string& shortName, const std::string& exePath) {
    if (!runAddItemDialog) return IDCANCEL;
    ReloadIfStale();  // the catalogs to choose from, as the file has them
    return runAddItemDialog(IsWindowVisible(hwnd()) ? hwnd() : nullptr, shortName, exePath);
}

void LauncherWindow::ReceiveNewItem() {
    if (holdReceived_) {
        // The sender waits in SendMessage: read the hand-over now, file it later.
        MailboxFields fields = ReceiveFromMailbox(installation_.MailboxFile());
        if (!fields.Name.empty()) heldItems_.push_back(std::move(fields));
        return;
    }
    ReloadIfStale();  // the entry goes into the files as they are now
    const ReceiveResult received = FileReceivedItem(ReceiveFromMailbox(installation_.MailboxFile()), NewGuidText(), store_, tree_, index_,
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
    if (treeView_.SelectedItem())
        FillFromSelectedNode();
    else
        SetRows(FillAtStartup(store_));  // no catalog chosen yet: keep the start-up listing current
}

void LauncherWindow::OnPrefillRequest() {
    const MailboxFields request = ReadPrefillRequest(installation_.MailboxFile());
    if (request.Name.empty()) return;
    RunAddItemDialog(request.ShortName, request.ExePath);
}

void LauncherWindow::Show() {
    ReloadIfStale();
    // A place on a monitor that is gone (unplugged, or another layout) is
    // no place to come back to: the nearest monitor's working area is.
    RECT rc{};
    GetWindowRect(hwnd(), &rc);
    if (!MonitorFromRect(&rc, MONITOR_DEFAULTTONULL)) {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        if (GetMonitorInfoA(MonitorFromRect(&rc, MONITOR_DEFAULTTONEAREST), &monitor)) {
            const RECT& work = monitor.rcWork;
            const LONG width = rc.right - rc.left, height = rc.bottom - rc.top;
            const LONG x = std::max(work.left, std::min(rc.left, work.right - width));
            const LONG y = std::max(work.top, std::min(rc.top, work.bottom - height));
            SetWindowPos(hwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    // The window first: taking the tray icon away can wait on the shell.
    ShowWindow(hwnd(), SW_SHOW);
    tray_.Remove();
}

void LauncherWindow::Hide() {
    ShowWindow(hwnd(), SW_HIDE);
    if (tray_.Add(hwnd(), smallIcon_.get() ? smallIcon_.get() : bigIcon_.get())) return;
    // Neither an icon nor Ctrl+Shift+J would bring the window back: it stays.
    if (!showHideKeyWorks_) ShowWindow(hwnd(), SW_SHOW);
    StartTrayRetries();
}

// A taskbar that is not ready (at logon) refuses the icon: asked again every
// half second for five seconds.
void LauncherWindow::StartTrayRetries() {
    trayRetriesLeft_ = 10;
    SetTimer(hwnd(), kTrayRetryTimer, 500, nullptr);
}

void LauncherWindow::OnTrayRetry() {
    if (!tray_.wanted() || tray_.AddAgain() || --trayRetriesLeft_ <= 0) KillTimer(hwnd(), kTrayRetryTimer);
    if (tray_.wanted() && !tray_.shown() && trayRetriesLeft_ <= 0 && !showHideKeyWorks_) ShowWindow(hwnd(), SW_SHOW);
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
    PublishMailboxDestination(installation_.MailboxFile(), nullptr);
}

// ---- painting -------------------------------------------------------------------

// The open lists lie over what is drawn here; the window clips its
// children, so nothing is drawn under them.
void LauncherWindow::PaintOver(HDC dc) {
    const RECT boxS = RectInParent(hwnd(), Item(IDC_FIND_SHORT)), dropS = RectInParent(hwnd(), Item(IDC_DROP_SHORT));
    const RECT boxN = RectInParent(hwnd(), Item(IDC_FIND_NAME)), dropN = RectInParent(hwnd(), Item(IDC_DROP_NAME));
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
