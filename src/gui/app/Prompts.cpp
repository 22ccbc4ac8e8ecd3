#include "gui/app/Prompts.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace pluvane::gui {

namespace {

QMessageBox::Icon qtIcon(Prompts::Icon icon) {
    switch (icon) {
    case Prompts::Icon::Information:
        return QMessageBox::Information;
    case Prompts::Icon::Exclamation:
        return QMessageBox::Warning;
    case Prompts::Icon::Critical:
        return QMessageBox::Critical;
    case Prompts::Icon::Question:
        return QMessageBox::Question;
    case Prompts::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons qtButtons(Prompts::Buttons buttons) {
    switch (buttons) {
    case Prompts::Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Prompts::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Prompts::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Prompts::Buttons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    case Prompts::Buttons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

template <class T>
T takeFront(std::vector<T>& queue, T fallback) {
    if (queue.empty())
        return fallback;
    T value = queue.front();
    queue.erase(queue.begin());
    return value;
}

} // namespace

QString QtFilter(const QString& programFilter) {
    const QStringList parts = programFilter.split('|', Qt::SkipEmptyParts);
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        const int paren = description.indexOf('(');
        if (paren > 0 && description[paren - 1] != ' ')
            description.insert(paren, ' ');
        filters << description;
    }
    return filters.join(";;");
}

Prompts::Answer QtPrompts::message(QWidget* parent, const QString& title, const QString& text,
                                   Icon icon, Buttons buttons) {
    QMessageBox box(qtIcon(icon), title, text, qtButtons(buttons), parent);
    switch (box.exec()) {
    case QMessageBox::Cancel:
        return Answer::Cancel;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Retry:
        return Answer::Retry;
    default:
        return Answer::Ok;
    }
}

std::optional<QString> QtPrompts::saveFileName(QWidget* parent, const QString& filter,
                                               const QString& defaultSuffix, const QString& start) {
    QFileDialog dialog(parent, QString(), start, QtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

std::optional<QString> QtPrompts::openFileName(QWidget* parent, const QString& filter,
                                               const QString& start) {
    // The dialog only accepts a file that exists.
    const QString name = QFileDialog::getOpenFileName(parent, QString(), start, QtFilter(filter));
    if (name.isEmpty())
        return std::nullopt;
    return name;
}

bool QtPrompts::setUpPrinter(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool RecordingPrompts::setUpPrinter(QWidget*, QPrinter& printer) {
    const QString file = takeFront(printFiles, QString());
    if (file.isEmpty())
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    return true;
}

Prompts::Answer RecordingPrompts::message(QWidget*, const QString& title, const QString& text,
                                          Icon icon, Buttons buttons) {
    shown.push_back({title, text, icon, buttons});
    const Answer fallback =
        buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes : Answer::Ok;
    return takeFront(answers, fallback);
}

std::optional<QString> RecordingPrompts::saveFileName(QWidget*, const QString&, const QString&,
                                                      const QString& start) {
    starts.push_back(start);
    const QString name = takeFront(fileNames, QString());
    return name.isEmpty() ? std::nullopt : std::optional<QString>(name);
}

std::optional<QString> RecordingPrompts::openFileName(QWidget* parent, const QString& filter,
                                                      const QString& start) {
    return saveFileName(parent, filter, QString(), start);
}

QStringList RecordingPrompts::texts() const {
    QStringList all;
    for (const Shown& box : shown)
        all << box.text;
    return all;
}

} // namespace pluvane::gui
