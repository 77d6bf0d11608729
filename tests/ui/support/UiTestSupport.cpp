#include "UiTestSupport.h"

#include "tests/support/PeFixtures.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace tarvin::test {

QString SourcePath(const QString& relative) {
    return QStringLiteral(TARVIN_SOURCE_DIR "/") + relative;
}

void WhenModal(const std::function<void(QWidget*)>& steps) {
    QTimer::singleShot(0, [steps] {
        QWidget* modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        steps(modal);
        if (QApplication::activeModalWidget() == modal)
            QTest::keyClick(modal, Qt::Key_Escape);
    });
}

QByteArray Crlf(QByteArray text) {
    text.replace("\r\n", "\n");
    text.replace("\n", "\r\n");
    return text;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QString ModuleFixture(const QString& name) {
    return QString::fromStdString(trvx::test::PeFixture("gnu", name.toStdString()).string());
}

bool ShowActive(QWidget& window) {
    window.show();
    window.activateWindow();
    // The offscreen platform may call a window active that the application
    // does not: wait for the application's view, which shortcuts follow.
    return QTest::qWaitFor([&] { return QApplication::activeWindow() == &window; });
}

QAction* MenuAction(QMenu* menu, const QString& caption) {
    for (QAction* action : menu->actions()) {
        if (action->text() == caption)
            return action;
        if (action->menu())
            if (QAction* found = MenuAction(action->menu(), caption))
                return found;
    }
    return nullptr;
}

QStringList MenuCaptions(QMenu* menu) {
    QStringList captions;
    for (QAction* action : menu->actions())
        captions << (action->isSeparator() ? QStringLiteral("---") : action->text());
    return captions;
}

QStringList Outline(const QAbstractItemModel& model, const QModelIndex& parent) {
    QStringList lines;
    struct TLevel {
        QModelIndex Parent;
        int Row;
        int Depth;
    };
    std::vector<TLevel> stack{{parent, 0, 0}};
    while (!stack.empty()) {
        TLevel& top = stack.back();
        if (top.Row >= model.rowCount(top.Parent)) {
            stack.pop_back();
            continue;
        }
        const QModelIndex index = model.index(top.Row++, 0, top.Parent);
        lines << QString(top.Depth * 2, u' ') + index.data().toString();
        stack.push_back({index, 0, top.Depth + 1});
    }
    return lines;
}

QStringList ColumnTexts(const QAbstractItemModel& model, int column) {
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row)
        texts << model.index(row, column).data().toString();
    return texts;
}

QModelIndex FindRow(const QAbstractItemModel& model, const QString& caption,
                    const QModelIndex& parent) {
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        if (index.data().toString() == caption)
            return index;
        if (QModelIndex found = FindRow(model, caption, index); found.isValid())
            return found;
    }
    return {};
}

} // namespace tarvin::test
