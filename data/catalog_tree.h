// The catalog tree as every window that shows catalogs holds it, and the
// index that turns a NodeID into its node.
#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tvx {

struct CatalogNode {
    std::string text;      // the catalog name (the root's display text)
    std::string nodeData;  // NodeID, optionally "|" and the member list
    CatalogNode* parent = nullptr;
    std::vector<std::unique_ptr<CatalogNode>> children;

    CatalogNode* AddChild(std::string childText, std::string childData);
};

// The root stands for all items and carries the root catalog id.
class CatalogTree {
public:
    explicit CatalogTree(std::string rootText = std::string());
    CatalogNode& root() { return root_; }
    const CatalogNode& root() const { return root_; }
    size_t CatalogCount() const;

private:
    CatalogNode root_;
};

// NodeIDs and nodes in load or creation order, the root first. A lookup
// finds the first entry equal to the id (exact comparison); a hash of first
// occurrences keeps it from being a linear search.
class CatalogIndex {
public:
    void Clear();
    void Add(std::string nodeId, CatalogNode* node);
    void Reserve(size_t count);
    // Position of the first equal entry, or -1.
    long Find(std::string_view nodeId) const;
    CatalogNode* NodeOf(std::string_view nodeId) const;
    size_t size() const { return entries_.size(); }
    const std::string& IdAt(size_t i) const { return entries_[i].first; }
    CatalogNode* NodeAt(size_t i) const { return entries_[i].second; }
    // Drops the entries of these nodes (they are being deleted); the others
    // keep their order.
    void Remove(const std::vector<const CatalogNode*>& nodes);

private:
    std::vector<std::pair<std::string, CatalogNode*>> entries_;
    std::unordered_map<std::string, size_t> first_;
};

// Whether `node` is `ancestor` itself or lies somewhere below it.
bool IsWithin(const CatalogNode* node, const CatalogNode* ancestor);
// `node` and everything below it, parents before children.
std::vector<const CatalogNode*> SubtreeOf(const CatalogNode* node);

// Deletes a catalog with its whole subtree and drops their index entries.
// The root cannot be deleted. Member items keep their records.
bool RemoveCatalog(CatalogIndex& index, CatalogNode* node);

// Moves a catalog with its subtree to the end of `newParent`'s children.
// Refused for the root, and onto the catalog itself or anything below it,
// so that a move never loses or duplicates a catalog.
bool MoveCatalog(CatalogNode* node, CatalogNode* newParent);

// A tree holding only its root (with the root catalog id), and an index
// holding only the root.
void ResetCatalogs(CatalogTree& tree, CatalogIndex& index, std::string rootText);

// `to` and `toIndex` become a copy of `from` and its index: the same
// catalogs, and the index's entries in the same order naming the copies.
// A window that edits catalogs and may cancel works on such a copy.
void CopyCatalogs(const CatalogTree& from, const CatalogIndex& fromIndex, CatalogTree& to, CatalogIndex& toIndex);

// Removes from every member list the indices at or past `itemCount` (an
// item file that lost records at its end): such an index would otherwise
// name whatever entry is appended there next. Returns how many went.
size_t DropMembersFrom(CatalogTree& tree, size_t itemCount);

// The catalog file separates records by "\" and fields by "|", so a name can
// never hold them. Both are replaced by "_" (a double-byte character whose
// second byte is one of them is replaced whole), so such a name cannot reach
// the file; the dialogs that take names use this at entry.
std::string SanitizeCatalogName(std::string_view name);
bool IsValidCatalogName(std::string_view name);

}  // namespace tvx
