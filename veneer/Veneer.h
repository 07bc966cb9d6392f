// Public header of the Veneer UI framework: includes every part of it.
#pragma once

#include "veneer/core/UISetup.h"

#include "veneer/core/UIString.h"
#include "veneer/core/UIMarkup.h"

#include "veneer/window/UIManager.h"
