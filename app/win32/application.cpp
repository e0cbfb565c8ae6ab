#include "app/win32/application.h"

#include "additem/win32/add_item_dialog.h"
#include "resources/add_item_ids.h"

#include "resources/resource_ids.h"
#include "data/win32/clipboard_io.h"
#include "data/win32/file_io.h"
#include "data/win32/library.h"
#include "data/win32/profile.h"
#include "config/win32/config_dialog.h"
#include "config/win32/discovery.h"
#include "exchange/win32/exchange_dialog.h"
#include "exchange/win32/exchange_pipeline.h"
#include "app/language_table.h"
#include "app/single_instance.h"
#include "app/win32/language_dialog.h"
#include "launcher/win32/item_hotkeys.h"
#include "launcher/win32/launcher_window.h"
#include "services/win32/progress_window.h"
#include "services/win32/run_command.h"
#include "ui/skin/win32/resource_module.h"
#include "ui/skin/win32/message_box.h"

#include <commctrl.h>
#include <ole2.h>

#include <functional>

namespace tvx::win {

namespace {
constexpr const char* kSingleInstanceName = "Tavroline";
constexpr UINT kFixedModifiers = MOD_CONTROL | MOD_SHIFT;

// The add-item dialog as the program shows it (its own control ids and texts).
INT_PTR RunAddItemDialog(const Installation& installation, const Library& library, HWND owner,
                         const std::string& shortName, const std::string& exePath, std::function<void()> help) {
    AddItemVariant v;
    v.tree = IDC_ADD_TREE_PROG;
    v.exitButton = IDC_ADD_EXIT_PROG;
    v.minButton = IDC_ADD_MIN_PROG;
    v.helpButton = IDC_ADD_HELP_PROG;
    v.hotkeyLabel = IDC_ADD_HOTKEY_LABEL_PROG;
    v.title = MessageText("AddTavrolinexDlgTitle");
    v.okTip = MessageText("Btn_CloseDialogwithSave");
    v.cancelTip = MessageText("Btn_CloseDialogwithoutSave");
    v.exitTip = MessageText("ExitButton");
    v.helpTip = MessageText("HelpButton");
    v.minTip = MessageText("MinButton");
    v.rootText = MessageText("AllCatalogsTitle");
    v.selectCatalog = MessageText("SelectCatalog");
    v.selectSubCatalog = MessageText("SelSubCatalog");
    v.showMessage = [](HWND to, const std::string& text) { ShowMessage(to, text, MB_OK); };
    v.help = std::move(help);
    v.library = &library;
    AddItemDialog dialog(installation, std::move(v));
    dialog.shortName = shortName;
    dialog.exePath = exePath;
    return dialog.RunModal(owner);
}
}  // namespace

Application::Application() = default;

Application::~Application() = default;

int Application::Run() {
    if (RefuseFolderOutsideCodePage(nullptr)) return 1;
    installation_ = Installation(ModuleFolder(nullptr));
    SetSettingsFile(installation_.SettingsFile());

    // OLE on the user-interface thread: the folder chooser and some shell
    // associations need it, and expect it there.
    struct Ole {
        const HRESULT started = OleInitialize(nullptr);
        ~Ole() {
            if (SUCCEEDED(started)) OleUninitialize();
        }
    } ole;
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);

    if (ClaimSingleInstance()) {
        // What a killed earlier run left in the temporary folder: unpacked
        // archives (clipboard contents among them) and a partial export.
        RemoveLeftoverStagingFolders();
        gdiplus_ = std::make_unique<GdiplusSession>();
        SetClipboardRestorer([](HWND owner, const char* path) { return RestoreClipboard(owner, path); });
        ChooseLanguage();
        TellIfFolderNotWritable();
        if (firstStart_) TellIf32BitOn64BitWindows();
        ShowStartupProgress();
        RegisterShellExtension(true);
        library_ = std::make_unique<Library>(installation_);
        {
            LauncherWindow launcher(installation_, *library_);
            launcher.runConfigDialog = [this, &launcher](HWND owner) {
                ConfigDialog::Services services;
                services.help = [&launcher] { launcher.ShowHelp(); };
                services.discoverPrograms = [](const std::unordered_set<std::string>& live) {
                    return DiscoverPrograms(live, StartMenuProgramFolders());
                };
                ConfigDialog dialog(installation_, *library_, std::move(services));
                dialog.RunModal(owner);
            };
            auto runExchange = [this, &launcher](HWND owner, ExchangeDialog::Mode mode) {
                ExchangeDialog dialog(installation_, *library_, mode, [&launcher] { launcher.ShowHelp(); });
                dialog.RunModal(owner);
            };
            launcher.runAddItemDialog = [this, &launcher](HWND owner, const std::string& shortName,
                                                          const std::string& exePath) {
                return RunAddItemDialog(installation_, *library_, owner, shortName, exePath,
                                        [&launcher] { launcher.ShowHelp(); });
            };
            launcher.runImportDialog = [runExchange](HWND owner) { runExchange(owner, ExchangeDialog::Mode::Import); };
            launcher.runExportDialog = [runExchange](HWND owner) { runExchange(owner, ExchangeDialog::Mode::Export); };
            launcher.SetPages(languageCode_ == "chs" ? "chs" : "eng", firstStart_);
            Dialog::SetMainWindow(&launcher);
            RegisterFixedHotkeys(launcher);
            launcher.RunModal(nullptr);
            UnregisterFixedHotkeys();
            launcher.UnregisterItemHotkeys();
            Dialog::SetMainWindow(nullptr);
        }
    }
    Shutdown();
    return 0;
}

