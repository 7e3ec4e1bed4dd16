#pragma once
// The Keep awake dialog: modal, owned by the window that opens it, opened with the last choice.
#include <windows.h>

#include <optional>

#include "awake/AwakeRequest.h"
#include "awake/KeepAwakeChoice.h"
#include "settings/ISettingsStore.h"
#include "watch/IProcessPort.h"

namespace halcyra::win32 {

// Shows the dialog owned by owner; on OK the choice is remembered and returned as a request,
// on Cancel (or Escape, or the close box) nothing is remembered and nothing returned. The
// list offers the programs of other processes that show a window; when says where "until
// HH:MM" would end.
std::optional<AwakeRequest> AskKeepAwake(HWND owner, ISettingsStore& settings,
                                         IProcessPort& processes, const AwakePreview& when);

} // namespace halcyra::win32
