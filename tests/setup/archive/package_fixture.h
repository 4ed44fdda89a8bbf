#pragma once
// Builds a package with the generator, opens it as the setup does and runs the extraction
// with a recording user interface, all inside a private temporary folder.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tools/mkpackage/package_builder.h"
#include "setup/archive/extract.h"
#include "setup/package/package_header.h"
#include "tests/setup/support/fake_setup_ui.h"
#include "tests/setup/support/temp_dir.h"

namespace setup::testing {

inline constexpr const char* kUnpackFailed = "Fehler beim Entpacken der Datei(en).";

// The time every generated entry carries unless a test says otherwise.
mkpackage::DosDateTime sampleTime();

mkpackage::EntryPlan storedEntry(const std::string& name, const std::string& content);
mkpackage::EntryPlan deflatedEntry(const std::string& name, const std::string& content);
std::string compressibleText(std::size_t size);
// `entry` as `change` leaves it, for plans written as one expression.
template <typename Change>
mkpackage::EntryPlan with(mkpackage::EntryPlan entry, Change change)
{
    change(entry);
    return entry;
}

// A package header as the shipped setup has it, without entries.
mkpackage::PackagePlan packagePlan(std::vector<mkpackage::EntryPlan> entries = {});

class PackageFixture : public ::testing::Test {
protected:
    void TearDown() override;
    // Forgets the package, the run state and the recorded dialogue, for a second round.
    void startOver();

    // Writes the package file and opens it; reads both halves of the header.
    void open(const mkpackage::PackagePlan& plan);
    void openBytes(const mkpackage::Bytes& bytes);
    // Extracts the open package, from `archiveStart` when that is set.
    bool extract();
    // open() followed by extract().
    bool extract(const mkpackage::PackagePlan& plan);

    std::string target(const std::string& name) const { return workFolder + "/" + name; }
    std::string contentOf(const std::string& name) const { return TempDir::read(target(name)); }
    bool exists(const std::string& path) const;
    std::vector<std::string> extractedFiles() const;
    // What is at and below `path`, links not followed: a file as its content, a folder as "/",
    // a link as "-> " and its target, by the path relative to `path` ("." for itself).
    static std::map<std::string, std::string> tree(const std::string& path);
    // The private folder apart from the package and what is below the work folder.
    std::map<std::string, std::string> outsideWorkFolder() const;

    TempDir dir;
    FakeSetupUi ui;
    std::string packagePath = dir.file("KARVELO-setup.run");
    std::string workFolder = dir.file("$Pakorix.Tmp");
    int fd = -1;
    long long archiveStart = -1;
    PackageSettings settings{};
    ExtractionState state{};
};

}  // namespace setup::testing
