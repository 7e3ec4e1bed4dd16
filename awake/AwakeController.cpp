#include "awake/AwakeController.h"

#include <utility>

namespace halcyra {

AwakeController::AwakeController(const AwakeServices& services, IPrompt& prompt, Hooks hooks)
    : prompt_(prompt), hooks_(std::move(hooks)),
      rules_(services, KeepAwake::Hooks{[this] { Changed(); },
                                        [this](const std::string& text) { Tell(text); }}) {}

void AwakeController::OpenDialog() {
    const std::optional<AwakeRequest> request = hooks_.ask ? hooks_.ask() : std::nullopt;
    if (!request) {
        return; // Cancel changes nothing
    }
    const AwakeResult result = Start(*request);
    if (result.outcome != AwakeOutcome::On) {
        Tell(result.message);
    }
}

AwakeResult AwakeController::Start(const AwakeRequest& request) {
    AwakeResult result = rules_.Start(request);
    Changed();
    return result;
}

bool AwakeController::Stop() {
    const bool was = rules_.Stop();
    Changed();
    return was;
}

void AwakeController::Changed() {
    // Not again while a report is being shown (the rules may report from inside it).
    if (showing_) {
        return;
    }
    showing_ = true;
    if (hooks_.show) {
        hooks_.show(rules_.Status());
    }
    if (changed_) {
        changed_();
    }
    showing_ = false;
}

void AwakeController::Tell(const std::string& text) {
    prompt_.Tell(hooks_.owner ? hooks_.owner() : WindowHandle{}, text, awakeText::kTitle,
                 MessageIcon::Exclamation);
}

} // namespace halcyra
