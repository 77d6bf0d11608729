#include "ui/editors/EditorDialog.h"

#include "ui/common/Dialogs.h"
#include "ui/common/Icons.h"

#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QSvgRenderer>
#include <QVBoxLayout>

namespace tarvin {

namespace {

constexpr int kWidth = 300;
constexpr int kFontPointSize = 8;
constexpr int kBorder = 4;
constexpr int kIconSize = 32;
constexpr int kTextLeft = 40;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kButtonGap = 5;
constexpr int kBottomSpacer = 4;

QLabel* MakeLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

QPixmap DialogIcon(const QString& path, qreal devicePixelRatio) {
    const int side = qRound(kIconSize * devicePixelRatio);
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    InitTarvinResources();
    if (QFile::exists(path)) {
        QSvgRenderer renderer(path);
        QPainter painter(&pixmap);
        renderer.render(&painter);
    }
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

TEditorDialog::TEditorDialog(QWidget* owner, const TLook& look)
    : QDialog(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint) {
    setWindowTitle(look.Caption);
    // The editors are laid out for a small dialog font; the family stays the
    // platform's own.
    QFont dialogFont = font();
    dialogFont.setPointSize(kFontPointSize);
    setFont(dialogFont);
    setSizeGripEnabled(false);

    auto* panel1 = new QVBoxLayout(this);
    panel1->setObjectName("Panel1");
    panel1->setContentsMargins(kBorder, kBorder, kBorder, kBorder);
    panel1->setSpacing(0);
    m_body = panel1;

    // Header: the texts keep to the right of the icon and wrap rather than
    // being cut off when the platform's font is wider than the window.
    auto* panel2 = new QWidget(this);
    panel2->setObjectName("Panel2");
    auto* header = new QVBoxLayout(panel2);
    header->setContentsMargins(0, 0, 0, 3);
    header->setSpacing(4);
    auto* top = new QHBoxLayout;
    top->setSpacing(kTextLeft - kIconSize);
    auto* image1 = new QLabel(panel2);
    image1->setObjectName("Image1");
    image1->setFixedSize(kIconSize, kIconSize);
    image1->setPixmap(DialogIcon(look.IconPath, devicePixelRatioF()));
    top->addWidget(image1, 0, Qt::AlignTop);
    auto* titles = new QVBoxLayout;
    titles->setSpacing(3);
    auto* label2 = MakeLabel(look.Caption, panel2);
    label2->setObjectName("Label2");
    QFont bold = label2->font();
    bold.setBold(true);
    label2->setFont(bold);
    auto* label3 = MakeLabel(look.Description, panel2);
    label3->setObjectName("Label3");
    label3->setWordWrap(true);
    titles->addWidget(label2);
    titles->addWidget(label3);
    top->addLayout(titles, 1);
    header->addLayout(top);
    auto* label1 = MakeLabel(tr("Value:"), panel2);
    label1->setObjectName("Label1");
    QFont underlined = label1->font();
    underlined.setUnderline(true);
    label1->setFont(underlined);
    header->addWidget(label1);
    panel1->addWidget(panel2);

    m_bottom = new QWidget(this);
    m_bottom->setObjectName("Panel3");
    auto* bottom = new QHBoxLayout(m_bottom);
    bottom->setContentsMargins(0, kBottomSpacer, 0, 0);
    bottom->setSpacing(0);
    m_hint = MakeLabel(QString(), m_bottom);
    m_hint->setObjectName("Label4");
    m_hint->hide();
    bottom->addWidget(m_hint, 0, Qt::AlignLeft | Qt::AlignBottom);
    bottom->addStretch(1);
    m_ok = new QPushButton(tr("OK"), m_bottom);
    m_ok->setObjectName("Button3");
    m_ok->setFixedSize(kButtonWidth, kButtonHeight);
    m_ok->setDefault(true);
    bottom->addWidget(m_ok);
    bottom->addSpacing(kButtonGap);
    m_cancel = new QPushButton(tr("Cancel"), m_bottom);
    m_cancel->setObjectName("Button4");
    m_cancel->setFixedSize(kButtonWidth, kButtonHeight);
    bottom->addWidget(m_cancel);
    panel1->addWidget(m_bottom);

    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    resize(kWidth, look.Height);
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
}

void TEditorDialog::SetEditorControl(QWidget* control, bool stretch) {
    m_body->insertWidget(1, control, stretch ? 1 : 0);
    if (!stretch)
        m_body->insertStretch(2, 1);
}

void TEditorDialog::SetHint(const QString& text) {
    m_hint->setText(text);
    m_hint->show();
}

void TEditorDialog::WatchKeys(QWidget* control) {
    control->installEventFilter(this);
}

bool TEditorDialog::PreviewKey(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
        reject();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        m_ok->click();
        return true;
    default:
        return false;
    }
}

bool TEditorDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && PreviewKey(static_cast<QKeyEvent*>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

void TEditorDialog::done(int result) {
    if (result == QDialog::Accepted && m_acceptCheck) {
        const QString problem = m_acceptCheck();
        if (!problem.isEmpty()) {
            TDialogs::Current().ShowMessage(this, QMessageBox::Warning, QStringLiteral("Tarvin"),
                                            problem);
            return;
        }
    }
    QDialog::done(result);
}

} // namespace tarvin
