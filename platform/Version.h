#pragma once
// The program's version: read by the code and stamped into the exe's version resource.
// Plain defines so that the resource compiler can read this file too.
#define ORVELUND_VERSION_MAJOR 2
#define ORVELUND_VERSION_MINOR 1
#define ORVELUND_VERSION_REVISION 1
#define ORVELUND_VERSION_TEXT "2.01.0001"
