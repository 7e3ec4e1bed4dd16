#pragma once
// The scheduled action on the screen: the Schedule dialog, the warning window, and the armed
// state in the main window (its status row and the "&Actions" menu, which the tray popup is).
#include <windows.h>

#include <functional>
#include <string>

#include "schedule/IScheduleView.h"
#include "schedule/ScheduleController.h"
#include "common/win32/UniqueHandle.h"
#include "common/win32/WindowProcedure.h"

namespace halcyra::win32 {

class Win32ScheduleView final : public IScheduleView {
public:
    // showState: the main window's status row and menus, which follow the armed state.
    using ShowState = std::function<void(const std::string& status, const std::string& caption)>;
    // processes: the running programs the dialog lists.
    Win32ScheduleView(HINSTANCE instance, IProcessPort& processes, ShowState showState);
    // The schedule the warning's buttons reach.
    void SetController(ScheduleController& control) { control_ = &control; }
    ~Win32ScheduleView() override;
    Win32ScheduleView(const Win32ScheduleView&) = delete;
    Win32ScheduleView& operator=(const Win32ScheduleView&) = delete;

    bool AskSchedule(WindowHandle owner, ScheduleChoice& choice,
                     const SchedulePreview& preview) override;
    bool ShowWarning(std::string_view text, bool forced) override;
    void SetWarningText(std::string_view text) override;
    void HideWarning() override;
    bool WarningInUse() const override;
    void ShowScheduleState(std::string_view status, std::string_view cancelCaption) override;

    // The warning, for the message loop's keyboard handling; null when there is none.
    HWND Warning() const { return warning_; }

private:
    friend struct WindowProcedure<Win32ScheduleView>;
    void Adopt(HWND hwnd) { warning_ = hwnd; }
    INT_PTR HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HINSTANCE instance_;
    IProcessPort& processes_;
    ShowState showState_;
    ScheduleController* control_ = nullptr;
    HWND warning_ = nullptr; // destroyed with this view
};

} // namespace halcyra::win32
