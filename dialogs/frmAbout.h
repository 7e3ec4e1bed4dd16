#pragma once
// The About dialog's logic: its texts, the link hover colours, the links and System Info.
#include "common/IPrompt.h"
#include "common/PlatformTypes.h"
#include "common/Product.h"
#include "dialogs/IDialogWindow.h"
#include "dialogs/IFileExists.h"
#include "dialogs/IProgramRunner.h"
#include "dialogs/IShellOpener.h"
#include "common/IRegistryApi.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace halcyra::dialogs {

inline constexpr Colour kLinkAtRest = 0xFF0000;       // blue
inline constexpr Colour kLinkUnderPointer = 0x0000FF; // red

inline constexpr std::string_view kSysInfoUnavailable =
    "System Information Is Unavailable At This Time";

// "Version 1.3.2": plain decimal numbers, no padding.
std::string VersionText(int major, int minor, int revision);

struct AboutPlatform {
    IAboutWindow& window;
    IShellOpener& shell;
    IDialogOpener& dialogs;
    IRegistryApi& registry;
    IFileExists& files;
    IProgramRunner& programs;
    IPrompt& prompt;
};

class frmAbout {
public:
    frmAbout(WindowHandle self, AboutPlatform platform);

    void Form_Load();
    void Form_MouseMove();
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void EmailQuorvix_Click();
    void QuorvixWebSite_Click();
    void Update_Click();
    void EmailQuorvix_MouseMove();
    void QuorvixWebSite_MouseMove();
    void Update_MouseMove();

    Colour LinkColour(AboutLink link) const;

    void StartSysInfo();
    // Reads a REG_SZ (as text) or REG_DWORD (as unsigned decimal) value; true when read.
    // A value of any other type counts as read but leaves value as it was.
    bool GetKeyValue(std::uint32_t root, const std::string& keyPath, const std::string& valueName,
                     std::string& value);

private:
    void SetLinkColour(AboutLink link, Colour colour);

    WindowHandle self_;
    AboutPlatform platform_;
    std::array<Colour, 3> colours_{kLinkAtRest, kLinkAtRest, kLinkAtRest};
};

} // namespace halcyra::dialogs
