#pragma once
// The notification-area service: Shell_NotifyIconA and the error code of a failed request.
#include <cstdint>

#include "tray/NotifyIconRecord.h"

namespace halcyra {

class INotifyIconApi {
public:
    static constexpr std::uint32_t kAdd = 0;    // NIM_ADD
    static constexpr std::uint32_t kModify = 1; // NIM_MODIFY
    static constexpr std::uint32_t kDelete = 2; // NIM_DELETE

    virtual ~INotifyIconApi() = default;
    // Nonzero when the request succeeded.
    virtual std::int32_t ShellNotifyIcon(std::uint32_t message, const NotifyIconRecord& record) = 0;
    virtual std::uint32_t GetLastError() = 0;
    // Whether the shell's taskbar window exists: a notification area may still be starting.
    virtual bool TaskbarExists() = 0;
};

} // namespace halcyra
