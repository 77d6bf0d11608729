#pragma once

#include "document/Tarvin.h"

#include <QMenu>
#include <QStringList>

#include <functional>
#include <vector>

namespace tarvin {

// The page a translation is shown in, and whether the user chose it.
struct TCodePageInUse {
    int Id = 1252;
    bool Chosen = false;
};
TCodePageInUse CodePageInUse(const trvx::TTarvin& language);

// Misc > "Code page": every page this build serves, the one in use checked,
// and "Automatic" for the one the file's LangID (or the locale) implies. A
// pick lasts for the run only.
class TCodePageMenu : public QMenu {
    Q_OBJECT
public:
    TCodePageMenu(std::function<TCodePageInUse()> inUse, std::function<void(int)> choose,
                  QWidget* parent = nullptr);

    QAction* AutomaticAction() const { return m_automatic; }
    QAction* PageAction(int id) const;

private:
    void UpdateChecks();

    std::function<TCodePageInUse()> m_inUse;
    QAction* m_automatic = nullptr;
    std::vector<std::pair<int, QAction*>> m_pages;
};

// Takes "--codepage N" (or "--codepage=N") out of a command line. The page,
// 0 without the option; error says why N is no page this build serves.
int TakeCodePageOption(QStringList& arguments, QString& error);

} // namespace tarvin
