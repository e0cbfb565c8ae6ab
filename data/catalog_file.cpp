#include "data/catalog_file.h"

#include "data/ansi_text.h"
#include "data/item_model.h"

#include <unordered_map>

namespace tvx {

namespace {

void EncodeNode(const CatalogNode& node, std::string_view parentId, std::string& out) {
    if (node.nodeData.find("TempItemNode") != std::string::npos) return;
    out.append(parentId);
    out += '|';
    out += SanitizeCatalogName(node.text);
    out += '|';
    out += node.nodeData;
    out += '\\';
    std::string_view ownId = NodeIdOf(node.nodeData);
    for (const auto& child : node.children) EncodeNode(*child, ownId, out);
}

void Split(std::string_view text, char separator, std::vector<std::string_view>& pieces) {
    pieces.clear();
    size_t start = 0;
    while (true) {
        size_t at = text.find(separator, start);
        pieces.push_back(text.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
        if (at == std::string_view::npos) break;
        start = at + 1;
    }
}

}  // namespace

std::string EncodeCatalogFile(const CatalogTree& tree) {
    std::string out;
    for (const auto& child : tree.root().children) EncodeNode(*child, kRootCatalogId, out);
    while (!out.empty() && out.back() == '\\') out.pop_back();
    return out;
}

void DecodeCatalogFile(std::string_view bytes, CatalogIndex& index, NodeDataMode mode, bool* whole) {
    std::string_view text = bytes.substr(0, bytes.find('\0'));
    bool intact = text.size() == bytes.size();
    struct Report {
        bool* whole;
        bool& intact;
        ~Report() {
            if (whole) *whole = intact;
        }
    } report{whole, intact};
    if (text.empty()) return;
    std::string lastParent;
    CatalogNode* parent = nullptr;
    // A NodeID may stand twice in a file (an export that took one catalog
    // twice writes that). The writer puts each node's children right after
    // it, so a parent reference means the latest node of that id read so far.
    std::unordered_map<std::string, CatalogNode*> latest;
    std::vector<std::string_view> records, fields;
    Split(text, '\\', records);
    index.Reserve(index.size() + records.size());
    for (std::string_view record : records) {
        if (record.empty()) continue;
        Split(record, '|', fields);
        if (fields[0].empty()) {
            intact = false;
            return;
        }
        // The writer makes three or four fields: the parent, the name, a
        // NodeID (a GUID text) and, with members, their indices.
        if (fields.size() < 3 || fields.size() > 4 || !IsGuidText(fields[2]) ||
            (fields.size() == 4 && fields[3].find_first_not_of("0123456789,") != std::string_view::npos))
            intact = false;
        if (fields.size() < 2) continue;  // no writer makes a record without a name
        if (!EqualsNoCase(fields[0], lastParent)) {
            const auto seen = latest.find(std::string(fields[0]));
            CatalogNode* found = seen != latest.end() ? seen->second : index.NodeOf(fields[0]);
            if (!found) {
                intact = false;
                continue;
            }
            parent = found;
            lastParent.assign(fields[0]);
        }
        if (!parent) continue;
        std::string data;
        if (mode == NodeDataMode::NodeIdOnly) {
            if (fields.size() >= 3) data.assign(fields[2]);
        } else if (fields.size() >= 4) {
            data.assign(fields[2]);
            data += '|';
            data.append(fields[3]);
        } else if (fields.size() == 3) {
            data.assign(fields[2]);
        }
        CatalogNode* node = parent->AddChild(std::string(fields[1]), std::move(data));
        // No writer gives a catalog the root's id: its children could not be
        // told from the root's.
        if (fields.size() >= 3 && EqualsNoCase(fields[2], kRootCatalogId)) {
            intact = false;
        } else if (fields.size() >= 3) {
            index.Add(std::string(fields[2]), node);
            latest[std::string(fields[2])] = node;
            // A node of the id just used as the parent: later references mean it.
            if (EqualsNoCase(fields[2], lastParent)) lastParent.clear();
        }
    }
}

}  // namespace tvx
