#include "app/frmMain.h"

#include "app/ConnectBoard.h"
#include "app/TickPacer.h"
#include "app/AppResources.h"
#include "state/GeneralStuff.h"
#include "app/WindowSettings.h"
#include "app/frmAbout.h"
#include "app/frmSWOptions.h"
#include "app/frmSplash.h"
#include "board/BoardChoice.h"
#include "board/USBStuff.h"
#include "app/OpenRuns.h"
#include "output/frmGraph.h"
#include "output/frmRun.h"
#include "windows/frmLogging.h"
#include "windows/frmSave.h"
#include "widgets/Twips.h"
#include "windows/frmConfig.h"
#include "windows/frmLimits.h"
#include "windows/frmRegMap.h"

#include <QCloseEvent>
#include <algorithm>
#include <QDate>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTime>
#include <QTimer>
#include <QToolBar>

frmMain::frmMain(QWidget* parent) : QMainWindow(parent) {
    InitAppResources();
    setObjectName("frmMain");
    setWindowIcon(QIcon(":/images/program.png"));
    mdiArea = new QMdiArea(this);
    mdiArea->setObjectName("mdiArea");
    mdiArea->setBackground(palette().brush(QPalette::Dark));
    // A child window reaching past the area's edge stays reachable through the scroll bars.
    mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdiArea);

    BuildMenus();
    BuildToolBar();
    BuildStatusBar();

    tmrMaster = new QTimer(this);
    tmrMaster->setObjectName("tmrMaster");
    auto* pacer = new TickPacer(*tmrMaster, cycle_);

    GeneralStuff::SetStatusTextHandler([this](const QString& text) { sbStatusPanel1->setText(text); });
    GeneralStuff::SetMasterTimerHandler([this, pacer](bool enabled) {
        if (enabled) {
            pacer->Start();
        } else {
            tmrMaster->stop();
        }
    }, [this] { return tmrMaster->isActive(); });
}

frmMain::~frmMain() {
    GeneralStuff::SetStatusTextHandler(nullptr);
    GeneralStuff::SetMasterTimerHandler(nullptr);
}

void frmMain::BuildMenus() {
    auto addItem = [this](QMenu* menu, const char* name, const QString& caption, void (frmMain::*handler)()) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, handler);
    };
    QMenu* mnuFile = menuBar()->addMenu("&File");
    mnuFile->setObjectName("mnuFile");
    addItem(mnuFile, "mnuSave", "&Save/Recall Configuration", &frmMain::mnuSave_Click);
    addItem(mnuFile, "mnuLog", "&Log Data to File", &frmMain::mnuLog_Click);
    QMenu* mnuDevice = menuBar()->addMenu("&View");
    mnuDevice->setObjectName("mnuDevice");
    addItem(mnuDevice, "mnuRegMap", "&Register Map", &frmMain::mnuRegMap_Click);
    addItem(mnuDevice, "mnuGraph", "Gra&phing", &frmMain::mnuGraph_Click);
    addItem(mnuDevice, "mnuLimits", "Li&mits, Interrupts", &frmMain::mnuLimits_Click);
    QMenu* mnuConfig = menuBar()->addMenu("&Configuration");
    mnuConfig->setObjectName("mnuConfig");
    addItem(mnuConfig, "mnuGeneralConfig", "&General Configuration", &frmMain::mnuGeneralConfig_Click);
    addItem(mnuConfig, "mnuSoftware", "&Software options", &frmMain::mnuSoftware_Click);
    mnuWindow = menuBar()->addMenu("&Window");
    mnuWindow->setObjectName("mnuWindow");
    connect(mnuWindow, &QMenu::aboutToShow, this, &frmMain::FillWindowMenu);
    QMenu* mnuMainAbout = menuBar()->addMenu("&About");
    mnuMainAbout->setObjectName("mnuMainAbout");
    addItem(mnuMainAbout, "mnuAbout", "A&bout the KTS9320B Software...", &frmMain::mnuAbout_Click);
}

namespace {

// The toolbar's buttons, left to right, and the menu command each one gives.
struct ToolButton {
    const char* key;
    const char* tooltip;
    const char* icon;
    void (frmMain::*command)();
};
const ToolButton ToolButtons[] = {
    {"Save", "Save/Recall Configuration", ":/images/save.png", &frmMain::mnuSave_Click},
    {"Config", "General Device Configuration", ":/images/config.png", &frmMain::mnuGeneralConfig_Click},
    {"Graphs", "Temperature/Fan graphs", ":/images/graphs.png", &frmMain::mnuGraph_Click},
    {"Tree", "Register Map Tree", ":/images/tree.png", &frmMain::mnuRegMap_Click},
    {"Limits", "Interrupts/Limits", ":/images/limits.png", &frmMain::mnuLimits_Click},
    {"Log", "", ":/images/log.png", &frmMain::mnuLog_Click},
};

}  // namespace

