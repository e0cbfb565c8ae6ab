// Ends a process that is writing the user's files, at random moments, and
// checks what the program's own writers leave behind:
//   tvxsavekill MODE KILLS FOLDER [SEED]
//   save      both files saved as the configuration dialog saves them, with
//             contents that grow as real saves do (records are added, old
//             ones become tombstones, a new catalog names the new records):
//             a new item file beside the old catalog file is allowed, the
//             other way round is a failure
//   append    entries filed as a hand-over from Explorer is (the record, then
//             the catalog file), records large enough that kills land inside
//             them; a torn record must make the next start call the file
//             damaged, keep a dated copy and show the good records
//   clipdata  a clipboard capture stored over one data file, two contents by turns
//   settings  the language choice's writes of LogConfig.dat and
//             TavrolinexConfig.ini, two contents each by turns
//   export    an export archive written over the user's archive, two contents
//             by turns; the next start's clean-up removes what the kill left
// After every kill the files must hold exactly one of the known contents
// (never a mix, never a part), agree with each other, and nothing else may be
// touched. The run must also have seen what it is about (a save past the
// first, a new item file beside the old catalog file; whole and torn appended
// records; both contents of the other writers): a writer that silently wrote
// nothing fails. The child makes every content it writes before it says it is
// ready, so that the kills land in its writes. Prints one line per failure,
// what was seen, the seed (give it as SEED to replay a run) and "good=N of
// KILLS"; exit code 0 only when all were good and every wanted state was
// seen. (The child role is started by the tool itself.)
#include "data/catalog_file.h"
#include "data/clipboard_data.h"
#include "data/ini_text.h"
#include "data/item_file.h"
#include "data/win32/clipboard_io.h"
#include "data/win32/file_io.h"
#include "data/win32/mailbox.h"
#include "data/win32/profile.h"
#include "exchange/win32/exchange_pipeline.h"
#include "exchange/win32/zip_archive.h"
#include "kill_watch.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <random>
#include <string>
#include <vector>

using namespace tvx;
using namespace tvx::win;
using namespace tvx::killtest;

