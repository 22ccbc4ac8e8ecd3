#include "gui/report/FrmViewReport.h"

#include <QAction>
#include <QKeySequence>

namespace pluvane::gui {

void FrmViewReport::bindKeys() {
    // Ctrl+S is Save As here: the report has no other save, whatever the desktop's own keys.
    const auto bind = [this](const char* name, const QKeySequence& key) {
        if (QAction* action = findChild<QAction*>(name)) {
            action->setShortcut(key);
            action->setShortcutContext(Qt::WindowShortcut);
        }
    };
    bind("TbSaveAs", QKeySequence(Qt::CTRL | Qt::Key_S));
    bind("TbPrint", QKeySequence(Qt::CTRL | Qt::Key_P));
    // The context menu's Copy also answers Ctrl+C while the menu is closed, and says so in it.
    m_copyAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    m_copyAction->setShortcutVisibleInContextMenu(true);
    addAction(m_copyAction);
}

} // namespace pluvane::gui
