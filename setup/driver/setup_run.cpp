#include "setup/driver/setup_run.h"

#include "setup/platform/accounts.h"

namespace setup {

const SystemCalls& systemCalls()
{
    static const SystemCalls calls = {isAdministratorAccount, startInstaller, waitForChild};
    return calls;
}

void initSetupRun(SetupRun& run)
{
    run = SetupRun();
    run.system = &systemCalls();
    run.packageFd = -1;
}

}  // namespace setup