namespace {

std::string Guid(unsigned kind, unsigned n) {
    char text[40];
    std::snprintf(text, sizeof text, "%08X-0000-4000-8000-%012X", kind, n);
    return text;
}

LaunchItem Entry(const std::string& name, const std::string& description, const std::string& guid,
                 const std::string& command) {
    LaunchItem item;
    item.Name = name;
    item.ShortName = name.substr(0, 3);
    item.Description = description;
    item.Status = "0";
    item.ItemGuid = guid;
    item.ExePath = command;
    return item;
}

// Every member index of the catalog file names a record the item file holds.
bool Agree(const std::string& itemBytes, const std::string& catalogBytes) {
    CatalogTree tree("All");
    CatalogIndex index;
    ResetCatalogs(tree, index, "All");
    DecodeCatalogFile(catalogBytes, index);
    const size_t records = DecodeItemFile(itemBytes).size();
    for (size_t i = 1; i < index.size(); ++i) {
        const std::string& data = index.NodeAt(i)->nodeData;
        const size_t bar = data.find('|');
        if (bar == std::string::npos) continue;
        for (size_t at = bar + 1; at < data.size();) {
            const size_t end = std::min(data.find(',', at), data.size());
            if (static_cast<size_t>(std::atoll(data.substr(at, end - at).c_str())) >= records) return false;
            at = end + 1;
        }
    }
    return true;
}

// ---- save: contents that grow ----------------------------------------------------------

constexpr int kBaseEntries = 5000, kAddedPerSave = 150, kGenerations = 60;

struct Generation {
    ItemStore items;
    CatalogTree tree{"All"};
    std::string itemBytes, catalogBytes;
};

// Generation g: the base entries, 150 more per save, one older entry made a
// tombstone per save, and per save a catalog naming the entries it added.
Generation MakeGeneration(int g) {
    Generation c;
    for (int i = 0; i < kBaseEntries + g * kAddedPerSave; ++i)
        c.items.Append(Entry("Entry " + std::to_string(i), "saved in generation " + std::to_string(std::max(0, (i - kBaseEntries) / kAddedPerSave + 1)),
                             Guid(0xA, static_cast<unsigned>(i)), "C:\\Programs\\tool" + std::to_string(i) + ".exe"));
    for (int t = 1; t <= g; ++t) c.items.Remove(static_cast<size_t>(t * 37));
    for (int k = 0; k < 20; ++k) {
        std::string data = Guid(0xC, static_cast<unsigned>(k)) + "|";
        for (int m = 0; m < kBaseEntries / 20; ++m) data += (m ? "," : "") + std::to_string(k * (kBaseEntries / 20) + m);
        c.tree.root().AddChild("Catalog " + std::to_string(k), data);
    }
    for (int h = 1; h <= g; ++h) {
        std::string data = Guid(0xD, static_cast<unsigned>(h)) + "|";
        for (int m = 0; m < kAddedPerSave; ++m)
            data += (m ? "," : "") + std::to_string(kBaseEntries + (h - 1) * kAddedPerSave + m);
        c.tree.root().AddChild("Saved " + std::to_string(h), data);
    }
    c.itemBytes = EncodeItemFile(c.items);
    c.catalogBytes = EncodeCatalogFile(c.tree);
    return c;
}

// Where the parent keeps each generation's files for the children to read.
std::string GenerationPath(const std::string& folder, const char* kind, int g) {
    return folder + "\\generations\\" + std::to_string(g) + "." + kind;
}

// ---- append: hand-overs with records of many pages ---------------------------------

constexpr int kAppendBase = 2000, kHandOvers = 300;
const char* const kReceivedId = "EEEEEEEE-0000-4000-8000-000000000001";

// Six fields of almost 10,000 bytes: a record of 15 pages, so that a kill can
// fall inside the one write that appends it.
MailboxFields HandOver(int n) {
    MailboxFields f;
    const char fill = static_cast<char>('a' + n % 26);
    f.Name = "Received " + std::to_string(n) + " " + std::string(9900, fill);
    f.ShortName = "rc" + std::to_string(n) + std::string(9900, fill);
    f.Hotkey1 = std::string(9990, 'h');
    f.Hotkey2 = std::string(9990, 'k');
    f.Description = std::string(9999, fill);
    f.ExePath = "C:\\received\\" + std::to_string(n) + "\\" + std::string(9900, 'p') + ".exe";
    f.NodeID = kReceivedId;
    return f;
}

LaunchItem Received(int n) {
    return *ItemFromMailbox(HandOver(n), Guid(0xE, static_cast<unsigned>(n)));
}

Generation AppendBase() {
    Generation c;
    for (int i = 0; i < kAppendBase; ++i)
        c.items.Append(Entry("Base " + std::to_string(i), "before", Guid(0xB, static_cast<unsigned>(i)), "C:\\b.exe"));
    std::string data = Guid(0xC, 1) + "|";
    for (int m = 0; m < kAppendBase; m += 3) data += (m ? "," : "") + std::to_string(m);
    c.tree.root().AddChild("Base", data);
    c.tree.root().AddChild("Received", kReceivedId);
    c.itemBytes = EncodeItemFile(c.items);
    c.catalogBytes = EncodeCatalogFile(c.tree);
    return c;
}

// ---- settings and clipboard contents -----------------------------------------------

std::string Texts(char which) {
    std::string text = "[TipMsgs]\r\n";
    for (int k = 0; k < 400; ++k)
        text += "Key" + std::to_string(k) + "=" + std::string(which == 'e' ? "English text " : "another language, longer ") +
                std::to_string(k) + "\r\n";
    return text;
}

std::string LogConfig(int language) {
    return WithIniValue(WithIniValue("[LogConfig]\r\nLangSel=0\r\nShowLangSel=0\r\n", "LogConfig", "LangSel",
                                     std::to_string(language)),
                        "LogConfig", "ShowLangSel", "0");
}

std::string ClipText(int which) { return std::string(1 << 19, which ? 'B' : 'A') + (which ? " second" : " first"); }

bool PutText(const std::string& text) {
    if (!OpenClipboard(nullptr)) return false;
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (block) {
        char* p = static_cast<char*>(GlobalLock(block));
        std::copy(text.begin(), text.end(), p);
        p[text.size()] = '\0';
        GlobalUnlock(block);
        if (!SetClipboardData(CF_TEXT, block)) GlobalFree(block);
    }
    CloseClipboard();
    return block != nullptr;
}

// ---- export -----------------------------------------------------------------------

struct ExportContent {
    ItemStore items;
    CatalogTree tree{"Exporting"};
};

ExportContent ExportOf(const std::string& install, int which) {
    ExportContent c;
    for (int i = 0; i < 400; ++i)
        c.items.Append(Entry((which ? "Second " : "First ") + std::to_string(i), "exported", Guid(0xF, static_cast<unsigned>(i)),
                             i % 20 == 0 ? install + "\\Data\\" + Guid(0x5, static_cast<unsigned>(i / 20)) + ".stx"
                                         : "C:\\x" + std::to_string(i) + ".exe"));
    std::string data = Guid(0xC, 7) + "|";
    for (int m = 0; m < 400; ++m) data += (m ? "," : "") + std::to_string(m);
    c.tree.root().AddChild(which ? "Second" : "First", data);
    return c;
}

// ---- the child ---------------------------------------------------------------------

int Child(const std::string& mode, const std::string& folder) {
    HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, ("TvxSaveKill-" + std::to_string(GetCurrentProcessId())).c_str());
    const std::string items = folder + "\\Shortcut2.dat", catalogs = folder + "\\Shortcut2.clg";
    if (mode == "save") {
        // Read from the files the parent wrote once: building them here would
        // take longer than the saves the kills are to land in.
        std::vector<Generation> next(kGenerations);
        for (int g = 1; g <= kGenerations; ++g) {
            Generation& c = next[static_cast<size_t>(g - 1)];
            c.items = LoadItemFile(GenerationPath(folder, "dat", g));
            CatalogIndex index;
            ResetCatalogs(c.tree, index, "All");
            LoadCatalogFile(GenerationPath(folder, "clg", g), index);
        }
        if (ready) SetEvent(ready);
        for (const Generation& c : next) SaveItemAndCatalogFiles(items, c.items, catalogs, c.tree);
    } else if (mode == "append") {
        ItemStore store = LoadItemFile(items);
        CatalogTree tree("All");
        CatalogIndex index;
        ResetCatalogs(tree, index, "All");
        LoadCatalogFile(catalogs, index);
        std::vector<MailboxFields> handOvers;
        for (int n = 0; n < kHandOvers; ++n) handOvers.push_back(HandOver(n));
        if (ready) SetEvent(ready);
        for (int n = 0; n < kHandOvers; ++n)
            FileReceivedItem(handOvers[static_cast<size_t>(n)], Guid(0xE, static_cast<unsigned>(n)), store, tree, index, items,
                             catalogs);
    } else if (mode == "clipdata") {
        const std::string data = folder + "\\Data\\5A5A5A5A-0000-4000-8000-000000000001.stx";
        const std::string texts[2] = {ClipText(0), ClipText(1)};
        if (ready) SetEvent(ready);
        for (int n = 0;; ++n) {
            PutText(texts[n % 2]);
            CaptureClipboard(nullptr, data);
        }
    } else if (mode == "settings") {
        const std::string texts[2] = {Texts('e'), Texts('c')};
        if (ready) SetEvent(ready);
        for (int n = 0;; ++n) {
            WriteProfileValuesSafely(folder + "\\LogConfig.dat", "LogConfig",
                                     {{"LangSel", n % 2 ? "6" : "0"}, {"ShowLangSel", "0"}});
            WriteFileReplacing(folder + "\\TavrolinexConfig.ini", texts[n % 2]);
        }
    } else if (mode == "export") {
        const std::string install = folder + "\\install";
        const ExportContent contents[2] = {ExportOf(install, 0), ExportOf(install, 1)};
        if (ready) SetEvent(ready);
        for (int n = 0;; ++n) {
            ExchangePipeline exporter(Installation(install), true);
            if (exporter.StageExport(folder + "\\user\\Tools.trn", contents[n % 2].tree, contents[n % 2].items))
                exporter.CopyAndPack();
            exporter.Discard();
        }
    }
    for (;;) Sleep(1000);  // done: wait to be ended
}

