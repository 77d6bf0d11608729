#include "ui/widgets/FindDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QShortcutEvent>
#include <QVBoxLayout>

namespace tarvin {

TFindDialog::TFindDialog(QWidget* owner) : QDialog(owner) {
    setWindowTitle(tr("Find"));
    setModal(false);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::CustomizeWindowHint);

    auto* label = new QLabel(tr("Fi&nd what:"), this);
    m_text = new QLineEdit(this);
    m_text->setObjectName("FindText");
    m_text->setMaxLength(MaxLength);
    m_text->setMinimumWidth(180);
    label->setBuddy(m_text);

    m_matchCaseBox = new QCheckBox(tr("Match &case"), this);
    m_matchCaseBox->setObjectName("MatchCase");

    auto* direction = new QGroupBox(tr("Direction"), this);
    m_upButton = new QRadioButton(tr("&Up"), direction);
    m_upButton->setObjectName("Up");
    m_downButton = new QRadioButton(tr("&Down"), direction);
    m_downButton->setObjectName("Down");
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(m_upButton);
    directionLayout->addWidget(m_downButton);

    m_findNextButton = new QPushButton(tr("&Find Next"), this);
    m_findNextButton->setObjectName("FindNext");
    m_findNextButton->setDefault(true);
    m_cancelButton = new QPushButton(tr("Cancel"), this);
    m_cancelButton->setObjectName("Cancel");

    auto* grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0);
    grid->addWidget(m_text, 0, 1, 1, 2);
    grid->addWidget(m_matchCaseBox, 1, 0, 1, 2, Qt::AlignLeft | Qt::AlignBottom);
    grid->addWidget(direction, 1, 2);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_findNextButton);
    buttons->addWidget(m_cancelButton);
    buttons->addStretch(1);
    grid->addLayout(buttons, 0, 3, 2, 1);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_text, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_findNextButton->setEnabled(!text.isEmpty()); });
    connect(m_findNextButton, &QPushButton::clicked, this, &TFindDialog::FindNextClicked);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    // F3 here searches with what the dialog shows, as its button does.
    connect(new QShortcut(QKeySequence(Qt::Key_F3), this), &QShortcut::activated, this,
            &TFindDialog::FindNextClicked);
    for (QAbstractButton* option :
         {static_cast<QAbstractButton*>(m_matchCaseBox), static_cast<QAbstractButton*>(m_upButton),
          static_cast<QAbstractButton*>(m_downButton)})
        option->installEventFilter(this);

    // At start: no text, match case off, down.
    m_downButton->setChecked(true);
    m_findNextButton->setEnabled(false);
}

bool TFindDialog::eventFilter(QObject* watched, QEvent* event) {
    // An option's accelerator takes effect at once, not after the button's
    // 100 ms click animation: Enter right after it must search with it.
    if (event->type() == QEvent::Shortcut && !static_cast<QShortcutEvent*>(event)->isAmbiguous()) {
        auto* option = static_cast<QAbstractButton*>(watched);
        option->setFocus(Qt::ShortcutFocusReason);
        option->click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TFindDialog::Execute() {
    // Reopened, it shows what it showed when closed, searched or not.
    if (!isVisible())
        show();
    raise();
    activateWindow();
    m_text->setFocus();
    m_text->selectAll();
}

void TFindDialog::FindNextClicked() {
    if (m_text->text().isEmpty())
        return;
    m_findText = m_text->text();
    m_matchCase = m_matchCaseBox->isChecked();
    m_down = m_downButton->isChecked();
    emit Find();
}

} // namespace tarvin
