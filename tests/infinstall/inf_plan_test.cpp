// The INF reader and the install plan over real INF text (the shipped KARV10G1.INF among it),
// and the actions undoing themselves when any step fails.
#include <gtest/gtest.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "core/elevation.h"
#include "core/desktop_entry.h"
#include "core/inf_file.h"
#include "core/install_plan.h"
#include "core/installation.h"
#include "core/invocation.h"
#include "core/placeholders.h"
#include "core/posix_file_system.h"
#include "core/runtime_check.h"

namespace infinstall {
namespace {

namespace fs = std::filesystem;

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The shipped INF as the package carries it: Windows-1252 with CR LF.
std::string shippedInfBytes()
{
    std::string utf8 = readAll(KV_SHIPPED_INF), bytes(utf8.size(), '\0');
    iconv_t cd = iconv_open("WINDOWS-1252", "UTF-8");
    char* in = utf8.data();
    char* out = bytes.data();
    size_t inLeft = utf8.size(), outLeft = bytes.size();
    EXPECT_NE(iconv(cd, &in, &inLeft, &out, &outLeft), static_cast<size_t>(-1));
    iconv_close(cd);
    bytes.resize(bytes.size() - outLeft);
    std::string crlf;
    for (char c : bytes) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return crlf;
}

struct ReaderCase {
    const char* what;
    std::string text;
    const char* section;
    const char* key;  // empty: the first line of the section
    std::vector<std::string> fields;
    int errorLine;  // > 0: reading fails naming this line
};

TEST(InfReader, QuotingCommentsContinuationAndFaultsWithTheirLines)
{
    const std::vector<ReaderCase> cases = {
        {"quotes, escaped quotes, blanks", "[S]\r\nk = \"x, y\" , \"say \"\"hi\"\"\" ,  plain \r\n",
         "S", "k", {"x, y", "say \"hi\"", "plain"}, 0},
        {"comment after a value, semicolon inside quotes", "[S]\nk = \"a;b\", c ; note \"open\n", "s",
         "K", {"a;b", "c"}, 0},
        {"continued line", "[S]\r\nk = one,\\\r\n  two ; c\r\n", "S", "k", {"one", "two"}, 0},
        {"Windows-1252 text, case of section names", "[Strings]\nk=\"M\xF6" "chten \x80\"\n", "STRINGS",
         "k", {"Möchten €"}, 0},
        {"bare line keeps its fields", "[List]\nP1.dat,,,16\n", "List", "", {"P1.dat", "", "", "16"}, 0},
        {"= inside quotes is no key", "[S]\n\"a=b\",c\n", "S", "", {"a=b", "c"}, 0},
        {"repeated section adds to the first", "[S]\na=1\n[T]\n[s]\nb=2\n", "S", "b", {"2"}, 0},
        {"missing ]", "; head\n[Version\nk=v\n", "", "", {}, 2},
        {"text before the first section", "\n\nk=v\n[S]\n", "", "", {}, 3},
        {"quote not closed", "[S]\na=1\nb=\"open\n", "", "", {}, 3},
        {"byte Windows-1252 leaves undefined", "[S]\na=1\nb=\x81\n", "", "", {}, 3},
        {"continuation at the end", "[S]\na=1,\\\n", "", "", {}, 2},
        {"empty key", "[S]\n =x\n", "", "", {}, 2},
        {"text after the section name", "[S] x\n", "", "", {}, 1},
    };
    for (const ReaderCase& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.errorLine > 0) {
            try {
                InfFile::parse("/tmp/T.INF", c.text);
                ADD_FAILURE() << "no error";
            } catch (const InfError& e) {
                EXPECT_NE(std::string(e.what()).find("/tmp/T.INF, Zeile " + std::to_string(c.errorLine) + ":"),
                          std::string::npos)
                    << e.what();
            }
            continue;
        }
        const InfFile inf = InfFile::parse("/tmp/T.INF", c.text);
        const InfLine* line = *c.key ? inf.line(c.section, c.key)
                                     : &inf.section(c.section)->lines.front();
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(line->fields, c.fields);
    }
}

struct PlaceholderCase {
    std::string text;
    std::string expanded;  // empty with `fails`
    bool fails;
};

TEST(InfPlaceholders, StringsFoldersAndPercentSigns)
{
    const InfFile inf = InfFile::parse("/x/A.INF", "[Strings]\nName=\"KAR\"\nname2=\"50%\"\n");
    Placeholders p(inf);
    p.setFolder(17, "/var/lib/infinstall/inf");
    p.setFolder(49000, "/opt/K");
    const std::vector<PlaceholderCase> cases = {
        {"%NAME%-%name2%", "KAR-50%", false},
        {"100%%", "100%", false},
        {"%49000%/%17%", "/opt/K//var/lib/infinstall/inf", false},
        {"%Unknown%", "", true},
        {"%49001%", "", true},
        {"%Name", "", true},
    };
    for (const PlaceholderCase& c : cases) {
        SCOPED_TRACE(c.text);
        if (c.fails) EXPECT_THROW(p.expand(c.text, 7), InfError);
        else EXPECT_EQ(p.expand(c.text, 7), c.expanded);
    }
}

Places systemPlaces()
{
    return {true, "/opt", "/var/lib/infinstall", "/var/lib/infinstall/inf",
            "/var/lib/infinstall/registry", "/usr/share/applications", "/root/.config/autostart",
            "/usr/share/polkit-1/actions"};
}

Places userPlaces()
{
    return {false, "/home/u/.local/share", "/home/u/.local/share/infinstall",
            "/home/u/.local/share/infinstall/inf", "/home/u/.local/share/infinstall/registry",
            "/home/u/.local/share/applications", "/home/u/.config/autostart", ""};
}

class ShippedInf : public ::testing::Test {
protected:
    // The INF lies in a work folder beside real copies of what it installs.
    void SetUp() override
    {
        work_ = fs::temp_directory_path() / ("inf-plan-" + std::to_string(getpid()));
        fs::create_directories(work_ / "sounds");
        std::ofstream(work_ / "KARV10G1.INF", std::ios::binary) << shippedInfBytes();
        fs::copy_file(KV5_PATH, work_ / "kv5");
        std::ofstream(work_ / "P1.dat") << "scores";
    }
    void TearDown() override { fs::remove_all(work_); }

