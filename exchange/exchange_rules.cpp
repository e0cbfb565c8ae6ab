#include "exchange/exchange_rules.h"

#include "data/ansi_text.h"

#include <algorithm>
#include <optional>

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

// CON, PRN, AUX, NUL, COM1-COM9 and LPT1-LPT9, in any case, with or without
// an extension (and with the blanks and dots Windows drops): opening such a
// name opens the device, not a file.
bool IsDeviceName(std::string_view part) {
    std::string_view base = part.substr(0, part.find('.'));
    while (!base.empty() && (base.back() == ' ' || base.back() == '.')) base.remove_suffix(1);
    const std::string upper = ToUpperAnsi(base);
    if (upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL") return true;
    return upper.size() == 4 && (upper.compare(0, 3, "COM") == 0 || upper.compare(0, 3, "LPT") == 0) &&
           upper[3] >= '1' && upper[3] <= '9';
}

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
        if (IsDeviceName(part)) return false;
    }
    return true;
}

bool ArchiveSizesSafe(const std::vector<EntrySize>& entries) {
    unsigned long long total = 0;
    for (const EntrySize& e : entries) {
        if (e.unpacked > kMaxUnpackedTotal || (total += e.unpacked) > kMaxUnpackedTotal) return false;
        // Deflate reaches about 1000:1 on the most repetitive data; a large
        // entry that claims more, or any at all, is a bomb.
        if (e.unpacked > kRatioCheckedFrom && e.unpacked / std::max<unsigned long long>(e.packed, 1) > kMaxRatio)
            return false;
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
    const size_t marker = FindComposedMarker(exePath);
    const std::string commands = Trim(marker == std::string_view::npos ? exePath : exePath.substr(marker + 3));
    std::vector<std::string> lines;
    SplitLines(commands, lines);
    std::vector<std::string> out;
    for (std::string& line : lines)
        if (IsDataCommand(line)) out.push_back(std::move(line));
    return out;
}

std::vector<std::string> DataCommandsOf(const ItemStore& store, const std::unordered_set<size_t>* only) {
    std::vector<std::string> out;
    std::unordered_set<std::string> names;
    auto take = [&](const LaunchItem& item) {
        if (item.IsRemoved()) return;
        for (std::string& command : ClipboardDataCommands(item.ExePath))
            if (names.insert(ToLowerAnsi(FileNameOf(command))).second) out.push_back(std::move(command));
    };
    if (!only) {
        for (const LaunchItem& item : store.items()) take(item);
        return out;
    }
    std::vector<size_t> indices(only->begin(), only->end());
    std::sort(indices.begin(), indices.end());
    for (size_t i : indices)
        if (i < store.size()) take(store[i]);
    return out;
}

bool PointDataFilesAt(LaunchItem& item, std::string_view dataFolder, const std::unordered_set<std::string>& carried) {
    return RewriteDataCommands(item, [&](const std::string& command) -> std::optional<std::string> {
        const std::string name = FileNameOf(command);
        if (!carried.count(ToLowerAnsi(name))) return std::nullopt;
        return std::string(dataFolder) + "\\" + name;
    });
}

bool RewriteDataCommands(LaunchItem& item, const std::function<std::optional<std::string>(const std::string&)>& target) {
    auto repoint = [&](std::string_view command, std::string& out) {
        const std::string trimmed = Trim(command);
        if (!IsDataCommand(trimmed)) return false;
        std::optional<std::string> to = target(trimmed);
        if (!to || *to == trimmed) return false;
        out = std::move(*to);
        return true;
    };
    FieldText& path = item.ExePath;
    const size_t marker = FindComposedMarker(path);
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
}  // namespace tvx
