// The setup program and its uninstaller, run as a user or an administrator's script would run
// them, around a real Halcyra.exe: install, start and tick the startup box, upgrade over the
// running copy, uninstall while a copy runs. HALCYRA_SETUP names the setup program (a Unix
// path); installer/test-setup.sh builds it and runs this program in a fresh Wine prefix.
#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdlib>
#include <string>

#include "e2e/app/HalcyraDriver.h"
#include "app/ControlIds.h"

namespace halcyra::test {
namespace {

const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Halcyra";
const char* kOtherCopy = "C:\\Tools\\Halcyra\\Halcyra.exe /start";

std::string Folder(int csidl) {
    char path[MAX_PATH] = {};
    ::SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

// Paths are UTF-8: a folder may lie outside the ANSI code page.
std::wstring Wide(const std::string& utf8) {
    wchar_t wide[1024] = {};
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, wide, 1024);
    return wide;
}

struct Install {
    std::string folder = Folder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Halcyra";
    std::string exe = folder + "\\Halcyra.exe";
    std::string shortcut = Folder(CSIDL_PROGRAMS) + "\\Halcyra.lnk";
    // The Run entry as the program's own check box writes it.
    std::string RunEntry() const {
        const bool blank = exe.find_first_of(" \t") != std::string::npos;
        return (blank ? "\"" + exe + "\"" : exe) + " /start";
    }
};

bool Exists(const std::string& path) {
    return ::GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool SameText(const std::string& a, const std::string& b) {
    return ::lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

// The exit code of a command line run to its end, or -1.
int RunToEnd(const std::string& commandLine, int milliseconds = 120000) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring line = Wide(commandLine);
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                          &pi)) {
        return -1;
    }
    DWORD code = static_cast<DWORD>(-1);
    if (::WaitForSingleObject(pi.hProcess, static_cast<DWORD>(milliseconds)) == WAIT_OBJECT_0) {
        ::GetExitCodeProcess(pi.hProcess, &code);
    }
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return static_cast<int>(code);
}

// HALCYRA_SETUP_BRANCH32 names a setup that takes the 32-bit branch on any Windows.
int RunSetup(const std::string& arguments, const char* variable = "HALCYRA_SETUP") {
    const char* setup = std::getenv(variable);
    return setup ? RunToEnd("\"" + WindowsPath(setup) + "\" " + arguments) : -1;
}

// A string value of the Uninstall entry, in UTF-8.
std::string UninstallValue(const char* name) {
    wchar_t value[1024] = {};
    DWORD size = sizeof value;
    ::RegGetValueW(HKEY_CURRENT_USER, Wide(kUninstallKey).c_str(), Wide(name).c_str(),
                   RRF_RT_REG_SZ, nullptr, value, &size);
    char utf8[2048] = {};
    ::WideCharToMultiByte(CP_UTF8, 0, value, -1, utf8, sizeof utf8, nullptr, nullptr);
    return utf8;
}

bool ValueExists(const char* key, const char* name) {
    return ::RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_ANY, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
}

bool KeyExists(const char* key) {
    HKEY k = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &k) != ERROR_SUCCESS) {
        return false;
    }
    ::RegCloseKey(k);
    return true;
}

// The number, or -1 when the value is missing or not a DWORD.
long long ReadDword(const char* key, const char* name) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (::RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size) !=
        ERROR_SUCCESS) {
        return -1;
    }
    return value;
}

std::string ShortcutTarget(const std::string& link) {
    std::string target;
    IShellLinkA* shellLink = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(&shellLink)))) {
        return "(no shell link object)";
    }
    IPersistFile* file = nullptr;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        const std::wstring wide(link.begin(), link.end());
        char path[MAX_PATH] = {};
        if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ)) &&
            SUCCEEDED(shellLink->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH))) {
            target = path;
        }
        file->Release();
    }
    shellLink->Release();
    return target;
}

// The image path of the process that owns a window.
std::string ProgramOf(HWND hwnd) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    char path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (process) {
        ::QueryFullProcessImageNameA(process, 0, path, &size);
        ::CloseHandle(process);
    }
    return path;
}

// The main window of a running copy started from that program file.
HWND MainWindowOf(const std::string& exe) {
    for (HWND hwnd : WindowsOf(0, "HalcyraForm", "Halcyra")) {
        if (SameText(ProgramOf(hwnd), exe)) {
            return hwnd;
        }
    }
    return nullptr;
}

// A handle that outlives the process, to read how it ended.
HANDLE OpenProcessOf(HWND hwnd) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    return ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, pid);
}

