#pragma once
// The texts that tell the user about hotkeys that cannot work as chosen.
#include <string>
#include <string_view>
#include <vector>

#include "common/Product.h"
#include "settings/modHotkey.h"

namespace halcyra::hotkeyMessages {

inline constexpr std::string_view kTitle = product::kName;

// A letter whose CTRL+ALT combination types a character on the active layout.
struct AltGrLetter {
    std::string letter;
    std::string text; // what AltGr+letter types, UTF-8
};

// The name an action goes by in the Options dialog ("Turn off Monitor" for "TurnOffMonitor").
std::string_view DisplayName(std::string_view actionName);

// One message for every combination that another program holds.
std::string RefusedText(const std::vector<RefusedHotkey>& refused);

// One question for every chosen letter that AltGr turns into a character; Yes keeps them.
std::string AltGrText(const std::vector<AltGrLetter>& letters);

} // namespace halcyra::hotkeyMessages
