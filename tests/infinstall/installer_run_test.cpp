// Whole runs of infinstall on a file system in memory: the shipped KARV10G1.INF installed for
// the system and for one user, installed again over it and removed again; every refused or
// cancelled run, and every failing step, leaves the files as they were.
#include <gtest/gtest.h>

#include "infinstall/core/desktop_entry.h"
#include "infinstall/core/installer_run.h"
#include "tests/infinstall/memory_file_system.h"
#include "tests/infinstall/install_inputs.h"

namespace infinstall {
namespace {

// Answers as set and keeps what it was told.
class ScriptedUi : public InstallerUi {
public:
    bool begin = true, accept = true;
    std::optional<std::string> folder;  // the folder typed in; nothing: the one offered
    bool cancelFolder = false, cancelCopy = false;
    std::vector<std::string> told;  // also the warnings confirmed

    bool ask(const Prompt&) override { return begin; }
    bool confirm(const std::string&, const std::string& text, const std::string&) override
    {
        told.push_back(text);
        return accept;
    }
    void tell(const std::string&, const std::string& text, bool) override { told.push_back(text); }
    std::optional<std::string> chooseFolder(const std::string&, const std::string&,
                                            const std::string& initial,
                                            const std::function<std::string(const std::string&)>&) override
    {
        if (cancelFolder)
            return std::nullopt;
        return folder.value_or(initial);
    }
    bool runWithProgress(const std::string&, const std::string&,
                         const std::function<bool(ProgressSink&, std::string&)>& work,
                         std::string& error) override
    {
        struct Sink : ProgressSink {
            bool cancel;
            explicit Sink(bool cancel) : cancel(cancel) {}
            void advanced(int, int, const std::string&) override {}
            bool cancelled() override { return cancel; }
        } progress(cancelCopy);
        return work(progress, error);
    }
};

// The package as the setup unpacks it into /pkg, and the folders a system already has.
MemoryFileSystem unpacked(const Places& places)
{
    MemoryFileSystem files;
    files.add("/pkg/KARV10G1.INF", PathKind::File, shippedInfBytes());
    for (const char* name : {"infinstall", "karvelo.png", "P1.dat", "LIESMICH.TXT", "README.TXT"})
        files.add(std::string("/pkg/") + name, PathKind::File, name);
    static const std::string game = readAll(KV5_PATH), sound = readAll(KV5_SOUND_PATH);
    files.add("/pkg/kv5", PathKind::File, game);
    files.add("/pkg/libkv5-sound.so", PathKind::File, sound);
    for (int i = 1; i <= 7; ++i)
        files.add("/pkg/sounds/sound" + std::to_string(i) + ".wav", PathKind::File, "wav");
    for (const std::string& folder :
         {places.programs, places.applications, folderOf(places.store), places.polkitActions})
        if (!folder.empty())
            files.add(folder, PathKind::Folder, "", 0755);
    return files;
}

int run(MemoryFileSystem& files, const Places& places, ScriptedUi& ui, const std::string& inf,
        const std::string& section, const std::string& missingLibrary = "")
{
    const Invocation call{true, inf, section};
    std::string error;
    const std::optional<InfFile> read = readInf(call, files, error);
    EXPECT_TRUE(read) << error;
    if (!read)
        return -1;
    RunContext context{places, files, ui, [&](const std::string& name) {
                           return name == missingLibrary ? name : std::string();
                       }};
    return runInstaller(call, *read, context);
}

std::string contentOf(const MemoryFileSystem& files, const std::string& path)
{
    const auto it = files.nodes.find(path);
    return it == files.nodes.end() ? "(missing)" : it->second.content;
}

TEST(InstallerRun, TheShippedInfInstalledForTheSystemAndForAUserAndRemovedAgain)
{
    struct Case {
        bool system;
        std::optional<std::string> folder;  // typed in; nothing: the default taken
        std::string installed, entry, exec;
        unsigned p1Mode;
    };
    const std::vector<Case> cases = {
        {true, std::nullopt, "/opt/KARVELO", "/usr/share/applications/KARVELO.desktop",
         "Exec=/opt/KARVELO/kv5\n", 0666},
        {false, "/home/u/My Games/100%", "/home/u/My Games/100%",
         "/home/u/.local/share/applications/KARVELO.desktop",
         R"(Exec=/bin/sh -c "exec \\"\\$0\\" \\"\\$@\\"" "/home/u/My Games/100%%/kv5")"
         "\n",
         0644},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.installed);
        const Places places = placesBelow(c.system, "/home/u");
        MemoryFileSystem files = unpacked(places);
        if (c.folder)
            files.add(folderOf(*c.folder), PathKind::Folder);
        const auto before = files.nodes;
        ScriptedUi ui;
        ui.folder = c.folder;
        ASSERT_EQ(run(files, places, ui, "/pkg/KARV10G1.INF", "DefaultInstall2.ntx86"), kDone)
            << ui.told.back();
        const std::string& dir = c.installed;
        EXPECT_EQ(files.nodes[dir + "/kv5"],
                  (MemoryFileSystem::Node{PathKind::File, readAll(KV5_PATH), 0755}));
        EXPECT_EQ(files.nodes[dir + "/P1.dat"].mode, c.p1Mode);
        EXPECT_EQ(files.nodes[dir + "/sounds/sound7.wav"].content, "wav");
        EXPECT_EQ(contentOf(files, places.infFolder + "/KARV10G1.INF"), shippedInfBytes());
        EXPECT_EQ(contentOf(files, places.registry), "[HKLM\\SOFTWARE\\KARVELO]\nInstallDir1=" + dir + "\n");
        const std::string entry = contentOf(files, c.entry);
        for (const std::string& line :
             {std::string("[Desktop Entry]\nType=Application\nName=KARVELO\n"), c.exec, "Path=" + dir + "\n",
              "Icon=" + dir + "/karvelo.png\n", std::string("Categories=Game;BoardGame;\n"),
              std::string("Actions=item1;\n\n[Desktop Action item1]\nName=KARVELO deinstallieren\n"),
              "Exec=" +
                  execValue({places.infFolder + "/infinstall", "advpack,LaunchINFSection",
                             places.infFolder + "/KARV10G1.INF,DefaultUninstall"}) +
                  "\n"})
            EXPECT_NE(entry.find(line), std::string::npos) << line << "\nin\n" << entry;
        // A system-wide entry brings the polkit action that lets a player ask an administrator
        // to run its uninstall action.
        const std::string policy = "/usr/share/polkit-1/actions/org.infinstall.karvelo.policy";
        const std::string policyText = contentOf(files, policy);
        for (const char* line :
             {"<action id=\"org.infinstall.karvelo\">", "<allow_active>auth_admin</allow_active>",
              "exec.path\">/var/lib/infinstall/inf/infinstall</annotate>",
              "<description xml:lang=\"de\">KARVELO entfernen</description>",
              "(/var/lib/infinstall/inf/infinstall /var/lib/infinstall/inf/KARV10G1.INF)"}) {
            EXPECT_EQ(policyText.find(line) != std::string::npos, c.system) << line;
        }

        // Installed again: the recorded folder is offered with the overwrite warning, and the
        // players' results stay.
        files.nodes[dir + "/P1.dat"].content = "results";
        ScriptedUi again;
        ASSERT_EQ(run(files, places, again, "/pkg/KARV10G1.INF", "DefaultInstall2"), kDone);
        EXPECT_NE(again.told.at(0).find("überschrieben"), std::string::npos) << again.told[0];
        EXPECT_EQ(files.nodes[dir + "/P1.dat"].content, "results");

        // The menu entry's uninstall action leaves the system as it was before.
        ScriptedUi remove;
        EXPECT_EQ(run(files, places, remove, places.infFolder + "/KARV10G1.INF", "DefaultUninstall"), kDone);
        EXPECT_EQ(files.nodes, before);
        EXPECT_EQ(remove.told, std::vector<std::string>{"KARVELO wurde entfernt."});
    }
}

TEST(InstallerRun, AFailureAtAnyStepLeavesTheFilesAsTheyWere)
{
    const Places places = placesBelow(true, "/root");
    MemoryFileSystem fresh = unpacked(places);
    fresh.nodes["/pkg/kv5"].content = "\x7f"
                                      "ELF new";
    MemoryFileSystem installed = fresh;
    ScriptedUi ui;
    ASSERT_EQ(run(installed, places, ui, "/pkg/KARV10G1.INF", "DefaultInstall2"), kDone);
    installed.nodes["/opt/KARVELO/P1.dat"].content = "results";
    installed.nodes["/opt/KARVELO/README.TXT"] = {PathKind::Other, "a link: replaced, never followed", 0777};
    installed.changes = 0;
    for (const MemoryFileSystem* earlier : {&fresh, &installed}) {
        MemoryFileSystem files;
        int failAt = 1;
        for (; failAt < 200; ++failAt) {
            SCOPED_TRACE("failing change " + std::to_string(failAt));
            files = *earlier;
            files.failAt = failAt;
            ScriptedUi again;
            const int code = run(files, places, again, "/pkg/KARV10G1.INF", "DefaultInstall2");
            if (files.changes < failAt) {
                EXPECT_EQ(code, kDone);
                break;
            }
            if (code == kDone)
                continue;  // the failing change only tidied up after the files were in place
            EXPECT_EQ(code, kFailed);
            EXPECT_NE(again.told.back().find("No space left on device"), std::string::npos)
                << again.told.back();
            EXPECT_EQ(files.nodes, earlier->nodes);
        }
        EXPECT_GT(failAt, 40);
        EXPECT_EQ(files.nodes["/opt/KARVELO/kv5"].content, "\x7f"
                                                           "ELF new");
        EXPECT_EQ(files.nodes["/opt/KARVELO/P1.dat"].content, earlier == &installed ? "results" : "P1.dat");
        EXPECT_EQ(files.nodes["/opt/KARVELO/README.TXT"],
                  (MemoryFileSystem::Node{PathKind::File, "README.TXT", 0644}));
    }
}

// Each run that stops before its end changes nothing, and says why where there is a reason.
TEST(InstallerRun, RefusedAndCancelledRunsChangeNothing)
{
    const std::string head =
        "[Version]\nSignature=\"$CHICAGO$\"\n[Go]\nCustomDestination=D\nCopyFiles=L\n[D]\n49000=F,";
    const std::string tail =
        "[DestinationDirs]\nL=49000\n[SourceDisksNames]\n1=d,,0\n[SourceDisksFiles]\ngame=1\n[L]\ngame\n";
    const auto asking = [&](const std::string& flags, const std::string& folder) {
        return head + flags + "\n[F]\nHKLM,\"SOFTWARE\\K\",\"Dir\",\"?\",\"" + folder + "\"\n" + tail;
    };
    struct Case {
        const char* what;
        std::string inf, section;  // the inf's text; empty: the shipped one
        std::function<void(ScriptedUi&, MemoryFileSystem&)> prepare;
        std::string missingLibrary;
        int code;
        std::string told;  // part of the last message; empty: none needed
    };
    const auto none = [](ScriptedUi&, MemoryFileSystem&) {};
    const std::vector<Case> cases = {
        {"the root folder", asking("0", "/"), "Go", none, "", kFailed, "Wurzelverzeichnis"},
        {"a relative folder", asking("0", "KARVELO"), "Go", none, "", kFailed, "vollständigen Pfad"},
        {"a folder that climbs", asking("0", "%16422%/../x"), "Go", none, "", kFailed, "\"..\""},
        {"a place the user may not write to", asking("0", "/srv/K"), "Go",
         [](ScriptedUi&, MemoryFileSystem& f) {
             f.refusedPlaces["/srv"] = "Sie dürfen in /srv nicht schreiben.";
         },
         "", kFailed, "Sie dürfen in /srv nicht schreiben."},
        {"nothing to ask and no folder", asking("0", ""), "Go", none, "", kFailed,
         "keine Installation verzeichnet"},
        {"a newer version wanted", "[Version]\nAdvancedINF=3.0,\"Zu alt!\"\n[Go]\n", "Go", none, "", kFailed,
         "Zu alt!"},
        {"a fault in the section", "[Version]\n[Go]\nCopyFiles=L\n", "Go", none, "", kFailed,
         "nennt keinen Zielordner"},
        {"begin prompt declined", "", "DefaultInstall2",
         [](ScriptedUi& ui, MemoryFileSystem&) { ui.begin = false; }, "", kCancelled, ""},
        {"folder prompt cancelled", "", "DefaultInstall2",
         [](ScriptedUi& ui, MemoryFileSystem&) { ui.cancelFolder = true; }, "", kCancelled, ""},
        {"the program's libraries missing", "", "DefaultInstall2", none, "libQt6Widgets.so.6", kFailed,
         "sudo apt install libqt6widgets6"},
        {"the sound module's missing, declined", "", "DefaultInstall2",
         [](ScriptedUi& ui, MemoryFileSystem&) { ui.accept = false; }, "libpulse.so.0", kCancelled,
         "Das Modul libkv5-sound.so lässt sich hier nicht laden"},
        {"cancelled while copying", "", "DefaultInstall2",
         [](ScriptedUi& ui, MemoryFileSystem&) { ui.cancelCopy = true; }, "", kFailed, "abgebrochen"},
        {"a file missing from the package", "", "DefaultInstall2",
         [](ScriptedUi&, MemoryFileSystem& f) { f.nodes.erase("/pkg/README.TXT"); }, "", kFailed,
         "README.TXT fehlt"},
        {"nothing recorded to remove", "", "DefaultUninstall", none, "", kFailed,
         "keine Installation verzeichnet"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Places places = placesBelow(false, "/home/u");
        MemoryFileSystem files = unpacked(places);
        if (!c.inf.empty())
            files.add("/pkg/KARV10G1.INF", PathKind::File, c.inf);
        files.add("/pkg/game", PathKind::File, "data");
        ScriptedUi ui;
        c.prepare(ui, files);
        const auto before = files.nodes;
        EXPECT_EQ(run(files, places, ui, "/pkg/KARV10G1.INF", c.section, c.missingLibrary), c.code);
        EXPECT_EQ(files.nodes, before);
        if (!c.told.empty()) {
            ASSERT_FALSE(ui.told.empty());
            EXPECT_NE(ui.told.back().find(c.told), std::string::npos) << ui.told.back();
        }
    }
}

}  // namespace
}  // namespace infinstall
