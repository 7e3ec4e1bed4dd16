#pragma once
// The Keep awake dialog's choice as a value: read from and written to the settings store, and
// turned from what the user typed into a request, or into the reason it cannot be one.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "awake/AwakeRequest.h"
#include "settings/ISettingsStore.h"
#include "watch/IProcessPort.h"

namespace halcyra {

// What the dialog shows, each way's value kept while another way is chosen.
struct KeepAwakeChoice {
    AwakeKind kind = AwakeKind::UntilOff;
    int minutes = 60;
    int hour = 18;
    int minute = 0;
    std::string program; // a file name, "ffmpeg.exe"
    bool display = false;
    bool operator==(const KeepAwakeChoice&) const = default;

    // The last choice; a value stored oddly (out of range, not a number) is its default.
    static KeepAwakeChoice Load(ISettingsStore& settings);
    void Save(ISettingsStore& settings) const;
};

// The dialog's fields as typed.
struct KeepAwakeFields {
    AwakeKind kind = AwakeKind::UntilOff;
    std::string minutes;
    std::string time; // "HH:MM"
    std::string program;
    bool display = false;
};

// The typed fields read: the request and the choice to remember, or what to put right.
struct KeepAwakeRead {
    std::optional<AwakeRequest> request;
    KeepAwakeChoice choice; // the fields that were valid, the rest from the choice before
    std::string problem;    // empty when request is set
};

KeepAwakeRead ReadKeepAwake(const KeepAwakeFields& fields, const KeepAwakeChoice& before);

// Where "until HH:MM" would end if started now: "today 18:00", "tomorrow 02:00".
using AwakePreview = std::function<std::string(int hour, int minute)>;

// The dialog's line under the choice: "Kept awake until today 18:00 and the screen on", or what
// to put right.
std::string PreviewLine(const KeepAwakeRead& read, const AwakePreview& when);

} // namespace halcyra