// ---- the parent ------------------------------------------------------------------

// Every file under a folder, by its path inside it, with its bytes.
std::map<std::string, std::string> ReadTree(const std::string& folder, const std::string& inside = "") {
    std::map<std::string, std::string> files;
    for (const std::string& name : Matching(folder + "\\" + inside + "*")) {
        if (name == "." || name == "..") continue;
        const std::string path = inside + name;
        const DWORD attributes = GetFileAttributesA((folder + "\\" + path).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            for (auto& [file, bytes] : ReadTree(folder, path + "\\")) files[file] = std::move(bytes);
        } else {
            files[path] = ReadAll(folder + "\\" + path);
        }
    }
    return files;
}

struct Tally {
    int good = 0, midWrite = 0;
    std::map<std::string, int> seen;  // what the files held after the kills
};

void Note(std::string& problem, const std::string& what) { problem += (problem.empty() ? "" : ", ") + what; }

class Run {
public:
    Run(std::string mode, std::string folder, unsigned seed)
        : mode_(std::move(mode)), folder_(std::move(folder)), random_(seed + 1) {
        CreateDirectoryA(folder_.c_str(), nullptr);
        CreateDirectoryA((folder_ + "\\Data").c_str(), nullptr);
        // Files of the user's that look a little like the program's own: they stay.
        for (const std::string& decoy : Decoys()) WriteFileReplacing(decoy, "the user's");
        if (mode_ == "save") {
            CreateDirectoryA((folder_ + "\\generations").c_str(), nullptr);
            for (int g = 0; g <= kGenerations; ++g) {
                Generation c = MakeGeneration(g);
                WriteFileReplacing(GenerationPath(folder_, "dat", g), c.itemBytes);
                WriteFileReplacing(GenerationPath(folder_, "clg", g), c.catalogBytes);
                itemGens_.push_back(std::move(c.itemBytes));
                catalogGens_.push_back(std::move(c.catalogBytes));
            }
        } else if (mode_ == "append") {
            base_ = AppendBase();
        } else if (mode_ == "clipdata") {
            // What a capture of each text writes, as this process sees it.
            for (int which = 0; which < 2; ++which) {
                PutText(ClipText(which));
                const std::string path = folder_ + "\\expected" + std::to_string(which) + ".stx";
                CaptureClipboard(nullptr, path);
                clipFiles_[which] = ReadAll(path);
                DeleteFileA(path.c_str());
            }
        } else if (mode_ == "export") {
            const std::string install = folder_ + "\\install";
            CreateDirectoryA(install.c_str(), nullptr);
            CreateDirectoryA((install + "\\Data").c_str(), nullptr);
            CreateDirectoryA((folder_ + "\\user").c_str(), nullptr);
            for (unsigned k = 0; k < 20; ++k)
                WriteFileReplacing(install + "\\Data\\" + Guid(0x5, k) + ".stx", std::string(200000, static_cast<char>('a' + k)));
            // What an export of each content holds, file by file, as this process makes it.
            for (int which = 0; which < 2; ++which) {
                const ExportContent c = ExportOf(install, which);
                // Under the same name as the user's archive: its name is the folder inside it.
                const std::string beside = folder_ + "\\expected" + std::to_string(which);
                const std::string archive = beside + "\\Tools.trn";
                CreateDirectoryA(beside.c_str(), nullptr);
                ExchangePipeline exporter(Installation(install), true);
                if (exporter.StageExport(archive, c.tree, c.items)) exporter.CopyAndPack();
                exporter.Discard();
                exportFiles_[which] = Unpacked(archive);
                DeleteFileA(archive.c_str());
                RemoveDirectoryA(beside.c_str());
            }
        }
    }

