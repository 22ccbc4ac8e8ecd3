#include "gui/settings/IntensityPicker.h"

#include "core/settings/LocationChoices.h"
#include "gui/app/AppContext.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace pluvane::gui {

namespace {

constexpr int kProvenanceRole = Qt::UserRole;

} // namespace

IntensityPicker::IntensityPicker(AppContext& ctx, QWidget* parent, const char* name)
    : ModelessDialog(ctx, parent, name, "Select Intensity Table", Prompts::Icon::Exclamation) {
    QLabel* label1 = makeLabel("Label1", "Select Basin");
    m_list = new QListWidget(this);
    m_list->setObjectName("List1");
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    label1->setBuddy(m_list);

    QLabel* sourceLabel = makeLabel("LblProvenance", "Source of the highlighted table");
    m_provenance = new QPlainTextEdit(this);
    m_provenance->setObjectName("TxtProvenance");
    m_provenance->setReadOnly(true);
    m_provenance->setFocusPolicy(Qt::ClickFocus); // to select and copy; Tab passes it by
    m_provenance->setPlaceholderText("Highlight a location to see where its values come from.");
    // Room for a shipped table's source, point, date and note without scrolling.
    m_provenance->setMinimumHeight(m_provenance->fontMetrics().lineSpacing() * 10);
    sourceLabel->setBuddy(m_provenance);

    QPushButton* ok = makeButton("CmdOK", "OK");
    QPushButton* cancel = makeButton("CmdCancel", "Cancel");
    ok->setDefault(true);
    cancel->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label1);
    layout->addWidget(m_list, 1);
    layout->addWidget(sourceLabel);
    layout->addWidget(m_provenance, 1);
    layout->addLayout(buttons);
    resize(480, 480);

    setTabOrder(m_list, ok);
    setTabOrder(ok, cancel);

    connect(m_list, &QListWidget::itemSelectionChanged, this, &IntensityPicker::showProvenance);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &IntensityPicker::confirm);
    connect(ok, &QPushButton::clicked, this, &IntensityPicker::confirm);
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);

    std::vector<LocationChoice> choices;
    if (!attempt([&] { choices = ListLocationChoices(m_ctx.workspace()); })) {
        giveUp(); // nothing to choose from: the message said why
        return;
    }
    for (const LocationChoice& choice : choices) {
        auto* item = new QListWidgetItem(QString::fromStdString(choice.name), m_list);
        item->setData(kProvenanceRole, QString::fromStdString(choice.provenance));
    }
}

QString IntensityPicker::selectedLocation() const {
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? QString() : selected.front()->text();
}

void IntensityPicker::showProvenance() {
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty()) {
        m_provenance->clear();
        return;
    }
    const QString provenance = selected.front()->data(kProvenanceRole).toString();
    m_provenance->setPlainText(provenance.isEmpty() ? "No source is recorded for this location."
                                                    : provenance);
}

void IntensityPicker::confirm() {
    // OK with nothing selected is no choice: it acts as Cancel, and the stored table stays.
    const QString location = selectedLocation();
    if (location.isEmpty() || choose(location))
        close();
}

} // namespace pluvane::gui
