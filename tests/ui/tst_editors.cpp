#include "support/ScriptedDialogs.h"
#include "support/UiTestSupport.h"
#include "ui/common/TextCodec.h"
#include "ui/common/ViewRules.h"
#include "ui/editors/ValueEdit.h"
#include "ui/editors/untItemsEditor.h"
#include "ui/editors/untShortcutEditor.h"
#include "ui/editors/untStringEditor.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <optional>
#include <string>

using namespace tarvin;
using tarvin::test::Part;

namespace {

const trvx::CodePage& Cp1252() {
    return trvx::CodePage::Get(1252);
}

QWidget* Focused() {
    return QApplication::focusWidget();
}

void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = Focused();
    QVERIFY(target);
    QTest::keyClick(target, key, modifiers);
}

// Types text as key presses to the focused control, one character each,
// also for characters outside Latin-1.
void Type(const QString& text) {
    for (QChar c : text) {
        QWidget* target = Focused();
        QVERIFY(target);
        QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// Runs one edit of the given value; steps drive the modal dialog once it is
// up. A dialog the steps leave open is cancelled, so a failing step cannot
// hang the test.
template <class Dialog>
std::optional<TValueEditResult>
Edit(std::string_view ident, std::string_view text, const std::function<void(Dialog*)>& steps,
     const trvx::CodePage& codePage = Cp1252(), QWidget* owner = nullptr) {
    bool ran = false;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<Dialog*>(modal);
        if (!dialog) {
            if (modal)
                modal->close();
            return;
        }
        ran = true;
        [&] {
            QTRY_VERIFY(dialog->isActiveWindow());
            steps(dialog);
        }();
        if (dialog->isVisible())
            dialog->reject();
    });
    auto result = RunValueEditor(owner, codePage, ident, text);
    if (!ran)
        qWarning("the expected dialog did not open");
    return ran ? result : std::optional<TValueEditResult>{};
}

void ExpectStored(const std::optional<TValueEditResult>& result, const std::string& text,
                  const QString& display) {
    QVERIFY(result.has_value());
    QVERIFY2(result->Error.isEmpty(), qPrintable(result->Error));
    QCOMPARE(QByteArray::fromStdString(result->Text), QByteArray::fromStdString(text));
    QCOMPARE(DisplayValue(result->Text, Cp1252()), display);
}

const QString kMark = QStringLiteral(" \u00BB");

} // namespace

class TestEditors : public QObject {
    Q_OBJECT

private slots:
    void dialogsHaveTheirLook_data();
    void dialogsHaveTheirLook();
    void stringEditorKeys_data();
    void stringEditorKeys();
    void stringEditorCancels_data();
    void stringEditorCancels();
    void stringEditorTabMovesFocus();
    void itemsEditorLines_data();
    void itemsEditorLines();
    void itemsEditorEditsCellsInPlace();
    void itemsEditorCancels_data();
    void itemsEditorCancels();
    void itemsEditorNumbersAndWidths();
    void shortcutEditorValues_data();
    void shortcutEditorValues();
    void shortcutEditorTypeAhead();
    void shortcutEditorCancels_data();
    void shortcutEditorCancels();
    void refusesCharactersTheCodePageLacks_data();
    void refusesCharactersTheCodePageLacks();
    void encodingNamesTheCharacter_data();
    void encodingNamesTheCharacter();
    void dialogIsFreedAfterTheEdit();
};

void TestEditors::dialogsHaveTheirLook_data() {
    QTest::addColumn<QString>("ident");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("height");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("editor");
    QTest::newRow("string") << "Caption"
                            << "String Editor" << 180
                            << "Use the editor below to modify the current string:"
                            << "Memo1";
    QTest::newRow("items") << "Items"
                           << "Items Editor" << 280 << "Use the editor below to modify the items:"
                           << "StringGrid1";
    QTest::newRow("shortcut") << "Shortcut"
                              << "Shortcut Editor" << 146
                              << "Use the editor below to modify the current shortcut:"
                              << "ComboBox1";
}