    std::vector<std::string> Decoys() const {
        return {folder_ + "\\notes.tmp~123", folder_ + "\\Shortcut2.dat.tmp~old", folder_ + "\\Data\\clip.txt.tmp~9",
                folder_ + "\\Tavrolinex-notes.trn"};
    }

    // The files as they are before each child starts.
    void Prepare() {
        if (mode_ == "save") {
            WriteFileReplacing(Items(), itemGens_[0]);
            WriteFileReplacing(Catalogs(), catalogGens_[0]);
        } else if (mode_ == "append") {
            for (const std::string& copy : Matching(folder_ + "\\Shortcut2 (damaged*")) DeleteFileA((folder_ + "\\" + copy).c_str());
            WriteFileReplacing(Items(), base_.itemBytes);
            WriteFileReplacing(Catalogs(), base_.catalogBytes);
        }
    }

    // Somewhere in the middle of some write.
    int MaxDelay() const {
        if (mode_ == "save") return 400;
        if (mode_ == "export") return 1500;
        if (mode_ == "clipdata") return 600;
        return 150;
    }

    void Check(DWORD child, Tally& tally, std::string& problem) {
        if (mode_ == "save") CheckSave(tally, problem);
        else if (mode_ == "append") CheckAppend(tally, problem);
        else if (mode_ == "clipdata") CheckFileIsOneOf(folder_ + "\\Data\\5A5A5A5A-0000-4000-8000-000000000001.stx",
                                                      {clipFiles_[0], clipFiles_[1]}, true, tally, problem);
        else if (mode_ == "settings") {
            CheckFileIsOneOf(folder_ + "\\LogConfig.dat", {LogConfig(0), LogConfig(6)}, true, tally, problem, "LogConfig.dat ");
            CheckFileIsOneOf(folder_ + "\\TavrolinexConfig.ini", {Texts('e'), Texts('c')}, true, tally, problem,
                             "TavrolinexConfig.ini ");
        } else if (mode_ == "export") CheckExport(child, tally, problem);
        // The next start removes the writers' own temporaries and nothing else.
        if (!Matching(folder_ + "\\*.tmp~*").empty() || !Matching(folder_ + "\\Data\\*.tmp~*").empty()) ++tally.midWrite;
        RemoveStaleTemporaries(Installation(folder_));
        const size_t left = Matching(folder_ + "\\*.tmp~*").size() + Matching(folder_ + "\\Data\\*.tmp~*").size();
        if (left != 3) Note(problem, "temporary files left: " + std::to_string(left));  // the three decoys
        for (const std::string& decoy : Decoys())
            if (ReadAll(decoy) != "the user's") Note(problem, "a user's file was touched");
    }

