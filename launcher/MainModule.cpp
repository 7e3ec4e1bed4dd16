#include "launcher/MainModule.h"

#include "common/Product.h"

namespace halcyra {

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// "Error 2: The system cannot find the file specified." or "Error 2." without a description.
void AppendError(std::uint32_t code, std::string_view systemText, LaunchText& out) {
    out.Append("Error ");
    out.AppendNumber(code);
    if (systemText.empty()) {
        out.Append(".");
        return;
    }
    out.Append(": ");
    if (!out.Append(systemText)) {
        out.Append("(description too long)");
    }
    out.Append(".");
}

bool HasSeparator(std::string_view path) {
    return path.find_first_of("\\/") != std::string_view::npos;
}

// Error codes the launcher reports for faults it finds itself (ERROR_BAD_PATHNAME and
// ERROR_FILENAME_EXCED_RANGE), so that the user still sees a system text for them.
constexpr std::uint32_t kNoFolderError = 161;
constexpr std::uint32_t kPathTooLongError = 206;

} // namespace

MainModule::MainModule(IExecutableLocator& locator, IProcessCreator& starter,
                       ISystemErrorText& errorText, IErrorBox& errorBox)
    : locator_(locator), starter_(starter), errorText_(errorText), errorBox_(errorBox) {}

bool MainModule::TrayProgramPath(std::string_view executablePath, LaunchText& out) {
    out.Clear();
    std::size_t end = executablePath.size();
    while (end > 0 && !IsSeparator(executablePath[end - 1])) {
        --end; // drop the launcher's own file name
    }
    if (end == 0) {
        return false; // no folder at all: "\Halcyra.exe" would mean the root of some drive
    }
    while (end > 0 && IsSeparator(executablePath[end - 1])) {
        --end;
    }
    if (!out.Append(std::string_view(executablePath.data(), end)) ||
        !out.Append(kTrayProgramFile)) {
        out.Clear();
        return false;
    }
    return true;
}

bool MainModule::QuotedCommandLine(std::string_view programPath, LaunchText& out) {
    out.Clear();
    if (!out.Append("\"") || !out.Append(programPath) || !out.Append("\"")) {
        out.Clear();
        return false;
    }
    return true;
}

void MainModule::StartFailureText(std::string_view programPath, std::uint32_t code,
                                  std::string_view systemText, LaunchText& out) {
    out.Clear();
    out.Append(HALCYRA_PRODUCT_NAME " could not be started.\n\n");
    if (!out.Append(programPath)) {
        out.Append("(path too long to show)");
    }
    out.Append("\n\n");
    AppendError(code, systemText, out);
}

void MainModule::LocationFailureText(std::uint32_t code, std::string_view systemText,
                                     LaunchText& out) {
    out.Clear();
    out.Append(HALCYRA_PRODUCT_NAME
               " could not be started: the launcher cannot tell which folder it is "
               "in.\n\n");
    AppendError(code, systemText, out);
}

int MainModule::Main() {
    LaunchText ownPath;
    LaunchText programPath;
    LaunchText message;
    std::uint32_t code = locator_.ExecutablePath(ownPath);
    if (code == 0 && !TrayProgramPath(ownPath.View(), programPath)) {
        code = HasSeparator(ownPath.View()) ? kPathTooLongError : kNoFolderError;
    }
    if (code != 0) {
        LaunchText systemText;
        DescribeError(code, systemText);
        LocationFailureText(code, systemText.View(), message);
        Report(message);
        return 1;
    }

    LaunchText commandLine;
    if (!QuotedCommandLine(programPath.View(), commandLine)) {
        code = kPathTooLongError;
    } else {
        StartRequest request;
        request.applicationPath = programPath.View();
        request.commandLine = commandLine.View();
        request.showCommand = kShowNormal;
        code = starter_.StartProgram(request);
        if (code == 0) {
            return 0;
        }
    }
    LaunchText systemText;
    DescribeError(code, systemText);
    StartFailureText(programPath.View(), code, systemText.View(), message);
    Report(message);
    return 1;
}

void MainModule::DescribeError(std::uint32_t code, LaunchText& text) {
    text.Clear();
    errorText_.DescribeError(code, text);
    // System texts end in a full stop and a line break; the box adds its own full stop.
    text.TrimEnd("\r\n\t .");
}

void MainModule::Report(const LaunchText& text) {
    errorBox_.ShowError(text.View(), kErrorCaption);
}

} // namespace halcyra