void frmMain::BuildToolBar() {
    tbToolBar = addToolBar("Toolbar");
    tbToolBar->setObjectName("tbToolBar");
    tbToolBar->setMovable(false);
    tbToolBar->setIconSize(QSize(24, 24));
    for (const ToolButton& b : ToolButtons) {
        // No text of its own, so a button without a tooltip shows none.
        auto* action = new QAction(QIcon(b.icon), QString(), tbToolBar);
        action->setObjectName(QStringLiteral("tb%1").arg(b.key));
        action->setData(QString(b.key));
        action->setToolTip(b.tooltip);
        const QString key = b.key;
        connect(action, &QAction::triggered, this, [this, key] { tbToolBar_ButtonClick(key); });
        tbToolBar->addAction(action);
    }
}

void frmMain::BuildStatusBar() {
    QStatusBar* sbStatusBar = statusBar();
    sbStatusBar->setObjectName("sbStatusBar");
    sbStatusPanel1 = new QLabel("Status", sbStatusBar);
    sbStatusPanel1->setObjectName("sbStatusPanel1");
    sbStatusDate = new QLabel(sbStatusBar);
    sbStatusDate->setObjectName("sbStatusDate");
    sbStatusTime = new QLabel(sbStatusBar);
    sbStatusTime->setObjectName("sbStatusTime");
    sbStatusBoard = new QLabel(sbStatusBar);
    sbStatusBoard->setObjectName("sbStatusBoard");
    for (QLabel* panel : {sbStatusPanel1, sbStatusDate, sbStatusTime, sbStatusBoard}) {
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setContentsMargins(4, 0, 4, 0);
    }
    sbStatusBar->addPermanentWidget(sbStatusPanel1, 1);
    sbStatusBar->addPermanentWidget(sbStatusDate);
    sbStatusBar->addPermanentWidget(sbStatusTime);
    sbStatusBar->addPermanentWidget(sbStatusBoard);
    // In a small frame the board's panel gives way first: the status panel's messages come and
    // go, the board's name stays at hand in the panel's tooltip.
    sbStatusBoard->setMinimumWidth(sbStatusBoard->fontMetrics().averageCharWidth() * 3);
    UpdateDateTimePanels();
    auto* clockTimer = new QTimer(this);
    clockTimer->setObjectName("tmrStatusClock");
    connect(clockTimer, &QTimer::timeout, this, &frmMain::UpdateDateTimePanels);
    clockTimer->start(1000);
}

void frmMain::UpdateDateTimePanels() {
    const QLocale locale;
    sbStatusDate->setText(locale.toString(QDate::currentDate(), QLocale::ShortFormat));
    sbStatusTime->setText(locale.toString(QTime::currentTime(), QLocale::ShortFormat));
}

void frmMain::FillWindowMenu() {
    mnuWindow->clear();
    const QList<QMdiSubWindow*> open = mdiArea->subWindowList();
    int number = 1;
    for (QMdiSubWindow* sub : open) {
        QAction* item = mnuWindow->addAction(QStringLiteral("&%1 %2").arg(number++).arg(sub->windowTitle()));
        item->setCheckable(true);
        item->setChecked(sub == mdiArea->activeSubWindow());
        connect(item, &QAction::triggered, this, [this, sub = QPointer<QMdiSubWindow>(sub)] {
            if (sub) mdiArea->setActiveSubWindow(sub);
        });
    }
}

void frmMain::MDIForm_Load(frmSplash& splash) {
    RestoreGeometry();
    setWindowTitle(GeneralStuff::AppTitle);
    GeneralStuff::ConnectBoard(splash, [this](const QString& text) { sbStatusPanel1->setText(text); });
    const QString board = QString::fromStdString(USBStuff::BoardDescription(USBStuff::ProgramFolder(), USBStuff::DeviceAddress));
    sbStatusBoard->setText(board);
    sbStatusBoard->setToolTip(board);
}

void frmMain::RestoreGeometry() {
    const QRectF stored = WindowSettings::LoadMainGeometry();
    const QRect pixels = TwipsRect(stored.left(), stored.top(), stored.width(), stored.height());
    // A window that cannot be shown where it was is put back where a first run puts it.
    const QRect firstRun = TwipsRect(WindowSettings::DefaultLeft, WindowSettings::DefaultTop,
                                     WindowSettings::DefaultWidth, WindowSettings::DefaultHeight);
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens()) areas << screen->availableGeometry();
    const QRect placed = WindowSettings::FitOnScreens(pixels, areas, firstRun);
    move(placed.topLeft());
    resize(placed.size());
}

void frmMain::MDIForm_Unload() {
    if (isMinimized()) return;
    WindowSettings::SaveMainGeometry(
        QRectF(PixelsToTwipsX(x()), PixelsToTwipsY(y()), PixelsToTwipsX(width()), PixelsToTwipsY(height())));
}

void frmMain::closeEvent(QCloseEvent* event) {
    tmrMaster->stop();
    mdiArea->closeAllSubWindows();
    if (!unloaded_) {
        unloaded_ = true;
        MDIForm_Unload();
    }
    event->accept();
}

