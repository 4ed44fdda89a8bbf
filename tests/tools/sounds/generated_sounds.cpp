#include "generated_sounds.h"

#include <stdexcept>

#include "support/shell_command.h"

namespace kv::sounds::test {

int runMakeSounds(const std::string& arguments)
{
    return ::kv::test::runCommand(std::string(MAKE_SOUNDS_PATH) + " " + arguments).exitCode;
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