void TestEditors::dialogsHaveTheirLook() {
    QFETCH(QString, ident);
    QFETCH(QString, caption);
    QFETCH(int, height);
    QFETCH(QString, description);
    QFETCH(QString, editor);
    bool checked = false;
    Edit<QDialog>(ident.toStdString(), "", [&](QDialog* dialog) {
        QCOMPARE(dialog->windowTitle(), caption);
        QCOMPARE(dialog->size(), QSize(300, height));
        const Qt::WindowFlags flags = dialog->windowFlags();
        QCOMPARE(flags & Qt::WindowType_Mask, Qt::Tool);
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(dialog->findChild<QLabel*>("Label2")->text(), caption);
        QVERIFY(dialog->findChild<QLabel*>("Label2")->font().bold());
        QCOMPARE(dialog->findChild<QLabel*>("Label3")->text(), description);
        QCOMPARE(dialog->findChild<QLabel*>("Label1")->text(), QStringLiteral("Value:"));
        QVERIFY(dialog->findChild<QLabel*>("Label1")->font().underline());
        QCOMPARE(dialog->findChild<QLabel*>("Image1")->size(), QSize(32, 32));
        auto* ok = dialog->findChild<QPushButton*>("Button3");
        auto* cancel = dialog->findChild<QPushButton*>("Button4");
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QCOMPARE(cancel->text(), QStringLiteral("Cancel"));
        QCOMPARE(ok->size(), QSize(75, 25));
        QCOMPARE(cancel->size(), QSize(75, 25));
        QVERIFY(ok->isDefault());
        // Right-aligned, 5 pixels apart, inside the 4-pixel border.
        QCOMPARE(cancel->mapTo(dialog, QPoint(75, 25)), QPoint(296, height - 4));
        QCOMPARE(cancel->mapTo(dialog, QPoint()).x() - ok->mapTo(dialog, QPoint()).x(), 80);
        auto* hint = dialog->findChild<QLabel*>("Label4");
        QCOMPARE(hint->isVisible(), ident == "Caption");
        if (ident == "Caption")
            QCOMPARE(hint->text(), QStringLiteral("Shift + Enter => Enter"));

        // Focus starts in the editor; Tab goes OK, Cancel, and back.
        QWidget* control = dialog->findChild<QWidget*>(editor);
        QVERIFY(control->isAncestorOf(Focused()) || control == Focused() ||
                Focused()->focusProxy() == control);
        Key(Qt::Key_Tab);
        QCOMPARE(Focused(), ok);
        Key(Qt::Key_Tab);
        QCOMPARE(Focused(), cancel);
        Key(Qt::Key_Tab);
        QVERIFY(control == Focused() || control->isAncestorOf(Focused()));
        checked = true;
    });
    QVERIFY(checked);
}

