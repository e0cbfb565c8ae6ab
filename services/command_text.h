// How an item's command text is broken into the steps that run it.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace tvx {

// The working buffer of a started command line is 1040 bytes: a joined
// command (command, blank, parameters) longer than this is refused.
constexpr size_t kMaxCommandLine = 1039;

enum class StepKind {
    Skip,              // four characters or fewer after trimming
    RestoreClipboard,  // the line names a clipboard data file (".stx")
    Run,               // handed to RunCommand
};

struct CommandStep {
    StepKind kind;
    std::string text;  // the trimmed line in its original letter case
};

// Splits a command text into its steps, in order. A composed text keeps only
// what follows its first "^^^". Lines are separated by CR LF; each is trimmed.
// The ".stx" and length tests look at a lower-cased copy, but the text that is
// started keeps its letter case, so case-sensitive arguments and web addresses
// arrive unchanged.
std::vector<CommandStep> SplitCommandText(std::string_view text);

// Joins a command and its optional parameters as the process start sees them.
// Returns false, leaving `out` empty, when the result would not fit the
// 1039-character limit.
bool JoinCommandLine(std::string_view command, std::string_view parameters, std::string& out);

// How a program file is started directly. The started program sees exactly
// the command line it is given, so its path is quoted there ("C:\Program
// Files\App\app.exe" would otherwise reach it as two arguments), and it works
// in its own folder rather than in whatever folder the launcher was started
// in (the system folder, at logon). A name without a folder gets no folder.
struct DirectStart {
    std::string application;  // the program file as named
    std::string commandLine;  // its quoted path: what the program reads as its command line
    std::string folder;       // the folder that holds it; empty for a bare name
};
DirectStart DirectStartOf(std::string_view program);

}  // namespace tvx
