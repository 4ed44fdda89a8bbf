#pragma once
// What the whole-program tests share: packages carrying the real setup image, the stand-in
// for the INF installer, and a private $TMPDIR.
#include <string>
#include <vector>

#include "package_builder.h"
#include "setup/support/temp_dir.h"

namespace setup::testing {

mkpackage::EntryPlan fileEntry(const std::string& name, const std::string& content);
// The built setup program, as the image in front of every package.
mkpackage::Bytes setupImage();
// The shipped kind of package around the real image: product, script, notice, hidden Info
// button, advanced installer, unattended; not limited to administrators.
mkpackage::PackagePlan programPlan();
// Writes `plan` as an executable file `name` in `dir`; returns its path.
std::string writePackage(const TempDir& dir, const mkpackage::PackagePlan& plan,
                         const std::string& name = "KARVELO-setup.run");

// Writes the installer stand-in `infinstall` into `folder`. Each call appends to the file
// named by $KV_INFINSTALL_LOG: "start", "cwd=<folder>", "arg=<each argument>", then after a
// short pause "inf=present" when the script named by its argument exists, and "end".
void writeFakeInstaller(const std::string& folder);
// The log split into lines.
std::vector<std::string> installerLog(const std::string& logPath);

}  // namespace setup::testing
