// The cost of one message dispatched through the subclassing module against a bare
// CallWindowProcA of the window's own procedure. Medians of timed batches, in nanoseconds.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "winmsg/ISubclass.h"
#include "winmsg/MSubclass.h"
#include "winmsg/win32/Win32SubclassPlatform.h"

namespace {

constexpr UINT kMessage = WM_APP + 1;
// A message of a subclassed window that no client is attached to, as most of them are.
constexpr UINT kOtherMessage = WM_APP + 2;
volatile LONG_PTR g_sink = 0;

LRESULT CALLBACK PlainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kMessage || msg == kOtherMessage) {
        g_sink = g_sink + 1;
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

class CountingClient final : public halcyra::ISubclass {
public:
    explicit CountingClient(std::int32_t response) : response_(response) {}
    std::int32_t MsgResponse() override { return response_; }
    void MsgResponse(std::int32_t value) override { response_ = value; }
    halcyra::LResult WindowProc(halcyra::WindowHandle, std::uint32_t, halcyra::WParam,
                                halcyra::LParam) override {
        g_sink = g_sink + 1;
        return 0;
    }

private:
    std::int32_t response_;
};

double NanosecondsPerCall(WNDPROC proc, HWND hwnd, int calls, UINT message = kMessage) {
    LARGE_INTEGER frequency, from, to;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&from);
    for (int i = 0; i < calls; ++i) {
        CallWindowProcA(proc, hwnd, message, 0, 0);
    }
    QueryPerformanceCounter(&to);
    return 1e9 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart) / calls;
}

// One window-property read, the platform call that the dispatch makes per table entry, by
// name or by the name's atom.
double NanosecondsPerPropertyRead(HWND hwnd, LPCSTR name, int calls) {
    LARGE_INTEGER frequency, from, to;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&from);
    for (int i = 0; i < calls; ++i) {
        g_sink = g_sink + reinterpret_cast<LONG_PTR>(GetPropA(hwnd, name));
    }
    QueryPerformanceCounter(&to);
    return 1e9 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart) / calls;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

HWND MakeWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "BenchSubclassTarget";
    RegisterClassA(&wc);
    return CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                           wc.hInstance, nullptr);
}

} // namespace

int main() {
    constexpr int kCalls = 1000;
    constexpr int kSamples = 101;
    HWND onlyClient = MakeWindow();
    HWND clientThenOld = MakeWindow();
    CountingClient responseOnly(halcyra::ResponseOnly);
    CountingClient responseThenOld(halcyra::ResponseThenOld);
    auto& subclass = halcyra::win32::SubclassModule();
    subclass.AttachMessage(responseOnly, reinterpret_cast<halcyra::WindowHandle>(onlyClient),
                           kMessage);
    subclass.AttachMessage(responseThenOld, reinterpret_cast<halcyra::WindowHandle>(clientThenOld),
                           kMessage);
    const auto replaced = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(onlyClient, GWLP_WNDPROC));

    SetPropA(onlyClient, "BenchProperty", reinterpret_cast<HANDLE>(1));
    const ATOM atom = GlobalFindAtomA("BenchProperty");
    std::vector<double> bare, only, then, unattached, property, propertyByAtom;
    NanosecondsPerCall(PlainProc, onlyClient, kCalls); // warm up
    NanosecondsPerCall(replaced, onlyClient, kCalls);
    // Interleaved, so that a slow moment of the machine touches all three alike.
    for (int i = 0; i < kSamples; ++i) {
        bare.push_back(NanosecondsPerCall(PlainProc, onlyClient, kCalls));
        only.push_back(NanosecondsPerCall(replaced, onlyClient, kCalls));
        then.push_back(NanosecondsPerCall(replaced, clientThenOld, kCalls));
        unattached.push_back(NanosecondsPerCall(replaced, onlyClient, kCalls, kOtherMessage));
        property.push_back(NanosecondsPerPropertyRead(onlyClient, "BenchProperty", kCalls));
        propertyByAtom.push_back(NanosecondsPerPropertyRead(
            onlyClient, reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(atom)), kCalls));
    }
    RemovePropA(onlyClient, "BenchProperty");
    subclass.DetachMessage(responseOnly, reinterpret_cast<halcyra::WindowHandle>(onlyClient),
                           kMessage);
    subclass.DetachMessage(responseThenOld, reinterpret_cast<halcyra::WindowHandle>(clientThenOld),
                           kMessage);
    DestroyWindow(onlyClient);
    DestroyWindow(clientThenOld);

    std::printf("bare_ns=%.1f\nsubclassed_ns=%.1f\nsubclassed_then_old_ns=%.1f\n"
                "unattached_ns=%.1f\nget_prop_ns=%.1f\nget_prop_atom_ns=%.1f\n",
                Median(bare), Median(only), Median(then), Median(unattached), Median(property),
                Median(propertyByAtom));
    return 0;
}
