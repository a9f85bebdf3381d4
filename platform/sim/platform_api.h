// The simulated Windows 95 machine, as the programs see it.
//
// Each header below is a service of the machine with its contract: what the caller passes,
// what it may rely on, and which results it can see. Results are Windows' own codes.
// Every call is written to the trace when the machine has one (see the README).
#pragma once

#include <stdlib.h>
#include <string.h>

#include "win_types.h"
#include "win_kernel.h"
#include "win_registry.h"
#include "win_user.h"
#include "win_mixer.h"
