// The platform as the programs and the framework see it: the Win32 and C runtime calls,
// records and constants they use, and nothing else.
//
// CMake puts one of two folders on the include path: platform/win32, where the real
// Windows headers stand behind this name, or platform/sim, where the simulated Windows 95
// machine does. The programs include this header only.
#pragma once

#include "platform_api.h"
