#pragma once
// The schedule's clock and last-input source on the real system.
#include "common/IClock.h"

namespace halcyra::win32 {

class Win32Clock final : public IClock, public ILastInput {
public:
    std::int64_t NowMs() const override;
    std::int64_t UtcSeconds() const override;
    LocalTime ToLocal(std::int64_t utcSeconds) const override;
    std::optional<std::int64_t> FromLocal(const LocalTime& local) const override;
    std::int64_t LastInputMs() const override;
};

} // namespace halcyra::win32
