#pragma once
// What the whole-program tests share: packages carrying the real setup image, the stand-in
// for the INF installer, and a private $TMPDIR.
#include <string>
#include <vector>

#include "tools/mkpackage/package_builder.h"
#include "tests/setup/support/temp_dir.h"

namespace setup::testing {

mkpackage::EntryPlan fileEntry(const std::string& name, const std::string& content);
// The built setup program, as the image in front of every package.
mkpackage::Bytes setupImage();
// The shipped kind of package around the real image: product, script, notice, hidden Info
// button, advanced installer, unattended; not limited to administrators. Its last entry is the
// installer stand-in.
mkpackage::PackagePlan programPlan();
// Writes `plan` as an executable file `name` in `dir`; returns its path.
std::string writePackage(const TempDir& dir, const mkpackage::PackagePlan& plan,
                         const std::string& name = "KARVELO-setup.run");

// The installer stand-in `infinstall`, a shell script. Each call appends to the file named by
// $KV_INFINSTALL_LOG: "start", "cwd=<folder>", "arg=<each argument>", then after a short pause
// "inf=present" when the script named by its argument exists, and "end".
std::string fakeInstallerScript();
// Writes it, executable, into `folder`.
void writeFakeInstaller(const std::string& folder);
// The log split into lines.
std::vector<std::string> installerLog(const std::string& logPath);

}  // namespace setup::testing
