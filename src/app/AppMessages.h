// The program's private window messages. The buttons, links and the caption's
// close button post the first two (with their codes, Page.h); the install
// worker posts the last three, as SetupApp tells it to.
#pragma once

#include "platform/WinDefs.h"

constexpr unsigned MSG_NAVIGATE = WM_USER + 1;
constexpr unsigned MSG_LINK = WM_USER + 5;
constexpr unsigned MSG_INSTALL_PROGRESS = WM_USER + 100;
constexpr unsigned MSG_INSTALL_DONE = WM_USER + 101;
constexpr unsigned MSG_INSTALL_ERROR = WM_USER + 102;
