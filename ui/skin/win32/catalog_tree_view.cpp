#include "ui/skin/win32/catalog_tree_view.h"

#include "ui/skin/win32/resource_module.h"
#include "base/win32/win_handles.h"

namespace tvx::win {

HTREEITEM InsertTreeItem(HWND treeView, HTREEITEM parent, HTREEITEM after, const char* text, LPARAM data,
                         int image, int selectedImage) {
    TVINSERTSTRUCTA ins = {};
    ins.hParent = parent;
    ins.hInsertAfter = after;
    ins.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    ins.item.pszText = const_cast<char*>(text);
    ins.item.lParam = data;
    ins.item.iImage = image;
    ins.item.iSelectedImage = selectedImage;
    return reinterpret_cast<HTREEITEM>(SendMessageA(treeView, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
}

namespace {
HTREEITEM Insert(HWND tv, HTREEITEM parent, const CatalogNode& node) {
    HTREEITEM item = InsertTreeItem(tv, parent, TVI_LAST, node.text.c_str(), reinterpret_cast<LPARAM>(&node), 0, 0);
    for (const auto& child : node.children) Insert(tv, item, *child);
    return item;
}
}  // namespace

UniqueImageList CreateCatalogImages() {
    UniqueImageList images(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 8));
    if (!images) return images;
    for (int id : {4009, 4006, 4008, 4007}) {
        UniqueIcon icon(static_cast<HICON>(LoadImageA(ResourceModule(), MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, 0)));
        if (icon && ImageList_AddIcon(images.get(), icon.get()) >= 0) continue;
        // An empty image: all of it masked out.
        WindowDC screen(nullptr);
        UniqueGdi<HBITMAP> color(CreateCompatibleBitmap(screen.get(), 16, 16));
        UniqueGdi<HBITMAP> mask(CreateBitmap(16, 16, 1, 1, nullptr));
        {
            MemoryDC dc(screen.get());
            SelectGuard select(dc.get(), mask.get());
            PatBlt(dc.get(), 0, 0, 16, 16, WHITENESS);
        }
        ImageList_Add(images.get(), color.get(), mask.get());
    }
    return images;
}

void ClearCatalogTreeView(HWND treeView) {
    SendMessageA(treeView, TVM_SELECTITEM, TVGN_CARET, 0);
    SendMessageA(treeView, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
}

HTREEITEM ShowCatalogTree(HWND treeView, const CatalogTree& tree) {
    ClearCatalogTreeView(treeView);
    // A tree that redraws and recomputes its scroll range after every
    // insertion takes seconds for a few thousand catalogs: fill it whole first.
    FrozenRedraw frozen(treeView);
    return Insert(treeView, TVI_ROOT, tree.root());
}

HTREEITEM SelectedTreeItem(HWND treeView) {
    return reinterpret_cast<HTREEITEM>(SendMessageA(treeView, TVM_GETNEXTITEM, TVGN_CARET, 0));
}

const CatalogNode* SelectedCatalogNode(HWND treeView) {
    HTREEITEM selected = SelectedTreeItem(treeView);
    if (!selected) return nullptr;
    TVITEMA item = {};
    item.mask = TVIF_PARAM;
    item.hItem = selected;
    SendMessageA(treeView, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return reinterpret_cast<const CatalogNode*>(item.lParam);
}

void UpdateExpandedImage(const NMTREEVIEWA& change) {
    TVITEMA item = {};
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = change.itemNew.hItem;
    item.iImage = item.iSelectedImage = (change.action & TVE_EXPAND) ? 1 : 0;
    SendMessageA(change.hdr.hwndFrom, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

}  // namespace tvx::win
