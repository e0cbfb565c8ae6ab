// The configuration dialog's saving and closing, and what arrives while it is open (a hand-over, dropped files).
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
constexpr size_t kDroppedPathBuffer = 512;

}  // namespace

// ---- saving and closing ----------------------------------------------------------------

bool ConfigDialog::Save(bool quiet) {
    items_.EndInplaceEdit();
    // Once the item file on disk names the dialog's records, the data files
    // follow it at once, whatever happens to the catalog file.
    BothFiles saved;
    {
        TimedStep timed("save_both_files_ms");
        saved = SaveItemAndCatalogFiles(ItemFilePath(), store_, CatalogFilePath(), tree_, [this] { SettleDataFiles(true); });
    }
    switch (saved) {
    case BothFiles::ItemFileFailed:
        ShowKey("SaveFailed");  // both files as they were
        return false;
    case BothFiles::CatalogFileFailed:
        ShowKey("SaveCatalogFailed");  // entries saved, catalogs as they were
        return false;
    case BothFiles::Saved:
        break;
    }
    modified_ = false;
    if (!quiet) ShowKey("SavedSucess");
    return true;
}

void ConfigDialog::CloseDialog(INT_PTR result) {
    items_.EndInplaceEdit();
    if (result != IDOK) SettleDataFiles(false);  // ended without saving
    items_.CloseKeyPopup();
    OnActivate(false);
    items_.rows().clear();
    items_.view().Reset(0);
    candidates_.Clear();
    End(result);
}

void ConfigDialog::AskAndClose() {
    if (ShowKey("SaveData", MB_YESNO) != IDNO) {
        if (!Save(false)) return;  // nothing lost: the dialog stays open
        CloseDialog(IDOK);
        return;
    }
    CloseDialog(IDCANCEL);
}

namespace {
// The reason Windows shows for a program that holds up the end of the
// session (Windows Vista and later; looked up).
void BlockSessionEnd(HWND window, const std::string& reason) {
    using Create = BOOL(WINAPI*)(HWND, LPCWSTR);
    HMODULE user32 = GetModuleHandleA("user32.dll");
    auto create = reinterpret_cast<Create>(
        reinterpret_cast<void*>(user32 ? GetProcAddress(user32, "ShutdownBlockReasonCreate") : nullptr));
    if (!create) return;
    std::wstring wide(reason.size() + 1, L'\0');
    wide.resize(static_cast<size_t>(
        MultiByteToWideChar(CP_ACP, 0, reason.c_str(), static_cast<int>(reason.size()), &wide[0], static_cast<int>(wide.size()))));
    create(window, wide.c_str());
}
void UnblockSessionEnd(HWND window) {
    using Destroy = BOOL(WINAPI*)(HWND);
    HMODULE user32 = GetModuleHandleA("user32.dll");
    auto destroy = reinterpret_cast<Destroy>(
        reinterpret_cast<void*>(user32 ? GetProcAddress(user32, "ShutdownBlockReasonDestroy") : nullptr));
    if (destroy) destroy(window);
}
}  // namespace

// Windows ends the session (logoff, restart) without asking the dialog:
// unsaved edits would vanish. It is held up, with the question the close
// button asks, until the user answers; a save that fails keeps it held up.
bool ConfigDialog::MayEndSession() {
    if (!modified_) return true;
    BlockSessionEnd(hwnd(), MessageText("SaveData"));
    const bool mayEnd = ShowKey("SaveData", MB_YESNO) == IDNO || Save(true);  // no "saved" box as the session ends
    UnblockSessionEnd(hwnd());
    return mayEnd;
}

// The Ctrl+S hot key belongs to the dialog only while it is the active
// window: other programs keep their own Ctrl+S.
void ConfigDialog::OnActivate(bool active) {
    if (active && !saveKeyRegistered_) {
        saveKeyRegistered_ = RegisterHotKey(hwnd(), kConfigSaveHotkeyId, MOD_CONTROL, 0x53) != FALSE;
    } else if (!active && saveKeyRegistered_) {
        UnregisterHotKey(hwnd(), kConfigSaveHotkeyId);
        saveKeyRegistered_ = false;
    }
}

void ConfigDialog::OnDestroy() {
    // Every way out, WM_QUIT included: captures that no save took go.
    SettleDataFiles(false);
    KillTimer(hwnd(), kStartTimer);
    OnActivate(false);
    WithdrawMailboxDestination(hwnd());
}

// An entry from Explorer while the dialog is open: it joins the working
// table and its catalog at once, and both files are written whole from the
// dialog's state, so that every member index of the catalog file names the
// record the item file holds there, whatever the dialog holds unsaved.
void ConfigDialog::ReceiveItem() {
    const MailboxFields fields = ReceiveFromMailbox(installation_.MailboxFile());
    std::optional<LaunchItem> item = ItemFromMailbox(fields, NewGuidText());
    if (!item) return;
    items_.EndInplaceEdit();
    const size_t index = store_.Append(std::move(*item));
    CatalogNode* node = index_.NodeOf(fields.NodeID);
    const std::string before = node ? node->nodeData : std::string();
    if (node) node->nodeData = AppendMember(before, index);
    if (!SaveItemFile(ItemFilePath(), store_)) {
        store_.DropLast();
        if (node) node->nodeData = before;
        ShowMessageLater("AddItemFailed");  // the sender waits in SendMessage
        return;
    }
    SettleDataFiles(true);  // the item file holds the dialog's records now
    if (node && !SaveCatalogFile(CatalogFilePath(), tree_)) {
        node->nodeData = before;
        ShowMessageLater("AddItemCatalogFailed");
    }
    if (!pinned_ || pinned_ == node) FillList();
    if (listed_ == node) catalogs_.FollowRows(listed_);
}

void ConfigDialog::OnDroppedFiles(HDROP drop) {
    TimedStep timed("drop_files_ms");
    const DroppedFiles dropped = TakeDroppedFiles(drop, kDroppedPathBuffer);
    DragFinish(drop);
    std::vector<FileToAdd> files;
    for (const FiledPath& file : dropped.files) files.push_back({FileTitleOf(file.shown), file.path, file.shown});
    AddFiles(files);
    if (dropped.tooLong) ShowKey("DroppedPathTooLong");
    if (!dropped.refused.empty())
        ShowMessage(hwnd(), NameOutsideCodePageText(dropped.refused), MB_OK);
}

}  // namespace tvx::win