void TestEditors::stringEditorKeys_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<std::function<void()>>("keys");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("display");

    QTest::newRow("typing replaces the selected value")
        << QByteArray("Hello") << std::function<void()>([] {
               Type("Bye");
               Key(Qt::Key_Return);
           })
        << QByteArray("Bye") << "Bye";
    QTest::newRow("Shift+Enter breaks the line, Enter confirms")
        << QByteArray("a") << std::function<void()>([] {
               Key(Qt::Key_End, Qt::ControlModifier);
               Key(Qt::Key_Return, Qt::ShiftModifier);
               Type("b");
               Key(Qt::Key_Return);
           })
        << QByteArray("a\r\nb") << QString("a" + kMark);
    QTest::newRow("Ctrl+Enter confirms without a break")
        << QByteArray("abc") << std::function<void()>([] {
               Key(Qt::Key_End, Qt::ControlModifier);
               Key(Qt::Key_Return, Qt::ControlModifier);
           })
        << QByteArray("abc") << "abc";
    QTest::newRow("keypad Enter confirms") << QByteArray("abc") << std::function<void()>([] {
        Key(Qt::Key_Enter, Qt::KeypadModifier);
    }) << QByteArray("abc") << "abc";
    QTest::newRow("empty stays empty")
        << QByteArray() << std::function<void()>([] { Key(Qt::Key_Return); }) << QByteArray() << "";
    QTest::newRow("a break at the end counts as a second line")
        << QByteArray("end") << std::function<void()>([] {
               Key(Qt::Key_End, Qt::ControlModifier);
               Key(Qt::Key_Return, Qt::ShiftModifier);
               Key(Qt::Key_Return);
           })
        << QByteArray("end\r\n") << QString("end" + kMark);
    QTest::newRow("two lines keep their CR LF")
        << QByteArray("one\r\ntwo") << std::function<void()>([] { Key(Qt::Key_Return); })
        << QByteArray("one\r\ntwo") << QString("one" + kMark);
    QTest::newRow("lone LF and CR come back as CR LF")
        << QByteArray("a\nb\rc") << std::function<void()>([] { Key(Qt::Key_Return); })
        << QByteArray("a\r\nb\r\nc") << QString("a" + kMark);
    QTest::newRow("no-break space and 8-bit letters survive")
        << QByteArray("\xC4nderung\xA0\x80") << std::function<void()>([] { Key(Qt::Key_Return); })
        << QByteArray("\xC4nderung\xA0\x80") << QString::fromUtf8("Änderung\u00A0€");
}

void TestEditors::stringEditorKeys() {
    QFETCH(QByteArray, value);
    QFETCH(std::function<void()>, keys);
    QFETCH(QByteArray, stored);
    QFETCH(QString, display);
    auto result = Edit<TfrmStringEditor>("Caption", value.toStdString(), [&](TfrmStringEditor* d) {
        QCOMPARE(Part<QPlainTextEdit>(*d, "Memo1")->lineWrapMode(), QPlainTextEdit::NoWrap);
        QCOMPARE(Part<QPlainTextEdit>(*d, "Memo1")->textCursor().selectedText().size(),
                 Part<QPlainTextEdit>(*d, "Memo1")->document()->characterCount() - 1);
        keys();
    });
    ExpectStored(result, stored.toStdString(), display);
}

void TestEditors::stringEditorCancels_data() {
    QTest::addColumn<std::function<void(TfrmStringEditor*)>>("close");
    using Close = std::function<void(TfrmStringEditor*)>;
    QTest::newRow("Escape") << Close([](TfrmStringEditor*) { Key(Qt::Key_Escape); });
    QTest::newRow("Cancel") << Close([](TfrmStringEditor* d) { d->CancelButton()->click(); });
    QTest::newRow("close box") << Close([](TfrmStringEditor* d) { d->close(); });
}

void TestEditors::stringEditorCancels() {
    QFETCH(std::function<void(TfrmStringEditor*)>, close);
    bool closed = false;
    auto result = Edit<TfrmStringEditor>("Hint", "keep", [&](TfrmStringEditor* d) {
        Type("changed");
        QCOMPARE(d->Text(), QStringLiteral("changed"));
        close(d);
        closed = !d->isVisible();
    });
    QVERIFY(closed);
    QVERIFY(!result.has_value());
}

void TestEditors::stringEditorTabMovesFocus() {
    auto result = Edit<TfrmStringEditor>("Caption", "x", [](TfrmStringEditor* d) {
        Key(Qt::Key_End);
        Key(Qt::Key_Tab);
        QCOMPARE(Focused(), d->OkButton());
        QCOMPARE(d->Text(), QStringLiteral("x"));
        QCOMPARE(d->LineCount(), 1);
        d->SetText("first\r\nsecond\nthird");
        QCOMPARE(d->LineCount(), 3);
        QCOMPARE(d->FirstLine(), QStringLiteral("first"));
        Key(Qt::Key_Return);
    });
    ExpectStored(result, "first\r\nsecond\r\nthird", "first" + kMark);
}

