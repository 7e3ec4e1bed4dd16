// Corvane.exe under Wine, started from a second process: it starts the Halcyra.exe that lies
// beside it, whatever the current folder, and shows an error box when there is none.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/WinePath.h"

using halcyra::test::WindowsPath;

namespace {

std::string ReadWholeFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::string text(65536, '\0');
    DWORD read = 0;
    ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &read, nullptr);
    CloseHandle(file);
    text.resize(read);
    return text;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

struct Process {
    DWORD id = 0;
    HANDLE handle = nullptr;
    ~Process() {
        if (handle) {
            TerminateProcess(handle, 99); // only if a test failed before it ended
            CloseHandle(handle);
        }
    }
    DWORD WaitForExit(DWORD ms) {
        DWORD code = 0xDEAD;
        if (WaitForSingleObject(handle, ms) == WAIT_OBJECT_0) {
            GetExitCodeProcess(handle, &code);
        }
        return code;
    }
};

class CorvaneTest : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        const std::string base = std::string(temp) + "corvane test " +
                                 std::to_string(GetCurrentProcessId()) + " " +
                                 ::testing::UnitTest::GetInstance()->current_test_info()->name();
        root_ = base;
        appFolder_ = base + "\\Program Files\\Halcyra";
        otherFolder_ = base + "\\elsewhere";
        for (const std::string& folder :
             {root_, base + "\\Program Files", appFolder_, otherFolder_}) {
            CreateDirectoryA(folder.c_str(), nullptr);
        }
        launcher_ = appFolder_ + "\\Corvane.exe";
        ASSERT_TRUE(CopyFileA(WindowsPath(CORVANE_EXE).c_str(), launcher_.c_str(), FALSE));
    }

    void TearDown() override {
        for (const char* name : {"\\Corvane.exe", "\\Halcyra.exe", "\\started.log"}) {
            DeleteFileA((appFolder_ + name).c_str());
        }
        RemoveDirectoryA(appFolder_.c_str());
        RemoveDirectoryA((root_ + "\\Program Files").c_str());
        RemoveDirectoryA(otherFolder_.c_str());
        RemoveDirectoryA(root_.c_str());
    }

    void PlaceStandIn() { PlaceAsHalcyra(STANDIN_EXE); }
    void PlaceAsHalcyra(const char* unixPath) {
        ASSERT_TRUE(CopyFileA(WindowsPath(unixPath).c_str(), (appFolder_ + "\\Halcyra.exe").c_str(),
                              FALSE));
    }

    // Starts the launcher as a shortcut would: from another current folder, with arguments
    // that it must ignore.
    void StartLauncher(Process& process) {
        std::string commandLine = "\"" + launcher_ + "\" /start extra";
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        ASSERT_TRUE(CreateProcessA(launcher_.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                                   0, nullptr, otherFolder_.c_str(), &startup, &info));
        CloseHandle(info.hThread);
        process.id = info.dwProcessId;
        process.handle = info.hProcess;
    }

    // The stand-in is not waited for by the launcher: poll for its log lines.
    std::vector<std::string> WaitForStarts(std::size_t count) {
        std::vector<std::string> lines;
        for (int i = 0; i < 200 && lines.size() < count; ++i) {
            Sleep(50);
            lines = Lines(ReadWholeFile(appFolder_ + "\\started.log"));
        }
        return lines;
    }

    std::string root_, appFolder_, otherFolder_, launcher_;
};

TEST_F(CorvaneTest, StartsHalcyraBesideItWithoutArgumentsFromAnotherFolder) {
    PlaceStandIn();
    Process launcher;
    StartLauncher(launcher);
    EXPECT_EQ(launcher.WaitForExit(20000), 0u);

    const auto lines = WaitForStarts(1);
    ASSERT_EQ(lines.size(), 1u);
    // Only the quoted path: the launcher's own "/start extra" is not passed on; the current
    // folder is inherited; the window is to be shown normally (SW_SHOWNORMAL).
    EXPECT_EQ(lines[0], "\"" + appFolder_ + "\\Halcyra.exe\"|" + otherFolder_ + "|1|1");
}

