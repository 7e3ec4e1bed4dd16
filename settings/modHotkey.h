#pragma once
// The hotkey counter and the slot table, one slot per hotkey action: stored letters become CTRL+ALT
// hotkeys of the main window, and a hotkey identifier leads back to its action name.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/PlatformTypes.h"
#include "settings/IHotkeyApi.h"
#include "settings/ISettingsStore.h"
#include "settings/SettingsKeys.h"

namespace halcyra {

// A combination the platform would not register: another program holds it.
struct RefusedHotkey {
    std::string actionName;
    std::string letter;
    std::uint16_t key = 0; // the code it was registered with
};

class modHotkey {
public:
    static constexpr std::uint32_t kModifiers = 3; // MOD_ALT | MOD_CONTROL
    static constexpr int kSlots = static_cast<int>(settings::kHotkeyPairs.size());

    modHotkey(IHotkeyApi& api, ISettingsStore& settings);

    // The window LoadHotkeys registers for: the main window.
    void SetMainWindow(WindowHandle hwnd) { mainWindow_ = hwnd; }

    std::int32_t RegisterNextHotkey(WindowHandle hwnd, std::int32_t modifiers, std::uint16_t key);
    void UnregisterAllHotkeys(WindowHandle hwnd);
    void LoadHotkeys();

    std::int32_t Counter() const { return counter_; }
    // Whether CTRL+ALT and this key is registered by the latest load and not released since.
    bool Holds(std::uint32_t key) const;
    // Entry 1 to kSlots; the empty text for an empty slot or an index outside the table.
    const std::string& Slot(std::int64_t id) const;

    // The combinations the latest load could not register, in the action order.
    const std::vector<RefusedHotkey>& Refused() const { return refused_; }
    // Those refusals the first time it is called after a load, empty afterwards: whoever shows
    // them takes them, so the user is told once.
    std::vector<RefusedHotkey> TakeUnreportedRefusals();

private:
    // The stored letter in the ANSI code page, as RegisterHotKey takes its key; empty when the
    // page has no such character.
    std::string AnsiLetter(const std::string& letter);
    // Every store into the table goes through here: ids outside 1..kSlots are dropped.
    void StoreSlot(std::int32_t id, std::string_view actionName);

    IHotkeyApi& api_;
    ISettingsStore& settings_;
    WindowHandle mainWindow_ = 0;
    std::int32_t counter_ = 0;
    std::array<std::string, kSlots> slots_{};
    std::vector<RefusedHotkey> refused_;
    std::vector<std::uint16_t> held_;
    bool refusalsReported_ = true;
};

} // namespace halcyra
