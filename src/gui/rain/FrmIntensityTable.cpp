#include "gui/rain/FrmIntensityTable.h"

#include "core/text/Text.h"

#include "gui/network/UndoCommands.h"

#include "gui/network/CanvasCommands.h"

#include "core/elements/ElementMessages.h"
#include "core/elements/FieldCheck.h"
#include "core/settings/ProjectSettings.h"
#include "gui/rain/IdfPlot.h"
#include "gui/rain/RainfallFile.h"
#include "gui/settings/FrmSelectIvalBasin.h"

#include <QApplication>
#include <QDate>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace pluvane::gui {

namespace {

constexpr const char* kDefaultLocation = "Atlanta";
const QString kRainfallTableFilter = "Rainfall Table(*.csv)|*.csv|";

const std::array<const char*, 7> kColumnHeadings{"1 yr",   "2 yrs",  "5 yrs",  "10 yrs",
                                                 "25 yrs", "50 yrs", "100 yrs"};
const std::array<const char*, 10> kRowHeadings{"5 min", "10 min", "15 min", "30 min", "1 hr",
                                               "2 hr",  "3 hr",   "6 hr",   "12 hr",  "24 hr"};
constexpr int kPeriods = static_cast<int>(kColumnHeadings.size()); // the grid's columns
constexpr int kDurations = static_cast<int>(kRowHeadings.size());  // the grid's rows

// The window's layout, in pixels.
constexpr int kCellWidth = 66;
constexpr int kCellColumnGap = 4;
constexpr int kCellRowGap = 3;
constexpr int kSectionGap = 4;   // between the name, the grid and the source
constexpr int kSourceLines = 7;  // the source field's height, in lines of text
constexpr int kSourceFrame = 10; // the source field's frame and margins, top and bottom together
constexpr int kPlotMinimumWidth = 440;
constexpr int kPlotMinimumHeight = 360;

} // namespace

FrmIntensityTable::FrmIntensityTable(AppContext& ctx, QWidget* parent)
    : ModelessDialog(ctx, parent, "FrmIntensityTable", "Rainfall Intensity Table",
                     Prompts::Icon::None) {
    QLabel* nameLabel = makeNameField();
    QGridLayout* grid = makeGrid();
    QLabel* sourceLabel = makeSourceField();
    markEditsOfNameAndSource();
    makePlot();
    const Buttons buttons = makeButtons();
    arrange(nameLabel, grid, sourceLabel, buttons);
    // Enter would save half-typed values: only Esc is bound, and it cancels.
    bindKeys(nullptr, true);
    orderTabs(buttons);
    connectButtons(buttons);
}

QLabel* FrmIntensityTable::makeNameField() {
    auto* label = new QLabel("Basin Name", this);
    label->setObjectName("Label3");
    m_name = makeField("TxtBasinName", false);
    label->setBuddy(m_name);
    return label;
}

QGridLayout* FrmIntensityTable::makeGrid() {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(kCellColumnGap);
    grid->setVerticalSpacing(kCellRowGap);
    for (int c = 0; c < kPeriods; ++c) {
        auto* heading = new QLabel(kColumnHeadings[static_cast<std::size_t>(c)], this);
        heading->setObjectName(QString("Label1_%1").arg(c));
        heading->setAlignment(Qt::AlignCenter);
        grid->addWidget(heading, 0, c + 1);
    }
    for (int r = 0; r < kDurations; ++r) {
        auto* heading = new QLabel(kRowHeadings[static_cast<std::size_t>(r)], this);
        heading->setObjectName(QString("Label2_%1").arg(r));
        grid->addWidget(heading, r + 1, 0);
        for (int c = 0; c < kPeriods; ++c)
            grid->addWidget(makeCell(c, r), r + 1, c + 1);
    }
    return grid;
}

