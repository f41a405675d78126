// Numbers that no other user of the machine can guess, for the names of
// setup's own files.
#pragma once

#include <cstdint>

// The system's cryptographic random numbers where it has them (Windows NT
// 4.0 and later); elsewhere a mix of clocks and addresses, which suffices
// on Windows 95, 98 and ME, where every user may write every file anyway.
uint64_t UnpredictableNumber();
