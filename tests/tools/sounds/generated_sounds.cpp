#include "generated_sounds.h"

#include <cstdlib>
#include <stdexcept>
#include <sys/wait.h>

namespace kv::sounds::test {

int runMakeSounds(const std::string& arguments)
{
    const std::string command = std::string(MAKE_SOUNDS_PATH) + " " + arguments + " 2>/dev/null";
    const int status = std::system(command.c_str());
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

GeneratedSounds generateSounds(const std::filesystem::path& folder)
{
    if (runMakeSounds("'" + folder.string() + "'") != 0)
        throw std::runtime_error("make_sounds failed");
    GeneratedSounds out;
    for (int n = 1; n <= 7; ++n) {
        out.bytes.push_back(readBytes(folder / ("sound" + std::to_string(n) + ".wav")));
        out.files.emplace_back();
        out.parseErrors.push_back(parseWav(out.bytes.back(), out.files.back()));
    }
    return out;
}

} // namespace kv::sounds::test
