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

void CatalogTreeView::Clear() {
    SendMessageA(tv_, TVM_SELECTITEM, TVGN_CARET, 0);
    SendMessageA(tv_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    items_.clear();
}

HTREEITEM CatalogTreeView::InsertBranch(HTREEITEM parent, const CatalogNode& node, HTREEITEM after, int image) {
    HTREEITEM item = InsertTreeItem(tv_, parent, after, node.text.c_str(), reinterpret_cast<LPARAM>(&node), image, image);
    items_[&node] = item;
    for (const auto& child : node.children) InsertBranch(item, *child, TVI_LAST, 0);
    return item;
}

HTREEITEM CatalogTreeView::Show(const CatalogTree& tree, int rootImage) {
    Clear();
    // A tree that redraws and recomputes its scroll range after every
    // insertion takes seconds for a few thousand catalogs: fill it whole first.
    FrozenRedraw frozen(tv_);
    return InsertBranch(TVI_ROOT, tree.root(), TVI_LAST, rootImage);
}

HTREEITEM CatalogTreeView::Insert(const CatalogNode& parent, const CatalogNode& node, HTREEITEM after) {
    HTREEITEM parentItem = ItemOf(&parent);
    if (!parentItem) return nullptr;
    FrozenRedraw frozen(tv_);
    return InsertBranch(parentItem, node, after, 0);
}

HTREEITEM CatalogTreeView::ItemOf(const CatalogNode* node) const {
    auto it = items_.find(node);
    return it == items_.end() ? nullptr : it->second;
}

CatalogNode* CatalogTreeView::NodeOf(HTREEITEM item) const {
    if (!item) return nullptr;
    TVITEMA tvi = {};
    tvi.mask = TVIF_PARAM;
    tvi.hItem = item;
    if (!SendMessageA(tv_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tvi))) return nullptr;
    if (tvi.lParam & 1) return nullptr;  // an item leaf
    return reinterpret_cast<CatalogNode*>(tvi.lParam);
}

HTREEITEM CatalogTreeView::SelectedItem() const {
    return reinterpret_cast<HTREEITEM>(SendMessageA(tv_, TVM_GETNEXTITEM, TVGN_CARET, 0));
}

void CatalogTreeView::ShowName(const CatalogNode& node) {
    TVITEMA tvi = {};
    tvi.mask = TVIF_TEXT;
    tvi.hItem = ItemOf(&node);
    if (!tvi.hItem) return;
    tvi.pszText = const_cast<char*>(node.text.c_str());
    SendMessageA(tv_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tvi));
}

HTREEITEM CatalogTreeView::InsertLeaf(HTREEITEM parent, HTREEITEM after, const std::string& name, size_t index) {
    return InsertTreeItem(tv_, parent, after, name.c_str(), static_cast<LPARAM>((index << 1) | 1), 2, 3);
}

void CatalogTreeView::Remove(const CatalogNode& node) {
    HTREEITEM item = ItemOf(&node);
    for (const CatalogNode* gone : SubtreeOf(&node)) items_.erase(gone);
    if (item) SendMessageA(tv_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
}

void UpdateExpandedImage(const NMTREEVIEWA& change) {
    TVITEMA item = {};
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = change.itemNew.hItem;
    item.iImage = item.iSelectedImage = (change.action & TVE_EXPAND) ? 1 : 0;
    SendMessageA(change.hdr.hwndFrom, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

}  // namespace tvx::win
