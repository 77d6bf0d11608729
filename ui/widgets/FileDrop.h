#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QMimeData;
class QWidget;

namespace tarvin {

// Lets a window take a language file or host module dropped onto it. The
// first local ".trvx" or ".exe" file of a drop goes to open; anything else
// is refused while it is dragged, so the pointer tells the user at once.
class TFileDrop : public QObject {
public:
    TFileDrop(QWidget* window, std::function<void(const QString&)> open);
    static QString DroppedFile(const QMimeData* data);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(const QString&)> m_open;
};

} // namespace tarvin