QLineEdit* FrmIntensityTable::makeCell(int column, int row) {
    const QByteArray name = QString("Text%1_%2").arg(column + 1).arg(row).toUtf8();
    QLineEdit* field = makeField(name.constData(), true, kCellWidth);
    field->setAlignment(Qt::AlignRight);
    m_cells[static_cast<std::size_t>(column)][static_cast<std::size_t>(row)] = field;
    connect(field, &QLineEdit::textChanged, this, &FrmIntensityTable::refreshPlot);
    connect(field, &QLineEdit::textChanged, this, [this] { markEdited(true); });
    return field;
}

QLabel* FrmIntensityTable::makeSourceField() {
    auto* label = new QLabel("Source of these values", this);
    label->setObjectName("LblProvenance");
    m_provenance = new QPlainTextEdit(this);
    m_provenance->setObjectName("TxtProvenance");
    m_provenance->setTabChangesFocus(true);
    m_provenance->setPlaceholderText("Where the values come from, so that a design can cite them: "
                                     "publication, volume and version, series, point, date.");
    m_provenance->setFixedHeight(m_provenance->fontMetrics().lineSpacing() * kSourceLines +
                                 kSourceFrame);
    label->setBuddy(m_provenance);
    return label;
}

void FrmIntensityTable::markEditsOfNameAndSource() {
    connect(m_name, &QLineEdit::textChanged, this, [this] { markEdited(false); });
    connect(m_provenance, &QPlainTextEdit::textChanged, this, [this] { markEdited(false); });
}

void FrmIntensityTable::makePlot() {
    m_plot = new IdfPlot(this);
    m_plot->setMinimumSize(kPlotMinimumWidth, kPlotMinimumHeight);
    connect(m_name, &QLineEdit::textChanged, m_plot, &IdfPlot::setTitle);
}

FrmIntensityTable::Buttons FrmIntensityTable::makeButtons() {
    Buttons buttons{makeButton("CmdSelectBasin", "Change Basin"),
                    makeButton("CmdAdd", "Add New Basin"), makeButton("CmdUpdate", "Update"),
                    makeButton("CmdCancel", "Cancel"), makeButton("CmdImport", "Import...")};
    buttons.import->setToolTip("Fill the table from a precipitation-frequency file (CSV) for "
                               "review; nothing is stored before Update");
    return buttons;
}

void FrmIntensityTable::arrange(QLabel* nameLabel, QGridLayout* grid, QLabel* sourceLabel,
                                const Buttons& buttons) {
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(m_name, 1);
    auto* left = new QVBoxLayout;
    left->addLayout(nameRow);
    left->addSpacing(kSectionGap);
    left->addLayout(grid);
    left->addSpacing(kSectionGap);
    left->addWidget(sourceLabel);
    left->addWidget(m_provenance);
    left->addStretch();
    auto* body = new QHBoxLayout;
    body->addLayout(left);
    body->addWidget(m_plot, 1);
    auto* buttonRow = new QHBoxLayout;
    for (QPushButton* button : {buttons.selectBasin, buttons.add, buttons.update, buttons.cancel})
        buttonRow->addWidget(button);
    buttonRow->addStretch();
    buttonRow->addWidget(buttons.import);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(buttonRow);
}

void FrmIntensityTable::orderTabs(const Buttons& buttons) {
    // Tab walks the grid row by row, as a published table is read.
    QWidget* previous = m_name;
    for (int r = 0; r < kDurations; ++r)
        for (int c = 0; c < kPeriods; ++c) {
            setTabOrder(previous, cell(c, r));
            previous = cell(c, r);
        }
    setTabChain({previous, m_provenance, buttons.selectBasin, buttons.add, buttons.update,
                 buttons.cancel, buttons.import});
}