// 0 after the program's own exit (its message loop ended by its window's close); a process
// that was killed ends with another code.
DWORD ExitCodeOf(HANDLE process) {
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(process, &code);
    return code;
}

void EndCopiesOf(const std::string& exe) {
    while (HWND hwnd = MainWindowOf(exe)) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(hwnd, &pid);
        HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
        if (!process) {
            return;
        }
        ::TerminateProcess(process, 1);
        ::WaitForSingleObject(process, 5000);
        ::CloseHandle(process);
    }
}

class Setup : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(std::getenv("HALCYRA_SETUP"), nullptr) << "HALCYRA_SETUP names no setup";
        ::CoInitialize(nullptr);
        Clean();
    }
    void TearDown() override {
        Clean();
        ::CoUninitialize();
    }
    void Clean() {
        EndCopiesOf(install.exe);
        for (const char* name : {"Halcyra.exe", "Corvane.exe", "README.txt", "Uninstall.exe"}) {
            ::DeleteFileW(Wide(install.folder + "\\" + name).c_str());
        }
        ::RemoveDirectoryW(Wide(install.folder).c_str());
        ::DeleteFileA(install.shortcut.c_str());
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kUninstallKey);
        ClearStoredState();
    }
    // Runs the uninstaller as the list of programs would: it is done when it returns, but for
    // its own file and the emptied folder, which go once it has ended.
    void UninstallQuietly() {
        const std::string command = UninstallValue("QuietUninstallString");
        ASSERT_EQ(command, QuietUninstallString());
        ASSERT_EQ(RunToEnd(command), 0);
        EXPECT_FALSE(Exists(install.exe) || KeyExists(kUninstallKey)) << "returned before the end";
        EXPECT_TRUE(WaitUntil([&] { return !Exists(install.folder); }, 60000))
            << "still there:" << Leftovers();
    }
    std::string QuietUninstallString() const {
        return "\"" + install.folder + "\\Uninstall.exe\" /S _?=" + install.folder;
    }
    std::string Leftovers() const {
        std::string left;
        for (const char* name :
             {"", "\\Halcyra.exe", "\\Corvane.exe", "\\README.txt", "\\Uninstall.exe"}) {
            if (Exists(install.folder + name)) {
                left += " " + install.folder + name;
            }
        }
        if (MainWindowOf(install.exe)) {
            left += " a running copy";
        }
        return KeyExists(kUninstallKey) ? left + " the Uninstall entry" : left;
    }

    Install install;
};

