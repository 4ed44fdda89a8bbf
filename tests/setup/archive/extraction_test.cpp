// Extraction of well-formed packages: what arrives in the work folder, the progress the user
// sees, the passwords asked, file times, the clean-up, and links swapped in during the run.

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "tests/setup/archive/package_fixture.h"
#include "tests/setup/support/time_zone.h"

namespace setup::testing {
namespace {

using mkpackage::EntryPlan;
using mkpackage::PackagePlan;
using Files = std::map<std::string, std::string>;

EntryPlan sealed(EntryPlan entry, const std::string& password)
{
    entry.password = password;
    return entry;
}

class Extraction : public PackageFixture {};

struct Case {
    std::string what;
    PackagePlan plan;
    Files arrived;  // the work folder afterwards
    std::deque<std::optional<std::string>> answers = {};
    int prompts = 0;
    std::string remembered = "";  // the password kept for later entries
};

TEST_F(Extraction, EveryKindOfEntryArrivesAsWritten)
{
    std::string binary(70000, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i)
        binary[i] = static_cast<char>(i * 2654435761u >> 13);
    PackagePlan trailer = packagePlan({storedEntry("a.txt", "a")});
    const mkpackage::Bytes later = mkpackage::encodeEntry(storedEntry("after.txt", "after"));
    trailer.tail = {'R', 'S', 'F', 'X'};
    trailer.tail.insert(trailer.tail.end(), later.begin(), later.end());
    const std::vector<Case> cases = {
        {"stored, deflated and empty, over several 32 KB chunks",
         packagePlan({deflatedEntry("readme.txt", compressibleText(200000)), storedEntry("kv5", binary),
                      storedEntry("empty.txt", ""), deflatedEntry("empty-deflated.txt", ""),
                      // hardly compressible; a compression option in the flags is ignored
                      with(deflatedEntry("P1.dat", binary), [](EntryPlan& e) { e.extraFlags = 2; })}),
         {{"readme.txt", compressibleText(200000)},
          {"kv5", binary},
          {"empty.txt", ""},
          {"empty-deflated.txt", ""},
          {"P1.dat", binary}}},
        {"slashes, backslashes and folder entries make folders",
         packagePlan({storedEntry("sounds/sound1.wav", "one"), storedEntry("sounds\\sound2.wav", "two"),
                      deflatedEntry("doc\\de/liesmich.txt", "drei"), storedEntry("empty/", "")}),
         {{"doc", "/"},
          {"doc/de", "/"},
          {"doc/de/liesmich.txt", "drei"},
          {"empty", "/"},
          {"sounds", "/"},
          {"sounds/sound1.wav", "one"},
          {"sounds/sound2.wav", "two"}}},
        {"data descriptors between entries are skipped",
         packagePlan({with(deflatedEntry("first.txt", compressibleText(5000)),
                           [](EntryPlan& e) { e.dataDescriptor = true; }),
                      // bit 3 as real writers set it with descriptors
                      with(storedEntry("second.txt", "second"),
                           [](EntryPlan& e) { e.dataDescriptor = e.checkByteFromTime = true; }),
                      storedEntry("third.txt", "third")}),
         {{"first.txt", compressibleText(5000)}, {"second.txt", "second"}, {"third.txt", "third"}}},
        {"the alternative signature starts an entry",
         packagePlan(
             {with(storedEntry("odd.txt", "odd"), [](EntryPlan& e) { e.damage.signature = 0x50000000; }),
              storedEntry("next.txt", "next")}),
         {{"odd.txt", "odd"}, {"next.txt", "next"}}},
        // Even a name far longer than a path, when its NUL comes in time.
        {"a name ends at its first NUL",
         packagePlan({storedEntry(std::string("kv5\0.bak", 8), "game"),
                      storedEntry("P1.dat" + std::string(1, '\0') + std::string(5000, 'n'), "p")}),
         {{"kv5", "game"}, {"P1.dat", "p"}}},
        {"dots that are not a whole component",
         packagePlan({storedEntry("..hidden", "1"), storedEntry("a../b..c", "2"), storedEntry("...", "3")}),
         {{"..hidden", "1"}, {"a..", "/"}, {"a../b..c", "2"}, {"...", "3"}}},
        {"the trailer ends the walk", trailer, {{"a.txt", "a"}}},
        {"one password for stored and deflated entries, asked once",
         packagePlan({sealed(deflatedEntry("a.txt", compressibleText(90000)), "geheim"),
                      with(sealed(storedEntry("b.bin", std::string(40000, 'b')), "geheim"),
                           [](EntryPlan& e) { e.checkByteFromTime = true; })}),
         {{"a.txt", compressibleText(90000)}, {"b.bin", std::string(40000, 'b')}},
         {"geheim"},
         1,
         "geheim"},
        // An empty answer is refused without a trial.
        {"wrong and empty answers are asked again",
         packagePlan({sealed(storedEntry("a.txt", "a"), "geheim")}),
         {{"a.txt", "a"}},
         {"falsch", "", "geheim"},
         3,
         "geheim"},
        {"a remembered password that fails leads to a new prompt",
         packagePlan({sealed(storedEntry("a.txt", "a"), "erstes"),
                      sealed(deflatedEntry("b.txt", "b"), "zweites"),
                      sealed(storedEntry("c.txt", "c"), "zweites")}),
         {{"a.txt", "a"}, {"b.txt", "b"}, {"c.txt", "c"}},
         {"erstes", "zweites"},
         2,
         "zweites"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        startOver();
        std::filesystem::remove_all(workFolder);
        ui.passwords = c.answers;
        EXPECT_TRUE(extract(c.plan));
        EXPECT_TRUE(state.extractionOk);
        EXPECT_TRUE(ui.messages.empty()) << ::testing::PrintToString(ui.shown());
        EXPECT_TRUE(tree(workFolder) == c.arrived);  // EXPECT_EQ would print every byte
        EXPECT_EQ(ui.passwordPrompts, c.prompts);
        EXPECT_EQ(state.archivePassword, c.remembered);
        // Every file is listed, shown and lets one event through.
        std::vector<std::string> files;
        for (const auto& [path, content] : c.arrived)
            if (content != "/")
                files.push_back(target(path));
        std::vector<std::string> listed = extractedFiles();
        std::sort(listed.begin(), listed.end());
        EXPECT_EQ(listed, files);
        EXPECT_EQ(ui.statusTexts.size(), files.size());
        EXPECT_EQ(ui.eventsProcessed, static_cast<int>(files.size()));
    }
}

// Long runs of zeros just past the inflate output buffer: for some of these sizes the
// inflater takes in the last input byte in the call that fills the buffer and still holds
// output back, which a further call with no new input has to collect.
TEST_F(Extraction, DeflatedRunsFillingTheOutputBufferWithNoInputLeft)
{
    std::vector<EntryPlan> entries;
    for (std::size_t extra = 1; extra <= 64; ++extra)
        entries.push_back(deflatedEntry("z" + std::to_string(extra), std::string(262144 + extra, '\0')));
    ASSERT_TRUE(extract(packagePlan(entries))) << ::testing::PrintToString(ui.shown());
    for (std::size_t extra = 1; extra <= 64; ++extra)
        EXPECT_EQ(contentOf("z" + std::to_string(extra)).size(), 262144 + extra) << extra;
}

TEST_F(Extraction, ProgressNamesEachTargetInOrderAndFoldersAreListedOuterFirst)
{
    ASSERT_TRUE(extract(packagePlan(
        {storedEntry("a.txt", "a"), deflatedEntry("b\\c.txt", "b"), storedEntry("deep/er/empty", "")})));
    const std::string unpacking = "\r\n\r\n\r\n\r\n  Entpacke: ";
    EXPECT_EQ(ui.statusTexts,
              (std::vector<std::string>{unpacking + target("a.txt"), unpacking + target("b/c.txt"),
                                        unpacking + target("deep/er/empty")}));
    EXPECT_EQ(extractedFiles(),
              (std::vector<std::string>{target("a.txt"), target("b/c.txt"), target("deep/er/empty")}));
    EXPECT_EQ(std::vector<std::string>(state.createdFolders.items,
                                       state.createdFolders.items + state.createdFolders.count),
              (std::vector<std::string>{"b", "deep", "deep/er"}));
}

TEST_F(Extraction, WorkFolderIsMadePrivateAndAnExistingFileIsReplaced)
{
    ASSERT_TRUE(extract(packagePlan({storedEntry("kv5", std::string(5000, 'o'))})));
    struct stat st {};
    ASSERT_EQ(stat(workFolder.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    startOver();
    ASSERT_TRUE(extract(packagePlan({storedEntry("kv5", "new")})));
    EXPECT_EQ(contentOf("kv5"), "new");
}

// Past the 255 files the old list could hold. Close deletes each file it made, then the
// folders it made that are empty: a folder holding a file of the user's stays.
TEST_F(Extraction, CleanUpDeletesEveryListedFileAndTheFoldersItEmptied)
{
    std::vector<EntryPlan> entries;
    for (int i = 0; i < 300; ++i)
        entries.push_back(storedEntry("f/" + std::to_string(i), "x"));
    entries.push_back(storedEntry("c/three", "3"));
    ASSERT_TRUE(extract(packagePlan(entries)));
    ASSERT_EQ(extractedFiles().size(), 301u);
    EXPECT_EQ(extractedFiles()[299], target("f/299"));
    dir.write("$Pakorix.Tmp/c/user-file", "not ours");
    deleteExtractedFiles(state, workFolder.c_str(), ui);
    EXPECT_EQ(ui.statusTexts.back(), "\r\n\r\n\r\n\r\nLösche " + target("c/three"));
    EXPECT_EQ(ui.eventsProcessed, 2 * 301);
    EXPECT_EQ(state.extractedFiles.count, 0u);
    removeCreatedFolders(state);
    EXPECT_EQ(tree(workFolder), (Files{{"c", "/"}, {"c/user-file", "not ours"}}));
}

time_t utc(int year, int month, int day, int hour, int minute, int second)
{
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    return timegm(&tm);
}

time_t mtimeOf(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? st.st_mtime : -1;
}

TEST_F(Extraction, EntryTimesAreLocalTimeIncludingSummerTime)
{
    TimeZone berlin("CET-1CEST,M3.5.0,M10.5.0/3");
    EntryPlan summer = storedEntry("summer.txt", "s");
    summer.modified = mkpackage::makeDosDateTime(2023, 7, 14, 9, 26, 54);
    EntryPlan winter = deflatedEntry("winter.txt", "w");
    winter.modified = mkpackage::makeDosDateTime(1999, 12, 31, 23, 59, 58);
    EntryPlan epoch = storedEntry("epoch.txt", "e");
    epoch.modified = mkpackage::makeDosDateTime(1980, 1, 1, 0, 0, 0);
    ASSERT_TRUE(extract(packagePlan({summer, winter, epoch})));
    EXPECT_EQ(mtimeOf(target("summer.txt")), utc(2023, 7, 14, 7, 26, 54));    // UTC+2
    EXPECT_EQ(mtimeOf(target("winter.txt")), utc(1999, 12, 31, 22, 59, 58));  // UTC+1
    EXPECT_EQ(mtimeOf(target("epoch.txt")), utc(1979, 12, 31, 23, 0, 0));
}

// Someone who may write where the work folder lies swaps it, or a folder inside it, for a link
// while the files are unpacked: nothing is written, and nothing deleted, where the link points.
TEST_F(Extraction, FolderSwappedForALinkBetweenTwoEntriesLeadsNowhere)
{
    struct Case {
        const char* what;
        int afterEvent;       // the swap happens while this entry's event is let through
        std::string swapped;  // the folder whose name becomes a link
        bool unpacked;        // the extraction still succeeds
    };
    const Case cases[] = {
        {"the work folder", 1, workFolder, true},
        {"a sub-folder", 2, workFolder + "/sounds", false},
    };
    const std::string elsewhere = dir.file("elsewhere");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        startOver();
        std::filesystem::remove_all(elsewhere);
        std::filesystem::remove_all(workFolder);
        std::filesystem::remove_all(workFolder + ".moved");
        for (const char* name : {"a.txt", "b.txt", "s1.wav", "s2.wav"})
            dir.write(std::string("elsewhere/") + name, "decoy");
        ui.onEvent = [&](int event) {
            if (event != c.afterEvent)
                return;
            ASSERT_EQ(rename(c.swapped.c_str(), (c.swapped + ".moved").c_str()), 0);
            ASSERT_EQ(symlink(elsewhere.c_str(), c.swapped.c_str()), 0);
        };
        EXPECT_EQ(extract(packagePlan({storedEntry("a.txt", "a"), storedEntry("sounds/s1.wav", "1"),
                                       storedEntry("sounds/s2.wav", "2"), storedEntry("b.txt", "b")})),
                  c.unpacked);
        if (c.unpacked) {
            EXPECT_TRUE(ui.messages.empty());
            EXPECT_EQ(tree(workFolder + ".moved"), (Files{{"a.txt", "a"},
                                                          {"b.txt", "b"},
                                                          {"sounds", "/"},
                                                          {"sounds/s1.wav", "1"},
                                                          {"sounds/s2.wav", "2"}}));
        } else {
            EXPECT_EQ(ui.shown(), std::vector<std::string>{c.swapped + " / Error in directory .."});
        }
        deleteExtractedFiles(state, workFolder.c_str(), ui);
        removeCreatedFolders(state);
        EXPECT_EQ(tree(elsewhere),
                  (Files{{"a.txt", "decoy"}, {"b.txt", "decoy"}, {"s1.wav", "decoy"}, {"s2.wav", "decoy"}}));
    }
}

}  // namespace
}  // namespace setup::testing
