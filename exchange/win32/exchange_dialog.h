// The exchange dialog, in export or import mode. Left: the program's own
// catalogs and items; right: the archive's. Export builds the right side from
// the left and writes it as an archive; import loads an archive into the
// right side, moves what the user picks to the left and saves the
// installation's files.
//
// The dialog works on a copy of the program's item table: nothing of the
// launcher changes unless an import is saved, and then the launcher reloads
// from the files.
#pragma once
#include "data/installation.h"
#include "data/win32/library.h"
#include "services/item_rows.h"
#include "services/win32/row_list_view.h"
#include "data/catalog_tree.h"
#include "exchange/exchange_merge.h"
#include "exchange/win32/exchange_pipeline.h"
#include "resources/exchange_ids.h"
#include "ui/skin/win32/skinned_dialog.h"
#include "ui/skin/win32/catalog_tree_view.h"

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace tvx::win {

class ExchangeDialog : public SkinnedDialog {
public:
    enum class Mode { Import, Export };

    // The left side starts as a copy of the library's items and catalogs.
    ExchangeDialog(Installation installation, const Library& library, Mode mode, std::function<void()> help);
    ~ExchangeDialog() override;

private:
    static constexpr UINT_PTR kSaveTimer = 1;  // the save in progress, looked at every 50 ms
    // One side: a catalog tree and its item table, with the tree view and
    // the list that show them.
    struct Side {
        explicit Side(int treeId, int listId, int nameId, int findId)
            : treeId(treeId), listId(listId), nameId(nameId), findId(findId) {}
        const int treeId, listId, nameId, findId;
        CatalogTree tree;
        CatalogIndex index;
        ItemStore items;
        ExchangeTable table{items};
        std::vector<ItemRow> rows;
        RowListView view;
        SkinListCtrl* list = nullptr;
        CatalogTreeView treeView;
        CatalogNode* listed = nullptr;  // whose rows the list shows
        int sortColumn = -1;
        bool sortAscending = true;
    };

    bool OnInitDialog() override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    void OnCommand(int id, int code, HWND control) override;
    void OnOk() override {}      // Enter does nothing in this dialog
    void OnCancel() override {}  // nor does Esc: closing asks first

    void SetUpImagesAndTips();
    void SetUpModeControls();
    void SetUpList(Side& side);
    void SetUpTrees();

    // trees
    void ShowTree(Side& side);
    void ClearSide(Side& side);
    void PaintOver(HDC dc) override;  // the view emptied, before its catalogs go
    void OnTreeSelection(Side& side);
    void FillList(Side& side);

    // transfers
    void MoveItems(Side& from, Side& to, bool all);
    void CopyCatalog(Side& from, Side& to, bool withItems);
    void AddCatalog(Side& side);
    void RenameCatalog(Side& side);
    void DeleteCatalog(Side& side);
    void Find(Side& side);
    void Sort(Side& side, int column);

    // archive and saving
    void ChooseFile();
    void Load();
    void Save(bool report);
    void OnSaveTimer();
    void OkCommand();
    void CancelCommand();
    void CloseCommand();

    Side* SideOfControl(HWND control);

    Installation installation_;
    Mode mode_;
    std::function<void()> help_;
    Side left_{IDC_EX_LEFT_TREE, IDC_EX_LEFT_LIST, IDC_EX_LEFT_NAME, IDC_EX_LEFT_FIND};
    Side right_{IDC_EX_RIGHT_TREE, IDC_EX_RIGHT_LIST, IDC_EX_RIGHT_NAME, IDC_EX_RIGHT_FIND};
    ExchangePipeline pipeline_;
    GuidSource newNodeId_;
    UniqueImageList images_;
    bool report_ = true;      // Save reports and stays; Ok and the close question end the dialog
    bool saving_ = false;     // between Save and the end of its work
    UINT_PTR timer_ = 0;
};

}  // namespace tvx::win
