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

// The conversion as the module asks for it, for ANSI code pages the system's cannot be set to
// under test.
TEST(SettingsRealHotkeys, LettersConvertToTheCodePageWithTheFlagsGiven) {
    EXPECT_EQ(win32::Win32HotkeyApi().AnsiCodePage(), ::GetACP());
    struct Row {
        std::uint32_t codePage;
        const char* letter; // UTF-8, as stored
        std::uint32_t flags;
        bool asks; // whether a default character was used
        const char* ansi;
        bool defaulted;
    };
    const Row rows[] = {
        {1252, "\xC3\x84", WC_NO_BEST_FIT_CHARS, true, "\xC4", false}, // "Ä"
        {1252, "\xC5\x81", WC_NO_BEST_FIT_CHARS, true, "?", true},     // "Ł"
        {1250, "\xC5\x81", WC_NO_BEST_FIT_CHARS, true, "\xA3", false}, // ... where the page has it
        {65001, "\xC3\x84", 0, false, "\xC3\x84", false},              // "Use Unicode UTF-8"
        {65001, "\xE2\x82\xAC", 0, false, "\xE2\x82\xAC", false},      // "€"
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.codePage) + " " + row.letter);
        win32::Win32HotkeyApi api(row.codePage);
        bool defaulted = !row.defaulted;
        EXPECT_EQ(api.AnsiText(row.letter, row.flags, row.asks ? &defaulted : nullptr), row.ansi);
        if (row.asks) {
            EXPECT_EQ(defaulted, row.defaulted);
        }
    }
}

} // namespace
} // namespace halcyra::test
