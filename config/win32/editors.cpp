#include "config/win32/editors.h"

#include "config/discovery_rules.h"
#include "config/win32/discovery.h"
#include "data/ansi_text.h"
#include "data/win32/clipboard_io.h"
#include "data/win32/file_io.h"
#include "data/win32/profile.h"
#include "services/win32/run_command.h"
#include "resources/config_ids.h"
#include "ui/skin/win32/message_box.h"

#include <commdlg.h>

#include <cstring>

namespace tvx::win {

// ---- the shared frame --------------------------------------------------------------

EditorWindow::EditorWindow(UINT templateId, Installation installation, int exitId, int minId, std::vector<int> boxes)
    : SkinnedDialog(templateId), installation_(std::move(installation)), exitId_(exitId), minId_(minId), boxes_(std::move(boxes)) {}

bool EditorWindow::OnInitDialog() {
    ApplyFrame(installation_, {"CommonDlg_01.png", true,
                               {PictureButton(exitId_, "Exit", MessageText("ExitButton")),
                                PictureButton(minId_, "Min", MessageText("MinButton"))}});
    return true;
}

void EditorWindow::TextButton(int id, const char* tooltipKey) {
    ApplyButton(installation_, LabelButton(id, tooltipKey ? MessageText(tooltipKey) : std::string()));
}

void EditorWindow::PaintOver(HDC dc) {
    OutlineTextBoxes(dc, boxes_);
    char title[256] = {};
    GetWindowTextA(hwnd(), title, sizeof title);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(hwnd(), WM_GETFONT, 0, 0));
    SelectGuard fontGuard(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(31, 78, 107));
    TextOutA(dc, 20, 8, title, static_cast<int>(std::strlen(title)));
}

// ---- "Item Info" -------------------------------------------------------------------------

ItemInfoEditor::ItemInfoEditor(Installation installation, std::string n, std::string c, bool locked)
    : EditorWindow(IDD_ITEM_INFO, std::move(installation), IDC_INFO_EXIT, IDC_INFO_MIN, {IDC_INFO_NAME, IDC_INFO_COMMAND}),
      name(std::move(n)), command(std::move(c)), locked_(locked) {}

bool ItemInfoEditor::OnInitDialog() {
    EditorWindow::OnInitDialog();
    TextButton(IDC_INFO_TEST, "TestCommand");
    TextButton(IDC_INFO_FILE, "SelectFile");
    TextButton(IDC_INFO_OK);
    TextButton(IDC_INFO_CANCEL, "Cancel");
    SetDlgItemTextA(hwnd(), IDC_INFO_NAME, name.c_str());
    // A control-panel item shows the word "Command" in place of its command.
    SetDlgItemTextA(hwnd(), IDC_INFO_COMMAND, locked_ ? "Command" : command.c_str());
    // A clipboard data file is not edited here; a control-panel item's
    // command not at all.
    if (command.find(".stx") != std::string::npos || locked_) {
        EnableWindow(Item(IDC_INFO_COMMAND), FALSE);
        EnableWindow(Item(IDC_INFO_FILE), FALSE);
    }
    if (locked_) EnableWindow(Item(IDC_INFO_TEST), FALSE);
    return true;
}

void ItemInfoEditor::OnTest() {
    const std::string text = Trim(BoxText(IDC_INFO_COMMAND));
    if (text.empty()) {
        ShowKey("CommandEmpty");
        return;
    }
    // As the launcher will start it: line by line, a data file back on the clipboard.
    ExecuteItemText(hwnd(), text);
}

void ItemInfoEditor::OnFile() {
    // Every chosen file becomes one more line of the command.
    std::string text = BoxText(IDC_INFO_COMMAND);
    for (const FiledPath& file : ChooseFiles(hwnd(), 5200)) text += "\r\n" + file.path;
    SetDlgItemTextA(hwnd(), IDC_INFO_COMMAND, text.c_str());
}

void ItemInfoEditor::OnSave() {
    const std::string n = Trim(BoxText(IDC_INFO_NAME));
    switch (CheckEditorName(n)) {
    case NameCheck::Empty: ShowKey("NameEmpty"); return;
    case NameCheck::Reserved: ShowKey("ReservedNameWord"); return;
    case NameCheck::Ok: break;
    }
    const std::string c = Trim(BoxText(IDC_INFO_COMMAND));
    if (c.empty()) {
        ShowKey("CommandEmpty");
        return;
    }
    name = n;
    if (!locked_) command = c;
    End(IDOK);
}

void ItemInfoEditor::OnCommand(int id, int, HWND) {
    switch (id) {
    case IDC_INFO_OK: OnSave(); break;
    case IDC_INFO_CANCEL: End(IDCANCEL); break;
    case IDC_INFO_TEST: OnTest(); break;
    case IDC_INFO_FILE: OnFile(); break;
    case IDC_INFO_MIN: ShowWindow(hwnd(), SW_MINIMIZE); break;
    case IDC_INFO_EXIT: OnExit(); break;
    default: break;
    }
}

// ---- "Edit ClipData Item" ------------------------------------------------------------------

