// Halcyra and Corvane where users really put them: a renamed copy, a folder with blanks started
// through a Run line written without quotes, a folder named in letters outside the system's
// code page, and settings that someone else wrote.
#include <gtest/gtest.h>

#include <string>

#include "HalcyraDriver.h"
#include "app/ControlIds.h"
#include "settings/win32/frmOptionsResources.h"

namespace halcyra::test {
namespace {

std::wstring Wide(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

// Cyrillic and Thai together: outside every single code page but UTF-8, whatever the locale
// the bench's Wine takes its ANSI code page from.
const wchar_t* const kForeignName =
    L"\x0425\x0430\x043b\x0446\x0438\x0440\x0430-\x0e44\x0e17\x0e22"; // "Халцира-ไทย"

// Whether the system's ANSI code page lacks a letter of text: the condition under test.
bool OutsideAnsiCodePage(const std::wstring& text) {
    BOOL usedDefault = FALSE;
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), -1, nullptr, 0, nullptr,
                          &usedDefault);
    return usedDefault != FALSE;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                  static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// A folder under the prefix's temporary folder, with everything placed in it removed after.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::wstring& name) {
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        wchar_t full[MAX_PATH] = {};
        // The long form: the program reports its path so, and the Run entry carries it.
        ::GetLongPathNameW(temp, full, MAX_PATH);
        path_ = std::wstring(full) + name;
        ::CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~ScratchFolder() {
        for (const std::wstring& file : files_) {
            ::DeleteFileW(file.c_str());
        }
        ::RemoveDirectoryW(path_.c_str());
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Copies a built program (its Unix path) in under name; its full path, empty on failure.
    std::wstring Place(const char* unixPath, const std::wstring& name) {
        const std::wstring target = path_ + L"\\" + name;
        if (!::CopyFileW(Wide(WindowsPath(unixPath)).c_str(), target.c_str(), FALSE)) {
            return {};
        }
        files_.push_back(target);
        return target;
    }
    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_;
    std::vector<std::wstring> files_;
};

// One started process, ended when the test is done with it.
class Started {
public:
    Started(const wchar_t* program, std::wstring commandLine, const wchar_t* folder = nullptr) {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        ok_ = ::CreateProcessW(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               folder, &si, &pi_) != FALSE;
    }
    ~Started() {
        if (ok_) {
            if (::WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) {
                ::TerminateProcess(pi_.hProcess, 1);
                ::WaitForSingleObject(pi_.hProcess, 5000);
            }
            ::CloseHandle(pi_.hThread);
            ::CloseHandle(pi_.hProcess);
        }
    }
    Started(const Started&) = delete;
    Started& operator=(const Started&) = delete;

