#pragma once

#include <string_view>

namespace kv {

// Relative to the working directory the game runs from.
inline constexpr std::string_view kSoundProgramStart = "sounds/sound1.wav";
inline constexpr std::string_view kSoundFieldsPlaced = "sounds/sound2.wav";
inline constexpr std::string_view kSoundStripe = "sounds/sound3.wav";
inline constexpr std::string_view kSoundSquare = "sounds/sound4.wav";
inline constexpr std::string_view kSoundBlockedField = "sounds/sound5.wav";
inline constexpr std::string_view kSoundHighscoreTable = "sounds/sound6.wav";
inline constexpr std::string_view kSoundGameOver = "sounds/sound7.wav";

} // namespace kv
