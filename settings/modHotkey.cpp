#include "settings/modHotkey.h"

#include "settings/SettingsKeys.h"

namespace halcyra {

namespace {

const std::string kEmptySlot;

constexpr std::uint32_t kNoBestFitChars = 0x400; // WC_NO_BEST_FIT_CHARS
constexpr std::uint32_t kUtf7 = 65000;
constexpr std::uint32_t kUtf8 = 65001;

bool IsAscii(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

} // namespace

std::string modHotkey::AnsiLetter(const std::string& letter) {
    // Every ANSI code page keeps ASCII as it is: no conversion that could fail.
    if (IsAscii(letter)) {
        return letter;
    }
    // Stored as UTF-8: a hand-edited "Ä" is two bytes there and one in most ANSI code pages.
    // UTF-8 and UTF-7 hold every letter, and refuse both the no-best-fit flag and the "default
    // used" question.
    const std::uint32_t page = api_.AnsiCodePage();
    if (page == kUtf8 || page == kUtf7) {
        return api_.AnsiText(letter, 0, nullptr);
    }
    // No best fit: "Ł" must not quietly become the hotkey of "L".
    bool defaulted = false;
    std::string ansi = api_.AnsiText(letter, kNoBestFitChars, &defaulted);
    return defaulted ? std::string() : ansi;
}

modHotkey::modHotkey(IHotkeyApi& api, ISettingsStore& settings) : api_(api), settings_(settings) {}

std::int32_t modHotkey::RegisterNextHotkey(WindowHandle hwnd, std::int32_t modifiers,
                                           std::uint16_t key) {
    // The identifier is used up whatever the platform answers.
    ++counter_;
    return api_.RegisterHotKey(hwnd, counter_, static_cast<std::uint32_t>(modifiers), key);
}

void modHotkey::UnregisterAllHotkeys(WindowHandle hwnd) {
    for (std::int32_t id = 1; id <= counter_; ++id) {
        api_.UnregisterHotKey(hwnd, id);
    }
    counter_ = 0;
    held_.clear();
}

void modHotkey::LoadHotkeys() {
    UnregisterAllHotkeys(mainWindow_);
    std::array<std::string, kSlots> letters;
    for (std::size_t i = 0; i < letters.size(); ++i) {
        letters[i] =
            settings_.GetSetting(settings::kAppName, settings::kSection,
                                 settings::kHotkeyPairs[i].letterKey, settings::kHotkeyNone);
    }
    for (std::int32_t id = 1; id <= kSlots; ++id) {
        StoreSlot(id, {});
    }
    refused_.clear();
    for (std::size_t i = 0; i < letters.size(); ++i) {
        const std::string& letter = letters[i];
        if (letter == settings::kHotkeyNone) {
            continue;
        }
        const std::string ansi = AnsiLetter(letter);
        if (ansi.size() != 1) {
            continue;
        }
        // The ANSI character code itself, no case folding: "a" is 97, not VK 'A'.
        const auto key = static_cast<std::uint16_t>(static_cast<unsigned char>(ansi[0]));
        const std::int32_t registered =
            RegisterNextHotkey(mainWindow_, static_cast<std::int32_t>(kModifiers), key);
        // A refused combination still uses up its identifier and fills its slot; it is only
        // remembered so the user can be told.
        StoreSlot(counter_, settings::kHotkeyPairs[i].actionName);
        if (registered == 0) {
            refused_.push_back({std::string(settings::kHotkeyPairs[i].actionName), letter, key});
        } else {
            held_.push_back(key);
        }
    }
    refusalsReported_ = refused_.empty();
}

std::vector<RefusedHotkey> modHotkey::TakeUnreportedRefusals() {
    if (refusalsReported_) {
        return {};
    }
    refusalsReported_ = true;
    return refused_;
}

bool modHotkey::Holds(std::uint32_t key) const {
    for (const std::uint16_t held : held_) {
        if (held == key) {
            return true;
        }
    }
    return false;
}

const std::string& modHotkey::Slot(std::int64_t id) const {
    if (id < 1 || id > kSlots) {
        return kEmptySlot;
    }
    return slots_[static_cast<std::size_t>(id - 1)];
}

void modHotkey::StoreSlot(std::int32_t id, std::string_view actionName) {
    if (id < 1 || id > kSlots) {
        return;
    }
    slots_[static_cast<std::size_t>(id - 1)] = actionName;
}

} // namespace halcyra
