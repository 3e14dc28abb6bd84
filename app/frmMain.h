#pragma once
// The frame window: menus, toolbar, status bar, the child windows and the master timer.
#include "app/MonitoringCycle.h"

#include <QMainWindow>
#include <QPointer>

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;
class QToolBar;
class ChildForm;
class frmSplash;
class frmSave;
class frmLogging;
class frmConfig;
class frmSWOptions;
class frmAbout;

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // Restores the geometry, sets the caption, then runs the connection sequence and names the
    // board it reached in the status bar.
    void MDIForm_Load(frmSplash& splash);
    // Restores the stored position and size (the defaults where missing or off screen).
    void RestoreGeometry();
    // Saves the position and size unless the window is minimized.
    void MDIForm_Unload();

    void mnuSave_Click();
    void mnuLog_Click();
    void mnuRegMap_Click();
    void mnuGraph_Click();
    // The chart's "Open Run…": a finished run in a child window of its own. The dialog starts in
    // its last folder or, asked from a run's window, in the run's.
    void OpenRun(const QString& folder = QString());
    void mnuLimits_Click();
    void mnuGeneralConfig_Click();
    void mnuSoftware_Click();
    void mnuAbout_Click();
    void tbToolBar_ButtonClick(const QString& key);

    // Closes the child windows (each runs its own close handling), then the frame.
    void CloseEverything();

    QMdiArea* mdiArea = nullptr;
    QToolBar* tbToolBar = nullptr;
    QLabel* sbStatusPanel1 = nullptr;
    QLabel* sbStatusDate = nullptr;
    QLabel* sbStatusTime = nullptr;
    QLabel* sbStatusBoard = nullptr;   // the board in use, set once the chip is found
    QTimer* tmrMaster = nullptr;
    QMenu* mnuWindow = nullptr;

    MonitoringCycle& Cycle() { return cycle_; }
    const CycleWindows& OpenWindows() const { return windows_; }
    QPointer<frmSave> SaveWindow() const { return save_; }
    QPointer<frmLogging> LoggingWindow() const { return logging_; }
    QPointer<frmConfig> ConfigWindow() const { return config_; }
    QPointer<frmSWOptions> OptionsWindow() const { return options_; }
    QPointer<frmAbout> AboutWindow() const { return about_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void BuildToolBar();
    void BuildStatusBar();
    void UpdateDateTimePanels();
    void FillWindowMenu();
    // Wraps a new child window in a sub-window of the frame and shows it.
    QMdiSubWindow* ShowChild(ChildForm* form);
    // Brings an open window to the front; false when it is not open.
    bool Activate(QWidget* form);
    // Before a window of fixed size shows or comes to the front: a maximized child goes back to its size.
    void RestoreMaximizedChild();
    // Moves a new window that would hide another's title bar below and right of it.
    void CascadeOffTitleBars(QMdiSubWindow* sub);
    template <class Form>
    Form* OpenOnce(QPointer<Form>& slot);

    CycleWindows windows_;
    MonitoringCycle cycle_{windows_};
    QPointer<frmSave> save_;
    QPointer<frmLogging> logging_;
    QPointer<frmConfig> config_;
    QPointer<frmSWOptions> options_;
    QPointer<frmAbout> about_;
    bool unloaded_ = false;
};
