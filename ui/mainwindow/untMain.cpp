#include "ui/mainwindow/untMain.h"

#include "ui/common/Dialogs.h"
#include "ui/common/WindowAction.h"
#include "ui/mainwindow/ExchangeActions.h"
#include "ui/models/ContentsModel.h"
#include "ui/models/ReferenceText.h"
#include "ui/models/UpdateModel.h"
#include "ui/models/ValuesModel.h"
#include "ui/widgets/CodePageMenu.h"
#include "ui/widgets/ContentsTree.h"
#include "ui/widgets/HeaderLine.h"
#include "ui/widgets/UpdateListWindow.h"

#include <QAbstractEventDispatcher>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QTreeView>
#include <QUndoStack>
#include <QVBoxLayout>

namespace tarvin {

TfrmMain::TfrmMain(const QStringList& arguments, QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Tarvin"));
    setWindowIcon(ApplicationIcon());
    resize(580, 380);

    CreateActions();
    CreateMenus();
    InstallExchangeActions(*this);
    CreateLayout();
    CreateToolWindows();
    ConnectViews();
    CreateWorkbench();

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    btnOpen->setFocus();

    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &TfrmMain::UpdateActions);
    UpdateActions();

    QStringList files = arguments;
    QString codePageError;
    CurrentLanguage.SetCodePageOverride(TakeCodePageOption(files, codePageError));
    m_codePage = &CurrentLanguage.GetCodePage();
    if (!codePageError.isEmpty())
        TDialogs::Current().ShowMessage(this, QMessageBox::Critical, QStringLiteral("Tarvin"),
                                        codePageError);
    if (!files.isEmpty())
        Guarded([&] { OpenFile(files.first()); });
}

TfrmMain::~TfrmMain() {
    // Nothing may reach the tree while the window comes apart, and the views
    // point into it: let them go before it does.
    disconnect(QAbstractEventDispatcher::instance(), nullptr, this, nullptr);
    for (QTreeView* view : {VSTree1, VSView1, AddedTree, RemovedTree})
        view->selectionModel()->disconnect(this);
    DetachWorkbench();
    ContentsModel->Clear();
    ValuesModel->Clear();
    AddedModel->Clear();
    RemovedModel->Clear();
    UpdateLists.ClearUpdateLists();
}

void TfrmMain::Connect(QAction* action, void (TfrmMain::*handler)()) {
    connect(action, &QAction::triggered, this,
            [this, handler] { Guarded([&] { (this->*handler)(); }); });
}

