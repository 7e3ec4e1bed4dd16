// The power adapter against the real platform, with nothing that would end the session.
#include <windows.h>

#include <gtest/gtest.h>

#include "actions/modHalcyra.h"
#include "actions/modOSID.h"
#include "common/win32/BoundProc.h"
#include "actions/win32/Win32PowerApi.h"

namespace halcyra::win32::test {
namespace {

bool ShutdownPrivilegeEnabled() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) {
        return false;
    }
    LUID luid{};
    ::LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &luid);
    PRIVILEGE_SET set{};
    set.PrivilegeCount = 1;
    set.Privilege[0].Luid = luid;
    BOOL enabled = FALSE;
    ::PrivilegeCheck(token, &set, &enabled);
    ::CloseHandle(token);
    return enabled != FALSE;
}

TEST(PowerApi, TheRunningSystemIsOfTheNtFamily) {
    Win32PowerApi api;
    EXPECT_TRUE(modOSID::IsNTFamily(api));
}

TEST(PowerApi, EnableShutdownPrivilegeEnablesItInTheOwnToken) {
    Win32PowerApi api;
    modHalcyra::EnableShutdownPrivilege(api);
    EXPECT_TRUE(ShutdownPrivilegeEnabled());
    modHalcyra::EnableShutdownPrivilege(api); // again: changes nothing
    EXPECT_TRUE(ShutdownPrivilegeEnabled());
}

TEST(PowerApi, TheEmptySystemNameMeansThisComputer) {
    Win32PowerApi api;
    Luid viaEmpty{};
    ASSERT_NE(api.LookupPrivilegeValueA("", "SeShutdownPrivilege", &viaEmpty), 0);
    LUID viaNull{};
    ASSERT_TRUE(::LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &viaNull));
    EXPECT_EQ(viaEmpty.LowPart, viaNull.LowPart);
    EXPECT_EQ(viaEmpty.HighPart, viaNull.HighPart);
}

TEST(PowerApi, CapabilitiesAndTheSystemsTextForAnError) {
    Win32PowerApi api;
    PowerCapabilities caps;
    ASSERT_NE(api.GetPwrCapabilities(&caps), 0);
    // Wine reports a desktop with S1 and S4 and a hibernation file, and no modern standby.
    EXPECT_TRUE(caps.SystemS1 || caps.SystemS2 || caps.SystemS3);
    EXPECT_FALSE(caps.AoAc);
    for (const std::uint32_t error : {5u, 126u, 1409u}) {
        const std::string text = api.ErrorText(error);
        EXPECT_FALSE(text.empty()) << error;
        EXPECT_EQ(std::string(" \r\n").find(text.empty() ? 'x' : text.back()), std::string::npos)
            << "no line break at the end: [" << text << "]";
    }
    EXPECT_EQ(api.ErrorText(0x20001234), "") << "a number the system has no text for";
}

TEST(BoundProc, BindsFromTheSystemFolderAndAnswersNullForWhatIsMissing) {
    BoundProc<BOOLEAN(WINAPI*)(BOOLEAN, BOOLEAN, BOOLEAN)> suspend{"powrprof.dll",
                                                                   "SetSuspendState"};
    EXPECT_NE(suspend.get(), nullptr);
    EXPECT_EQ(suspend.error(), 0u);
    BoundProc<void(WINAPI*)()> noEntry{"powrprof.dll", "NoSuchEntryPoint"};
    EXPECT_EQ(noEntry.get(), nullptr);
    EXPECT_EQ(noEntry.error(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
    BoundProc<void(WINAPI*)()> noLibrary{"halcyra-no-such-library.dll", "Anything"};
    EXPECT_EQ(noLibrary.get(), nullptr);
    ::SetLastError(0);
    EXPECT_EQ(noLibrary.get(), nullptr) << "asked once, answered the same";
    EXPECT_EQ(noLibrary.error(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND)) << "and kept why";
}

TEST(BoundProc, APlantedLibraryInTheCurrentFolderIsNotLoaded) {
    // A copy of a harmless system library under the power library's name, planted in the
    // current folder: the system folder's own must be the one bound.
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "halcyra-planted";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    char system[MAX_PATH];
    ::GetSystemDirectoryA(system, MAX_PATH);
    const std::string planted = folder + "\\powrprof.dll";
    ASSERT_TRUE(
        ::CopyFileA((std::string(system) + "\\version.dll").c_str(), planted.c_str(), FALSE));
    char previous[MAX_PATH];
    ::GetCurrentDirectoryA(MAX_PATH, previous);
    ::SetCurrentDirectoryA(folder.c_str());
    BoundProc<BOOLEAN(WINAPI*)(BOOLEAN, BOOLEAN, BOOLEAN)> suspend{"powrprof.dll",
                                                                   "SetSuspendState"};
    EXPECT_NE(suspend.get(), nullptr) << "version.dll has no SetSuspendState";
    ::SetCurrentDirectoryA(previous);
    HMODULE loaded = ::GetModuleHandleA("powrprof.dll");
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(loaded, path, MAX_PATH);
    EXPECT_EQ(std::string(path).find("halcyra-planted"), std::string::npos) << path;
}

} // namespace
} // namespace halcyra::win32::test
