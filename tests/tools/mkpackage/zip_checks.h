#pragma once
// Independent views of generated archives: a central directory so that Info-ZIP's unzip can
// judge the local entries and a raw inflater.

#include <string>

#include "package_builder.h"
#include "support/shell_command.h"

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

using ::kv::test::CommandResult;
using ::kv::test::runCommand;
using ::kv::test::shellQuote;

std::string asString(const Bytes& bytes);
Bytes asBytes(const std::string& text);

}  // namespace mkpackage::testing
