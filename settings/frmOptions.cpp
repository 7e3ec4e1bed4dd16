#include "settings/frmOptions.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <vector>

#include "settings/HotkeyMessages.h"
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

frmOptions::frmOptions(IOptionsView& view, IPrompt& prompt, ISettingsStore& settings,
                       modHotkey& hotkeys, IKeyboardLayout& layout)
    : view_(view), prompt_(prompt), settings_(settings), hotkeys_(hotkeys), layout_(layout) {}

void frmOptions::Form_Load() {
    for (int row = 0; row < kRows; ++row) {
        const std::string text =
            settings_.GetSetting(settings::kAppName, settings::kSection,
                                 settings::kHotkeyPairs[static_cast<std::size_t>(row)].indexKey,
                                 settings::kHotkeyIndexDefault);
        stored_[static_cast<std::size_t>(row)] = PositionFromIndexText(text);
        view_.SelectPosition(row, stored_[static_cast<std::size_t>(row)]);
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
                prompt_.Tell(view_.Handle(), kDuplicateText, kDuplicateTitle,
                             MessageIcon::Exclamation);
                return false;
            }
        }
    }
    return true;
}

bool frmOptions::AltGrCheck() {
    std::vector<hotkeyMessages::AltGrLetter> clashes;
    std::vector<int> asked;
    for (int row = 0; row < kRows; ++row) {
        const int position = view_.SelectedPosition(row);
        // Only letters this save would add: one the user already kept is not asked about again.
        if (position < 1 || position >= kEntryCount ||
            std::find(stored_.begin(), stored_.end(), position) != stored_.end() ||
            std::find(asked.begin(), asked.end(), position) != asked.end()) {
            continue;
        }
        asked.push_back(position);
        const std::string letter(Entry(position));
        // The letter's virtual-key code is its capital's character code.
        std::string text = layout_.AltGrText(static_cast<unsigned char>(letter[0]));
        if (!text.empty()) {
            clashes.push_back({letter, std::move(text)});
        }
    }
    return clashes.empty() ||
           prompt_.Ask(view_.Handle(), hotkeyMessages::AltGrText(clashes), hotkeyMessages::kTitle,
                       MessageIcon::Exclamation) == Answer::Yes;
}

void frmOptions::Save() {
    std::array<int, kRows> positions{};
    for (int row = 0; row < kRows; ++row) {
        positions[static_cast<std::size_t>(row)] = view_.SelectedPosition(row);
    }
    // Letters first, then the indexes, each in the order of the rows; both from the same
    // reading of the lists so a row's pair always agrees.
    for (int row = 0; row < kRows; ++row) {
        settings_.SaveSetting(settings::kAppName, settings::kSection,
                              settings::kHotkeyPairs[static_cast<std::size_t>(row)].letterKey,
                              Entry(positions[static_cast<std::size_t>(row)]));
    }
    for (int row = 0; row < kRows; ++row) {
        settings_.SaveSetting(settings::kAppName, settings::kSection,
                              settings::kHotkeyPairs[static_cast<std::size_t>(row)].indexKey,
                              std::to_string(positions[static_cast<std::size_t>(row)]));
    }
    stored_ = positions;
}

bool frmOptions::Apply() {
    if (!DuplicateCheck() || !AltGrCheck()) {
        return false;
    }
    Save();
    return true;
}

void frmOptions::cmdApply_Click() {
    Apply();
}

void frmOptions::cmdOK_Click() {
    if (!DuplicateCheck() || !Apply()) {
        return;
    }
    hotkeys_.LoadHotkeys();
    // The moment the user chose the letters is the moment to hear which ones cannot work.
    const auto refused = hotkeys_.TakeUnreportedRefusals();
    if (!refused.empty()) {
        prompt_.Tell(view_.Handle(), hotkeyMessages::RefusedText(refused), hotkeyMessages::kTitle,
                     MessageIcon::Exclamation);
    }
    view_.Close();
}

void frmOptions::cmdCancel_Click() {
    view_.Close();
}

} // namespace halcyra
