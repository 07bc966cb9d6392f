// The fuzz program's entry points under test, one file each.
#pragma once

#include "fuzz/FuzzSupport.h"

namespace Fuzz {

TTarget MarkupTarget();
TTarget ZipTarget();
TTarget ConfigTarget();
TTarget TrailerTarget();
TTarget BuilderTarget();
TTarget ImageStringTarget();
TTarget FormattedTextTarget();

} // namespace Fuzz
