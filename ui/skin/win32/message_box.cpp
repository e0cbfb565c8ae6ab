#include "ui/skin/win32/message_box.h"

#include "data/win32/profile.h"
#include "resources/resource_ids.h"
#include "ui/skin/win32/skinned_dialog.h"
#include "ui/skin/win32/resource_module.h"

#include <algorithm>

namespace tvx::win {

namespace {

constexpr COLORREF kBorderColor = RGB(7, 191, 255);

class SkinMessageBox : public SkinnedDialog {
public:
    SkinMessageBox(std::string text, UINT type) : SkinnedDialog(IDD_MESSAGE_BOX), text_(std::move(text)), type_(type) {}

private:
    bool OnInitDialog() override {
        // The extension's own folder inside Explorer.
        ApplyFrame(Installation(ModuleFolder(CodeModule())),
                   {"CommonDlg.png", true, {LabelButton(IDYES), LabelButton(IDNO), LabelButton(IDOK), LabelButton(IDCANCEL)}});
        const std::string title = MessageText("ShortDlgTitle");
        SetDlgItemTextA(hwnd(), IDC_MSG_TITLE, title.c_str());
        SetWindowTextA(hwnd(), title.c_str());  // names the box for the task list and tools
        SetDlgItemTextA(hwnd(), IDC_MSG_TEXT, text_.c_str());
        // Ok and Cancel take the settings file's wording when it has one.
        for (auto [id, key] : {std::pair<int, const char*>{IDOK, "Ok"}, {IDCANCEL, "Cancel"}}) {
            const std::string caption = MessageText(key);
            if (!caption.empty()) SetDlgItemTextA(hwnd(), id, caption.c_str());
        }
        int first = IDOK;
        switch (type_) {
        case MB_OKCANCEL: Enable({IDOK, IDCANCEL}); break;
        case MB_YESNO: Enable({IDYES, IDNO}); first = IDYES; break;
        default: Enable({IDOK}); break;
        }
        FitText();
        SetWindowPos(hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetFocus(Item(first));
        return false;
    }

    // A text longer than the box's few lines (a list of keys, a path) makes
    // the box taller, buttons and all, up to most of the screen: nothing of
    // it is cut off.
    void FitText() {
        HWND label = Item(IDC_MSG_TEXT);
        if (!label) return;
        const RECT place = RectInParent(hwnd(), label);
        WindowDC dc(label);
        HFONT font = reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0));
        SelectGuard selected(dc.get(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
        RECT needed{0, 0, place.right - place.left, 0};
        DrawTextA(dc.get(), text_.c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_CENTER | DT_NOPREFIX);
        RECT box{};
        GetWindowRect(hwnd(), &box);
        const int room = GetSystemMetrics(SM_CYSCREEN) * 3 / 4 - (box.bottom - box.top);
        const int grow = std::min<int>(needed.bottom - (place.bottom - place.top), room);
        if (grow <= 0) return;
        SetWindowPos(label, nullptr, 0, 0, place.right - place.left, place.bottom - place.top + grow,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        for (int id : {IDYES, IDNO, IDOK, IDCANCEL}) {
            const RECT button = RectInParent(hwnd(), Item(id));
            SetWindowPos(Item(id), nullptr, button.left, button.top + grow, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        SetWindowPos(hwnd(), nullptr, box.left, std::max<LONG>(0, box.top - grow / 2), box.right - box.left,
                     box.bottom - box.top + grow, SWP_NOZORDER | SWP_NOACTIVATE);
    }

    void Enable(std::initializer_list<int> ids) {
        for (int id : ids) {
            EnableWindow(Item(id), TRUE);
            ShowWindow(Item(id), SW_SHOW);
        }
    }

    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
        if (msg == WM_CTLCOLORSTATIC && reinterpret_cast<HWND>(lp) == Item(IDC_MSG_TITLE)) {
            // The title sits on the picture's coloured band.
            HDC dc = reinterpret_cast<HDC>(wp);
            ::SetTextColor(dc, RGB(255, 255, 255));
            SetBkMode(dc, TRANSPARENT);
            result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
            return true;
        }
        return false;
    }

    void PaintOver(HDC dc) override {
        RECT rc;
        GetClientRect(hwnd(), &rc);
        UniqueGdi<HBRUSH> border(CreateSolidBrush(kBorderColor));
        FrameRect(dc, &rc, border.get());
    }

    void OnCommand(int id, int, HWND) override {
        if (id == IDYES || id == IDNO || id == IDOK) {
            if (IsWindowEnabled(Item(id))) End(id);
        } else if (id == IDCANCEL) {
            // Esc answers Cancel where there is one, Ok for a plain notice,
            // and nothing for a Yes/No question.
            if (IsWindowEnabled(Item(IDCANCEL))) End(IDCANCEL);
            else if (type_ == MB_OK) End(IDOK);
        }
    }

    std::string text_;
    UINT type_;
};

}  // namespace

int ShowMessage(HWND owner, const std::string& text, UINT type) {
    SkinMessageBox box(text, type & 0x0F);
    INT_PTR result = box.RunModal(owner);
    if (result > 0) return static_cast<int>(result);
    if (result == 0) return type == MB_YESNO ? IDNO : IDCANCEL;  // the program is quitting
    // Without its template (a broken language module) the system box serves.
    const std::string title = MessageText("ShortDlgTitle");
    return MessageBoxA(owner, text.c_str(), title.c_str(), type & 0x0F);
}

bool RefuseFolderOutsideCodePage(HMODULE module) {
    std::string outside;
    ModuleFolder(module, &outside);
    if (outside.empty()) return false;
    const std::wstring path = ModulePathWide(module);
    const std::wstring folder = path.substr(0, path.find_last_of(L'\\'));
    // The text is read through the settings file's Unicode name.
    wchar_t text[2048] = {};
    GetPrivateProfileStringW(L"TipMsgs", L"InstallFolderOutsideCodePage", L"", text, 2048,
                             (folder + L"\\TavrolinexConfig.ini").c_str());
    std::wstring message = text[0] ? text : L"Tavrolinex cannot work from this folder: its name cannot be written in this system's code page.";
    message += L"\r\n\r\n" + folder;
    MessageBoxW(nullptr, message.c_str(), L"Tavrolinex", MB_OK | MB_ICONERROR);
    return true;
}

}  // namespace tvx::win
