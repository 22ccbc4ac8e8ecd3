#pragma once

#include "app/AppContext.h"
#include "app/Prompts.h"

#include <QDialog>

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

class QFrame;
class QGridLayout;
class QLineEdit;
class QPushButton;

namespace pluvane::gui {

class NumericKeyFilter;

// Field texts to and from the core, which speaks UTF-8.
std::string TextOf(const QLineEdit* field);
QString ToQString(std::string_view text);

// The frame of every dialog in this folder: a modeless window with the main window's icon,
// made afresh at each opening (closing deletes it), whose messages share one style (title
// "Error" and the dialog's icon), and whose Enter and Esc keys are bound only where the dialog
// says so.
class ModelessDialog : public QDialog {
    Q_OBJECT
protected:
    // The width of a field that holds one number.
    static constexpr int kNumberWidth = 90;

    ModelessDialog(AppContext& ctx, QWidget* parent, const char* name, const QString& caption,
                   Prompts::Icon messageIcon);

    // A text field named `name`; a numeric one gets the key filter. A width fixes it.
    QLineEdit* makeField(const char* name, bool numeric, int width = 0);
    // A computed value the user reads but does not type: read-only on the button face.
    QLineEdit* makeResultField(const char* name, int width);
    QPushButton* makeButton(const char* name, const QString& text);
    // The etched line between inputs and results (dark over light).
    QFrame* makeSeparator();
    // A grid row: the label (buddy of `field`), the field and an optional widget beside it.
    void addRow(QGridLayout* grid, int row, const QString& label, QWidget* field,
                QWidget* beside = nullptr);
    // A narrow field with a small button right next to it, as one grid cell (its focus proxy is
    // the field, which is also the buddy of the row's label).
    QWidget* fieldWithButton(QWidget* field, QWidget* button);
    // Enter clicks `defaultButton` (none: Enter does nothing); Esc closes only when
    // `escapeCancels`. Call once the buttons exist.
    void bindKeys(QPushButton* defaultButton, bool escapeCancels);
    void setTabChain(std::initializer_list<QWidget*> widgets);

    void showMessage(const QString& text);
    // Runs `work`; a failure becomes a message. True when it ran through.
    bool attempt(const std::function<void()>& work);

    void keyPressEvent(QKeyEvent* event) override;

    AppContext& m_ctx;

private:
    Prompts::Icon m_messageIcon;
    bool m_escapeCancels = false;
    NumericKeyFilter* m_keyFilter = nullptr;
};

} // namespace pluvane::gui
