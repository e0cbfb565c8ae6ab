#include "data/ini_text.h"

#include "data/ansi_text.h"

#include <vector>

namespace tvx {

namespace {
struct Line {
    std::string_view text;  // without its line end
    std::string_view end;   // "\r\n", "\n" or nothing (the last line)
};

std::vector<Line> LinesOf(std::string_view text) {
    std::vector<Line> lines;
    for (size_t start = 0; start < text.size();) {
        const size_t nl = text.find('\n', start);
        if (nl == std::string_view::npos) {
            lines.push_back({text.substr(start), {}});
            break;
        }
        const size_t cr = nl > start && text[nl - 1] == '\r' ? nl - 1 : nl;
        lines.push_back({text.substr(start, cr - start), text.substr(cr, nl + 1 - cr)});
        start = nl + 1;
    }
    return lines;
}

// "[name]" with blanks around: the section's name, else nothing.
bool SectionName(std::string_view line, std::string& name) {
    const std::string trimmed = Trim(line);
    if (trimmed.size() < 2 || trimmed.front() != '[') return false;
    const size_t close = trimmed.find(']');
    if (close == std::string::npos) return false;
    name = Trim(std::string_view(trimmed).substr(1, close - 1));
    return true;
}

bool IsKeyLine(std::string_view line, std::string_view key) {
    const size_t eq = line.find('=');
    return eq != std::string_view::npos && EqualsNoCase(Trim(line.substr(0, eq)), key);
}
}  // namespace

std::string WithIniValue(std::string_view text, std::string_view section, std::string_view key,
                         std::string_view value) {
    const std::vector<Line> lines = LinesOf(text);
    const std::string setting = std::string(key) + "=" + std::string(value);
    std::string out;
    out.reserve(text.size() + setting.size() + section.size() + 8);
    bool inSection = false, done = false;
    size_t lastInSection = std::string::npos;  // where the key goes when the section lacks it
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string name;
        if (SectionName(lines[i].text, name)) inSection = EqualsNoCase(name, section);
        else if (inSection && !done && IsKeyLine(lines[i].text, key)) {
            out += lines[i].text.substr(0, lines[i].text.find('=') + 1);  // the key as the file spells it
            out += value;
            out += lines[i].end;
            done = true;
            continue;
        }
        out += lines[i].text;
        out += lines[i].end;
        if (inSection && !Trim(lines[i].text).empty()) lastInSection = out.size();
    }
    if (done) return out;
    std::string insert = setting + "\r\n";
    if (lastInSection != std::string::npos) {
        // After the section's last line that is not empty (which may lack its line end).
        if (out[lastInSection - 1] != '\n') insert = "\r\n" + setting;
        out.insert(lastInSection, insert);
        return out;
    }
    if (!out.empty() && out.back() != '\n') out += "\r\n";
    out += "[" + std::string(section) + "]\r\n" + insert;
    return out;
}

std::string ValueAsRead(std::string_view written) {
    std::string value = Trim(written);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

std::string IniValue(std::string_view text, std::string_view section, std::string_view key) {
    bool inSection = false;
    for (const Line& line : LinesOf(text)) {
        std::string name;
        if (SectionName(line.text, name)) {
            inSection = EqualsNoCase(name, section);
        } else if (inSection && IsKeyLine(line.text, key)) {
            return ValueAsRead(line.text.substr(line.text.find('=') + 1));
        }
    }
    return std::string();
}

}  // namespace tvx
