#include "settings/HotkeyMessages.h"

#include "settings/SettingsKeys.h"

namespace halcyra::hotkeyMessages {

std::string_view DisplayName(std::string_view actionName) {
    for (const auto& pair : settings::kHotkeyPairs) {
        if (pair.actionName == actionName) {
            // The row caption up to " = CTRL + ALT +".
            return pair.optionsCaption.substr(0, pair.optionsCaption.find(" = "));
        }
    }
    return actionName;
}

std::string RefusedText(const std::vector<RefusedHotkey>& refused) {
    const bool one = refused.size() == 1;
    std::string text =
        one ? "Another program already uses this shortcut, so it does nothing:\n\n"
            : "Another program already uses these shortcuts, so they do nothing:\n\n";
    for (const auto& hotkey : refused) {
        text += "CTRL+ALT+" + hotkey.letter + " (" + std::string(DisplayName(hotkey.actionName)) +
                ")\n";
    }
    text += one ? "\nYou can choose a different letter in Options."
                : "\nYou can choose different letters in Options.";
    return text;
}

std::string AltGrText(const std::vector<AltGrLetter>& letters) {
    const bool one = letters.size() == 1;
    std::string text = one ? "On this keyboard CTRL+ALT is also AltGr, so this shortcut would "
                             "take a character you type:\n\n"
                           : "On this keyboard CTRL+ALT is also AltGr, so these shortcuts would "
                             "take characters you type:\n\n";
    for (const auto& letter : letters) {
        text += "CTRL+ALT+" + letter.letter + " types \"" + letter.text + "\"\n";
    }
    text += one ? "\nKeep it anyway? Choose No to go back and pick another letter."
                : "\nKeep them anyway? Choose No to go back and pick other letters.";
    return text;
}

} // namespace halcyra::hotkeyMessages
