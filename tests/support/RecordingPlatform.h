#pragma once
// Fakes for the dialogs' platform: every call goes into one log, so tests can assert the
// order across interfaces (a link turns blue before the shell is asked).
#include "dialogs/frmAbout.h"
#include "support/FakePrompt.h"
#include "support/SettingsFakes.h"

#include <cstdint>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace halcyra::dialogs::test {

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

class RecordingPlatform : public IAboutWindow,
                          public IShellOpener,
                          public IDialogOpener,
                          public IFileExists,
                          public IProgramRunner {
public:
    std::vector<std::string> log;
    std::map<std::string, std::string> texts;
    halcyra::test::FakeRegistryApi registry{log};
    halcyra::test::FakePrompt prompt{log};
    std::set<std::string> files;
    bool startSucceeds = true;

    AboutPlatform Platform() { return {*this, *this, *this, registry, *this, *this, prompt}; }

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
    void OpenWithShell(WindowHandle parent, const std::string& operation, const std::string& file,
                       int showCommand) override {
        log.push_back("OpenWithShell " + std::to_string(parent) + " " + operation + " " + file +
                      " " + std::to_string(showCommand));
    }
    void ShowUpdateDialog(WindowHandle owner) override {
        log.push_back("ShowUpdateDialog " + std::to_string(owner));
    }
    bool IsOrdinaryFile(const std::string& path) override {
        log.push_back("IsOrdinaryFile " + path);
        return files.count(path) != 0;
    }
    bool Start(const std::string& path, int showCommand) override {
        log.push_back("Start " + path + " " + std::to_string(showCommand));
        return startSucceeds;
    }
};

} // namespace halcyra::dialogs::test
