#pragma once

#include "core/ElementKind.h"

namespace pluvane::gui {

class AppContext;

// The windows the canvas opens, each the single instance of its kind, shown modeless and
// brought forward when it is open already.
void OpenAddDialog(AppContext& ctx, ElementKind kind);
void OpenUpdateDialog(AppContext& ctx, ElementKind kind);
void OpenProjectSetup(AppContext& ctx);
void OpenNodeSettings(AppContext& ctx);
void OpenOutletConveyance(AppContext& ctx);
void OpenTablePicker(AppContext& ctx);
void OpenIntensityEditor(AppContext& ctx);
void OpenAbout(AppContext& ctx);

// Sets the solve flags from the live rows; when there is something to solve, shows the report
// window (built and solved on first show, brought forward after). False: nothing to solve.
bool ProbeAndSolve(AppContext& ctx);

// Closes every window of the open project's session when its canvas closes.
void CloseProjectWindows(AppContext& ctx);
// Before the canvas closes: false when the rainfall editor's unsaved edits are kept.
bool MayLeaveProject(AppContext& ctx);

} // namespace pluvane::gui
