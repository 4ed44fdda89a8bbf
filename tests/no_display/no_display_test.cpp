// kv5, the setup file and infinstall started without a display, with one that does not exist and
// with a Wayland socket that takes the connection but never answers: one German line on standard
// error, exit code 1, no abort, and nothing left in the folders they were given.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

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

const std::string kNoDisplayLine =
    ": Keine grafische Oberfläche erreicht: weder DISPLAY noch WAYLAND_DISPLAY nennt eine Anzeige, "
    "die antwortet.\n";

struct Program {
    const char* name;  // as the line names it
    std::vector<std::string> argv;
};

void PrintTo(const Program& program, std::ostream* out)
{
    *out << program.name;
}

enum class Display { Unset, Unreachable, SilentWayland };
const char* const kDisplayNames[] = {"Unset", "Unreachable", "SilentWayland"};

void PrintTo(Display display, std::ostream* out)
{
    *out << kDisplayNames[static_cast<int>(display)];
}

struct Outcome {
    int status = -1;
    bool finished = false;
    std::string errors, output;
};

std::string readFile(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Everything below `folder` apart from `expected`.
std::vector<std::string> strayFiles(const fs::path& folder, const std::vector<fs::path>& expected)
{
    std::vector<std::string> stray;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        bool known = false;
        for (const fs::path& e : expected)
            known = known || entry.path() == e || e.string().rfind(entry.path().string() + "/", 0) == 0;
        if (!known)
            stray.push_back(entry.path().string());
    }
    return stray;
}

class NoDisplay : public ::testing::TestWithParam<std::tuple<Program, Display>> {
protected:
    void SetUp() override
    {
        folder_ = fs::temp_directory_path() / ("kv-no-display-" + std::to_string(getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_ / "home");
        fs::create_directories(folder_ / "run");
        fs::permissions(folder_ / "run", fs::perms::owner_all);
    }
    void TearDown() override
    {
        if (silentServer_ >= 0)
            close(silentServer_);
        fs::remove_all(folder_);
    }

    // A Wayland socket whose server accepts every connection (the kernel's backlog) and says
    // nothing.
    fs::path silentWaylandSocket()
    {
        const fs::path path = folder_ / "run" / "wayland-0";
        silentServer_ = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        path.string().copy(address.sun_path, sizeof address.sun_path - 1);
        EXPECT_EQ(bind(silentServer_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        EXPECT_EQ(listen(silentServer_, 8), 0);
        return path;
    }

    Outcome run(const std::vector<std::string>& argv, const std::vector<std::string>& environment)
    {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        const std::string out = (folder_ / "../kv-no-display.out").lexically_normal();
        const std::string err = (folder_ / "../kv-no-display.err").lexically_normal();
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        std::vector<char*> args, env;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        for (const std::string& e : environment)
            env.push_back(const_cast<char*>(e.c_str()));
        env.push_back(nullptr);

        // An abort would leave a core file in the working folder.
        const rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY};
        rlimit before{};
        getrlimit(RLIMIT_CORE, &before);
        setrlimit(RLIMIT_CORE, &unlimited);
        const fs::path here = fs::current_path();
        fs::current_path(folder_);
        pid_t pid = -1;
        const int spawned = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), env.data());
        fs::current_path(here);
        setrlimit(RLIMIT_CORE, &before);
        posix_spawn_file_actions_destroy(&actions);

        Outcome result;
        if (spawned != 0) {
            ADD_FAILURE() << "could not start " << argv[0];
            return result;
        }
        for (auto waited = 0ms; waited < 20s && !result.finished; waited += 20ms) {
            result.finished = waitpid(pid, &result.status, WNOHANG) == pid;
            if (!result.finished)
                std::this_thread::sleep_for(20ms);
        }
        if (!result.finished) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        result.output = readFile(out);
        result.errors = readFile(err);
        fs::remove(out);
        fs::remove(err);
        return result;
    }

    fs::path folder_;
    int silentServer_ = -1;
};

TEST_P(NoDisplay, SaysSoInGermanAndEndsWithCodeOne)
{
    const auto& [program, display] = GetParam();
    std::vector<std::string> environment = {
        "PATH=/usr/bin:/bin", "LANG=C.UTF-8", "HOME=" + (folder_ / "home").string(),
        "TMPDIR=" + folder_.string(), "XDG_RUNTIME_DIR=" + (folder_ / "run").string()};
    std::vector<fs::path> expected = {folder_ / "home", folder_ / "run"};
    switch (display) {
    case Display::Unset: break;
    case Display::Unreachable: environment.push_back("DISPLAY=:999"); break;
    case Display::SilentWayland:
        expected.push_back(silentWaylandSocket());
        environment.push_back("WAYLAND_DISPLAY=wayland-0");
        environment.push_back("XDG_SESSION_TYPE=wayland");
        break;
    }

    const Outcome result = run(program.argv, environment);
    ASSERT_TRUE(result.finished) << program.name << " still runs after 20 s:\n" << result.errors;
    EXPECT_TRUE(WIFEXITED(result.status))
        << program.name << " ended by signal " << WTERMSIG(result.status) << ":\n" << result.errors;
    EXPECT_EQ(WEXITSTATUS(result.status), 1);
    EXPECT_EQ(result.errors, program.name + kNoDisplayLine);
    EXPECT_EQ(result.output, "");
    EXPECT_EQ(strayFiles(folder_, expected), std::vector<std::string>{});
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

INSTANTIATE_TEST_SUITE_P(
    EveryProgram, NoDisplay,
    ::testing::Combine(::testing::ValuesIn(kPrograms),
                       ::testing::Values(Display::Unset, Display::Unreachable, Display::SilentWayland)),
    caseName);

}  // namespace
