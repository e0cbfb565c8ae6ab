// The program's life: start-up, the launcher's modal run, shutdown.
#pragma once
#include "data/installation.h"
#include "ui/skin/win32/skin_image.h"
#include "base/win32/win_handles.h"

#include <memory>
#include <string>

namespace tvx::win {

class ProgressWindow;
class LauncherWindow;
class Library;

class Application {
public:
    Application();
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Start-up, the modal run and shutdown; returns the process exit code.
    int Run();

    const Installation& installation() const { return installation_; }

private:
    bool ClaimSingleInstance();
    void ChooseLanguage();
    void TellIf32BitOn64BitWindows();
    void TellIfFolderNotWritable();
    std::string TextOf(const char* key) const;
    void BindLanguageModule(bool languageDialogShown);
    void TakeLanguageTexts(bool orEnglish);
    void ShowStartupProgress();
    void RegisterShellExtension(bool add);
    void RegisterFixedHotkeys(LauncherWindow& launcher);
    void UnregisterFixedHotkeys();
    void Shutdown();

    Installation installation_;
    int languageIndex_ = 0;
    std::string languageCode_;
    UniqueHandle singleInstance_;
    std::unique_ptr<Library> library_;  // the installation's entries, for the whole run
    std::unique_ptr<GdiplusSession> gdiplus_;
    std::unique_ptr<ProgressWindow> progress_;
    UniqueModule languageModule_;
    bool extensionRegistered_ = false;
    bool firstStart_ = false;  // the installation had no LogConfig.dat
};

}  // namespace tvx::win
