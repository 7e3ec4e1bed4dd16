#pragma once
// The command line of scripts between two copies: the second hands its request to the running
// copy's main window with WM_COPYDATA and gets the exit code back as the answer, and any text
// to print in a record sent to a message-only window of its own while it waits.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "commandline/CommandDispatch.h"
#include "common/IPrompt.h"

namespace halcyra::win32 {

// What became of a request handed to the running copy.
struct Forwarded {
    enum class Outcome {
        Taken,    // result holds its answer
        NoCopy,   // no copy took it, and none will: it is still to be done
        NoAnswer, // a copy got it but did not answer in time: it may still carry it out
    };
    Outcome outcome = Outcome::NoCopy;
    CommandResult result;
};

// Hands the request to the running copy of this user, found by its main window's class.
Forwarded ForwardToRunningCopy(const CommandRequest& request, const char* windowClass);

// A schedule with no copy running: starts the tray copy as a process of its own ("/start"),
// hands it the request as any second copy does and returns its answer once it is given.
// NoCopy when the tray copy could not start or ended without taking the request.
Forwarded StartTrayCopyWith(const CommandRequest& request, const char* windowClass);

// The running copy's way with a forwarded record: its result, none when it refuses the record.
using ForwardedRecord = std::function<std::optional<CommandResult>(std::string_view record)>;

// The main window's WM_COPYDATA: carryOut's answer, 0 for a record it refused.
LRESULT AnswerForwarded(const ForwardedRecord& carryOut, HWND self, HWND sender,
                        const COPYDATASTRUCT* data);

// Prints to the standard output (or error) it was given, else to the console of the program
// that started this one, else tells it with prompt, titled "Halcyra": exactly one of them.
// Unattended ("/quiet"), there is no box: the text goes to the debugger's output instead.
void ShowOutput(IPrompt& prompt, std::string_view text, bool error, bool unattended = false);

} // namespace halcyra::win32
