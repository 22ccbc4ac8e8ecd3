#include "gui/elements/NumericKeyFilter.h"

#include "core/elements/KeyFilter.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QToolTip>

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

// Ctrl+A, Ctrl+C and Ctrl+X act on the field's own text and pass; Ctrl+V and Shift+Insert
// paste, which the filter does itself.
bool isEditingShortcut(const QKeyEvent& event) {
    if (event.modifiers() != Qt::ControlModifier)
        return false;
    const int key = event.key();
    return key == Qt::Key_A || key == Qt::Key_C || key == Qt::Key_X;
}

bool isPasteShortcut(const QKeyEvent& event) {
    return event.matches(QKeySequence::Paste) ||
           (event.modifiers() == Qt::ShiftModifier && event.key() == Qt::Key_Insert);
}

void explain(QLineEdit* field, const QString& text) {
    field->setProperty("pluvaneRefused", text); // what was last refused, for whoever looks
    QToolTip::showText(field->mapToGlobal(QPoint(0, field->height())), text, field);
}

} // namespace

NumericKeyFilter::NumericKeyFilter(QObject* parent) : QObject(parent) {
    setObjectName("NumericKeyFilter");
}

void NumericKeyFilter::guard(QLineEdit* field) {
    field->installEventFilter(this);
    field->setAcceptDrops(false); // a drop would go round the filter
    field->setAttribute(Qt::WA_InputMethodEnabled, false);
    field->setInputMethodHints(Qt::ImhFormattedNumbersOnly);
}

bool NumericKeyFilter::passes(const QKeyEvent& event) {
    if (isDialogKey(event.key()))
        return true;
    const std::optional<char16_t> code = characterCode(event);
    return !code || ModKeyPress(*code) != 0;
}

bool NumericKeyFilter::pasteAllowed(const QString& text) {
    if (text.isEmpty())
        return false;
    for (const QChar c : text)
        if (c.unicode() < 0x20 || ModKeyPress(c.unicode()) == 0)
            return false;
    return true;
}

bool NumericKeyFilter::paste(QLineEdit* field) {
    const QString text = QGuiApplication::clipboard()->text().trimmed();
    if (field->isReadOnly())
        return false;
    if (!pasteAllowed(text)) {
        // Refused whole rather than stripped: "0,5%" must not become "05".
        explain(
            field,
            QString("Only digits and a decimal point can be pasted here; \"%1\" was not pasted.")
                .arg(text.left(40)));
        return false;
    }
    field->insert(text);
    return true;
}

bool NumericKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (field && event->type() == QEvent::KeyPress) {
        const auto& key = *static_cast<QKeyEvent*>(event);
        if (isPasteShortcut(key)) {
            paste(field);
            return true;
        }
        if (isEditingShortcut(key))
            return false;
        if (!passes(key)) {
            // A character dropped without a word would turn "0,5" into "05" unseen.
            if (!key.text().isEmpty() && key.text().front().isPrint())
                explain(
                    field,
                    QString(
                        "Only digits and a decimal point can be typed here; \"%1\" was not typed.")
                        .arg(key.text()));
            return true;
        }
    }
    if (field && event->type() == QEvent::ContextMenu) {
        // The field's own menu, with its Paste going through the same rule.
        QMenu* menu = field->createStandardContextMenu();
        for (QAction* action : menu->actions()) {
            // Named "edit-paste" from Qt 6.5 on; before, known by its (translated) caption.
            if (action->objectName() != "edit-paste" &&
                !action->text().startsWith(QLineEdit::tr("&Paste")))
                continue;
            disconnect(action, &QAction::triggered, nullptr, nullptr);
            action->setObjectName("edit-paste");
            connect(action, &QAction::triggered, field, [this, field] { paste(field); });
        }
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace pluvane::gui
