// The launcher's platform adapter against the real calls.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "launcher/MainModule.h"
#include "launcher/win32/Win32LauncherPlatform.h"

namespace halcyra::win32::test {
namespace {

TEST(Win32LauncherPlatformTest, ReadsTheWholePathOfTheRunningExecutable) {
    Win32LauncherPlatform platform;
    LaunchText path("stale");
    ASSERT_EQ(platform.ExecutablePath(path), 0u);
    char expected[MAX_PATH];
    GetModuleFileNameA(nullptr, expected, MAX_PATH);
    EXPECT_EQ(path.View(), expected);
    LaunchText program;
    ASSERT_TRUE(MainModule::TrayProgramPath(path.View(), program));
    EXPECT_TRUE(program.View().ends_with("\\Halcyra.exe"));
}

TEST(Win32LauncherPlatformTest, AFailedStartGivesTheSystemCodeAndItsText) {
    struct Row {
        const char* path;
        std::uint32_t code;
    };
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string missingFile = std::string(temp) + "no such folder\\Halcyra.exe";
    const std::string notAProgram = std::string(temp) + "corvane not a program.exe";
    HANDLE file =
        CreateFileA(notAProgram.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, "plain text, not an image", 24, &written, nullptr);
    CloseHandle(file);

    Win32LauncherPlatform platform;
    for (const std::string& path : {missingFile, notAProgram}) {
        const std::string commandLine = "\"" + path + "\"";
        StartRequest request;
        request.applicationPath = path;
        request.commandLine = commandLine;
        request.showCommand = MainModule::kShowNormal;
        const std::uint32_t code = platform.StartProgram(request);
        EXPECT_NE(code, 0u) << path;
        LaunchText text;
        platform.DescribeError(code, text);
        EXPECT_FALSE(text.View().empty()) << "code " << code;
    }
    DeleteFileA(notAProgram.c_str());
}

TEST(Win32LauncherPlatformTest, AnUnknownCodeHasNoText) {
    Win32LauncherPlatform platform;
    LaunchText text;
    platform.DescribeError(0x2FFFFFFF, text);
    EXPECT_TRUE(text.View().empty()) << text.View();
}

} // namespace
} // namespace halcyra::win32::test
