#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace pluvane::gui {

class AppContext;

// What the project, node, picker and about windows share: each is a modeless window that
// exists once, takes the main window's icon and is gone when closed, so the next opening
// reads the project afresh.
class SettingsWindow : public QDialog {
    Q_OBJECT
protected:
    SettingsWindow(AppContext& ctx, QWidget* parent, const char* name, const QString& caption);

    QLabel* makeLabel(const char* name, const QString& text);
    QLineEdit* makeField(const char* name, QLabel* label);
    QPushButton* makeButton(const char* name, const QString& text);

    // Runs a database command; a failure is shown in a message box over this window (over its
    // owner while it is not shown yet). True when the command ran through.
    bool attempt(const std::function<void()>& command);
    // For a window whose opening read failed: it goes away once the message was seen, instead
    // of showing fields that do not hold the project's values.
    void giveUp();
    bool gaveUp() const { return m_gaveUp; }

    AppContext& m_ctx;

private:
    bool m_gaveUp = false;
};

} // namespace pluvane::gui
