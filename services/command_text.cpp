#include "services/command_text.h"

#include "data/ansi_text.h"

namespace tvx {

std::vector<CommandStep> SplitCommandText(std::string_view text) {
    std::string body;
    size_t marker = FindComposedMarker(text);
    if (marker != std::string_view::npos)
        body = Trim(text.substr(marker + kComposedMarker.size()));
    else
        body = std::string(text);

    std::vector<CommandStep> steps;
    if (body.empty()) return steps;
    size_t start = 0;
    while (true) {
        size_t end = body.find("\r\n", start);
        std::string_view piece = std::string_view(body).substr(start, end == std::string::npos ? std::string::npos : end - start);
        std::string line = Trim(piece);
        CommandStep step{StepKind::Run, line};
        if (line.size() <= 4)
            step.kind = StepKind::Skip;
        else if (EndsWithNoCase(line, ".stx"))
            step.kind = StepKind::RestoreClipboard;
        steps.push_back(std::move(step));
        if (end == std::string::npos) break;
        start = end + 2;
    }
    return steps;
}

bool JoinCommandLine(std::string_view command, std::string_view parameters, std::string& out) {
    out.clear();
    size_t total = command.size() + (parameters.empty() ? 0 : 1 + parameters.size());
    if (total > kMaxCommandLine) return false;
    out.reserve(total);
    out.append(command);
    if (!parameters.empty()) {
        out.push_back(' ');
        out.append(parameters);
    }
    return true;
}

DirectStart DirectStartOf(std::string_view program) {
    DirectStart start;
    start.application = std::string(program);
    start.commandLine = "\"" + start.application + "\"";
    // By characters: a GBK character's second byte may be the backslash.
    const size_t slash = FindLastChar(program, '\\');
    if (slash != std::string_view::npos) {
        start.folder = std::string(program.substr(0, slash));
        if (start.folder.size() == 2 && start.folder[1] == ':') start.folder += '\\';  // a drive's root: "C:\"
    }
    return start;
}

}  // namespace tvx
