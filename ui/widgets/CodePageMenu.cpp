#include "ui/widgets/CodePageMenu.h"

#include <QActionGroup>

namespace tarvin {

TCodePageInUse CodePageInUse(const trvx::TTarvin& language) {
    return {language.GetCodePage().Id(),
            language.CodePageSource() == trvx::TTarvin::TCodePageSource::Override};
}

TCodePageMenu::TCodePageMenu(std::function<TCodePageInUse()> inUse, std::function<void(int)> choose,
                             QWidget* parent)
    : QMenu(QStringLiteral("Code page"), parent), m_inUse(std::move(inUse)) {
    setObjectName(QStringLiteral("mnuCodePage"));
    m_automatic = addAction(QStringLiteral("&Automatic"));
    m_automatic->setObjectName(QStringLiteral("actCodePageAutomatic"));
    m_automatic->setCheckable(true);
    connect(m_automatic, &QAction::triggered, this, [choose] { choose(0); });
    addSeparator();
    auto* group = new QActionGroup(this);
    for (const int id : trvx::CodePage::SupportedIds()) {
        const auto title = trvx::CodePage::Get(id).Title();
        QAction* page = addAction(QStringLiteral("%1 %2").arg(id).arg(
            QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size()))));
        page->setObjectName(QStringLiteral("actCodePage%1").arg(id));
        page->setCheckable(true);
        group->addAction(page);
        connect(page, &QAction::triggered, this, [choose, id] { choose(id); });
        m_pages.emplace_back(id, page);
    }
    connect(this, &QMenu::aboutToShow, this, &TCodePageMenu::UpdateChecks);
    UpdateChecks();
}

QAction* TCodePageMenu::PageAction(int id) const {
    for (const auto& [page, action] : m_pages)
        if (page == id)
            return action;
    return nullptr;
}

void TCodePageMenu::UpdateChecks() {
    const TCodePageInUse inUse = m_inUse();
    m_automatic->setChecked(!inUse.Chosen);
    for (const auto& [id, action] : m_pages)
        action->setChecked(id == inUse.Id);
}

int TakeCodePageOption(QStringList& arguments, QString& error) {
    const QString option = QStringLiteral("--codepage");
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString value;
        if (arguments[i] == option && i + 1 < arguments.size()) {
            value = arguments[i + 1];
            arguments.remove(i, 2);
        } else if (arguments[i].startsWith(option + QLatin1Char('='))) {
            value = arguments[i].mid(option.size() + 1);
            arguments.remove(i);
        } else if (arguments[i] == option) {
            arguments.remove(i);
        } else {
            continue;
        }
        bool ok = false;
        const int id = value.toInt(&ok);
        if (ok && trvx::CodePage::IsSupported(id))
            return id;
        QStringList pages;
        for (const int page : trvx::CodePage::SupportedIds())
            pages << QString::number(page);
        error = QStringLiteral("Code page \"%1\" is not supported; use one of %2.")
                    .arg(value, pages.join(QStringLiteral(", ")));
        return 0;
    }
    return 0;
}

} // namespace tarvin
