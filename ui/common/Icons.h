#pragma once

#include <QIcon>

#include <array>
#include <map>
#include <utility>

namespace tarvin {

// Makes the icons compiled into this library reachable under ":/icons/".
void InitTarvinResources();

// The shared list of 18 small icons (see TImageIndex), plus the combined
// icons of contents rows, whose picture changes while the row is selected.
class TImageList {
public:
    TImageList();
    const QIcon& Icon(int index) const;
    // An icon showing normal, and selected while its row is selected.
    const QIcon& NodeIcon(int normal, int selected) const;

private:
    std::array<QIcon, 18> m_icons;
    mutable std::map<std::pair<int, int>, QIcon> m_nodeIcons;
};

// Resource path of a small icon, e.g. ":/icons/folder-closed.svg".
QString ImagePath(int index);

QIcon ApplicationIcon();

} // namespace tarvin
