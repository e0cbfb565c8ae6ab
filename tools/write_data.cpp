// Writes an installation's item and catalog files from a small text
// description, with the program's own data layer:
//   tvx_write_data DESCRIPTION-FILE INSTALLATION-FOLDER
//
// One entry per line, fields separated by tabs; empty lines and lines
// starting with "#" are skipped. In every field \t, \r, \n, \\ and \xNN stand
// for a tab, CR, LF, backslash and any byte (GBK texts are written that way).
//   item <Name> <ShortName or *> <Hotkey1> <Hotkey2> <Description> <Command> [<GUID>]
//        (* makes the short name from the name as the add-item dialog does;
//        without a GUID the entry gets the next one of a fixed sequence)
//   removed                       a tombstone, keeping the next item's index
//   catalog <Path/Of/Name> <members, e.g. 0,3,4>   (the parent path comes first)
// A field the line leaves out is empty.
#include "data/catalog_file.h"
#include "data/item_file.h"
#include "services/short_name.h"

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

using namespace tvx;

namespace {

std::string Unescape(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 >= s.size()) { out += s[i]; continue; }
        char c = s[++i];
        if (c == 't') out += '\t';
        else if (c == 'r') out += '\r';
        else if (c == 'n') out += '\n';
        else if (c == 'x' && i + 2 < s.size()) { out += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16)); i += 2; }
        else out += c;
    }
    return out;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, '\t')) fields.push_back(Unescape(field));
    return fields;
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: tvx_write_data DESCRIPTION-FILE INSTALLATION-FOLDER\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "tvx_write_data: cannot read %s\n", argv[1]);
        return 1;
    }
    uint32_t counter = 0;
    GuidTextSource guids([&](GuidBytes& g) {
        g = GuidBytes{};
        g.data1 = 0x7A000000u + ++counter;
        g.data2 = 0xD3E0;
        g.data3 = 0x4000;
        g.data4 = {0x80, 0, 0, 0, 0, 0, 0, static_cast<uint8_t>(counter & 0xFF)};
        return true;
    });
    ItemStore store;
    CatalogTree tree("All");
    std::map<std::string, CatalogNode*> catalogs{{"", &tree.root()}};
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> f = Fields(line);
        f.resize(8);
        if (f[0] == "item") {
            LaunchItem it;
            it.Name = f[1];
            it.ShortName = f[2] == "*" ? MakeShortName(f[1]) : f[2];
            it.Hotkey1 = f[3];
            it.Hotkey2 = f[4];
            it.Description = f[5];
            it.Status = "0";
            it.ItemGuid = f[7].empty() ? guids.NewGuidText() : f[7];
            it.ExePath = f[6];
            store.Append(std::move(it));
        } else if (f[0] == "removed") {
            store.Remove(store.Append(LaunchItem{}));
        } else if (f[0] == "catalog") {
            const size_t slash = f[1].rfind('/');
            const std::string parentPath = slash == std::string::npos ? "" : f[1].substr(0, slash);
            auto parent = catalogs.find(parentPath);
            if (parent == catalogs.end()) {
                std::fprintf(stderr, "tvx_write_data: line %d: unknown parent catalog \"%s\"\n", lineNo, parentPath.c_str());
                return 1;
            }
            std::string data = guids.NewGuidText();
            if (!f[2].empty()) data += "|" + f[2];
            const std::string name = slash == std::string::npos ? f[1] : f[1].substr(slash + 1);
            catalogs[f[1]] = parent->second->AddChild(SanitizeCatalogName(name), data);
        } else {
            std::fprintf(stderr, "tvx_write_data: line %d: unknown entry \"%s\"\n", lineNo, f[0].c_str());
            return 1;
        }
    }
    const std::string folder = argv[2];
    if (!WriteFile(folder + "/Shortcut2.dat", EncodeItemFile(store)) ||
        (tree.CatalogCount() > 0 && !WriteFile(folder + "/Shortcut2.clg", EncodeCatalogFile(tree)))) {
        std::fprintf(stderr, "tvx_write_data: cannot write into %s\n", folder.c_str());
        return 1;
    }
    std::printf("%zu items and %zu catalogs written to %s\n", store.size(), tree.CatalogCount(), folder.c_str());
    return 0;
}
