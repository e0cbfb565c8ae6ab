// Ends a process that is saving, at random moments, and checks what the
// program's own save code leaves behind:
//   tvxsavekill KILLS FOLDER            full saves of the item and catalog files
//   tvxsavekill KILLS FOLDER append     single-record appends (the mailbox)
// After every kill each file must hold exactly one of the known contents (an
// append: the known records, each appended record whole or not at all), the
// two files must agree, and the clean-up a start of the program does must
// remove the save's temporary files and nothing else. Prints one line per
// failure and "good=N of KILLS"; the exit code is 0 only when all were good.
// (The child role, "child FOLDER save|append", is started by the tool itself.)
#include "data/catalog_file.h"
#include "data/item_file.h"
#include "data/win32/file_io.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

using namespace tvx;
using namespace tvx::win;

namespace {

constexpr int kEntries = 20000;
constexpr int kCatalogs = 200;

struct Content {
    ItemStore items;
    CatalogTree tree{"All"};
    std::string itemBytes, catalogBytes;
};

Content Make(char which) {
    Content c;
    c.items.Reserve(kEntries);
    for (int i = 0; i < kEntries; ++i) {
        LaunchItem item;
        item.Name = std::string(1, which) + " entry " + std::to_string(i);
        item.ShortName = std::string(1, which) + std::to_string(i % 997);
        item.Description = which == 'A' ? "the first content" : "the second, a little longer content";
        item.Status = "0";
        char guid[40];
        std::snprintf(guid, sizeof guid, "%08X-0000-4000-8000-%012X", which == 'A' ? 0xAu : 0xBu, i);
        item.ItemGuid = guid;
        item.ExePath = "C:\\Programs\\" + std::string(1, which) + "\\tool" + std::to_string(i) + ".exe";
        c.items.Append(std::move(item));
    }
    for (int k = 0; k < kCatalogs; ++k) {
        char id[40];
        std::snprintf(id, sizeof id, "%08X-1111-4222-8333-%012X", which == 'A' ? 0xAu : 0xBu, k);
        std::string data = id;
        data += '|';
        for (int m = 0; m < kEntries / kCatalogs; ++m)
            data += (m ? "," : "") + std::to_string((k * (kEntries / kCatalogs) + m * 7) % kEntries);
        c.tree.root().AddChild(std::string(1, which) + " catalog " + std::to_string(k), data);
    }
    c.itemBytes = EncodeItemFile(c.items);
    c.catalogBytes = EncodeCatalogFile(c.tree);
    return c;
}

LaunchItem Appended(int n) {
    LaunchItem item;
    item.Name = "Appended " + std::to_string(n);
    item.ShortName = "ap" + std::to_string(n);
    item.Description = std::string(static_cast<size_t>(200 + n % 300), 'd');  // records of several sizes
    item.Status = "0";
    item.ItemGuid = "APPENDED-" + std::to_string(n);
    item.ExePath = "C:\\appended\\" + std::to_string(n) + ".exe";
    return item;
}

std::string ReadAll(const std::string& path) {
    std::string bytes;
    ReadWholeFile(path, bytes);
    return bytes;
}

std::vector<std::string> Temporaries(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((folder + "\\*.tmp~*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return names;
    do names.push_back(fd.cFileName);
    while (FindNextFileA(find, &fd));
    FindClose(find);
    return names;
}

int Child(const std::string& folder, bool append) {
    HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, ("TvxSaveKill-" + std::to_string(GetCurrentProcessId())).c_str());
    const std::string items = folder + "\\Shortcut2.dat", catalogs = folder + "\\Shortcut2.clg";
    if (append) {
        Content a = Make('A');
        if (ready) SetEvent(ready);
        for (int n = 0;; ++n) {
            a.items.Append(Appended(n));
            AppendItemRecord(items, a.items, a.items.size() - 1);
        }
    }
    const Content both[2] = {Make('A'), Make('B')};
    if (ready) SetEvent(ready);
    for (int n = 0;; ++n) {
        const Content& c = both[n % 2];
        SaveItemFile(items, c.items);
        SaveCatalogFile(catalogs, c.tree);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::string(argv[1]) == "child") return Child(argv[2], std::string(argv[3]) == "append");
    if (argc < 3) {
        std::fprintf(stderr, "usage: tvxsavekill KILLS FOLDER [append]\n");
        return 2;
    }
    const int kills = std::atoi(argv[1]);
    const std::string folder = argv[2];
    const bool append = argc > 3 && std::string(argv[3]) == "append";
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((folder + "\\Data").c_str(), nullptr);
    const std::string items = folder + "\\Shortcut2.dat", catalogs = folder + "\\Shortcut2.clg";
    const Content a = Make('A'), b = Make('B');
    // Files of the user's that look a little like temporary files: they stay.
    const std::string decoys[] = {folder + "\\notes.tmp~123", folder + "\\Shortcut2.dat.tmp~old",
                                  folder + "\\Data\\clip.txt.tmp~9"};
    for (const std::string& decoy : decoys) WriteFileReplacing(decoy, "the user's");

    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::mt19937 random(GetTickCount());
    int good = 0, midWrite = 0;
    for (int kill = 1; kill <= kills; ++kill) {
        if (append || kill == 1) {
            WriteFileReplacing(items, a.itemBytes);
            WriteFileReplacing(catalogs, a.catalogBytes);
        }
        std::string command = std::string("\"") + self + "\" child \"" + folder + "\" " + (append ? "append" : "save");
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &si, &pi)) {
            std::printf("kill %d: the child did not start\n", kill);
            continue;
        }
        HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, ("TvxSaveKill-" + std::to_string(pi.dwProcessId)).c_str());
        ResumeThread(pi.hThread);
        WaitForSingleObject(ready, 30000);
        // Somewhere in the middle of some save or append.
        Sleep(std::uniform_int_distribution<int>(0, append ? 40 : 150)(random));
        TerminateProcess(pi.hProcess, 9);
        WaitForSingleObject(pi.hProcess, 30000);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        CloseHandle(ready);

