// The configuration dialog's composed box, its item editors and batch
// replace. The rules (the stored form, the name checks, the replacement)
// live in config/editor_rules.h.
#include "config/win32/config_dialog.h"

#include "data/ansi_text.h"
#include "data/win32/profile.h"
#include "services/short_name.h"
#include "services/win32/run_command.h"
#include "config/win32/editors.h"
#include "resources/config_ids.h"
#include "ui/skin/win32/message_box.h"
#include "ui/skin/win32/skin_controls.h"

namespace tvx::win {

// A click on an item row loads a composed item into the box (and empties
// the box for any other item), after asking to keep unsaved changes.
void ConfigDialog::LoadComposedFromRow(long row) {
    if (IsDlgButtonChecked(hwnd(), IDC_CFG_UNCHANGE_COMPOSED) == BST_CHECKED) return;
    if (row < 0 || static_cast<size_t>(row) >= items_.rows().size()) return;
    const size_t clicked = items_.rows()[static_cast<size_t>(row)].index;
    if (composed_.Unsaved() && ShowKey("SaveData", MB_YESNO) != IDNO) {
        // The same save as "Save Comp", its checks and messages included:
        // into the item the box was loaded from while it keeps its name,
        // else into the listed item of the box's name, else a new item.
        const std::string name = ComposedItemName(composed_.TypedName());
        const long loaded = items_.RowShowing(static_cast<size_t>(composed_.source()));
        bool create = true;
        if (loaded >= 0 && items_.rows()[static_cast<size_t>(loaded)].name == name) {
            create = false;
        } else {
            for (const ItemRow& r : items_.rows())
                if (r.name == name) {
                    composed_.SetSource(static_cast<long long>(r.index));
                    create = false;
                    break;
                }
        }
        if (!SaveComposed(create, false)) return;  // refused: the box keeps what it holds
    }
    // The rows may have changed while the box was saved: find the record again.
    const long at = items_.RowShowing(clicked);
    if (at < 0) return;
    const ItemRow& r = items_.rows()[static_cast<size_t>(at)];
    if (!IsComposedCommand(r.command)) {
        composed_.Clear();
        return;
    }
    composed_.Load(r);
}

void ConfigDialog::AddMembers(const std::vector<ComposedMember>& added) {
    if (!composed_.Add(added)) ShowKey("ComposedMemberInvalid");
}

void ConfigDialog::AddItemsToComposed() {
    const std::vector<size_t> selected = items_.view().Selected();
    if (selected.empty()) return;
    if (IsComposedCommand(items_.rows()[selected.front()].command)) {
        ShowKey("AddComposedToComp");  // composed items do not nest
        return;
    }
    std::vector<ComposedMember> added;
    for (size_t p : selected) added.push_back({items_.rows()[p].name, items_.rows()[p].command});
    AddMembers(added);
}

// Opens the editor that suits a command: the clipboard editor for a data
// file, the custom-command editor otherwise (locked for a control-panel
// item). Returns false on Cancel.
bool ConfigDialog::EditCommand(std::string& name, std::string& command, bool& captured) {
    captured = false;
    if (IsClipboardCommand(command)) {
        ClipDataEditor editor(installation_, name, command);
        if (editor.RunModal(hwnd()) != IDOK) return false;
        name = editor.name;
        captured = editor.captured();
        command = editor.dataPath;
        return true;
    }
    const bool locked = IsControlPanelCommand(command);
    ItemInfoEditor editor(installation_, name, command, locked);
    if (editor.RunModal(hwnd()) != IDOK) return false;
    name = editor.name;
    command = editor.command;  // a locked item keeps its command
    return true;
}

void ConfigDialog::EditMember() {
    const long current = composed_.Current();
    if (current < 0) {
        ShowKey("SelectComposedItem");
        return;
    }
    ComposedMember edited = composed_.members()[static_cast<size_t>(current)];
    const std::string before = edited.command;
    bool captured = false;
    if (!EditCommand(edited.name, edited.command, captured)) return;
    if (!FitsComposedForm(edited)) {
        if (captured) DeleteFileA(edited.command.c_str());  // never referenced
        ShowKey("ComposedMemberInvalid");
        return;
    }
    if (captured) {
        dataFiles_.Captured(edited.command);
        dataFiles_.Replaced(before);
    }
    composed_.Replace(static_cast<size_t>(current), edited);
}

void ConfigDialog::TestComposed() {
    // As the launcher starts it: member after member, half a second apart.
    if (!composed_.members().empty()) ExecuteItemText(hwnd(), BuildComposedCommand(composed_.members()));
}

// Create Comp (create) and Save Comp; Ctrl+S saves quietly.
bool ConfigDialog::SaveComposed(bool create, bool quiet) {
    auto refuse = [&](const char* key) {
        if (!quiet) ShowKey(key);
        return false;
    };
    if (!composed_.Checked()) return refuse("CheckComposedItem");
    const std::string composedName = composed_.TypedName();
    if (composedName.empty()) return refuse("ComposedNameEmpty");
    if (composed_.members().empty()) return refuse("ComposedListCount");
    items_.EndInplaceEdit();
    ItemRow row;
    row.name = ComposedItemName(composedName);
    row.command = BuildComposedCommand(composed_.members());
    row.shortName = MakeResetShortName(row.name);
    row.description = composedName;
    if (create) {
        row.guid = newGuid_();
        AppendRowAsRecord(items_.rows(), store_, row);
        items_.view().Reset(items_.rows().size());
        items_.view().SelectOnly(static_cast<long>(items_.rows().size() - 1));
        composed_.SetSource(static_cast<long long>(items_.rows().back().index));
        ListChanged();
        if (!quiet) ShowKey("CreatedSuccessfully");
    } else {
        if (composed_.source() < 0 || !store_.IsLive(composed_.source())) return refuse("SelectItemTavrolinexList");
        // The record the box was loaded from, and nothing else, takes the box.
        const size_t index = static_cast<size_t>(composed_.source());
        ItemRow saved = RowOfRecord(store_[index], index);
        saved.name = row.name;
        saved.command = row.command;
        saved.shortName = row.shortName;
        saved.description = row.description;
        UpdateRecordFromRow(store_, saved);
        for (ItemRow& r : items_.rows())
            if (r.index == index) r = saved;
        items_.view().Refresh();
        catalogs_.FollowRows(listed_);
        if (!quiet) ShowKey("SavedSucess");
    }
    composed_.Saved(composedName);
    modified_ = true;
    return true;
}

// "Custom": a new item from any command, or a new member of the composed box.
void ConfigDialog::CreateCustomItem() {
    items_.view().ClearSelection();
    std::string name, command;
    bool captured = false;
    if (!EditCommand(name, command, captured)) return;
    if (composed_.Checked()) {
        AddMembers({{name, command}});
        return;
    }
    if (NameTaken(items_.rows(), name, -1)) {
        ShowKey("NameExists");
        return;
    }
    HWND combo = Item(IDC_CFG_HOTKEY1);
    const int choice = static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0));
    std::string hotkey1 = choice >= 0 ? SkinComboBox::ItemText(combo, choice) : std::string();
    std::string hotkey2 = BoxText(IDC_CFG_HOTKEY2);
    if (!hotkey1.empty() && !hotkey2.empty() && HotkeyTaken(store_, hotkey1, hotkey2, static_cast<size_t>(-1))) {
        ShowKey("HotkeyAlreadyExists");
        return;
    }
    if (hotkey1 == "No Hotkey") hotkey1.clear(), hotkey2.clear();
    items_.EndInplaceEdit();
    ItemRow row;
    row.name = name;
    row.command = command;
    row.shortName = MakeResetShortName(name);
    row.hotkey1 = hotkey1;
    row.hotkey2 = hotkey2;
    row.description = name;
    row.guid = newGuid_();
    AppendRowAsRecord(items_.rows(), store_, std::move(row));
    items_.view().Reset(items_.rows().size());
    items_.view().SelectOnly(static_cast<long>(items_.rows().size() - 1));
    items_.ShowInfo(static_cast<long>(items_.rows().size() - 1));
    ListChanged();
}

