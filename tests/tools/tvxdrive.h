// What the parts of tvxdrive share.
#pragma once
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>

namespace tvxdrive {

HWND ParseHwnd(const char* s);
void MouseButton(DWORD flags);
void MoveTo(POINT p);
// The commands on scroll bars (bar, pos, hold, drag-thumb, wheel, pixel,
// hover, sysbars); -1 when `cmd` is none of them.
int DriveBars(const std::string& cmd, int argc, char** argv);
// set-clipboard, get-clipboard, tray, window, link-target, make-link,
// add-url, lock; -1 for any other `cmd`.
int DriveSystem(const std::string& cmd, int argc, char** argv);

}  // namespace tvxdrive
