#pragma once

#include "tree/TarvinItem.h"

#include <QUndoCommand>

#include <functional>
#include <string>

namespace tarvin {

// One accepted edit of a value, as a step of the undo stack. The stack must
// be cleared before the node can go (every change of the tree's shape does).
class TValueEditCommand : public QUndoCommand {
public:
    // Told after each store; again is false only for the first one.
    using TChanged = std::function<void(trvx::TTarvinItem& item, int index, bool again)>;

    TValueEditCommand(const QString& text, trvx::TTarvinItem& item, int index, std::string before,
                      std::string after, TChanged changed);
    void undo() override;
    void redo() override;

private:
    void Store(const std::string& text);

    trvx::TTarvinItem& m_item;
    int m_index;
    std::string m_before;
    std::string m_after;
    TChanged m_changed;
    bool m_done = false;
};

} // namespace tarvin