void FrmIntensityTable::connectButtons(const Buttons& buttons) {
    connect(buttons.selectBasin, &QPushButton::clicked, this, &FrmIntensityTable::changeBasin);
    connect(buttons.add, &QPushButton::clicked, this, &FrmIntensityTable::addNewBasin);
    connect(buttons.update, &QPushButton::clicked, this, &FrmIntensityTable::update);
    connect(buttons.cancel, &QPushButton::clicked, this, &QWidget::close);
    connect(buttons.import, &QPushButton::clicked, this, &FrmIntensityTable::importTable);
}

FrmIntensityTable* FrmIntensityTable::open(AppContext& ctx, QWidget* parent) {
    FrmIntensityTable* editor = ctx.existing<FrmIntensityTable>();
    QString problem;
    if (!editor) {
        editor = ctx.session().findOrMake<FrmIntensityTable>(
            [&] { return new FrmIntensityTable(ctx, parent); });
        problem = editor->load();
    } else if (editor->m_awaitingPicker) {
        // The user chose another location: it is shown, once unsaved edits may go.
        if (editor->mayDiscard())
            problem = editor->load();
        editor->m_awaitingPicker = false;
    } else if (editor->isNameLocked() && !editor->showsCurrentLocation()) {
        // Another location became current; a new location being typed is never wiped.
        if (editor->mayDiscard())
            problem = editor->load();
    }
    AppContext::present(editor);
    if (!problem.isEmpty())
        ctx.prompts().message(editor, "Error", problem, Prompts::Icon::Exclamation);
    return editor;
}

bool FrmIntensityTable::mayLeaveProject(AppContext& ctx) {
    FrmIntensityTable* editor = ctx.existing<FrmIntensityTable>();
    if (!editor || !editor->m_dirty || ProjectSession::isLeaving(editor))
        return true;
    AppContext::present(editor); // the question is about the grid the user sees
    if (!editor->mayDiscard())
        return false;
    ProjectSession::markLeaving(editor, true);
    return true;
}

QLineEdit* FrmIntensityTable::cell(int column, int row) const {
    return m_cells.at(static_cast<std::size_t>(column)).at(static_cast<std::size_t>(row));
}

IntensityGrid FrmIntensityTable::gridTexts() const {
    IntensityGrid grid;
    for (std::size_t r = 0; r < grid.size(); ++r)
        for (std::size_t c = 0; c < grid[r].size(); ++c)
            grid[r][c] = TextOf(m_cells[c][r]);
    return grid;
}

bool FrmIntensityTable::isNameLocked() const { return m_name->isReadOnly(); }

QString FrmIntensityTable::load() {
    Workspace& ws = m_ctx.workspace();
    // Without a current location Atlanta is shown, but not made current: the project records
    // no table until one is chosen or saved.
    const std::string& current = m_ctx.session().CurrentIntensityTable();
    m_loaded = current.empty() ? std::string(kDefaultLocation) : current;
    m_awaitingPicker = false;
    m_filling = true;
    struct Filled {
        FrmIntensityTable* editor;
        ~Filled() {
            editor->m_filling = false;
            editor->m_dirty = false;
            editor->m_cellsEdited = false;
            editor->m_imported = false;
        }
    } filled{this};
    m_name->setText(ToQString(m_loaded));
    setNameLocked(true);
    cell(0, 0)->setFocus(); // the locked name has nothing to type
    for (const auto& column : m_cells)
        for (QLineEdit* field : column)
            field->clear();
    m_provenance->clear();

    std::vector<IntensityRow> rows;
    try {
        rows = ReadLocationRows(ws, m_loaded);
        m_provenance->setPlainText(ToQString(ReadProvenance(ws, m_loaded)));
    } catch (const std::exception& e) {
        // Shown empty rather than not at all: Update can still store the table afresh.
        return QString("%1\n\nThe grid is shown empty.").arg(QString::fromStdString(e.what()));
    }
    for (std::size_t r = 0; r < rows.size() && r < 10; ++r)
        for (std::size_t c = 0; c < 7; ++c)
            m_cells[c][r]->setText(ToQString(rows[r].values[c]));
    if (rows.size() < 10)
        return QString(
                   "The rainfall table \"%1\" has %2 of its 10 rows; the missing rows are shown empty.")
            .arg(ToQString(m_loaded))
            .arg(rows.size());
    return {};
}

