#include "config/discovery_rules.h"

#include "data/ansi_text.h"

#include <algorithm>

namespace tvx {

std::string CleanRegisteredCommand(std::string_view command) {
    std::string text(command);
    while (!text.empty() && (text.back() == '"' || text.back() == '%' || text.back() == '1')) text.pop_back();
    text.erase(std::remove(text.begin(), text.end(), '"'), text.end());
    if (size_t slash = text.find('/'); slash != std::string::npos) text.resize(slash);
    size_t start = 0;
    while (start < text.size() && text[start] == ' ') ++start;
    return text.substr(start);
}

bool IsInstallerIconStub(std::string_view target) {
    const std::string lower = ToLowerAnsi(target);
    if (lower.find("windows\\installer") == std::string::npos) return false;
    for (const char* icon : {"accicons.exe", "bindico.exe", "fpicon.exe", "graph9.ico", "misc.exe", "outicon.exe",
                             "peicons.exe", "pptico.exe", "wordicon.exe", "xlicons.exe"})
        if (lower.find(icon) != std::string::npos) return true;
    return false;
}

bool IsProgramTarget(std::string_view target) {
    const std::string trimmed = Trim(target);
    return trimmed.size() >= 4 && EndsWithNoCase(trimmed, ".exe");
}

std::string FolderItemName(std::string_view path) {
    const size_t slash = FindLastChar(path, '\\');
    if (slash == std::string_view::npos || slash + 1 == path.size()) return std::string(path);
    return std::string(path.substr(slash + 1));
}

void CandidateInserter::Insert(size_t& levelCount, CandidateRow row) {
    names_.Insert(row.name);
    const size_t at = std::min(levelCount, rows_.size());
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(at), std::move(row));
    ++levelCount;
}

std::vector<std::string> AddressesFromHistoryEntry(std::string_view address) {
    std::vector<std::string> added;
    const std::string lower = ToLowerAnsi(address);
    if (lower.find("http://") == std::string::npos) return added;
    const std::string_view rest = address.size() > 7 ? address.substr(7) : std::string_view();
    if (rest.empty()) return added;
    std::vector<std::string_view> parts;
    for (size_t start = 0;;) {
        const size_t slash = rest.find('/', start);
        parts.push_back(rest.substr(start, slash == std::string_view::npos ? std::string_view::npos : slash - start));
        if (slash == std::string_view::npos) break;
        start = slash + 1;
    }
    std::string prefix = "http://" + std::string(parts.front());
    for (size_t i = 1; i + 1 < parts.size(); ++i) {
        prefix += "/";
        prefix += parts[i];
        added.push_back(prefix);
    }
    if (size_t query = address.find('?'); query != std::string_view::npos) added.emplace_back(address.substr(0, query));
    if (ToLowerAnsi(prefix) != lower) added.push_back(lower);
    return added;
}

std::string WithoutTrailingSlashes(std::string_view address) {
    while (!address.empty() && address.back() == '/') address.remove_suffix(1);
    return std::string(address);
}

void MergeAddresses(std::vector<CandidateRow>& candidates, const std::vector<std::string>& addresses) {
    NameSet offered(candidates);
    for (const std::string& address : addresses) {
        if (address.empty() || offered.Contains(address)) continue;  // a missing url offers nothing
        offered.Insert(address);
        const std::string cut(CutAtCharacterBoundary(address, 259));
        candidates.push_back(CandidateRow{cut, cut});
    }
}

std::string ChooseFirefoxProfile(const std::vector<std::string>& subfolders) {
    for (const std::string& name : subfolders)
        if (ToLowerAnsi(name).find(".default") != std::string::npos) return name;
    return "xeqis0b4.default";
}

}  // namespace tvx
