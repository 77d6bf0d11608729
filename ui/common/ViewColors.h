#pragma once

#include "ui/common/NodeData.h"

#include <QColor>
#include <QVariant>

namespace tarvin {

// Backgrounds of rows that the last Update To added or found removed.
inline const QColor AddedColor{224, 255, 224};   // #E0FFE0
inline const QColor RemovedColor{255, 224, 224}; // #FFE0E0

// The background of a row in a given state; no value keeps the normal one.
QVariant StateBrush(TUpdateState state);

} // namespace tarvin