    // What the run must have seen to prove anything: a writer that silently
    // wrote nothing, or kills that never fell where they matter, fail it.
    std::string Missing(const Tally& tally) const {
        auto count = [&tally](const std::string& what) {
            const auto it = tally.seen.find(what);
            return it == tally.seen.end() ? 0 : it->second;
        };
        std::vector<std::string> wanted;
        if (mode_ == "save") wanted = {"a save past the first on disk", "a new item file beside the old catalog file"};
        else if (mode_ == "append") wanted = {"whole appended records on disk"};
        else if (mode_ == "settings")
            wanted = {"LogConfig.dat content 0", "LogConfig.dat content 1", "TavrolinexConfig.ini content 0",
                      "TavrolinexConfig.ini content 1"};
        else wanted = {"content 0", "content 1"};
        std::string missing;
        for (const std::string& what : wanted)
            if (count(what) == 0) missing += (missing.empty() ? "" : "; ") + what;
        if (mode_ == "append" && count("a record torn by the kill") + count("a record cut short as by a power failure") == 0)
            missing += std::string(missing.empty() ? "" : "; ") + "a torn record";
        return missing;
    }

private:
    std::string Items() const { return folder_ + "\\Shortcut2.dat"; }

    // An archive's files as the program's own unpack gives them; whole is
    // false when it could not be unpacked.
    std::map<std::string, std::string> Unpacked(const std::string& archive, bool* whole = nullptr) const {
        const std::string scratch = folder_ + "\\check";
        RemoveFolderTree(scratch);
        CreateDirectoryA(scratch.c_str(), nullptr);
        const bool unpacked = UnpackArchive(archive, scratch) == UnpackResult::Unpacked;
        std::map<std::string, std::string> files;
        if (unpacked) files = ReadTree(scratch);
        RemoveFolderTree(scratch);
        if (whole) *whole = unpacked;
        return files;
    }
    std::string Catalogs() const { return folder_ + "\\Shortcut2.clg"; }

