#pragma once

#include <QObject>

class QKeyEvent;
class QLineEdit;

namespace pluvane::gui {

// Lets only digits, ".", backspace and tab be typed into a numeric field (ModKeyPress). The
// character code of a key press is what a desktop character message carries: the typed text,
// or for Ctrl+letter the control code (Ctrl+V is 22), so clipboard shortcuts are discarded too.
// Keys that type nothing (arrows, Home, End, Delete) pass. Enter and Esc also pass: they belong
// to the dialog's default and cancel buttons, which take them before the field would.
// Text pasted from the context menu is not filtered; the lenient parse reads it.
class NumericKeyFilter : public QObject {
    Q_OBJECT
public:
    explicit NumericKeyFilter(QObject* parent = nullptr);

    // Installs the filter on a field, which also stops input methods (composed or converted
    // text) from going round it.
    void guard(QLineEdit* field);

    // True when the key press may reach the field.
    static bool passes(const QKeyEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace pluvane::gui
