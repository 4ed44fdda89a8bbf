// Writes the game's seven sound effects: make_sounds <out folder>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>

#include "tools/sounds/sound_designs.h"
#include "tools/sounds/wav_encoder.h"

namespace {

bool writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sounds <out folder>\n");
        return 2;
    }
    try {
        const std::filesystem::path folder = argv[1];
        std::filesystem::create_directories(folder);
        for (const kv::sounds::SoundDesign& design : kv::sounds::gameSounds()) {
            const auto path = folder / design.fileName;
            if (!writeFile(path, kv::sounds::encodeWavPcm16Mono(kv::sounds::renderSound(design)))) {
                std::fprintf(stderr, "make_sounds: cannot write %s\n", path.c_str());
                return 1;
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_sounds: %s\n", e.what());
        return 1;
    }
    return 0;
}
