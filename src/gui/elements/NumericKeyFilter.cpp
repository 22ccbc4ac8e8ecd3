#include "elements/NumericKeyFilter.h"

#include "elements/KeyFilter.h"

#include <QKeyEvent>
#include <QLineEdit>

#include <optional>

namespace pluvane::gui {

namespace {

constexpr char16_t kBackspace = 8;
constexpr char16_t kTab = 9;

// The character code of a key press; none for keys that type nothing.
std::optional<char16_t> characterCode(const QKeyEvent& event) {
    const int key = event.key();
    switch (key) {
    case Qt::Key_Backspace:
        return kBackspace;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return kTab;
    case Qt::Key_Delete: // some platforms give it the text DEL, yet it types nothing
        return std::nullopt;
    default:
        break;
    }
    // Platforms differ in the text they give Ctrl+letter; the code is the same everywhere.
    if ((event.modifiers() & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<char16_t>(key - Qt::Key_A + 1);
    const QString text = event.text();
    if (text.isEmpty())
        return std::nullopt;
    return text.front().unicode();
}

bool isDialogKey(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
}

} // namespace

NumericKeyFilter::NumericKeyFilter(QObject* parent) : QObject(parent) {
    setObjectName("NumericKeyFilter");
}

void NumericKeyFilter::guard(QLineEdit* field) {
    field->installEventFilter(this);
    field->setAttribute(Qt::WA_InputMethodEnabled, false);
    field->setInputMethodHints(Qt::ImhFormattedNumbersOnly);
}

bool NumericKeyFilter::passes(const QKeyEvent& event) {
    if (isDialogKey(event.key()))
        return true;
    const std::optional<char16_t> code = characterCode(event);
    return !code || ModKeyPress(*code) != 0;
}

bool NumericKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && !passes(*static_cast<QKeyEvent*>(event)))
        return true;
    return QObject::eventFilter(watched, event);
}

} // namespace pluvane::gui
