// Public header of the Veneer UI framework: includes every part of it.
#pragma once

#include "veneer/core/UISetup.h"

#include "veneer/core/UIString.h"
#include "veneer/core/UIArray.h"
#include "veneer/core/UIStringPtrMap.h"
#include "veneer/core/UIGeometry.h"
#include "veneer/core/UIWaitCursor.h"
#include "veneer/core/UIDelegate.h"
#include "veneer/core/UIMarkup.h"
#include "veneer/core/UIDialogBuilder.h"

#include "veneer/render/UIZip.h"
#include "veneer/render/UIResourceFile.h"
#include "veneer/render/UIRender.h"
#include "veneer/render/UIRenderBlend.h"
#include "veneer/render/UIRenderImage.h"

#include "veneer/window/UIManager.h"
#include "veneer/window/UIWindowWnd.h"
#include "veneer/window/UINotifyPump.h"
#include "veneer/window/UIWindowImplBase.h"

#include "veneer/control/UIAttribute.h"
#include "veneer/control/UIControl.h"
#include "veneer/control/UIContainer.h"
#include "veneer/control/UIVerticalLayout.h"
#include "veneer/control/UIHorizontalLayout.h"
#include "veneer/control/UIScrollBar.h"
#include "veneer/control/UILabel.h"
#include "veneer/control/UIButton.h"
#include "veneer/control/UIOption.h"
#include "veneer/control/UICheckBox.h"
#include "veneer/control/UITabLayout.h"
#include "veneer/control/UIProgress.h"
#include "veneer/control/UISlider.h"
#include "veneer/control/UIActiveX.h"
