// Starting command lines and executing an item's command text.
#pragma once
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>

namespace tvx::win {

// Which way a command was started, for callers and tests that care.
// Direct: CreateProcessA; Association: ShellExecuteA; CommandLine: WinExec.
enum class LaunchRoute { Refused, Direct, Association, CommandLine, Failed };

// Starts a command: directly as a program file, else through its shell
// association, else as a command line. A joined line longer than 1039
// characters is refused and nothing is started.
LaunchRoute StartCommand(const std::string& command, const std::string& parameters, int show);

// Non-zero when the process was created directly, 0 otherwise (also when a
// fallback started it).
int RunCommand(const char* command, const char* parameters, int show);

// Puts a clipboard data file back on the clipboard; returns non-zero on success.
using ClipboardRestorer = int (*)(HWND owner, const char* path);
// The restorer used for ".stx" lines. Until clipboard data files are
// supported the default restores nothing and leaves the clipboard alone.
void SetClipboardRestorer(ClipboardRestorer restorer);

// Executes an item's command text line by line, 500 ms apart.
bool ExecuteItemText(HWND owner, const std::string& text);

}  // namespace tvx::win
