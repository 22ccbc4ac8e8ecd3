#pragma once

#include <QString>

#include <utility>
#include <vector>

class QAction;
class QToolBar;

namespace pluvane::gui {

// A toolbar button's tooltip as shown: its own words and the key of the menu command it stands
// for, "Solve System (F5)". The words stay the action's tooltip; the key is added on display, so
// that it follows the menu command's shortcut.
QString ToolTipShown(const QAction* button);

// Pairs each toolbar button with its menu command and shows the command's key in the button's
// tooltip.
void ShowKeysInToolTips(QToolBar* toolbar,
                        const std::vector<std::pair<QAction*, const QAction*>>& buttons);

} // namespace pluvane::gui
