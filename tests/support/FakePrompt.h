#pragma once
// The user at the other end of every question and message: each box goes into the shared log,
// in order, as "Ask(owner, text, title, icon)" or "Tell(...)", and questions are answered from
// a queue.
#include <cstdio>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "common/IPrompt.h"

namespace halcyra::test {

using Log = std::vector<std::string>;

inline std::string Hex(unsigned long long v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%llX", v);
    return buf;
}

inline std::string IconName(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::None:
        return "None";
    case MessageIcon::Information:
        return "Information";
    case MessageIcon::Question:
        return "Question";
    case MessageIcon::Exclamation:
        return "Exclamation";
    }
    return "?";
}

// The boxes of the log, questions and messages alike, in order.
inline Log Boxes(const Log& log) {
    Log out;
    for (const auto& line : log) {
        if (line.rfind("Ask(", 0) == 0 || line.rfind("Tell(", 0) == 0) {
            out.push_back(line);
        }
    }
    return out;
}

class FakePrompt : public IPrompt {
public:
    explicit FakePrompt(Log& log) : log_(log) {}
    Answer Ask(WindowHandle owner, std::string_view text, std::string_view title,
               MessageIcon icon) override {
        Record("Ask", owner, text, title, icon);
        if (answers.empty()) {
            return otherwise;
        }
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    void Tell(WindowHandle owner, std::string_view text, std::string_view title,
              MessageIcon icon) override {
        Record("Tell", owner, text, title, icon);
        // The box's own message loop runs other handlers while it is open.
        if (auto whileOpen = std::exchange(whileTellOpen, nullptr)) {
            whileOpen();
        }
    }

    std::deque<Answer> answers;          // the next questions' answers, in turn
    Answer otherwise = Answer::Yes;      // the answer once the queue is empty
    std::function<void()> whileTellOpen; // once, inside the next Tell

private:
    void Record(const char* call, WindowHandle owner, std::string_view text, std::string_view title,
                MessageIcon icon) {
        log_.push_back(std::string(call) + "(" + Hex(owner) + ", " + std::string(text) + ", " +
                       std::string(title) + ", " + IconName(icon) + ")");
    }
    Log& log_;
};

} // namespace halcyra::test