void TestEditors::itemsEditorLines_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("display");
    QTest::newRow("empty is one empty line")
        << QByteArray() << QStringList{""} << QByteArray() << "";
    QTest::newRow("a break at the end adds an empty line")
        << QByteArray("a\r\n") << QStringList{"a", ""} << QByteArray("a\r\n")
        << QString("a" + kMark);
    QTest::newRow("lone LF") << QByteArray("a\nb") << QStringList{"a", "b"} << QByteArray("a\r\nb")
                             << QString("a" + kMark);
    QTest::newRow("lone CR") << QByteArray("a\rb\r") << QStringList{"a", "b", ""}
                             << QByteArray("a\r\nb\r\n") << QString("a" + kMark);
    QTest::newRow("one line") << QByteArray("abc") << QStringList{"abc"} << QByteArray("abc")
                              << "abc";
}

void TestEditors::itemsEditorLines() {
    QFETCH(QByteArray, value);
    QFETCH(QStringList, rows);
    QFETCH(QByteArray, stored);
    QFETCH(QString, display);
    auto result = Edit<TfrmItemsEditor>("Items", value.toStdString(), [&](TfrmItemsEditor* d) {
        QCOMPARE(d->Lines(), rows);
        Key(Qt::Key_Return);
    });
    ExpectStored(result, stored.toStdString(), display);
}

void TestEditors::itemsEditorEditsCellsInPlace() {
    auto result =
        Edit<TfrmItemsEditor>("Strings", "abc\r\nsecond\r\nthird", [](TfrmItemsEditor* d) {
            QTableWidget* grid = Part<QTableWidget>(*d, "StringGrid1");
            // The cell editor is open and takes the keys; the text arrives selected.
            QVERIFY(qobject_cast<QLineEdit*>(Focused()));
            Type("xyz");
            QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("xyz"));
            Key(Qt::Key_Down);
            QCOMPARE(grid->currentRow(), 1);
            QVERIFY(qobject_cast<QLineEdit*>(Focused()));
            Key(Qt::Key_Delete);
            QCOMPARE(grid->item(1, 0)->text(), QString());
            // Moving past the last row adds none.
            Key(Qt::Key_Down);
            Key(Qt::Key_Down);
            Key(Qt::Key_Down);
            QCOMPARE(grid->rowCount(), 3);
            QCOMPARE(grid->currentRow(), 2);
            // A pasted line break cannot split a row.
            auto* editor = qobject_cast<QLineEdit*>(Focused());
            QVERIFY(editor);
            editor->selectAll();
            editor->insert("x\ny");
            emit editor->textEdited(editor->text());
            QCOMPARE(grid->item(2, 0)->text(), QStringLiteral("x y"));
            Key(Qt::Key_Return);
        });
    ExpectStored(result, "xyz\r\n\r\nx y", "xyz" + kMark);
}

void TestEditors::itemsEditorCancels_data() {
    QTest::addColumn<std::function<void(TfrmItemsEditor*)>>("close");
    using Close = std::function<void(TfrmItemsEditor*)>;
    QTest::newRow("Escape") << Close([](TfrmItemsEditor*) { Key(Qt::Key_Escape); });
    QTest::newRow("Cancel") << Close([](TfrmItemsEditor* d) { d->CancelButton()->click(); });
    QTest::newRow("close box") << Close([](TfrmItemsEditor* d) { d->close(); });
}

void TestEditors::itemsEditorCancels() {
    QFETCH(std::function<void(TfrmItemsEditor*)>, close);
    auto result = Edit<TfrmItemsEditor>("Items", "one\r\ntwo", [&](TfrmItemsEditor* d) {
        Type("changed");
        QCOMPARE(d->Lines(), QStringList({"changed", "two"}));
        close(d);
    });
    QVERIFY(!result.has_value());
}

