// Public header of the Veneer UI framework: includes every part of it.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/render/UIRender.h"
#include "veneer/render/UIRenderBlend.h"
#include "veneer/render/UIRenderImage.h"
