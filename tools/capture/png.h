// newyear-terrain's main.cpp still includes the writer by this old name;
// once it includes pngout.h, this file goes.
#pragma once

#include "pngout.h"
