#include "tools/mkpackage/package_builder.h"

#include <algorithm>
#include <array>
#include <limits>

#include "common/package_format/le_bytes.h"
#include "common/package_format/package_text.h"
#include "common/package_format/zip_records.h"
#include "tools/mkpackage/error.h"

namespace mkpackage {

namespace {

std::uint8_t flag(bool on)
{
    return on ? 1 : 0;
}

std::uint8_t shortLength(const std::string& text, const char* what)
{
    if (text.size() > 255)
        throw Error(std::string(what) + " is longer than 255 bytes");
    return static_cast<std::uint8_t>(text.size());
}

std::uint32_t longLength(const std::string& text, const char* what)
{
    if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw Error(std::string(what) + " is too long for a 32-bit length");
    return static_cast<std::uint32_t>(text.size());
}

std::string scrambled(std::string text)
{
    common::scrambleText(text.data(), text.size());
    return text;
}

}  // namespace

bool containsZipSignature(const Bytes& bytes)
{
    for (const std::uint32_t signature : {common::kLocalEntrySignature, common::kEndRecordSignature}) {
        std::array<std::uint8_t, 4> pattern{};
        common::writeLe32(pattern.data(), signature);
        if (std::search(bytes.begin(), bytes.end(), pattern.begin(), pattern.end()) != bytes.end())
            return true;
    }
    return false;
}

void checkImage(const Bytes& image)
{
    if (image.size() > kImageSize)
        throw Error("program image has " + std::to_string(image.size()) + " bytes, more than the " +
                    std::to_string(kImageSize) + " its slot holds");
    if (containsZipSignature(image))
        throw Error("program image contains the bytes 50 4B 03 04 or 50 4B 05 06");
}

Bytes encodeHeader(const HeaderSettings& header, std::uint32_t totalSize)
{
    Bytes out(kFixedHeaderSize, 0);
    std::uint8_t* fixed = out.data();
    fixed[common::kMagicAt] = 'M';
    fixed[common::kMagicAt + 1] = 'R';
    fixed[common::kMagicAt + 2] = 'I';
    fixed[common::kKeepWindowOpenAt] = flag(header.keepWindowOpen);
    fixed[common::kProductNameLengthAt] = shortLength(header.productName, "product name");
    fixed[common::kInfNameLengthAt] = shortLength(header.infName, "INF name");
    fixed[common::kAdminOnlyAt] = flag(header.adminOnly);
    fixed[common::kNoticeLengthAt] = shortLength(header.notice, "notice");
    common::writeLe32(fixed + common::kWelcomeTextLengthAt, longLength(header.welcomeText, "welcome text"));
    common::writeLe32(fixed + common::kLicenceTextLengthAt, longLength(header.licenceText, "licence text"));
    fixed[common::kHideInfoButtonAt] = flag(header.hideInfoButton);
    fixed[common::kMultiVolumeAt] = flag(header.multiVolume);
    fixed[common::kAdvancedInfAt] = flag(header.advancedInf);
    common::writeLe32(fixed + common::kTotalSizeAt, totalSize);
    putText(out, header.productName);
    putText(out, header.infName);
    putText(out, scrambled(header.notice));
    putText(out, scrambled(header.welcomeText));
    putText(out, scrambled(header.licenceText));
    return out;
}

BuiltPackage buildPackage(const PackagePlan& plan)
{
    checkImage(plan.image);
    std::vector<Bytes> entries;
    entries.reserve(plan.entries.size());
    for (const auto& entry : plan.entries)
        entries.push_back(encodeEntry(entry));

    // The header states the file's total size, so everything behind it is measured first.
    const std::size_t headerSize = encodeHeader(plan.header, 0).size();
    std::size_t total = kImageSize + headerSize + plan.rawArchive.size() + plan.tail.size();
    for (const auto& entry : entries)
        total += entry.size();
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
