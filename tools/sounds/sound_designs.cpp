#include "tools/sounds/sound_designs.h"

#include "tools/sounds/wav_encoder.h"

namespace kv::sounds {
namespace {

// Equal-tempered pitches in Hz.
constexpr double C3 = 130.81, G3 = 196.00;
constexpr double C4 = 261.63, D4 = 293.66, E4 = 329.63, G4 = 392.00;
constexpr double C5 = 523.25, E5 = 659.26, G5 = 783.99;
constexpr double C6 = 1046.50, D6 = 1174.66, E6 = 1318.51, G6 = 1567.98, C7 = 2093.00;

// Timbres: upper partials that die faster than the fundamental sound struck or plucked;
// partials that last as long sound blown.
const std::vector<Partial> kBell{{1, 1.0, 1}, {2, 0.30, 2}, {3, 0.12, 3}};
const std::vector<Partial> kPluck{{1, 1.0, 1}, {2, 0.40, 2}, {3, 0.15, 3}};
const std::vector<Partial> kBrass{{1, 1.0, 1}, {2, 0.6, 1}, {3, 0.4, 1.1}, {4, 0.25, 1.2}, {5, 0.12, 1.3}};
const std::vector<Partial> kWarm{{1, 1.0, 1}, {2, 0.35, 1.2}, {3, 0.10, 1.5}};
const std::vector<Partial> kDull{{1, 1.0, 1}, {2, 0.25, 2}, {3, 0.08, 3}};

constexpr double kPeak = 0.7;  // about -3 dB below full scale
constexpr double kFadeInS = 0.003;
constexpr double kFadeOutS = 0.008;

Note note(double startS, double lengthS, double hz, double gain, double attackS, double decayS,
          double releaseS, const std::vector<Partial>& timbre)
{
    return Note{startS, lengthS, hz, 0.0, gain, attackS, decayS, releaseS, timbre};
}

// A bell "ding-dong" a fourth upwards over a soft low note: friendly and unmistakably a start.
SoundDesign startChime()
{
    return {"sound1.wav",
            0.9,
            {note(0.00, 0.90, G5, 0.8, 0.004, 0.35, 0.04, kBell),
             note(0.18, 0.72, C6, 1.0, 0.004, 0.30, 0.04, kBell),
             note(0.00, 0.90, C5, 0.25, 0.030, 0.60, 0.04, kWarm)}};
}

// Played after nearly every move, so it is short and soft.
SoundDesign placementPluck()
{
    return {"sound2.wav", 0.15, {note(0.0, 0.15, D6, 1.0, 0.002, 0.045, 0.03, kPluck)}};
}

// C major rising to the octave; each note rings on, the earlier ones fading first.
SoundDesign stripeArpeggio()
{
    const double pitches[] = {C6, E6, G6, C7};
    SoundDesign design{"sound3.wav", 0.5, {}};
    for (int i = 0; i < 4; ++i) {
        const double start = 0.06 * i;
        design.notes.push_back(note(start, 0.5 - start, pitches[i], 0.7 + 0.1 * i, 0.003, 0.12, 0.03, kBell));
    }
    return design;
}

// Two pickup notes, then a held C major chord.
SoundDesign squareFanfare()
{
    return {"sound4.wav",
            1.0,
            {note(0.00, 0.10, G4, 0.8, 0.010, 1.0, 0.02, kBrass),
             note(0.09, 0.10, C5, 0.8, 0.010, 1.0, 0.02, kBrass),
             note(0.18, 0.82, C5, 0.8, 0.020, 1.2, 0.05, kBrass),
             note(0.18, 0.82, E5, 0.6, 0.020, 1.2, 0.05, kBrass),
             note(0.18, 0.82, G5, 0.6, 0.020, 1.2, 0.05, kBrass),
             note(0.18, 0.82, C6, 0.4, 0.020, 1.2, 0.05, kBrass)}};
}

// A low, dull knock that slides downwards, like something heavy settling.
SoundDesign blockedThud()
{
    Note thud = note(0.0, 0.4, 95.0, 1.0, 0.004, 0.15, 0.03, kDull);
    thud.endHz = 50.0;
    return {"sound5.wav", 0.4, {thud}};
}

// A bouncing little tune over a soft held note.
SoundDesign tableJingle()
{
    return {"sound6.wav",
            0.7,
            {note(0.00, 0.40, G5, 0.8, 0.003, 0.12, 0.05, kBell),
             note(0.10, 0.40, E6, 0.8, 0.003, 0.12, 0.05, kBell),
             note(0.20, 0.40, C6, 0.8, 0.003, 0.12, 0.05, kBell),
             note(0.30, 0.40, G6, 1.0, 0.003, 0.20, 0.04, kBell),
             note(0.00, 0.70, C5, 0.25, 0.030, 0.60, 0.04, kWarm)}};
}

// Stepping down to the tonic and coming to rest on a low chord; the notes overlap so the line
// never breaks off.
SoundDesign gameOverCadence()
{
    return {"sound7.wav",
            1.2,
            {note(0.00, 0.30, G4, 1.0, 0.020, 0.6, 0.06, kWarm),
             note(0.25, 0.30, E4, 1.0, 0.020, 0.6, 0.06, kWarm),
             note(0.50, 0.30, D4, 1.0, 0.020, 0.6, 0.06, kWarm),
             note(0.75, 0.45, C4, 1.0, 0.020, 0.6, 0.05, kWarm),
             note(0.75, 0.45, G3, 0.35, 0.030, 0.6, 0.05, kWarm),
             note(0.75, 0.45, C3, 0.5, 0.030, 0.6, 0.05, kWarm)}};
}

}  // namespace

std::vector<SoundDesign> gameSounds()
{
    return {startChime(),  placementPluck(), stripeArpeggio(), squareFanfare(),
            blockedThud(), tableJingle(),    gameOverCadence()};
}

std::vector<std::int16_t> renderSound(const SoundDesign& design)
{
    return finishMix(renderNotes(design.notes, design.lengthS, kSampleRate), kPeak, kFadeInS, kFadeOutS,
                     kSampleRate);
}

}  // namespace kv::sounds
