#pragma once

#include <QMainWindow>
#include <QPointer>

class QMdiArea;
class QMdiSubWindow;
class QToolBar;

namespace pluvane::gui {

class AppContext;
class FrmDraw;
class FrmOpen;

// The canvas window's title: the project's file name, "[read-only]" when it cannot be written,
// and the rainfall table its solve uses.
QString CanvasTitle(const QString& projectPath, const QString& intensityTable,
                    bool readOnly = false);

// The program's one main window: a multiple-document area holding the start screen while no
// project is open, or the drawing window of the open project. It runs the project life cycle
// (New, Open, Close, Exit) for itself and for the drawing window.
class MDIFrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit MDIFrmMain(AppContext& ctx, QWidget* parent = nullptr);
    ~MDIFrmMain() override;

    AppContext& context() { return m_ctx; }
    QMdiArea* mdiArea() const { return m_mdiArea; }
    FrmDraw* canvas() const;
    FrmOpen* startScreen() const;
    QToolBar* mainToolbar() const { return m_toolbar; }

    // New: asks for a file name, copies the template there and shows the project setup.
    void newProject();
    // Open: asks for an existing project and puts it on the canvas.
    void openProject();
    // Open without the dialog (a file named on the command line, tests). False when refused.
    bool openProjectFile(const QString& path);
    // A project of the recent list; one that is no longer there is said so and taken off.
    void openRecentProject(const QString& path);
    // Save Project As: the open project copied to a new file, which the canvas then works on
    // (the lock moves with it); the old file is left as it was.
    void saveProjectAs();
    // Puts ProjectPath on the canvas; a project whose setup was never completed goes to the
    // project setup instead. False when the canvas did not open.
    bool openCanvas();
    // Closes the canvas, which purges the rows marked deleted; back to the start screen.
    void closeCanvas();
    // New, Open and Exit leave the open project: its windows close, then its canvas. The
    // callers have asked FrmIntensityTable::mayLeaveProject first.
    void leaveProject();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenusAndToolbar();
    void showStartScreen();
    void onCanvasClosed();
    void updateCanvasTitle();
    void showProjectSetup();
    // Checks a chosen project before the open one is left, so a refusal changes nothing.
    bool checkOpenable(const QString& path);

    AppContext& m_ctx;
    QMdiArea* m_mdiArea;
    QToolBar* m_toolbar = nullptr;
    QPointer<FrmDraw> m_canvas;
    QPointer<QMdiSubWindow> m_canvasWindow;
    QPointer<FrmOpen> m_startScreen;
    QPointer<QMdiSubWindow> m_startWindow;
};

} // namespace pluvane::gui
