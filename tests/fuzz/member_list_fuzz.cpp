// libFuzzer target: any bytes as a catalog's NodeData (its NodeID and member
// list). The members read are live entries of the table, a member appended
// is read back last, and the NodeID part never runs past the text.
#include "data/catalog_tree.h"
#include "data/item_model.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    using namespace tvx;
    const std::string_view nodeData(reinterpret_cast<const char*>(data), size);
    static const ItemStore store = [] {
        ItemStore s;
        for (int i = 0; i < 64; ++i) {
            LaunchItem item;
            item.Name = "e" + std::to_string(i);
            item.Status = "0";
            s.Append(item);
        }
        s.Remove(7);
        return s;
    }();
    for (size_t member : ReadMemberList(nodeData, store))
        if (!store.IsLive(static_cast<long long>(member))) std::abort();
    if (NodeIdOf(nodeData).size() > nodeData.size() || NodeIdOf(nodeData).size() > 36) std::abort();
    const std::string appended = AppendMember(nodeData, 12);
    const std::vector<size_t> members = ReadMemberList(appended, store);
    if (members.empty() || members.back() != 12) std::abort();
    CatalogTree tree;
    tree.root().AddChild("c", std::string(nodeData));
    DropMembersFrom(tree, 10);
    for (size_t member : ReadMemberList(tree.root().children[0]->nodeData, store))
        if (member >= 10) std::abort();
    return 0;
}