TEST_F(CorvaneTest, EachStartOfTheLauncherStartsAnotherCopy) {
    PlaceStandIn();
    for (int i = 0; i < 2; ++i) {
        Process launcher;
        StartLauncher(launcher);
        EXPECT_EQ(launcher.WaitForExit(20000), 0u);
    }
    EXPECT_EQ(WaitForStarts(2).size(), 2u);
}

struct FoundBox {
    DWORD process;
    HWND box;
};

BOOL CALLBACK FindBoxOf(HWND hwnd, LPARAM param) {
    auto* found = reinterpret_cast<FoundBox*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    char cls[16] = {};
    GetClassNameA(hwnd, cls, sizeof(cls));
    if (owner == found->process && std::string(cls) == "#32770" && IsWindowVisible(hwnd)) {
        found->box = hwnd;
        return FALSE;
    }
    return TRUE;
}

TEST_F(CorvaneTest, WithoutHalcyraShowsAnErrorBoxNamingTheErrorAndPath) {
    Process launcher;
    StartLauncher(launcher);

    FoundBox found{launcher.id, nullptr};
    for (int i = 0; i < 200 && !found.box; ++i) {
        Sleep(50);
        EnumWindows(FindBoxOf, reinterpret_cast<LPARAM>(&found));
    }
    ASSERT_NE(found.box, nullptr) << "no error box";
    char title[64] = {};
    GetWindowTextA(found.box, title, sizeof(title));
    EXPECT_STREQ(title, "Halcyra Launcher");
    char text[1024] = {};
    GetWindowTextA(GetDlgItem(found.box, 0xFFFF), text, sizeof(text));
    const std::string message = text;
    EXPECT_NE(message.find("Halcyra could not be started."), std::string::npos) << message;
    EXPECT_NE(message.find(appFolder_ + "\\Halcyra.exe"), std::string::npos) << message;
    // ERROR_FILE_NOT_FOUND with the system's own words after it.
    EXPECT_NE(message.find("Error 2: "), std::string::npos) << message;
    EXPECT_GT(message.size(), message.find("Error 2: ") + 10) << message;

    EXPECT_EQ(launcher.WaitForExit(300), 0xDEADu) << "ended before the box was closed";
    SendMessageA(GetDlgItem(found.box, IDOK), BM_CLICK, 0, 0);
    EXPECT_EQ(launcher.WaitForExit(20000), 1u);
    EXPECT_TRUE(ReadWholeFile(appFolder_ + "\\started.log").empty());
}

#ifdef HALCYRA_EXE
// With the real tray program beside it: its main window comes up, from the copy in the
// launcher's folder.
TEST_F(CorvaneTest, StartsTheRealHalcyraWhoseWindowComesUp) {
    if (GetFileAttributesA(WindowsPath(HALCYRA_EXE).c_str()) == INVALID_FILE_ATTRIBUTES) {
        GTEST_SKIP() << "Halcyra.exe not built";
    }
    PlaceAsHalcyra(HALCYRA_EXE);
    Process launcher;
    StartLauncher(launcher);
    EXPECT_EQ(launcher.WaitForExit(20000), 0u);

    HWND window = nullptr;
    for (int i = 0; i < 300 && !(window && IsWindowVisible(window)); ++i) {
        Sleep(50);
        window = FindWindowA("HalcyraForm", "Halcyra");
    }
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindowVisible(window));
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    Process halcyra;
    halcyra.handle = OpenProcess(
        PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE | PROCESS_TERMINATE, FALSE, owner);
    ASSERT_NE(halcyra.handle, nullptr);
    char image[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    QueryFullProcessImageNameA(halcyra.handle, 0, image, &size);
    EXPECT_STRCASEEQ(image, (appFolder_ + "\\Halcyra.exe").c_str());

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_NE(halcyra.WaitForExit(20000), 0xDEADu);
    CloseHandle(halcyra.handle);
    halcyra.handle = nullptr;
}
#endif

} // namespace
