#pragma once
// Keeping awake in the running program: the rules of KeepAwake, the dialog that starts them and
// what the window shows while they hold. The window passes it the messages it needs (wake, clock
// change); the form ends it at exit and shows what it holds in the tray.
#include <functional>
#include <optional>
#include <string>

#include "awake/AwakeRequest.h"
#include "awake/IAwakeControl.h"
#include "awake/KeepAwake.h"
#include "common/IPrompt.h"

namespace halcyra {

namespace awakeText {
inline constexpr std::string_view kTitle = "Keep awake";
} // namespace awakeText

class AwakeController final : public IAwakeControl {
public:
    struct Hooks {
        std::function<WindowHandle()> owner;
        // The dialog, modal and owned by owner: the request, or none for Cancel.
        std::function<std::optional<AwakeRequest>()> ask;
        // What is held changed: its status line ("" when off) for the window's status row and
        // menus.
        std::function<void(const std::string& status)> show;
    };

    // A refusal is told through prompt.
    AwakeController(const AwakeServices& services, IPrompt& prompt, Hooks hooks);

    // The main window, built after it, connects its tray: told after the window's row.
    void Connect(std::function<void()> changed) { changed_ = std::move(changed); }

    // "Keep a&wake...": the dialog, then Start; a refusal is told.
    void OpenDialog();
    // Starts or replaces; what is shown follows.
    AwakeResult Start(const AwakeRequest& request) override;
    // "Stop keeping a&wake" and the status row's Stop; false when it was not on.
    bool Stop() override;
    void Resumed() { rules_.Resumed(); }
    void TimeChanged() { rules_.TimeChanged(); }
    // At exit: let go, without notice.
    void End() { rules_.End(); }

    bool On() const { return rules_.On(); }
    std::string Status() const override { return rules_.Status(); }
    std::string TipText() const { return rules_.TipText(); }
    KeepAwake& Rules() { return rules_; }

private:
    void Changed();
    void Tell(const std::string& text);

    IPrompt& prompt_;
    Hooks hooks_;
    std::function<void()> changed_;
    KeepAwake rules_;
    bool showing_ = false;
};

} // namespace halcyra
