#pragma once

#include "core/ElementKind.h"
#include "core/store/RowSnapshot.h"

#include <string>

namespace pluvane::gui {

class AppContext;

// The open windows of the session follow what an undo or redo step wrote, so that none shows
// older values than the file and writes them back on OK.
// A row was rewritten: the update dialog of that element, the node dialog or the project setup
// shows the row afresh.
void ReloadWindowsOfRow(AppContext& ctx, const RowKey& key);
// An element left the drawing (deleted, its add undone, its delete redone): its update dialog
// closes, since its OK could only write into a row that is no longer shown.
void CloseWindowsOfRemoved(AppContext& ctx, ElementKind kind, const std::string& tag);

} // namespace pluvane::gui
