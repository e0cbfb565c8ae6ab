// Settings files as text: one key of one section set in the whole text, so
// that the file can be written again through the safe save (a temporary file
// that replaces the old one) instead of being changed in place.
#pragma once
#include <string>
#include <string_view>

namespace tvx {

// The text with `key` of `section` set to `value` (both names compared without
// regard to case, as the profile functions do): the first such line is
// replaced, else the key is added at the end of the section, else the section
// is added at the end. Every other line stays byte for byte; new lines end in
// CR LF.
std::string WithIniValue(std::string_view text, std::string_view section, std::string_view key,
                         std::string_view value);

// A written value as a reader gets it back: without the blanks around it and
// without one pair of quotes around it.
std::string ValueAsRead(std::string_view written);

// The value of `key` in `section` as the profile functions give it (the first
// such line; blanks around it and one pair of quotes around it dropped), but
// byte for byte: the profile functions pass the text through Unicode and
// turn bytes that are no text of the code page into "?". Empty when missing.
std::string IniValue(std::string_view text, std::string_view section, std::string_view key);

}  // namespace tvx
