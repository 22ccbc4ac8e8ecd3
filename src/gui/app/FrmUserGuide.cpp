#include "gui/app/FrmUserGuide.h"

#include "gui/app/AppContext.h"
#include "gui/network/CanvasCommands.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>

namespace pluvane::gui {

FrmUserGuide::FrmUserGuide(AppContext& ctx, const QString& indexPath, QWidget* parent)
    : QMainWindow(parent, Qt::Window), m_browser(new QTextBrowser(this)) {
    setObjectName("FrmUserGuide");
    setWindowTitle("Pluvane User Guide");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(ctx.icon());
    m_browser->setObjectName("GuideBrowser");
    // Links to the web open in the desktop's browser; the guide's own pages open here.
    m_browser->setOpenExternalLinks(true);
    m_browser->setSearchPaths({QFileInfo(indexPath).absolutePath()});
    setCentralWidget(m_browser);

    QToolBar* bar = addToolBar("Guide");
    bar->setObjectName("TbGuide");
    bar->setMovable(false);
    QAction* back = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), "Back", m_browser,
                                   &QTextBrowser::backward);
    back->setShortcut(QKeySequence::Back);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    QAction* forward = bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), "Forward",
                                      m_browser, &QTextBrowser::forward);
    forward->setShortcut(QKeySequence::Forward);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), "Contents", m_browser,
                   &QTextBrowser::home);
    back->setEnabled(false);
    forward->setEnabled(false);

    m_browser->setSource(QUrl::fromLocalFile(indexPath));
    resize(900, 700);
}

QString FrmUserGuide::indexPath(AppContext& ctx) {
    return QDir(QString::fromStdString(ctx.workspace().DataFolder)).filePath("guide/index.html");
}

FrmUserGuide* FrmUserGuide::open(AppContext& ctx, QWidget* parent) {
    const QString index = indexPath(ctx);
    if (!QFileInfo::exists(index)) {
        ctx.prompts().error(
            parent,
            QString("The user guide \"%1\" is missing. Reinstall the program to restore it.")
                .arg(QDir::toNativeSeparators(index)));
        return nullptr;
    }
    return ctx.open<FrmUserGuide>([&] { return new FrmUserGuide(ctx, index, parent); });
}

QMenu* AddHelpMenu(AppContext& ctx, QWidget* window, QMenuBar* bar, bool withKey) {
    QMenu* help = bar->addMenu("Help");
    help->setObjectName("MnuHelpMenu");
    QAction* guide = help->addAction(withKey ? QString("User Guide") : QString("User Guide\tF1"),
                                     window, [&ctx, window] { FrmUserGuide::open(ctx, window); });
    guide->setObjectName("MnuUserGuide");
    if (withKey) {
        guide->setShortcut(QKeySequence(Qt::Key_F1));
        // From any window of the program, the dialogs included.
        guide->setShortcutContext(Qt::ApplicationShortcut);
        window->addAction(guide);
    }
    help->addSeparator();
    QAction* about = help->addAction("About", window, [&ctx] { OpenAbout(ctx); });
    about->setObjectName("MnuHelpMenuAbout");
    return help;
}

} // namespace pluvane::gui