bool FrmIntensityTable::showsCurrentLocation() const {
    const std::string& current = m_ctx.session().CurrentIntensityTable();
    return isNameLocked() &&
           m_loaded == (current.empty() ? std::string(kDefaultLocation) : current);
}

void FrmIntensityTable::markEdited(bool cell) {
    if (m_filling)
        return;
    m_dirty = true;
    m_cellsEdited = m_cellsEdited || cell;
}

bool FrmIntensityTable::mayDiscard() {
    if (!m_dirty)
        return true;
    const Prompts::Answer answer = m_ctx.prompts().message(
        this, "Rainfall Intensity Table",
        QString(
            "The rainfall table \"%1\" has changes that were not saved with Update. Discard them?")
            .arg(m_name->text()),
        Prompts::Icon::Question, Prompts::Buttons::YesNo);
    return answer == Prompts::Answer::Yes;
}

std::string FrmIntensityTable::storedNameOf(const std::string& name) const {
    const std::string folded = QString::fromStdString(name).toCaseFolded().toStdString();
    for (const std::string& stored : ListLocations(m_ctx.workspace()))
        if (QString::fromStdString(stored).toCaseFolded().toStdString() == folded)
            return stored;
    return {};
}

void FrmIntensityTable::setNameLocked(bool locked) {
    m_name->setReadOnly(locked);
    // A stored location's name sits on the button face; a name to be typed gets the ordinary
    // field background (the system's window colour for text fields).
    const QPalette standard = QApplication::palette(m_name);
    QPalette palette = m_name->palette();
    palette.setColor(QPalette::Base, standard.color(locked ? QPalette::Button : QPalette::Base));
    m_name->setPalette(palette);
}

void FrmIntensityTable::refreshPlot() { m_plot->setGrid(gridTexts()); }

void FrmIntensityTable::changeBasin() {
    FrmSelectIvalBasin* picker = FrmSelectIvalBasin::open(m_ctx, parentWidget(), QString());
    m_awaitingPicker = true;
    // A picker closed without a choice leaves this editor as it stands.
    connect(picker, &QObject::destroyed, this, [this] { m_awaitingPicker = false; });
}

void FrmIntensityTable::addNewBasin() {
    m_filling = true;
    for (const auto& column : m_cells)
        for (QLineEdit* field : column)
            field->clear();
    m_name->clear();
    // A new location cites no source until the user writes one: the previous table's source
    // does not vouch for values typed now.
    m_provenance->clear();
    m_filling = false;
    m_cellsEdited = false;
    m_imported = false;
    setNameLocked(false);
    m_name->setFocus();
}

void FrmIntensityTable::update() {
    if (!isComplete() || !cellsAreNumbers())
        return;
    const std::optional<std::string> name = nameToStore();
    if (name)
        storeTable(*name);
}

bool FrmIntensityTable::isComplete() {
    bool complete = !m_name->text().isEmpty();
    for (const auto& column : m_cells)
        for (const QLineEdit* field : column)
            complete = complete && !field->text().isEmpty();
    if (!complete)
        showMessage(ToQString(kFillAllFields));
    return complete;
}

bool FrmIntensityTable::cellsAreNumbers() {
    // Every cell a plain decimal number: a pasted word would otherwise be stored and later
    // read as 0 in/hr.
    for (std::size_t c = 0; c < kColumnHeadings.size(); ++c)
        for (std::size_t r = 0; r < kRowHeadings.size(); ++r) {
            const std::string label = std::string(kRowHeadings[r]) + ", " + kColumnHeadings[c];
            if (!attempt([&] { CheckPlainNumber(label, TextOf(m_cells[c][r])); })) {
                m_cells[c][r]->setFocus();
                m_cells[c][r]->selectAll();
                return false;
            }
        }
    return true;
}

