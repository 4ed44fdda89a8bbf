// The file each of the game's sounds is played from.
#pragma once

#include <string_view>

#include "game/rules/sounds.h"

namespace kv {

// Relative to the working directory the game runs from.
constexpr std::string_view soundFile(Sound sound)
{
    switch (sound) {
    case Sound::ProgramStart:
        return "sounds/sound1.wav";
    case Sound::FieldsPlaced:
        return "sounds/sound2.wav";
    case Sound::Stripe:
        return "sounds/sound3.wav";
    case Sound::Square:
        return "sounds/sound4.wav";
    case Sound::BlockedField:
        return "sounds/sound5.wav";
    case Sound::HighscoreTable:
        return "sounds/sound6.wav";
    case Sound::GameOver:
        return "sounds/sound7.wav";
    }
    return {};
}

}  // namespace kv
