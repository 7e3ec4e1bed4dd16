#pragma once
// Runs a callable on every way out of a scope, an exception's included: for a value that must
// be put back however the scope ends.
#include <utility>

namespace halcyra {

template <typename Callable>
class ScopeExit {
public:
    explicit ScopeExit(Callable callable) : callable_(std::move(callable)) {}
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    ~ScopeExit() { callable_(); }

private:
    Callable callable_;
};

} // namespace halcyra
