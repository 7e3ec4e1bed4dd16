#pragma once
// Shell_NotifyIconA with the error code read right after the call, before anything else can
// overwrite it.
#include <cstdint>

#include "tray/INotifyIconApi.h"

namespace halcyra::win32 {

class Win32NotifyIconApi final : public INotifyIconApi {
public:
    std::int32_t ShellNotifyIcon(std::uint32_t message, const NotifyIconRecord& record) override;
    std::uint32_t GetLastError() override { return lastError_; }
    bool TaskbarExists() override;

private:
    std::uint32_t lastError_ = 0;
};

} // namespace halcyra::win32
