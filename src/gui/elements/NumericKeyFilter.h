#pragma once

#include <QObject>
#include <QString>

class QKeyEvent;
class QLineEdit;

namespace pluvane::gui {

// Lets only digits, ".", backspace and tab be typed into a numeric field (ModKeyPress). The
// character code of a key press is what a desktop character message carries: the typed text,
// or for Ctrl+letter the control code. Keys that type nothing (arrows, Home, End, Delete) pass.
// Enter and Esc also pass: they belong to the dialog's default and cancel buttons, which take
// them before the field would. A printable key that is discarded is explained in a tool tip,
// so "0,5%" never becomes "05" unseen. Ctrl+A, Ctrl+C and Ctrl+X work as in any field; a paste
// (Ctrl+V, Shift+Insert, the context menu) inserts the clipboard's text only when every
// character of it passes the same rule, else it is refused whole and explained. Drops are off.
class NumericKeyFilter : public QObject {
    Q_OBJECT
public:
    explicit NumericKeyFilter(QObject* parent = nullptr);

    // Installs the filter on a field, which also stops input methods (composed or converted
    // text) from going round it.
    void guard(QLineEdit* field);

    // True when the key press may reach the field.
    static bool passes(const QKeyEvent& event);
    // True when `text` (blanks around it already trimmed) may be pasted whole.
    static bool pasteAllowed(const QString& text);
    // Pastes the clipboard into `field` under that rule; false when refused.
    bool paste(QLineEdit* field);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace pluvane::gui
