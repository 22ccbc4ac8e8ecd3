#pragma once

#include <QString>

#include <functional>

class QMenu;

namespace pluvane::gui {

// Where New and Open start: the folder of the last project chosen, else the user's documents.
QString ProjectDialogStart();
// A project was chosen or opened: its folder becomes the last one, and an opened project goes
// first on the recent list. The settings file is a convenience here: a failed write is let go.
void RememberFolderOf(const QString& path);
void RememberOpenedProject(const QString& path);
void ForgetRecentProject(const QString& path);

// The name a save dialog proposes for a file made from the project: the project's folder and
// name with the new suffix ("/jobs/site.rmt", "pdf" -> "/jobs/site.pdf"); "" without a project.
QString ProposedFileName(const QString& projectPath, const QString& suffix);

// Fills `menu` with the recent projects each time it opens: "&1 site.rmt  (folder)", the menu's
// own accelerators; a project no longer where it was is listed greyed out. `open` gets the path.
void KeepRecentMenu(QMenu* menu, std::function<void(const QString&)> open);
void FillRecentMenu(QMenu* menu, const std::function<void(const QString&)>& open);

} // namespace pluvane::gui
