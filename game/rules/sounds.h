#pragma once

namespace kv {

// The sounds the rules ask for. Which file each one is belongs to the window (ui/sound_files.h).
enum class Sound {
    ProgramStart,
    FieldsPlaced,
    Stripe,
    Square,
    BlockedField,
    HighscoreTable,
    GameOver,
};

}  // namespace kv
