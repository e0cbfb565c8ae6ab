#include "data/installation.h"

#include <utility>

namespace tvx {

Installation::Installation(std::string folder) : folder_(std::move(folder)) {}

std::string Installation::ItemFile() const { return In("Shortcut2.dat"); }
std::string Installation::CatalogFile() const { return In("Shortcut2.clg"); }
std::string Installation::SettingsFile() const { return In("TavrolinexConfig.ini"); }
std::string Installation::LogConfigFile() const { return In("LogConfig.dat"); }
std::string Installation::MailboxFile() const { return In("Mailbox.ini"); }
std::string Installation::BatchReplaceFile() const { return In("Config.ini"); }
std::string Installation::DataFolder() const { return In("Data"); }
std::string Installation::DataFile(const std::string& name) const { return In("Data\\" + name); }
std::string Installation::Image(const std::string& name) const { return In("Images\\" + name); }
std::string Installation::LanguageTexts(const std::string& code) const { return In("Lang\\" + code + ".ini"); }
std::string Installation::HelpPage(const std::string& language, const std::string& page) const {
    return In("Help\\" + language + "\\" + page);
}

}  // namespace tvx
