#include "ui/sound/sound_server_messages.h"

#include <QString>
#include <QtGlobal>
#include <cstring>
#include <mutex>

namespace kv {
namespace {

QtMessageHandler nextHandler = nullptr;

void withoutSoundServerWarnings(QtMsgType type, const QMessageLogContext& context,
                                const QString& message)
{
    const bool uncategorised = !context.category || std::strcmp(context.category, "default") == 0;
    if (type == QtWarningMsg && uncategorised && message.startsWith(QLatin1String("PulseAudioService: ")))
        return;
    nextHandler(type, context, message);
}

}  // namespace

void dropSoundServerWarnings()
{
    static std::once_flag installed;
    std::call_once(installed, [] { nextHandler = qInstallMessageHandler(withoutSoundServerWarnings); });
}

}  // namespace kv
