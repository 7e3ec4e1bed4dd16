#pragma once
// One icon in the notification area: its complete request record, whether it is shown, and
// the add/modify/delete requests that keep the platform in step.
#include <cstdint>
#include <string>
#include <string_view>

#include "common/PlatformTypes.h"
#include "tray/INotifyIconApi.h"
#include "tray/NotifyIconRecord.h"

namespace halcyra {

// The owner's side of the icon's events, delivered before the failing call returns.
class ISystrayIconEvents {
public:
    virtual ~ISystrayIconEvents() = default;
    virtual void NIError(std::uint32_t ErrorNumber) = 0;
};

class CSystrayIcon {
public:
    explicit CSystrayIcon(INotifyIconApi& api, ISystrayIconEvents* owner = nullptr);
    ~CSystrayIcon();
    CSystrayIcon(const CSystrayIcon&) = delete;
    CSystrayIcon& operator=(const CSystrayIcon&) = delete;

    void Initialize(WindowHandle hwnd, ImageHandle hIcon, std::string_view sTip,
                    std::uint32_t uCallbackMessage);
    bool ShowIcon();
    bool HideIcon();
    bool Update();

    ImageHandle IconHandle() const;
    void IconHandle(ImageHandle value);
    std::string TipText() const;
    void TipText(std::string_view value);
    std::uint32_t CallbackMessage() const;
    void CallbackMessage(std::uint32_t value);
    void UpdateOnChange(bool bUpdate);
    bool Visible() const;
    void Visible(bool bVisible);
    // The latest add request failed. A shell that timed out may have added the icon anyway.
    bool AddFailed() const { return addFailed_; }
    // The delete request whether or not the icon is known to be shown, for an add that failed.
    bool HideIconAnyway();
    // After a failed add: asks the shell with a modify request whether the icon is there all
    // the same; one that is counts as shown. No NIError: "not there" is an answer, not a fault.
    bool ConfirmShown();

    const NotifyIconRecord& Record() const { return record_; }

private:
    // One notify request; on failure the owner hears NIError before this returns.
    bool Request(std::uint32_t message);
    void PushChange(std::uint32_t flag);

    INotifyIconApi& api_;
    ISystrayIconEvents* owner_;
    NotifyIconRecord record_{};
    bool shown_ = false;
    bool updateOnChange_ = false;
    bool addFailed_ = false;
};

} // namespace halcyra
