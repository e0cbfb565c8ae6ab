// The text rules of program discovery, the file choosers and the browser
// URL import, apart from the registry, the shell and the databases they
// read: what a registered command is cleaned to, which shortcut targets are
// programs, how a chosen-files buffer splits, how visited addresses become
// candidates and how candidates are merged.
#pragma once
#include "services/item_rows.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace tvx {

// A registered "Shell\Open\Command": trailing double quotes, "%" and "1"
// removed from its end, every double quote removed, cut before the first
// "/", leading blanks removed (a quoted path with a quoted "%1" becomes the
// bare path followed by the blank that stood before the argument).
std::string CleanRegisteredCommand(std::string_view command);

// A shortcut target that is an advertised installation's icon stub (the
// real program is looked up through the class registrations).
bool IsInstallerIconStub(std::string_view target);

// Whether a (trimmed) target ends in ".exe", in any case.
bool IsProgramTarget(std::string_view target);

// The open-file dialog's buffer: one full path, or the folder followed by
// file names, each ended by a NUL, the list ended by an empty one.
// (Also for the dialog's Unicode form.)
template <class Char>
std::vector<std::basic_string<Char>> SplitChosenFiles(const Char* buffer, size_t size) {
    std::vector<std::basic_string<Char>> parts;
    for (size_t at = 0; at < size && buffer[at] != Char(0);) {
        const size_t end = static_cast<size_t>(std::find(buffer + at, buffer + size, Char(0)) - buffer);
        parts.emplace_back(buffer + at, end - at);
        at = end + 1;
    }
    if (parts.size() <= 1) return parts;  // one file: its full path
    std::basic_string<Char> folder = parts.front();
    if (!folder.empty() && folder.back() == Char('\\')) folder.pop_back();  // a drive root comes as "C:\\"
    std::vector<std::basic_string<Char>> paths;
    for (size_t i = 1; i < parts.size(); ++i) paths.push_back(folder + Char('\\') + parts[i]);
    return paths;
}

// The name of a chosen folder: the part after the last "\", or the whole
// path for a drive root ("C:\").
std::string FolderItemName(std::string_view path);

// Candidates inserted the way discovery inserts them: every pass and every
// folder level keeps its own count from 0, and its n-th accepted entry goes
// to position n of the list (so later passes and deeper levels come first).
class CandidateInserter {
public:
    explicit CandidateInserter(std::vector<CandidateRow>& rows) : rows_(rows), names_(rows) {}
    // A new level (pass or folder) starts counting at 0.
    size_t BeginLevel() { return 0; }
    bool Offered(std::string_view name) const { return names_.Contains(name); }
    void Insert(size_t& levelCount, CandidateRow row);

private:
    std::vector<CandidateRow>& rows_;
    NameSet names_;
};

// ---- browser history -------------------------------------------------------------

// What one address of the system's history adds: nothing unless it has
// "http://"; the host with each further path part but the last; the address
// without its query; and the lower-cased address when it differs from the
// last prefix in lower case.
std::vector<std::string> AddressesFromHistoryEntry(std::string_view address);

// A Firefox address with its trailing "/" characters removed.
std::string WithoutTrailingSlashes(std::string_view address);

// Adds each address not yet a candidate (case-insensitive), cut to 259
// characters, as a candidate whose name and target are the address. An empty
// address (a history row without a url) adds nothing.
void MergeAddresses(std::vector<CandidateRow>& candidates, const std::vector<std::string>& addresses);

// The profile folder's name: "xeqis0b4.default", or the first of the
// listed sub-folders whose lower-cased name contains ".default".
std::string ChooseFirefoxProfile(const std::vector<std::string>& subfolders);

}  // namespace tvx
