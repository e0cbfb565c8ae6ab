#include "data/win32/clipboard_io.h"

#include "data/clipboard_data.h"
#include "data/win32/file_io.h"
#include "data/win32/guid.h"

#include <cstring>

namespace tvx::win {

namespace {
// Holds the clipboard open for the lifetime of the guard (when it could be opened).
class ClipboardSession {
public:
    explicit ClipboardSession(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~ClipboardSession() {
        if (open_) CloseClipboard();
    }
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;

private:
    bool open_;
};
}  // namespace

int CaptureClipboard(HWND owner, const std::string& path) {
    // Read whole first, then written through the safe save: the file of an
    // earlier capture stays until the new one replaces it.
    std::string file;
    {
        ClipboardSession session(owner);
        for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format)) {
            if (format == kSkippedClipboardFormat) continue;
            HANDLE data = GetClipboardData(format);
            if (!data) continue;
            const SIZE_T size = GlobalSize(data);
            if (size == 0) continue;  // not a memory block (a bitmap or metafile handle, say)
            const void* bytes = GlobalLock(data);
            if (!bytes) continue;
            AppendClipboardRecord(file, format, std::string_view(static_cast<const char*>(bytes), size));
            GlobalUnlock(data);
        }
    }
    if (file.empty()) DeleteFileA(path.c_str());  // nothing usable: no file at all
    else WriteFileReplacing(path, file);
    return 1;
}

int RestoreClipboard(HWND owner, const std::string& path) {
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return 0;
    std::string bytes;
    ReadWholeFile(path, bytes);
    ClipboardSession session(owner);
    EmptyClipboard();
    for (const ClipboardRecord& record : DecodeClipboardRecords(bytes)) {
        HGLOBAL block = GlobalAlloc(GMEM_ZEROINIT, record.data.size());
        if (!block) break;
        if (void* target = GlobalLock(block)) {
            if (!record.data.empty()) std::memcpy(target, record.data.data(), record.data.size());
            GlobalUnlock(block);
        }
        // The clipboard owns the block from here on; it is freed only when refused.
        if (!SetClipboardData(static_cast<UINT>(record.format), block)) GlobalFree(block);
    }
    return 1;
}

std::string NewClipboardDataPath(const std::string& installDir) {
    return installDir + "\\Data\\" + NewGuidText() + ".stx";
}

}  // namespace tvx::win
