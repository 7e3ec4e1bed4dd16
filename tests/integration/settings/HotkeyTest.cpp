#include <windows.h>

#include <gtest/gtest.h>

#include "settings/modHotkey.h"
#include "settings/win32/Win32HotkeyApi.h"
#include "support/SettingsFakes.h"

namespace halcyra::test {
namespace {

// Whether CTRL+ALT+key is free: try to take it from here, and give it back.
DWORD TakeError(UINT key) {
    if (::RegisterHotKey(nullptr, 0xB000, MOD_ALT | MOD_CONTROL, key)) {
        ::UnregisterHotKey(nullptr, 0xB000);
        return 0;
    }
    return ::GetLastError();
}

TEST(SettingsRealHotkeys, LoadRegistersForTheWindowAndUnregisterAllReleases) {
    HWND window =
        ::CreateWindowA("STATIC", "main", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    win32::Win32HotkeyApi api;
    Log log;
    FakeSettingsStore store(log);
    store.values = {{"HotKeyShutdown", "S"}, {"HotKeyRestart", "R"}, {"HotKeyStandby", "B"}};
    modHotkey hotkeys(api, store);
    hotkeys.SetMainWindow(reinterpret_cast<WindowHandle>(window));
    ASSERT_TRUE(::RegisterHotKey(nullptr, 0xB001, MOD_ALT | MOD_CONTROL, 'R')); // taken elsewhere
    hotkeys.LoadHotkeys();
    EXPECT_EQ(hotkeys.Counter(), 3);
    EXPECT_EQ(hotkeys.Slot(2), "Restart"); // refused, but its slot is filled
    ASSERT_EQ(hotkeys.Refused().size(), 1u);
    EXPECT_EQ(hotkeys.Refused()[0].actionName + hotkeys.Refused()[0].letter, "RestartR");
    EXPECT_EQ(TakeError('S'), static_cast<DWORD>(ERROR_HOTKEY_ALREADY_REGISTERED));
    EXPECT_EQ(TakeError('B'), static_cast<DWORD>(ERROR_HOTKEY_ALREADY_REGISTERED));
    ::UnregisterHotKey(nullptr, 0xB001);
    hotkeys.LoadHotkeys(); // a second load first gives the first set back
    EXPECT_EQ(hotkeys.Counter(), 3);
    EXPECT_TRUE(hotkeys.Refused().empty()) << "R was given back meanwhile";
    EXPECT_EQ(TakeError('S'), static_cast<DWORD>(ERROR_HOTKEY_ALREADY_REGISTERED));
    hotkeys.UnregisterAllHotkeys(reinterpret_cast<WindowHandle>(window));
    EXPECT_EQ(hotkeys.Counter(), 0);
    for (UINT key : {'S', 'R', 'B'}) {
        EXPECT_EQ(TakeError(key), 0u) << key;
    }
    ::DestroyWindow(window);
}

} // namespace
} // namespace halcyra::test
