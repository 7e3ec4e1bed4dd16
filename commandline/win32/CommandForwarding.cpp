#include "commandline/win32/CommandForwarding.h"

#include <memory>
#include <vector>

#include "commandline/ForwardRecord.h"
#include "common/Product.h"
#include "common/win32/UniqueHandle.h"
#include "common/win32/Utf8.h"
#include "common/win32/WindowProcedure.h"
#include "settings/SettingsKeys.h"

namespace halcyra::win32 {

namespace {

// A question in the running copy waits for the user; only a copy that stops answering
// messages altogether (SMTO_ABORTIFHUNG) or this long a wait gives up.
constexpr UINT kForwardTimeoutMs = 10 * 60 * 1000;
constexpr UINT kReplyTimeoutMs = 5000;
constexpr const char* kReplyClass = "HalcyraCommandReply";
// How long a tray copy started for a schedule may take to come up, on a busy machine too.
constexpr DWORD kTrayStartPatienceMs = 60000;
constexpr DWORD kTrayPollMs = 100;

// Where a failure nobody is shown still goes.
void DebugLine(const std::string& text) {
    ::OutputDebugStringA(("Halcyra: " + text + "\n").c_str());
}

// A tray copy started for one request that it refused holds nothing: it goes again, so that a
// refused script leaves no icon behind. Another copy that took the request in between stays.
void CloseStartedCopy(const char* windowClass, DWORD started) {
    for (HWND main = nullptr; (main = ::FindWindowExA(nullptr, main, windowClass, nullptr));) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(main, &pid);
        if (pid == started) {
            ::PostMessageA(main, WM_CLOSE, 0, 0);
        }
    }
}

std::string_view RecordBytes(const COPYDATASTRUCT* data) {
    if (!data || data->dwData != forward::kCopyDataId || (data->cbData != 0 && !data->lpData)) {
        return {};
    }
    return {static_cast<const char*>(data->lpData), data->cbData};
}

bool SendRecord(HWND to, HWND from, const std::string& record, UINT timeoutMs, DWORD_PTR* answer) {
    COPYDATASTRUCT data{};
    data.dwData = forward::kCopyDataId;
    data.cbData = static_cast<DWORD>(record.size());
    data.lpData = const_cast<char*>(record.data());
    return ::SendMessageTimeoutA(to, WM_COPYDATA, reinterpret_cast<WPARAM>(from),
                                 reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, timeoutMs,
                                 answer) != 0;
}

// The user a process runs as; empty when it cannot be told.
std::vector<BYTE> ProcessUser(HANDLE process) {
    HANDLE raw = nullptr;
    if (!::OpenProcessToken(process, TOKEN_QUERY, &raw)) {
        return {};
    }
    const unique_handle token(raw);
    DWORD size = 0;
    ::GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    if (size == 0 || !::GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size)) {
        return {};
    }
    const PSID sid = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
    const BYTE* first = static_cast<const BYTE*>(sid);
    return {first, first + ::GetLengthSid(sid)};
}

// Another user's copy on this desktop (started with "Run as") is not ours to drive.
bool SameUser(DWORD pid, const std::vector<BYTE>& self) {
    const unique_handle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    return process && !self.empty() && ProcessUser(process.get()) == self;
}

// Receives the running copy's text while this copy waits for its answer.
class ReplyWindow {
public:
    explicit ReplyWindow(HINSTANCE instance) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = WindowProcedure<ReplyWindow>::Window;
        wc.hInstance = instance;
        wc.lpszClassName = kReplyClass;
        ::RegisterClassExA(&wc);
        // Adopted at its creation (WM_NCCREATE) and owned from then on.
        if (!::CreateWindowExA(0, kReplyClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                               this)) {
            window_.release();
        }
    }
    HWND Hwnd() const { return window_.get(); }
    const std::string& Text() const { return text_; }

private:
    friend struct WindowProcedure<ReplyWindow>;
    void Adopt(HWND hwnd) { window_.reset(hwnd); }
    LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg != WM_COPYDATA) {
            return ::DefWindowProcA(hwnd, msg, wParam, lParam);
        }
        const auto text =
            forward::Decode(forward::RecordKind::Output,
                            RecordBytes(reinterpret_cast<const COPYDATASTRUCT*>(lParam)));
        if (!text) {
            return FALSE;
        }
        text_ = *text;
        return TRUE;
    }

    std::string text_;
    unique_hwnd window_;
};

} // namespace

Forwarded ForwardToRunningCopy(const CommandRequest& request, const char* windowClass) {
    const std::string record = forward::Encode(forward::RecordKind::Command, CommandText(request));
    const std::vector<BYTE> self = ProcessUser(::GetCurrentProcess());
    ReplyWindow reply(::GetModuleHandleA(nullptr));
    // A copy still asking whether to start refuses; the next window may be the running one.
    HWND candidate = nullptr;
    while ((candidate = ::FindWindowExA(nullptr, candidate, windowClass, nullptr)) != nullptr) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(candidate, &pid);
        if (pid == ::GetCurrentProcessId() || !SameUser(pid, self)) {
            continue;
        }
        // Its question, if it asks one, may come to the front.
        ::AllowSetForegroundWindow(pid);
        DWORD_PTR answer = 0;
        const bool sent = SendRecord(candidate, reply.Hwnd(), record, kForwardTimeoutMs, &answer);
        const DWORD error = ::GetLastError();
        if (sent && answer >= static_cast<DWORD_PTR>(forward::kTaken)) {
            return {Forwarded::Outcome::Taken,
                    CommandResult{static_cast<int>(answer - forward::kTaken), reply.Text()}};
        }
        // Unanswered while its window lives on: the record may still wait in its queue, so
        // carrying the request out anywhere else could do it twice.
        if (!sent && ::IsWindow(candidate)) {
            DebugLine("the running copy did not answer a command line, error " +
                      std::to_string(error));
            return {Forwarded::Outcome::NoAnswer, {}};
        }
    }
    return {};
}

