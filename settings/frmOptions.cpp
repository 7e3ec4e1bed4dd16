#include "settings/frmOptions.h"

#include <charconv>
#include <string>

#include "settings/SettingsKeys.h"

namespace halcyra {

namespace {
constexpr std::string_view kEntries[frmOptions::kEntryCount] = {
    "None", "A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M",
    "N",    "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z"};
}

std::string_view frmOptions::Entry(int position) {
    if (position < 0 || position >= kEntryCount) {
        return {};
    }
    return kEntries[position];
}

int frmOptions::PositionFromIndexText(std::string_view text) {
    int position = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), position);
    if (error != std::errc{} || end != text.data() + text.size() || position < 0 ||
        position >= kEntryCount) {
        return 0;
    }
    return position;
}

frmOptions::frmOptions(IOptionsView& view, ISettingsStore& settings, modHotkey& hotkeys)
    : view_(view), settings_(settings), hotkeys_(hotkeys) {}

void frmOptions::Form_Load() {
    for (int row = 0; row < kRows; ++row) {
        const std::string text =
            settings_.GetSetting(settings::kAppName, settings::kSection,
                                 settings::kHotkeyPairs[static_cast<std::size_t>(row)].indexKey,
                                 settings::kHotkeyIndexDefault);
        view_.SelectPosition(row, PositionFromIndexText(text));
    }
}

bool frmOptions::DuplicateCheck() {
    for (int i = 0; i < kRows; ++i) {
        const int position = view_.SelectedPosition(i);
        if (position == 0) {
            continue;
        }
        // No selection (-1) is not exempt: two such rows clash as well.
        for (int j = i + 1; j < kRows; ++j) {
            if (view_.SelectedPosition(j) == position) {
                view_.ShowWarning(kDuplicateText, kDuplicateTitle);
                return false;
            }
        }
    }
    return true;
}

void frmOptions::Save() {
    int positions[kRows];
    for (int row = 0; row < kRows; ++row) {
        positions[row] = view_.SelectedPosition(row);
    }
    // Letters first, then the indexes, each in the order of the rows; both from the same
    // reading of the lists so a row's pair always agrees.
    for (int row = 0; row < kRows; ++row) {
        settings_.SaveSetting(settings::kAppName, settings::kSection,
                              settings::kHotkeyPairs[static_cast<std::size_t>(row)].letterKey,
                              Entry(positions[row]));
    }
    for (int row = 0; row < kRows; ++row) {
        settings_.SaveSetting(settings::kAppName, settings::kSection,
                              settings::kHotkeyPairs[static_cast<std::size_t>(row)].indexKey,
                              std::to_string(positions[row]));
    }
}

void frmOptions::cmdApply_Click() {
    if (DuplicateCheck()) {
        Save();
    }
}

void frmOptions::cmdOK_Click() {
    if (!DuplicateCheck()) {
        return;
    }
    cmdApply_Click();
    hotkeys_.LoadHotkeys();
    view_.Close();
}

void frmOptions::cmdCancel_Click() {
    view_.Close();
}

} // namespace halcyra