void TfrmMain::CreateActions() {
    actOpen = NewAction(this, "actOpen", "1. File", QStringLiteral("&Open..."),
                        QKeySequence(Qt::CTRL | Qt::Key_O));
    actEdit = NewAction(this, "actEdit", "1. File", QStringLiteral("&Edit"),
                        QKeySequence(Qt::CTRL | Qt::Key_E));
    actSave = NewAction(this, "actSave", "1. File", QStringLiteral("&Save..."),
                        QKeySequence(Qt::CTRL | Qt::Key_S));
    actExit = NewAction(this, "actExit", "1. File", QStringLiteral("&Exit"),
                        QKeySequence(Qt::ALT | Qt::Key_F4));
    actAutoExpand = NewAction(this, "actAutoExpand", "3. Misc", QStringLiteral("AutoExpand"));
    actCollapseAll = NewAction(this, "actCollapseAll", "3. Misc", QStringLiteral("Collapse All"));
    actExpandAll = NewAction(this, "actExpandAll", "3. Misc", QStringLiteral("Expand All"));
    actUpdateTo = NewAction(this, "actUpdateTo", "1. File", QStringLiteral("Update To..."),
                            QKeySequence(Qt::CTRL | Qt::Key_U));
    actSortByType = NewAction(this, "actSortByType", "4. Update", QStringLiteral("Sort by &Type"));
    actSortByIdent =
        NewAction(this, "actSortByIdent", "4. Update", QStringLiteral("Sort by &Ident"));
    actSortDescending =
        NewAction(this, "actSortDescending", "4. Update", QStringLiteral("&Descending"));
    actFindValue = NewAction(this, "actFindValue", "2. Search", QStringLiteral("Find &Value"),
                             QKeySequence(Qt::CTRL | Qt::Key_F));
    actFindValueIdent =
        NewAction(this, "actFindValueIdent", "2. Search", QStringLiteral("Find Value I&dent"),
                  QKeySequence(Qt::CTRL | Qt::Key_I));
    actFindItem = NewAction(this, "actFindItem", "2. Search", QStringLiteral("Find &Item"),
                            QKeySequence(Qt::CTRL | Qt::Key_C));
    actFindNext = NewAction(this, "actFindNext", "2. Search", QStringLiteral("Find &Next"),
                            QKeySequence(Qt::Key_F3));

    actAutoExpand->setCheckable(true);
    actAutoExpand->setChecked(true);
    actSortByType->setCheckable(true);
    actSortByIdent->setCheckable(true);
    actSortDescending->setCheckable(true);
    actSortByType->setChecked(true);
    auto* sortGroup = new QActionGroup(this);
    sortGroup->setExclusive(true);
    sortGroup->addAction(actSortByType);
    sortGroup->addAction(actSortByIdent);

    // The search reads its kind from the tag of the action that started it.
    actFindItem->setData(int(skItem));
    actFindValue->setData(int(skValue));
    actFindValueIdent->setData(int(skValueIdent));

    Connect(actOpen, &TfrmMain::actOpenExecute);
    Connect(actEdit, &TfrmMain::actEditExecute);
    Connect(actSave, &TfrmMain::actSaveExecute);
    // "&Exit" closes the window the way its close box does.
    connect(actExit, &QAction::triggered, this, &QWidget::close);
    Connect(actAutoExpand, &TfrmMain::actAutoExpandExecute);
    Connect(actCollapseAll, &TfrmMain::actCollapseAllExecute);
    Connect(actExpandAll, &TfrmMain::actExpandAllExecute);
    Connect(actUpdateTo, &TfrmMain::actUpdateToExecute);
    Connect(actSortByType, &TfrmMain::actSortByTypeExecute);
    Connect(actSortByIdent, &TfrmMain::actSortByTypeExecute);
    Connect(actSortDescending, &TfrmMain::actSortDescendingExecute);
    for (QAction* find : {actFindValue, actFindValueIdent, actFindItem})
        connect(find, &QAction::triggered, this,
                [this, find] { Guarded([&] { actFindExecute(find); }); });
    Connect(actFindNext, &TfrmMain::actFindNextExecute);

    miAddedList = new QAction(QStringLiteral("&Added List"), this);
    miRemovedList = new QAction(QStringLiteral("&Removed List"), this);
    miAddedList->setObjectName(QStringLiteral("miAddedList"));
    miRemovedList->setObjectName(QStringLiteral("miRemovedList"));
    miAddedList->setCheckable(true);
    miRemovedList->setCheckable(true);

    // Shortcuts work anywhere in the window, whether or not a menu shows them.
    addActions({actOpen, actEdit, actSave, actExit, actAutoExpand, actCollapseAll, actExpandAll,
                actUpdateTo, actSortByType, actSortByIdent, actSortDescending, actFindValue,
                actFindValueIdent, actFindItem, actFindNext});
}

void TfrmMain::CreateMenus() {
    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile->addActions({actOpen, actSave});
    mnuFile->addSeparator();
    mnuFile->addAction(actUpdateTo);
    mnuFile->addSeparator();
    mnuFile->addAction(actExit);

    mnuSearch = menuBar()->addMenu(QStringLiteral("&Search"));
    mnuSearch->addActions({actFindValue, actFindValueIdent, actFindItem});
    mnuSearch->addSeparator();
    mnuSearch->addAction(actFindNext);

    mnuMisc = menuBar()->addMenu(QStringLiteral("&Misc"));
    mnuMisc->addAction(actAutoExpand);
    mnuMisc->addSeparator();
    mnuMisc->addActions({actExpandAll, actCollapseAll});
    mnuMisc->addSeparator();
    mnuCodePage =
        new TCodePageMenu([this] { return CodePageInUse(CurrentLanguage); },
                          [this](int id) { Guarded([&] { ChangeCodePage(id); }); }, mnuMisc);
    mnuMisc->addMenu(mnuCodePage);

    mnuUpdate = menuBar()->addMenu(QStringLiteral("&Update"));
    mnuUpdate->addActions({miAddedList, miRemovedList});
    mnuUpdate->addSeparator();
    mnuSort = mnuUpdate->addMenu(QStringLiteral("&Sort"));
    mnuSort->addActions({actSortByType, actSortByIdent});
    mnuSort->addSeparator();
    mnuSort->addAction(actSortDescending);

    for (auto [menu, name] : {std::pair{mnuFile, "mnuFile"},
                              {mnuSearch, "mnuSearch"},
                              {mnuMisc, "mnuMisc"},
                              {mnuUpdate, "mnuUpdate"},
                              {mnuSort, "mnuSort"}})
        menu->setObjectName(QString::fromLatin1(name));
}