Forwarded StartTrayCopyWith(const CommandRequest& request, const char* windowClass) {
    const std::wstring path = ModuleFileName();
    std::wstring line = L"\"" + path + L"\" " + Widen(settings::kStartArgument);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    // None of this process's output either: a caller reading it to its end would wait for the
    // tray copy's.
    si.dwFlags = STARTF_USESTDHANDLES;
    PROCESS_INFORMATION pi{};
    // It outlives this process: no console of the starter's, and out of the starter's job where
    // the job allows it (Task Scheduler's may end its processes with the task).
    bool started = false;
    for (const DWORD flags :
         {DWORD{DETACHED_PROCESS | CREATE_BREAKAWAY_FROM_JOB}, DWORD{DETACHED_PROCESS}}) {
        if (!started) {
            started = ::CreateProcessW(path.c_str(), line.data(), nullptr, nullptr, FALSE, flags,
                                       nullptr, nullptr, &si, &pi) != FALSE;
        }
    }
    if (!started) {
        DebugLine("the tray copy could not be started, error " + std::to_string(::GetLastError()));
        return {};
    }
    const unique_handle process(pi.hProcess);
    const unique_handle thread(pi.hThread);
    // It takes a request only once its start-up is over, which is when it first waits for
    // input; asked sooner, a slow start-up would look like a copy that does not answer.
    ::WaitForInputIdle(process.get(), kTrayStartPatienceMs);
    const ULONGLONG end = ::GetTickCount64() + kTrayStartPatienceMs;
    for (;;) {
        const bool ended = ::WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0;
        // Still asking whether to start another copy, it refuses; then another copy may take it.
        Forwarded forwarded = ForwardToRunningCopy(request, windowClass);
        if (forwarded.outcome == Forwarded::Outcome::Taken &&
            forwarded.result.exitCode != command::kExitDone) {
            CloseStartedCopy(windowClass, pi.dwProcessId);
        }
        if (forwarded.outcome != Forwarded::Outcome::NoCopy) {
            return forwarded;
        }
        if (ended) {
            DWORD code = 0;
            ::GetExitCodeProcess(process.get(), &code);
            DebugLine("the tray copy ended with " + std::to_string(code) +
                      " before it took the command line");
            return {};
        }
        if (::GetTickCount64() >= end) {
            DebugLine("the tray copy did not take the command line in time");
            return {Forwarded::Outcome::NoAnswer, {}};
        }
        ::WaitForSingleObject(process.get(), kTrayPollMs);
    }
}

LRESULT AnswerForwarded(const ForwardedRecord& carryOut, HWND self, HWND sender,
                        const COPYDATASTRUCT* data) {
    const std::optional<CommandResult> result = carryOut(RecordBytes(data));
    if (!result) {
        return 0;
    }
    if (!result->output.empty()) {
        DWORD_PTR taken = FALSE;
        const bool sent =
            sender && ::IsWindow(sender) &&
            SendRecord(sender, self, forward::Encode(forward::RecordKind::Output, result->output),
                       kReplyTimeoutMs, &taken);
        if (!sent || taken != TRUE) {
            DebugLine("the answer to a command line could not be sent back, error " +
                      std::to_string(::GetLastError()));
        }
    }
    return forward::kTaken + result->exitCode;
}

void ShowOutput(IPrompt& prompt, std::string_view text, bool error, bool unattended) {
    // Lines end as the console and Notepad expect.
    std::string lines;
    for (const char c : text) {
        lines += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    lines += "\r\n";
    const HANDLE given = ::GetStdHandle(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    const DWORD type =
        given && given != INVALID_HANDLE_VALUE ? ::GetFileType(given) : FILE_TYPE_UNKNOWN;
    // Redirected to a file or a pipe by the starter: the text goes there as it is.
    if (type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE) {
        DWORD written = 0;
        if (!::WriteFile(given, lines.data(), static_cast<DWORD>(lines.size()), &written,
                         nullptr)) {
            DebugLine("the output could not be written, error " + std::to_string(::GetLastError()) +
                      ": " + std::string(text));
        }
        return;
    }
    // Refused as "access denied" when this program has a console already: Wine gives a window
    // program its starter's.
    const bool attached = ::AttachConsole(ATTACH_PARENT_PROCESS) != FALSE;
    if (attached || ::GetLastError() == ERROR_ACCESS_DENIED) {
        const HANDLE opened =
            ::CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        const unique_handle console(opened == INVALID_HANDLE_VALUE ? nullptr : opened);
        const std::wstring wide = Widen(lines);
        DWORD written = 0;
        const bool shown =
            console && ::WriteConsoleW(console.get(), wide.data(), static_cast<DWORD>(wide.size()),
                                       &written, nullptr);
        if (attached) {
            ::FreeConsole();
        }
        if (shown) {
            return;
        }
        DebugLine("the output could not be written to the console");
    }
    // Nobody would click the box away: the exit code answers, and this line says why.
    if (unattended) {
        DebugLine(std::string(text));
        return;
    }
    prompt.Tell(0, text, product::kName,
                error ? MessageIcon::Exclamation : MessageIcon::Information);
}

} // namespace halcyra::win32
