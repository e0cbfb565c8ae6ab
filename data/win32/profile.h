// Settings files and the message texts of section "TipMsgs".
#pragma once
#include <initializer_list>
#include <string>
#include <utility>

namespace tvx::win {

constexpr size_t kMessageBufferSize = 2048;  // texts arrive cut to 2047 bytes
constexpr size_t kProfileValueSize = 260;

// Fixed once at start-up: the file MessageTexts reads.
void SetSettingsFile(const std::string& path);
const std::string& SettingsFile();

// The text of a key from section "TipMsgs", or the empty text. The result is
// one buffer of the process, overwritten by the next call: copy it first when
// two texts are needed at once.
const char* MessageTexts(const char* key);
// The same, copied.
inline std::string MessageText(const char* key) { return MessageTexts(key); }

int ReadProfileInt(const std::string& file, const char* section, const char* key);
void WriteProfileInt(const std::string& file, const char* section, const char* key, int value);
std::string ReadProfileText(const std::string& file, const char* section, const char* key);
void WriteProfileText(const std::string& file, const char* section, const char* key, const std::string& value);
// Sets keys of one section and writes the file whole through the safe save,
// so that a crash leaves the old file or the new one, never a part of it.
bool WriteProfileValuesSafely(const std::string& file, const char* section,
                              std::initializer_list<std::pair<const char*, std::string>> values);

}  // namespace tvx::win
