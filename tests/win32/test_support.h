// Helpers of the Win32 tests: a scratch folder and waiting for the helper's log.
#pragma once
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>
#include <vector>

namespace tvx::test {

// A fresh folder under the temporary folder, removed with its files at the end.
class ScratchDir {
public:
    explicit ScratchDir(const std::string& name);
    ~ScratchDir();
    const std::string& path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);
std::string ExeFolder();

struct HelperRun {
    unsigned long long ms;
    std::string commandLine;
};

// Lines of the helper's log, waiting up to `timeoutMs` for at least `count`.
std::vector<HelperRun> WaitForHelperRuns(const std::string& log, size_t count, DWORD timeoutMs);

}  // namespace tvx::test
