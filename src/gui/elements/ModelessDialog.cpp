#include "gui/elements/ModelessDialog.h"

#include "core/elements/ElementMessages.h"
#include "core/elements/FieldCheck.h"
#include "gui/elements/NumericKeyFilter.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace pluvane::gui {

std::string TextOf(const QLineEdit* field) { return field->text().toStdString(); }

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

ModelessDialog::ModelessDialog(AppContext& ctx, QWidget* parent, const char* name,
                               const QString& caption, Prompts::Icon messageIcon)
    : QDialog(parent), m_ctx(ctx), m_messageIcon(messageIcon) {
    setObjectName(name);
    setWindowTitle(caption);
    setWindowIcon(ctx.icon());
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

QLineEdit* ModelessDialog::makeField(const char* name, bool numeric, int width) {
    auto* field = new QLineEdit(this);
    field->setObjectName(name);
    if (width > 0)
        field->setFixedWidth(width);
    if (numeric) {
        if (!m_keyFilter)
            m_keyFilter = new NumericKeyFilter(this);
        m_keyFilter->guard(field);
        m_numericFields.push_back(field);
    }
    return field;
}

QLineEdit* ModelessDialog::makeResultField(const char* name, int width) {
    QLineEdit* field = makeField(name, false, width);
    field->setReadOnly(true);
    // Reached by a click (to copy the value), skipped by Tab: there is nothing to type.
    field->setFocusPolicy(Qt::ClickFocus);
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    field->setPalette(palette);
    return field;
}

QPushButton* ModelessDialog::makeButton(const char* name, const QString& text) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(name);
    return button;
}

QLabel* ModelessDialog::makeLabel(const char* name, const QString& text) {
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    return label;
}

QLineEdit* ModelessDialog::makeTextField(const char* name, QLabel* label) {
    QLineEdit* field = makeField(name, false);
    field->setMinimumWidth(220);
    if (label)
        label->setBuddy(field);
    return field;
}

QFrame* ModelessDialog::makeSeparator() {
    auto* line = new QFrame(this);
    line->setObjectName("Separator");
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

void ModelessDialog::addRow(QGridLayout* grid, int row, const QString& label, QWidget* field,
                            QWidget* beside) {
    auto* caption = new QLabel(label, this);
    caption->setBuddy(field->focusProxy() ? field->focusProxy() : field);
    grid->addWidget(caption, row, 0);
    // Fixed-width number fields keep their width; texts and lists fill the column.
    const auto alignment = [](QWidget* widget) {
        return widget->minimumWidth() == widget->maximumWidth() ? Qt::AlignLeft : Qt::Alignment();
    };
    grid->addWidget(field, row, 1, alignment(field));
    if (beside)
        grid->addWidget(beside, row, 2, alignment(beside));
}

void ModelessDialog::explainUnit(QWidget* field, const QString& unit) {
    field->setToolTip(unit);
    for (QLabel* label : findChildren<QLabel*>())
        if (label->buddy() == field)
            label->setToolTip(unit);
}

QWidget* ModelessDialog::fieldWithButton(QWidget* field, QWidget* button) {
    auto* cell = new QWidget(this);
    auto* layout = new QHBoxLayout(cell);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(field);
    layout->addWidget(button);
    layout->addStretch();
    cell->setFocusProxy(field);
    return cell;
}

void ModelessDialog::bindKeys(QPushButton* defaultButton, bool escapeCancels) {
    if (defaultButton) {
        defaultButton->setDefault(true);
    } else {
        // A shown dialog would otherwise make its first button the default.
        for (QPushButton* button : findChildren<QPushButton*>())
            button->setAutoDefault(false);
    }
    m_escapeCancels = escapeCancels;
}

void ModelessDialog::setTabChain(std::initializer_list<QWidget*> widgets) {
    QWidget* previous = nullptr;
    for (QWidget* widget : widgets) {
        if (previous)
            setTabOrder(previous, widget);
        previous = widget;
    }
}

void ModelessDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        // Closed, not merely hidden, so the window is deleted and the next opening starts
        // afresh; without a cancel button Esc does nothing.
        if (m_escapeCancels)
            close();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ModelessDialog::closeEvent(QCloseEvent* event) {
    // Esc, Cancel and the title bar ask before unsaved edits go; a project being left does not.
    if (!ProjectSession::isLeaving(this) && !mayDiscard()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void ModelessDialog::showMessage(const QString& text) {
    QWidget* over = isVisible() || !parentWidget() ? static_cast<QWidget*>(this) : parentWidget();
    m_ctx.prompts().message(over, ToQString(kElementErrorTitle), text, m_messageIcon,
                            Prompts::Buttons::Ok);
}

bool ModelessDialog::attempt(const std::function<void()>& work) {
    try {
        work();
        return true;
    } catch (const std::exception& e) {
        // Core errors carry a message written for the user; anything else is shown as it is
        // rather than ending the program.
        showMessage(QString::fromStdString(e.what()));
    }
    return false;
}

QString ModelessDialog::fieldLabel(const QLineEdit* field) const {
    const auto caption = [](const QLabel* label) {
        QString text = label->text().remove('&');
        const qsizetype unit = text.indexOf(" (");
        return (unit > 0 ? text.left(unit) : text).trimmed();
    };
    for (const QLabel* label : findChildren<QLabel*>())
        if (label->buddy() == field)
            return caption(label);
    // A field beside a list (n beside its roughness list) shares the row's caption.
    for (QGridLayout* grid : findChildren<QGridLayout*>()) {
        for (int i = 0; i < grid->count(); ++i) {
            QWidget* widget = grid->itemAt(i)->widget();
            if (widget != field && !(widget && widget->isAncestorOf(field)))
                continue;
            int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
            grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
            if (QLayoutItem* first = grid->itemAtPosition(row, 0))
                if (const auto* label = qobject_cast<const QLabel*>(first->widget()))
                    return caption(label);
        }
    }
    return field->objectName();
}

bool ModelessDialog::checkNumbers(const std::vector<QLineEdit*>& fields) {
    for (QLineEdit* field : fields.empty() ? m_numericFields : fields) {
        if (field->text().isEmpty() || field->isReadOnly() ||
            std::find(m_numericFields.begin(), m_numericFields.end(), field) ==
                m_numericFields.end())
            continue;
        if (!attempt([&] { CheckPlainNumber(fieldLabel(field).toStdString(), TextOf(field)); })) {
            field->setFocus();
            field->selectAll();
            return false;
        }
    }
    return true;
}

void ModelessDialog::giveUp() {
    m_gaveUp = true;
    // Queued: the opener may still be about to show this window.
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

} // namespace pluvane::gui
