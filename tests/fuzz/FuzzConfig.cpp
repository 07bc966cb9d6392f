// Fuzz target: the launcher's configuration read from a damaged XML resource.
#include "veneer/core/UISetup.h"
#include "fuzz/FuzzTargets.h"

#include "app/ClientConfig.h"

namespace Fuzz {

namespace {

void Seeds(Inputs& seeds)
{
    AddFiles(seeds, "skin", L"config.xml");
    AddTestLiterals(seeds, "tests/app", { "<microClient", "value=" }, "<microClient>", "</microClient>");
}

bool Run(const BYTE* data, size_t size)
{
    CMicroClientConfig config;
    return LoadClientConfig(config, data, static_cast<DWORD>(size));
}

} // namespace

TTarget ConfigTarget()
{
    return { "config", Seeds,
             { "<loginFrameSize value=\"", "<loginWebRect value=\"", "<miniRect value=\"", "<closeRect value=\"",
               "<loginURL value=\"", "<playGamekeyWord value=\"", "<clientName value=\"", "\" />", " value=\"",
               "1034,680", "-5,-5,2147483647,-2147483648", "\xEF\xBB\xBF" },
             16 * 1024, Run };
}

} // namespace Fuzz
