#pragma once

#include "core/ElementKind.h"
#include "core/network/NetworkModel.h"

#include <QMainWindow>
#include <QPointer>

#include <map>
#include <optional>
#include <utility>

#include <QPointF>

class QAction;
class QLabel;
class QMenu;
class QToolBar;

namespace pluvane::gui {

class AppContext;
class CanvasView;
class EditHistory;
class FrmReview;

// The drawing window of an open project: its own menus and toolbar, the canvas, the element
// pop-up menus. It owns the project's network model while it is open.
class FrmDraw : public QMainWindow {
    Q_OBJECT
public:
    explicit FrmDraw(AppContext& ctx, QWidget* parent = nullptr);
    ~FrmDraw() override;

    NetworkModel& model() { return m_model; }
    CanvasView* view() const { return m_view; }

    // Builds the drawing from ProjectPath. False when the project has no node yet (its setup
    // was never completed); the caller then shows the project setup instead.
    bool load();

    // The commands of the menus and the toolbar.
    void addElement(ElementKind kind);
    void solve();
    // "Review Project...": the review window, filled anew (FrmDrawReview.cpp).
    void openReview();
    QMenu* popupMenu(ElementKind kind) const { return m_popups.at(kind); }
    // The session's undo history; null until load() succeeded.
    EditHistory* history() const { return m_history; }
    void undo();
    void redo();
    // File > Print Drawing: the drawing fitted to one page under the project's name and the
    // date, to the printer (or PDF file) the print dialog sets up (DrawingPrint.cpp).
    void printDrawing();
    // Save Project As moved the session onto a copy: the path, the title and whether it can be
    // written follow.
    void projectMoved();
    // The status bar's texts (FrmDrawStatus.cpp), for tests and screenshots.
    QString statusText(const char* part) const;

signals:
    void newRequested();
    void openRequested();
    void recentRequested(const QString& path);
    void saveAsRequested();
    void closeRequested();
    void exitRequested();
    // The Close steps have run: the project is purged and let go.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void refreshNames();
    // The review findings again: the canvas markers and an open review window.
    void refreshReview();
    void selectTag(const QString& tag);
    void addReviewToggle(QMenu* menu, QAction* before);
    void buildMenus();
    void buildToolbar();
    void buildPopups();
    void onImagePressed(ElementKind kind, int index, Qt::MouseButton button, QPoint globalPos);
    void onImageReleased(ElementKind kind, int index);
    void deleteSelected();
    void editSelected();
    void openProjectInfo();
    void openNodeInfo();
    void openIntensityEditor();
    void changeTable();
    void openAbout();
    void buildEditMenu();
    void buildViewMenu();
    void buildUndoButtons();
    void startHistory();
    void nudgeSelected(float dx, float dy);
    void endNudge();
    void cycleSelection(bool forward);
    void openSelected();
    void endHistory();
    // FrmDrawStatus.cpp: the status bar and the read-only state.
    void buildStatusBar();
    void refreshStatus();
    void showPointer(const QPointF& scenePos, bool inside);
    void onSolved(double q100);
    void markSolveOutOfDate();
    void applyReadOnly();
    QAction* command(const char* name) const;

    AppContext& m_ctx;
    NetworkModel m_model;
    CanvasView* m_view;
    QToolBar* m_toolbar = nullptr;
    std::map<ElementKind, QMenu*> m_popups;
    std::map<ElementKind, QAction*> m_popupNames;
    bool m_closed = false;
    EditHistory* m_history = nullptr;
    QAction* m_undoAction = nullptr;
    QAction* m_redoAction = nullptr;
    // Where the pressed image was when the press began: one drag is one undo step.
    std::optional<std::pair<ElementKind, int>> m_dragged;
    QPointF m_dragStart;
    QPointer<FrmReview> m_review;
    std::map<QString, QLabel*> m_status;
    bool m_solved = false;
    bool m_solveCurrent = false;
    double m_q100 = 0;
    QString m_solvedAt;
};

} // namespace pluvane::gui
