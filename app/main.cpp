// Tarvin: the translation editor.
#include "ui/common/Dialogs.h"
#include "ui/common/Icons.h"
#include "ui/mainwindow/untMain.h"

#include <QApplication>
#include <QMessageBox>

namespace {

// Errors that leave an event handler unguarded end here instead of ending
// the program: shown with their text, and the window goes on.
class TTarvinApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            Report(QString::fromLocal8Bit(e.what()));
        } catch (...) {
            Report(QStringLiteral("Unknown error"));
        }
        return false;
    }

private:
    void Report(const QString& text) {
        tarvin::TDialogs::Current().ShowMessage(activeWindow(), QMessageBox::Critical,
                                                QStringLiteral("Tarvin"), text);
    }
};

} // namespace

int main(int argc, char* argv[]) {
    TTarvinApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvin"));
    QApplication::setWindowIcon(tarvin::ApplicationIcon());

    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    tarvin::TfrmMain frmMain(arguments);
    frmMain.show();
    return QApplication::exec();
}