void frmMain::CloseEverything() { close(); }

QMdiSubWindow* frmMain::ShowChild(ChildForm* form) {
    QMdiSubWindow* sub = mdiArea->addSubWindow(form);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(windowIcon());
    if (form->FixedFormSize()) {
        // A fixed-size window cannot be maximized; the About window cannot be minimized either.
        Qt::WindowFlags flags = Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (!qobject_cast<frmAbout*>(form)) flags |= Qt::WindowMinimizeButtonHint;
        sub->setWindowFlags(flags);
    }
    form->ApplyFormSize();
    if (form->FixedFormSize()) RestoreMaximizedChild();
    sub->show();
    // Where the area's placement leaves part of the window outside, it is moved in.
    const QSize area = mdiArea->viewport()->size();
    sub->move(std::max(0, std::min(sub->x(), area.width() - sub->width())),
              std::max(0, std::min(sub->y(), area.height() - sub->height())));
    CascadeOffTitleBars(sub);
    mdiArea->setActiveSubWindow(sub);
    return sub;
}

void frmMain::CascadeOffTitleBars(QMdiSubWindow* sub) {
    // An area too small for the placement to find room puts the window at its corner; it steps
    // down and right past each title bar it would hide, so every window can be told apart and moved.
    const int titleHeight = sub->widget() ? sub->widget()->y() : 0;
    const QRect area = mdiArea->viewport()->rect();
    const QList<QMdiSubWindow*> others = mdiArea->subWindowList(QMdiArea::CreationOrder);
    for (QMdiSubWindow* other : others) {
        if (other == sub || !other->isVisible() || other->isMinimized()) continue;
        const QRect title(other->pos(), QSize(other->width(), titleHeight));
        if (!sub->geometry().contains(title.topLeft() + QPoint(titleHeight, titleHeight / 2))) continue;
        // Where the window fits inside the area it stays inside.
        const QRect moved(other->pos() + QPoint(titleHeight, titleHeight), sub->size());
        if (area.contains(moved) || !area.contains(sub->geometry())) sub->move(moved.topLeft());
    }
}

void frmMain::RestoreMaximizedChild() {
    // The area shows a window that becomes active maximized while the active one is; a window
    // of fixed size would then lose its frame and title bar and sit at the area's corner.
    if (QMdiSubWindow* active = mdiArea->activeSubWindow(); active && active->isMaximized()) active->showNormal();
}

bool frmMain::Activate(QWidget* form) {
    if (!form) return false;
    auto* sub = qobject_cast<QMdiSubWindow*>(form->parentWidget());
    if (!sub) return false;
    if (auto* child = qobject_cast<ChildForm*>(form); child && child->FixedFormSize()) RestoreMaximizedChild();
    if (sub->isMinimized()) sub->showNormal();
    sub->show();
    mdiArea->setActiveSubWindow(sub);
    sub->raise();
    return true;
}

template <class Form>
Form* frmMain::OpenOnce(QPointer<Form>& slot) {
    if (Activate(slot)) return slot;
    auto* form = new Form;
    slot = form;
    ShowChild(form);
    return form;
}

void frmMain::mnuSave_Click() { OpenOnce(save_); }
void frmMain::mnuLog_Click() { OpenOnce(logging_); }
void frmMain::mnuRegMap_Click() { OpenOnce(windows_.regMap); }
void frmMain::mnuLimits_Click() { OpenOnce(windows_.limits); }
void frmMain::mnuGeneralConfig_Click() { OpenOnce(config_); }
void frmMain::mnuSoftware_Click() { OpenOnce(options_); }

void frmMain::mnuGraph_Click() {
    const bool wasOpen = windows_.graph;
    frmGraph* graph = OpenOnce(windows_.graph);
    if (wasOpen) return;
    connect(graph, &frmGraph::configurationRequested, this, &frmMain::mnuGeneralConfig_Click);
    connect(graph, &frmGraph::openRunRequested, this, [this] { OpenRun(); });
}

void frmMain::OpenRun(const QString& folder) {
    AskForRun(this, [this](frmRun* run) {
        ShowChild(run);
        // A run's own "Open Run…" opens the next one beside it.
        connect(run, &frmRun::openRunRequested, this, [this, run] { OpenRun(run->Folder()); });
    }, folder);
}

void frmMain::mnuAbout_Click() {
    const bool wasOpen = about_;
    frmAbout* about = OpenOnce(about_);
    if (!wasOpen) about->PlaceWindow(PixelsToTwipsX(frameGeometry().width()), PixelsToTwipsY(frameGeometry().height()));
}

void frmMain::tbToolBar_ButtonClick(const QString& key) {
    const auto button = std::find_if(std::begin(ToolButtons), std::end(ToolButtons),
                                     [&key](const ToolButton& b) { return key == QLatin1String(b.key); });
    if (button != std::end(ToolButtons)) (this->*button->command)();
}
