#include "ui/common/ViewColors.h"

#include <QBrush>

namespace tarvin {

QVariant StateBrush(TUpdateState state) {
    switch (state) {
    case usAdded:
        return QBrush(AddedColor);
    case usRemoved:
        return QBrush(RemovedColor);
    default:
        return {};
    }
}

} // namespace tarvin
