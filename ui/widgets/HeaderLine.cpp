#include "ui/widgets/HeaderLine.h"

#include <QHBoxLayout>
#include <QLabel>

namespace tarvin {

void TPaintBox::paintEvent(QPaintEvent*) {
    emit Paint(this);
}

THeaderLine::THeaderLine(const QString& title, QWidget* parent)
    : QWidget(parent), m_left(new TPaintBox(this)), m_title(new QLabel(title, this)),
      m_right(new TPaintBox(this)) {
    setFixedHeight(20);
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    m_title->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    m_left->setFixedWidth(16);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_left);
    layout->addWidget(m_title);
    layout->addWidget(m_right, 1);
}

} // namespace tarvin
