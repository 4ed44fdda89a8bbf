#pragma once
// Writes package bytes to a file and keeps it open for reading.
#include <fcntl.h>
#include <unistd.h>

#include <string>

#include "setup/support/temp_dir.h"

namespace setup::testing {

class PackageFile {
public:
  PackageFile(const TempDir& dir, const std::string& bytes, const std::string& name = "setup.run")
      : path_(dir.write(name, bytes)), fd_(open(path_.c_str(), O_RDONLY)) {}
  ~PackageFile() { close(fd_); }
  PackageFile(const PackageFile&) = delete;
  PackageFile& operator=(const PackageFile&) = delete;

  int fd() const { return fd_; }
  const std::string& path() const { return path_; }

private:
  std::string path_;
  int fd_;
};

}  // namespace setup::testing