    static int Find(const std::vector<std::string>& known, const std::string& bytes) {
        for (size_t i = 0; i < known.size(); ++i)
            if (known[i] == bytes) return static_cast<int>(i);
        return -1;
    }

    void CheckSave(Tally& tally, std::string& problem) {
        const std::string itemBytes = ReadAll(Items()), catalogBytes = ReadAll(Catalogs());
        const int i = Find(itemGens_, itemBytes), c = Find(catalogGens_, catalogBytes);
        if (i < 0) Note(problem, "the item file is no known content");
        if (c < 0) Note(problem, "the catalog file is no known content");
        if (i < 0 || c < 0) return;
        if (i > 0) ++tally.seen["a save past the first on disk"];
        if (i == c) ++tally.seen["both files of one save"];
        else if (i == c + 1) ++tally.seen["a new item file beside the old catalog file"];
        else if (c > i) {
            ++tally.seen["an old item file beside a newer catalog file"];
            Note(problem, "an old item file (save " + std::to_string(i) + ") beside a newer catalog file (save " +
                              std::to_string(c) + ")");
        } else {
            ++tally.seen["files further apart"];
            Note(problem, "the item file is " + std::to_string(i - c) + " saves ahead");
        }
        if (!Agree(itemBytes, catalogBytes)) Note(problem, "a member names no record");
    }

    void CheckAppend(Tally& tally, std::string& problem) {
        std::string itemBytes = ReadAll(Items());
        const std::string catalogBytes = ReadAll(Catalogs());
        if (itemBytes.compare(0, base_.itemBytes.size(), base_.itemBytes) != 0) {
            Note(problem, "the records that were there changed");
            return;
        }
        // The appended records, whole, then at most the start of the next one.
        size_t at = base_.itemBytes.size();
        int whole = 0;
        for (;; ++whole) {
            const std::string record = EncodeItemRecord(Received(whole));
            if (itemBytes.size() - at < record.size()) break;
            if (itemBytes.compare(at, record.size(), record) != 0) {
                Note(problem, "an appended record is garbled");
                return;
            }
            at += record.size();
        }
        const std::string next = EncodeItemRecord(Received(whole));
        if (next.compare(0, itemBytes.size() - at, itemBytes, at, std::string::npos) != 0) {
            Note(problem, "the file ends in something else than the start of the next record");
            return;
        }
        const bool tornByKill = at != itemBytes.size();
        if (whole > 0) ++tally.seen["whole appended records on disk"];
        // The catalog names the records filed before the kill: all of them, or
        // all but the last when the kill came between the record and the catalog.
        CatalogTree tree("All");
        CatalogIndex index;
        ResetCatalogs(tree, index, "All");
        bool catalogsWhole = false;
        DecodeCatalogFile(catalogBytes, index, NodeDataMode::Full, &catalogsWhole);
        const CatalogNode* received = index.NodeOf(kReceivedId);
        size_t members = 0;
        if (received && received->nodeData.find('|') != std::string::npos)
            members = static_cast<size_t>(std::count(received->nodeData.begin(), received->nodeData.end(), ',')) + 1;
        if (!catalogsWhole || !received) Note(problem, "the catalog file is damaged");
        else if (members != static_cast<size_t>(whole) && members + 1 != static_cast<size_t>(whole))
            Note(problem, std::to_string(members) + " members for " + std::to_string(whole) + " whole records");
        if (tornByKill) {
            ++tally.seen["a record torn by the kill"];
        } else {
            ++tally.seen[members == static_cast<size_t>(whole) ? "record and catalog filed" : "a record before its catalog"];
            bool read = false;
            LoadItemFile(Items(), &read);
            if (!read) Note(problem, "a whole file read as damaged");
            if (whole == 0 || !coin_(random_)) return;
            // No kill tore a record this time: cut the last one short as a
            // power failure would, so that the start's handling is checked too.
            const size_t last = EncodeItemRecord(Received(whole - 1)).size();
            const size_t cut = std::uniform_int_distribution<size_t>(1, last - 1)(random_);
            itemBytes.resize(at - last + cut);
            if (!WriteFileReplacing(Items(), itemBytes)) {
                Note(problem, "the file could not be cut short (still held after the kill)");
                return;
            }
            ++tally.seen["a record cut short as by a power failure"];
            --whole;
        }
        // What the next start makes of a torn record: the file is damaged, a
        // dated copy keeps its bytes, and it is written again with the good records.
        bool itemsWhole = true;
        ItemStore store = LoadItemFile(Items(), &itemsWhole);
        if (itemsWhole) Note(problem, "a torn record was read as whole");
        if (store.size() != static_cast<size_t>(kAppendBase + whole)) Note(problem, "the good records were not all read");
        RecoverDamagedFiles(Items(), store, itemsWhole, Catalogs(), tree, catalogsWhole);
        const std::vector<std::string> copies = Matching(folder_ + "\\Shortcut2 (damaged*).dat");
        if (copies.size() != 1 || ReadAll(folder_ + "\\" + copies[0]) != itemBytes)
            Note(problem, "no dated copy holds the torn file");
        bool after = false;
        if (LoadItemFile(Items(), &after).size() != static_cast<size_t>(kAppendBase + whole) || !after)
            Note(problem, "the file was not written again with the good records");
        if (!Agree(ReadAll(Items()), ReadAll(Catalogs()))) Note(problem, "the files disagree after the start");
    }

