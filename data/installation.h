// One installation: its folder and the files and folders the program keeps in
// it, named in one place so that every window reads and writes the same ones.
#pragma once
#include <string>

namespace tvx {

class Installation {
public:
    Installation() = default;
    // `folder` without a closing backslash, as the module's folder is found.
    explicit Installation(std::string folder);

    const std::string& Folder() const { return folder_; }
    std::string ItemFile() const;       // the entries: "Shortcut2.dat"
    std::string CatalogFile() const;    // the catalog tree: "Shortcut2.clg"
    std::string SettingsFile() const;   // settings and texts: "TavrolinexConfig.ini"
    std::string LogConfigFile() const;  // the language choice: "LogConfig.dat"
    std::string MailboxFile() const;    // the add-item hand-over: "Mailbox.ini"
    std::string BatchReplaceFile() const;  // the batch-replace dialog's find text: "Config.ini"
    std::string DataFolder() const;     // stored clipboard contents: "Data"
    std::string DataFile(const std::string& name) const;
    std::string Image(const std::string& name) const;  // the skin's pictures: "Images\name"
    std::string LanguageTexts(const std::string& code) const;  // "Lang\code.ini"
    std::string HelpPage(const std::string& language, const std::string& page) const;  // "Help\language\page"

private:
    std::string In(const std::string& relative) const { return folder_ + "\\" + relative; }
    std::string folder_;
};

}  // namespace tvx
