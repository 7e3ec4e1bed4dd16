#include "awake/win32/Win32PowerRequest.h"

#include <string>

#include "common/win32/SystemErrorText.h"
#include "common/win32/Utf8.h"

namespace halcyra::win32 {

namespace {

constexpr ULONG kContextVersion = 0; // POWER_REQUEST_CONTEXT_VERSION

// Said mid-sentence: without the system's final period, and never empty.
std::string ErrorText(DWORD error) {
    std::string text = SystemErrorText(error);
    if (!text.empty() && text.back() == '.') {
        text.pop_back();
    }
    return text.empty() ? "error " + std::to_string(error) : text;
}

} // namespace

Win32PowerRequest::~Win32PowerRequest() {
    Release();
}

PowerHoldResult Win32PowerRequest::Hold(bool display, std::string_view reason) {
    if (!noRequests_) {
        if (const auto refusal = HoldByRequest(display, reason)) {
            return {refusal->empty(), *refusal}; // no text: held
        }
        noRequests_ = true;
        ::OutputDebugStringA("Halcyra: no power requests here; the thread's execution state holds "
                             "the computer awake\n");
    }
    auto setState = threadState_.get();
    if (!setState) {
        return {false, ErrorText(threadState_.error())};
    }
    // Continuous: held until changed, by this thread only; it ends with the thread.
    const EXECUTION_STATE flags =
        ES_CONTINUOUS | ES_SYSTEM_REQUIRED | (display ? ES_DISPLAY_REQUIRED : 0);
    if (setState(flags) == 0) {
        return {false, "the thread's execution state was not accepted"};
    }
    ClearRequest();
    way_ = Way::ThreadState;
    return {true, ""};
}

std::optional<std::string> Win32PowerRequest::HoldByRequest(bool display, std::string_view reason) {
    auto create = create_.get();
    auto set = set_.get();
    if (!create || !set || !clear_.get()) {
        return std::nullopt;
    }
    std::wstring text = Widen(reason);
    REASON_CONTEXT context{};
    context.Version = kContextVersion;
    context.Flags = POWER_REQUEST_CONTEXT_SIMPLE_STRING;
    context.Reason.SimpleReasonString = text.data();
    HANDLE created = create(&context);
    if (created == INVALID_HANDLE_VALUE || created == nullptr) {
        const DWORD error = ::GetLastError();
        return error == ERROR_CALL_NOT_IMPLEMENTED ? std::nullopt : std::optional(ErrorText(error));
    }
    // A fresh request for every hold: its reason is fixed at creation, and setting one twice
    // would need two clears. Closing a request drops whatever it had set.
    unique_handle fresh(created);
    if (!set(fresh.get(), PowerRequestSystemRequired) ||
        (display && !set(fresh.get(), PowerRequestDisplayRequired))) {
        const DWORD error = ::GetLastError();
        return error == ERROR_CALL_NOT_IMPLEMENTED ? std::nullopt : std::optional(ErrorText(error));
    }
    ClearRequest();
    request_ = std::move(fresh);
    requestDisplay_ = display;
    way_ = Way::Request;
    return std::string();
}

void Win32PowerRequest::ClearRequest() {
    if (request_) {
        auto clear = clear_.get();
        clear(request_.get(), PowerRequestSystemRequired);
        if (requestDisplay_) {
            clear(request_.get(), PowerRequestDisplayRequired);
        }
        request_.reset();
    }
}

void Win32PowerRequest::Release() {
    ClearRequest();
    if (way_ == Way::ThreadState) {
        if (auto setState = threadState_.get()) {
            setState(ES_CONTINUOUS);
        }
    }
    way_ = Way::None;
}

} // namespace halcyra::win32