bool Application::ClaimSingleInstance() {
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READONLY, 0, 13, kSingleInstanceName);
    const DWORD error = GetLastError();
    singleInstance_.reset(mapping);
    if (ClassifyInstanceClaim(mapping != nullptr, error) == InstanceClaim::AlreadyRunning) {
        singleInstance_.reset();
        const std::string text = MessageText("ProgramRunning");
        MessageBoxA(nullptr, text.c_str(), "Tips", MB_OK);
        return false;
    }
    return true;  // a mapping that could not be made at all: run without the protection
}

void Application::ChooseLanguage() {
    const std::string logConfig = installation_.LogConfigFile();
    languageIndex_ = ReadProfileInt(logConfig, "LogConfig", "LangSel");
    // The packages carry no LogConfig.dat (an upgrade must keep the user's),
    // so an installed copy's first start is known by its absence and asks
    // for the language as well.
    firstStart_ = !FileExists(logConfig);
    const bool showDialog = firstStart_ || ReadProfileInt(logConfig, "LogConfig", "ShowLangSel") == 1;
    if (showDialog) {
        LanguageDialog dialog(installation_);
        dialog.RunModal(nullptr);
        languageIndex_ = dialog.selectedRow();
        WriteProfileValuesSafely(logConfig, "LogConfig",
                                 {{"LangSel", std::to_string(languageIndex_)}, {"ShowLangSel", "0"}});
    }
    BindLanguageModule(showDialog);
    // Nor do they carry the settings file, so that an upgrade never puts
    // English texts over a user's own: it is made from the chosen language's
    // texts when it is missing, and only then.
    if (!FileExists(SettingsFile())) TakeLanguageTexts(true);
}

// A copy put where the user cannot write (under "Program Files", say) could
// save nothing: said at once, with the folder's name. Tried with a file of
// its own that goes when it is closed.
void Application::TellIfFolderNotWritable() {
    const std::string probe = installation_.Folder() + "\\~Tavrolinex-write-test.tmp";
    HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return;
    }
    if (GetLastError() == ERROR_FILE_EXISTS) return;  // someone's file of that name: the folder takes files
    ShowMessage(nullptr, TextOf("InstallFolderNotWritable") + "\r\n\r\n" + installation_.Folder(), MB_OK);
}

// A text of the settings file, or of the chosen language's own texts when
// the settings file could not be made (a folder that cannot be written).
std::string Application::TextOf(const char* key) const {
    std::string text = MessageText(key);
    for (const std::string& code : {languageCode_, std::string("eng")}) {
        if (!text.empty()) break;
        char buffer[kMessageBufferSize] = {};
        GetPrivateProfileStringA("TipMsgs", key, "", buffer, sizeof buffer,
                                 installation_.LanguageTexts(code).c_str());
        text = buffer;
    }
    return text;
}

// 64-bit Explorer loads only 64-bit extensions: a 32-bit copy runs on 64-bit
// Windows, but "Add To Tavrolinex" never appears there. Said once, at the
// first start of the installation.
void Application::TellIf32BitOn64BitWindows() {
    using IsWow64 = BOOL(WINAPI*)(HANDLE, PBOOL);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto isWow64 = reinterpret_cast<IsWow64>(
        reinterpret_cast<void*>(kernel ? GetProcAddress(kernel, "IsWow64Process") : nullptr));
    BOOL wow64 = FALSE;
    if (isWow64 && isWow64(GetCurrentProcess(), &wow64) && wow64)
        ShowMessage(nullptr, MessageText("X86OnX64Windows"), MB_OK);
}

