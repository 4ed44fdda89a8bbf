// Stands in for pkexec, for a test, once an administrator has authenticated: installed setuid
// root, it runs PROGRAM as root when an action in polkit's folder names PROGRAM as its
// exec.path, with the clean environment pkexec gives, plus the display when the action allows
// graphical programs. Exits 127 (not authorized) otherwise, as pkexec does.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

bool allowsGui(const std::string& program)
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/usr/share/polkit-1/actions", error)) {
        std::ifstream in(entry.path());
        const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        if (text.find("\"org.freedesktop.policykit.exec.path\">" + program + "<") != std::string::npos &&
            text.find("\"org.freedesktop.policykit.exec.allow_gui\">true<") != std::string::npos)
            return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || !allowsGui(argv[1]))
        return 127;
    std::vector<std::string> environment = {"PATH=/usr/sbin:/usr/bin:/sbin:/bin", "HOME=/root", "USER=root",
                                            "LOGNAME=root", "PKEXEC_UID=" + std::to_string(getuid())};
    for (const char* kept : {"DISPLAY", "XAUTHORITY"})
        if (const char* value = getenv(kept))
            environment.push_back(std::string(kept) + "=" + value);
    if (setgid(0) != 0 || setuid(0) != 0)
        return 127;
    std::vector<char*> envp;
    for (std::string& variable : environment)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    execve(argv[1], argv + 1, envp.data());
    return 127;
}
