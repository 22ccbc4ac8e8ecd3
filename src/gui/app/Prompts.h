#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class QPrinter;
class QWidget;

namespace pluvane::gui {

// Every message box and file dialog of the program goes through this one interface, so that
// tests can answer them instead of blocking on a modal window.
class Prompts {
public:
    enum class Icon { None, Information, Exclamation, Critical, Question };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
    enum class Answer { Ok, Cancel, Yes, No, Retry };

    virtual ~Prompts() = default;

    virtual Answer message(QWidget* parent, const QString& title, const QString& text, Icon icon,
                           Buttons buttons = Buttons::Ok) = 0;

    // `filter` uses the program's "Description(*.ext)|*.ext|" form. Empty when cancelled.
    // A save dialog asks before overwriting an existing file; a name typed without an extension
    // gets `defaultSuffix` when one is given (and the overwrite question is asked for that name).
    // `start` is where the dialog opens: a folder, or a file name proposed in its folder.
    virtual std::optional<QString> saveFileName(QWidget* parent, const QString& filter,
                                                const QString& defaultSuffix = {},
                                                const QString& start = {}) = 0;
    virtual std::optional<QString> openFileName(QWidget* parent, const QString& filter,
                                                const QString& start = {}) = 0;

    // Readies `printer` for one print through the print dialog (a printer or a PDF file); false
    // when the user cancelled.
    virtual bool setUpPrinter(QWidget* parent, QPrinter& printer) = 0;

    // The shortcut for the commonest box: title "Error", OK only, no icon.
    void error(QWidget* parent, const QString& text) { message(parent, "Error", text, Icon::None); }
};

// The real thing: modal Qt message boxes and file dialogs.
class QtPrompts : public Prompts {
public:
    Answer message(QWidget* parent, const QString& title, const QString& text, Icon icon,
                   Buttons buttons) override;
    std::optional<QString> saveFileName(QWidget* parent, const QString& filter,
                                        const QString& defaultSuffix = {},
                                        const QString& start = {}) override;
    std::optional<QString> openFileName(QWidget* parent, const QString& filter,
                                        const QString& start = {}) override;
    bool setUpPrinter(QWidget* parent, QPrinter& printer) override;
};

// For tests: records every message and answers from queues (OK / Yes / a cancelled dialog when
// a queue is empty).
class RecordingPrompts : public Prompts {
public:
    struct Shown {
        QString title;
        QString text;
        Icon icon;
        Buttons buttons;
    };
    std::vector<Shown> shown;
    std::vector<Answer> answers;     // taken from the front
    std::vector<QString> fileNames;  // taken from the front; "" answers as a cancelled dialog
    std::vector<QString> starts;     // where each file dialog was asked to open, in order
    std::vector<QString> printFiles; // each print goes to this PDF file; none or "": cancelled

    Answer message(QWidget* parent, const QString& title, const QString& text, Icon icon,
                   Buttons buttons) override;
    std::optional<QString> saveFileName(QWidget* parent, const QString& filter,
                                        const QString& defaultSuffix = {},
                                        const QString& start = {}) override;
    std::optional<QString> openFileName(QWidget* parent, const QString& filter,
                                        const QString& start = {}) override;
    bool setUpPrinter(QWidget* parent, QPrinter& printer) override;

    QStringList texts() const;
};

// "Rich Text File(*.rtf)|*.rtf|" -> "Rich Text File (*.rtf)", the form Qt's dialogs take.
QString QtFilter(const QString& programFilter);

} // namespace pluvane::gui
