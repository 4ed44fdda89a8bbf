// Every way an extraction can fail, as one table: the damage, the boxes shown, and what is
// left in the work folder. Each damaged entry sits between two good ones; the walk must stop
// at it, and nothing outside the work folder may change.

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <optional>

#include "tests/setup/archive/package_fixture.h"
#include "setup/platform/path_text.h"

namespace setup::testing {
namespace {

using mkpackage::EntryPlan;
using mkpackage::PackagePlan;
using Files = std::map<std::string, std::string>;

constexpr const char* kAnyContent = "(any)";  // a damaged stream leaves what the inflater made

std::string box(const std::string& text, const std::string& caption = "Fehler")
{
    return text + " / " + caption;
}

EntryPlan sealed(EntryPlan entry)
{
    entry.password = "geheim";
    return entry;
}

// Sets up the damage: on the plan of before.txt, the entry to damage and after.txt, and on
// the disk before the run.
using Damage = std::function<void(PackagePlan&)>;

Damage badEntry(EntryPlan bad)
{
    return [bad](PackagePlan& plan) { plan.entries[1] = bad; };
}
template <typename Change>
Damage changed(EntryPlan bad, Change change)
{
    return badEntry(with(bad, change));
}

class ExtractionFailure : public PackageFixture {
protected:
    // The encrypted `bad` with another one behind it, and the user's answers.
    Damage asked(EntryPlan bad, std::deque<std::optional<std::string>> answers)
    {
        return [this, bad, answers](PackagePlan& plan) {
            plan.entries[1] = bad;
            plan.entries.insert(plan.entries.begin() + 2, sealed(storedEntry("later.txt", "l")));
            ui.passwords = answers;
        };
    }
    static void linkAt(const std::string& path, const std::string& to)
    {
        ASSERT_EQ(symlink(to.c_str(), path.c_str()), 0);
    }
};

struct Case {
    std::string what;
    Damage damage;
    std::vector<std::string> shown;
    Files left;
    bool errorStatus = false;  // the status line ends as "Error extracting file(s)."
    int prompts = 0;
};

TEST_F(ExtractionFailure, EachDamageStopsTheWalkWithItsMessageAndLeavesWhatItSays)
{
    const std::string unpackFailed = box(kUnpackFailed);
    const std::string invalidName = box("Invalid filename.");
    const Files justBefore = {{"before.txt", "b"}};
    const std::string outside = dir.file("outside");
    std::vector<Case> cases = {
        {"empty name", badEntry(storedEntry("", "x")), {invalidName}, justBefore},
        {"name that starts with NUL",
         badEntry(storedEntry(std::string("\0name", 5), "x")),
         {invalidName},
         justBefore},
        {"name longer than a path",
         badEntry(storedEntry(std::string(5000, 'n'), "x")),
         {invalidName},
         justBefore},
        {"unknown method",
         changed(storedEntry("implode.dat", "imploded"), [](EntryPlan& e) { e.damage.methodField = 12; }),
         {box("Unbekanntes Kompressionsformat")},
         {{"before.txt", "b"}, {"implode.dat", ""}}},
        // The method decides first: an unknown one is refused before its size is looked at.
        {"unknown method with a size beyond the file",
         changed(storedEntry("implode.dat", "imploded"),
                 [](EntryPlan& e) {
                     e.damage.methodField = 6;
                     e.damage.compressedSizeField = 0x7FFFFFF0;
                 }),
         {box("Unbekanntes Kompressionsformat")},
         {{"before.txt", "b"}, {"implode.dat", ""}}},
        {"CRC mismatch",
         changed(storedEntry("s.dat", "stored"), [](EntryPlan& e) { e.damage.wrongCrc = true; }),
         {unpackFailed},
         {{"before.txt", "b"}, {"s.dat", "stored"}}},
        // Neither is read at all: a size past the end is damage, not an endless read, and a
        // Deflate stream ending in time must not hide the entries that could not be found.
        {"stored size beyond the file",
         changed(storedEntry("s.dat", "short"),
                 [](EntryPlan& e) { e.damage.compressedSizeField = 0x7FFFFFF0; }),
         {unpackFailed},
         {{"before.txt", "b"}, {"s.dat", ""}}},
        {"deflated size beyond the file",
         changed(deflatedEntry("d.dat", compressibleText(1000)),
                 [](EntryPlan& e) { e.damage.compressedSizeField = 0xFFFFFFF0; }),
         {unpackFailed},
         {{"before.txt", "b"}, {"d.dat", ""}}},
        {"entry cut off inside its header",
         [](PackagePlan& plan) {
             const mkpackage::Bytes next = mkpackage::encodeEntry(storedEntry("after.txt", "a"));
             plan.entries.pop_back();
             plan.tail.assign(next.begin(), next.begin() + 20);
         },
         {unpackFailed},
         {{"before.txt", "b"}, {"bad.txt", "x"}}},
        {"no entry at all", [](PackagePlan& plan) { plan.entries.clear(); }, {unpackFailed}, {}, true},
        {"archive start beyond the file",
         [this](PackagePlan&) { archiveStart = 1LL << 40; },
         {box("Error reading archive.")},
         {}},
        {"file where a folder must go",
         [](PackagePlan& plan) {
             plan.entries[1] = storedEntry("sounds", "a file");
             plan.entries.insert(plan.entries.begin() + 2, storedEntry("sounds/deep/s.wav", "s"));
         },
         {box(target("sounds/deep"), "Error in directory ..")},
         {{"before.txt", "b"}, {"sounds", "a file"}}},
        {"folder where a file must go",
         [](PackagePlan& plan) {
             plan.entries[1] = storedEntry("d/f.txt", "f");
             plan.entries.insert(plan.entries.begin() + 2, storedEntry("d", "file"));
         },
         {box(target("d"), "Kann Datei nicht öffnen ..")},
         {{"before.txt", "b"}, {"d", "/"}, {"d/f.txt", "f"}}},
        {"link where the file goes",
         [this, outside](PackagePlan& plan) {
             dir.write("outside", "precious");
             ASSERT_EQ(mkdir(workFolder.c_str(), 0700), 0);
             linkAt(target("kv5"), outside);
             plan.entries[1] = storedEntry("kv5", "evil");
         },
         {box(target("kv5"), "Kann Datei nicht öffnen ..")},
         {{"before.txt", "b"}, {"kv5", "-> " + outside}}},
        {"link where a folder goes",
         [this, outside](PackagePlan& plan) {
             ASSERT_EQ(mkdir(outside.c_str(), 0700), 0);
             ASSERT_EQ(mkdir(workFolder.c_str(), 0700), 0);
             linkAt(target("sounds"), outside);
             plan.entries[1] = storedEntry("sounds/sound1.wav", "s");
         },
         {box(target("sounds"), "Error in directory ..")},
         {{"before.txt", "b"}, {"sounds", "-> " + outside}}},
        {"work folder that is a link",
         [this, outside](PackagePlan&) {
             ASSERT_EQ(mkdir(outside.c_str(), 0700), 0);
             linkAt(workFolder, outside);
         },
         {box(workFolder, "Error in directory ..")},
         {{".", "-> " + outside}}},
        {"work folder that is a file",
         [this](PackagePlan&) { dir.write("$Pakorix.Tmp", "not a folder"); },
         {box(workFolder, "Error in directory ..")},
         {{".", "not a folder"}}},
        {"encrypted entry too short for its encryption header",
         asked(with(sealed(storedEntry("a.txt", "abc")),
                    [](EntryPlan& e) { e.damage.compressedSizeField = 5; }),
               {"geheim"}),
         {unpackFailed},
         justBefore,
         false,
         0},
        {"damaged encrypted data",
         asked(with(sealed(deflatedEntry("a.txt", compressibleText(3000))),
                    [](EntryPlan& e) { e.damage.deflate = mkpackage::DeflateDamage::FlippedByte; }),
               {"geheim"}),
         {unpackFailed},
         {{"before.txt", "b"}, {"a.txt", kAnyContent}},
         false,
         1},
        // No prompt for the entries after it: their passwords would be asked in vain.
        {"no answer opens the entry",
         asked(sealed(storedEntry("a.txt", "a")), {"eins", "zwei", "drei", "geheim"}),
         {unpackFailed},
         justBefore,
         true,
         3},
        {"password prompt cancelled",
         asked(sealed(storedEntry("a.txt", "a")), {std::nullopt}),
         {},
         justBefore,
         false,
         1},
    };
    for (auto damage : {mkpackage::DeflateDamage::InvalidBlockType, mkpackage::DeflateDamage::Truncated,
                        mkpackage::DeflateDamage::FlippedByte})
        cases.push_back({"damaged Deflate stream " + std::to_string(static_cast<int>(damage)),
                         changed(deflatedEntry("d.txt", compressibleText(100000)),
                                 [damage](EntryPlan& e) { e.damage.deflate = damage; }),
                         {unpackFailed},
                         {{"before.txt", "b"}, {"d.txt", kAnyContent}}});
    const std::string absolute = dir.file("absolute.txt");
    for (const std::string& name : {std::string("../x"), std::string("..\\x"), std::string("a/../../x"),
                                    std::string("a\\..\\..\\x"), std::string(".."), std::string("a/.."),
                                    std::string("a\\..\\b"), absolute, "\\" + absolute.substr(1)})
        cases.push_back({"name leaving the work folder: " + name,
                         badEntry(deflatedEntry(name, "evil")),
                         {invalidName},
                         justBefore});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        startOver();
        archiveStart = -1;
        std::filesystem::remove_all(workFolder);
        std::filesystem::remove_all(outside);
        PackagePlan plan = packagePlan(
            {storedEntry("before.txt", "b"), storedEntry("bad.txt", "x"), storedEntry("after.txt", "a")});
        c.damage(plan);
        const Files untouched = outsideWorkFolder();
        EXPECT_FALSE(extract(plan));
        EXPECT_FALSE(state.extractionOk);
        EXPECT_EQ(ui.shown(), c.shown);
        for (const ShownMessage& message : ui.messages)
            EXPECT_EQ(message.icon, Icon::Stop);
        EXPECT_EQ(!ui.statusTexts.empty() && ui.statusTexts.back() == "Error extracting file(s).",
                  c.errorStatus);
        EXPECT_EQ(ui.passwordPrompts, c.prompts);
        Files left = tree(workFolder);
        for (auto& [path, content] : left)
            if (c.left.count(path) && c.left.at(path) == kAnyContent)
                content = kAnyContent;
        EXPECT_EQ(left, c.left);
        // A file that was created stays listed for Close, with what it got.
        std::vector<std::string> created;
        for (const auto& [path, content] : c.left)
            if (content != "/" && !content.starts_with("-> ") && path != ".")
                created.push_back(target(path));
        std::vector<std::string> listed = extractedFiles();
        std::sort(listed.begin(), listed.end());
        EXPECT_EQ(listed, created);
        EXPECT_EQ(outsideWorkFolder(), untouched);
    }
}

// A name is read only as far as a path below the work folder can hold it: a work folder that
// already fills a path leaves no room for any name.
TEST_F(ExtractionFailure, WorkFolderFillingAPathLeavesNoRoomForAName)
{
    for (std::size_t length : {kPathSize - 2, kPathSize - 1}) {
        SCOPED_TRACE(length);
        startOver();
        workFolder = dir.file("");
        workFolder.resize(length, 'w');
        EXPECT_FALSE(extract(packagePlan({storedEntry("a", "x")})));
        EXPECT_EQ(ui.shown(), std::vector<std::string>{box("Invalid filename.")});
    }
}

}  // namespace
}  // namespace setup::testing
