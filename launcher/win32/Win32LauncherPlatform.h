#pragma once
// The launcher's platform: its own module path, CreateProcessW, FormatMessageW and MessageBoxW,
// with the launcher's UTF-8 texts converted at this boundary.
#include "launcher/IErrorBox.h"
#include "launcher/IExecutableLocator.h"
#include "launcher/IProcessCreator.h"
#include "launcher/ISystemErrorText.h"

namespace halcyra::win32 {

class Win32LauncherPlatform final : public IExecutableLocator,
                                    public IProcessCreator,
                                    public ISystemErrorText,
                                    public IErrorBox {
public:
    std::uint32_t ExecutablePath(LaunchText& path) override;
    std::uint32_t StartProgram(const StartRequest& request) override;
    void DescribeError(std::uint32_t code, LaunchText& text) override;
    void ShowError(std::string_view text, std::string_view caption) override;
};

} // namespace halcyra::win32
