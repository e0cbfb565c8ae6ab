// Every key the program looks up in section "TipMsgs" of "TavrolinexConfig.ini".
// The texts live in that file; the program holds only these keys.
#pragma once
#include <string_view>

namespace tvx {

inline constexpr std::string_view kMessageKeys[] = {
    // message boxes
    "NameEmpty", "SelectCatalog", "SelSubCatalog", "CatalogEmpty", "NameExists", "HotkeyAlreadyExists",
    "ReservedNameWord", "CommandEmpty", "ComposedNameEmpty", "ComposedListCount", "CreatedSuccessfully",
    "SavedSucess", "SavingData", "SaveData", "ResetAll", "SelectAllItems", "UnselectAllItems",
    "LoadingConfigDataTip", "SelectItemTavrolinexList", "EditComposedItem", "SelectComposedItem",
    "AddComposedToComp", "FireFoxRunning", "BatchReplace", "FindWhatEmpty", "ConfigFilePathEmpty",
    "ConfigFileNameError", "ExportedTip", "ImportedTip", "ProgramRunning",
    // messages of this program beyond the original set
    "AddItemFailed", "AddItemCatalogFailed", "SaveFailed", "SaveCatalogFailed", "DroppedPathTooLong", "CheckComposedItem",
    "ComposedMemberInvalid", "ArchiveUnsafe", "ArchiveUnreadable", "ArchiveContentMissing", "StagingFolderFailed",
    "ExportFailed", "ImportFailed", "ImportCatalogFailed", "DamagedDataFile", "DamagedFileNotCopied",
    "DataFileHeld",
    "NameOutsideCodePage", "InstallFolderOutsideCodePage", "MailboxNotWritten", "MailboxPending", "MailboxBusy",
    "X86OnX64Windows", "ClipboardBusy", "ClipboardFormatsLeftOut",
    "ClipboardNotWritten", "HotkeysHeldElsewhere", "HotkeyShowHide", "HotkeyCapture",
    "HotkeyTakesCharacter", "InstallFolderNotWritable", "Btn_OpenList",
    // window titles, column heads, captions
    "AddTavrolinexDlgTitle", "AllCatalogsTitle", "ShortDlgTitle", "ConfigDlgTitle", "ShortcutConfigDlgTitle",
    "ImportDlgTitle", "ImportCatalogsTitle", "ImportListTitle", "ExportDlgTitle", "ExportCatalogsTitle",
    "ExportListTitle", "ExportingCatalogs", "ImportingCatalogs", "NameTitle", "ShortNameTitle", "HotkeyTitle",
    "DescriptionTitle", "Hotkey1Title", "Hotkey2Title", "NameTitle_01", "ShortNameTitle_01", "Hotkey1Title_01",
    "Hotkey2Title_01", "DescriptionTitle_01",
    // buttons and tooltips of every skinned dialog
    "MinButton", "HelpButton", "ExitButton", "Btn_CloseDialogwithSave", "Btn_CloseDialogwithoutSave", "Ok",
    "Cancel",
    // launcher window
    "ExportButton", "ImportButton", "ConfigButton", "SupportButton", "LatestVerButton", "HideProgram",
    // configuration dialog
    "Btn_AddAllItems", "Btn_AddCatalog", "Btn_AddComposedItem", "Btn_AddItemToComp", "Btn_AddSelectedItems",
    "Btn_BatchReplaceItem", "Btn_CustomCommands", "Btn_DeleteAllComposedItem", "Btn_DeleteAllItems",
    "Btn_DeleteCatalog", "Btn_DeleteComposedItem", "Btn_DeleteSelectedItems", "Btn_DownItem", "Btn_EditCompItem",
    "Btn_EditItem", "Btn_HideShortcut", "Btn_ShowShortcut", "Btn_LinkAllItems", "Btn_LinkSelectedItem",
    "Btn_ResetAllItems", "Btn_SaveAllConfigurations", "Btn_SaveChangedDatas", "Btn_SaveComposedItem",
    "Btn_SelectFile", "Btn_SelectFolder", "Btn_SetItemDefault", "Btn_SetItemInfo", "Btn_TestComposedItem",
    "Btn_UnSelectItems", "Btn_UnSelectOneItem", "Btn_UnselectCompItems", "Btn_UpItem", "Btn_UpdateCatalog",
    "FindProgramItem", "FindTavrolinexItem", "ShowTavrolinexListButton", "HideTavrolinexListButton",
    // exchange dialog
    "Btn_ExpAllItems", "Btn_ExpDel", "Btn_ExpDelAll", "Btn_ExpItems", "Btn_ImpAllItems", "Btn_ImpDel",
    "Btn_ImpDelAll", "Btn_ImpItems", "Btn_LoadImportData", "Btn_SelectCatalogWithData",
    "Btn_SelectCatalogWithoutData", "Btn_UnSelectCatalogWithData", "Btn_UnSelectCatalogWithoutData",
    "Btn_SelectExpFile", "SelectImpFile",
    // item editors
    "Btn_GetClipboard", "Btn_SetClipboard", "SelectFile", "TestCommand",
};

}  // namespace tvx
