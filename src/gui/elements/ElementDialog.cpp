#include "elements/ElementDialog.h"

#include "ElementKind.h"
#include "elements/ElementMessages.h"
#include "network/NetworkModel.h"
#include "network/UndoCommands.h"

#include <QComboBox>
#include <QLineEdit>

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
    for (const WalkStep& step : order) {
        if (!step.computed && step.field->text().isEmpty()) {
            showFillMessage();
            return Calculation::Unfilled;
        }
    }
    return attempt(compute) ? Calculation::Computed : Calculation::Refused;
}

bool ElementDialog::okWalk(const std::vector<WalkStep>& order,
                           const std::function<void()>& compute) {
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
    const auto& selected = m_ctx.workspace().SelectedElement;
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