void TfrmMain::CreateLayout() {
    auto* central = new QWidget(this);
    auto* outer = new QHBoxLayout(central);
    outer->setContentsMargins(4, 4, 4, 4);
    auto* splitter = new QSplitter(Qt::Horizontal, central);
    splitter->setHandleWidth(8);
    splitter->setChildrenCollapsible(false);
    splitter->setOpaqueResize(true);
    outer->addWidget(splitter);

    auto* left = new QWidget(splitter);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->setSpacing(0);
    auto* contentsHeader = new THeaderLine(QStringLiteral("Contents"), left);
    auto* tree = new TContentsTree(left);
    VSTree1 = tree;
    VSTree1->setObjectName(QStringLiteral("VSTree1"));
    leftLayout->addWidget(contentsHeader);
    leftLayout->addWidget(VSTree1, 1);

    auto* right = new QWidget(splitter);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(0);
    auto* valuesHeader = new THeaderLine(QStringLiteral("Values"), right);
    VSView1 = new QTreeView(right);
    VSView1->setObjectName(QStringLiteral("VSView1"));
    rightLayout->addWidget(valuesHeader);
    rightLayout->addWidget(VSView1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 8, 0, 0); // the 4-pixel gap, then the row's own 4 pixels
    buttons->setSpacing(5);
    buttons->addStretch(1);
    btnEdit = new QPushButton(right);
    btnOpen = new QPushButton(right);
    btnUpdateTo = new QPushButton(right);
    btnSave = new QPushButton(right);
    const std::pair<QPushButton*, QAction*> bindings[] = {
        {btnEdit, actEdit}, {btnOpen, actOpen}, {btnUpdateTo, actUpdateTo}, {btnSave, actSave}};
    for (auto [button, action] : bindings) {
        button->setText(action->text());
        button->setMinimumSize(75, 25);
        button->setFixedHeight(25);
        // A focused button takes Enter for itself, as the default button does.
        button->setAutoDefault(true);
        connect(button, &QPushButton::clicked, action, &QAction::trigger);
        connect(action, &QAction::changed, button,
                [button, action] { button->setEnabled(action->isEnabled()); });
        buttons->addWidget(button);
    }
    btnEdit->setObjectName(QStringLiteral("btnEdit"));
    btnOpen->setObjectName(QStringLiteral("btnOpen"));
    btnUpdateTo->setObjectName(QStringLiteral("btnUpdateTo"));
    btnSave->setObjectName(QStringLiteral("btnSave"));
    btnEdit->setDefault(true);
    // Alt+S opens the Search menu; the button saves with Ctrl+S.
    btnSave->setShortcut(QKeySequence());
    rightLayout->addLayout(buttons);

    splitter->addWidget(left);
    splitter->addWidget(right);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({200, 360});
    setCentralWidget(central);

    for (TPaintBox* box : {contentsHeader->LeftBox(), contentsHeader->RightBox(),
                           valuesHeader->LeftBox(), valuesHeader->RightBox()})
        connect(box, &TPaintBox::Paint, this, &TfrmMain::PaintBox1Paint);

    ContentsModel = new TContentsModel(Images, this);
    VSTree1->setModel(ContentsModel);
    VSTree1->setHeaderHidden(true);
    VSTree1->setRootIsDecorated(true);
    VSTree1->setAnimated(true);
    VSTree1->setUniformRowHeights(true);
    VSTree1->setSelectionMode(QAbstractItemView::SingleSelection);
    VSTree1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    VSTree1->setContextMenuPolicy(Qt::CustomContextMenu);

    ValuesModel = new TValuesModel(this);
    VSView1->setModel(ValuesModel);
    VSView1->setRootIsDecorated(false);
    VSView1->setItemsExpandable(false);
    VSView1->setUniformRowHeights(true);
    VSView1->setAllColumnsShowFocus(true);
    VSView1->setSelectionMode(QAbstractItemView::SingleSelection);
    VSView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    VSView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    VSView1->header()->setSectionsMovable(true);
    VSView1->header()->setFirstSectionMovable(true);
    VSView1->header()->setSectionResizeMode(QHeaderView::Interactive);
    VSView1->header()->setStretchLastSection(false);
    VSView1->setColumnWidth(0, 80);
    VSView1->setColumnWidth(1, 272);

    setTabOrder(VSTree1, VSView1);
    setTabOrder(VSView1, btnEdit);
    setTabOrder(btnEdit, btnOpen);
    setTabOrder(btnOpen, btnUpdateTo);
    setTabOrder(btnUpdateTo, btnSave);
}

