#include "ui/widgets/FileDrop.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace tarvin {

TFileDrop::TFileDrop(QWidget* window, std::function<void(const QString&)> open)
    : QObject(window), m_open(std::move(open)) {
    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

QString TFileDrop::DroppedFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls())
        return {};
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            continue;
        const QString suffix = QFileInfo(url.toLocalFile()).suffix();
        if (suffix.compare(QLatin1String("trvx"), Qt::CaseInsensitive) == 0 ||
            suffix.compare(QLatin1String("exe"), Qt::CaseInsensitive) == 0)
            return url.toLocalFile();
    }
    return {};
}

bool TFileDrop::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (DroppedFile(drag->mimeData()).isEmpty())
            drag->ignore();
        else
            drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString file = DroppedFile(drop->mimeData());
        if (file.isEmpty())
            return false;
        drop->acceptProposedAction();
        // After the drag has ended: the prompt and the load may open
        // windows of their own.
        QTimer::singleShot(0, this, [this, file] { m_open(file); });
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

} // namespace tarvin
