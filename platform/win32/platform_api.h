// The real platform: the Windows SDK headers and the Microsoft C runtime.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <stdlib.h>
#include <string.h>
