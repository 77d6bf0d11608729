#include "ui/common/Icons.h"

#include <QString>

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitResourcesOnce() {
    Q_INIT_RESOURCE(resources);
}

namespace tarvin {

namespace {

constexpr std::array<const char*, 18> kImageNames = {
    "folder-closed", "folder-open", "action",   "button",       "checkbox",   "combobox",
    "edit",          "form",        "groupbox", "label",        "list",       "menu",
    "radiobutton",   "tab",         "toolbar",  "value-string", "value-list", "value-shortcut"};

const QIcon& EmptyIcon() {
    static const QIcon icon;
    return icon;
}

} // namespace

void InitTarvinResources() {
    static const bool done = (InitResourcesOnce(), true);
    (void)done;
}

QString ImagePath(int index) {
    return QStringLiteral(":/icons/%1.svg")
        .arg(QLatin1String(kImageNames.at(static_cast<size_t>(index))));
}

TImageList::TImageList() {
    InitTarvinResources();
    // A picture of its own for the selected state, so that selection does
    // not tint the icons.
    for (std::size_t i = 0; i < m_icons.size(); ++i) {
        const QString path = ImagePath(static_cast<int>(i));
        m_icons[i].addFile(path, QSize(), QIcon::Normal);
        m_icons[i].addFile(path, QSize(), QIcon::Selected);
    }
}

const QIcon& TImageList::Icon(int index) const {
    if (index < 0 || index >= static_cast<int>(m_icons.size()))
        return EmptyIcon();
    return m_icons[static_cast<size_t>(index)];
}

const QIcon& TImageList::NodeIcon(int normal, int selected) const {
    if (normal == selected)
        return Icon(normal);
    auto [it, inserted] = m_nodeIcons.try_emplace({normal, selected});
    if (inserted) {
        it->second.addFile(ImagePath(normal), QSize(), QIcon::Normal);
        it->second.addFile(ImagePath(selected), QSize(), QIcon::Selected);
    }
    return it->second;
}

QIcon ApplicationIcon() {
    InitTarvinResources();
    return QIcon(QStringLiteral(":/icons/tarvin.svg"));
}

} // namespace tarvin