    InstallPlan plan(const Places& places, const std::string& section, const std::string& folder,
                     const Registry& registry = {})
    {
        inf_ = InfFile::read((work_ / "KARV10G1.INF").string());
        PlanBuilder builder(inf_, places, registry, &files_);
        return builder.plan(builder.section(section), {{49000, folder}});
    }

    fs::path work_;
    InfFile inf_;
    PosixFileSystem files_;
};

const FileCopy* copyTo(const InstallPlan& plan, const std::string& target)
{
    for (const FileCopy& c : plan.copies)
        if (c.target == target) return &c;
    return nullptr;
}

TEST_F(ShippedInf, QuestionsOfTheInstallSectionAndOfAnEarlierInstallation)
{
    inf_ = InfFile::read((work_ / "KARV10G1.INF").string());
    const Places system = systemPlaces(), user = userPlaces();
    Registry earlier = Registry::fromText("[hklm\\software\\karvelo]\ninstalldir1=/srv/K\n");
    const SectionQuestions fresh = PlanBuilder(inf_, system, {}).questions(
        PlanBuilder(inf_, system, {}).section("DefaultInstall2.ntx86"));
    const SectionQuestions again = PlanBuilder(inf_, user, earlier).questions(
        PlanBuilder(inf_, user, earlier).section("defaultinstall2"));

    ASSERT_TRUE(fresh.beginPrompt);
    EXPECT_EQ(fresh.beginPrompt->title, "KARVELO");
    EXPECT_FALSE(fresh.beginPrompt->yesNo);
    ASSERT_EQ(fresh.destinations.size(), 1u);
    const DestinationQuestion& q = fresh.destinations[0];
    EXPECT_EQ(q.dirid, 49000);
    EXPECT_EQ(q.flags, kOfferRecordedFolder | kAskForFolder | kWarnBeforeOverwriting);
    EXPECT_EQ(q.prompt, "In welchem Verzeichnis möchten Sie KARVELO installieren ?");
    EXPECT_EQ(q.defaultFolder, "/opt/KARVELO");
    EXPECT_EQ(q.overwriteWarning,
              "Bei Clicken auf \"OK\" wird die bisherige Version von KARVELO überschrieben!");
    EXPECT_FALSE(q.recordedFolder);
    EXPECT_EQ(again.destinations.at(0).defaultFolder, "/home/u/.local/share/KARVELO");
    EXPECT_EQ(again.destinations.at(0).recordedFolder, "/srv/K");
    EXPECT_TRUE(PlanBuilder(inf_, system, {}).versionProblem().empty());
}

TEST_F(ShippedInf, InstallPlanForTheSystemAndForOneUser)
{
    struct Case {
        Places places;
        std::string folder;
        unsigned p1Mode;
        std::string entryPath, exec, icon;
    };
    const std::vector<Case> cases = {
        {systemPlaces(), "/opt/KARVELO", 0666, "/usr/share/applications/KARVELO.desktop",
         "Exec=/opt/KARVELO/kv5\n", "Icon=/opt/KARVELO/karvelo.png\n"},
        {userPlaces(), "/home/u/My Games/100%", 0644, "/home/u/.local/share/applications/KARVELO.desktop",
         R"(Exec=/bin/sh -c "exec \\"\\$0\\" \\"\\$@\\"" "/home/u/My Games/100%%/kv5")" "\n",
         "Icon=/home/u/My Games/100%/karvelo.png\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        const InstallPlan p = plan(c.places, "DefaultInstall2.ntx86", c.folder);
        ASSERT_EQ(p.copies.size(), 15u);
        const FileCopy* kv5 = copyTo(p, c.folder + "/kv5");
        const FileCopy* p1 = copyTo(p, c.folder + "/P1.dat");
        const FileCopy* sound = copyTo(p, c.folder + "/sounds/sound7.wav");
        const FileCopy* kept = copyTo(p, c.places.infFolder + "/infinstall");
        ASSERT_TRUE(kv5 && p1 && sound && kept && copyTo(p, c.places.infFolder + "/KARV10G1.INF"));
        EXPECT_EQ(kv5->source, work_.string() + "/kv5");
        EXPECT_EQ(kv5->mode, 0755u);
        EXPECT_FALSE(kv5->keepExisting);
        EXPECT_TRUE(p1->keepExisting);
        EXPECT_EQ(p1->mode, c.p1Mode);
        EXPECT_EQ(sound->source, work_.string() + "/sounds/sound7.wav");
        EXPECT_EQ(sound->mode, 0644u);
        EXPECT_TRUE(p.keepsInf);
        for (const std::string& folder : {c.folder, c.folder + "/sounds", c.places.infFolder})
            EXPECT_NE(std::find(p.folders.begin(), p.folders.end(), folder), p.folders.end()) << folder;

        ASSERT_EQ(p.registry.size(), 1u);
        EXPECT_EQ(p.registry[0].key, "HKLM\\SOFTWARE\\KARVELO");
        EXPECT_EQ(p.registry[0].name, "InstallDir1");
        EXPECT_EQ(p.registry[0].data, c.folder);

        // A system-wide entry brings the polkit action that lets a player ask an administrator
        // to run its uninstall action.
        ASSERT_EQ(p.entries.size(), c.places.systemWide ? 2u : 1u);
        if (c.places.systemWide) {
            EXPECT_EQ(p.entries[1].path, "/usr/share/polkit-1/actions/org.infinstall.karvelo.policy");
            for (const char* line : {"<action id=\"org.infinstall.karvelo\">",
                                     "<allow_active>auth_admin</allow_active>",
                                     "<annotate key=\"org.freedesktop.policykit.exec.path\">/var/lib/infinstall/inf/infinstall</annotate>",
                                     "<annotate key=\"org.freedesktop.policykit.exec.allow_gui\">true</annotate>",
                                     "<description xml:lang=\"de\">KARVELO entfernen</description>",
                                     "Um es zu entfernen (/var/lib/infinstall/inf/infinstall "
                                     "/var/lib/infinstall/inf/KARV10G1.INF), ist das Passwort"})
                EXPECT_NE(p.entries[1].text.find(line), std::string::npos) << line;
        }
        EXPECT_EQ(p.programName, "KARVELO");
        EXPECT_TRUE(p.inGames);
        EXPECT_EQ(p.entries[0].path, c.entryPath);
        const std::string& entry = p.entries[0].text;
        for (const std::string& line :
             {std::string("[Desktop Entry]\nType=Application\nName=KARVELO\n"), c.exec,
              "Path=" + c.folder + "\n", c.icon, std::string("Categories=Game;BoardGame;\n"),
              std::string("Actions=item1;\n\n[Desktop Action item1]\nName=KARVELO deinstallieren\n"),
              "Exec=" + execValue({c.places.infFolder + "/infinstall", "advpack,LaunchINFSection",
                                   c.places.infFolder + "/KARV10G1.INF,DefaultUninstall"}) + "\n"})
            EXPECT_NE(entry.find(line), std::string::npos) << line << "\nin\n" << entry;
    }
}

// What an administrator's password buys through pkexec: the one call of the kept infinstall
// that the menu entry's uninstall action makes, however its INF path is written.
TEST_F(ShippedInf, ThroughPkexecOnlyTheMenuEntrysUninstallCallIsAllowed)
{
    plan(systemPlaces(), "DefaultUninstall", "/opt/KARVELO");
    const std::vector<Invocation> allowed = menuCalls(inf_, systemPlaces());
    ASSERT_EQ(allowed.size(), 1u);
    EXPECT_EQ(keptInstallerCommand(allowed[0]), "/var/lib/infinstall/inf/infinstall advpack,LaunchINFSection "
                                                "/var/lib/infinstall/inf/KARV10G1.INF,DefaultUninstall");
    const fs::path before = fs::current_path();
    fs::current_path("/var");
    const std::vector<std::pair<std::vector<std::string>, bool>> cases = {
        {{"advpack,LaunchINFSection", "/var/lib/infinstall/inf/KARV10G1.INF,DefaultUninstall"}, true},
        {{"advpack,LaunchINFSection", "/var/lib/infinstall/inf//KARV10G1.INF,defaultuninstall,1"}, true},
        {{"advpack,LaunchINFSection", "lib/infinstall/inf/KARV10G1.INF,DefaultUninstall"}, true},
        {{"advpack,LaunchINFSection", "/var/lib/infinstall/inf/KARV10G1.INF,DefaultInstall2"}, false},
        {{"advpack,LaunchINFSection", "/var/lib/infinstall/inf/KARV10G1.INF,DefaultInstall2.ntx86"}, false},
        {{"advpack,LaunchINFSection", "/var/lib/infinstall/inf/../inf/KARV10G1.INF,DefaultUninstall"}, false},
        {{"advpack,LaunchINFSection", "/home/p/KARV10G1.INF,DefaultUninstall"}, false},
        {{"setupapi,InstallHinfSection", "DefaultUninstall", "132", "/var/lib/infinstall/inf/KARV10G1.INF"}, false},
    };
    for (const auto& [args, expected] : cases) {
        std::string error;
        const std::optional<Invocation> call = parseInvocation(args, error);
        ASSERT_TRUE(call) << args[1];
        EXPECT_EQ(isOneOf(*call, allowed), expected) << args[1];
    }
    fs::current_path(before);
    const std::string refusal = onlyMenuCallsText("infinstall x", allowed);
    EXPECT_NE(refusal.find(keptInstallerCommand(allowed[0])), std::string::npos) << refusal;
    EXPECT_NE(refusal.find("Verlangt wurde:\n\n    infinstall x"), std::string::npos) << refusal;
}

TEST_F(ShippedInf, UninstallRemovesWhatTheInstallationMadeAndBasicInstallRegistersARunOnce)
{
    const Places places = systemPlaces();
    const InstallPlan un = plan(places, "DefaultUninstall", "/opt/KARVELO");
    EXPECT_TRUE(un.copies.empty());
    EXPECT_TRUE(un.entries.empty());
    for (const char* file :
         {"/opt/KARVELO/kv5", "/opt/KARVELO/P1.dat", "/opt/KARVELO/karvelo.png",
          "/opt/KARVELO/sounds/sound1.wav", "/var/lib/infinstall/inf/KARV10G1.INF",
          "/var/lib/infinstall/inf/infinstall", "/usr/share/applications/KARVELO.desktop",
          "/usr/share/polkit-1/actions/org.infinstall.karvelo.policy"})
        EXPECT_NE(std::find(un.removals.begin(), un.removals.end(), file), un.removals.end()) << file;
    EXPECT_EQ(un.removals.size(), 17u);
    EXPECT_EQ(un.emptyFoldersToRemove,
              (std::vector<std::string>{"/opt/KARVELO/sounds", "/opt/KARVELO", "/var/lib/infinstall/inf",
                                        "/var/lib/infinstall"}));
    ASSERT_EQ(un.registry.size(), 1u);
    EXPECT_TRUE(un.registry[0].remove);
    EXPECT_EQ(un.registry[0].name, "InstallDir1");

    const InstallPlan basic = plan(places, "DefaultInstall", "/opt/KARVELO");
    ASSERT_EQ(basic.copies.size(), 2u);
    EXPECT_TRUE(basic.registry.empty());
    ASSERT_EQ(basic.entries.size(), 1u);
    EXPECT_EQ(basic.entries[0].path, "/root/.config/autostart/infinstall-KARVELO.desktop");
    EXPECT_NE(basic.entries[0].text.find(
                  "/var/lib/infinstall/inf/infinstall advpack,LaunchINFSection "
                  "/var/lib/infinstall/inf/KARV10G1.INF,DefaultInstall2\n"),
              std::string::npos)
        << basic.entries[0].text;
}

TEST_F(ShippedInf, RefusedNamesAndUnsupportedDirectivesNameTheirLine)
{
    const std::string head = "[Version]\nSignature=\"$CHICAGO$\"\n[Go]\n";
    const std::string tail = "[DestinationDirs]\nL=49000\n[SourceDisksNames]\n1=d,,0\n"
                             "[SourceDisksFiles]\nkv5=1\n";
    struct Case {
        const char* what;
        std::string section;
        std::string lines;
        int line;
    };
    const std::vector<Case> cases = {
        {"target climbs", "CopyFiles=L\n", "[L]\n../kv5,kv5\n", 12},
        {"absolute target", "CopyFiles=L\n", "[L]\n/etc/kv5,kv5\n", 12},
        {"source climbs", "CopyFiles=L\n", "[L]\nkv5,../../etc/shadow\n", 12},
        {"source not listed", "CopyFiles=L\n", "[L]\nP1.dat\n", 12},
        {"destination sub-folder climbs", "CopyFiles=M\n", "[M]\nkv5\n[DestinationDirs]\nM=49000,\"a/../..\"\n", 14},
        {"folder removal outside the installation", "DelDirs=D\n", "[D]\n%17%\n", 12},
        {"unknown directive", "RunPostSetupCommands=X\n", "", 4},
        {"other INI than program groups", "UpdateInis=U\n", "[U]\nwin.ini,Desktop,,\"x=y\"\n", 12},
        {"files into the INF's own folder", "DelFiles=N\n", "[N]\nkv5\n[DestinationDirs]\nN=1\n", 14},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string text = head + c.section + tail + c.lines;
        const std::string path = (work_ / "T.INF").string();
        std::ofstream(path, std::ios::binary) << text;
        const InfFile inf = InfFile::read(path);
        const Places places = systemPlaces();
        PlanBuilder builder(inf, places, {});
        try {
            builder.plan(builder.section("Go"), {{49000, "/opt/K"}});
            ADD_FAILURE() << "accepted";
        } catch (const InfError& e) {
            EXPECT_NE(std::string(e.what()).find(path + ", Zeile " + std::to_string(c.line) + ":"),
                      std::string::npos)
                << e.what();
        }
    }
}

TEST(RuntimeCheck, LibrariesOfTheGameAndItsSoundModule)
{
    const ElfNeeds game = readElfNeeds(readAll(KV5_PATH));
    const ElfNeeds sound = readElfNeeds(readAll(KV5_SOUND_PATH));
    ASSERT_TRUE(game.valid && sound.valid);
    EXPECT_TRUE(game.program);
    EXPECT_FALSE(sound.program);
    EXPECT_NE(std::find(game.libraries.begin(), game.libraries.end(), "libQt6Widgets.so.6"), game.libraries.end());
    EXPECT_NE(std::find(sound.libraries.begin(), sound.libraries.end(), "libpulse.so.0"),
              sound.libraries.end());
    EXPECT_FALSE(readElfNeeds("#!/bin/sh\n").valid);

    const std::vector<FileCopy> copies = {{KV5_PATH, "/opt/K/kv5", false, 0755},
                                          {KV5_SOUND_PATH, "/opt/K/libkv5-sound.so", false, 0755}};
    PosixFileSystem files;
    // Everything there: nothing to report. libpulse missing: only the module is affected.
    EXPECT_TRUE(checkRuntime(copies, files, loadLibrary).fine());
    const RuntimeReport silent = checkRuntime(copies, files, [](const std::string& name) {
        return name == "libpulse.so.0" ? name : std::string();
    });
    EXPECT_TRUE(silent.programPackages.empty());
    EXPECT_EQ(silent.modulePackages, std::vector<std::string>{"libpulse0"});
    EXPECT_EQ(silent.modules, std::vector<std::string>{"libkv5-sound.so"});
    const RuntimeReport broken = checkRuntime(copies, files, [](const std::string& name) {
        return name.rfind("libQt6", 0) == 0 ? name : std::string();
    });
    EXPECT_NE(std::find(broken.programPackages.begin(), broken.programPackages.end(), "libqt6widgets6"),
              broken.programPackages.end());
}

// Fails the n-th call that would change something; everything else goes to the real files.
class FailingFileSystem : public PosixFileSystem {
public:
    explicit FailingFileSystem(int failAt) : failAt_(failAt) {}
    bool makeFolder(const std::string& p, std::string& e) override { return step(e) && PosixFileSystem::makeFolder(p, e); }
    bool removeFolder(const std::string& p, std::string& e) override { return step(e) && PosixFileSystem::removeFolder(p, e); }
    bool writeBeside(const std::string& t, const std::string& s, bool f, unsigned m, std::string& w,
                     std::string& e) override
    {
        return step(e) && PosixFileSystem::writeBeside(t, s, f, m, w, e);
    }
    bool rename(const std::string& a, const std::string& b, std::string& e) override { return step(e) && PosixFileSystem::rename(a, b, e); }
    bool removeFile(const std::string& p, std::string& e) override { return step(e) && PosixFileSystem::removeFile(p, e); }
    bool failed() const { return calls_ >= failAt_; }

private:
    // Only the first failure is forced: undoing must still work afterwards.
    bool step(std::string& error)
    {
        if (++calls_ != failAt_) return true;
        error = "No space left on device";
        return false;
    }
    int failAt_;
    int calls_ = 0;
};

// Every file and folder below `root` with its kind, mode and content.
std::map<std::string, std::string> snapshot(const fs::path& root)
{
    std::map<std::string, std::string> tree;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        struct stat info;
        lstat(entry.path().c_str(), &info);
        const std::string mode = std::to_string(info.st_mode & 07777);
        tree[entry.path().string()] = entry.is_directory() ? "folder " + mode : mode + " " + readAll(entry.path());
    }
    return tree;
}

TEST(Installation, AFailureAtAnyStepLeavesTheEarlierInstallationAsItWas)
{
    const fs::path root = fs::temp_directory_path() / ("inf-undo-" + std::to_string(getpid()));
    const fs::path source = root / "work", dest = root / "opt/K", store = root / "store";
    const auto prepare = [&] {
        fs::remove_all(root);
        fs::create_directories(source / "sounds");
        fs::create_directories(dest / "sounds");
        fs::create_directories(store);
        std::ofstream(source / "kv5") << "new kv5";
        std::ofstream(source / "P1.dat") << "fresh table";
        std::ofstream(source / "sounds/sound1.wav") << "new sound";
        std::ofstream(dest / "kv5") << "old kv5";
        std::ofstream(dest / "P1.dat") << "players' results";
        std::ofstream(dest / "sounds/sound1.wav") << "old sound";
        std::ofstream(store / "registry") << "[HKLM\\SOFTWARE\\KARVELO]\nInstallDir1=/old\n";
        fs::create_symlink(root / "elsewhere", dest / "README.TXT");  // replaced, never followed
        return snapshot(root);
    };

    InstallPlan plan;
    plan.folders = {dest.string(), (dest / "sounds").string(), (dest / "new").string(),
                    (root / "apps").string()};
    plan.copies = {{(source / "kv5").string(), (dest / "kv5").string(), false, 0755},
                   {(source / "P1.dat").string(), (dest / "P1.dat").string(), true, 0666},
                   {(source / "sounds/sound1.wav").string(), (dest / "sounds/sound1.wav").string(), false, 0644},
                   {(source / "P1.dat").string(), (dest / "new/P1.dat").string(), true, 0666},
                   {(source / "kv5").string(), (dest / "README.TXT").string(), false, 0644}};
    plan.entries = {{(root / "apps/K.desktop").string(), "[Desktop Entry]\n"}};
    plan.registry = {{false, "HKLM\\SOFTWARE\\KARVELO", "InstallDir1", dest.string()}};
    const std::string registry = (store / "registry").string();

    int failAt = 1;
    size_t filesBefore = 0;
    for (; failAt < 100; ++failAt) {
        SCOPED_TRACE("failing step " + std::to_string(failAt));
        const auto before = prepare();
        filesBefore = before.size();
        FailingFileSystem files(failAt);
        std::string error;
        const bool done = carryOut(plan, registry, files, nullptr, error);
        if (!files.failed()) {
            EXPECT_TRUE(done) << error;
            break;
        }
        if (done) continue;  // the failing step only tidied up after the files were in place
        EXPECT_NE(error.find("No space left on device"), std::string::npos) << error;
        EXPECT_EQ(snapshot(root), before);
    }
    EXPECT_GT(failAt, 10);
    EXPECT_EQ(readAll(dest / "kv5"), "new kv5");
    EXPECT_EQ(readAll(dest / "P1.dat"), "players' results");
    EXPECT_EQ(readAll(dest / "new/P1.dat"), "fresh table");
    EXPECT_EQ(readAll(dest / "sounds/sound1.wav"), "new sound");
    EXPECT_FALSE(fs::is_symlink(dest / "README.TXT"));
    EXPECT_FALSE(fs::exists(root / "elsewhere"));
    EXPECT_EQ(Registry::fromText(readAll(registry)).value("hklm\\software\\karvelo", "INSTALLDIR1"),
              dest.string());
    EXPECT_EQ(fs::status(dest / "kv5").permissions(), fs::perms(0755));
    EXPECT_EQ(fs::status(dest / "new/P1.dat").permissions(), fs::perms(0666));
    EXPECT_EQ(snapshot(root).size(), filesBefore + 4);  // new/, new/P1.dat, apps/, apps/K.desktop
    fs::remove_all(root);
}

struct CapCase {
    const char* what;
    std::string text;
    int line;              // the line the message names; 0: the file as a whole
    const char* reason;    // what the message must go on to say
};

// Every refusal names its line (or the file) and says why, to its last character: a control
// character in the text must not cut the message short.
TEST(InfReader, CapsAndControlCharactersAreRefusedSayingWhy)
{
    const std::string longest(kMaxInfLineChars - 2, 'x');  // "k=" + this is the longest line
    const std::string half(kMaxInfLineChars / 2, 'x');
    std::string biggest = "[S]\n";
    while (biggest.size() + 4001 <= kMaxInfFileBytes) biggest += ";" + std::string(3999, 'c') + "\n";
    biggest += std::string(kMaxInfFileBytes - biggest.size(), ' ');
    const std::vector<CapCase> cases = {
        {"longest line", "[S]\r\nk=" + longest + "\r\n", -1, ""},
        {"largest file", biggest, -1, ""},
        {"line one longer", "[S]\r\nk=" + longest + "x\r\n", 2, "Die Zeile ist länger als 4096 Zeichen."},
        {"continued past the cap", "[S]\nk=" + half + "\\\n" + half + "\n", 3,
         "Die Zeile ist länger als 4096 Zeichen."},
        {"file one byte larger", biggest + " ", 0,
         "Die Datei ist größer als 8 MiB (8388608 Bytes); so große INF-Dateien werden nicht gelesen."},
        {"null character in a name", std::string("[S]\nk=1\n[L]\nkv", 14) + '\0' + "5\n", 4,
         "Die Zeile enthält ein Nullzeichen (Byte 0) an Stelle 3."},
        {"escape in a comment", "[S]\n; \x1b[31m\n", 2, "Die Zeile enthält das Steuerzeichen 0x1B an Stelle 3."},
        {"carriage return inside a line", "[S]\r\nk=a\rb\r\n", 2,
         "Die Zeile enthält das Steuerzeichen 0x0D an Stelle 4."},
    };
    for (const CapCase& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.line < 0) {
            EXPECT_NO_THROW(InfFile::parse("/tmp/T.INF", c.text));
            continue;
        }
        try {
            InfFile::parse("/tmp/T.INF", c.text);
            ADD_FAILURE() << "accepted";
        } catch (const InfError& e) {
            const std::string where = c.line ? "/tmp/T.INF, Zeile " + std::to_string(c.line) + ": " : "/tmp/T.INF: ";
            EXPECT_EQ(std::string(e.what()), where + c.reason);
        }
    }
}

