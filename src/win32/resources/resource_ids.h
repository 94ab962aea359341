#pragma once
// Identifiers of the Windows program's resources (varnelko.rc), for
// LoadIcon(instance, MAKEINTRESOURCEW(kProgramIcon)) and the like.
// Plain macros: the resource compiler reads this file too.
#define VARNELKO_IDI_PROGRAM 1  // the program's icon, the same picture as on Linux
