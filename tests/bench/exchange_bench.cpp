// Exchange at size, under Wine: 50,000 entries with 2,000 stored clipboard
// files (about 200 MB) exported into an archive and imported into an
// installation of 100,000 entries, a quarter of which the archive updates.
// Prints the export worker's times, the pack time of a staged folder (the
// script packs the same folder with the system's zip to compare) and the
// import's load and merge times. Targets: pack within 1.5x of "zip -r -6",
// the merge of 50,000 entries within 2 s.
//   tvx_exchange_bench.exe WORK-FOLDER
#include "data/catalog_file.h"
#include "data/item_file.h"
#include "exchange/exchange_merge.h"
#include "exchange/win32/exchange_pipeline.h"
#include "exchange/win32/zip_archive.h"
#include "tests/support/item_builder.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <string>

using namespace tvx;
using namespace tvx::win;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kEntries = 50000;
constexpr int kDataFiles = 2000;
constexpr int kDataFileBytes = 100 * 1024;
constexpr int kProgramEntries = 100000;

double TimeMs(const std::function<void()>& work) {
    const auto t0 = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

std::string GuidOf(int n) {
    char text[40];
    std::snprintf(text, sizeof text, "%08X-0000-4000-8000-%012X", 0x5A000000u + static_cast<unsigned>(n), n);
    return text;
}

// Clipboard text as people keep it: words and lines, not noise.
std::string TextLike(std::mt19937& random, size_t bytes) {
    static const char* words[] = {"invoice", "meeting", "address", "the", "of", "report", "2026", "Tavrolinex",
                                  "please", "send", "notes", "draft", "customer", "line", "total", "and", "order",
                                  "shipping", "review", "C:\\Users\\demo\\Documents", "http://example.com/path"};
    std::string out;
    out.reserve(bytes + 64);
    while (out.size() < bytes) {
        out += words[random() % (sizeof words / sizeof *words)];
        out += (random() % 12 == 0) ? "\r\n" : " ";
        if (random() % 40 == 0) out += std::to_string(random() % 100000);
    }
    out.resize(bytes);
    return out;
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(file);
    return ok;
}

LaunchItem Entry(const std::string& name, const std::string& guid, const std::string& command) {
    return tvx::test::Entry(name).Short(name.substr(0, 4)).Description("benchmark entry").Guid(guid).Command(command);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tvx_exchange_bench WORK-FOLDER\n");
        return 2;
    }
    const std::string work = argv[1];
    const std::string install = work + "\\install", target = work + "\\target", out = work + "\\out",
                      stage = work + "\\stage";
    for (const std::string& folder : {work, install, install + "\\Data", target, out, stage, stage + "\\Bench",
                                      stage + "\\Bench\\Data"})
        CreateDirectoryA(folder.c_str(), nullptr);

    // The exporting installation: its entries and clipboard files.
    std::mt19937 random(7);
    ItemStore items;
    items.Reserve(kEntries);
    for (int i = 0; i < kEntries; ++i) {
        std::string command = "C:\\Program Files\\Tool" + std::to_string(i % 700) + "\\app" + std::to_string(i) + ".exe";
        if (i < kDataFiles) {
            command = install + "\\Data\\" + GuidOf(i) + ".stx";
            const std::string text = TextLike(random, kDataFileBytes - 17);
            std::string record = "1";
            record.resize(8, '\0');
            std::string length = std::to_string(text.size() + 1);
            length.resize(8, '\0');
            if (!WriteBytes(command, record + length + text + std::string(1, '\0'))) {
                std::fprintf(stderr, "cannot write %s\n", command.c_str());
                return 1;
            }
        }
        items.Append(Entry("Entry " + std::to_string(i), GuidOf(i), command));
    }
    CatalogTree tree("Exporting");
    for (int c = 0; c < 100; ++c) {
        std::string data = GuidOf(900000 + c) + "|";
        for (int m = 0; m < kEntries / 100; ++m) data += (m ? "," : "") + std::to_string(c * (kEntries / 100) + m);
        tree.root().AddChild("Catalog " + std::to_string(c), data);
    }

    // Export through the pipeline, as the dialog's Save runs it.
    const std::string archive = out + "\\Bench.trn";
    ExchangePipeline exporter(Installation(install), true);
    bool ok = true;
    const double stageMs = TimeMs([&] { ok = exporter.StageExport(archive, tree, items); });
    const double workerMs = TimeMs([&] { ok = ok && exporter.CopyAndPack(); });
    exporter.Discard();
    if (!ok) {
        std::fprintf(stderr, "export failed\n");
        return 1;
    }
    WIN32_FILE_ATTRIBUTE_DATA info{};
    GetFileAttributesExA(archive.c_str(), GetFileExInfoStandard, &info);
    std::printf("exchange export of %d entries and %d clipboard files (%d MB): staging T.clg and T.dat %.0f ms, "
                "worker (copy, pack, move) %.0f ms, archive %lu MB\n",
                kEntries, kDataFiles, kDataFiles * kDataFileBytes / (1024 * 1024), stageMs, workerMs,
                static_cast<unsigned long>(info.nFileSizeLow / (1024 * 1024) + info.nFileSizeHigh * 4096ul));

    // Packing alone, on a staged folder that stays for the system's zip.
    WriteBytes(stage + "\\Bench\\Bench.clg", EncodeCatalogFile(tree));
    WriteBytes(stage + "\\Bench\\Bench.dat", EncodeItemFile(items));
    for (int i = 0; i < kDataFiles; ++i)
        CopyFileA((install + "\\Data\\" + GuidOf(i) + ".stx").c_str(),
                  (stage + "\\Bench\\Data\\" + GuidOf(i) + ".stx").c_str(), FALSE);
    const double packMs = TimeMs([&] { ok = PackFolder(stage, "Bench", work + "\\packed.zip"); });
    DeleteFileA((work + "\\packed.zip").c_str());
    std::printf("exchange pack of the staged folder: %.0f ms\n", packMs);
    std::printf("PACK_MS=%.0f\n", packMs);

    // Import into an installation of 100,000 entries; the archive's first
    // 25,000 entries are entries it already has.
    ItemStore program;
    program.Reserve(kProgramEntries + kEntries);
    for (int i = 0; i < kProgramEntries; ++i)
        program.Append(Entry("Own " + std::to_string(i), i < kEntries / 2 ? GuidOf(i) : GuidOf(1000000 + i),
                             "C:\\own\\" + std::to_string(i) + ".exe"));
    ExchangePipeline importer(Installation(target), false);
    CatalogTree importTree("Importing");
    CatalogIndex importIndex;
    ResetCatalogs(importTree, importIndex, "Importing");
    ItemStore archived;
    LoadOutcome outcome = LoadOutcome::NoFile;
    const double loadMs = TimeMs([&] { outcome = importer.Load(archive, archived, importIndex); });
    if (outcome != LoadOutcome::Loaded || archived.size() != static_cast<size_t>(kEntries)) {
        std::fprintf(stderr, "load failed\n");
        return 1;
    }
    // Every entry of the archive moved into one catalog of the installation.
    ExchangeTable left(program), right(archived);
    std::vector<ItemRow> from, to;
    CatalogTree programTree("All");
    CatalogNode* into = programTree.root().AddChild("Imported", GuidOf(990000));
    size_t moved = 0;
    const double mergeMs = TimeMs([&] {
        from = RowsForSelection(archived, "", true);
        moved = MoveRows(from, AllRowsFromLast(from), right, false, to, left);
        into->nodeData = NodeDataFromRows(into->nodeData, to);
    });
    // The archive's catalogs copied with their entries, onto a fresh table.
    ItemStore program2 = program;
    ExchangeTable left2(program2);
    CatalogIndex programIndex;
    CatalogTree tree2("All");
    ResetCatalogs(tree2, programIndex, "All");
    int counter = 0;
    const double copyMs = TimeMs([&] {
        for (const auto& child : importTree.root().children)
            CopyCatalog(*child, archived, tree2.root(), programIndex, &left2,
                        [&counter] { return GuidOf(2000000 + counter++); });
    });
    // The data files brought and both files saved, as the dialog's worker does.
    double saveMs = TimeMs([&] { ok = importer.SaveImport(program, left.received(), programTree) == ImportSave::Saved; });
    importer.Discard();
    std::printf("exchange import into %d entries: load (unpack, read) %.0f ms, merge of %zu entries %.0f ms "
                "(target 2000 ms), catalogs copied with entries %.0f ms, clipboard files copied and "
                "installation saved %.0f ms; table %zu entries%s\n",
                kProgramEntries, loadMs, moved, mergeMs, copyMs, saveMs, program.size(), ok ? "" : " (FAILED)");
    return ok ? 0 : 1;
}
