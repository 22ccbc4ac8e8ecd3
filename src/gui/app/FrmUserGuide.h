#pragma once

#include <QMainWindow>

class QMenu;
class QTextBrowser;

namespace pluvane::gui {

class AppContext;

// The user guide shipped with the program (guide/index.html in the data folder, with its
// pictures beside it), read in a window of its own with back, forward and contents.
class FrmUserGuide : public QMainWindow {
    Q_OBJECT
public:
    explicit FrmUserGuide(AppContext& ctx, const QString& indexPath, QWidget* parent = nullptr);

    // Shows the one guide window of the run and brings it forward; a guide missing from the
    // data folder is told and no window opens. Returns the window or null.
    static FrmUserGuide* open(AppContext& ctx, QWidget* parent = nullptr);
    // Where the guide's first page is looked for.
    static QString indexPath(AppContext& ctx);

    QTextBrowser* browser() const { return m_browser; }

private:
    QTextBrowser* m_browser;
};

// The Help menu both windows share: "User Guide" (F1) and "About". `withKey`: this window's item
// holds the F1 key for the whole program; the other shows it only, so the key is never ambiguous.
QMenu* AddHelpMenu(AppContext& ctx, QWidget* window, class QMenuBar* bar, bool withKey);

} // namespace pluvane::gui
