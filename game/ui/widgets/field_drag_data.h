// What a dragged board field carries: its index, tagged with this process, under a private MIME
// type, so drops from other programs (or another running game) are refused.
#pragma once

#include <QMimeData>
#include <memory>
#include <optional>

namespace kv {

inline constexpr char kFieldMimeType[] = "application/x-karvelo-field";

std::unique_ptr<QMimeData> makeFieldDragData(int sourceIndex);

// The source index if `data` is a field drag of this process with an index 0..80.
std::optional<int> readFieldDragData(const QMimeData* data);

}  // namespace kv
