// Base of every dialog of the program: its life (created from a template of
// the resource module, run either modeless or by the program's own modal
// loop, ended) and the messages every dialog handles alike. The skin frame
// drawn round it is SkinnedDialog's.
//
// The system's DialogBox loop drops thread messages (hot keys registered for
// the thread arrive with no window), so modal dialogs run their own loop that
// first offers every message to the main window's pre-translation.
#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace tvx::win {

// A child window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND parent, HWND child);

class Dialog {
public:
    explicit Dialog(UINT templateId);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Runs the dialog modally and returns the result given to End; -1 when
    // the template could not be created.
    INT_PTR RunModal(HWND owner);
    // Creates the dialog modeless (not shown).
    bool Create(HWND owner);
    // Ends a modal run with the result, or destroys a modeless dialog.
    void End(INT_PTR result);
    // No C++ exception leaves the window procedure into the system (or into
    // Explorer, where the extension's dialog runs): one that reaches it ends
    // the dialog with IDABORT, and this says why (E_OUTOFMEMORY for a failed
    // allocation, E_UNEXPECTED otherwise; S_OK while nothing went wrong).
    HRESULT Failure() const { return failure_; }

    HWND hwnd() const { return hwnd_; }
    // A control of the dialog. Found once and remembered: under Wine each
    // GetDlgItem asks the wineserver for the dialog's children.
    HWND Item(int id) const;
    // The whole text of control `id`.
    std::string BoxText(int id) const;
    // Shows the message of a MessageTexts key in a box this dialog owns;
    // returns the button the user pressed.
    int ShowKey(const char* key, UINT type = MB_OK) const;

    // Shows the message of a MessageTexts key once the message being handled
    // is done, so that a program waiting in SendMessage is not held up by
    // the box. `key` must live as long as the program (a literal); `detail`
    // (a path, say) follows the text on a line of its own.
    void ShowMessageLater(const char* key, std::string detail = std::string());

    // The window whose pre-translation sees every message of every modal
    // loop of the program first (the launcher window).
    static void SetMainWindow(Dialog* main);
    static Dialog* MainWindow();

    // Return true when the message was consumed.
    virtual bool PreTranslateMessage(MSG& msg);

    // The name a screen reader says for a control whose label is painted,
    // not a control of its own (Microsoft Active Accessibility's annotation;
    // nothing happens where the system lacks it).
    void NameForScreenReaders(int id, const std::string& name);


protected:
    virtual bool OnInitDialog() { return true; }
    // Return true when handled; `result` is then the message's result.
    virtual bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    virtual void OnCommand(int id, int code, HWND control);
    virtual void OnOk() { End(IDOK); }
    virtual void OnCancel() { End(IDCANCEL); }
    virtual void OnDestroy() {}
    // The messages the dialog's own handlers left, for the frame drawn
    // round it (SkinnedDialog); returns what the dialog procedure returns.
    virtual INT_PTR FrameMessage(UINT msg, WPARAM wp, LPARAM lp);
    // Destroys the window now; a derived class whose members its children
    // use calls it in its destructor, so that the window goes first.
    void DestroyNow();

private:
    static INT_PTR CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    INT_PTR Proc(UINT msg, WPARAM wp, LPARAM lp);

    UINT templateId_;
    HWND hwnd_ = nullptr;
    bool modal_ = false;
    bool ended_ = false;
    INT_PTR result_ = 0;
    HRESULT failure_ = S_OK;
    std::vector<std::string> laterDetails_;  // one per posted message, in order
    mutable std::map<int, HWND> items_;       // of Item; emptied with the window
};

}  // namespace tvx::win
