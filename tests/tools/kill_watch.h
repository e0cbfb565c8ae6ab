// What the kill harness (tvxsavekill) reads of the files its child leaves,
// and how it makes sure the killed child is really gone before it looks.
#pragma once
#include <string>
#include <vector>

namespace tvx::killtest {

std::string ReadAll(const std::string& path);
bool Exists(const std::string& path);
std::vector<std::string> Matching(const std::string& pattern);  // names, as FindFirstFile gives them

// The Unix process whose Windows command line ends in the token ("" if none:
// not under Wine, or already gone).
std::string UnixPidWithToken(const std::string& token);
// True once that process is gone or a zombie.
bool UnixProcessGone(const std::string& pid);
// Waits up to 10 s; returns whether the process was found and is gone.
bool WaitUntilUnixProcessGone(const std::string& pid);

}  // namespace tvx::killtest
