#pragma once
// The main window HalcyraForm on the screen: its window class, controls and procedure. It
// turns the platform's messages into calls of the form's handlers and carries out what the
// form asks of its window.
#include <windows.h>

#include <string>

#include "app/HalcyraForm.h"
#include "app/IMainWindowView.h"
#include "common/win32/UniqueHandle.h"
#include "common/win32/WindowProcedure.h"

namespace halcyra::win32 {

class Win32MainWindow final : public IMainWindowView {
public:
    static constexpr const char* kClassName = "HalcyraForm";

    // Where the window reads its own density (0: none known); a test stands in for a monitor
    // of another scale. By default the system's answer, where it has one per monitor.
    using DensityOfWindow = int (*)(HWND);
    explicit Win32MainWindow(HINSTANCE instance, DensityOfWindow densityOf = nullptr);
    ~Win32MainWindow() override;
    Win32MainWindow(const Win32MainWindow&) = delete;
    Win32MainWindow& operator=(const Win32MainWindow&) = delete;

    // Creates the window, hidden, with its menu; false when it cannot. Its controls follow
    // the first time it is shown.
    bool Create(HalcyraForm& form);
    // Ends a copy whose start-up was refused, without the teardown.
    void Discard();
    HWND Hwnd() const { return window_.get(); }

    WindowHandle Handle() const override;
    bool IsVisible() const override;
    void SetVisible(bool visible) override;
    void SetFocus() override;
    bool IsShowChecked() const override;
    void SetShowChecked(bool checked) override;
    int Check1Value() const override;
    void SetCheck1Value(int value) override;
    int CheckRequestValue() const override;
    void SetCheckRequestValue(int value) override;
    ImageHandle HalcyraImagePicture() const override;
    std::int32_t TwipsPerPixelX() const override;
    bool TrackActionsPopup(MenuEntry* chosen) override;
    void Unload() override;
    StartShow StartShowRequest() const override { return startShow_; }
    void SetTrayRetryTimer(std::uint32_t milliseconds) override;

    // While a schedule is armed: the status row below the controls and the cancel entry under
    // "Sch&edule..."; both go when status is empty.
    void ShowScheduleState(const std::string& status, const std::string& cancelCaption);
    // While the computer is kept awake: its status row with Stop, "Stop keeping a&wake" in place
    // of "Keep a&wake...", and the tray picture with the mark; all go when status is empty.
    void ShowAwakeState(const std::string& status);

private:
    friend struct WindowProcedure<Win32MainWindow>;
    void Adopt(HWND hwnd) { window_.reset(hwnd); }
    LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void OnCommand(WORD id, WORD code);
    void CreateControls();
    void LayOutControls();
    void FitClientArea();
    void OnDpiChanged(int dpi, const RECT& suggested);
    void FollowTaskbarDensity();
    int Pixels(int twips) const;
    void PlaceScheduleRow();
    // A status row: its text, and the label and its button shown while there is one.
    void ShowStatusRow(int label, int button, const std::string& status);
    void OnSchedule(WORD id);
    void PlaceAwakeRow();
    void OnAwake(WORD id);
    int RowsTwips() const;
    void MarkTrayImage();

    HINSTANCE instance_;
    DensityOfWindow densityOf_;
    HalcyraForm* form_ = nullptr;
    UINT holdsHotkeyMessage_ = 0; // a second copy's question
    int dpi_ = 96;                // the window's
    int trayDpi_ = 96;            // the taskbar's, which the tray picture follows
    StartShow startShow_ = StartShow::Normal;
    // A start in the tray may never show the window: its controls, their theme and font are
    // made when it is first shown. Until then the boxes' values are kept here.
    bool controlsMade_ = false;
    int check1_ = BST_UNCHECKED;
    int checkRequest_ = BST_UNCHECKED;
    std::string scheduleStatus_; // empty: nothing armed
    std::string awakeStatus_;    // empty: not kept awake
    unique_hfont font_;
    unique_hicon bigIcon_;
    unique_hicon smallIcon_;
    unique_hicon windowImage_; // the picture in the window
    unique_hicon trayImage_;
    unique_hicon awakeImage_; // the tray picture with the mark, made at the tray's size
    // Last, so that it goes first: its class and controls use the icons and the font.
    unique_hwnd window_;
};

} // namespace halcyra::win32
