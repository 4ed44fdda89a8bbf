#include "game/ui/widgets/field_drag_data.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QIODevice>

namespace kv {

namespace {
constexpr int kFieldCount = 81;
}

std::unique_ptr<QMimeData> makeFieldDragData(int sourceIndex)
{
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out << static_cast<qint64>(QCoreApplication::applicationPid()) << static_cast<qint32>(sourceIndex);
    auto data = std::make_unique<QMimeData>();
    data->setData(QString::fromLatin1(kFieldMimeType), payload);
    return data;
}

std::optional<int> readFieldDragData(const QMimeData* data)
{
    const QString type = QString::fromLatin1(kFieldMimeType);
    if (data == nullptr || !data->hasFormat(type))
        return std::nullopt;
    QByteArray payload = data->data(type);
    QDataStream in(&payload, QIODevice::ReadOnly);
    qint64 pid = 0;
    qint32 index = -1;
    in >> pid >> index;
    if (in.status() != QDataStream::Ok || !in.atEnd())
        return std::nullopt;
    if (pid != QCoreApplication::applicationPid())
        return std::nullopt;
    if (index < 0 || index >= kFieldCount)
        return std::nullopt;
    return index;
}

}  // namespace kv
