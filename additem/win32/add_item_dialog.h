// The dialog that files one new entry into a catalog and hands it to the
// running program through the mailbox. Built into both deliverables: the
// shell extension opens it for a right-clicked file, the program for a
// captured clipboard content and for a pre-fill request.
#pragma once
#include "data/catalog_tree.h"
#include "data/installation.h"
#include "data/win32/library.h"
#include "ui/skin/win32/catalog_tree_view.h"
#include "ui/skin/win32/skinned_dialog.h"

#include <commctrl.h>

#include <functional>
#include <string>

namespace tvx::win {

// Where the two copies differ.
struct AddItemVariant {
    // control ids
    int tree, exitButton, minButton, helpButton, hotkeyLabel;
    // texts
    std::string title, okTip, cancelTip, exitTip, helpTip, minTip, rootText, selectCatalog, selectSubCatalog;
    // shows a message with an Ok button
    std::function<void(HWND owner, const std::string& text)> showMessage;
    // the Help button's action; none in the shell extension
    std::function<void()> help;
    // The program's library, whose catalog tree the dialog copies; none in
    // the shell extension, which reads the catalog file.
    const Library* library = nullptr;
};

// The shell extension's copy: fixed English texts, its own control ids.
AddItemVariant ExtensionVariant();

// A test's way to make an allocation fail at a named place: with the
// environment variable TVX_FAIL_ALLOCATION naming it, throws std::bad_alloc.
void FailAllocationIfAsked(const char* place);

class AddItemDialog : public SkinnedDialog {
public:
    AddItemDialog(Installation installation, AddItemVariant variant);

    // Preset by the caller before the dialog is shown.
    std::string name, shortName, description, exePath;

private:
    bool OnInitDialog() override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    void OnCommand(int id, int code, HWND control) override;
    bool PreTranslateMessage(MSG& msg) override;

    void FillCatalogTree();
    void OpenKeyList();
    void CloseKeyList();
    void ChooseListedKey();
    void OnSave();
    void PaintOver(HDC dc) override;

    Installation installation_;
    AddItemVariant variant_;
    CatalogTree tree_;
    CatalogIndex index_;
    CatalogTreeView treeView_;
    UniqueImageList images_;
    bool dragEnabled_ = true;
    bool keyListOpen_ = false;
};

}  // namespace tvx::win
