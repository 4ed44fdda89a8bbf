#include "tests/setup/archive/package_fixture.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "setup/platform/files.h"

namespace setup::testing {

mkpackage::DosDateTime sampleTime()
{
    return mkpackage::makeDosDateTime(2023, 7, 14, 9, 26, 54);
}

mkpackage::EntryPlan storedEntry(const std::string& name, const std::string& content)
{
    mkpackage::EntryPlan entry;
    entry.name = name;
    entry.data.assign(content.begin(), content.end());
    entry.method = mkpackage::Method::Stored;
    entry.modified = sampleTime();
    return entry;
}

mkpackage::EntryPlan deflatedEntry(const std::string& name, const std::string& content)
{
    mkpackage::EntryPlan entry = storedEntry(name, content);
    entry.method = mkpackage::Method::Deflate;
    return entry;
}

std::string compressibleText(std::size_t size)
{
    std::string text;
    for (std::size_t i = 0; text.size() < size; ++i)
        text += "Zeile " + std::to_string(i * 7 % 113) + ": Felder, Streifen und Quadrate\n";
    text.resize(size);
    return text;
}

mkpackage::PackagePlan packagePlan(std::vector<mkpackage::EntryPlan> entries)
{
    mkpackage::PackagePlan plan;
    plan.image.assign({0x7F, 'E', 'L', 'F'});
    plan.header.productName = "KARVELO";
    plan.header.infName = "KARV10G1.INF";
    plan.header.notice = "Copyright (c) 2026 KARVELO";
    plan.header.adminOnly = true;
    plan.header.hideInfoButton = true;
    plan.header.advancedInf = true;
    plan.entries = std::move(entries);
    return plan;
}

void PackageFixture::TearDown()
{
    startOver();
}

void PackageFixture::startOver()
{
    releaseExtractionState(state);
    state = ExtractionState{};
    releasePackageSettings(settings);
    if (fd >= 0)
        closeFile(fd);
    fd = -1;
    ui = FakeSetupUi{};
}

void PackageFixture::openBytes(const mkpackage::Bytes& bytes)
{
    dir.write("KARVELO-setup.run", std::string(bytes.begin(), bytes.end()));
    fd = openExistingForReading(packagePath.c_str());
    ASSERT_GE(fd, 0);
    ASSERT_TRUE(readFixedHeader(fd, settings));
    ASSERT_TRUE(readVariableHeader(fd, settings));
}

void PackageFixture::open(const mkpackage::PackagePlan& plan)
{
    openBytes(mkpackage::buildPackage(plan).bytes);
}

bool PackageFixture::extract()
{
    if (archiveStart >= 0)
        settings.archiveStart = archiveStart;
    return extractArchive(fd, settings, workFolder.c_str(), ui, state);
}

bool PackageFixture::extract(const mkpackage::PackagePlan& plan)
{
    open(plan);
    if (::testing::Test::HasFatalFailure())
        return false;
    return extract();
}

bool PackageFixture::exists(const std::string& path) const
{
    struct stat st {};
    return lstat(path.c_str(), &st) == 0;
}

std::vector<std::string> PackageFixture::extractedFiles() const
{
    return std::vector<std::string>(state.extractedFiles.items,
                                    state.extractedFiles.items + state.extractedFiles.count);
}

std::map<std::string, std::string> PackageFixture::tree(const std::string& path)
{
    namespace fs = std::filesystem;
    const auto describe = [](const fs::path& item) {
        const fs::file_status status = fs::symlink_status(item);
        if (fs::is_symlink(status))
            return "-> " + fs::read_symlink(item).string();
        return fs::is_directory(status) ? std::string("/") : TempDir::read(item.string());
    };
    std::map<std::string, std::string> found;
    const fs::file_status status = fs::symlink_status(path);
    if (!fs::exists(status))
        return found;
    if (!fs::is_directory(status))
        return {{".", describe(path)}};
    for (const auto& item : fs::recursive_directory_iterator(path))
        found[item.path().lexically_relative(path).string()] = describe(item.path());
    return found;
}

std::map<std::string, std::string> PackageFixture::outsideWorkFolder() const
{
    std::map<std::string, std::string> outside = tree(dir.path());
    std::erase_if(outside, [](const auto& item) {
        return item.first == "KARVELO-setup.run" || item.first.starts_with("$Pakorix.Tmp/");
    });
    // The work folder itself counts only when it is not a folder of its own.
    if (const auto work = outside.find("$Pakorix.Tmp"); work != outside.end() && work->second == "/")
        outside.erase(work);
    return outside;
}

}  // namespace setup::testing