std::optional<std::string> FrmIntensityTable::nameToStore() {
    const std::string name = TextOf(m_name);
    std::string stored;
    if (!attempt([&] { stored = storedNameOf(name); }))
        return std::nullopt;
    if (stored.empty())
        return name;
    // Typed or imported over a stored location: the table is shared by every project.
    if (!isNameLocked() || m_imported) {
        const Prompts::Answer answer = m_ctx.prompts().message(
            this, "Rainfall Intensity Table",
            QString("Replace the rainfall table of %1 for every project that uses it?")
                .arg(ToQString(stored)),
            Prompts::Icon::Question, Prompts::Buttons::YesNo);
        if (answer != Prompts::Answer::Yes)
            return std::nullopt; // nothing stored; the user may rename and save again
    }
    return stored; // the listed spelling is the one projects record
}

void FrmIntensityTable::storeTable(const std::string& name) {
    Workspace& ws = m_ctx.workspace();
    std::string provenance = m_provenance->toPlainText().toStdString();
    if (m_cellsEdited)
        provenance =
            MarkHandEdited(provenance, QDate::currentDate().toString(Qt::ISODate).toStdString());
    const std::string previous = m_ctx.session().CurrentIntensityTable();
    if (!attempt([&] { SaveLocation(ws, name, gridTexts(), provenance); }))
        return;
    // Stored; whether the project takes it is asked below.
    m_dirty = false;
    // Another table becomes the project's only when the user says so: its intensities, and the
    // P2 of its sheet flow, change every peak flow. The switch is one undoable step.
    const bool other = !EqualsIgnoreCase(name, previous);
    if (!ws.ProjectPath.empty() &&
        (!other ||
         m_ctx.prompts().message(
             this, "Rainfall Intensity Table",
             QString("Make %1 the rainfall table of this project? (It was %2.)")
                 .arg(ToQString(name), previous.empty() ? QString("none") : ToQString(previous)),
             Prompts::Icon::Question, Prompts::Buttons::YesNo) == Prompts::Answer::Yes)) {
        if (attempt([&] { SetProjectIntensityTable(ws, name); })) {
            m_ctx.session().setCurrentIntensityTable(name);
            m_ctx.refreshIntensityTable();
            RecordSetupEdit(m_ctx, "Change Rainfall Table");
            if (other)
                OfferTcRecompute(m_ctx, this);
        }
    }
    close();
}

void FrmIntensityTable::importTable() {
    const std::optional<QString> path = m_ctx.prompts().openFileName(this, kRainfallTableFilter);
    if (!path)
        return;
    ImportedTable imported;
    if (!attempt([&] { imported = ReadRainfallFile(*path); }))
        return;
    m_filling = true;
    for (std::size_t r = 0; r < 10; ++r)
        for (std::size_t c = 0; c < 7; ++c)
            m_cells[c][r]->setText(ToQString(imported.table.grid[r][c]));
    m_provenance->setPlainText(ToQString(imported.table.provenance));
    // The file's values are a new location, named from the file, which the user may rename;
    // saving them over a stored location asks first.
    setNameLocked(false);
    const QString proposed = imported.table.name.empty() ? QFileInfo(*path).completeBaseName()
                                                         : ToQString(imported.table.name);
    m_name->setText(proposed);
    m_filling = false;
    m_dirty = true;
    m_imported = true;
    m_cellsEdited = false;
    m_name->setFocus();
    m_name->selectAll();
    if (!imported.warnings.empty()) {
        QStringList lines;
        for (const std::string& warning : imported.warnings)
            lines << "- " + ToQString(warning);
        m_ctx.prompts().message(this, "Rainfall Table Import",
                                "Please check these values before you press Update:\n\n" +
                                    lines.join('\n'),
                                Prompts::Icon::Exclamation);
    }
}

} // namespace pluvane::gui
