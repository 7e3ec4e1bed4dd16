#pragma once
// The Options dialog's behaviour: each hotkey action gets a CTRL+ALT letter or
// none, a letter used twice is refused, the choices are saved and OK makes them live.
#include <array>
#include <string_view>

#include "common/IPrompt.h"
#include "common/Product.h"
#include "settings/IKeyboardLayout.h"
#include "settings/IOptionsView.h"
#include "settings/ISettingsStore.h"
#include "settings/SettingsKeys.h"
#include "settings/modHotkey.h"

namespace halcyra {

class frmOptions {
public:
    static constexpr int kRows = static_cast<int>(settings::kHotkeyPairs.size());
    static constexpr int kEntryCount = 27;
    static constexpr std::string_view kDuplicateText =
        "You have duplicate entries for your shortcut keys.  Please make sure each key is unique "
        "or set to 'none.'";
    static constexpr std::string_view kDuplicateTitle = HALCYRA_PRODUCT_NAME " Error";
    static constexpr std::string_view kCaption = "Options";
    static constexpr std::string_view kFrameCaption = "Shortcut Settings";

    // Entry of every row's list at position 0..26: "None", then "A" to "Z"; the empty text
    // for any other position (no selection).
    static std::string_view Entry(int position);
    // The list position an index key's text selects; "None" for anything but 0..26.
    static int PositionFromIndexText(std::string_view text);

    // Its warnings and its question go to prompt, owned by the view's window.
    frmOptions(IOptionsView& view, IPrompt& prompt, ISettingsStore& settings, modHotkey& hotkeys,
               IKeyboardLayout& layout);

    void Form_Load();
    void cmdApply_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    // The close box: as Cancel.
    void Form_Close() { cmdCancel_Click(); }

    // True when no two rows share a position other than "None"; otherwise shows the warning
    // once, for the first clashing pair.
    bool DuplicateCheck();
    // True when no newly chosen letter types a character with AltGr on the active layout, or
    // the user keeps such letters when warned (once, naming them all).
    bool AltGrCheck();

private:
    // The checks, then the save; false when nothing was saved.
    bool Apply();
    void Save();

    IOptionsView& view_;
    IPrompt& prompt_;
    ISettingsStore& settings_;
    modHotkey& hotkeys_;
    IKeyboardLayout& layout_;
    // The positions as stored: read at opening, updated by every save.
    std::array<int, kRows> stored_{};
};

} // namespace halcyra
