// The modal message box: the fatal start-up error, the install error and the
// cancel question.
#pragma once

#include "platform/PlatformTypes.h"

namespace platform {

// Shows `text` under `caption` (MessageBoxW; `type` MB_ values: MB_OK or MB_YESNO,
// optionally with an MB_ICON value) and returns the button chosen: IDOK, IDYES
// or IDNO. `owner` may be null. 0 when the box cannot be shown.
int messageBox(WindowHandle owner, const char* text, const char* caption, unsigned type);

}  // namespace platform