void Application::BindLanguageModule(bool languageDialogShown) {
    languageCode_ = std::string(LanguageCode(languageIndex_));
    const std::string tail = LanguageModuleTail(languageCode_);
    if (!tail.empty()) {
        // Its resources only: a module in a folder the user can write is never run.
        languageModule_.reset(LoadLibraryExA((installation_.Folder() + tail).c_str(), nullptr,
                                             LOAD_LIBRARY_AS_IMAGE_RESOURCE | LOAD_LIBRARY_AS_DATAFILE));
        if (languageModule_) SetResourceModule(languageModule_.get());
    }
    if (!languageDialogShown) return;
    for (const LanguageCopy& copy : LanguageCopies(languageCode_)) {
        const std::string source = installation_.Folder() + copy.sourceTail;
        const std::string target = installation_.Folder() + copy.targetTail;
        if (!FolderExists(installation_.Folder() + copy.folderTail) || !FileExists(source)) continue;
        DeleteFileA(target.c_str());
        CopyFileA(source.c_str(), target.c_str(), FALSE);
    }
    TakeLanguageTexts(false);
}

// The texts of the chosen language, when it has its own text file
// ("\Lang\chs.ini"), replace the settings file through a temporary file, so
// that a failure leaves the old texts whole. Only after the language dialog,
// or when the file is missing: a start without the dialog never touches an
// existing file, and the user's own edits stay.
// With `orEnglish`, a language without a text file of its own takes the
// English texts (for a settings file that is missing altogether).
void Application::TakeLanguageTexts(bool orEnglish) {
    std::string texts;
    const bool own = !languageCode_.empty() &&
                     ReadWholeFile(installation_.LanguageTexts(languageCode_), texts) && !texts.empty();
    if (!own && !(orEnglish && ReadWholeFile(installation_.LanguageTexts("eng"), texts) && !texts.empty())) return;
    WriteFileReplacing(SettingsFile(), texts);
}

void Application::ShowStartupProgress() {
    // The window closes once the pause is over (its message served by the
    // launcher's loop).
    progress_ = std::make_unique<ProgressWindow>(installation_, "Loading Modules ...");
    if (progress_->Create(nullptr)) ShowWindow(progress_->hwnd(), SW_SHOW);

    // Keep the interface alive for about half a second: 17 passes of 30 ms.
    MSG msg;
    for (int elapsed = 0; elapsed <= 500; elapsed += 30) {
        if (PeekMessageA(&msg, nullptr, 0, WM_USER - 1, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(30);
    }
    progress_->Finish();
}

void Application::RegisterShellExtension(bool add) {
    // The library's path goes to RegSvr32 in double quotes: installation
    // folders usually contain blanks ("C:\Program Files\..."), and an
    // unquoted path reaches RegSvr32 broken in two. RegSvr32 itself is named
    // by its full path in the system folder: a bare name is looked for in the
    // program's own folder (and the working folder) first, where anyone who
    // can write them could put another.
    const std::string arguments = "\"" + installation_.Folder() + "\\TavrolinexExt.dll\"" + (add ? " /s" : " /u /s");
    char system[MAX_PATH] = {};
    const UINT n = GetSystemDirectoryA(system, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    RunCommand((std::string(system) + "\\RegSvr32.exe").c_str(), arguments.c_str(), 0);
    if (add) extensionRegistered_ = true;
}

void Application::RegisterFixedHotkeys(LauncherWindow& launcher) {
    const struct {
        int id;
        char key;
        const char* what;
    } keys[] = {{kShowHideHotkeyId, 'J', "HotkeyShowHide"},
                {kCaptureAHotkeyId, 'A', "HotkeyCapture"},
                {kCaptureCHotkeyId, 'C', "HotkeyCapture"}};
    std::vector<std::string> held;
    bool showHideWorks = true;
    for (const auto& k : keys) {
        if (RegisterHotkeyOnce(k.id, kFixedModifiers, static_cast<unsigned>(k.key))) continue;
        held.push_back(std::string("Ctrl + Shift + ") + k.key + ": " + MessageText(k.what));
        if (k.id == kShowHideHotkeyId) showHideWorks = false;
    }
    launcher.SetFixedHotkeys(std::move(held), showHideWorks);
}

void Application::UnregisterFixedHotkeys() {
    UnregisterHotKey(nullptr, kShowHideHotkeyId);
    UnregisterHotKey(nullptr, kCaptureAHotkeyId);
    UnregisterHotKey(nullptr, kCaptureCHotkeyId);
}

void Application::Shutdown() {
    progress_.reset();
    gdiplus_.reset();
    singleInstance_.reset();
    if (extensionRegistered_) RegisterShellExtension(false);
}

}  // namespace tvx::win
