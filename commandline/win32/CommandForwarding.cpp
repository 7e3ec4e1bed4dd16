#include "commandline/win32/CommandForwarding.h"

#include <memory>
#include <vector>

#include "commandline/ForwardRecord.h"
#include "common/Product.h"
#include "common/win32/UniqueHandle.h"
#include "common/win32/Utf8.h"
#include "common/win32/WindowProcedure.h"

namespace halcyra::win32 {

namespace {

// A question in the running copy waits for the user; only a copy that stops answering
// messages altogether (SMTO_ABORTIFHUNG) or this long a wait gives up.
constexpr UINT kForwardTimeoutMs = 10 * 60 * 1000;
constexpr UINT kReplyTimeoutMs = 5000;
constexpr const char* kReplyClass = "HalcyraCommandReply";

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

std::optional<CommandResult> ForwardToRunningCopy(const CommandRequest& request,
                                                  const char* windowClass) {
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
        if (SendRecord(candidate, reply.Hwnd(), record, kForwardTimeoutMs, &answer) &&
            answer >= static_cast<DWORD_PTR>(forward::kTaken)) {
            return CommandResult{static_cast<int>(answer - forward::kTaken), reply.Text()};
        }
    }
    return std::nullopt;
}

LRESULT AnswerForwarded(const ForwardedRecord& carryOut, HWND self, HWND sender,
                        const COPYDATASTRUCT* data) {
    const std::optional<CommandResult> result = carryOut(RecordBytes(data));
    if (!result) {
        return 0;
    }
    if (!result->output.empty() && sender && ::IsWindow(sender)) {
        DWORD_PTR ignored = 0;
        SendRecord(sender, self, forward::Encode(forward::RecordKind::Output, result->output),
                   kReplyTimeoutMs, &ignored);
    }
    return forward::kTaken + result->exitCode;
}

void ShowOutput(std::string_view text, bool error) {
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
        ::WriteFile(given, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
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
    }
    ::MessageBoxW(nullptr, Widen(text).c_str(), Widen(product::kName).c_str(),
                  MB_OK | (error ? MB_ICONEXCLAMATION : MB_ICONINFORMATION));
}

} // namespace halcyra::win32
