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

}  // namespace tvx
