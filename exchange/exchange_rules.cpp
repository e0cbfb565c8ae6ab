#include "exchange/exchange_rules.h"

#include "data/ansi_text.h"

namespace tvx {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Start of each character's bytes, so that a second byte is never read alone.
template <typename F>
void ForEachCharacter(std::string_view text, F f) {
    for (size_t i = 0; i < text.size();) {
        const size_t width = StrictCharWidthAt(text, i);
        f(i, width);
        i += width;
    }
}

// The parts between separators, by characters.
std::vector<std::string_view> PartsOf(std::string_view name) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    ForEachCharacter(name, [&](size_t i, size_t width) {
        if (width == 1 && IsSeparator(name[i])) {
            parts.push_back(name.substr(start, i - start));
            start = i + 1;
        }
    });
    parts.push_back(name.substr(start));
    return parts;
}

size_t LastSeparator(std::string_view path) {
    size_t last = std::string_view::npos;
    ForEachCharacter(path, [&](size_t i, size_t width) {
        if (width == 1 && IsSeparator(path[i])) last = i;
    });
    return last;
}

void SplitLines(std::string_view text, std::vector<std::string>& out) {
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = text.find("\r\n", start);
        out.push_back(Trim(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start)));
        if (end == std::string_view::npos) break;
        start = end + 2;
    }
}

bool IsDataCommand(std::string_view command) { return command.size() > 4 && EndsWithNoCase(command, ".stx"); }

}  // namespace

ArchiveName ArchiveNameOf(std::string_view path) {
    ArchiveName name;
    const size_t slash = FindLastChar(path, '\\');
    if (slash != std::string_view::npos) name.folder.assign(path.substr(0, slash));
    name.title = FileTitleOf(path);
    return name;
}

const char* ArchivePathProblem(std::string_view trimmedPath) {
    if (trimmedPath.empty()) return "ConfigFilePathEmpty";
    if (trimmedPath.size() < 5 || trimmedPath[trimmedPath.size() - 4] != '.') return "ConfigFileNameError";
    const ArchiveName name = ArchiveNameOf(trimmedPath);
    if (name.title.empty() || name.folder.empty()) return "ConfigFileNameError";
    // The extension itself must be plain characters: "a.b\c" is no file name.
    for (char c : trimmedPath.substr(trimmedPath.size() - 3))
        if (IsSeparator(c) || c == '.') return "ConfigFileNameError";
    return nullptr;
}

std::string FileNameOf(std::string_view path) {
    const size_t last = LastSeparator(path);
    return std::string(last == std::string_view::npos ? path : path.substr(last + 1));
}

bool IsSafeEntryName(std::string_view name) {
    if (name.empty() || IsSeparator(name[0])) return false;
    for (char c : name)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
    bool safe = true;
    ForEachCharacter(name, [&](size_t i, size_t width) {
        if (width == 1 && name[i] == ':') safe = false;  // a drive, or a stream of a file
    });
    if (!safe) return false;
    const std::vector<std::string_view> parts = PartsOf(name);
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::string_view part = parts[i];
        if (part == "..") return false;
        // "a//b" and "." say nothing harmful but are no name this program writes.
        if (part.empty() && i + 1 != parts.size()) return false;
        if (part == ".") return false;
        // Windows drops trailing dots and blanks, so "..." or ".. " is "..".
        if (!part.empty() && part.find_first_not_of(". ") == std::string_view::npos) return false;
    }
    return true;
}

std::string NativeEntryPath(std::string_view name) {
    std::string out(name);
    ForEachCharacter(name, [&](size_t i, size_t width) {
        if (width == 1 && name[i] == '/') out[i] = '\\';
    });
    return out;
}

bool IsFolderEntry(std::string_view name) {
    return !name.empty() && IsSeparator(name.back()) && LastSeparator(name) == name.size() - 1;
}

std::string TopFolderOf(std::string_view name) {
    const std::vector<std::string_view> parts = PartsOf(name);
    return parts.size() > 1 ? std::string(parts[0]) : std::string();
}

std::vector<std::string> ClipboardDataCommands(std::string_view exePath) {
    const size_t marker = exePath.find("^^^");
    const std::string commands = Trim(marker == std::string_view::npos ? exePath : exePath.substr(marker + 3));
    std::vector<std::string> lines;
    SplitLines(commands, lines);
    std::vector<std::string> out;
    for (std::string& line : lines)
        if (IsDataCommand(line)) out.push_back(std::move(line));
    return out;
}

void DataFileList::Add(const std::string& exePath) {
    if (seen_.insert(exePath).second) texts_.push_back(exePath);
}

void DataFileList::Clear() {
    texts_.clear();
    seen_.clear();
}

std::vector<std::string> DataFileList::DataCommands() const {
    std::vector<std::string> out;
    std::unordered_set<std::string> names;
    for (const std::string& text : texts_)
        for (std::string& command : ClipboardDataCommands(text))
            if (names.insert(ToLowerAnsi(FileNameOf(command))).second) out.push_back(std::move(command));
    return out;
}

bool PointDataFilesAt(LaunchItem& item, std::string_view dataFolder, const std::unordered_set<std::string>& carried) {
    auto repoint = [&](std::string_view command, std::string& out) {
        const std::string trimmed = Trim(command);
        if (!IsDataCommand(trimmed)) return false;
        const std::string name = FileNameOf(trimmed);
        if (!carried.count(ToLowerAnsi(name))) return false;
        std::string target = std::string(dataFolder) + "\\" + name;
        if (target == trimmed) return false;
        out = std::move(target);
        return true;
    };
    std::string& path = item.ExePath;
    const size_t marker = path.find("^^^");
    if (marker == std::string::npos) {
        std::string target;
        if (!repoint(path, target)) return false;
        path = std::move(target);
        return true;
    }
    // Member commands one per line; the line breaks between them are kept.
    std::string rebuilt = path.substr(0, marker + 3);
    bool changed = false;
    size_t start = marker + 3;
    while (true) {
        const size_t end = path.find("\r\n", start);
        const std::string_view line =
            std::string_view(path).substr(start, end == std::string::npos ? std::string::npos : end - start);
        std::string target;
        if (repoint(line, target)) {
            rebuilt += target;
            changed = true;
        } else {
            rebuilt += line;
        }
        if (end == std::string::npos) break;
        rebuilt += "\r\n";
        start = end + 2;
    }
    if (changed) path = std::move(rebuilt);
    return changed;
}

std::string KeptDataFileName(std::string_view name, int attempt) {
    std::string out(name);
    out += ".before-import";
    if (attempt > 1) out += "-" + std::to_string(attempt);
    out += ".bak";
    return out;
}

}  // namespace tvx
