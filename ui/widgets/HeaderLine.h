#pragma once

#include <QWidget>

class QLabel;

namespace tarvin {

// A drawn part of a header line. It paints nothing itself: the owner draws
// it in its Paint handler, one handler for every such part.
class TPaintBox : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

signals:
    void Paint(TPaintBox* sender);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// "——— Title ——————": a 16-pixel drawn part, the bold title, and a drawn part
// that fills the rest of the width; 20 pixels high.
class THeaderLine : public QWidget {
    Q_OBJECT
public:
    THeaderLine(const QString& title, QWidget* parent = nullptr);
    TPaintBox* LeftBox() const { return m_left; }
    TPaintBox* RightBox() const { return m_right; }

private:
    TPaintBox* m_left;
    QLabel* m_title;
    TPaintBox* m_right;
};

} // namespace tarvin
