// One run of infinstall without a display: a folder the INF names without asking is checked as
// the prompt checks a typed one, and a run that is refused changes nothing.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "core/installer_run.h"
#include "core/posix_file_system.h"

namespace infinstall {
namespace {

namespace fs = std::filesystem;

// Answers every question with yes and records what it was told.
class RecordingUi : public InstallerUi {
public:
    bool ask(const Prompt&) override { return true; }
    bool confirm(const std::string&, const std::string&, const std::string&) override { return true; }
    void tell(const std::string&, const std::string& text, bool isError) override
    {
        told += (isError ? "error: " : "info: ") + text + "\n";
    }
    std::optional<std::string> chooseFolder(const std::string&, const std::string&, const std::string& initial,
                                            const std::function<std::string(const std::string&)>&) override
    {
        return initial;
    }
    bool runWithProgress(const std::string&, const std::string&,
                         const std::function<bool(ProgressSink&, std::string&)>& work, std::string& error) override
    {
        struct : ProgressSink {
            void advanced(int, int, const std::string&) override {}
            bool cancelled() override { return false; }
        } progress;
        return work(progress, error);
    }
    std::string told;
};

TEST(InstallerRun, AFolderTheInfNamesWithoutAskingIsCheckedLikeATypedOne)
{
    const fs::path root = fs::temp_directory_path() / ("infinstall-run-" + std::to_string(getpid()));
    fs::create_directories(root / "src");
    std::ofstream(root / "src/game") << "data";
    struct Case {
        std::string folder;  // the INF's default, taken without asking (flags 0)
        std::string told;    // part of the message; empty: installed there
    };
    const std::vector<Case> cases = {
        {"/", "In das Wurzelverzeichnis \"/\" kann nicht installiert werden."},
        {"KARVELO", "mit seinem vollständigen Pfad"},
        {"%16422%/../x", "kein \"..\" enthalten"},
        {(root / "ok").string(), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        const std::string inf = "[Version]\nSignature=\"$CHICAGO$\"\n[Go]\nCustomDestination=D\nCopyFiles=L\n"
                                "[D]\n49000=F,0\n[F]\nHKLM,\"SOFTWARE\\K\",\"Dir\",\"?\",\"" + c.folder + "\"\n"
                                "[DestinationDirs]\nL=49000\n[SourceDisksNames]\n1=d,,0\n"
                                "[SourceDisksFiles]\ngame=1\n[L]\ngame\n";
        const std::string infPath = (root / "src/T.INF").string();
        std::ofstream(infPath, std::ios::binary) << inf;
        const fs::path home = root / "home";
        std::string error;
        const std::optional<Places> places = placesFor(
            false, [&](const char* name) { return std::string(name) == "HOME" ? home.c_str() : nullptr; }, error);
        ASSERT_TRUE(places);
        PosixFileSystem files;
        RecordingUi ui;
        const Invocation call{true, infPath, "Go"};
        const std::optional<InfFile> read = readInf(call, files, error);
        ASSERT_TRUE(read) << error;
        RunContext context{*places, files, ui, [](const std::string&) { return std::string(); }};
        const int code = runInstaller(call, *read, context);
        if (c.told.empty()) {
            EXPECT_EQ(code, kDone) << ui.told;
            EXPECT_TRUE(fs::exists(root / "ok/game"));
            EXPECT_NE(ui.told.find("info: infinstall ist jetzt installiert.\n\nOrdner: " + c.folder), std::string::npos)
                << ui.told;
        } else {
            EXPECT_EQ(code, kFailed);
            EXPECT_NE(ui.told.find(c.told), std::string::npos) << ui.told;
            EXPECT_NE(ui.told.find("Es wurde nichts verändert."), std::string::npos) << ui.told;
            EXPECT_FALSE(fs::exists(home)) << "something was written";
        }
    }
    fs::remove_all(root);
}

}  // namespace
}  // namespace infinstall
