#pragma once

#include "gui/app/AppContext.h"
#include "gui/app/Prompts.h"

#include <QDialog>

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

class QFrame;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace pluvane::gui {

class NumericKeyFilter;

// Field texts to and from the core, which speaks UTF-8.
std::string TextOf(const QLineEdit* field);
QString ToQString(std::string_view text);

// The frame of every window of a project (element dialogs, calculators, project setup, node,
// pickers, rainfall editor, about): a modeless window with the main window's icon, made afresh
// at each opening (closing deletes it, so the next opening reads the project afresh), whose
// messages share one style (title "Error" and the dialog's icon), and whose Enter key is bound
// only where the dialog says so; Esc closes it unless the dialog says otherwise.
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
    QLabel* makeLabel(const char* name, const QString& text);
    // A text field for names and free text, at least wide enough for a title, whose label
    // (when given) is its buddy.
    QLineEdit* makeTextField(const char* name, QLabel* label);
    // The etched line between inputs and results (dark over light).
    QFrame* makeSeparator();
    // A grid row: the label (buddy of `field`), the field and an optional widget beside it.
    void addRow(QGridLayout* grid, int row, const QString& label, QWidget* field,
                QWidget* beside = nullptr);
    // The unit of a field whose caption does not name it, as the tooltip of the field and of its
    // caption ("feet per foot (ft/ft)").
    void explainUnit(QWidget* field, const QString& unit);
    // A narrow field with a small button right next to it, as one grid cell (its focus proxy is
    // the field, which is also the buddy of the row's label).
    QWidget* fieldWithButton(QWidget* field, QWidget* button);
    // Enter clicks `defaultButton` (none: Enter does nothing); Esc closes only when
    // `escapeCancels`. Call once the buttons exist.
    void bindKeys(QPushButton* defaultButton, bool escapeCancels);
    void setTabChain(std::initializer_list<QWidget*> widgets);

    void showMessage(const QString& text);
    // Every numeric field among `fields` (all numeric fields when empty) that holds text holds a
    // plain decimal number; the first that does not is named in a message ("Area: '12abc' is
    // not a number"), gets the focus, and the answer is false.
    bool checkNumbers(const std::vector<QLineEdit*>& fields = {});
    // The caption of a field's row, without its unit ("Area (Ac)" -> "Area").
    QString fieldLabel(const QLineEdit* field) const;
    // Runs `work`; a failure becomes a message (over this window, or over its owner while it is
    // not shown yet). True when it ran through.
    bool attempt(const std::function<void()>& work);
    // For a window whose opening read failed: it goes away once the message was seen, instead
    // of showing fields that do not hold the project's values.
    void giveUp();
    bool gaveUp() const { return m_gaveUp; }
    // Closing (Esc, Cancel, the title bar) asks this first, unless the project is being left;
    // false keeps the window open (unsaved edits).
    virtual bool mayDiscard() { return true; }

    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    AppContext& m_ctx;

private:
    Prompts::Icon m_messageIcon;
    bool m_escapeCancels = true;
    bool m_gaveUp = false;
    NumericKeyFilter* m_keyFilter = nullptr;
    std::vector<QLineEdit*> m_numericFields;
};

} // namespace pluvane::gui
