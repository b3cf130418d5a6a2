// The core's Windows-1252 texts in the window's controls and back, through
// the base's one table (common/QtText.h).
#pragma once

#include "common/QtText.h"
#include "views/QtImage.h"
