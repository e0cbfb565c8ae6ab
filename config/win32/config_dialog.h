// The configuration dialog: the catalog tree, the item list of the selected
// catalog, the candidates that can become items, the item-info box and the
// composed box. It edits the library's item store in memory and a copy of
// its catalog tree, and writes the item and catalog files only when the
// user saves (and when an entry arrives through the mailbox while it is open).
#pragma once
#include "config/editor_rules.h"
#include "config/win32/candidate_pane.h"
#include "config/win32/catalog_pane.h"
#include "config/win32/composed_box.h"
#include "config/win32/item_list_pane.h"
#include "data/installation.h"
#include "data/win32/library.h"
#include "services/item_rows.h"
#include "services/win32/row_list_view.h"
#include "data/catalog_tree.h"
#include "ui/skin/win32/skinned_dialog.h"

#include <shellapi.h>

#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace tvx::win {

class ConfigDialog : public SkinnedDialog {
public:
    // What the dialog leaves to others.
    struct Services {
        // Finds the programs of the machine; runs on a worker thread, so it
        // gets the names of the live items (for its "exists already" test)
        // rather than the item table.
        std::function<std::vector<CandidateRow>(const std::unordered_set<std::string>& liveNames)> discoverPrograms;
        std::function<void()> help;
    };

    ConfigDialog(Installation installation, Library& library, Services services);
    ~ConfigDialog() override;

    bool PreTranslateMessage(MSG& msg) override;

private:
    static constexpr UINT_PTR kStartTimer = 1;  // one-shot, 200 ms after opening
    bool OnInitDialog() override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    void OnCommand(int id, int code, HWND control) override;
    void OnOk() override {}      // Enter and Esc never close the dialog
    void OnCancel() override {}
    void OnDestroy() override;

    // set-up
    void SetUpImagesAndTips();
    void SetUpLists();
    void LoadCatalogs();
    void RunFirstDiscovery();
    void RunDiscovery();

    // the catalog pane: what the user chose there, and the catalog buttons
    void OnCatalogChosen(CatalogNode* node);
    void OnLeafChosen(long row);
    void OnTreeClick();
    void AddCatalog();
    void UpdateCatalog();
    void DeleteCatalog();
    void LinkRows(bool all);

    // the item list and what goes into it
    void FillList();
    void ListChanged();  // rows changed: member list rewritten, leaves rebuilt
    void AddCandidatesToList(bool all);
    void RemoveFromList(bool all);
    void SetInfo();
    void ResetSelected();
    void ResetAll();
    void ExecSelected();
    // Files as items ({title, path} each): one list and tree update for all.
    void AddFiles(const std::vector<FileToAdd>& files);
    void ToggleList();

    // what goes into the candidate pane
    void ImportUrls();
    void AddChosenFiles();
    void AddChosenFolder();

    // the composed box, the editors and batch replace
    void LoadComposedFromRow(long row);
    void AddMembers(const std::vector<ComposedMember>& added);
    void AddItemsToComposed();
    void EditMember();
    void TestComposed();
    bool SaveComposed(bool create, bool quiet);
    bool EditCommand(std::string& name, std::string& command, bool& captured);
    void CreateCustomItem();
    void EditSelectedItem();
    void RunBatchReplace();
    void SettleDataFiles(bool saved);

    // saving and closing
    bool Save(bool quiet);
    void CloseDialog(INT_PTR result);
    void AskAndClose();
    void ReceiveItem();
    void OnDroppedFiles(HDROP drop);
    void OnActivate(bool active);
    void PaintOver(HDC dc) override;

    bool MayEndSession();
    std::string ItemFilePath() const { return installation_.ItemFile(); }
    std::string CatalogFilePath() const { return installation_.CatalogFile(); }

    Installation installation_;
    const Library& library_;  // its tree is copied into tree_
    ItemStore& store_;        // the library's, edited in place
    Services services_;
    GuidSource newGuid_;

    CatalogTree tree_;
    CatalogIndex index_;
    CatalogNode* listed_ = nullptr;  // whose rows the item list shows
    CatalogNode* pinned_ = nullptr;  // "Not Change List"

    ItemListPane items_;
    CatalogPane catalogs_{tree_, items_.rows()};
    CandidatePane candidates_;
    ComposedBox composed_;
    DataFileLedger dataFiles_;
    UniqueImageList images_;

    bool modified_ = false;
    bool listHidden_ = false;
    bool saveKeyRegistered_ = false;
    RECT treeLayout_{}, listLayout_{};
    std::string title_;
};

}  // namespace tvx::win
