#include "tests/setup/program/program_support.h"

#include <sys/stat.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace setup::testing {

mkpackage::EntryPlan fileEntry(const std::string& name, const std::string& content)
{
    mkpackage::EntryPlan entry;
    entry.name = name;
    entry.data.assign(content.begin(), content.end());
    entry.modified = mkpackage::makeDosDateTime(2024, 3, 1, 10, 0, 0);
    return entry;
}

mkpackage::Bytes setupImage()
{
    const std::string bytes = TempDir::read(KV_SETUP_IMAGE);
    if (bytes.empty())
        throw std::runtime_error("setup image missing: " KV_SETUP_IMAGE);
    return mkpackage::Bytes(bytes.begin(), bytes.end());
}

mkpackage::PackagePlan programPlan()
{
    mkpackage::PackagePlan plan;
    plan.image = setupImage();
    plan.header.productName = "KARVELO";
    plan.header.infName = "KARV10G1.INF";
    plan.header.notice = "Freeware - bitte weitergeben.";
    plan.header.hideInfoButton = true;
    plan.header.advancedInf = true;
    plan.entries = {fileEntry("KARV10G1.INF", "[Version]\r\nAdvancedINF=2.5\r\n"),
                    fileEntry("sounds/sound1.wav", std::string(5000, 's')),
                    fileEntry("kv5", std::string(20000, 'k')),
                    fileEntry("infinstall", fakeInstallerScript())};
    return plan;
}

std::string writePackage(const TempDir& dir, const mkpackage::PackagePlan& plan, const std::string& name)
{
    const mkpackage::Bytes bytes = mkpackage::buildPackage(plan).bytes;
    const std::string path = dir.write(name, std::string(bytes.begin(), bytes.end()));
    chmod(path.c_str(), 0755);
    return path;
}

std::string fakeInstallerScript()
{
    return "#!/bin/sh\n"
           "log=\"$KV_INFINSTALL_LOG\"\n"
           "echo start >> \"$log\"\n"
           "echo \"cwd=$(pwd)\" >> \"$log\"\n"
           "for a in \"$@\"; do echo \"arg=$a\" >> \"$log\"; done\n"
           "sleep 0.3\n"
           "for a in \"$@\"; do last=\"$a\"; done\n"
           "script=\"${last%%,*}\"\n"
           "[ -f \"$script\" ] && echo inf=present >> \"$log\"\n"
           "echo end >> \"$log\"\n";
}

void writeFakeInstaller(const std::string& folder)
{
    const std::string path = folder + "/infinstall";
    std::ofstream(path, std::ios::trunc) << fakeInstallerScript();
    chmod(path.c_str(), 0755);
}

std::vector<std::string> installerLog(const std::string& logPath)
{
    std::istringstream in(TempDir::read(logPath));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

}  // namespace setup::testing
