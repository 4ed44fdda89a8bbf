#pragma once
// Runs extractArchive on a package made of hand-built entries.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "setup/support/package_file.h"
#include "setup/archive/extract.h"
#include "setup/package/package_header.h"
#include "setup/support/fake_setup_ui.h"
#include "setup/support/package_bytes.h"

namespace setup::testing {

inline const std::string kUnpackFailed = "Fehler beim Entpacken der Datei(en). / Fehler";

class ExtractTest : public ::testing::Test {
protected:
  void SetUp() override { workFolder_ = dir_.file("tmp/$Pakorix.Tmp"); }
  void TearDown() override {
    releaseExtractionState(state_);
    releasePackageSettings(settings_);
  }

  // Wraps `archive` into a whole package and extracts it.
  bool extract(const std::string& archive, const std::string& ending = "RSFX") {
    file_.emplace(dir_, imagePadding() + headerBytes(HeaderFields()) + archive + ending);
    releasePackageSettings(settings_);
    readFixedHeader(file_->fd(), settings_);
    EXPECT_TRUE(readVariableHeader(file_->fd(), settings_));
    return extractArchive(file_->fd(), settings_, workFolder_.c_str(), ui_, state_);
  }
  bool extract(const std::vector<EntryFields>& entries) {
    std::string archive;
    for (const EntryFields& fields : entries) archive += entryBytes(fields);
    return extract(archive);
  }

  std::string unpacked(const std::string& name) const {
    return TempDir::read(workFolder_ + "/" + name);
  }
  bool exists(const std::string& name) const {
    return std::filesystem::exists(std::filesystem::symlink_status(workFolder_ + "/" + name));
  }
  std::vector<std::string> list(const PathList& paths) const {
    return std::vector<std::string>(paths.items, paths.items + paths.count);
  }

  TempDir dir_;
  FakeSetupUi ui_;
  std::optional<PackageFile> file_;
  PackageSettings settings_{};
  ExtractionState state_{};
  std::string workFolder_;
};

}  // namespace setup::testing
