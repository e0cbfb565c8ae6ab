// Prints an installation's item and catalog files as text, decoded by the
// program's own data layer (the end-to-end suites read the files with it):
//   tvx_dump_data INSTALLATION-FOLDER
//
//   items=<records> header=<count in the header> mark=<editing mark byte>
//   item <index> <status> <name> <short name> <hotkey1> <hotkey2> <description> <command>
//   catalog <Path/Of/Name> <member indices as the file lists them>
//   agree=1   when every member index names a record the item file holds
// Fields are separated by tabs; CR, LF, tab and backslash are written \r \n \t \\.
#include "data/catalog_file.h"
#include "data/item_file.h"

#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

using namespace tvx;

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::string Escaped(std::string_view s) {
    std::string out;
    for (char c : s) {
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else if (c == '\t') out += "\\t";
        else if (c == '\\') out += "\\\\";
        else out += c;
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tvx_dump_data INSTALLATION-FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    const std::string itemBytes = ReadFile(folder + "/Shortcut2.dat");
    const ItemStore store = DecodeItemFile(itemBytes);
    const std::string header = itemBytes.size() >= 116 ? itemBytes.substr(100, 16) : std::string("-");
    std::printf("items=%zu\theader=%s\tmark=%d\n", store.size(), header.c_str(),
                itemBytes.empty() ? -1 : static_cast<unsigned char>(itemBytes[0]));
    for (size_t i = 0; i < store.size(); ++i) {
        const LaunchItem& it = store[i];
        std::printf("item\t%zu\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n", i, it.Status.c_str(), Escaped(it.Name).c_str(),
                    Escaped(it.ShortName).c_str(), Escaped(it.Hotkey1).c_str(), Escaped(it.Hotkey2).c_str(),
                    Escaped(it.Description).c_str(), Escaped(it.ExePath).c_str());
    }
    CatalogTree tree("All");
    CatalogIndex index;
    ResetCatalogs(tree, index, "All");
    DecodeCatalogFile(ReadFile(folder + "/Shortcut2.clg"), index);
    bool agree = true;
    std::function<void(const CatalogNode&, const std::string&)> walk = [&](const CatalogNode& node,
                                                                              const std::string& path) {
        for (const auto& child : node.children) {
            const std::string childPath = path.empty() ? child->text : path + "/" + child->text;
            const size_t bar = child->nodeData.find('|');
            const std::string members = bar == std::string::npos ? "" : child->nodeData.substr(bar + 1);
            std::printf("catalog\t%s\t%s\n", Escaped(childPath).c_str(), members.c_str());
            std::stringstream list(members);
            std::string piece;
            while (std::getline(list, piece, ','))
                if (!piece.empty() && (std::stoll(piece) < 0 || static_cast<size_t>(std::stoll(piece)) >= store.size()))
                    agree = false;
            walk(*child, childPath);
        }
    };
    walk(tree.root(), "");
    std::printf("agree=%d\n", agree ? 1 : 0);
    return 0;
}