void TestEditors::itemsEditorNumbersAndWidths() {
    std::string twelve;
    for (int i = 1; i <= 12; ++i)
        twelve += (i > 1 ? "\r\n" : "") + std::to_string(i * 11);
    auto result = Edit<TfrmItemsEditor>("Items", twelve, [](TfrmItemsEditor* d) {
        QTableWidget* grid = Part<QTableWidget>(*d, "StringGrid1");
        QHeaderView* numbers = grid->verticalHeader();
        QCOMPARE(grid->rowCount(), 12);
        for (int row = 0; row < 12; ++row) {
            QCOMPARE(grid->model()->headerData(row, Qt::Vertical).toString(),
                     QString::number(row + 1));
            QCOMPARE(grid->rowHeight(row), 21);
        }
        QCOMPARE(numbers->width(), QFontMetrics(numbers->font()).horizontalAdvance("12") + 4);
        QCOMPARE(grid->columnWidth(0), grid->viewport()->width());
        QVERIFY(!grid->showGrid());

        const int before = grid->columnWidth(0);
        d->resize(d->width() + 120, d->height());
        QTRY_COMPARE(grid->columnWidth(0), before + 120);
        QCOMPARE(grid->columnWidth(0), grid->viewport()->width());
        d->resize(d->width() - 60, d->height());
        QTRY_COMPARE(grid->columnWidth(0), before + 60);
        Key(Qt::Key_Return);
    });
    ExpectStored(result, twelve, "11" + kMark);
}

void TestEditors::shortcutEditorValues_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QByteArray>("stored");
    QTest::newRow("empty selects (None) and stays empty")
        << QByteArray() << 0 << "(None)" << QByteArray();
    QTest::newRow("a list entry is selected")
        << QByteArray("Ctrl+Alt+A") << 27 << "Ctrl+Alt+A" << QByteArray("Ctrl+Alt+A");
    QTest::newRow("a shortcut not in the list is kept")
        << QByteArray("Ctrl+Shift+K") << -1 << "Ctrl+Shift+K" << QByteArray("Ctrl+Shift+K");
    QTest::newRow("the typed case is kept")
        << QByteArray("ctrl+a") << -1 << "ctrl+a" << QByteArray("ctrl+a");
    QTest::newRow("Alt+Ctrl+A is no entry but a shortcut")
        << QByteArray("Alt+Ctrl+A") << -1 << "Alt+Ctrl+A" << QByteArray("Alt+Ctrl+A");
    // A text the table cannot read is the file's own: OK alone keeps it.
    QTest::newRow("an untouched bare modifier is kept")
        << QByteArray("Ctrl+") << -1 << "Ctrl+" << QByteArray("Ctrl+");
    QTest::newRow("an untouched other text is kept")
        << QByteArray("Strg+Z") << -1 << "Strg+Z" << QByteArray("Strg+Z");
}

void TestEditors::shortcutEditorValues() {
    QFETCH(QByteArray, value);
    QFETCH(int, selected);
    QFETCH(QString, shown);
    QFETCH(QByteArray, stored);
    auto result =
        Edit<TfrmShortcutEditor>("Shortcut", value.toStdString(), [&](TfrmShortcutEditor* d) {
            QCOMPARE(Part<QComboBox>(*d, "ComboBox1")->count(), 109);
            QCOMPARE(Part<QComboBox>(*d, "ComboBox1")->maxVisibleItems(), 16);
            QCOMPARE(d->SelectedIndex(), selected);
            QCOMPARE(d->Text(), shown);
            Key(Qt::Key_Return);
            QCOMPARE(Part<QComboBox>(*d, "ComboBox1")->count(), 109);
        });
    ExpectStored(result, stored.toStdString(), QString::fromLatin1(stored));
}

