#include "tools/mkpackage/cli.h"

#include <cstdio>
#include <optional>
#include <random>

#include "tools/mkpackage/ansi_text.h"
#include "tools/mkpackage/error.h"
#include "tools/mkpackage/file_io.h"
#include "tools/mkpackage/volumes.h"

namespace mkpackage {

namespace {

struct FileArgument {
    std::string archiveName;
    std::string sourcePath;
};

// Options that apply to every file of the package.
struct EntryDefaults {
    Method method = Method::Deflate;
    int level = 6;
    std::string password;
    bool descriptors = false;
    bool checkByteFromTime = false;
    bool backslash = false;
    std::optional<DosDateTime> fixedTime;
    std::uint32_t seed = std::random_device{}();
};

FileArgument splitFileArgument(const std::string& arg)
{
    const auto eq = arg.find('=');
    if (eq != std::string::npos)
        return {arg.substr(0, eq), arg.substr(eq + 1)};
    std::string name = arg;
    while (name.starts_with("./"))
        name.erase(0, 2);
    while (name.starts_with("/"))
        name.erase(0, 1);
    return {name, arg};
}

long long parseNumber(const std::string& option, const std::string& value, long long min, long long max)
{
    try {
        std::size_t used = 0;
        const long long n = std::stoll(value, &used, 10);
        if (used == value.size() && n >= min && n <= max)
            return n;
    } catch (const std::exception&) {
    }
    throw Error(option + " needs a number from " + std::to_string(min) + " to " + std::to_string(max) +
                ", not \"" + value + "\"");
}

DosDateTime parseTime(const std::string& value)
{
    int y, mo, d, h, mi, s;
    char end;
    if (std::sscanf(value.c_str(), "%d-%d-%d %d:%d:%d%c", &y, &mo, &d, &h, &mi, &s, &end) != 6)
        throw Error("--time needs \"YYYY-MM-DD HH:MM:SS\", not \"" + value + "\"");
    return makeDosDateTime(y, mo, d, h, mi, s);
}

std::string textOfFile(const std::string& path)
{
    const Bytes bytes = readFile(path);
    return toWindows1252(std::string(bytes.begin(), bytes.end()));
}

EntryPlan makeEntry(const FileArgument& file, const EntryDefaults& defaults, std::uint32_t index)
{
    EntryPlan entry;
    entry.name = file.archiveName;
    if (defaults.backslash)
        for (auto& c : entry.name)
            if (c == '/')
                c = '\\';
    if (entry.name.empty())
        throw Error("empty archive name for " + file.sourcePath);
    entry.data = readFile(file.sourcePath);
    entry.method = defaults.method;
    entry.level = defaults.level;
    entry.modified =
        defaults.fixedTime ? *defaults.fixedTime : dosDateTimeFromTime(fileModificationTime(file.sourcePath));
    entry.password = defaults.password;
    entry.dataDescriptor = defaults.descriptors;
    entry.checkByteFromTime = defaults.checkByteFromTime || defaults.descriptors;
    entry.fillerSeed = defaults.seed + index;
    return entry;
}

}  // namespace

Invocation parseCommandLine(const std::vector<std::string>& args)
{
    Invocation inv;
    HeaderSettings& header = inv.plan.header;
    EntryDefaults defaults;
    std::string imagePath;
    std::vector<FileArgument> files;
    bool optionsEnded = false;

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || !arg.starts_with("--")) {
            files.push_back(splitFileArgument(arg));
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        const auto eq = arg.find('=');
        const std::string name = arg.substr(0, eq);
        std::optional<std::string> inlineValue;
        if (eq != std::string::npos)
            inlineValue = arg.substr(eq + 1);
        auto value = [&]() -> std::string {
            if (inlineValue)
                return *inlineValue;
            if (i + 1 >= args.size())
                throw Error(name + " needs a value");
            return args[++i];
        };
        auto flag = [&](bool& target) {
            if (inlineValue)
                throw Error(name + " takes no value");
            target = true;
        };
        bool deflate = false, store = false, noTrailer = false;

        if (name == "--image")
            imagePath = value();
        else if (name == "--out")
            inv.outPath = value();
        else if (name == "--product")
            header.productName = toWindows1252(value());
        else if (name == "--inf")
            header.infName = toWindows1252(value());
        else if (name == "--notice")
            header.notice = toWindows1252(value());
        else if (name == "--notice-file")
            header.notice = textOfFile(value());
        else if (name == "--welcome")
            header.welcomeText = toWindows1252(value());
        else if (name == "--welcome-file")
            header.welcomeText = textOfFile(value());
        else if (name == "--licence")
            header.licenceText = toWindows1252(value());
        else if (name == "--licence-file")
            header.licenceText = textOfFile(value());
        else if (name == "--keep-open")
            flag(header.keepWindowOpen);
        else if (name == "--admin-only")
            flag(header.adminOnly);
        else if (name == "--hide-info")
            flag(header.hideInfoButton);
        else if (name == "--advanced-inf")
            flag(header.advancedInf);
        else if (name == "--deflate")
            flag(deflate);
        else if (name == "--store")
            flag(store);
        else if (name == "--level")
            defaults.level = static_cast<int>(parseNumber(name, value(), 0, 9));
        else if (name == "--password")
            defaults.password = toWindows1252(value());
        else if (name == "--descriptors")
            flag(defaults.descriptors);
        else if (name == "--check-by-time")
            flag(defaults.checkByteFromTime);
        else if (name == "--backslash")
            flag(defaults.backslash);
        else if (name == "--time")
            defaults.fixedTime = parseTime(value());
        else if (name == "--seed")
            defaults.seed = static_cast<std::uint32_t>(parseNumber(name, value(), 0, 0xFFFFFFFF));
        else if (name == "--volume-size")
            inv.volumeSize = static_cast<std::size_t>(parseNumber(name, value(), 1, 0xFFFFFFFF));
        else if (name == "--no-trailer")
            flag(noTrailer);
        else if (name == "--end-record")
            inv.plan.tail = zipEndRecord(inlineValue.value_or(""));
        else if (name == "--tail") {
            const std::string tail = value();
            inv.plan.tail.assign(tail.begin(), tail.end());
        } else if (name == "--append-archive")
            inv.plan.rawArchive = readFile(value());
        else
            throw Error("unknown option " + name);
        if (deflate)
            defaults.method = Method::Deflate;
        if (store)
            defaults.method = Method::Stored;
        if (noTrailer)
            inv.plan.tail.clear();
    }

