// kv5, the setup file and infinstall started without a display, with one that does not exist,
// with a Wayland socket that takes the connection but never answers, and with a platform plugin
// that is not there: one German line on standard error that says which, exit code 1, no abort
// (no core file), and nothing written in the folders they were given.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

struct Program {
    const char* name;  // as the line names it
    std::vector<std::string> argv;
};
void PrintTo(const Program& program, std::ostream* out)
{
    *out << program.name;
}

enum class Display { Unset, Unreachable, SilentWayland, MissingPlatform };
const char* const kDisplayNames[] = {"Unset", "Unreachable", "SilentWayland", "MissingPlatform"};
void PrintTo(Display display, std::ostream* out)
{
    *out << kDisplayNames[static_cast<int>(display)];
}

class NoDisplay : public ::testing::TestWithParam<std::tuple<Program, Display>> {
protected:
    void SetUp() override
    {
        fs::remove_all(folder_);
        fs::create_directories(folder_ / "run");
        fs::permissions(folder_ / "run", fs::perms::owner_all);
    }
    void TearDown() override
    {
        if (waylandServer_ >= 0)
            close(waylandServer_);
        fs::remove_all(folder_);
        fs::remove(errors_);
    }

    // A server that leaves every connection in the kernel's backlog and says nothing.
    void listenSilently(const fs::path& path)
    {
        waylandServer_ = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        path.string().copy(address.sun_path, sizeof address.sun_path - 1);
        ASSERT_EQ(bind(waylandServer_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ASSERT_EQ(listen(waylandServer_, 8), 0);
    }

    // Runs the program in the folder with standard error into a file and cores allowed (the
    // kernel's pattern here is a file "core" in the working folder); the wait status, or -1.
    int run(const std::vector<std::string>& argv, const std::vector<std::string>& environment)
    {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 2, errors_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        std::vector<char*> args, env;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        for (const std::string& e : environment)
            env.push_back(const_cast<char*>(e.c_str()));
        args.push_back(nullptr);
        env.push_back(nullptr);
        rlimit before{};
        getrlimit(RLIMIT_CORE, &before);
        const rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY};
        setrlimit(RLIMIT_CORE, &unlimited);
        const fs::path here = fs::current_path();
        fs::current_path(folder_);
        pid_t pid = -1;
        const bool started = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), env.data()) == 0;
        fs::current_path(here);
        setrlimit(RLIMIT_CORE, &before);
        posix_spawn_file_actions_destroy(&actions);
        int status = -1;
        for (auto waited = 0ms; started && waited < 20s; waited += 20ms) {
            if (waitpid(pid, &status, WNOHANG) == pid)
                return status;
            std::this_thread::sleep_for(20ms);
        }
        if (started) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        return -1;
    }

    const fs::path folder_ = fs::temp_directory_path() / ("kv-no-display-" + std::to_string(getpid()));
    const std::string errors_ = folder_.string() + ".err";
    int waylandServer_ = -1;
};

TEST_P(NoDisplay, SaysSoInGermanAndEndsWithCodeOne)
{
    const auto& [program, display] = GetParam();
    std::vector<std::string> environment = {"PATH=/usr/bin:/bin", "LANG=C.UTF-8", "HOME=" + folder_.string(),
                                            "TMPDIR=" + folder_.string(),
                                            "XDG_RUNTIME_DIR=" + (folder_ / "run").string()};
    std::vector<fs::path> leftBehind = {folder_ / "run"};
    if (display == Display::Unreachable || display == Display::MissingPlatform)
        environment.push_back("DISPLAY=:999");
    if (display == Display::MissingPlatform)
        environment.push_back("QT_QPA_PLATFORM=gone");
    if (display == Display::SilentWayland) {
        listenSilently(folder_ / "run" / "wayland-0");
        leftBehind.push_back(folder_ / "run" / "wayland-0");
        environment.push_back("WAYLAND_DISPLAY=wayland-0");
        environment.push_back("XDG_SESSION_TYPE=wayland");
    }

    const int status = run(program.argv, environment);
    std::ifstream file(errors_);
    const std::string errors{std::istreambuf_iterator<char>(file), {}};
    ASSERT_NE(status, -1) << program.name << " did not end within 20 s:\n" << errors;
    EXPECT_TRUE(WIFEXITED(status)) << program.name << " ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 1);
    const std::string setup = "KARVELO-setup";
    EXPECT_EQ(errors,
              std::string(program.name) +
                  (display != Display::MissingPlatform
                       ? ": Keine grafische Oberfläche erreicht: weder DISPLAY noch "
                         "WAYLAND_DISPLAY nennt eine Anzeige, die antwortet.\n"
                       : std::string(": Qts Plattform-Modul ") + (program.name == setup ? "" : "„gone“ ") +
                             "ließ sich nicht laden: es fehlt, ist beschädigt oder wurde abgewiesen.\n"));
    std::vector<fs::path> found;
    for (const auto& entry : fs::recursive_directory_iterator(folder_))
        found.push_back(entry.path());
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, leftBehind) << "written by " << program.name;
}

const Program kPrograms[] = {
    {"kv5", {KV5_PATH}},
    {"KARVELO-setup", {KV_SETUP_FILE}},
    {"infinstall", {KV_INFINSTALL_PATH, "advpack,LaunchINFSection", KV_SHIPPED_INF ",DefaultInstall"}},
};

std::string caseName(const ::testing::TestParamInfo<std::tuple<Program, Display>>& info)
{
    std::string name = std::get<0>(info.param).name;
    std::erase(name, '-');
    return name + "_" + kDisplayNames[static_cast<int>(std::get<1>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(EveryProgram, NoDisplay,
                         ::testing::Combine(::testing::ValuesIn(kPrograms),
                                            ::testing::Values(Display::Unset, Display::Unreachable,
                                                              Display::SilentWayland,
                                                              Display::MissingPlatform)),
                         caseName);

}  // namespace