// A double-click on an item row or a tree node edits the selected row.
void ConfigDialog::EditSelectedItem() {
    const long selected = items_.view().FirstSelected();
    if (selected < 0) {
        ShowKey("SelectItemTavrolinexList");
        return;
    }
    const ItemRow& r = items_.rows()[static_cast<size_t>(selected)];
    if (!r.name.empty() && r.name[0] == '+') {
        ShowKey("EditComposedItem");  // composed items are edited in the composed box
        return;
    }
    const size_t record = r.index;
    std::string name = r.name, command = r.command;
    bool captured = false;
    if (!EditCommand(name, command, captured)) return;
    // An entry handed over from Explorer meanwhile refills the rows: the
    // edit goes to the record that was opened, wherever its row is now.
    const long row = items_.RowShowing(record);
    if (row < 0 || !store_.IsLive(record)) {
        if (captured) DeleteFileA(command.c_str());  // never referenced
        return;
    }
    if (NameTaken(items_.rows(), name, row)) {
        if (captured) DeleteFileA(command.c_str());  // never referenced
        ShowKey("NameExists");
        return;
    }
    items_.EndInplaceEdit();
    ItemRow& edited = items_.rows()[static_cast<size_t>(row)];
    if (captured) {
        dataFiles_.Captured(command);
        dataFiles_.Replaced(edited.command);
    }
    edited.name = name;
    if (!IsControlPanelCommand(edited.command)) edited.command = command;
    edited.shortName = MakeResetShortName(name);
    UpdateRecordFromRow(store_, edited);
    modified_ = true;
    items_.view().Refresh();
    items_.ShowInfo(row);
    catalogs_.FollowRows(listed_);
}

