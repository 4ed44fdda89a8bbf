#pragma once
// Independent views of generated archives: a central directory so that Info-ZIP's unzip can
// judge the local entries, a raw inflater, and a way to run external tools.

#include <string>

#include "package_builder.h"

namespace mkpackage::testing {

// The entries of `built` as a standalone .zip: the local entries unchanged, followed by a
// central directory and end record derived from their headers.
Bytes standaloneZip(const BuiltPackage& built, std::size_t entryCount, std::size_t entriesEnd);

enum class InflateOutcome { Complete, Incomplete, Rejected };
struct Inflated {
  InflateOutcome outcome;
  Bytes data;
};
Inflated inflateRaw(const Bytes& stream);

struct CommandResult {
  int exitCode;
  std::string output;  // standard output and standard error together
};
CommandResult runCommand(const std::string& command);

std::string shellQuote(const std::string& text);

std::string asString(const Bytes& bytes);
Bytes asBytes(const std::string& text);

}  // namespace mkpackage::testing
