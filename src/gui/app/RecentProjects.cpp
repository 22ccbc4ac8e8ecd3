#include "gui/app/RecentProjects.h"

#include "core/Settings.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QStandardPaths>

namespace pluvane::gui {

namespace {

void changeSettings(const std::function<void(Settings&)>& change) {
    try {
        Settings settings = Settings::load();
        change(settings);
        settings.save();
    } catch (const std::exception&) {
        // An unwritable settings folder costs the user the list, never the command.
    }
}

} // namespace

QString ProjectDialogStart() {
    if (const std::optional<std::string> last = LastFolder(Settings::load())) {
        const QString folder = QString::fromStdString(*last);
        if (QFileInfo(folder).isDir())
            return folder;
    }
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

void RememberFolderOf(const QString& path) {
    const QString folder = QFileInfo(path).absolutePath();
    changeSettings([&](Settings& s) { SetLastFolder(s, folder.toStdString()); });
}

void RememberOpenedProject(const QString& path) {
    const QFileInfo file(path);
    changeSettings([&](Settings& s) {
        SetLastFolder(s, file.absolutePath().toStdString());
        AddRecentProject(s, file.absoluteFilePath().toStdString());
    });
}

void ForgetRecentProject(const QString& path) {
    changeSettings([&](Settings& s) { RemoveRecentProject(s, path.toStdString()); });
}

QString ProposedFileName(const QString& projectPath, const QString& suffix) {
    if (projectPath.isEmpty())
        return QString();
    const QFileInfo project(projectPath);
    return project.absoluteDir().filePath(project.completeBaseName() + "." + suffix);
}

void FillRecentMenu(QMenu* menu, const std::function<void(const QString&)>& open) {
    menu->clear();
    const std::vector<std::string> recent = RecentProjects(Settings::load());
    int number = 0;
    for (const std::string& entry : recent) {
        const QString path = QString::fromStdString(entry);
        const QFileInfo file(path);
        ++number;
        // "&&" keeps an ampersand of the name from becoming a second accelerator.
        QString caption =
            QString("&%1 %2  (%3)")
                .arg(number)
                .arg(QString(file.fileName()).replace('&', "&&"),
                     QDir::toNativeSeparators(file.absolutePath()).replace('&', "&&"));
        QAction* item = menu->addAction(caption);
        item->setObjectName(QString("MnuRecent%1").arg(number));
        item->setData(path);
        item->setToolTip(path);
        if (!file.isFile()) {
            item->setEnabled(false); // moved or deleted since: shown, but greyed out
            item->setToolTip(path + " (not found)");
        }
        QObject::connect(item, &QAction::triggered, menu, [open, path] { open(path); });
    }
    if (recent.empty())
        menu->addAction("(none)")->setEnabled(false);
    menu->setToolTipsVisible(true);
}

void KeepRecentMenu(QMenu* menu, std::function<void(const QString&)> open) {
    QObject::connect(menu, &QMenu::aboutToShow, menu,
                     [menu, open = std::move(open)] { FillRecentMenu(menu, open); });
    FillRecentMenu(menu, open);
}

} // namespace pluvane::gui
