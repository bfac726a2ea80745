#pragma once
// A control's id in Windows: its tab index in its window's design, counted from 1000 so that it
// stays clear of IDOK and IDCANCEL. The end-to-end scenarios find controls by the same rule.
#include "platform/Design.h"

constexpr int kFirstControlId = 1000;
constexpr int Win32ControlId(ControlId id) { return kFirstControlId + id; }
