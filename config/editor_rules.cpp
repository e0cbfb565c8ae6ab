#include "config/editor_rules.h"

#include "data/ansi_text.h"

#include <algorithm>

namespace tvx {

namespace {

std::string JoinLines(const std::vector<ComposedMember>& members, bool names) {
    std::string out;
    for (size_t i = 0; i < members.size(); ++i) {
        if (i) out += "\r\n";
        out += names ? members[i].name : members[i].command;
    }
    while (!out.empty() && (out.back() == '\r' || out.back() == '\n')) out.pop_back();
    return out;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    if (text.empty()) return lines;
    for (size_t start = 0;;) {
        const size_t end = text.find("\r\n", start);
        lines.emplace_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) break;
        start = end + 2;
    }
    return lines;
}

}  // namespace

std::string BuildComposedCommand(const std::vector<ComposedMember>& members) {
    return JoinLines(members, true) + "^^^" + JoinLines(members, false);
}

bool IsComposedCommand(std::string_view command) { return FindComposedMarker(command) != std::string_view::npos; }

std::vector<ComposedMember> ParseComposedCommand(std::string_view command) {
    std::vector<ComposedMember> members;
    const size_t mark = FindComposedMarker(command);
    if (mark == std::string_view::npos) return members;
    const std::vector<std::string> names = SplitLines(command.substr(0, mark));
    const std::vector<std::string> commands = SplitLines(command.substr(mark + 3));
    members.resize(std::max(names.size(), commands.size()));
    for (size_t i = 0; i < names.size(); ++i) members[i].name = names[i];
    for (size_t i = 0; i < commands.size(); ++i) members[i].command = commands[i];
    return members;
}

bool FitsComposedForm(const ComposedMember& member) {
    for (const std::string* text : {&member.name, &member.command})
        if (text->find('\r') != std::string::npos || text->find('\n') != std::string::npos ||
            FindComposedMarker(*text) != std::string::npos ||
            // "Up^" as the last name or "^x" as the first command would run
            // into the "^^^" between the halves and move the split. A double-
            // byte character whose second byte is "^" is no "^".
            (!text->empty() && (text->front() == '^' || EndsWithCharacter(*text, '^'))) ||
            // A first byte of a double-byte character with nothing after it
            // would take the first byte of the separator as its second.
            EndsInsideCharacter(*text))
            return false;
    return true;
}

std::string ComposedItemName(std::string_view composedName) { return "+ " + std::string(composedName); }

std::string ComposedNameOf(std::string_view itemName) {
    size_t start = 0;
    while (start < itemName.size() && (itemName[start] == '+' || itemName[start] == ' ')) ++start;
    return std::string(itemName.substr(start));
}

NameCheck CheckEditorName(std::string_view trimmedName) {
    if (trimmedName.empty()) return NameCheck::Empty;
    if (trimmedName[0] == '+') return NameCheck::Reserved;
    return NameCheck::Ok;
}

bool NameTaken(const std::vector<ItemRow>& rows, std::string_view name, long except) {
    for (size_t i = 0; i < rows.size(); ++i)
        if (static_cast<long>(i) != except && rows[i].name == name) return true;
    return false;
}

bool IsClipboardCommand(std::string_view command) { return EndsWithNoCase(command, ".stx"); }
bool IsControlPanelCommand(std::string_view command) { return EndsWithNoCase(command, ".cpl"); }

bool DataFileReferenced(const ItemStore& store, std::string_view path) {
    for (const LaunchItem& item : store.items()) {
        if (item.IsRemoved()) continue;
        if (EqualsNoCase(Trim(item.ExePath), path)) return true;
        if (!IsComposedCommand(item.ExePath)) continue;
        for (const ComposedMember& member : ParseComposedCommand(item.ExePath))
            if (EqualsNoCase(Trim(member.command), path)) return true;
    }
    return false;
}

bool IsProgramDataFile(std::string_view path, const Installation& installation) {
    const std::string folder = installation.DataFile("");
    if (path.size() != folder.size() + 36 + 4 || !EqualsNoCase(path.substr(0, folder.size()), folder) ||
        !EndsWithNoCase(path, ".stx"))
        return false;
    return IsGuidText(path.substr(folder.size(), 36));
}

std::vector<std::string> DataFileLedger::DeletableAfterSave(const ItemStore& saved) {
    std::vector<std::string> gone, seen;
    for (std::vector<std::string>* list : {&captured_, &replaced_})
        for (std::string& path : *list) {
            const std::string lower = ToLowerAnsi(path);
            if (std::find(seen.begin(), seen.end(), lower) != seen.end()) continue;
            seen.push_back(lower);
            if (!DataFileReferenced(saved, path)) gone.push_back(std::move(path));
        }
    captured_.clear();
    replaced_.clear();
    return gone;
}

std::vector<std::string> DataFileLedger::DeletableWithoutSave() {
    std::vector<std::string> gone = std::move(captured_);
    captured_.clear();
    replaced_.clear();
    return gone;
}

bool ReplaceAll(std::string& text, std::string_view find, std::string_view replacement) {
    if (find.empty() || text.empty()) return false;
    std::string out;
    bool replaced = false;
    size_t at = 0;
    for (size_t hit; (hit = FindWhole(text, find, at)) != std::string::npos; at = hit + find.size()) {
        out.append(text, at, hit - at);
        out.append(replacement);
        replaced = true;
    }
    if (!replaced) return false;
    out.append(text, at, std::string::npos);
    text = std::move(out);
    return true;
}

bool ApplyBatchReplace(std::string& name, std::string& shortName, std::string& command,
                       const BatchReplaceSettings& s) {
    bool changed = ReplaceAll(name, s.nameFind, s.nameReplacement);
    changed |= ReplaceAll(shortName, s.shortFind, s.shortReplacement);
    if (!s.pathFind.empty() && !s.pathReplacement.empty()) changed |= ReplaceAll(command, s.pathFind, s.pathReplacement);
    return changed;
}

size_t BatchReplaceRows(std::vector<ItemRow>& rows, const std::vector<size_t>& selected, ItemStore& store,
                        const BatchReplaceSettings& settings) {
    std::vector<size_t> targets;
    for (size_t p : selected)
        if (p < rows.size()) targets.push_back(p);
    if (targets.empty())
        for (size_t i = 0; i < rows.size(); ++i) targets.push_back(i);
    size_t changed = 0;
    for (size_t p : targets) {
        ItemRow& row = rows[p];
        if (!ApplyBatchReplace(row.name, row.shortName, row.command, settings)) continue;
        UpdateRecordFromRow(store, row);
        ++changed;
    }
    return changed;
}

size_t BatchReplaceTable(ItemStore& store, const BatchReplaceSettings& settings) {
    size_t changed = 0;
    for (size_t i = 0; i < store.size(); ++i) {
        LaunchItem& item = store[i];
        if (item.IsRemoved()) continue;
        std::string name = item.Name.str(), shortName = item.ShortName.str(), command = item.ExePath.str();
        if (!ApplyBatchReplace(name, shortName, command, settings)) continue;
        item.Name = name;
        item.ShortName = shortName;
        item.ExePath = command;
        ++changed;
    }
    return changed;
}

}  // namespace tvx
