// The command line of scripts, as the main window carries it out.
#include "commandline/CommandLine.h"
#include "commandline/ForwardRecord.h"
#include "app/HalcyraForm.h"
#include "settings/SettingsKeys.h"

namespace halcyra {

void HalcyraForm::LoadForCommand() {
    // As start-up reads it, without ticking the box: that would store the setting again.
    const std::string confirm = s_.settings.GetSetting(
        settings::kAppName, settings::kSection, settings::kConfirm, settings::kConfirmDefault);
    confirm_ = ParseNumber(confirm) == 1.0;
}

std::optional<CommandResult> HalcyraForm::CommandForwarded(std::string_view record) {
    // A copy still asking whether to start, or already ending, holds no schedule.
    if (!sysIcon_ || unloaded_) {
        return std::nullopt;
    }
    const std::optional<std::string> text = forward::Decode(forward::RecordKind::Command, record);
    if (!text) {
        return std::nullopt;
    }
    const ParsedCommand parsed = ParseCommand(*text);
    if (parsed.kind != ParsedCommand::Kind::Request) {
        return std::nullopt;
    }
    return CarryOut(parsed.request, *this, Schedule(), awake_);
}

} // namespace halcyra
