#include "data/win32/clipboard_io.h"

#include "data/clipboard_data.h"
#include "data/win32/file_io.h"
#include "data/win32/guid.h"

#include <cstring>

namespace tvx::win {

namespace {
// Holds the clipboard open for the lifetime of the guard. Another program
// may hold it for a moment: it is tried again for about 200 ms.
class ClipboardSession {
public:
    explicit ClipboardSession(HWND owner) {
        for (int attempt = 0; attempt < 10 && !open_; ++attempt) {
            if (attempt > 0) Sleep(20);
            open_ = OpenClipboard(owner) != FALSE;
        }
    }
    ~ClipboardSession() {
        if (open_) CloseClipboard();
    }
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;
    bool open() const { return open_; }

private:
    bool open_ = false;
};

std::string FormatName(UINT format) {
    char name[256] = {};
    const int n = GetClipboardFormatNameA(format, name, sizeof name);
    return n > 0 ? std::string(name, static_cast<size_t>(n)) : std::string();
}
}  // namespace

CaptureResult CaptureClipboard(HWND owner, const std::string& path) {
    // Read whole first, then written through the safe save: the file of an
    // earlier capture stays until the new one replaces it.
    CaptureResult result;
    std::string file;
    std::vector<std::pair<unsigned, std::string>> names;
    {
        ClipboardSession session(owner);
        if (!session.open()) {
            result.outcome = CaptureOutcome::ClipboardBusy;
            return result;
        }
        for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format)) {
            if (format == kSkippedClipboardFormat || IsHandleClipboardFormat(format)) continue;
            HANDLE data = GetClipboardData(format);
            if (!data) continue;
            const SIZE_T size = GlobalSize(data);
            if (size == 0) continue;
            const std::string name = format >= kFirstRegisteredFormat ? FormatName(format) : std::string();
            if (size > kMaxClipboardFormatBytes) {
                result.leftOut.push_back(name.empty() ? "#" + std::to_string(format) : name);
                continue;
            }
            const void* bytes = GlobalLock(data);
            if (!bytes) continue;
            if (AppendClipboardRecord(file, format, std::string_view(static_cast<const char*>(bytes), size)) &&
                !name.empty())
                names.emplace_back(format, name);
            GlobalUnlock(data);
        }
    }
    if (file.empty()) {
        DeleteFileA(path.c_str());  // nothing usable: no file at all
        return result;
    }
    if (!names.empty()) AppendClipboardRecord(file, kFormatNamesRecord, EncodeFormatNames(names));
    result.outcome = WriteFileReplacing(path, file) ? CaptureOutcome::Stored : CaptureOutcome::NotWritten;
    return result;
}

int RestoreClipboard(HWND owner, const std::string& path) {
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return 0;
    std::string bytes;
    ReadWholeFile(path, bytes);
    const std::vector<ClipboardRecord> records = DecodeClipboardRecords(bytes);
    std::vector<std::pair<unsigned, std::string>> names;
    for (const ClipboardRecord& record : records)
        if (record.format == kFormatNamesRecord) names = DecodeFormatNames(record.data);
    ClipboardSession session(owner);
    if (!session.open()) return 0;
    EmptyClipboard();
    for (const ClipboardRecord& record : records) {
        if (record.format == kFormatNamesRecord) continue;
        UINT format = static_cast<UINT>(record.format);
        // A registered format's number of the session that stored it may
        // name another format now: its name gives this session's number.
        for (const auto& [stored, name] : names)
            if (stored == format) format = RegisterClipboardFormatA(name.c_str());
        if (format == 0) continue;
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, record.data.size());
        if (!block) break;
        if (void* target = GlobalLock(block)) {
            if (!record.data.empty()) std::memcpy(target, record.data.data(), record.data.size());
            GlobalUnlock(block);
        }
        // The clipboard owns the block from here on; it is freed only when refused.
        if (!SetClipboardData(format, block)) GlobalFree(block);
    }
    return 1;
}

std::string NewClipboardDataPath(const Installation& installation) {
    return installation.DataFile(NewGuidText() + ".stx");
}

}  // namespace tvx::win
