#pragma once
// The scheduled action on the screen: the Schedule dialog, the warning window, and the armed
// state in the main window (its status row and the "&Actions" menu, which the tray popup is).
#include <windows.h>

#include "app/HalcyraForm.h"
#include "schedule/IScheduleView.h"
#include "app/win32/Win32MainWindow.h"
#include "common/win32/UniqueHandle.h"
#include "common/win32/WindowProcedure.h"

namespace halcyra::win32 {

class Win32ScheduleView final : public IScheduleView {
public:
    Win32ScheduleView(HINSTANCE instance, Win32MainWindow& window);
    // The form whose schedule the warning's buttons reach.
    void SetForm(HalcyraForm& form) { form_ = &form; }
    ~Win32ScheduleView() override;
    Win32ScheduleView(const Win32ScheduleView&) = delete;
    Win32ScheduleView& operator=(const Win32ScheduleView&) = delete;

    bool AskSchedule(WindowHandle owner, ScheduleChoice& choice,
                     const SchedulePreview& preview) override;
    void ShowWarning(std::string_view text, bool forced) override;
    void SetWarningText(std::string_view text) override;
    void HideWarning() override;
    void ShowScheduleState(std::string_view status, std::string_view cancelCaption) override;

    // The warning, for the message loop's keyboard handling; null when there is none.
    HWND Warning() const { return warning_; }

private:
    friend struct WindowProcedure<Win32ScheduleView>;
    void Adopt(HWND hwnd) { warning_ = hwnd; }
    INT_PTR HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HINSTANCE instance_;
    Win32MainWindow& window_;
    HalcyraForm* form_ = nullptr;
    HWND warning_ = nullptr; // destroyed with this view
};

} // namespace halcyra::win32
