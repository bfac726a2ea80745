#pragma once
// The one place failures go that the program deliberately lives with: an exception stopped at a
// window procedure, a Win32 call that failed where there is nothing better to do than go on.
// Each line goes to the debugger; and to a log file when ORVELUND_TRACE names one.
#include <string>

void Trace(const std::string& what);

// "what failed: error N" with the thread's last Win32 error.
void TraceLastError(const char* what);

// For a catch-all at a window procedure: names the exception where there is one.
void TraceException(const char* where) noexcept;
