// The new-version check of the About page. The request runs on a worker
// thread, so the program answers meanwhile; the outcome comes back to the
// main window as WM_VERSION_CHECKED and is shown on the About page.
#pragma once

#include <windows.h>

constexpr UINT WM_VERSION_CHECKED = WM_APP + 1;

// The About page that shows the check's progress and owns its messages;
// null when the page closes. A page opened while a check runs shows it.
void AttachVersionCheckPage(HWND aboutPage);
// Starts a check, unless one is running.
void CheckForNewVersion();
// The worker's outcome (wParam of WM_VERSION_CHECKED): told on the About
// page, or dropped when the sheet that asked has closed.
void OnVersionChecked(WPARAM outcome);
