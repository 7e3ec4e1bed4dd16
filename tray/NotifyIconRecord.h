#pragma once
// The first-version NOTIFYICONDATAA record, member for member. Handles are pointer-sized, so
// the record is 88 bytes in a 32-bit build and 104 in a 64-bit one, as the platform expects.
#include <cstddef>
#include <cstdint>

#include "common/PlatformTypes.h"

namespace halcyra {

struct NotifyIconRecord {
    static constexpr std::uint32_t kMessage = 1; // NIF_MESSAGE
    static constexpr std::uint32_t kIcon = 2;    // NIF_ICON
    static constexpr std::uint32_t kTip = 4;     // NIF_TIP
    static constexpr std::uint32_t kAll = kMessage | kIcon | kTip;
    static constexpr std::size_t kTipSize = 64;

    std::uint32_t cbSize = 0;
    WindowHandle hWnd = 0;
    std::uint32_t uID = 0;
    std::uint32_t uFlags = 0;
    std::uint32_t uCallbackMessage = 0;
    ImageHandle hIcon = 0;
    char szTip[kTipSize] = {};
};

inline constexpr std::uint32_t kNotifyIconRecordSize =
    static_cast<std::uint32_t>(offsetof(NotifyIconRecord, szTip) + NotifyIconRecord::kTipSize);

} // namespace halcyra
