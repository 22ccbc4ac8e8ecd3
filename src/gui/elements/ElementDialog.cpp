#include "gui/elements/ElementDialog.h"

#include "core/ElementKind.h"
#include "core/elements/ElementMessages.h"
#include "core/network/NetworkModel.h"
#include "gui/network/UndoCommands.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <optional>

namespace pluvane::gui {

QString NoCanvasMessage() {
    return "No project is open on the canvas, so the element cannot be added. Open a project "
           "and try again.";
}

QString ElementGoneMessage(const QString& tag) {
    if (tag.isEmpty())
        return "No element of this kind is selected on the canvas any more; nothing was saved.";
    return QString("The element \"%1\" no longer exists in the project; nothing was saved.")
        .arg(tag);
}

ElementDialog::ElementDialog(AppContext& ctx, QWidget* parent, Role role, const char* name,
                             const QString& caption, Prompts::Icon messageIcon)
    : ModelessDialog(ctx, parent, name, caption, messageIcon), m_role(role) {}

QComboBox* ElementDialog::makeRoughnessList(const char* name,
                                            std::span<const RoughnessEntry> entries,
                                            QLineEdit* nField) {
    auto* list = new QComboBox(this);
    list->setObjectName(name);
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    // Without completion the text is exactly what was typed, and a half-typed word never picks
    // an entry's n on the way.
    list->setCompleter(nullptr);
    for (const RoughnessEntry& entry : entries)
        list->addItem(ToQString(entry.description));
    const auto writeN = [list, nField, entries] {
        const int index =
            list->findText(list->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (index >= 0) {
            nField->setText(ToQString(entries[static_cast<std::size_t>(index)].n));
        }
    };
    connect(list, &QComboBox::currentIndexChanged, this, writeN);
    // Choosing the entry already shown rewrites an n typed over it.
    connect(list, &QComboBox::activated, this, writeN);
    connect(list, &QComboBox::editTextChanged, this, writeN);
    list->setCurrentIndex(0);
    writeN();
    return list;
}

void ElementDialog::showListText(QComboBox* list, const QString& text) {
    const int index = list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0)
        list->setCurrentIndex(index);
    list->setEditText(text);
}

void ElementDialog::showFillMessage() { showMessage(ToQString(kFillAllFields)); }

ElementDialog::Calculation ElementDialog::calculateWalk(const std::vector<WalkStep>& order,
                                                        const std::function<void()>& compute) {
    std::vector<QLineEdit*> inputs;
    for (const WalkStep& step : order) {
        if (!step.computed && step.field->text().isEmpty()) {
            showFillMessage();
            return Calculation::Unfilled;
        }
        if (!step.computed)
            inputs.push_back(step.field);
    }
    // Inputs in the dialog's order from the top, so the first bad one is the one named.
    std::reverse(inputs.begin(), inputs.end());
    if (!checkNumbers(inputs))
        return Calculation::Refused;
    m_settingTc = true;
    const bool computed = attempt(compute);
    m_settingTc = false;
    if (!computed)
        return Calculation::Refused;
    m_tcStale = false;
    m_tcTyped = false;
    showTcNote();
    return Calculation::Computed;
}

void ElementDialog::followTc(std::vector<QLineEdit*> inputs, std::vector<QLineEdit*> computed,
                             QLineEdit* tc, QGridLayout* grid, int row) {
    m_tcField = tc;
    m_tcInputs = std::move(inputs);
    m_tcComputed = std::move(computed);
    m_tcNote = new QLabel("typed, not computed", this);
    m_tcNote->setObjectName("LblTcTyped");
    QFont small = m_tcNote->font();
    small.setItalic(true);
    m_tcNote->setFont(small);
    grid->addWidget(m_tcNote, row, 1);
    // Its row is kept while the note is hidden, so the buttons below never move.
    QSizePolicy keep = m_tcNote->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    m_tcNote->setSizePolicy(keep);
    m_tcNote->hide();
    for (QLineEdit* input : m_tcInputs)
        connect(input, &QLineEdit::textChanged, this, [this] {
            m_tcStale = true;
            m_tcTyped = false;
            showTcNote();
        });
    // Any change of Tc that Calculate or loading did not make is the user's: typed or pasted.
    connect(tc, &QLineEdit::textChanged, this, [this] {
        if (m_settingTc)
            return;
        m_tcTyped = true;
        m_tcStale = false;
        showTcNote();
    });
}

void ElementDialog::tcSettled() {
    m_tcStale = false;
    m_tcTyped = false;
    showTcNote();
}

void ElementDialog::showTcNote() {
    if (m_tcNote)
        m_tcNote->setVisible(m_tcTyped);
}

bool ElementDialog::okWalk(const std::vector<WalkStep>& order,
                           const std::function<void()>& compute) {
    std::vector<QLineEdit*> all;
    for (const WalkStep& step : order)
        all.push_back(step.field);
    std::reverse(all.begin(), all.end());
    if (!checkNumbers(all))
        return false;
    if (m_tcField && !m_tcField->text().isEmpty()) {
        if (m_tcStale) {
            // An input changed since Tc was computed or loaded: the saved Tc is computed from
            // the saved inputs, with every check of Calculate (a zero slope among them).
            if (calculateWalk(order, compute) != Calculation::Computed)
                return false;
        } else if (m_tcTyped) {
            // A typed Tc is kept, but the inputs beside it still pass Calculate's checks.
            std::vector<QString> typed;
            for (QLineEdit* field : m_tcComputed)
                typed.push_back(field->text());
            const Calculation checked = calculateWalk(order, compute);
            m_settingTc = true;
            for (std::size_t i = 0; i < m_tcComputed.size(); ++i)
                m_tcComputed[i]->setText(typed[i]);
            m_settingTc = false;
            if (checked != Calculation::Computed)
                return false;
            m_tcTyped = true;
            showTcNote();
        }
    }
    for (const WalkStep& step : order) {
        if (!step.field->text().isEmpty())
            continue;
        if (!step.computed) {
            showFillMessage();
            return false;
        }
        // An empty input is left for the walk to find (and name again) further on; values the
        // formula refuses stop the save at once.
        if (calculateWalk(order, compute) == Calculation::Refused)
            return false;
    }
    return true;
}

bool ElementDialog::placeAndInsert(ElementKind kind,
                                   const std::function<void(const Placement&)>& insert) {
    NetworkModel* network = m_ctx.network();
    if (!network) {
        showMessage(NoCanvasMessage());
        return false;
    }
    std::optional<Placement> placed;
    if (!attempt([&] { placed = network->PlaceNewElement(kind, m_ctx.workspace()); }))
        return false;
    if (!attempt([&] { insert(*placed); })) {
        network->CancelPlacement(kind, placed->index);
        return false;
    }
    RecordElementAdded(m_ctx, kind, *placed);
    emit m_ctx.networkChanged();
    return true;
}

int ElementDialog::proposedNumber(ElementKind kind) const {
    const NetworkModel* network = m_ctx.network();
    return network ? static_cast<int>(network->images(kind).size()) : 1;
}

std::string ElementDialog::selectedTag(ElementKind kind) const {
    const NetworkModel* network = m_ctx.network();
    if (!network)
        return {};
    const auto& selected = network->SelectedElement;
    return selected && selected->kind == kind ? selected->tag : std::string();
}

bool ElementDialog::updateLoaded(const std::function<bool(const std::string& tag)>& update) {
    const std::string& tag = m_loadedTag;
    // The row the dialog was loaded from is the one rewritten, whatever is selected on the
    // canvas by now: writing these fields into another element's row would corrupt it.
    if (tag.empty()) {
        showMessage(ElementGoneMessage(QString()));
        return false;
    }
    bool updated = false;
    if (!attempt([&] { updated = update(tag); }))
        return false;
    if (!updated) {
        showMessage(ElementGoneMessage(QString::fromStdString(tag)));
        return false;
    }
    RecordElementEdit(m_ctx, tag);
    emit m_ctx.networkChanged();
    return true;
}

} // namespace pluvane::gui