// Runs `command` in the background and waits up to 20 s for `file` to appear.
bool ranAndWrote(const std::string& command, const fs::path& file)
{
    if (std::system(("(" + command + ") >/dev/null 2>&1 &").c_str()) != 0) return false;
    for (int i = 0; i < 200 && !fs::exists(file); ++i) usleep(100 * 1000);
    return fs::exists(file);
}

std::string quotedForShell(const std::string& text)
{
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// The entries as a desktop starts them: GLib must load each and start its program with the
// arguments as planned, for folders with "%", runs of blanks and tabs.
TEST(DesktopEntries, GLibLoadsAndStartsThemForFoldersWithPercentBlanksAndTabs)
{
    if (std::system("command -v gio >/dev/null && command -v desktop-file-validate >/dev/null") != 0)
        GTEST_SKIP() << "gio or desktop-file-validate is missing";
    const fs::path root = fs::temp_directory_path() / ("inf-entries-" + std::to_string(getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "work");
    std::ofstream(root / "work/KARV10G1.INF", std::ios::binary) << shippedInfBytes();
    const InfFile inf = InfFile::parse((root / "work/KARV10G1.INF").string(), shippedInfBytes());

    struct Case {
        const char* what;
        std::string base;        // every place lies below it
        std::string section;
        std::string folder;      // the chosen folder
        std::string program;     // what the entry starts, a script recording how it was started
        std::vector<std::string> arguments;
        bool removesItself;
    };
    const std::string odd = (root / "a  b\tc").string();
    const std::string inf17 = odd + "/share/infinstall/inf";
    const std::vector<Case> cases = {
        {"program in a folder with %", (root / "u").string(), "DefaultInstall2", (root / "100% 50%%").string(),
         (root / "100% 50%%/kv5").string(), {}, false},
        {"RunOnce below two blanks and a tab", odd, "DefaultInstall", "/unused", inf17 + "/infinstall",
         {"advpack,LaunchINFSection", inf17 + "/KARV10G1.INF,DefaultInstall2"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Places places = {false, c.base + "/share", c.base + "/share/infinstall", c.base + "/share/infinstall/inf",
                               c.base + "/share/infinstall/registry", c.base + "/share/applications",
                               c.base + "/config/autostart", ""};
        PlanBuilder builder(inf, places, {});
        const InstallPlan plan = builder.plan(builder.section(c.section), {{49000, c.folder}});
        ASSERT_EQ(plan.entries.size(), 1u);
        const fs::path entry = plan.entries[0].path, record = root / "record";
        fs::create_directories(entry.parent_path());
        std::ofstream(entry) << plan.entries[0].text;
        EXPECT_EQ(std::system(("desktop-file-validate " + quotedForShell(entry)).c_str()), 0) << plan.entries[0].text;

        fs::create_directories(fs::path(c.program).parent_path());
        std::ofstream(c.program) << "#!/bin/sh\n{ pwd; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > " +
                                        quotedForShell((root / "partial").string()) + "\nmv " +
                                        quotedForShell((root / "partial").string()) + " " +
                                        quotedForShell(record.string()) + "\n";
        fs::permissions(c.program, fs::perms(0755));
        fs::remove(record);
        ASSERT_TRUE(ranAndWrote("gio launch " + quotedForShell(entry), record)) << plan.entries[0].text;
        std::vector<std::string> lines;
        std::ifstream in(record);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        ASSERT_FALSE(lines.empty());
        if (!c.removesItself) {
            EXPECT_EQ(lines.front(), c.folder);  // the entry's Path
        }
        EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.end()), c.arguments);
        EXPECT_EQ(fs::exists(entry), !c.removesItself);
        if (c.arguments.empty()) continue;
        std::string error;
        const std::optional<Invocation> call = parseInvocation(c.arguments, error);
        ASSERT_TRUE(call) << error;
        EXPECT_EQ(call->infPath, inf17 + "/KARV10G1.INF");
        EXPECT_EQ(call->section, "DefaultInstall2");
    }
    fs::remove_all(root);
}

}  // namespace
}  // namespace infinstall
