// Fresh GUID texts from the system (CoCreateGuid).
#pragma once
#include <string>

namespace tvx::win {

// 36 upper-case characters; never repeats, also when the system cannot make
// a GUID (a random fallback stands in).
std::string NewGuidText();

}  // namespace tvx::win
