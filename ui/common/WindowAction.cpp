#include "ui/common/WindowAction.h"

#include <QAction>

namespace tarvin {

QAction* NewAction(QObject* owner, const char* name, const char* category, const QString& caption,
                   const QKeySequence& shortcut) {
    auto* action = new QAction(caption, owner);
    action->setObjectName(QString::fromLatin1(name));
    action->setProperty("Category", QString::fromLatin1(category));
    action->setShortcut(shortcut);
    return action;
}

} // namespace tarvin
