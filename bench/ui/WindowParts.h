#pragma once

// The main window's parts as a user reaches them: by their object names.

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace tarvin::bench {

template <class T> T* Part(const QObject& window, const char* name) {
    T* part = window.findChild<T*>(QLatin1String(name));
    if (part == nullptr) {
        std::fprintf(stderr, "bench: the window has no %s\n", name);
        std::exit(1);
    }
    return part;
}

// Opens the find dialog with the find action and fills it in: text, down,
// letter case as asked. Returns its Find Next button, which searches from
// the selected node and value, as the user's click does.
inline QAbstractButton* PrepareSearch(QWidget& window, const char* findAction, const QString& text,
                                      bool ignoreCase) {
    Part<QAction>(window, findAction)->trigger();
    QWidget* dialog = Part<QWidget>(window, "FindDialog1");
    Part<QLineEdit>(*dialog, "FindText")->setText(text);
    Part<QCheckBox>(*dialog, "MatchCase")->setChecked(!ignoreCase);
    Part<QRadioButton>(*dialog, "Down")->setChecked(true);
    return Part<QAbstractButton>(*dialog, "FindNext");
}

} // namespace tarvin::bench
