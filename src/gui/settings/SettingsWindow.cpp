#include "settings/SettingsWindow.h"

#include "app/AppContext.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace pluvane::gui {

SettingsWindow::SettingsWindow(AppContext& ctx, QWidget* parent, const char* name,
                               const QString& caption)
    : QDialog(parent), m_ctx(ctx) {
    setObjectName(name);
    setWindowTitle(caption);
    setWindowIcon(ctx.icon());
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

QLabel* SettingsWindow::makeLabel(const char* name, const QString& text) {
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    return label;
}

QLineEdit* SettingsWindow::makeField(const char* name, QLabel* label) {
    auto* field = new QLineEdit(this);
    field->setObjectName(name);
    field->setMinimumWidth(220);
    if (label)
        label->setBuddy(field);
    return field;
}

QPushButton* SettingsWindow::makeButton(const char* name, const QString& text) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(name);
    return button;
}

bool SettingsWindow::attempt(const std::function<void()>& command) {
    return m_ctx.guard(isVisible() ? static_cast<QWidget*>(this) : parentWidget(), command);
}

void SettingsWindow::giveUp() {
    m_gaveUp = true;
    // Queued: the opener may still be about to show this window.
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

} // namespace pluvane::gui
