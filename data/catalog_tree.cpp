#include "data/catalog_tree.h"

#include "data/ansi_text.h"
#include "data/item_model.h"

namespace tvx {

CatalogNode* CatalogNode::AddChild(std::string childText, std::string childData) {
    auto node = std::make_unique<CatalogNode>();
    node->text = std::move(childText);
    node->nodeData = std::move(childData);
    node->parent = this;
    children.push_back(std::move(node));
    return children.back().get();
}

CatalogTree::CatalogTree(std::string rootText) {
    root_.text = std::move(rootText);
    root_.nodeData = std::string(kRootCatalogId);
}

size_t CatalogTree::CatalogCount() const {
    size_t count = 0;
    std::vector<const CatalogNode*> stack{&root_};
    while (!stack.empty()) {
        const CatalogNode* n = stack.back();
        stack.pop_back();
        for (const auto& c : n->children) {
            ++count;
            stack.push_back(c.get());
        }
    }
    return count;
}

void CatalogIndex::Clear() {
    entries_.clear();
    first_.clear();
}

void CatalogIndex::Add(std::string nodeId, CatalogNode* node) {
    first_.emplace(nodeId, entries_.size());  // keeps an earlier equal entry
    entries_.emplace_back(std::move(nodeId), node);
}

void CatalogIndex::Reserve(size_t count) {
    entries_.reserve(count);
    first_.reserve(count);
}

long CatalogIndex::Find(std::string_view nodeId) const {
    auto it = first_.find(std::string(nodeId));
    return it == first_.end() ? -1 : static_cast<long>(it->second);
}

CatalogNode* CatalogIndex::NodeOf(std::string_view nodeId) const {
    long i = Find(nodeId);
    return i < 0 ? nullptr : entries_[static_cast<size_t>(i)].second;
}

void ResetCatalogs(CatalogTree& tree, CatalogIndex& index, std::string rootText) {
    tree = CatalogTree(std::move(rootText));
    index.Clear();
    index.Add(std::string(kRootCatalogId), &tree.root());
}

std::string SanitizeCatalogName(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (size_t i = 0; i < name.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (IsLeadByte(c) && i + 1 < name.size()) {
            const char trail = name[i + 1];
            if (trail == '\\' || trail == '|') out += '_';
            else out.append(name.substr(i, 2));
            ++i;
        } else if (c == '\\' || c == '|' || c == '\0') {
            out += '_';
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

bool IsValidCatalogName(std::string_view name) { return SanitizeCatalogName(name) == name; }

}  // namespace tvx