ClipDataEditor::ClipDataEditor(Installation installation, std::string n, std::string currentPath)
    : EditorWindow(IDD_CLIP_EDITOR, installation, IDC_CLIP_EXIT, IDC_CLIP_MIN, {IDC_CLIP_NAME}), name(std::move(n)),
      currentPath_(std::move(currentPath)), newPath_(NewClipboardDataPath(installation)) {}

bool ClipDataEditor::OnInitDialog() {
    EditorWindow::OnInitDialog();
    TextButton(IDC_CLIP_MODIFY, "Btn_GetClipboard");
    TextButton(IDC_CLIP_TEST, "Btn_SetClipboard");
    TextButton(IDC_CLIP_OK);
    TextButton(IDC_CLIP_CANCEL, "Cancel");
    SetDlgItemTextA(hwnd(), IDC_CLIP_NAME, name.c_str());
    return true;
}

void ClipDataEditor::Discard() {
    // The new capture was never taken: it goes; the item's file stays.
    if (PathExists(newPath_)) DeleteFileA(newPath_.c_str());
}

void ClipDataEditor::OnExit() {
    Discard();
    End(IDCANCEL);
}

void ClipDataEditor::OnSave() {
    const std::string n = Trim(BoxText(IDC_CLIP_NAME));
    switch (CheckEditorName(n)) {
    case NameCheck::Empty: ShowKey("NameEmpty"); return;
    case NameCheck::Reserved: ShowKey("ReservedNameWord"); return;
    case NameCheck::Ok: break;
    }
    name = n;
    // The item's former file is not deleted here: the configuration dialog
    // deletes it when it saves the record that no longer names it.
    captured_ = PathExists(newPath_);
    dataPath = captured_ ? newPath_ : currentPath_;
    End(IDOK);
}

void ClipDataEditor::OnCommand(int id, int, HWND) {
    switch (id) {
    case IDC_CLIP_MODIFY:
        // The file stays as it was when the clipboard could not be read or the file written.
        switch (CaptureClipboard(hwnd(), newPath_).outcome) {
        case CaptureOutcome::ClipboardBusy: ShowMessage(hwnd(), MessageText("ClipboardBusy"), MB_OK); break;
        case CaptureOutcome::NotWritten: ShowMessage(hwnd(), MessageText("ClipboardNotWritten"), MB_OK); break;
        default: break;
        }
        break;
    case IDC_CLIP_TEST: RestoreClipboard(hwnd(), PathExists(newPath_) ? newPath_ : currentPath_); break;
    case IDC_CLIP_OK: OnSave(); break;
    case IDC_CLIP_CANCEL: OnExit(); break;
    case IDC_CLIP_MIN: ShowWindow(hwnd(), SW_MINIMIZE); break;
    case IDC_CLIP_EXIT: OnExit(); break;
    default: break;
    }
}

// ---- "Replacement Settings" -------------------------------------------------------------------

BatchReplaceDialog::BatchReplaceDialog(Installation installation)
    : EditorWindow(IDD_BATCH_REPLACE, std::move(installation), IDC_REPL_EXIT, IDC_REPL_MIN,
                   {IDC_REPL_NAME_FIND, IDC_REPL_NAME_WITH, IDC_REPL_SHORT_FIND, IDC_REPL_SHORT_WITH, IDC_REPL_PATH_FIND,
                    IDC_REPL_PATH_WITH}) {}

bool BatchReplaceDialog::OnInitDialog() {
    EditorWindow::OnInitDialog();
    TextButton(IDC_REPL_BROWSE);
    TextButton(IDC_REPL_OK);
    TextButton(IDC_REPL_CANCEL, "Cancel");
    return true;
}

void BatchReplaceDialog::OnSave() {
    const std::string pathFind = Trim(BoxText(IDC_REPL_PATH_FIND));
    if (pathFind.empty()) {
        ShowKey("FindWhatEmpty");
        return;
    }
    // Written, never read by the program.
    WriteProfileText(installation_.BatchReplaceFile(), "Zizurodi", "InstallPath", pathFind);
    settings.nameFind = BoxText(IDC_REPL_NAME_FIND);
    settings.nameReplacement = BoxText(IDC_REPL_NAME_WITH);
    settings.shortFind = BoxText(IDC_REPL_SHORT_FIND);
    settings.shortReplacement = BoxText(IDC_REPL_SHORT_WITH);
    settings.pathFind = pathFind;
    settings.pathReplacement = BoxText(IDC_REPL_PATH_WITH);
    settings.allItems = IsDlgButtonChecked(hwnd(), IDC_REPL_ALL_ITEMS) == BST_CHECKED;
    End(IDOK);
}

void BatchReplaceDialog::OnCommand(int id, int, HWND) {
    switch (id) {
    case IDC_REPL_BROWSE:
        if (const std::optional<FiledPath> folder = ChooseFolder(hwnd(), ""))
            SetDlgItemTextA(hwnd(), IDC_REPL_PATH_WITH, folder->path.c_str());
        break;
    case IDC_REPL_OK: OnSave(); break;
    case IDC_REPL_CANCEL: End(IDCANCEL); break;
    case IDC_REPL_MIN: ShowWindow(hwnd(), SW_MINIMIZE); break;
    case IDC_REPL_EXIT: OnExit(); break;
    default: break;
    }
}

}  // namespace tvx::win
