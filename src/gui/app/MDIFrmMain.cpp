#include "app/MDIFrmMain.h"

#include <QMdiArea>

namespace pluvane::gui {

MDIFrmMain::MDIFrmMain(Workspace workspace, QWidget* parent)
    : QMainWindow(parent), m_workspace(std::move(workspace)), m_mdiArea(new QMdiArea(this)) {
    setObjectName("MDIFrmMain");
    setWindowTitle("Pluvane - Beta");
    m_mdiArea->setObjectName("MdiArea");
    setCentralWidget(m_mdiArea);
}

} // namespace pluvane::gui
