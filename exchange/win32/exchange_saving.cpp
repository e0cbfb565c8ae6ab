// The exchange dialog's archive: choosing its path, loading it, and saving
// (the export written, or the import taken into the program's files).
#include "exchange/win32/exchange_dialog.h"

#include "data/ansi_text.h"
#include "data/win32/file_io.h"
#include "data/win32/guid.h"
#include "data/win32/profile.h"
#include "data/win32/wide_path.h"
#include "services/win32/progress_window.h"
#include "ui/skin/win32/catalog_tree_view.h"
#include "ui/skin/win32/message_box.h"
#include "ui/skin/win32/subclass.h"

#include <commdlg.h>

#include <thread>

namespace tvx::win {

// ---- the archive and saving ------------------------------------------------------------

void ExchangeDialog::ChooseFile() {
    wchar_t path[MAX_PATH] = {};
    const std::wstring current = FromAnsi(Trim(BoxText(IDC_EX_PATH)));
    lstrcpynW(path, current.c_str(), MAX_PATH);
    static const wchar_t kFilter[] = L"Export/Import Files(*.trn)\0*.trn\0";
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = hwnd();
    ofn.lpstrFilter = kFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = path;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrDefExt = L"trn";
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
    const bool chosen = mode_ == Mode::Export
                            ? (ofn.Flags |= OFN_OVERWRITEPROMPT, GetSaveFileNameW(&ofn) != FALSE)
                            : (ofn.Flags |= OFN_FILEMUSTEXIST, GetOpenFileNameW(&ofn) != FALSE);
    if (!chosen) return;
    FiledPath filed = FilePathFrom(path);
    if (!filed.usable && mode_ == Mode::Export && GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) {
        // A new archive has no short form yet: its folder's short form and
        // its own name, when the code page can write that.
        const std::wstring full = path;
        const size_t slash = full.find_last_of(L'\\');
        const CodePageText name = ToAnsi(full.substr(slash == std::wstring::npos ? 0 : slash + 1));
        const FiledPath folder = FilePathFrom(full.substr(0, slash == std::wstring::npos ? 0 : slash));
        if (slash != std::wstring::npos && folder.usable && !name.lossy) {
            filed.usable = true;
            filed.path = folder.path + "\\" + name.text;
        }
    }
    if (!filed.usable) {
        ShowMessage(hwnd(), NameOutsideCodePageText({filed.shown}), MB_OK);
        return;
    }
    SetDlgItemTextA(hwnd(), IDC_EX_PATH, filed.path.c_str());
}

void ExchangeDialog::Load() {
    if (mode_ != Mode::Import) return;
    const std::string path = Trim(BoxText(IDC_EX_PATH));
    // Whatever was loaded before goes: the import side shows this archive
    // only. The view lets go of its nodes before the catalogs are freed.
    ClearSide(right_);
    ResetCatalogs(right_.tree, right_.index, MessageText("ImportingCatalogs"));
    right_.items.Clear();
    SetCursor(LoadCursor(nullptr, IDC_WAIT));
    const LoadOutcome outcome = pipeline_.Load(path, right_.items, right_.index);
    if (outcome != LoadOutcome::Loaded) {
        ResetCatalogs(right_.tree, right_.index, MessageText("ImportingCatalogs"));
        right_.items.Clear();
    }
    right_.table.Reindex();
    ShowTree(right_);
    SetDlgItemTextA(hwnd(), right_.nameId, "");
    if (const char* key = MessageKeyOf(outcome)) ShowKey(key);
}

void ExchangeDialog::Save(bool report) {
    if (saving_) return;
    if (mode_ == Mode::Export) {
        const std::string path = Trim(BoxText(IDC_EX_PATH));
        if (const char* problem = ArchivePathProblem(path)) {
            ShowKey(problem);
            return;
        }
        if (!pipeline_.StageExport(path, right_.tree, right_.items)) {
            pipeline_.Discard();
            ShowKey("StagingFolderFailed");
            return;
        }
    }
    report_ = report;
    saving_ = true;
    timer_ = SetTimer(hwnd(), kSaveTimer, 50, nullptr);
}

// The work of a save runs on its own thread behind the progress window; the
// dialog takes no input meanwhile.
void ExchangeDialog::OnSaveTimer() {
    KillTimer(hwnd(), kSaveTimer);
    timer_ = 0;
    bool ok = false;
    ImportSave imported = ImportSave::NothingChanged;
    // The import saves a copy of the installation's table: the data files it
    // brings may point its entries at new names, which the dialog takes only
    // once they are on disk.
    ItemStore saved = mode_ == Mode::Import ? left_.items : ItemStore();
    const std::unordered_set<size_t> received = left_.table.received();
    ProgressDone = 0;
    ProgressWindow progress(installation_, MessageText("SavingData"));
    std::thread worker([this, &ok, &imported, &saved, &received, &progress] {
        try {
            if (mode_ == Mode::Export) ok = pipeline_.CopyAndPack();
            else ok = (imported = pipeline_.SaveImport(saved, received, left_.tree)) == ImportSave::Saved;
        } catch (...) {
            ok = false;
        }
        progress.Finish();
    });
    progress.RunModal(hwnd());
    worker.join();
    saving_ = false;
    // The staged export has served its purpose; unpacked archives stay until
    // the dialog closes, so that later transfers still find their files.
    if (mode_ == Mode::Export) pipeline_.Discard();
    if (mode_ == Mode::Import && imported != ImportSave::NothingChanged) {
        left_.items = std::move(saved);
        left_.table.Reindex();
        FillList(left_);
    }
    if (!ok) {
        ShowKey(mode_ == Mode::Export ? "ExportFailed"
                : imported == ImportSave::EntriesOnly ? "ImportCatalogFailed"
                                                      : "ImportFailed");
        return;
    }
    if (report_) {
        ShowKey("SavedSucess");
        return;
    }
    pipeline_.Discard();
    ShowKey(mode_ == Mode::Export ? "ExportedTip" : "ImportedTip");
    End(IDOK);
}

void ExchangeDialog::OkCommand() {
    if (mode_ == Mode::Export) {
        // Reached through the close question: the archive needs its path.
        const std::string path = Trim(BoxText(IDC_EX_PATH));
        if (const char* problem = ArchivePathProblem(path)) {
            ShowKey(problem);
            return;
        }
    }
    Save(false);
}

void ExchangeDialog::CancelCommand() {
    if (saving_) return;
    left_.rows.clear();
    left_.view.Reset(0);
    right_.rows.clear();
    right_.view.Reset(0);
    pipeline_.Discard();
    End(IDCANCEL);
}

void ExchangeDialog::CloseCommand() {
    if (saving_) return;
    if (ShowKey("SaveData", MB_YESNO) == IDYES)
        OkCommand();  // the dialog ends once the work is done; a refused path keeps it open
    else
        CancelCommand();
}

}  // namespace tvx::win
