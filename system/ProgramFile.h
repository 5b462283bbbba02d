#pragma once
// The program file's full path, which names the program folder; tests point the program folder elsewhere.
#include <functional>
#include <string>

#include "system/Seams.h"

extern TReplaceable<std::function<std::string()>> ProgramFileName;
