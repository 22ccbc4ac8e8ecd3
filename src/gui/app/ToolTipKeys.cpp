#include "gui/app/ToolTipKeys.h"

#include <QAction>
#include <QEvent>
#include <QHelpEvent>
#include <QPointer>
#include <QToolBar>
#include <QToolTip>

namespace pluvane::gui {

namespace {

constexpr const char* kCommandProperty = "pluvaneMenuCommand";

// Shows ToolTipShown instead of the bare tooltip when the pointer rests on a button.
class KeyTipFilter : public QObject {
public:
    KeyTipFilter(QAction* button, QObject* parent) : QObject(parent), m_button(button) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip || !m_button)
            return false;
        auto* help = static_cast<QHelpEvent*>(event);
        QToolTip::showText(help->globalPos(), ToolTipShown(m_button),
                           qobject_cast<QWidget*>(watched));
        return true;
    }

private:
    QPointer<QAction> m_button;
};

} // namespace

QString ToolTipShown(const QAction* button) {
    const auto* command = button->property(kCommandProperty).value<QAction*>();
    QString tip = button->toolTip();
    if (command && !command->shortcut().isEmpty())
        tip += QString(" (%1)").arg(command->shortcut().toString(QKeySequence::NativeText));
    // A button greyed because the project cannot be written says so.
    const QString why = button->property("pluvaneWhyDisabled").toString();
    if (!button->isEnabled() && !why.isEmpty())
        tip += "\n" + why;
    return tip;
}

void ShowKeysInToolTips(QToolBar* toolbar,
                        const std::vector<std::pair<QAction*, const QAction*>>& buttons) {
    for (const auto& [button, command] : buttons) {
        button->setProperty(kCommandProperty, QVariant::fromValue(const_cast<QAction*>(command)));
        if (QWidget* widget = toolbar->widgetForAction(button))
            widget->installEventFilter(new KeyTipFilter(button, widget));
    }
}

} // namespace pluvane::gui
