#include "package_builder.h"

#include <algorithm>
#include <array>
#include <limits>

#include "error.h"
#include "scramble.h"

namespace mkpackage {

namespace {

std::uint8_t flag(bool on) { return on ? 1 : 0; }

std::uint8_t shortLength(const std::string& text, const char* what) {
  if (text.size() > 255) throw Error(std::string(what) + " is longer than 255 bytes");
  return static_cast<std::uint8_t>(text.size());
}

std::uint32_t longLength(const std::string& text, const char* what) {
  if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
    throw Error(std::string(what) + " is too long for a 32-bit length");
  return static_cast<std::uint32_t>(text.size());
}

}  // namespace

bool containsZipSignature(const Bytes& bytes) {
  static constexpr std::array<std::uint8_t, 4> kLocal{0x50, 0x4B, 0x03, 0x04};
  static constexpr std::array<std::uint8_t, 4> kEnd{0x50, 0x4B, 0x05, 0x06};
  return std::search(bytes.begin(), bytes.end(), kLocal.begin(), kLocal.end()) != bytes.end() ||
         std::search(bytes.begin(), bytes.end(), kEnd.begin(), kEnd.end()) != bytes.end();
}

void checkImage(const Bytes& image) {
  if (image.size() > kImageSize)
    throw Error("program image has " + std::to_string(image.size()) + " bytes, more than the " +
                std::to_string(kImageSize) + " its slot holds");
  if (containsZipSignature(image))
    throw Error("program image contains the bytes 50 4B 03 04 or 50 4B 05 06");
}

Bytes encodeHeader(const HeaderSettings& header, std::uint32_t totalSize) {
  // Starts with the magic in place: g++ 12 at -O3 takes an insert into an empty vector for a
  // write into a region of size 0 (-Wstringop-overflow).
  Bytes out{'M', 'R', 'I'};
  putU8(out, flag(header.keepWindowOpen));
  putU8(out, shortLength(header.productName, "product name"));
  putU8(out, shortLength(header.infName, "INF name"));
  putU8(out, flag(header.adminOnly));
  putU8(out, shortLength(header.notice, "notice"));
  putU32(out, longLength(header.welcomeText, "welcome text"));
  putU32(out, longLength(header.licenceText, "licence text"));
  putU8(out, flag(header.hideInfoButton));
  putU8(out, flag(header.multiVolume));
  putU8(out, flag(header.advancedInf));
  putU32(out, totalSize);
  putText(out, header.productName);
  putText(out, header.infName);
  putText(out, scrambleText(header.notice));
  putText(out, scrambleText(header.welcomeText));
  putText(out, scrambleText(header.licenceText));
  return out;
}

BuiltPackage buildPackage(const PackagePlan& plan) {
  checkImage(plan.image);
  std::vector<Bytes> entries;
  entries.reserve(plan.entries.size());
  for (const auto& entry : plan.entries) entries.push_back(encodeEntry(entry));

  // The header states the file's total size, so everything behind it is measured first.
  const std::size_t headerSize = encodeHeader(plan.header, 0).size();
  std::size_t total = kImageSize + headerSize + plan.rawArchive.size() + plan.tail.size();
  for (const auto& entry : entries) total += entry.size();
  if (total > std::numeric_limits<std::uint32_t>::max())
    throw Error("package larger than 4 GiB, which its 32-bit size field cannot hold");

  BuiltPackage built;
  built.bytes.reserve(total);
  putBytes(built.bytes, plan.image);
  built.bytes.resize(kImageSize, 0);
  putBytes(built.bytes, encodeHeader(plan.header, static_cast<std::uint32_t>(total)));
  built.archiveStart = static_cast<std::uint32_t>(built.bytes.size());
  for (const auto& entry : entries) {
    built.entryOffsets.push_back(built.bytes.size());
    putBytes(built.bytes, entry);
  }
  putBytes(built.bytes, plan.rawArchive);
  putBytes(built.bytes, plan.tail);
  return built;
}

}  // namespace mkpackage
