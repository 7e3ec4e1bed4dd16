#pragma once
// Fakes for the dialogs' platform: every call goes into one log, so tests can assert the
// order across interfaces (a link turns blue before the shell is asked).
#include "dialogs/frmAbout.h"

#include <cstdint>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace halcyra::dialogs::testing {

inline const char* LinkName(AboutLink link) {
    switch (link) {
    case AboutLink::EmailQuorvix:
        return "EmailQuorvix";
    case AboutLink::QuorvixWebSite:
        return "QuorvixWebSite";
    case AboutLink::Update:
        return "Update";
    }
    return "?";
}

struct StoredValue {
    std::uint32_t type;
    std::string bytes;
    long queryResult = 0;
    std::uint32_t reportedSize = UINT32_MAX; // the size the query reports; bytes.size() if unset
};

class RecordingPlatform : public IAboutWindow,
                          public IShellOpener,
                          public IDialogOpener,
                          public IRegistryApi,
                          public IFileExists,
                          public IProgramStarter,
                          public IMessageBox {
public:
    std::vector<std::string> log;
    std::map<std::string, std::string> texts;
    // "key path|value name" -> value; a key opens when any of its values is stored.
    std::map<std::string, StoredValue> values;
    std::set<std::string> files;
    bool startSucceeds = true;
    int openKeys = 0;

    AboutPlatform Platform() { return {*this, *this, *this, *this, *this, *this, *this}; }

    void Unload() override { log.push_back("Unload"); }
    void SetText(AboutText which, const std::string& text) override {
        static const char* names[] = {"Caption", "Title", "Version"};
        texts[names[static_cast<int>(which)]] = text;
    }
    void SetLinkColour(AboutLink link, Colour colour) override {
        log.push_back(std::string(LinkName(link)) + (colour == kLinkAtRest         ? " blue"
                                                     : colour == kLinkUnderPointer ? " red"
                                                                                   : " ?"));
    }
    void ShellExecute(WindowHandle parent, const std::string& operation, const std::string& file,
                      int showCommand) override {
        log.push_back("ShellExecute " + std::to_string(parent) + " " + operation + " " + file +
                      " " + std::to_string(showCommand));
    }
    void ShowUpdateDialog(WindowHandle owner) override {
        log.push_back("ShowUpdateDialog " + std::to_string(owner));
    }
    long RegCreateKeyExA(RegKey, std::string_view, std::uint32_t, const char*, std::uint32_t,
                         std::uint32_t, const RegSecurity*, RegKey*, std::uint32_t*) override {
        log.push_back("RegCreateKeyExA");
        return 5; // the About dialog never writes
    }
    long RegSetValueExA(RegKey, std::string_view, std::uint32_t, std::uint32_t, const std::uint8_t*,
                        std::uint32_t) override {
        log.push_back("RegSetValueExA");
        return 5;
    }
    long RegDeleteValueA(RegKey, std::string_view) override {
        log.push_back("RegDeleteValueA");
        return 5;
    }
    long RegOpenKeyExA(RegKey root, std::string_view subKey, std::uint32_t options,
                       std::uint32_t access, RegKey* key) override {
        const std::string path(subKey);
        log.push_back("OpenKey " + std::to_string(root) + " " + path + " " +
                      std::to_string(options) + " " + std::to_string(access));
        for (const auto& [name, value] : values) {
            if (name.substr(0, name.find('|')) == path) {
                openPath_ = path;
                *key = 0x1234;
                ++openKeys;
                return 0;
            }
        }
        return 2; // ERROR_FILE_NOT_FOUND
    }
    long RegQueryValueExA(RegKey key, std::string_view valueName, std::uint32_t* typeOut,
                          std::uint8_t* data, std::uint32_t* sizeInOut) override {
        const std::string name(valueName);
        std::uint32_t& type = *typeOut;
        std::uint32_t& size = *sizeInOut;
        char* buffer = reinterpret_cast<char*>(data);
        log.push_back("QueryValue " + std::to_string(key) + " " + name + " " +
                      std::to_string(size));
        auto it = values.find(openPath_ + "|" + name);
        if (it == values.end()) {
            return 2;
        }
        const StoredValue& v = it->second;
        if (v.queryResult != 0) {
            return v.queryResult;
        }
        type = v.type;
        std::memcpy(buffer, v.bytes.data(), std::min<std::size_t>(v.bytes.size(), size));
        size = v.reportedSize != UINT32_MAX ? v.reportedSize
                                            : static_cast<std::uint32_t>(v.bytes.size());
        return 0;
    }
    long RegCloseKey(RegKey key) override {
        log.push_back("CloseKey " + std::to_string(key));
        --openKeys;
        return 0;
    }
    bool IsOrdinaryFile(const std::string& path) override {
        log.push_back("IsOrdinaryFile " + path);
        return files.count(path) != 0;
    }
    bool Start(const std::string& path, int showCommand) override {
        log.push_back("Start " + path + " " + std::to_string(showCommand));
        return startSucceeds;
    }
    void ShowPlain(WindowHandle owner, const std::string& text, const std::string& title) override {
        log.push_back("Message " + std::to_string(owner) + " " + text + " | " + title);
    }

private:
    std::string openPath_;
};

} // namespace halcyra::dialogs::testing
