#pragma once
// The one way tests wait: poll a condition until it holds or a generous deadline passes, so a
// busy machine only makes a test slower, never wrong.
#include <chrono>
#include <thread>

namespace halcyra::test {

// True as soon as done() holds; after the deadline, done()'s last answer.
template <typename Condition>
bool WaitUntil(Condition done, int milliseconds = 10000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) {
        if (done()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return done();
}

} // namespace halcyra::test