void TestEditors::shortcutEditorTypeAhead() {
    struct Step {
        std::function<void()> keys;
        QString text;
        QString selected;
        int entry;
    };
    const Step steps[] = {
        // The whole text arrives selected, so the first key replaces it.
        {[] { Type("c"); }, "ctrl+A", "trl+A", 1},
        {[] { Type("TRL+"); }, "cTRL+A", "A", 1},
        {[] { Type("s"); }, "cTRL+s", "", 19},
        {[] { Type("h"); }, "cTRL+sh", "", -1},
        {[] { Key(Qt::Key_Backspace); }, "cTRL+s", "", -1},
        {[] { Key(Qt::Key_Backspace); }, "cTRL+", "", -1},
        {[] { Type("al"); }, "cTRL+alt+A", "t+A", 27},
        {[] { Key(Qt::Key_Backspace); }, "cTRL+al", "", -1},
        {[] {
             Key(Qt::Key_Left);
             Key(Qt::Key_Left);
             Type("x");
         },
         "cTRL+xal", "", -1},
        {[] {
             Key(Qt::Key_A, Qt::ControlModifier);
             Type("f1");
         },
         "f1", "", 53},
        {[] { Type("2"); }, "f12", "", 64},
        {[] {
             Key(Qt::Key_A, Qt::ControlModifier);
             Type("shift+c");
         },
         "shift+ctrl+F1", "trl+F1", 89},
        {[] {
             Key(Qt::Key_A, Qt::ControlModifier);
             Type("^");
         },
         "^", "", -1},
        {[] { Type("a"); }, "^a", "", -1},
    };
    auto result = Edit<TfrmShortcutEditor>("Shortcut", "", [&](TfrmShortcutEditor* d) {
        QLineEdit* field = Part<QComboBox>(*d, "ComboBox1")->lineEdit();
        QCOMPARE(field->selectedText(), QStringLiteral("(None)"));
        int i = 0;
        for (const Step& step : steps) {
            step.keys();
            QCOMPARE(field->text(), step.text);
            QVERIFY2(field->selectedText() == step.selected, qPrintable(QString::number(i)));
            QVERIFY2(d->SelectedIndex() == step.entry, qPrintable(QString::number(i)));
            ++i;
        }
        QCOMPARE(Part<QComboBox>(*d, "ComboBox1")->count(), 109);
        Key(Qt::Key_Return);
    });
    ExpectStored(result, "^a", "^a");
}

void TestEditors::shortcutEditorCancels_data() {
    QTest::addColumn<std::function<void(TfrmShortcutEditor*)>>("close");
    using Close = std::function<void(TfrmShortcutEditor*)>;
    QTest::newRow("Escape") << Close([](TfrmShortcutEditor*) { Key(Qt::Key_Escape); });
    QTest::newRow("Cancel") << Close([](TfrmShortcutEditor* d) { d->CancelButton()->click(); });
    QTest::newRow("close box") << Close([](TfrmShortcutEditor* d) { d->close(); });
}

void TestEditors::shortcutEditorCancels() {
    QFETCH(std::function<void(TfrmShortcutEditor*)>, close);
    auto result = Edit<TfrmShortcutEditor>("Shortcut", "Ctrl+S", [&](TfrmShortcutEditor* d) {
        Type("f5");
        QCOMPARE(d->Text(), QStringLiteral("f5"));
        close(d);
    });
    QVERIFY(!result.has_value());
}

