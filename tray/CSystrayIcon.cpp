#include "tray/CSystrayIcon.h"

#include <algorithm>
#include <cstring>

#include "common/ScopeExit.h"

namespace halcyra {

namespace {

constexpr std::size_t kTipChars = NotifyIconRecord::kTipSize - 1;

// At most 63 characters, one NUL, then spaces to the end of the field.
void StoreTip(NotifyIconRecord& record, std::string_view tip) {
    const std::size_t n = std::min(tip.size(), kTipChars);
    std::memcpy(record.szTip, tip.data(), n);
    record.szTip[n] = '\0';
    std::fill(record.szTip + n + 1, record.szTip + NotifyIconRecord::kTipSize, ' ');
}

} // namespace

CSystrayIcon::CSystrayIcon(INotifyIconApi& api, ISystrayIconEvents* owner)
    : api_(api), owner_(owner) {}

CSystrayIcon::~CSystrayIcon() {
    // A destructor cannot report; an owner's NIError handler that throws is not let out.
    try {
        HideIcon();
    } catch (...) {
    }
}

void CSystrayIcon::Initialize(WindowHandle hwnd, ImageHandle hIcon, std::string_view sTip,
                              std::uint32_t uCallbackMessage) {
    record_.hIcon = hIcon;
    record_.hWnd = hwnd;
    record_.cbSize = kNotifyIconRecordSize;
    StoreTip(record_, sTip);
    record_.uFlags = NotifyIconRecord::kAll;
    record_.uCallbackMessage = uCallbackMessage;
    record_.uID = 1;
    shown_ = false;
    updateOnChange_ = true;
    addFailed_ = false;
}

bool CSystrayIcon::Request(std::uint32_t message) {
    const bool ok = api_.ShellNotifyIcon(message, record_) != 0;
    if (!ok) {
        const std::uint32_t error = api_.GetLastError();
        if (owner_ != nullptr) {
            owner_->NIError(error);
        }
    }
    return ok;
}

bool CSystrayIcon::ShowIcon() {
    if (shown_) {
        return false;
    }
    addFailed_ = true; // until the shell says it took the icon
    const bool ok = Request(INotifyIconApi::kAdd);
    if (ok) {
        shown_ = true;
        addFailed_ = false;
    }
    return ok;
}

bool CSystrayIcon::HideIcon() {
    if (!shown_) {
        return false;
    }
    const bool ok = Request(INotifyIconApi::kDelete);
    if (ok) {
        shown_ = false;
    }
    return ok;
}

bool CSystrayIcon::HideIconAnyway() {
    addFailed_ = false;
    const bool ok = Request(INotifyIconApi::kDelete);
    if (ok) {
        shown_ = false;
    }
    return ok;
}

bool CSystrayIcon::ConfirmShown() {
    if (shown_) {
        return true;
    }
    if (api_.ShellNotifyIcon(INotifyIconApi::kModify, record_) == 0) {
        return false;
    }
    shown_ = true;
    addFailed_ = false;
    return true;
}

bool CSystrayIcon::Update() {
    if (!shown_) {
        return false;
    }
    return Request(INotifyIconApi::kModify);
}

void CSystrayIcon::PushChange(std::uint32_t flag) {
    if (!updateOnChange_) {
        return;
    }
    // Only the changed member goes to the platform; the record is whole again afterwards, even
    // when the owner's NIError handler throws.
    record_.uFlags = flag;
    const ScopeExit restore([this] { record_.uFlags = NotifyIconRecord::kAll; });
    Update();
}

ImageHandle CSystrayIcon::IconHandle() const {
    return record_.hIcon;
}

void CSystrayIcon::IconHandle(ImageHandle value) {
    record_.hIcon = value;
    PushChange(NotifyIconRecord::kIcon);
}

std::string CSystrayIcon::TipText() const {
    const char* end = std::find(record_.szTip, record_.szTip + NotifyIconRecord::kTipSize, '\0');
    return std::string(record_.szTip, end);
}

void CSystrayIcon::TipText(std::string_view value) {
    StoreTip(record_, value);
    PushChange(NotifyIconRecord::kTip);
}

std::uint32_t CSystrayIcon::CallbackMessage() const {
    return record_.uCallbackMessage;
}

void CSystrayIcon::CallbackMessage(std::uint32_t value) {
    record_.uCallbackMessage = value;
    PushChange(NotifyIconRecord::kMessage);
}

void CSystrayIcon::UpdateOnChange(bool bUpdate) {
    updateOnChange_ = bUpdate;
}

bool CSystrayIcon::Visible() const {
    return shown_;
}

void CSystrayIcon::Visible(bool bVisible) {
    if (bVisible) {
        ShowIcon();
    } else {
        HideIcon();
    }
}

} // namespace halcyra
