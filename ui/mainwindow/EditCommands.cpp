#include "ui/mainwindow/EditCommands.h"

namespace tarvin {

TValueEditCommand::TValueEditCommand(const QString& text, trvx::TTarvinItem& item, int index,
                                     std::string before, std::string after, TChanged changed)
    : QUndoCommand(text), m_item(item), m_index(index), m_before(std::move(before)),
      m_after(std::move(after)), m_changed(std::move(changed)) {}

void TValueEditCommand::undo() {
    Store(m_before);
}

void TValueEditCommand::redo() {
    Store(m_after);
}

void TValueEditCommand::Store(const std::string& text) {
    m_item.SetValue(m_index, text);
    const bool again = m_done;
    m_done = true;
    if (m_changed)
        m_changed(m_item, m_index, again);
}

} // namespace tarvin
