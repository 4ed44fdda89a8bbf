// The INF reader, its placeholders and the faults of a section over real INF text, what the
// shipped KARV10G1.INF allows through pkexec, the runtime check on the built game, and its
// desktop entries started by GLib.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "infinstall/core/desktop_entry.h"
#include "infinstall/core/elevation.h"
#include "infinstall/core/install_plan.h"
#include "infinstall/core/placeholders.h"
#include "infinstall/core/runtime_check.h"
#include "tests/infinstall/memory_file_system.h"
#include "tests/infinstall/install_inputs.h"
#include "tests/support/shell_command.h"

namespace infinstall {
namespace {

namespace fs = std::filesystem;
constexpr int kAccepted = -1;

struct ReaderCase {
    const char* what;
    std::string text;
    int line;                  // kAccepted, else the line the message names (0: the file as a whole)
    const char* reason;        // the rest of the message, to its last character; empty: not checked
    const char* section = "";  // an accepted case: the line to look at and its fields
    const char* key = "";      // empty: the first line of the section
    std::vector<std::string> fields = {};
};

// Every refusal names its line (or the file) and says why, to its last character: a control
// character in the text must not cut the message short.
TEST(InfReader, QuotingCommentsContinuationCapsAndFaultsWithTheirLines)
{
    const std::string longest(kMaxInfLineChars - 2, 'x');  // "k=" + this is the longest line
    const std::string half(kMaxInfLineChars / 2, 'x');
    std::string biggest = "[S]\n";
    while (biggest.size() + 4001 <= kMaxInfFileBytes)
        biggest += ";" + std::string(3999, 'c') + "\n";
    biggest += std::string(kMaxInfFileBytes - biggest.size(), ' ');
    const std::string tooLong = "Die Zeile ist länger als 4096 Zeichen.";
    const std::vector<ReaderCase> cases = {
        {"quotes, escaped quotes, blanks",
         "[S]\r\nk = \"x, y\" , \"say \"\"hi\"\"\" ,  plain \r\n",
         kAccepted,
         "",
         "S",
         "k",
         {"x, y", "say \"hi\"", "plain"}},
        {"comment after a value, semicolon inside quotes",
         "[S]\nk = \"a;b\", c ; note \"open\n",
         kAccepted,
         "",
         "s",
         "K",
         {"a;b", "c"}},
        {"continued line", "[S]\r\nk = one,\\\r\n  two ; c\r\n", kAccepted, "", "S", "k", {"one", "two"}},
        {"Windows-1252 text, case of section names",
         "[Strings]\nk=\"M\xF6"
         "chten \x80\"\n",
         kAccepted,
         "",
         "STRINGS",
         "k",
         {"Möchten €"}},
        {"bare line keeps its fields",
         "[List]\nP1.dat,,,16\n",
         kAccepted,
         "",
         "List",
         "",
         {"P1.dat", "", "", "16"}},
        {"= inside quotes is no key", "[S]\n\"a=b\",c\n", kAccepted, "", "S", "", {"a=b", "c"}},
        {"repeated section adds to the first", "[S]\na=1\n[T]\n[s]\nb=2\n", kAccepted, "", "S", "b", {"2"}},
        {"longest line", "[S]\r\nk=" + longest + "\r\n", kAccepted, "", "S", "k", {longest}},
        {"largest file", biggest, kAccepted, ""},
        {"missing ]", "; head\n[Version\nk=v\n", 2,
         "Dem Abschnittsnamen fehlt die schließende Klammer \"]\"."},
        {"text before the first section", "\n\nk=v\n[S]\n", 3, "Die Zeile steht vor dem ersten Abschnitt."},
        {"quote not closed", "[S]\na=1\nb=\"open\n", 3, "Ein Anführungszeichen wird nicht geschlossen."},
        {"byte Windows-1252 leaves undefined", "[S]\na=1\nb=\x81\n", 3,
         "Die Zeile ist kein Windows-1252-Text."},
        {"continuation at the end", "[S]\na=1,\\\n", 2, "Die Fortsetzungszeile fehlt am Dateiende."},
        {"empty key", "[S]\n =x\n", 2, "Vor dem \"=\" steht kein Name."},
        {"text after the section name", "[S] x\n", 1, "Nach dem Abschnittsnamen steht noch Text."},
        {"line one longer", "[S]\r\nk=" + longest + "x\r\n", 2, tooLong.c_str()},
        {"continued past the cap", "[S]\nk=" + half + "\\\n" + half + "\n", 3, tooLong.c_str()},
        {"file one byte larger", biggest + " ", 0,
         "Die Datei ist größer als 8 MiB (8388608 Bytes); so große INF-Dateien werden nicht gelesen."},
        {"null character in a name", std::string("[S]\nk=1\n[L]\nkv", 14) + '\0' + "5\n", 4,
         "Die Zeile enthält ein Nullzeichen (Byte 0) an Stelle 3."},
        {"escape in a comment", "[S]\n; \x1b[31m\n", 2,
         "Die Zeile enthält das Steuerzeichen 0x1B an Stelle 3."},
        {"carriage return inside a line", "[S]\r\nk=a\rb\r\n", 2,
         "Die Zeile enthält das Steuerzeichen 0x0D an Stelle 4."},
    };
    for (const ReaderCase& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.line != kAccepted) {
            try {
                InfFile::parse("/tmp/T.INF", c.text);
                ADD_FAILURE() << "accepted";
            } catch (const InfError& e) {
                const std::string where =
                    c.line ? "/tmp/T.INF, Zeile " + std::to_string(c.line) + ": " : "/tmp/T.INF: ";
                EXPECT_EQ(std::string(e.what()), where + c.reason);
            }
            continue;
        }
        const InfFile inf = InfFile::parse("/tmp/T.INF", c.text);
        if (!*c.section)
            continue;
        const InfLine* line = *c.key ? inf.line(c.section, c.key) : &inf.section(c.section)->lines.front();
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
        if (c.fails)
            EXPECT_THROW(p.expand(c.text, 7), InfError);
        else
            EXPECT_EQ(p.expand(c.text, 7), c.expanded);
    }
}

// What an administrator's password buys through pkexec: the one call of the kept infinstall
// that the menu entry's uninstall action makes, however its INF path is written.
TEST(ShippedInf, ThroughPkexecOnlyTheMenuEntrysUninstallCallIsAllowed)
{
    const InfFile inf = InfFile::parse("/var/lib/infinstall/inf/KARV10G1.INF", shippedInfBytes());
    const std::vector<Invocation> allowed = menuCalls(inf, placesBelow(true, "/root"));
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
        {{"setupapi,InstallHinfSection", "DefaultUninstall", "132", "/var/lib/infinstall/inf/KARV10G1.INF"},
         false},
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

TEST(InstallPlan, RefusedNamesAndUnsupportedDirectivesNameTheirLine)
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
        {"destination sub-folder climbs", "CopyFiles=M\n",
         "[M]\nkv5\n[DestinationDirs]\nM=49000,\"a/../..\"\n", 14},
        {"folder removal outside the installation", "DelDirs=D\n", "[D]\n%17%\n", 12},
        {"unknown directive", "RunPostSetupCommands=X\n", "", 4},
        {"other INI than program groups", "UpdateInis=U\n", "[U]\nwin.ini,Desktop,,\"x=y\"\n", 12},
        {"files into the INF's own folder", "DelFiles=N\n", "[N]\nkv5\n[DestinationDirs]\nN=1\n", 14},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string text = head + c.section + tail + c.lines;
        const std::string path = "/pkg/T.INF";
        const InfFile inf = InfFile::parse(path, text);
        const Places places = placesBelow(true, "/root");
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
    EXPECT_NE(std::find(game.libraries.begin(), game.libraries.end(), "libQt6Widgets.so.6"),
              game.libraries.end());
    EXPECT_NE(std::find(sound.libraries.begin(), sound.libraries.end(), "libpulse.so.0"),
              sound.libraries.end());
    EXPECT_FALSE(readElfNeeds("#!/bin/sh\n").valid);

    const std::vector<FileCopy> copies = {{KV5_PATH, "/opt/K/kv5", false, 0755},
                                          {KV5_SOUND_PATH, "/opt/K/libkv5-sound.so", false, 0755}};
    MemoryFileSystem files;
    files.add(KV5_PATH, PathKind::File, readAll(KV5_PATH));
    files.add(KV5_SOUND_PATH, PathKind::File, readAll(KV5_SOUND_PATH));
    // Everything there: nothing to report. libpulse missing: only the module is affected.
    EXPECT_TRUE(checkRuntime(copies, files, loadLibrary).fine());
    const RuntimeReport silent = checkRuntime(copies, files, [](const std::string& name) {
        return name == "libpulse.so.0" ? name : std::string();
    });
    EXPECT_TRUE(silent.programPackages.empty());
    EXPECT_EQ(silent.modulePackages, std::vector<std::string>{"libpulse0"});
    EXPECT_EQ(silent.modules, std::vector<std::string>{"libkv5-sound.so"});
}

// Runs `command` in the background and waits up to 20 s for `file` to appear.
bool ranAndWrote(const std::string& command, const fs::path& file)
{
    if (std::system(("(" + command + ") >/dev/null 2>&1 &").c_str()) != 0)
        return false;
    for (int i = 0; i < 200 && !fs::exists(file); ++i)
        usleep(100 * 1000);
    return fs::exists(file);
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
    const InfFile inf = InfFile::read((root / "work/KARV10G1.INF").string());
    EXPECT_THROW(InfFile::read((root / "work/missing.INF").string()), InfError);

    struct Case {
        const char* what;
        std::string base;  // every place lies below it
        std::string section;
        std::string folder;   // the chosen folder
        std::string program;  // what the entry starts, a script recording how it was started
        std::vector<std::string> arguments;
        bool removesItself;
    };
    const std::string odd = (root / "a  b\tc").string();
    const std::string inf17 = odd + "/.local/share/infinstall/inf";
    const std::vector<Case> cases = {
        {"program in a folder with %",
         (root / "u").string(),
         "DefaultInstall2",
         (root / "100% 50%%").string(),
         (root / "100% 50%%/kv5").string(),
         {},
         false},
        {"RunOnce below two blanks and a tab",
         odd,
         "DefaultInstall",
         "/unused",
         inf17 + "/infinstall",
         {"advpack,LaunchINFSection", inf17 + "/KARV10G1.INF,DefaultInstall2"},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Places places = placesBelow(false, c.base);
        PlanBuilder builder(inf, places, {});
        const InstallPlan plan = builder.plan(builder.section(c.section), {{49000, c.folder}});
        ASSERT_EQ(plan.entries.size(), 1u);
        const fs::path entry = plan.entries[0].path, record = root / "record";
        fs::create_directories(entry.parent_path());
        std::ofstream(entry) << plan.entries[0].text;
        EXPECT_EQ(std::system(("desktop-file-validate " + kv::test::shellQuote(entry)).c_str()), 0)
            << plan.entries[0].text;

        fs::create_directories(fs::path(c.program).parent_path());
        std::ofstream(c.program)
            << "#!/bin/sh\n{ pwd; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > " +
                   kv::test::shellQuote((root / "partial").string()) + "\nmv " +
                   kv::test::shellQuote((root / "partial").string()) + " " +
                   kv::test::shellQuote(record.string()) + "\n";
        fs::permissions(c.program, fs::perms(0755));
        fs::remove(record);
        ASSERT_TRUE(ranAndWrote("gio launch " + kv::test::shellQuote(entry), record)) << plan.entries[0].text;
        std::vector<std::string> lines;
        std::ifstream in(record);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        ASSERT_FALSE(lines.empty());
        EXPECT_TRUE(c.removesItself || lines.front() == c.folder) << lines.front();  // the entry's Path
        EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.end()), c.arguments);
        EXPECT_EQ(fs::exists(entry), !c.removesItself);
        if (c.arguments.empty())
            continue;
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
