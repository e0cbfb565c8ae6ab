#include "additem/win32/add_item_dialog.h"

#include "data/ansi_text.h"
#include "data/catalog_file.h"
#include "data/mailbox.h"
#include "data/win32/file_io.h"
#include "data/win32/mailbox.h"
#include "data/win32/profile.h"
#include "services/hotkey_table.h"
#include "services/short_name.h"
#include "resources/add_item_ids.h"
#include "ui/skin/win32/catalog_tree_view.h"
#include "ui/skin/win32/resource_module.h"
#include "ui/skin/win32/skin_controls.h"

#include <commctrl.h>
#include <windowsx.h>

#include <new>

namespace tvx::win {

AddItemVariant ExtensionVariant() {
    AddItemVariant v;
    v.tree = IDC_ADD_TREE_EXT;
    v.exitButton = IDC_ADD_EXIT_EXT;
    v.minButton = IDC_ADD_MIN_EXT;
    v.helpButton = IDC_ADD_HELP_EXT;
    v.hotkeyLabel = IDC_ADD_HOTKEY_LABEL_EXT;
    v.title = "Add Tavrolinex Dialog";
    v.okTip = "Save and exit.";
    v.cancelTip = "Not save and exit.";
    v.exitTip = "Exit";
    v.helpTip = "Help";
    v.minTip = "Minimize window";
    v.rootText = "All";
    v.selectCatalog = "Please select a catalog.";
    v.selectSubCatalog = "Please select a Sub-catalog.";
    v.showMessage = [](HWND owner, const std::string& text) {
        MessageBoxA(owner, text.c_str(), "Tavrolinex", MB_OK);
    };
    return v;
}

void FailAllocationIfAsked(const char* place) {
    char asked[64] = {};
    const DWORD n = GetEnvironmentVariableA("TVX_FAIL_ALLOCATION", asked, sizeof asked);
    if (n > 0 && n < sizeof asked && lstrcmpA(asked, place) == 0) throw std::bad_alloc();
}

AddItemDialog::AddItemDialog(Installation installation, AddItemVariant variant)
    : SkinnedDialog(IDD_ADD_ITEM), installation_(std::move(installation)), variant_(std::move(variant)) {}

bool AddItemDialog::OnInitDialog() {
    FailAllocationIfAsked("add-item-dialog");
    // Not the resource module: that is a language module in "\Lang" when one is loaded.
    if (installation_.Folder().empty()) installation_ = Installation(ModuleFolder(CodeModule()));
    ApplyFrame(installation_, {"CommonDlg.png", true,
                               {LabelButton(IDC_ADD_OK, variant_.okTip), LabelButton(IDC_ADD_CANCEL, variant_.cancelTip),
                                PictureButton(variant_.exitButton, "Exit", variant_.exitTip),
                                PictureButton(variant_.helpButton, "Help", variant_.helpTip),
                                PictureButton(variant_.minButton, "Min", variant_.minTip),
                                ListDropButton(IDC_ADD_KEY_DROP, MessageText("Btn_OpenList"))}});
    SetWindowTextA(hwnd(), variant_.title.c_str());

    // The modifier combo and the key box and list.
    SkinComboBox::Attach(Item(IDC_ADD_MODIFIER), installation_.Image("ComboButton.png"), 80);
    FlatEdit::Attach(Item(IDC_ADD_KEY));
    for (const char* text : {"Ctrl", "Alt", "Shift", "No Hotkey1"})
        SendMessageA(Item(IDC_ADD_MODIFIER), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    HWND list = Item(IDC_ADD_KEY_LIST);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    SendMessageA(list, LVM_SETBKCOLOR, 0, RGB(255, 255, 255));
    SendMessageA(list, LVM_SETTEXTBKCOLOR, 0, RGB(255, 255, 255));
    if (SkinListCtrl* keys = SkinList(IDC_ADD_KEY_LIST, installation_)) keys->InsertColumn(0, "Keys", SkinListCtrl::Left, 60);
    SkinTree(variant_.tree, installation_);
    for (const KeyName& key : kKeyNameTable) AppendTextRow(list, std::string(key.name));
    ShowWindow(list, SW_HIDE);
    EnableWindow(list, FALSE);

    SetDlgItemTextA(hwnd(), IDC_ADD_NAME, name.c_str());
    SetDlgItemTextA(hwnd(), IDC_ADD_SHORT_NAME, shortName.c_str());
    SetDlgItemTextA(hwnd(), IDC_ADD_DESCRIPTION, description.c_str());
    FillCatalogTree();
    return true;
}

void AddItemDialog::FillCatalogTree() {
    HWND tv = Item(variant_.tree);
    treeView_.Attach(tv);
    if (!images_) {
        images_ = CreateCatalogImages();
        SendMessageA(tv, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_.get()));
    }
    if (variant_.library) {
        variant_.library->CopyCatalogsTo(tree_, index_);
        tree_.root().text = variant_.rootText;
    } else {
        ResetCatalogs(tree_, index_, variant_.rootText);
        std::string bytes;
        if (ReadWholeFile(installation_.CatalogFile(), bytes)) DecodeCatalogFile(bytes, index_, NodeDataMode::NodeIdOnly);
    }
    treeView_.Show(tree_, 0);  // nothing expanded or selected
}

void AddItemDialog::OpenKeyList() {
    dragEnabled_ = false;
    SetDragByBody(false);
    HWND list = Item(IDC_ADD_KEY_LIST);
    EnableWindow(list, TRUE);
    SetWindowPos(list, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    ShowWindow(Item(IDC_ADD_CANCEL), SW_HIDE);
    EnableWindow(Item(IDC_ADD_CANCEL), FALSE);
    SetFocus(list);
    keyListOpen_ = true;
}

void AddItemDialog::CloseKeyList() {
    HWND list = Item(IDC_ADD_KEY_LIST);
    if (GetFocus() == list) SetFocus(Item(IDC_ADD_KEY));
    ShowWindow(list, SW_HIDE);
    EnableWindow(list, FALSE);
    EnableWindow(Item(IDC_ADD_CANCEL), TRUE);
    ShowWindow(Item(IDC_ADD_CANCEL), SW_SHOW);
    dragEnabled_ = true;
    SetDragByBody(true);
    keyListOpen_ = false;
}

bool AddItemDialog::PreTranslateMessage(MSG& msg) {
    if (msg.message == WM_LBUTTONDOWN && msg.hwnd == Item(IDC_ADD_KEY)) OpenKeyList();  // the press still reaches the box
    // Enter in the open key list takes its key, Esc there closes the list;
    // elsewhere Enter is Ok and Esc is Cancel.
    if (keyListOpen_ && msg.message == WM_KEYDOWN && msg.hwnd == Item(IDC_ADD_KEY_LIST)) {
        if (msg.wParam == VK_RETURN) { ChooseListedKey(); return true; }
        if (msg.wParam == VK_ESCAPE) { CloseKeyList(); return true; }
    }
    return false;
}

void AddItemDialog::OnSave() {
    char buffer[4096];
    GetDlgItemTextA(hwnd(), IDC_ADD_NAME, buffer, sizeof buffer);
    name = buffer;
    GetDlgItemTextA(hwnd(), IDC_ADD_SHORT_NAME, buffer, sizeof buffer);
    shortName = buffer;
    GetDlgItemTextA(hwnd(), IDC_ADD_DESCRIPTION, buffer, sizeof buffer);
    description = buffer;
    GetDlgItemTextA(hwnd(), IDC_ADD_KEY, buffer, sizeof buffer);
    const std::string keyText = buffer;

    HTREEITEM selected = treeView_.SelectedItem();
    if (!selected) { variant_.showMessage(hwnd(), variant_.selectCatalog); return; }
    if (selected == treeView_.ItemOf(&tree_.root())) { variant_.showMessage(hwnd(), variant_.selectSubCatalog); return; }
    name = Trim(name);
    shortName = Trim(shortName);
    if (name.empty()) { variant_.showMessage(hwnd(), MessageText("NameEmpty")); return; }
    if (shortName.empty()) shortName = MakeShortName(name);

    GetWindowTextA(Item(IDC_ADD_MODIFIER), buffer, sizeof buffer);
    MailboxFields fields;
    fields.Name = name;
    fields.ShortName = shortName;
    fields.Hotkey1 = buffer;  // empty when no modifier was chosen
    fields.Hotkey2 = keyText;
    fields.Description = description;
    fields.ExePath = exePath;
    fields.NodeID = NodeIdForSelection(index_, treeView_.SelectedNode());
    const std::string mailbox = installation_.MailboxFile();
    switch (SendToMailbox(mailbox, fields)) {
    case HandOver::Filed:
        break;
    case HandOver::Pending:  // written: it is added when the program next looks
        variant_.showMessage(hwnd(), MessageText("MailboxPending"));
        break;
    case HandOver::Busy:  // nothing written: the dialog stays, so nothing is lost
        variant_.showMessage(hwnd(), MessageText("MailboxBusy"));
        return;
    case HandOver::Unwritable:
        variant_.showMessage(hwnd(), MessageText("MailboxNotWritten") + "\r\n\r\n" + mailbox);
        return;
    }
    End(IDOK);
}

// The key chosen in the open key list goes into the key box.
void AddItemDialog::ChooseListedKey() {
    HWND list = Item(IDC_ADD_KEY_LIST);
    const int row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (row < 0) return;
    char text[16] = {};
    LVITEMA item = {};
    item.iSubItem = 0;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    SetDlgItemTextA(hwnd(), IDC_ADD_KEY, text);
    CloseKeyList();
}

void AddItemDialog::OnCommand(int id, int code, HWND control) {
    if (id == IDC_ADD_OK || id == IDOK) OnSave();  // IDOK: Enter, with the same checks and messages
    else if (id == IDC_ADD_CANCEL || id == variant_.exitButton || id == IDCANCEL) End(IDCANCEL);
    else if (id == variant_.minButton) ShowWindow(hwnd(), SW_MINIMIZE);
    else if (id == variant_.helpButton) { if (variant_.help) variant_.help(); }
    else if (id == IDC_ADD_KEY_DROP) OpenKeyList();
    else Dialog::OnCommand(id, code, control);
}

bool AddItemDialog::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_NOTIFY: {
        NMHDR* header = reinterpret_cast<NMHDR*>(lp);
        if (header->idFrom == IDC_ADD_KEY_LIST && header->code == NM_CLICK) {
            ChooseListedKey();
            result = 0;
            return true;
        }
        if (static_cast<int>(header->idFrom) == variant_.tree &&
            (header->code == TVN_ITEMEXPANDEDA || header->code == TVN_ITEMEXPANDEDW)) {
            UpdateExpandedImage(*reinterpret_cast<NMTREEVIEWA*>(lp));
            result = 0;
            return true;
        }
        return false;
    }
    case WM_LBUTTONDOWN:
        if (keyListOpen_) CloseKeyList();
        return false;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
        if (wp == IDC_ADD_MODIFIER) {
            result = SkinComboBox::HandleOwnerDraw(msg, lp);
            return true;
        }
        return false;
    default:
        return false;
    }
}

void AddItemDialog::PaintOver(HDC dc) {
    RECT key{}, drop{};
    GetWindowRect(Item(IDC_ADD_KEY), &key);
    GetWindowRect(Item(IDC_ADD_KEY_DROP), &drop);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&key), 2);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&drop), 2);
    {
        UniqueGdi<HPEN> pen(CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
        SelectGuard penGuard(dc, pen.get());
        SelectGuard brush(dc, GetStockObject(WHITE_BRUSH));
        RoundRect(dc, key.right, key.top, key.right + (drop.right - drop.left) + 2, key.bottom, 1, 1);
    }
    PaintControlFrames(dc);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(hwnd(), WM_GETFONT, 0, 0));
    SelectGuard fontGuard(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(255, 255, 255));
    TextOutA(dc, 20, 3, variant_.title.c_str(), static_cast<int>(variant_.title.size()));
}

}  // namespace tvx::win