    void CheckFileIsOneOf(const std::string& path, const std::vector<std::string>& known, bool mayBeMissing, Tally& tally,
                          std::string& problem, const std::string& label = "") {
        if (!Exists(path)) {
            // Missing only until the child wrote it once: after that the old
            // file must stay until the new one replaces it.
            if (!mayBeMissing || written_.count(path)) Note(problem, path + " is missing");
            ++tally.seen["not written yet"];
            return;
        }
        written_.insert(path);
        const int which = Find(known, ReadAll(path));
        if (which < 0) Note(problem, path + " is neither content");
        else ++tally.seen[label + "content " + std::to_string(which)];
    }

    void CheckExport(DWORD child, Tally& tally, std::string& problem) {
        const std::string archive = folder_ + "\\user\\Tools.trn";
        if (!Exists(archive)) ++tally.seen["no archive yet"];
        else {
            bool whole = false;
            const std::map<std::string, std::string> files = Unpacked(archive, &whole);
            if (!whole) Note(problem, "the archive is not whole");
            else if (files == exportFiles_[0]) ++tally.seen["content 0"];
            else if (files == exportFiles_[1]) ++tally.seen["content 1"];
            else Note(problem, "the archive holds neither content (" + std::to_string(files.size()) + " files)");
        }
        // What the killed export left: its staging folder and partial archive,
        // which the next start removes (and nothing of the user's).
        char pid[16];
        std::snprintf(pid, sizeof pid, "%lx", child);
        char temp[MAX_PATH + 1] = {};
        GetTempPathA(MAX_PATH, temp);
        const std::string staging = std::string(temp) + "Tavrolinex-" + pid + "-*";
        if (!Matching(folder_ + "\\user\\*.tmp~*").empty()) ++tally.midWrite;
        RemoveLeftoverStagingFolders();
        for (const std::string& left : Matching(staging)) {
            // Killed between making the folder and its marker: an empty folder
            // the program cannot tell as its own, so it rightly stays.
            if (!Exists(std::string(temp) + left + "\\tavrolinex.staging") &&
                RemoveDirectoryA((std::string(temp) + left).c_str())) {
                ++tally.seen["killed between the staging folder and its marker (an empty folder stays)"];
                continue;
            }
            std::string what;
            for (const std::string& inside : Matching(std::string(temp) + left + "\\*"))
                if (inside != "." && inside != "..") what += " " + inside;
            for (const std::string& inside : Matching(std::string(temp) + left + "\\Tools\\*"))
                if (inside != "." && inside != "..") what += " Tools\\" + inside;
            for (const std::string& inside : Matching(std::string(temp) + left + "\\Tools\\Data\\*"))
                if (inside != "." && inside != "..") what += " Data\\" + inside;
            Note(problem, "the killed export's staging folder is still there:" + what);
        }
        const std::vector<std::string> user = Matching(folder_ + "\\user\\*");
        for (const std::string& name : user)
            if (name != "." && name != ".." && name != "Tools.trn") Note(problem, "left beside the archive: " + name);
    }

