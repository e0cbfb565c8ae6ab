#include "services/win32/run_command.h"

#include "services/command_text.h"

#include <shellapi.h>

namespace tvx::win {

namespace {
int NoClipboardRestore(HWND, const char*) { return 0; }
ClipboardRestorer g_restorer = NoClipboardRestore;
}  // namespace

void SetClipboardRestorer(ClipboardRestorer restorer) { g_restorer = restorer ? restorer : NoClipboardRestore; }

LaunchRoute StartCommand(const std::string& command, const std::string& parameters, int show) {
    std::string joined;
    if (!JoinCommandLine(command, parameters, joined)) return LaunchRoute::Refused;
    const int showValue = show ? SW_SHOW : SW_HIDE;

    char buffer[kMaxCommandLine + 1] = {};
    joined.copy(buffer, kMaxCommandLine);

    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(showValue);
    PROCESS_INFORMATION pi = {};
    // The program's own quoted path as its command line, its own folder to
    // work in; in the launcher's console group, so that Ctrl+C reaches a
    // console program started from it.
    DirectStart direct = DirectStartOf(joined);
    if (CreateProcessA(direct.application.c_str(), &direct.commandLine[0], nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                       nullptr, direct.folder.empty() ? nullptr : direct.folder.c_str(), &si, &pi)) {
        // Nothing waits for the started program: let go of its handles at once.
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        return LaunchRoute::Direct;
    }
    // A document or an address opens through its association, in its own folder when it has one.
    const std::string folder = DirectStartOf(command).folder;
    HINSTANCE shell = ShellExecuteA(nullptr, nullptr, command.c_str(), parameters.empty() ? nullptr : parameters.c_str(),
                                    folder.empty() || GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES
                                        ? nullptr
                                        : folder.c_str(),
                                    showValue);
    if (reinterpret_cast<INT_PTR>(shell) > 32) return LaunchRoute::Association;
    if (WinExec(buffer, static_cast<UINT>(showValue)) > 31) return LaunchRoute::CommandLine;
    return LaunchRoute::Failed;
}

int RunCommand(const char* command, const char* parameters, int show) {
    return StartCommand(command ? command : "", parameters ? parameters : "", show) == LaunchRoute::Direct;
}

bool ExecuteItemText(HWND owner, const std::string& text) {
    const auto steps = SplitCommandText(text);
    for (size_t k = 0; k < steps.size(); ++k) {
        const CommandStep& step = steps[k];
        if (step.kind == StepKind::RestoreClipboard)
            g_restorer(owner, step.text.c_str());
        else if (step.kind == StepKind::Run)
            StartCommand(step.text, std::string(), 1);
        if (k + 1 < steps.size()) Sleep(500);
    }
    return true;
}

}  // namespace tvx::win