    if (imagePath.empty())
        throw Error("--image is required");
    if (inv.outPath.empty())
        throw Error("--out is required");
    inv.plan.image = readFile(imagePath);
    checkImage(inv.plan.image);
    header.multiVolume = inv.volumeSize > 0;
    for (std::uint32_t k = 0; k < files.size(); ++k)
        inv.plan.entries.push_back(makeEntry(files[k], defaults, k));
    return inv;
}

std::vector<std::string> writePackage(const Invocation& inv)
{
    const BuiltPackage built = buildPackage(inv.plan);
    if (inv.volumeSize == 0) {
        writeFile(inv.outPath, built.bytes);
        return {inv.outPath};
    }
    std::vector<std::string> written;
    const auto volumes = splitIntoVolumes(built.bytes, inv.volumeSize, built.archiveStart);
    for (unsigned k = 0; k < volumes.size(); ++k) {
        written.push_back(volumeFileName(inv.outPath, k));
        writeFile(written.back(), volumes[k]);
    }
    return written;
}

const char* usageText()
{
    return "usage: mkpackage --image FILE --out FILE [options] [ARCHIVE-NAME=]FILE...\n"
           "run 'mkpackage --help' or read the top of tools/mkpackage/main.cpp for the options\n";
}

}  // namespace mkpackage
