#pragma once

#include "Workspace.h"

#include <QMainWindow>

class QMdiArea;

namespace pluvane::gui {

// The program's one main window: a multiple-document area that will hold the start screen or
// the drainage canvas. It owns the run's Workspace.
class MDIFrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit MDIFrmMain(Workspace workspace, QWidget* parent = nullptr);

    Workspace& workspace() { return m_workspace; }
    QMdiArea* mdiArea() const { return m_mdiArea; }

private:
    Workspace m_workspace;
    QMdiArea* m_mdiArea;
};

} // namespace pluvane::gui
