#include "tests/setup/driver/driver_fixture.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "setup/driver/end_of_run.h"
#include "setup/driver/start_up.h"
#include "setup/platform/files.h"

namespace setup::testing {

mkpackage::EntryPlan storedEntry(const std::string& name, const std::string& content)
{
    mkpackage::EntryPlan entry;
    entry.name = name;
    entry.data.assign(content.begin(), content.end());
    entry.method = mkpackage::Method::Stored;
    entry.modified = mkpackage::makeDosDateTime(2024, 3, 1, 10, 0, 0);
    return entry;
}

mkpackage::PackagePlan shippedLikePlan()
{
    mkpackage::PackagePlan plan;
    plan.image.assign({0x7F, 'E', 'L', 'F'});
    plan.header.productName = "KARVELO";
    plan.header.infName = "KARV10G1.INF";
    plan.header.notice = "Freeware - bitte weitergeben.";
    plan.header.adminOnly = true;
    plan.header.hideInfoButton = true;
    plan.header.advancedInf = true;
    plan.entries = sampleEntries();
    return plan;
}

std::vector<mkpackage::EntryPlan> sampleEntries()
{
    mkpackage::EntryPlan deflated = storedEntry("sounds/sound1.wav", std::string(3000, 'w'));
    deflated.method = mkpackage::Method::Deflate;
    return {storedEntry("KARV10G1.INF", "[Version]\r\nSignature=\"$CHICAGO$\"\r\n"), deflated,
            storedEntry("P1.dat", std::string(11 * 39, '\0'))};
}

DriverFixture::DriverFixture()
{
    if (const char* old = getenv("TMPDIR")) {
        hadTmpdir_ = true;
        previousTmpdir_ = old;
    }
    mkdir(tmp.c_str(), 0700);
    setenv("TMPDIR", tmp.c_str(), 1);
    char buffer[4096];
    startFolder = getcwd(buffer, sizeof buffer) ? buffer : "";
    initSetupRun(run);
    run.system = system.calls();
}

DriverFixture::~DriverFixture()
{
    if (!finished)
        finish();
    if (hadTmpdir_)
        setenv("TMPDIR", previousTmpdir_.c_str(), 1);
    else
        unsetenv("TMPDIR");
    if (chdir(startFolder.c_str()) != 0)
        ADD_FAILURE() << "cannot return to " << startFolder;
}

bool DriverFixture::prepareBytes(const mkpackage::Bytes& bytes)
{
    dir.write("KARVELO-setup.run", std::string(bytes.begin(), bytes.end()));
    return prepareSetup(run, ownPath.c_str(), openExistingForReading(ownPath.c_str()), window);
}

bool DriverFixture::prepare(const mkpackage::PackagePlan& plan)
{
    return prepareBytes(mkpackage::buildPackage(plan).bytes);
}

int DriverFixture::finish()
{
    finished = true;
    return finishSetup(run, window);
}

void DriverFixture::restart()
{
    if (!finished)
        finish();
    finished = false;
    initSetupRun(run);
    run.system = system.calls();
    window.log.clear();
}

bool DriverFixture::exists(const std::string& path)
{
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

}  // namespace setup::testing
