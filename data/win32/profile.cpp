#include "data/win32/profile.h"

#include "data/ansi_text.h"
#include "data/ini_text.h"
#include "data/win32/file_io.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace tvx::win {

namespace {
std::string g_settingsFile;
char g_messageBuffer[kMessageBufferSize];
}  // namespace

void SetSettingsFile(const std::string& path) { g_settingsFile = path; }
const std::string& SettingsFile() { return g_settingsFile; }

const char* MessageTexts(const char* key) {
    std::memset(g_messageBuffer, 0, sizeof g_messageBuffer);
    if (!g_settingsFile.empty())
        GetPrivateProfileStringA("TipMsgs", key, "", g_messageBuffer, sizeof g_messageBuffer, g_settingsFile.c_str());
    g_messageBuffer[kMessageBufferSize - 1] = '\0';
    return g_messageBuffer;
}

std::string ReadProfileText(const std::string& file, const char* section, const char* key) {
    char buffer[kProfileValueSize] = {};
    GetPrivateProfileStringA(section, key, "", buffer, sizeof buffer, file.c_str());
    return buffer;
}

int ReadProfileInt(const std::string& file, const char* section, const char* key) {
    return static_cast<int>(ParseDecimal(ReadProfileText(file, section, key)));
}

void WriteProfileText(const std::string& file, const char* section, const char* key, const std::string& value) {
    WritePrivateProfileStringA(section, key, value.c_str(), file.c_str());
}

bool WriteProfileValuesSafely(const std::string& file, const char* section,
                              std::initializer_list<std::pair<const char*, std::string>> values) {
    std::string text;
    ReadWholeFile(file, text);  // a missing file starts empty
    for (const auto& [key, value] : values) text = WithIniValue(text, section, key, value);
    // The system keeps a cached copy of a profile file it read: it must not
    // write that copy back over the new file.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
    return WriteFileReplacing(file, text);
}

void WriteProfileInt(const std::string& file, const char* section, const char* key, int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    WriteProfileText(file, section, key, text);
}

}  // namespace tvx::win
