#pragma once

#include <QWidget>

class QTreeView;

namespace tarvin {

// A floating tool window around one flat list; it cannot be docked. Tells
// when it is shown or hidden, so a menu item can stay checked while it is
// visible.
class TUpdateListWindow : public QWidget {
    Q_OBJECT
public:
    TUpdateListWindow(const QString& title, QWidget* owner);
    QTreeView* Tree() const { return m_tree; }
    // True until the window was shown the first time.
    bool NeverShown() const { return m_neverShown; }

signals:
    void VisibilityChanged(bool visible);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QTreeView* m_tree;
    bool m_neverShown = true;
};

} // namespace tarvin