TEST_F(Setup, InstallsSilentlyUpgradesARunningCopyAndUninstallsWhileOneRuns) {
    SetSetting("HotKeyShutdown", "S");
    ASSERT_EQ(RunSetup("/S"), 0);

    for (const char* name : {"Halcyra.exe", "Corvane.exe", "README.txt", "Uninstall.exe"}) {
        EXPECT_TRUE(Exists(install.folder + "\\" + name)) << name;
    }
    DWORD kind = 0;
    EXPECT_TRUE(::GetBinaryTypeA(install.exe.c_str(), &kind) && kind == SCS_64BIT_BINARY)
        << "the 64-bit program on 64-bit Windows";
    EXPECT_TRUE(SameText(ShortcutTarget(install.shortcut), install.exe));

    const std::string uninstaller = "\"" + install.folder + "\\Uninstall.exe\"";
    const struct {
        const char* name;
        std::string value;
    } strings[] = {{"DisplayName", "Halcyra"},
                   {"DisplayVersion", HALCYRA_VERSION},
                   {"Publisher", "Quorvix Software"},
                   {"DisplayIcon", install.exe},
                   {"InstallLocation", install.folder},
                   {"UninstallString", uninstaller + " _?=" + install.folder},
                   {"QuietUninstallString", QuietUninstallString()}};
    for (const auto& row : strings) {
        EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kUninstallKey, row.name), row.value) << row.name;
    }
    EXPECT_EQ(ReadDword(kUninstallKey, "NoModify"), 1);
    EXPECT_EQ(ReadDword(kUninstallKey, "NoRepair"), 1);
    EXPECT_GT(ReadDword(kUninstallKey, "EstimatedSize"), 0) << "in KB";
    EXPECT_FALSE(ValueExists(kRunKey, "Halcyra")) << "a silent install leaves the startup alone";

    // The installed copy, as the Start menu starts it; the user ticks the startup box and
    // sends it to the tray.
    HalcyraProcess first("", install.exe.c_str());
    HWND firstHwnd = first.WaitReady();
    ASSERT_NE(firstHwnd, nullptr);
    ::SendMessageA(::GetDlgItem(firstHwnd, ID_CHECK1), BM_CLICK, 0, 0);
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kRunKey, "Halcyra"), install.RunEntry());
    ::SendMessageA(::GetDlgItem(firstHwnd, ID_COMMANDMINIMIZE), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return TrayIconPresent(firstHwnd); }));
    EXPECT_FALSE(HotkeyFree('S'));
    HANDLE firstProcess = OpenProcessOf(firstHwnd);

    // Setup again over the running copy: it closes as from its close box (icon and hotkeys
    // given back), and a new copy comes up in the tray from the new files.
    ASSERT_EQ(RunSetup("/S"), 0);
    EXPECT_TRUE(first.WaitForExit(1000)) << "ended before setup returned";
    EXPECT_EQ(ExitCodeOf(firstProcess), 0u) << "ended by its own exit, not killed";
    ::CloseHandle(firstProcess);
    EXPECT_FALSE(TrayIconPresent(firstHwnd));
    HWND second = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        second = MainWindowOf(install.exe);
        return second != nullptr && TrayIconPresent(second);
    })) << "started again in the tray";
    EXPECT_FALSE(::IsWindowVisible(second));
    EXPECT_TRUE(WaitUntil([] { return !HotkeyFree('S'); })) << "the new copy holds the hotkey";
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kRunKey, "Halcyra"), install.RunEntry());

    // Uninstall while it runs: the copy ends cleanly, everything of the install goes, the
    // user's settings stay.
    HANDLE secondProcess = OpenProcessOf(second);
    UninstallQuietly();
    EXPECT_EQ(::WaitForSingleObject(secondProcess, 0), WAIT_OBJECT_0);
    EXPECT_EQ(ExitCodeOf(secondProcess), 0u) << "ended by its own exit, not killed";
    ::CloseHandle(secondProcess);
    EXPECT_FALSE(::IsWindow(second));
    EXPECT_FALSE(TrayIconPresent(second));
    EXPECT_TRUE(HotkeyFree('S'));
    EXPECT_FALSE(Exists(install.shortcut));
    EXPECT_FALSE(ValueExists(kRunKey, "Halcyra"));
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kSettingsKey, "HotKeyShutdown"), "S");
}

TEST_F(Setup, LeavesAnotherCopyAndItsStartupEntryAlone) {
    ASSERT_EQ(RunSetup("/S"), 0);
    // A copy kept elsewhere, started at sign-in from its own folder.
    SetRunEntry(kOtherCopy);
    ASSERT_EQ(RunSetup("/S"), 0) << "an upgrade";
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kRunKey, "Halcyra"), kOtherCopy);
    {
        // The installed copy, once started, points the one entry to itself.
        HalcyraProcess installed("/start", install.exe.c_str());
        ASSERT_NE(installed.WaitReady(), nullptr);
        EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kRunKey, "Halcyra"), install.RunEntry());
    }

    // A copy running from the build folder is no part of the install.
    HalcyraProcess other;
    ASSERT_NE(other.WaitReady(), nullptr);
    const std::string otherEntry = ReadString(HKEY_CURRENT_USER, kRunKey, "Halcyra");
    EXPECT_NE(otherEntry, kOtherCopy) << "rewritten by the running copy to its own folder";

    UninstallQuietly();
    EXPECT_TRUE(other.Running());
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kRunKey, "Halcyra"), otherEntry);
}

