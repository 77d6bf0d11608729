#pragma once

#include "update/UpdateLists.h"

#include <QByteArray>
#include <QModelIndex>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QAbstractItemModel;
class QAction;
class QMenu;
class QWidget;

namespace tarvin {
class TfrmMain;
}

namespace tarvin::test {

QString SourcePath(const QString& relative);
// LF line ends become CR LF, as language files have them.
QByteArray Crlf(QByteArray text);
void WriteFile(const QString& path, const QByteArray& bytes);
QByteArray ReadFile(const QString& path);

// A host module linked for the tests (see tests/fixtures/make_pe_fixtures.py),
// such as "example64.exe", which carries examples/Deutsch.trvx.
QString ModuleFixture(const QString& name);

// Runs steps on the modal dialog once it is up; a dialog left open is
// cancelled so that a failing step cannot hang the test.
void WhenModal(const std::function<void(QWidget*)>& steps);

// A window's part by its object name, as a user reaches it rather than by a
// field. A missing part is a broken window, not a reason to skip: stop at once.
template <class T> T* Part(const QObject& window, const char* name) {
    T* part = window.findChild<T*>(QString::fromLatin1(name));
    if (part == nullptr)
        qFatal("%s has no %s named %s", qPrintable(window.objectName()),
               T::staticMetaObject.className(), name);
    return part;
}

// Shows the window and makes it active, so that its shortcuts fire.
bool ShowActive(QWidget& window);
// The menu item with this caption, searched through submenus.
QAction* MenuAction(QMenu* menu, const QString& caption);
// Captions of a menu's items in order, "---" for a separator.
QStringList MenuCaptions(QMenu* menu);

// The contents tree in displayed pre-order, collapsed rows included:
// "caption" indented by two blanks a level.
QStringList Outline(const QAbstractItemModel& model, const QModelIndex& parent = {});
// One column's texts of a flat model.
QStringList ColumnTexts(const QAbstractItemModel& model, int column = 0);
// The display index of the first row whose text is caption, searched in pre-order.
QModelIndex FindRow(const QAbstractItemModel& model, const QString& caption,
                    const QModelIndex& parent = {});

// Marks as Update To would record them, whichever list type the core has.
template <class List, class Entry> void Append(List& list, const Entry& entry) {
    if constexpr (requires { list.Append(entry); })
        list.Append(entry);
    else
        list.push_back(entry);
}

} // namespace tarvin::test
