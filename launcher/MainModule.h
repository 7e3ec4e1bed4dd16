#pragma once
// The launcher Corvane: starts Halcyra.exe from the launcher's own folder and ends.
#include <cstdint>
#include <string_view>

#include "common/Product.h"
#include "launcher/IErrorBox.h"
#include "launcher/IExecutableLocator.h"
#include "launcher/IProcessCreator.h"
#include "launcher/ISystemErrorText.h"
#include "launcher/LaunchText.h"

namespace halcyra {

class MainModule {
public:
    static constexpr std::string_view kTrayProgramFile = "\\Halcyra.exe";
    // The error box is captioned like the launcher's file description, so the user sees which
    // program speaks.
    static constexpr std::string_view kErrorCaption = HALCYRA_PRODUCT_NAME " Launcher";
    static constexpr std::int32_t kShowNormal = 1; // SW_SHOWNORMAL

    MainModule(IExecutableLocator& locator, IProcessCreator& starter, ISystemErrorText& errorText,
               IErrorBox& errorBox);

    // Starts the tray program once. Returns the launcher's exit code: 0 when the program was
    // started, 1 when the user was shown why not.
    int Main();

    // The folder part of `executablePath` without any trailing separator, plus "\Halcyra.exe".
    // False (and `out` empty) when the path names no folder or the result would not fit.
    static bool TrayProgramPath(std::string_view executablePath, LaunchText& out);
    // The path in double quotes: a command line whose only word is the program itself, however
    // many blanks its folder holds.
    static bool QuotedCommandLine(std::string_view programPath, LaunchText& out);
    // The text of the error box for a failed start of `programPath`.
    static void StartFailureText(std::string_view programPath, std::uint32_t code,
                                 std::string_view systemText, LaunchText& out);
    // The text of the error box when the launcher cannot tell where it lies.
    static void LocationFailureText(std::uint32_t code, std::string_view systemText,
                                    LaunchText& out);

private:
    void DescribeError(std::uint32_t code, LaunchText& text);
    void Report(const LaunchText& text);

    IExecutableLocator& locator_;
    IProcessCreator& starter_;
    ISystemErrorText& errorText_;
    IErrorBox& errorBox_;
};

} // namespace halcyra
