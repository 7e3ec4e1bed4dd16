#include "dialogs/frmAbout.h"

#include "dialogs/MakerAddresses.h"
#include "common/Registry.h"

#include <algorithm>
#include <cstddef>

namespace halcyra::dialogs {

namespace {

constexpr std::uint32_t kValueBufferSize = 1024;

std::size_t Index(AboutLink link) {
    return static_cast<std::size_t>(link);
}

} // namespace

std::string VersionText(int major, int minor, int revision) {
    return "Version " + std::to_string(major) + "." + std::to_string(minor) + "." +
           std::to_string(revision);
}

frmAbout::frmAbout(WindowHandle self, AboutPlatform platform) : self_(self), platform_(platform) {}

void frmAbout::Form_Load() {
    platform_.window.SetText(AboutText::Caption, "About " + std::string(product::kName));
    platform_.window.SetText(
        AboutText::Version,
        VersionText(product::kVersionMajor, product::kVersionMinor, product::kVersionPatch));
    platform_.window.SetText(AboutText::Title, std::string(product::kName));
}

void frmAbout::Form_MouseMove() {
    for (AboutLink link : {AboutLink::EmailQuorvix, AboutLink::QuorvixWebSite, AboutLink::Update}) {
        SetLinkColour(link, kLinkAtRest);
    }
}

void frmAbout::cmdOK_Click() {
    platform_.window.Unload();
}

void frmAbout::cmdSysInfo_Click() {
    StartSysInfo();
}

void frmAbout::EmailQuorvix_Click() {
    SetLinkColour(AboutLink::EmailQuorvix, kLinkAtRest);
    platform_.shell.OpenWithShell(self_, "open", "mailto:" + std::string(kMakerMail), kShowNormal);
}

void frmAbout::QuorvixWebSite_Click() {
    SetLinkColour(AboutLink::QuorvixWebSite, kLinkAtRest);
    platform_.shell.OpenWithShell(self_, "open", std::string(kMakerWebSite), kShowNormal);
}

void frmAbout::Update_Click() {
    SetLinkColour(AboutLink::Update, kLinkAtRest);
    platform_.dialogs.ShowUpdateDialog(self_);
}

void frmAbout::EmailQuorvix_MouseMove() {
    SetLinkColour(AboutLink::EmailQuorvix, kLinkUnderPointer);
}

void frmAbout::QuorvixWebSite_MouseMove() {
    SetLinkColour(AboutLink::QuorvixWebSite, kLinkUnderPointer);
}

void frmAbout::Update_MouseMove() {
    SetLinkColour(AboutLink::Update, kLinkUnderPointer);
}

Colour frmAbout::LinkColour(AboutLink link) const {
    return colours_[Index(link)];
}

void frmAbout::SetLinkColour(AboutLink link, Colour colour) {
    // Mouse moves arrive in bursts: repaint only on a real change.
    if (colours_[Index(link)] != colour) {
        colours_[Index(link)] = colour;
        platform_.window.SetLinkColour(link, colour);
    }
}

void frmAbout::StartSysInfo() {
    std::string path;
    if (!GetKeyValue(reg::kLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH",
                     path)) {
        std::string folder;
        if (!GetKeyValue(reg::kLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO",
                         folder)) {
            platform_.prompt.Tell(self_, kSysInfoUnavailable, product::kName, MessageIcon::None);
            return;
        }
        path = folder + "\\MSINFO32.EXE";
        if (!platform_.files.IsOrdinaryFile(path)) {
            platform_.prompt.Tell(self_, kSysInfoUnavailable, product::kName, MessageIcon::None);
            return;
        }
    }
    if (!platform_.programs.Start(path, kShowNormal)) {
        platform_.prompt.Tell(self_, kSysInfoUnavailable, product::kName, MessageIcon::None);
    }
}

bool frmAbout::GetKeyValue(std::uint32_t root, const std::string& keyPath,
                           const std::string& valueName, std::string& value) {
    const auto stored =
        registry::Read(platform_.registry, root, keyPath, valueName, kValueBufferSize);
    if (!stored) {
        value.clear();
        return false;
    }
    const std::string& bytes = stored->bytes;
    if (stored->type == reg::kTypeSz) {
        // The value's text ends at its first NUL, however many the stored bytes hold.
        value = registry::TruncateAtNull(bytes);
    } else if (stored->type == reg::kTypeDword) {
        std::uint32_t number = 0;
        for (std::size_t i = std::min<std::size_t>(bytes.size(), 4); i-- > 0;) {
            number = (number << 8) | static_cast<unsigned char>(bytes[i]);
        }
        value = std::to_string(number);
    }
    return true;
}

} // namespace halcyra::dialogs
