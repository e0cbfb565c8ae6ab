// The launcher: the program's main window, run modally for the whole life of
// the process. Its pre-translation sees every message of every modal loop,
// so hot keys reach it while any of the program's dialogs is open.
#pragma once
#include "data/catalog_tree.h"
#include "data/installation.h"
#include "data/item_model.h"
#include "data/mailbox.h"
#include "data/win32/library.h"
#include "services/hotkey_table.h"
#include "launcher/result_rows.h"
#include "launcher/win32/item_hotkeys.h"
#include "launcher/win32/result_list_pane.h"
#include "resources/resource_ids.h"
#include "launcher/win32/tray_icon.h"
#include "ui/skin/win32/catalog_tree_view.h"
#include "ui/skin/win32/skinned_dialog.h"

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace tvx::win {

class LauncherWindow : public SkinnedDialog {
public:
    LauncherWindow(Installation installation, Library& library);
    ~LauncherWindow() override;

    bool PreTranslateMessage(MSG& msg) override;

    void Show();
    void Hide();
    void Toggle();

    // The dialogs behind the Configuration, Import and Export buttons. Each
    // runs modally with the launcher as owner; the launcher reloads what
    // they may have changed afterwards.
    std::function<void(HWND owner)> runConfigDialog, runImportDialog, runExportDialog;
    // The add-item dialog for an entry to be (the clipboard's capture, a
    // prefill request): returns IDOK or IDCANCEL.
    std::function<INT_PTR(HWND owner, const std::string& shortName, const std::string& exePath)> runAddItemDialog;
    void UnregisterItemHotkeys() { itemHotkeys_.Unregister(); }
    // What the program's own hot keys came to, before the window opens: the
    // keys another program holds ("Ctrl + Shift + J: ..." each) and whether
    // Ctrl+Shift+J, which shows a hidden launcher, is among them.
    void SetFixedHotkeys(std::vector<std::string> heldElsewhere, bool showHideWorks) {
        hotkeysHeldElsewhere_ = std::move(heldElsewhere);
        showHideKeyWorks_ = showHideWorks;
    }
    // The help pages, for the dialogs whose help button is the launcher's.
    void ShowHelp() { OpenWebPage("help.htm"); }
    // Before the window opens: the language of the pages ("eng", "chs"), and
    // whether this is the installation's first start (the support page opens then).
    void SetPages(std::string language, bool firstStart) {
        pagesLanguage_ = std::move(language);
        openSupportPage_ = firstStart;
    }

private:
    enum Which { kShort = 0, kName = 1 };
    bool OnInitDialog() override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    void OnCommand(int id, int code, HWND control) override;
    void OnOk() override {}      // Enter never closes the launcher
    void OnCancel() override {}  // nor does Esc
    void OnDestroy() override;

    // data
    std::string ItemFilePath() const { return installation_.ItemFile(); }
    std::string CatalogFilePath() const { return installation_.CatalogFile(); }
    enum class Load { AtStart, Again };  // timed apart: a reload follows the configuration dialog
    void LoadItems(Load when, bool* whole = nullptr);
    void LoadCatalogTree(bool* whole = nullptr);
    void RecoverDamagedFiles(bool itemsWhole, bool catalogsWhole);
    void FillFromSelectedNode();
    void SetRows(ResultLists lists);

    // the result lists
    void OpenList(Which which);
    void CloseList(Which which);
    void CloseBoth();
    void FindAsYouType(Which which);
    void StartSelected(Which which);
    void StartTypedText(Which which);
    void ShowItem(long long position);
    void ShowRow(Which which, size_t row);
    bool HandleKey(MSG& msg);
    void HandleMousePress(const MSG& msg);

    // commands
    void OnExit();
    void OnHotkey(int id);
    void CaptureClipboardToNewItem();
    void ReceiveNewItem();
    void FileHeldItems();
    void OnPrefillRequest();
    INT_PTR RunAddItemDialog(const std::string& shortName, const std::string& exePath);
    void RefillAfterNewItem();
    void ReloadItemsAndHotkeys();
    void ReloadIfStale();
    bool LibraryCurrent();
    void SayIfStale();
    void OpenWebPage(const char* page);
    void StartTrayRetries();
    void OnTrayRetry();
    void PaintOver(HDC dc) override;

    Installation installation_;
    Library& library_;  // the launcher loads it; below, its parts
    ItemStore& store_;
    CatalogTree& tree_;
    CatalogTreeView treeView_;
    CatalogIndex& index_;
    ResultListPane lists_[2] = {{IDC_LIST_SHORT, IDC_FIND_SHORT, KeyField::ShortName},
                                {IDC_LIST_NAME, IDC_FIND_NAME, KeyField::Name}};
    TrayIcon tray_;
    static constexpr UINT_PTR kTrayRetryTimer = 7;
    UINT taskbarCreated_ = 0;  // the message a restarted taskbar sends every window
    int trayRetriesLeft_ = 0;
    bool showHideKeyWorks_ = true;
    std::vector<std::string> hotkeysHeldElsewhere_;
    std::string pagesLanguage_ = "eng";
    bool openSupportPage_ = false;
    ItemHotkeyTable itemHotkeys_;
    // While an import may rewrite both files, entries that arrive from
    // Explorer wait here and are filed after the launcher has reloaded.
    bool holdReceived_ = false;
    std::vector<MailboxFields> heldItems_;
    UniqueImageList treeImages_;
    UniqueIcon bigIcon_, smallIcon_;
    bool suppressFind_ = false;
    bool dragEnabled_ = true;
    long long current_ = -1;
    std::string titleText_, nameLabel_, shortNameLabel_, hotkeyLabel_, descriptionLabel_;
};

}  // namespace tvx::win
