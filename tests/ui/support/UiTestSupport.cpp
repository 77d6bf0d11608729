#include "UiTestSupport.h"

#include "document/Tarvin.h"
#include "tree/Errors.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <cstring>

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

namespace {

void Put16(QByteArray& b, int at, quint16 v) {
    std::memcpy(b.data() + at, &v, 2);
}
void Put32(QByteArray& b, int at, quint32 v) {
    std::memcpy(b.data() + at, &v, 4);
}
void Put64(QByteArray& b, int at, quint64 v) {
    std::memcpy(b.data() + at, &v, 8);
}
int Align(int v, int a) {
    return (v + a - 1) / a * a;
}

} // namespace

QByteArray MakeHostModule(const QByteArray& text, bool withResource) {
    // The resource section: type dir -> name dir -> language dir -> data.
    const QString name = withResource ? QStringLiteral("TARVIN") : QStringLiteral("OTHER");
    const int rva = 0x1000;
    QByteArray rsrc(0x58, '\0');
    auto directory = [&](int at, quint32 nameField, quint32 target) {
        Put16(rsrc, at + 12, (nameField & 0x80000000u) ? 1 : 0); // named entries
        Put16(rsrc, at + 14, (nameField & 0x80000000u) ? 0 : 1); // id entries
        Put32(rsrc, at + 16, nameField);
        Put32(rsrc, at + 20, target);
    };
    const int stringAt = 0x58;
    directory(0x00, 0x80000000u | stringAt, 0x80000000u | 0x18);
    directory(0x18, 0x80000000u | stringAt, 0x80000000u | 0x30);
    directory(0x30, 1033, 0x48);
    rsrc.append(char(name.size()));
    rsrc.append('\0');
    for (QChar c : name) {
        rsrc.append(char(c.unicode()));
        rsrc.append('\0');
    }
    rsrc.resize(Align(int(rsrc.size()), 8), '\0');
    const int dataAt = int(rsrc.size());
    rsrc.append(text);
    Put32(rsrc, 0x48, quint32(rva + dataAt));
    Put32(rsrc, 0x4C, quint32(text.size()));

    const int rawSize = Align(int(rsrc.size()), 0x200);
    QByteArray image(0x200, '\0');
    image[0] = 'M';
    image[1] = 'Z';
    Put32(image, 0x3C, 0x40);
    std::memcpy(image.data() + 0x40, "PE\0\0", 4);
    const int coff = 0x44;
    Put16(image, coff + 0, 0x8664);
    Put16(image, coff + 2, 1);
    Put16(image, coff + 16, 240);
    Put16(image, coff + 18, 0x0022);
    const int opt = coff + 20;
    Put16(image, opt + 0, 0x20B);
    Put32(image, opt + 8, quint32(rawSize));
    Put32(image, opt + 20, 0x1000);
    Put64(image, opt + 24, 0x140000000ull);
    Put32(image, opt + 32, 0x1000);
    Put32(image, opt + 36, 0x200);
    Put16(image, opt + 40, 6);
    Put16(image, opt + 48, 6);
    Put32(image, opt + 56, quint32(0x1000 + Align(int(rsrc.size()), 0x1000)));
    Put32(image, opt + 60, 0x200);
    Put16(image, opt + 68, 2);
    Put64(image, opt + 72, 0x100000);
    Put64(image, opt + 80, 0x1000);
    Put64(image, opt + 88, 0x100000);
    Put64(image, opt + 96, 0x1000);
    Put32(image, opt + 108, 16);
    Put32(image, opt + 112 + 2 * 8, quint32(rva));
    Put32(image, opt + 112 + 2 * 8 + 4, quint32(rsrc.size()));
    const int section = opt + 240;
    std::memcpy(image.data() + section, ".rsrc\0\0\0", 8);
    Put32(image, section + 8, quint32(rsrc.size()));
    Put32(image, section + 12, quint32(rva));
    Put32(image, section + 16, quint32(rawSize));
    Put32(image, section + 20, 0x200);
    Put32(image, section + 36, 0x40000040u);
    rsrc.resize(rawSize, '\0');
    return image + rsrc;
}

bool HostModulesReadable() {
    static const bool readable = [] {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("probe.exe"));
        WriteFile(path, MakeHostModule("A {\r\n}\r\n"));
        trvx::TTarvin probe;
        try {
            return probe.LoadFromModule(QFile::encodeName(path).toStdString()) &&
                   probe.Root().ChildCount() == 1;
        } catch (const std::exception&) {
            return false;
        }
    }();
    return readable;
}

bool ShowActive(QWidget& window) {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
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
