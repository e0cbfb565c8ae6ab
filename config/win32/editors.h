// The small windows of the configuration dialog: the custom-command editor
// ("Item Info"), the clipboard editor ("Edit ClipData Item") and the batch
// replace settings ("Replacement Settings"). Each is a skinned borderless
// window with minimise and exit buttons; exit works as Cancel.
#pragma once
#include "config/editor_rules.h"
#include "data/installation.h"
#include "ui/skin/win32/skinned_dialog.h"

#include <string>

namespace tvx::win {

// What the three windows share: the picture, the title painted in the band,
// the frame buttons, white boxes with a light outline, and messages by key.
class EditorWindow : public SkinnedDialog {
protected:
    EditorWindow(UINT templateId, Installation installation, int exitId, int minId, std::vector<int> boxes);
    bool OnInitDialog() override;
    void OnOk() override {}  // Enter and Esc do not close the windows
    void OnCancel() override {}
    void TextButton(int id, const char* tooltipKey = nullptr);
    virtual void OnExit() { End(IDCANCEL); }

    Installation installation_;

private:
    void PaintOver(HDC dc) override;
    int exitId_, minId_;
    std::vector<int> boxes_;
};

class ItemInfoEditor : public EditorWindow {
public:
    // `locked` (a control-panel item): the command cannot be changed.
    ItemInfoEditor(Installation installation, std::string name, std::string command, bool locked);
    // After Ok: trimmed.
    std::string name, command;

private:
    bool OnInitDialog() override;
    void OnCommand(int id, int code, HWND control) override;
    void OnTest();
    void OnFile();
    void OnSave();
    bool locked_;
};

class ClipDataEditor : public EditorWindow {
public:
    ClipDataEditor(Installation installation, std::string name, std::string currentPath);
    // After Ok: the trimmed name and the data file to use (the new capture
    // when there is one, else the current file).
    std::string name, dataPath;
    bool captured() const { return captured_; }

private:
    bool OnInitDialog() override;
    void OnCommand(int id, int code, HWND control) override;
    void OnExit() override;
    void OnSave();
    void Discard();
    std::string currentPath_, newPath_;
    bool captured_ = false;
};

class BatchReplaceDialog : public EditorWindow {
public:
    explicit BatchReplaceDialog(Installation installation);
    BatchReplaceSettings settings;  // after Ok

private:
    bool OnInitDialog() override;
    void OnCommand(int id, int code, HWND control) override;
    void OnSave();
};

}  // namespace tvx::win
