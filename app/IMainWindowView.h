#pragma once
// The main window's own window and controls, as its logic reads and changes them.
#include <cstdint>

#include "common/PlatformTypes.h"

namespace halcyra {

enum class MenuEntry;

// How the starter asked for the window to be shown (a shortcut's "Run" choice).
enum class StartShow { Normal, Minimized, Maximized, Hidden };

class IMainWindowView {
public:
    virtual ~IMainWindowView() = default;
    virtual WindowHandle Handle() const = 0;
    virtual bool IsVisible() const = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual void SetFocus() = 0;
    // The check mark of "Sh&ow".
    virtual bool IsShowChecked() const = 0;
    virtual void SetShowChecked(bool checked) = 0;
    // Check box values: 0 clear, 1 ticked, 2 grey. Setting one does not run its handler.
    virtual int Check1Value() const = 0;
    virtual void SetCheck1Value(int value) = 0;
    virtual int CheckRequestValue() const = 0;
    virtual void SetCheckRequestValue(int value) = 0;
    // The picture of HalcyraImage: the tray image at the small-icon size of the window's density
    // (16 by 16 at 96 dots per inch).
    virtual ImageHandle HalcyraImagePicture() const = 0;
    virtual std::int32_t TwipsPerPixelX() const = 0;
    // Shows "&Actions" as a popup at the pointer; the entry chosen, or none.
    virtual bool TrackActionsPopup(MenuEntry* chosen) = 0;
    // Unloads the window, which runs the teardown.
    virtual void Unload() = 0;
    virtual StartShow StartShowRequest() const = 0;
    // Calls the form's TrayRetry_Timer every so many milliseconds; 0 stops it.
    virtual void SetTrayRetryTimer(std::uint32_t milliseconds) = 0;
};

} // namespace halcyra
