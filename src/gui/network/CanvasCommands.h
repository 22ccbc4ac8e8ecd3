#pragma once

#include "core/ElementKind.h"

class QWidget;

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

// Solves the project afresh and shows its report (an open report window is rebuilt). False:
// nothing to solve.
bool ProbeAndSolve(AppContext& ctx);

// "Recompute Tc": every computed Tc and velocity again from the stored inputs, the sheet flow
// with the P2 of the project's table, as one undoable step; typed values stay. Says what
// changed.
void RecomputeTc(AppContext& ctx);

// After the project's rainfall table changed: when sub-basin Tc computed with another P2 would
// change, says how many with their old and new Tc and offers to recompute them (one undoable
// step). Nothing is asked when none would change.
void OfferTcRecompute(AppContext& ctx, QWidget* parent);

// Closes every window of the open project's session when its canvas closes.
void CloseProjectWindows(AppContext& ctx);
// Before the canvas closes: false when the rainfall editor's unsaved edits are kept.
bool MayLeaveProject(AppContext& ctx);

} // namespace pluvane::gui
