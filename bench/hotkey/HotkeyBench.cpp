// From a WM_HOTKEY reaching the subclassed main window to the power request, on the portable
// core with recording fakes: the whole road of a hotkey inside the process (subclass table,
// slot table, action dispatch, privilege calls). Beside it, the recording power call alone.
#include <benchmark/benchmark.h>

#include "support/FormFakes.h"

namespace halcyra::test {
namespace {

constexpr std::uint32_t kHotkeyMessage = 0x312; // WM_HOTKEY

// The slot that the stored letter for Shutdown was given at start-up.
WParam ShutdownSlot(FormBench& b) {
    for (WParam slot = 1; slot <= 7; ++slot) {
        if (b.hotkeys.Slot(static_cast<std::int64_t>(slot)) == "Shutdown") {
            return slot;
        }
    }
    return 0;
}

void BM_HotkeyToPowerRequest(benchmark::State& state) {
    FormBench b;
    b.settings.values["Confirm"] = "0";
    b.settings.values["HotKeyShutdown"] = "S";
    b.Start();
    const WParam slot = ShutdownSlot(b);
    if (slot == 0) {
        state.SkipWithError("no hotkey slot holds Shutdown");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(b.Send(kHotkeyMessage, slot));
        b.log.clear();
    }
}
BENCHMARK(BM_HotkeyToPowerRequest);

void BM_PowerRequestAlone(benchmark::State& state) {
    Log log;
    FakePower power{log};
    for (auto _ : state) {
        benchmark::DoNotOptimize(power.ExitWindowsEx(8, 0));
        log.clear();
    }
}
BENCHMARK(BM_PowerRequestAlone);

} // namespace
} // namespace halcyra::test

BENCHMARK_MAIN();