void TfrmMain::CreateToolWindows() {
    AddedListWindow = new TUpdateListWindow(QStringLiteral("Added List"), this);
    RemovedListWindow = new TUpdateListWindow(QStringLiteral("Removed List"), this);
    AddedListWindow->setObjectName(QStringLiteral("AddedListWindow"));
    RemovedListWindow->setObjectName(QStringLiteral("RemovedListWindow"));
    AddedTree = AddedListWindow->Tree();
    RemovedTree = RemovedListWindow->Tree();
    AddedTree->setObjectName(QStringLiteral("AddedTree"));
    RemovedTree->setObjectName(QStringLiteral("RemovedTree"));
    AddedModel = new TUpdateModel(Images, this);
    RemovedModel = new TUpdateModel(Images, this);
    AddedTree->setModel(AddedModel);
    RemovedTree->setModel(RemovedModel);

    // The Added List floats at the left edge of the screen, level with the
    // main window; the Removed List is placed beside it when first shown.
    const QRect screen = QGuiApplication::primaryScreen()
                             ? QGuiApplication::primaryScreen()->availableGeometry()
                             : QRect(0, 0, 1024, 768);
    AddedListWindow->move(screen.left(), screen.top() + (screen.height() - 380) / 2);

    for (TUpdateListWindow* window : {AddedListWindow, RemovedListWindow}) {
        window->addActions(actions()); // the window's shortcuts work there too
        QAction* item = window == AddedListWindow ? miAddedList : miRemovedList;
        connect(item, &QAction::triggered, this,
                [this, window](bool checked) { SetUpdateListVisible(window, checked); });
        connect(window, &TUpdateListWindow::VisibilityChanged, item, &QAction::setChecked);
        QTreeView* list = window->Tree();
        connect(list, &QWidget::customContextMenuRequested, this, [this, list](const QPoint& pos) {
            mnuSort->exec(list->viewport()->mapToGlobal(pos));
        });
    }
}

void TfrmMain::SetUpdateListVisible(TUpdateListWindow* window, bool visible) {
    if (visible && window == RemovedListWindow && window->NeverShown())
        PlaceRemovedList();
    window->setVisible(visible);
}

void TfrmMain::PlaceRemovedList() {
    // Beside the Added List: its width plus the two borders of a floating
    // tool window's frame, at its height on the screen.
    int border = (AddedListWindow->frameGeometry().width() - AddedListWindow->width()) / 2;
    if (border <= 0 || AddedListWindow->NeverShown())
        border = style()->pixelMetric(QStyle::PM_DockWidgetFrameWidth, nullptr, AddedListWindow);
    RemovedListWindow->move(AddedListWindow->width() + 2 * border, AddedListWindow->y());
}

void TfrmMain::UpdateActions() {
    const bool itemExists = CurrentLanguage.Root().ChildCount() > 0;
    const bool valueExists = VSView1->selectionModel() && VSView1->selectionModel()->hasSelection();
    actEdit->setEnabled(valueExists);
    actSave->setEnabled(itemExists);
    actUpdateTo->setEnabled(itemExists);
    actFindValue->setEnabled(itemExists);
    actFindValueIdent->setEnabled(itemExists);
    actFindItem->setEnabled(itemExists);
    actAutoExpand->setChecked(m_autoExpand);
    const bool hasTopLevel = ContentsModel->rowCount() > 0;
    actCollapseAll->setEnabled(hasTopLevel);
    actExpandAll->setEnabled(hasTopLevel);
    actFindNext->setEnabled(actFindNextUpdate());
    UpdateWorkbenchActions();
}

void TfrmMain::ScheduleUpdateActions() {
    if (m_updatePending)
        return;
    m_updatePending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_updatePending = false;
            UpdateActions();
        },
        Qt::QueuedConnection);
}

void TfrmMain::UpdateCaption(const QString& fileName) {
    m_fileName = fileName;
    setWindowTitle(CaptionForFileName(fileName));
}

void TfrmMain::SetModified(bool modified) {
    m_modified = modified;
    // Saved or opened: undoing back to here leaves nothing unsaved.
    if (!modified)
        UndoStack->setClean();
}

bool TfrmMain::IsModified() const {
    return m_modified || !UndoStack->isClean();
}

void TfrmMain::Guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (...) {
        ShowCurrentException();
    }
    ScheduleUpdateActions();
}

void TfrmMain::ShowCurrentException() {
    QString text;
    try {
        throw;
    } catch (const std::exception& e) {
        text = QString::fromLocal8Bit(e.what());
    } catch (...) {
        text = QStringLiteral("Unknown error");
    }
    TDialogs::Current().ShowMessage(this, QMessageBox::Critical, QStringLiteral("Tarvin"), text);
}

void TfrmMain::PaintBox1Paint(TPaintBox* sender) {
    QPainter painter(sender);
    painter.setPen(sender->palette().color(QPalette::Dark));
    const int y = sender->height() / 2;
    painter.drawLine(2, y, sender->width() - 2, y);
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    bool close = false;
    Guarded([&] { close = QuerySaveChanges(); });
    if (!close) {
        event->ignore();
        return;
    }
    AddedListWindow->close();
    RemovedListWindow->close();
    event->accept();
}

void TfrmMain::keyPressEvent(QKeyEvent* event) {
    // Enter reaches the window when no widget took it: the default button's key.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        UpdateActions();
        actEdit->trigger();
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

} // namespace tarvin
