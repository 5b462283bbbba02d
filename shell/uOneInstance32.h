#pragma once
// The single-instance test: one process on the user's desktop holds the mutex
// "Muralia_OneInstance32.Default" from its test to its end; any other ends at once.
#include <windows.h>

// True when this process now owns the single-instance mutex (also when its last owner died without
// releasing it), false when another process owns it.
bool IsFirstInstance();