    std::string mode_, folder_;
    std::mt19937 random_{1};
    std::bernoulli_distribution coin_{0.5};
    std::vector<std::string> itemGens_, catalogGens_;
    Generation base_;
    std::string clipFiles_[2];
    std::set<std::string> written_;
    std::map<std::string, std::string> exportFiles_[2];
};

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::string(argv[1]) == "child") return Child(argv[2], argv[3]);
    if (argc < 4) {
        std::fprintf(stderr, "usage: tvxsavekill save|append|clipdata|settings|export KILLS FOLDER [SEED]\n");
        return 2;
    }
    const std::string mode = argv[1];
    const int kills = std::atoi(argv[2]);
    const std::string folder = argv[3];
    const unsigned seed = argc > 4 ? static_cast<unsigned>(std::strtoul(argv[4], nullptr, 10)) : GetTickCount();
    std::printf("seed=%u\n", seed);
    std::fflush(stdout);
    Run run(mode, folder, seed);
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::mt19937 random(seed);
    Tally tally;
    for (int kill = 1; kill <= kills; ++kill) {
        run.Prepare();
        // The last word only tells this child's Unix process apart (see UnixPidWithToken).
        const std::string token = "kill-" + std::to_string(seed) + "-" + std::to_string(kill);
        std::string command = std::string("\"") + self + "\" child " + mode + " \"" + folder + "\" " + token;
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        // A busy Wine was seen to refuse a start now and then: a few tries.
        DWORD startError = 0;
        for (int attempt = 0; attempt < 5; ++attempt) {
            if (CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &si, &pi)) {
                startError = 0;
                break;
            }
            startError = GetLastError();
            Sleep(200);
        }
        if (startError) {
            std::printf("kill %d: the child did not start (error %lu)\n", kill, startError);
            continue;
        }
        HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, ("TvxSaveKill-" + std::to_string(pi.dwProcessId)).c_str());
        ResumeThread(pi.hThread);
        WaitForSingleObject(ready, 60000);
        const std::string unixPid = UnixPidWithToken(token);
        Sleep(std::uniform_int_distribution<int>(0, run.MaxDelay())(random));
        TerminateProcess(pi.hProcess, 9);
        WaitForSingleObject(pi.hProcess, 30000);
        if (!unixPid.empty() && !UnixProcessGone(unixPid)) ++tally.seen["the Unix process still ran after its handle was signalled"];
        if (WaitUntilUnixProcessGone(unixPid)) ++tally.seen["the Unix process watched until gone"];
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        CloseHandle(ready);
        std::string problem;
        run.Check(pi.dwProcessId, tally, problem);
        if (problem.empty()) ++tally.good;
        else std::printf("kill %d: %s\n", kill, problem.c_str());
    }
    for (const auto& [what, count] : tally.seen) std::printf("seen: %s %d\n", what.c_str(), count);
    if (mode == "save") {
        // A save that wrote the catalog file first would leave a newer catalog
        // beside an older item file while it writes the item file, which takes
        // at least as long as the catalog file that the right order writes
        // second: the rate of the one state bounds the rate of the other from
        // below, and gives the kills that catch that order with 99 % probability.
        const auto it = tally.seen.find("a new item file beside the old catalog file");
        const double p = it == tally.seen.end() ? 0.0 : static_cast<double>(it->second) / kills;
        const int needed = p <= 0 ? -1 : p >= 1 ? 1 : static_cast<int>(std::ceil(std::log(0.01) / std::log(1.0 - p)));
        std::printf("reversed save order: a kill catches it with p >= %.3f; %d kills catch it with 99%% probability "
                    "(this run: %d)\n", p, needed, kills);
    }
    const std::string missing = run.Missing(tally);
    if (!missing.empty()) std::printf("missing: the run never saw %s\n", missing.c_str());
    std::printf("good=%d of %d (%s; %d kills fell inside a write; seed %u)%s\n", tally.good, kills, mode.c_str(),
                tally.midWrite, seed, missing.empty() ? "" : " but not all it must see");
    return tally.good == kills && missing.empty() ? 0 : 1;
}
