// libFuzzer target: any bytes as the command of a composed entry. Parsing
// never fails, and members that fit the stored form come back unchanged
// after building the command again.
#include "config/editor_rules.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    using namespace tvx;
    const std::string_view command(reinterpret_cast<const char*>(data), size);
    const std::vector<ComposedMember> members = ParseComposedCommand(command);
    std::vector<ComposedMember> fitting;
    for (const ComposedMember& member : members)
        if (FitsComposedForm(member) && !member.name.empty() && !member.command.empty()) fitting.push_back(member);
    if (fitting.empty()) return 0;
    const std::string rebuilt = BuildComposedCommand(fitting);
    if (!IsComposedCommand(rebuilt)) std::abort();
    const std::vector<ComposedMember> back = ParseComposedCommand(rebuilt);
    if (back.size() != fitting.size()) std::abort();
    for (size_t i = 0; i < back.size(); ++i)
        if (back[i].name != fitting[i].name || back[i].command != fitting[i].command) std::abort();
    return 0;
}