// Setup into a folder given with /D=, then the quiet uninstaller: a folder that holds another
// program's files gets a Halcyra folder of its own, and those files stay.
TEST_F(Setup, InstallsIntoTheFolderGivenAndRemovesOnlyItsOwnFiles) {
    const std::string tools = "C:\\Tools";
    const struct {
        const char* setup; // the variable naming it
        std::string given, folder;
        DWORD kind;
    } rows[] = {
        {"HALCYRA_SETUP", "C:\\My Tools\\Halcyra", "C:\\My Tools\\Halcyra", SCS_64BIT_BINARY},
        // Outside the ANSI code page, and the 32-bit pair.
        {"HALCYRA_SETUP_BRANCH32", "C:\\\u0418\u043d\u0441\u0442 \u03a9",
         "C:\\\u0418\u043d\u0441\u0442 \u03a9", SCS_32BIT_BINARY},
        {"HALCYRA_SETUP", tools, tools + "\\Halcyra", SCS_64BIT_BINARY},
    };
    ::CreateDirectoryA(tools.c_str(), nullptr);
    const std::string theirs[] = {tools + "\\README.txt", tools + "\\Uninstall.exe"};
    for (const auto& file : theirs) {
        ::CloseHandle(
            ::CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    }
    for (const auto& row : rows) {
        SCOPED_TRACE(row.given);
        if (!std::getenv(row.setup)) {
            continue; // a release's setup alone: no 32-bit branch to force
        }
        install.folder = row.folder;
        install.exe = row.folder + "\\Halcyra.exe";
        Clean();
        ASSERT_EQ(RunSetup("/S /D=" + row.given, row.setup), 0);
        EXPECT_EQ(UninstallValue("InstallLocation"), row.folder);
        DWORD kind = 99;
        EXPECT_TRUE(::GetBinaryTypeW(Wide(install.exe).c_str(), &kind) && kind == row.kind);
        UninstallQuietly();
    }
    for (const auto& file : theirs) {
        EXPECT_TRUE(Exists(file)) << file;
        ::DeleteFileA(file.c_str());
    }
    ::RemoveDirectoryA(tools.c_str());
}

// A copy that does not close (hung here): setup and uninstaller change nothing and say so.
TEST_F(Setup, StopsWithCodeTwoWhenARunningCopyDoesNotClose) {
    ASSERT_EQ(RunSetup("/S"), 0);
    const std::string readme = install.folder + "\\README.txt";
    ::DeleteFileA(readme.c_str()); // back only if setup wrote its files
    HalcyraProcess copy("/start", install.exe.c_str());
    HWND hwnd = copy.WaitReady();
    ASSERT_NE(hwnd, nullptr);
    HANDLE thread =
        ::OpenThread(THREAD_SUSPEND_RESUME, FALSE, ::GetWindowThreadProcessId(hwnd, nullptr));
    ASSERT_NE(::SuspendThread(thread), static_cast<DWORD>(-1));

    EXPECT_EQ(RunSetup("/S"), 2);
    EXPECT_FALSE(Exists(readme));
    EXPECT_EQ(RunToEnd(UninstallValue("QuietUninstallString")), 2);
    EXPECT_TRUE(Exists(install.exe) && KeyExists(kUninstallKey));
    ::ResumeThread(thread);
    ::CloseHandle(thread);
}

// The uninstaller's window, or its Yes/No question box; their titles end in a blank.
HWND UninstallerWindow(bool question) {
    for (HWND hwnd : WindowsOf(0, "#32770", nullptr)) {
        char title[64] = {};
        ::GetWindowTextA(hwnd, title, sizeof title);
        if (std::string(title).rfind("Halcyra Uninstall", 0) == 0 && ::IsWindowVisible(hwnd) &&
            (::GetDlgItem(hwnd, IDNO) != nullptr) == question) {
            return hwnd;
        }
    }
    return nullptr;
}

TEST_F(Setup, TheUninstallerAsksBeforeRemovingTheSettingsAndKeepsThemByDefault) {
    for (const char* answer : {"No", "Yes"}) {
        SCOPED_TRACE(answer);
        ASSERT_EQ(RunSetup("/S"), 0);
        SetSetting("HotKeyShutdown", "S");
        // Started without "_?=" it copies itself elsewhere and returns at once.
        ASSERT_EQ(RunToEnd("\"" + install.folder + "\\Uninstall.exe\""), 0);
        HWND window = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (window = UninstallerWindow(false)) != nullptr; }));
        ::PostMessageA(::GetDlgItem(window, IDOK), BM_CLICK, 0, 0); // "Uninstall"
        HWND box = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (box = UninstallerWindow(true)) != nullptr; }));
        EXPECT_NE(MessageBoxText(box).find("remove your Halcyra settings"), std::string::npos)
            << MessageBoxText(box);
        EXPECT_TRUE(::GetWindowLongA(::GetDlgItem(box, IDNO), GWL_STYLE) & BS_DEFPUSHBUTTON)
            << "No is the default answer";
        const bool yes = std::string(answer) == "Yes";
        ::PostMessageA(::GetDlgItem(box, yes ? IDYES : IDNO), BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(box); }));
        // The last page's button closes the uninstaller once it is done.
        EXPECT_TRUE(WaitUntil(
            [&] {
                return ::IsWindowEnabled(::GetDlgItem(window, IDOK)) && !Exists(install.folder);
            },
            60000));
        ::PostMessageA(::GetDlgItem(window, IDOK), BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(window); }));
        EXPECT_EQ(KeyExists(kSettingsKey), !yes);
        EXPECT_FALSE(KeyExists(kUninstallKey));
    }
}

} // namespace
} // namespace halcyra::test