void TestEditors::refusesCharactersTheCodePageLacks_data() {
    QTest::addColumn<QString>("ident");
    QTest::addColumn<int>("codePage");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("error");
    const QString cyrillic =
        QStringLiteral("The character \"Ж\" (U+0416) cannot be stored in this file's code page "
                       "(windows-1252).");
    QTest::newRow("string") << "Caption" << 1252 << "Жar" << QByteArray() << cyrillic;
    QTest::newRow("items") << "Items" << 1252 << "Ж" << QByteArray() << cyrillic;
    QTest::newRow("shortcut") << "Shortcut" << 1252 << "Ctrl+Ж" << QByteArray() << cyrillic;
    QTest::newRow("the file's own page holds it") << "Caption" << 1251 << "Жar"
                                                  << QByteArray("\xC6"
                                                                "ar")
                                                  << QString();
    QTest::newRow("euro sign in 1252")
        << "Caption" << 1252 << "€" << QByteArray("\x80") << QString();
    QTest::newRow("Japanese in 932, trail byte A")
        << "Caption" << 932 << "開くア" << QByteArray("\x8A\x4A\x82\xAD\x83\x41") << QString();
    QTest::newRow("Korean lines in 949")
        << "Items" << 949 << "열기" << QByteArray("\xBF\xAD\xB1\xE2") << QString();
    QTest::newRow("a byte 1253 leaves undefined is no letter")
        << "Caption" << 1253 << "Ò" << QByteArray()
        << QStringLiteral("The character \"Ò\" (U+00D2) cannot be stored in this file's code page "
                          "(windows-1253).");
}

// A character the code page lacks is refused on OK with the dialog still
// open, so nothing typed is lost; Cancel then leaves the value alone.
void TestEditors::refusesCharactersTheCodePageLacks() {
    QFETCH(QString, ident);
    QFETCH(int, codePage);
    QFETCH(QString, typed);
    QFETCH(QByteArray, stored);
    QFETCH(QString, error);
    test::TScriptedDialogs dialogs;
    bool stayedOpen = false;
    auto result = Edit<QDialog>(
        ident.toStdString(), "",
        [&](QDialog* dialog) {
            Type(typed);
            Key(Qt::Key_Return);
            stayedOpen = dialog->isVisible();
        },
        trvx::CodePage::Get(codePage));
    if (error.isEmpty()) {
        QVERIFY(result.has_value());
        QVERIFY(result->Error.isEmpty());
        QCOMPARE(QByteArray::fromStdString(result->Text), stored);
        QVERIFY(dialogs.Messages.empty());
    } else {
        QVERIFY(stayedOpen);
        QVERIFY(!result.has_value());
        QCOMPARE(dialogs.MessageTexts(), QStringList{error});
        QCOMPARE(dialogs.Messages.front().Icon, QMessageBox::Warning);
    }
}

void TestEditors::encodingNamesTheCharacter_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("error");
    QTest::newRow("emoji") << QString::fromUtf8("ok 😀")
                           << "The character \"😀\" (U+1F600) cannot be stored in this file's "
                              "code page (windows-1252).";
    QTest::newRow("invisible") << QString::fromUtf8("a\u200Bb")
                               << "The character U+200B cannot be stored in this file's code "
                                  "page (windows-1252).";
    QTest::newRow("all fine") << QString::fromUtf8("Grüße € …") << QString();
}

void TestEditors::encodingNamesTheCharacter() {
    QFETCH(QString, text);
    QFETCH(QString, error);
    TEncodedText encoded = EncodeValueText(Cp1252(), text);
    QCOMPARE(encoded.Error, error);
    if (error.isEmpty())
        QCOMPARE(DecodeText(encoded.Bytes, Cp1252()), text);
    else
        QVERIFY(encoded.Bytes.empty());
}

void TestEditors::dialogIsFreedAfterTheEdit() {
    QWidget owner;
    for (const char* ident : {"Caption", "Items", "Shortcut"}) {
        auto result = Edit<QDialog>(
            ident, "", [&](QDialog* d) { QCOMPARE(d->parentWidget(), &owner); }, Cp1252(), &owner);
        QVERIFY(!result.has_value());
        QCOMPARE(owner.findChildren<QDialog*>().size(), 0);
    }
}

QTEST_MAIN(TestEditors)
#include "tst_editors.moc"
