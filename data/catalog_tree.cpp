#include "data/catalog_tree.h"

#include "data/ansi_text.h"
#include "data/item_model.h"

#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

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

void CatalogIndex::Remove(const std::vector<const CatalogNode*>& nodes) {
    if (nodes.empty()) return;
    std::unordered_set<const CatalogNode*> gone(nodes.begin(), nodes.end());
    std::vector<std::pair<std::string, CatalogNode*>> kept;
    kept.reserve(entries_.size());
    for (auto& entry : entries_)
        if (!gone.count(entry.second)) kept.push_back(std::move(entry));
    Clear();
    for (auto& entry : kept) Add(std::move(entry.first), entry.second);
}

bool IsWithin(const CatalogNode* node, const CatalogNode* ancestor) {
    for (; node; node = node->parent)
        if (node == ancestor) return true;
    return false;
}

std::vector<const CatalogNode*> SubtreeOf(const CatalogNode* node) {
    std::vector<const CatalogNode*> out;
    if (!node) return out;
    std::vector<const CatalogNode*> stack{node};
    while (!stack.empty()) {
        const CatalogNode* n = stack.back();
        stack.pop_back();
        out.push_back(n);
        for (auto it = n->children.rbegin(); it != n->children.rend(); ++it) stack.push_back(it->get());
    }
    return out;
}

namespace {
// The owning pointer of a node in its parent's children.
std::unique_ptr<CatalogNode>* SlotOf(CatalogNode* node) {
    if (!node || !node->parent) return nullptr;
    for (auto& child : node->parent->children)
        if (child.get() == node) return &child;
    return nullptr;
}
}  // namespace

bool RemoveCatalog(CatalogIndex& index, CatalogNode* node) {
    std::unique_ptr<CatalogNode>* slot = SlotOf(node);
    if (!slot) return false;  // the root, or not part of a tree
    index.Remove(SubtreeOf(node));
    auto& siblings = node->parent->children;
    siblings.erase(siblings.begin() + (slot - siblings.data()));
    return true;
}

bool MoveCatalog(CatalogNode* node, CatalogNode* newParent) {
    if (!newParent || IsWithin(newParent, node)) return false;
    std::unique_ptr<CatalogNode>* slot = SlotOf(node);
    if (!slot) return false;
    std::unique_ptr<CatalogNode> moving = std::move(*slot);
    auto& siblings = node->parent->children;
    siblings.erase(siblings.begin() + (slot - siblings.data()));
    moving->parent = newParent;
    newParent->children.push_back(std::move(moving));
    return true;
}

void ResetCatalogs(CatalogTree& tree, CatalogIndex& index, std::string rootText) {
    tree = CatalogTree(std::move(rootText));
    index.Clear();
    index.Add(std::string(kRootCatalogId), &tree.root());
}

void CopyCatalogs(const CatalogTree& from, const CatalogIndex& fromIndex, CatalogTree& to, CatalogIndex& toIndex) {
    to = CatalogTree(from.root().text);
    to.root().nodeData = from.root().nodeData;
    std::unordered_map<const CatalogNode*, CatalogNode*> copyOf;
    copyOf.reserve(fromIndex.size() + 1);
    copyOf[&from.root()] = &to.root();
    // Parents before children, without recursion: a deep tree is no danger.
    std::vector<std::pair<const CatalogNode*, CatalogNode*>> pending{{&from.root(), &to.root()}};
    while (!pending.empty()) {
        const auto [source, copy] = pending.back();
        pending.pop_back();
        copy->children.reserve(source->children.size());
        for (const auto& child : source->children) {
            CatalogNode* made = copy->AddChild(child->text, child->nodeData);
            copyOf[child.get()] = made;
            pending.emplace_back(child.get(), made);
        }
    }
    toIndex.Clear();
    toIndex.Reserve(fromIndex.size());
    for (size_t i = 0; i < fromIndex.size(); ++i) {
        auto found = copyOf.find(fromIndex.NodeAt(i));
        if (found != copyOf.end()) toIndex.Add(fromIndex.IdAt(i), found->second);
    }
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

namespace {
size_t DropMembersBelow(CatalogNode& node, size_t itemCount) {
    size_t dropped = 0;
    const size_t bar = node.nodeData.find('|');
    if (bar != std::string::npos) {
        std::string kept;
        size_t start = bar + 1;
        while (start <= node.nodeData.size()) {
            size_t end = node.nodeData.find(',', start);
            if (end == std::string::npos) end = node.nodeData.size();
            const std::string_view piece(node.nodeData.data() + start, end - start);
            const long long index = ParseDecimal(piece);
            if (index >= 0 && static_cast<unsigned long long>(index) >= itemCount) {
                ++dropped;
            } else {
                if (!kept.empty()) kept += ',';
                kept.append(piece);
            }
            start = end + 1;
        }
        if (dropped) node.nodeData = node.nodeData.substr(0, bar) + (kept.empty() ? std::string() : "|" + kept);
    }
    for (auto& child : node.children) dropped += DropMembersBelow(*child, itemCount);
    return dropped;
}
}  // namespace

size_t DropMembersFrom(CatalogTree& tree, size_t itemCount) {
    size_t dropped = 0;
    for (auto& child : tree.root().children) dropped += DropMembersBelow(*child, itemCount);
    return dropped;
}

}  // namespace tvx
