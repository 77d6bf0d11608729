// Renders the application icon at the fixed sizes of the hicolor theme, for
// desktops and menus that do not scale SVG icons themselves.
//   render_icon ICON.svg OUT_DIR SIZE...   writes OUT_DIR/SIZExSIZE/apps/NAME.png
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: render_icon ICON.svg OUT_DIR SIZE...\n");
        return 2;
    }
    QSvgRenderer svg(args[1]);
    if (!svg.isValid()) {
        std::fprintf(stderr, "render_icon: cannot read %s\n", qPrintable(args[1]));
        return 1;
    }
    const QString name = QFileInfo(args[1]).completeBaseName() + QStringLiteral(".png");
    for (qsizetype i = 3; i < args.size(); ++i) {
        const int size = args[i].toInt();
        if (size <= 0) {
            std::fprintf(stderr, "render_icon: bad size %s\n", qPrintable(args[i]));
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            svg.render(&painter);
        }
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(args[2]).arg(size);
        if (!QDir().mkpath(dir) || !image.save(dir + QLatin1Char('/') + name)) {
            std::fprintf(stderr, "render_icon: cannot write into %s\n", qPrintable(dir));
            return 1;
        }
    }
    return 0;
}