        std::string problem;
        const std::string itemBytes = ReadAll(items), catalogBytes = ReadAll(catalogs);
        if (append) {
            bool whole = false;
            const ItemStore read = DecodeItemFile(itemBytes, &whole);
            if (itemBytes.compare(0, a.itemBytes.size(), a.itemBytes) != 0) problem = "the known records changed";
            for (size_t i = kEntries; problem.empty() && i < read.size(); ++i)
                if (!(read[i] == Appended(static_cast<int>(i - kEntries)))) problem = "an appended record is garbled";
            // A record cut by the kill may end the file, and only the start
            // of the record that was being appended.
            size_t complete = a.itemBytes.size();
            for (size_t i = kEntries; i < read.size(); ++i) complete += EncodeItemRecord(read[i]).size();
            const std::string next = EncodeItemRecord(Appended(static_cast<int>(read.size()) - kEntries));
            if (problem.empty() && (complete > itemBytes.size() || itemBytes.size() - complete >= next.size() ||
                                    next.compare(0, itemBytes.size() - complete, itemBytes, complete) != 0))
                problem = "the file ends in something else than the start of the next record";
            (void)whole;
            if (problem.empty() && itemBytes.substr(100, 16) != a.itemBytes.substr(100, 16))
                problem = "the header changed";
        } else {
            if (itemBytes != a.itemBytes && itemBytes != b.itemBytes) problem = "the item file is neither content";
            if (catalogBytes != a.catalogBytes && catalogBytes != b.catalogBytes)
                problem += std::string(problem.empty() ? "" : ", ") + "the catalog file is neither content";
        }
        // The two files agree: every member names a record the item file holds.
        CatalogTree tree("All");
        CatalogIndex index;
        ResetCatalogs(tree, index, "All");
        DecodeCatalogFile(catalogBytes, index);
        const size_t records = DecodeItemFile(itemBytes).size();
        for (size_t i = 0; i < index.size() && problem.empty(); ++i) {
            const std::string& data = index.NodeAt(i)->nodeData;
            const size_t bar = data.find('|');
            if (bar == std::string::npos) continue;
            for (size_t at = bar + 1; at < data.size();) {
                const size_t end = std::min(data.find(',', at), data.size());
                if (static_cast<size_t>(std::atoll(data.substr(at, end - at).c_str())) >= records)
                    problem = "a member names no record";
                at = end + 1;
            }
        }
        // The next start removes the save's own temporaries and nothing else.
        const bool cut = append ? itemBytes.size() != a.itemBytes.size() + [&] {
            size_t n = 0;
            const ItemStore read = DecodeItemFile(itemBytes);
            for (size_t i = kEntries; i < read.size(); ++i) n += EncodeItemRecord(read[i]).size();
            return n;
        }() : Temporaries(folder).size() > 2;
        if (cut) ++midWrite;
        RemoveStaleTemporaries(folder);
        const std::vector<std::string> left = Temporaries(folder);
        if (left.size() != 2) problem += std::string(problem.empty() ? "" : ", ") + "temporary files: " + std::to_string(left.size());
        for (const std::string& decoy : decoys)
            if (ReadAll(decoy) != "the user's") problem += ", a user's file was touched";
        if (problem.empty()) ++good;
        else std::printf("kill %d: %s\n", kill, problem.c_str());
    }
    std::printf("good=%d of %d (%s; %d kills fell inside a write)\n", good, kills, append ? "appends" : "saves",
                midWrite);
    return good == kills ? 0 : 1;
}
