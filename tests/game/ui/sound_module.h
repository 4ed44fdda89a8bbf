// The game's sound module, loaded the way the player loads it, for the tests that drive its
// output directly. KV_SOUND_MODULE is the module's path in the build.
#pragma once

#include <QLibrary>

#include "game/ui/sound/sound_output.h"

namespace kv::test {

inline SoundOutputFactory soundModuleFactory()
{
    QLibrary module(QStringLiteral(KV_SOUND_MODULE));
    const auto factory = reinterpret_cast<SoundOutputFactory>(module.resolve(kSoundOutputFactoryName));
    if (factory == nullptr)
        qFatal("The sound module does not load: %s", qPrintable(module.errorString()));
    return factory;
}

}  // namespace kv::test
