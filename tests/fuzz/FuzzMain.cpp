// The fuzz program: every entry point in one runner (see FuzzSupport.h for the command line).
#include "veneer/core/UISetup.h"
#include "fuzz/FuzzTargets.h"

int main()
{
    using namespace Fuzz;
    return Main({ MarkupTarget(), ZipTarget(), ConfigTarget(), TrailerTarget(), BuilderTarget(), ImageStringTarget(),
                  FormattedTextTarget() });
}
