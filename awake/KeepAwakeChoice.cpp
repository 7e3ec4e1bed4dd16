// The Keep awake dialog's choice, stored and read.
#include "awake/KeepAwakeChoice.h"

#include <algorithm>
#include <array>
#include <utility>

#include "common/ClockText.h"
#include "settings/SettingsKeys.h"
#include "watch/ProcessWatcher.h"

namespace halcyra {

namespace {

// The stored names of the four ways, in AwakeKind's order.
constexpr std::array<std::string_view, 4> kKinds = {"Off", "For", "Until", "While"};

std::string Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    const auto last = text.find_last_not_of(" \t");
    return first == text.npos ? std::string() : std::string(text.substr(first, last - first + 1));
}

} // namespace

KeepAwakeChoice KeepAwakeChoice::Load(ISettingsStore& settings) {
    auto get = [&settings](std::string_view key, std::string_view fallback) {
        return settings.GetSetting(settings::kAppName, settings::kSection, key, fallback);
    };
    KeepAwakeChoice c;
    const std::string kind = get(settings::kAwakeWhen, settings::kAwakeWhenDefault);
    for (std::size_t i = 0; i < kKinds.size(); ++i) {
        if (kKinds[i] == kind) {
            c.kind = static_cast<AwakeKind>(i);
        }
    }
    c.minutes =
        clockText::ParseMinutes(get(settings::kAwakeMinutes, settings::kAwakeMinutesDefault))
            .value_or(c.minutes);
    if (const auto at =
            clockText::ParseClockTime(get(settings::kAwakeUntil, settings::kAwakeUntilDefault))) {
        c.hour = at->hour;
        c.minute = at->minute;
    }
    // Only a name the watcher can take comes back; anything else starts the field empty.
    c.program =
        ProcessWatcher::FileName(get(settings::kAwakeProgram, settings::kAwakeProgramDefault));
    c.display = get(settings::kAwakeDisplay, settings::kAwakeDisplayDefault) == "1";
    return c;
}

void KeepAwakeChoice::Save(ISettingsStore& settings) const {
    auto save = [&settings](std::string_view key, const std::string& value) {
        settings.SaveSetting(settings::kAppName, settings::kSection, key, value);
    };
    save(settings::kAwakeWhen, std::string(kKinds[static_cast<std::size_t>(kind)]));
    save(settings::kAwakeMinutes, std::to_string(minutes));
    save(settings::kAwakeUntil, clockText::ClockText(hour, minute));
    save(settings::kAwakeProgram, program);
    save(settings::kAwakeDisplay, display ? "1" : "0");
}

KeepAwakeRead ReadKeepAwake(const KeepAwakeFields& fields, const KeepAwakeChoice& before) {
    KeepAwakeRead read;
    KeepAwakeChoice& c = read.choice;
    c = before;
    c.kind = fields.kind;
    c.display = fields.display;
    const auto minutes = clockText::ParseMinutes(Trimmed(fields.minutes));
    const auto at = clockText::ParseClockTime(Trimmed(fields.time));
    const std::string typed = Trimmed(fields.program);
    // A process id is taken as typed; a path or quotes come down to the file name.
    const std::string program =
        ProcessWatcher::Id(typed) != 0 ? typed : ProcessWatcher::FileName(typed);
    c.minutes = minutes.value_or(c.minutes);
    if (at) {
        c.hour = at->hour;
        c.minute = at->minute;
    }
    if (!program.empty() && ProcessWatcher::Id(program) == 0) {
        c.program = program; // an id names one run, not worth remembering
    }
    AwakeRequest r;
    r.kind = fields.kind;
    r.display = fields.display;
    switch (fields.kind) {
    case AwakeKind::UntilOff:
        break;
    case AwakeKind::For:
        if (!minutes) {
            read.problem = "Enter 1 to 1440 minutes.";
        }
        r.minutes = c.minutes;
        break;
    case AwakeKind::Until:
        if (!at) {
            read.problem = "Enter a time from 00:00 to 23:59.";
        }
        r.hour = c.hour;
        r.minute = c.minute;
        break;
    case AwakeKind::While:
        if (program.empty()) {
            read.problem = "Choose a program or type its file name, such as ffmpeg.exe.";
        }
        r.program = program;
        break;
    }
    if (read.problem.empty()) {
        read.request = r;
    }
    return read;
}

std::string PreviewLine(const KeepAwakeRead& read, const AwakePreview& when) {
    if (!read.request) {
        return read.problem;
    }
    const AwakeRequest& r = *read.request;
    std::string what;
    switch (r.kind) {
    case AwakeKind::UntilOff:
        what = "until turned off";
        break;
    case AwakeKind::For:
        what = "for " + std::to_string(r.minutes) + (r.minutes == 1 ? " minute" : " minutes");
        break;
    case AwakeKind::Until:
        what = "until " + when(r.hour, r.minute);
        break;
    case AwakeKind::While:
        what = "while " + r.program + " runs";
        break;
    }
    return "Kept awake " + what + (r.display ? " and the screen on" : "");
}

} // namespace halcyra
