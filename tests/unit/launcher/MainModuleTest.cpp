#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "launcher/MainModule.h"

namespace halcyra::test {
namespace {

// Records every platform call of the launcher, in order.
class RecordingLauncherPlatform final : public IExecutableLocator,
                                        public IProcessCreator,
                                        public ISystemErrorText,
                                        public IErrorBox {
public:
    std::string ownPath = "C:\\Program Files\\Halcyra\\Corvane.exe";
    std::uint32_t locateError = 0;
    std::uint32_t startError = 0;
    std::string systemText = "The system cannot find the file specified.\r\n";

    struct Start {
        std::string applicationPath, commandLine, workingFolder;
        std::int32_t showCommand;
    };
    std::vector<std::string> calls;
    std::vector<Start> starts;
    std::vector<std::uint32_t> described;
    std::string boxText, boxCaption;

    std::uint32_t ExecutablePath(LaunchText& path) override {
        calls.push_back("ExecutablePath");
        path.Clear();
        if (locateError == 0) {
            path.Append(ownPath);
        }
        return locateError;
    }
    std::uint32_t StartProgram(const StartRequest& r) override {
        calls.push_back("StartProgram");
        starts.push_back({std::string(r.applicationPath), std::string(r.commandLine),
                          std::string(r.workingFolder), r.showCommand});
        return startError;
    }
    void DescribeError(std::uint32_t code, LaunchText& text) override {
        calls.push_back("DescribeError");
        described.push_back(code);
        text.Append(systemText);
    }
    void ShowError(std::string_view text, std::string_view caption) override {
        calls.push_back("ShowError");
        boxText = text;
        boxCaption = caption;
    }

    int RunLauncher() {
        MainModule launcher(*this, *this, *this, *this);
        return launcher.Main();
    }
};

using Calls = std::vector<std::string>;

TEST(MainModuleTest, BuildsTheTrayProgramPathFromTheLaunchersOwnFolder) {
    struct Row {
        std::string_view executable;
        std::string_view expected; // empty: refused
    };
    const Row rows[] = {
        {"C:\\Halcyra\\Corvane.exe", "C:\\Halcyra\\Halcyra.exe"},
        {"C:\\Program Files\\Halcyra Tools\\Corvane.exe",
         "C:\\Program Files\\Halcyra Tools\\Halcyra.exe"},
        {"C:\\Corvane.exe", "C:\\Halcyra.exe"},                     // drive root: one separator
        {"C:\\Halcyra\\\\Corvane.exe", "C:\\Halcyra\\Halcyra.exe"}, // doubled separator
        {"C:/Halcyra/Corvane.exe", "C:/Halcyra\\Halcyra.exe"},
        {"\\\\server\\share\\Corvane.exe", "\\\\server\\share\\Halcyra.exe"},
        {"\\\\?\\C:\\Very Long\\Corvane.exe", "\\\\?\\C:\\Very Long\\Halcyra.exe"},
        {"C:\\ a b \\ Corvane .exe", "C:\\ a b \\Halcyra.exe"}, // blanks are kept as they are
        {"C:\\Halcyra\\renamed-launcher.exe", "C:\\Halcyra\\Halcyra.exe"},
        {"Corvane.exe", ""}, // no folder: must not become "\Halcyra.exe" on the current drive
        {"", ""},
    };
    for (const Row& row : rows) {
        LaunchText out("stale");
        const bool built = MainModule::TrayProgramPath(row.executable, out);
        EXPECT_EQ(built, !row.expected.empty()) << row.executable;
        EXPECT_EQ(out.View(), row.expected) << row.executable;
    }
}

TEST(MainModuleTest, RefusesAPathThatWouldNotFit) {
    std::string folder(LaunchText::kCapacity - MainModule::kTrayProgramFile.size(), 'a');
    LaunchText out;
    EXPECT_TRUE(MainModule::TrayProgramPath(folder + "\\Corvane.exe", out));
    EXPECT_EQ(out.Size(), LaunchText::kCapacity);
    folder.push_back('a');
    EXPECT_FALSE(MainModule::TrayProgramPath(folder + "\\Corvane.exe", out));
    EXPECT_TRUE(out.View().empty());
}

TEST(MainModuleTest, StartsHalcyraShownNormallyWithOnlyItsQuotedPath) {
    RecordingLauncherPlatform platform;
    EXPECT_EQ(platform.RunLauncher(), 0);

    EXPECT_EQ(platform.calls, (Calls{"ExecutablePath", "StartProgram"}));
    ASSERT_EQ(platform.starts.size(), 1u);
    const auto& start = platform.starts[0];
    EXPECT_EQ(start.applicationPath, "C:\\Program Files\\Halcyra\\Halcyra.exe");
    // No "/start" and no other argument: the tray program takes its interactive start.
    EXPECT_EQ(start.commandLine, "\"C:\\Program Files\\Halcyra\\Halcyra.exe\"");
    EXPECT_EQ(start.showCommand, 1);    // SW_SHOWNORMAL
    EXPECT_EQ(start.workingFolder, ""); // inherits the launcher's current folder
}

TEST(MainModuleTest, EachRunStartsOneCopy) {
    RecordingLauncherPlatform platform;
    platform.RunLauncher();
    platform.RunLauncher();
    EXPECT_EQ(platform.starts.size(), 2u);
}

TEST(MainModuleTest, AFailedStartShowsTheErrorWithItsSystemTextAndPath) {
    RecordingLauncherPlatform platform;
    platform.ownPath = "D:\\Tools\\Corvane.exe";
    platform.startError = 2;
    EXPECT_EQ(platform.RunLauncher(), 1);

    EXPECT_EQ(platform.calls,
              (Calls{"ExecutablePath", "StartProgram", "DescribeError", "ShowError"}));
    EXPECT_EQ(platform.described, (std::vector<std::uint32_t>{2}));
    EXPECT_EQ(platform.boxCaption, "Halcyra Launcher");
    EXPECT_EQ(platform.boxText, "Halcyra could not be started.\n\n"
                                "D:\\Tools\\Halcyra.exe\n\n"
                                "Error 2: The system cannot find the file specified.");
}

TEST(MainModuleTest, ErrorTextWithoutASystemDescriptionStillNamesTheCode) {
    struct Row {
        std::string_view systemText;
        std::string_view expectedTail;
    };
    const Row rows[] = {
        {"", "Error 193."},
        {"\r\n", "Error 193."},
        {"Bad exe format", "Error 193: Bad exe format."},
        {"Bad exe format . \r\n", "Error 193: Bad exe format."},
    };
    for (const Row& row : rows) {
        RecordingLauncherPlatform platform;
        platform.startError = 193;
        platform.systemText = row.systemText;
        platform.RunLauncher();
        EXPECT_TRUE(platform.boxText.ends_with("\n\n" + std::string(row.expectedTail)))
            << platform.boxText;
    }
}

TEST(MainModuleTest, ReportsTheLargestCodesInDecimal) {
    LaunchText out;
    MainModule::StartFailureText("X:\\Halcyra.exe", 0xFFFFFFFFu, "", out);
    EXPECT_TRUE(out.View().ends_with("Error 4294967295.")) << out.View();
}

TEST(MainModuleTest, AnUnknownOwnLocationIsReportedAndNothingStarts) {
    struct Row {
        std::uint32_t locateError;
        std::string ownPath;
        std::uint32_t reportedCode;
    };
    const Row rows[] = {
        {122, "", 122},          // the module path could not be read whole
        {0, "Corvane.exe", 161}, // a path without a folder
        {0, "", 161},
    };
    for (const Row& row : rows) {
        RecordingLauncherPlatform platform;
        platform.locateError = row.locateError;
        platform.ownPath = row.ownPath;
        platform.systemText = "Some reason.";
        EXPECT_EQ(platform.RunLauncher(), 1);
        EXPECT_TRUE(platform.starts.empty());
        EXPECT_EQ(platform.calls, (Calls{"ExecutablePath", "DescribeError", "ShowError"}));
        EXPECT_EQ(platform.described, (std::vector<std::uint32_t>{row.reportedCode}));
        EXPECT_EQ(platform.boxCaption, "Halcyra Launcher");
        EXPECT_TRUE(platform.boxText.ends_with("Error " + std::to_string(row.reportedCode) +
                                               ": Some reason."))
            << platform.boxText;
    }
}

TEST(MainModuleTest, AnOverlongSystemTextDoesNotHideTheError) {
    RecordingLauncherPlatform platform;
    platform.startError = 5;
    platform.systemText = std::string(LaunchText::kCapacity, 'x');
    platform.RunLauncher();
    EXPECT_NE(platform.boxText.find("Halcyra.exe\n\nError 5: "), std::string::npos);
}

} // namespace
} // namespace halcyra::test
