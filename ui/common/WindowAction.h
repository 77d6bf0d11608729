#pragma once

#include <QKeySequence>
#include <QString>

class QAction;
class QObject;

namespace tarvin {

// An action of the main window. Its object name is how other parts and the
// tests find it; the category groups it as the action list does.
QAction* NewAction(QObject* owner, const char* name, const char* category, const QString& caption,
                   const QKeySequence& shortcut = {});

} // namespace tarvin
