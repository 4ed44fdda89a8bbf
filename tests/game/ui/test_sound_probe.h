// A stand-in sound module for the player tests: it plays nothing, finishes each sound after the
// sound's length and tells the test what it was asked to do.
#pragma once

#include <QtGlobal>

#include "game/ui/wav_file.h"

namespace kv::probe {

// A sound at this rate is never finished by the probe, as by a stalled audio device.
inline constexpr int kStallingSampleRate = 8001;

struct Record {
    int created = 0;  // outputs made by the factory
    int played = 0;
    int finished = 0;                 // sounds whose end was reported
    const void* createdOn = nullptr;  // the thread that made the last output
    PcmFormat lastFormat;
    qsizetype lastSampleBytes = 0;
};

using RecordFunction = Record (*)();
inline constexpr char kRecordFunctionName[] = "kv_probe_record";

}  // namespace kv::probe
