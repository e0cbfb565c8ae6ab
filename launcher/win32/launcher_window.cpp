#include "launcher/win32/launcher_window.h"

#include "resources/resource_ids.h"
#include "data/win32/mailbox_destination.h"
#include "data/win32/profile.h"
#include "ui/skin/win32/message_box.h"
#include "ui/skin/win32/resource_module.h"

namespace tvx::win {

namespace {

class AboutBox : public Dialog {
public:
    AboutBox() : Dialog(IDD_ABOUT) {}
};

}  // namespace

LauncherWindow::LauncherWindow(std::string installDir)
    : Dialog(IDD_LAUNCHER), installDir_(std::move(installDir)) {}

bool LauncherWindow::OnInitDialog() {
    // System menu: a separator and the About entry.
    const std::string about = LoadResourceString(IDS_ABOUT_ENTRY);
    if (HMENU sys = GetSystemMenu(hwnd(), FALSE); sys && !about.empty()) {
        AppendMenuA(sys, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(sys, MF_STRING, IDM_ABOUTBOX, about.c_str());
    }
    bigIcon_.reset(static_cast<HICON>(LoadImageA(ResourceModule(), MAKEINTRESOURCEA(IDI_MAINFRAME), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0)));
    smallIcon_.reset(static_cast<HICON>(LoadImageA(ResourceModule(), MAKEINTRESOURCEA(IDI_MAINFRAME), IMAGE_ICON,
                                                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
    SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
    SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));

    PublishMailboxDestination(hwnd());
    CreateDirectoryA((installDir_ + "\\Data").c_str(), nullptr);

    SetBackground(installDir_ + "\\Images\\CommonDlg.png");
    SetDragByBody(true);
    SetTransparentLabels(true);
    const std::string img = installDir_ + "\\Images\\";
    SetButtonImages(IDC_RUN_APPS, img + "normalbtn_01.png", img + "normalbtn_02.png");
    SetButtonImages(IDC_EXIT, img + "Exit_01.png", img + "Exit_02.png");
    SetButtonImages(IDC_MINIMIZE, img + "Min_01.png", img + "Min_02.png");
    SetButtonImages(IDC_HELP_LAUNCHER, img + "Help_03.png", img + "Help_04.png");
    SetButtonImages(IDC_CONFIG, img + "Config_01.png", img + "Config_02.png");
    SetButtonImages(IDC_IMPORT, img + "Import_01.png", img + "Import_02.png");
    SetButtonImages(IDC_EXPORT, img + "Export_01.png", img + "Export_02.png");
    SetButtonImages(IDC_SUPPORT, img + "TechSupport_01.png", img + "TechSupport_02.png");
    SetButtonImages(IDC_LATEST_VERSION, img + "Download_01.png", img + "Download_02.png");
    SetButtonImages(IDC_DROP_SHORT, img + "ComboButton.png", img + "ComboButton.png");
    SetButtonImages(IDC_DROP_NAME, img + "ComboButton.png", img + "ComboButton.png");
    ShowWindow(Item(IDC_HELP_LAUNCHER), SW_HIDE);
    EnableWindow(Item(IDC_HELP_LAUNCHER), FALSE);

    const std::string title = MessageText("ShortDlgTitle");
    SetWindowTextA(hwnd(), title.c_str());
    SendMessageA(Item(IDC_FIND_SHORT), EM_SETSEL, 0, -1);
    SetFocus(Item(IDC_FIND_SHORT));
    return false;  // the focus is set
}

bool LauncherWindow::PreTranslateMessage(MSG& msg) {
    if (msg.message == WM_HOTKEY) {
        OnHotkey(static_cast<int>(msg.wParam));
        return true;
    }
    return false;
}

void LauncherWindow::OnHotkey(int id) {
    if (id == kHotkeyShowHide) Toggle();
}

void LauncherWindow::Show() { ShowWindow(hwnd(), SW_SHOW); }
void LauncherWindow::Hide() { ShowWindow(hwnd(), SW_HIDE); }
void LauncherWindow::Toggle() {
    if (IsWindowVisible(hwnd())) Hide();
    else Show();
}

bool LauncherWindow::OnMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    if (msg == WM_SYSCOMMAND && (wp & 0xFFF0) == IDM_ABOUTBOX) {
        AboutBox about;
        about.RunModal(hwnd());
        result = 0;
        return true;
    }
    return false;
}

void LauncherWindow::OnCommand(int id, int code, HWND control) {
    switch (id) {
    case IDC_EXIT: OnExit(); break;
    case IDC_MINIMIZE: ShowWindow(hwnd(), SW_MINIMIZE); break;
    default: Dialog::OnCommand(id, code, control); break;
    }
}

void LauncherWindow::OnExit() {
    const std::string question = MessageText("HideProgram");
    if (ShowMessage(hwnd(), question, MB_YESNO) == IDNO)
        End(IDNO);
    else
        Hide();
}

void LauncherWindow::OnDestroy() { PublishMailboxDestination(nullptr); }

}  // namespace tvx::win