    bool Ok() const { return ok_; }
    DWORD Pid() const { return pi_.dwProcessId; }
    bool Running() const { return ::WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT; }
    // The exit code, or STILL_ACTIVE when it did not end in time.
    DWORD ExitCode(int milliseconds) const {
        DWORD code = STILL_ACTIVE;
        if (::WaitForSingleObject(pi_.hProcess, static_cast<DWORD>(milliseconds)) ==
            WAIT_OBJECT_0) {
            ::GetExitCodeProcess(pi_.hProcess, &code);
        }
        return code;
    }

private:
    PROCESS_INFORMATION pi_{};
    bool ok_ = false;
};

// The main window of a process once start-up is over (its three messages subclassed, and the
// window shown or the icon added); null when that does not happen.
HWND ReadyWindow(DWORD pid, bool hidden) {
    HWND hwnd = nullptr;
    WaitUntil([&] {
        const auto found = WindowsOf(pid, "HalcyraForm", "Halcyra");
        hwnd = found.empty() ? nullptr : found.front();
        return hwnd != nullptr;
    });
    if (!hwnd) {
        return nullptr;
    }
    const std::string count = "C" + std::to_string(reinterpret_cast<INT_PTR>(hwnd));
    const bool ready =
        WaitUntil([&] { return ::GetPropA(hwnd, count.c_str()) != nullptr; }) &&
        WaitUntil([&] { return hidden ? TrayIconPresent(hwnd) : ::IsWindowVisible(hwnd) != 0; });
    return ready ? hwnd : nullptr;
}

std::wstring RunEntry() {
    wchar_t data[2048] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    if (::RegGetValueW(HKEY_CURRENT_USER, Wide(kRunKey).c_str(), L"Halcyra", RRF_RT_REG_SZ, nullptr,
                       data, &size) != ERROR_SUCCESS) {
        return L"(absent)";
    }
    return data;
}

std::string Utf8(const std::wstring& text) {
    std::string out(text.size() * 3 + 1, '\0');
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                        out.data(), static_cast<int>(out.size()), nullptr, nullptr);
    out.resize(static_cast<std::size_t>(n > 0 ? n : 0));
    return out;
}

class Paths : public ::testing::Test {
protected:
    void SetUp() override { ClearStoredState(); }
    void TearDown() override { ClearStoredState(); }
};

TEST_F(Paths, ARenamedCopyWithADotWritesItsOwnName) {
    ScratchFolder folder(L"HalcyraRenamed");
    for (const wchar_t* name : {L"Halcyra.v2.exe", L"halcyra.portable.exe"}) {
        const std::wstring exe = folder.Place(HALCYRA_EXE, name);
        ASSERT_FALSE(exe.empty());
        SetRunEntry("C:\\Old\\Halcyra.exe /start");
        Started copy(exe.c_str(), L"\"" + exe + L"\"");
        ASSERT_TRUE(copy.Ok());
        ASSERT_NE(ReadyWindow(copy.Pid(), false), nullptr) << Utf8(exe);
        EXPECT_EQ(Utf8(RunEntry()), Utf8(exe + L" /start"));
    }
}

TEST_F(Paths, AnUnquotedRunLineWithBlanksStillStartsInTheTray) {
    ScratchFolder folder(L"Halcyra Legacy Folder");
    const std::wstring exe = folder.Place(HALCYRA_EXE, L"Halcyra.exe");
    ASSERT_FALSE(exe.empty());
    const struct {
        const wchar_t* arguments;
        bool hidden;
    } rows[] = {{L" /start", true}, {L" /start second", false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(Utf8(row.arguments));
        // The line exactly as a Run entry holds it. Given no program name, Wine would find the
        // program and quote it in the line itself; Windows hands the line over as it stands.
        Started halcyra(exe.c_str(), exe + row.arguments);
        ASSERT_TRUE(halcyra.Ok()) << ::GetLastError();
        HWND hwnd = ReadyWindow(halcyra.Pid(), row.hidden);
        ASSERT_NE(hwnd, nullptr);
        EXPECT_EQ(::IsWindowVisible(hwnd) != 0, !row.hidden);
        EXPECT_EQ(TrayIconPresent(hwnd), row.hidden);
    }
}

#ifdef CORVANE_EXE
TEST_F(Paths, FromAFolderOutsideTheCodePageTheLauncherStartsHalcyraThere) {
    ASSERT_TRUE(OutsideAnsiCodePage(kForeignName)) << "code page " << ::GetACP();
    ScratchFolder folder(kForeignName);
    ScratchFolder elsewhere(L"HalcyraElsewhere");
    const std::wstring corvaneExe = folder.Place(CORVANE_EXE, L"Corvane.exe");
    ASSERT_FALSE(corvaneExe.empty());
    {
        // Alone there, the launcher names the missing program by its whole path.
        Started alone(corvaneExe.c_str(), L"\"" + corvaneExe + L"\"", elsewhere.Path().c_str());
        ASSERT_TRUE(alone.Ok());
        HWND box = nullptr;
        ASSERT_TRUE(WaitUntil([&] {
            const auto boxes = WindowsOf(alone.Pid(), "#32770", "Halcyra Launcher");
            box = boxes.empty() ? nullptr : boxes.front();
            return box && ::IsWindowVisible(box);
        }));
        wchar_t text[1024] = {};
        ::GetDlgItemTextW(box, 0xFFFF, text, 1024);
        const std::wstring message = text;
        EXPECT_NE(message.find(folder.Path() + L"\\Halcyra.exe"), std::wstring::npos)
            << Utf8(message);
        EXPECT_NE(message.find(L"Error 2: "), std::wstring::npos) << Utf8(message);
        ::SendMessageA(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        EXPECT_EQ(alone.ExitCode(20000), 1u);
    }
    const std::wstring halcyraExe = folder.Place(HALCYRA_EXE, L"Halcyra.exe");
    ASSERT_FALSE(halcyraExe.empty());

    Started launcher(corvaneExe.c_str(), L"\"" + corvaneExe + L"\"", elsewhere.Path().c_str());
    ASSERT_TRUE(launcher.Ok());
    HWND window = nullptr;
    const bool up = WaitUntil(
        [&] {
            window = ::FindWindowA("HalcyraForm", "Halcyra");
            return window && ::IsWindowVisible(window);
        },
        15000);
    if (!up) {
        // The launcher's error box says why; close it so the launcher ends.
        const auto boxes = WindowsOf(launcher.Pid(), "#32770", nullptr);
        ASSERT_FALSE(boxes.empty()) << "neither Halcyra's window nor an error box";
        const std::string text = MessageBoxText(boxes.front());
        ::PostMessageA(boxes.front(), WM_CLOSE, 0, 0);
        FAIL() << text;
    }
    EXPECT_EQ(launcher.ExitCode(20000), 0u);

    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    HANDLE process = ::OpenProcess(
        PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
    ASSERT_NE(process, nullptr);
    wchar_t image[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    ::QueryFullProcessImageNameW(process, 0, image, &size);
    EXPECT_TRUE(SamePath(image, halcyraExe)) << Utf8(image);

    // Ticking the startup box writes this folder, letter for letter.
    ::SendMessageA(::GetDlgItem(window, ID_CHECK1), BM_CLICK, 0, 0);
    EXPECT_EQ(Utf8(RunEntry()), Utf8(halcyraExe + L" /start"));

    ::PostMessageA(window, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(process, 20000) != WAIT_OBJECT_0) {
        ::TerminateProcess(process, 1);
        ADD_FAILURE() << "did not end on close";
    }
    ::CloseHandle(process);
}
#endif

// Values of every key that the program never writes itself.
void SetRaw(const wchar_t* key, const wchar_t* name, DWORD type, const std::wstring& text,
            DWORD extraBytes = 0) {
    HKEY handle = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle,
                          nullptr) == ERROR_SUCCESS) {
        ::RegSetValueExW(handle, name, 0, type, reinterpret_cast<const BYTE*>(text.data()),
                         static_cast<DWORD>(text.size() * sizeof(wchar_t)) + extraBytes);
        ::RegCloseKey(handle);
    }
}

TEST_F(Paths, HostileSettingsInEveryKeyNeitherCrashNorMisbehave) {
    using namespace std::string_literals;
    const std::wstring settings = Wide(kSettingsKey);
    const std::wstring longDigits(70000, L'1');
    const struct {
        const wchar_t* name;
        DWORD type;
        std::wstring text;
        DWORD extraBytes;
    } rows[] = {
        {L"Confirm", REG_SZ, L"1e400"s + L'\0', 0},
        {L"HotKeyScreenSaver", REG_SZ, std::wstring(70000, L'A') + L'\0', 0},
        {L"HotKeyMonitor", REG_SZ, L""s, 0},
        {L"HotKeyLogOff", REG_DWORD, L"L\0"s, 0},
        {L"HotKeyShutdown", REG_SZ, L"S\0ignored\0"s, 0}, // the text ends at its first NUL
        {L"HotKeyRestart", REG_BINARY, L"R"s, 0},
        {L"HotKeyHibernate", REG_MULTI_SZ, L"H\0\0"s, 0},
        {L"HotKeyStandby", REG_SZ, L"\xd800"s + L'\0', 1},
        {L"HotKeyScreenSaverIndex", REG_SZ, L"-1"s + L'\0', 0},
        {L"HotKeyMonitorIndex", REG_SZ, L"27"s + L'\0', 0},
        {L"HotKeyLogOffIndex", REG_SZ, longDigits + L'\0', 0},
        {L"HotKeyShutdownIndex", REG_SZ, L"abc"s, 0},
        {L"HotKeyRestartIndex", REG_SZ, L""s, 1},
        {L"HotKeyHibernateIndex", REG_DWORD, L"\x0005\0"s, 0},
        {L"HotKeyStandbyIndex", REG_EXPAND_SZ, L"%1%\0"s, 0},
    };
    for (const auto& row : rows) {
        SetRaw(settings.c_str(), row.name, row.type, row.text, row.extraBytes);
    }
    // A Run value that is a number still counts as present and is rewritten as text.
    SetRaw(Wide(kRunKey).c_str(), L"Halcyra", REG_DWORD, L"\x0001\0"s);

    HalcyraProcess halcyra;
    HWND hwnd = halcyra.WaitReady();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_TRUE(halcyra.Running());
    EXPECT_EQ(::SendDlgItemMessageA(hwnd, ID_CHECKREQUEST, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(::SendDlgItemMessageA(hwnd, ID_CHECK1, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(Utf8(RunEntry()), Utf8(Wide(HalcyraExe())) + " /start");
    EXPECT_FALSE(HotkeyFree('S')) << "the letter before the NUL makes the hotkey";
    for (const char letter : {'A', 'L', 'R', 'H'}) {
        EXPECT_TRUE(HotkeyFree(static_cast<UINT>(letter))) << letter;
    }

    ::PostMessageA(::GetDlgItem(hwnd, ID_COMMANDOPTIONS), BM_CLICK, 0, 0);
    HWND options = halcyra.DialogTitled("Options");
    ASSERT_NE(options, nullptr);
    for (int row = 0; row < 7; ++row) {
        EXPECT_EQ(::SendDlgItemMessageA(options, IDC_OPTIONS_COMBO0 + row, CB_GETCURSEL, 0, 0), 0)
            << "row " << row << " shows None";
    }
    ::PostMessageA(::GetDlgItem(options, IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(options); }));
    EXPECT_TRUE(halcyra.Running());
}

} // namespace
} // namespace halcyra::test
