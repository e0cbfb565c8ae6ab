// Writes the demo installation's item and catalog files with the program's
// own data layer:  tvx_make_demo FOLDER
// The entries start programs that Wine ships, so a newcomer can type a few
// letters and press Enter at once.
#include "data/catalog_file.h"
#include "data/item_file.h"
#include "launcher/short_name.h"

#include <cstdio>
#include <fstream>
#include <string>

using namespace tvx;

namespace {

GuidTextSource g_guids([](GuidBytes& g) {
    static uint32_t counter = 0x7A000000;
    g = GuidBytes{};
    g.data1 = ++counter;
    g.data2 = 0xD3E0;
    g.data3 = 0x4000;
    g.data4 = {0x80, 0, 0, 0, 0, 0, 0, static_cast<uint8_t>(counter & 0xFF)};
    return true;
});

size_t Add(ItemStore& store, std::string name, std::string shortName, std::string command,
           std::string description, std::string hotkey1 = "", std::string hotkey2 = "") {
    LaunchItem it;
    it.Name = std::move(name);
    it.ShortName = shortName.empty() ? MakeShortName(it.Name) : std::move(shortName);
    it.Hotkey1 = std::move(hotkey1);
    it.Hotkey2 = std::move(hotkey2);
    it.Description = std::move(description);
    it.Status = "0";
    it.ItemGuid = g_guids.NewGuidText();
    it.ExePath = std::move(command);
    return store.Append(std::move(it));
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::string Members(std::string data, std::initializer_list<size_t> items) {
    for (size_t i : items) data = AppendMember(data, i);
    return data;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tvx_make_demo INSTALLATION-FOLDER\n");
        return 2;
    }
    const std::string sys = "C:\\windows\\system32\\";
    ItemStore store;
    const size_t notepad = Add(store, "Notepad", "np", sys + "notepad.exe", "Plain text editor", "Ctrl", "F9");
    const size_t regedit = Add(store, "Registry Editor", "", sys + "regedit.exe", "Look into the registry");
    const size_t mines = Add(store, "Minesweeper", "ms", sys + "winemine.exe", "A game to pass the time", "Alt", "F10");
    const size_t winini = Add(store, "Edit win.ini", "ini", sys + "notepad.exe C:\\windows\\win.ini",
                              "A command line with an argument");
    const size_t chinese = Add(store, "\xBC\xC7\xCA\xC2\xB1\xBE", "", sys + "notepad.exe",
                               "Notepad under its Chinese name: type its pinyin initials");
    const size_t composed = Add(store, "+ Notepad and Minesweeper", "nm",
                                "Notepad\r\nMinesweeper^^^" + sys + "notepad.exe\r\n" + sys + "winemine.exe",
                                "A composed entry: two programs, half a second apart");
    const size_t web = Add(store, "WineHQ", "whq", "http://www.winehq.org/", "A web address");
    const size_t taskmgr = Add(store, "Task Manager", "tm", sys + "taskmgr.exe", "Running programs");

    CatalogTree tree("All");
    CatalogNode* tools = tree.root().AddChild("Tools", Members(g_guids.NewGuidText(), {notepad, winini, chinese, composed}));
    tools->AddChild("System", Members(g_guids.NewGuidText(), {regedit, taskmgr}));
    tree.root().AddChild("Games", Members(g_guids.NewGuidText(), {mines}));
    tree.root().AddChild("Web", Members(g_guids.NewGuidText(), {web}));

    const std::string folder = argv[1];
    if (!WriteFile(folder + "/Shortcut2.dat", EncodeItemFile(store)) ||
        !WriteFile(folder + "/Shortcut2.clg", EncodeCatalogFile(tree))) {
        std::fprintf(stderr, "tvx_make_demo: cannot write into %s\n", folder.c_str());
        return 1;
    }
    std::printf("demo: %zu items and %zu catalogs written to %s\n", store.size(), tree.CatalogCount(), folder.c_str());
    return 0;
}