void ConfigDialog::RunBatchReplace() {
    // The selection as records: the rows may be refilled while the window is
    // open (an entry handed over from Explorer).
    std::vector<size_t> records;
    for (size_t p : items_.view().Selected()) records.push_back(items_.rows()[p].index);
    BatchReplaceDialog settingsDialog(installation_);
    if (settingsDialog.RunModal(hwnd()) != IDOK) return;
    if (ShowKey("BatchReplace", MB_YESNO) == IDNO) return;
    items_.EndInplaceEdit();
    if (settingsDialog.settings.allItems) {
        BatchReplaceTable(store_, settingsDialog.settings);
        FillList();
        catalogs_.FollowRows(listed_);
    } else {
        std::vector<size_t> selected;
        for (size_t record : records)
            if (const long at = items_.RowShowing(record); at >= 0) selected.push_back(static_cast<size_t>(at));
        if (!records.empty() && selected.empty()) return;  // the chosen rows are gone: touch nothing else
        BatchReplaceRows(items_.rows(), selected, store_, settingsDialog.settings);
        items_.view().Refresh();
        items_.ShowInfo(items_.view().FirstSelected());
        catalogs_.FollowRows(listed_);
    }
    modified_ = true;
}

// After a save, the data files that no saved record names any more go;
// when the dialog ends without saving, the captures made since the last
// save go. Only the program's own data files are ever deleted.
void ConfigDialog::SettleDataFiles(bool saved) {
    const std::vector<std::string> gone = saved ? dataFiles_.DeletableAfterSave(store_) : dataFiles_.DeletableWithoutSave();
    for (const std::string& path : gone)
        if (IsProgramDataFile(path, installation_)) DeleteFileA(path.c_str());
}

}  // namespace tvx::win
