#include "gui/network/UndoCommands.h"

#include "core/Error.h"
#include "core/network/NetworkMessages.h"
#include "core/network/NetworkModel.h"
#include "core/store/ProjectDb.h"
#include "gui/app/AppContext.h"
#include "gui/network/UndoWindows.h"

#include <QVariant>

#include <memory>

namespace pluvane::gui {

namespace {

// The open canvas's history, found through the context without widening its interface.
constexpr const char* kHistoryProperty = "pluvaneEditHistory";

QString kindWord(ElementKind kind) {
    switch (kind) {
    case ElementKind::Basin:
        return "Overland Flow";
    case ElementKind::Surface:
        return "Shallow Concentrated Flow";
    case ElementKind::Channel:
        return "Channel Flow";
    case ElementKind::Node:
        return "Node";
    }
    return {};
}

QString stepText(const QString& verb, ElementKind kind, const QString& name) {
    return name.isEmpty() ? verb + " " + kindWord(kind) : verb + " \"" + name + "\"";
}

} // namespace

EditHistory::EditHistory(AppContext& ctx, NetworkModel& model, QObject* parent)
    : QUndoStack(parent), m_ctx(ctx), m_model(model) {
    setObjectName("EditHistory");
    m_ctx.setProperty(kHistoryProperty, QVariant::fromValue(static_cast<QObject*>(this)));
}

EditHistory::~EditHistory() {
    if (of(m_ctx) == this)
        m_ctx.setProperty(kHistoryProperty, QVariant());
}

EditHistory* EditHistory::of(AppContext& ctx) {
    return qobject_cast<EditHistory*>(ctx.property(kHistoryProperty).value<QObject*>());
}

void EditHistory::snapshotProject() {
    m_rows.clear();
    for (ElementKind kind : kLoadOrder)
        for (const auto& [tag, name] : ReadElementNames(m_ctx.workspace(), kind))
            refresh(RowKey::element(kind, tag));
    refresh(RowKey::node());
    refresh(RowKey::project());
    refresh(RowKey::conveyance());
    refresh(RowKey::designSettings());
}

std::optional<RowValues> EditHistory::kept(const RowKey& key) const {
    const auto it = m_rows.find(key);
    return it == m_rows.end() ? std::nullopt : it->second;
}

void EditHistory::refresh(const RowKey& key) { m_rows[key] = ReadRow(m_ctx.workspace(), key); }

QString EditHistory::nameOf(ElementKind kind, const std::string& tag) const {
    const std::optional<RowValues> row = kept(RowKey::element(kind, tag));
    if (!row)
        return {};
    const auto name = row->find(std::string(kindInfo(kind).nameColumn));
    return name == row->end() || !name->second ? QString() : QString::fromStdString(*name->second);
}

void EditHistory::changed(const RowKey& key) {
    // The node and project rows record the rainfall table: the solve and the titles follow the
    // restored one.
    if (key == RowKey::node() || key == RowKey::project())
        m_ctx.refreshIntensityTable();
    emit m_ctx.networkChanged();
}

void EditHistory::perform(QUndoCommand* step) {
    std::unique_ptr<QUndoCommand> owned(step);
    owned->redo();
    pushWritten(owned.release());
}

void EditHistory::pushWritten(QUndoCommand* step) {
    m_recording = true;
    push(step);
    m_recording = false;
}

void EditHistory::deleteElement(ElementKind kind, int index) {
    const std::string tag = m_model.image(kind, index).tag;
    perform(new ElementPresenceCommand(*this, kind, index, false,
                                       stepText("Delete", kind, nameOf(kind, tag))));
}

void EditHistory::moveElement(ElementKind kind, int index, QPointF from, QPointF to) {
    const std::string tag = m_model.image(kind, index).tag;
    const QString name = kind == ElementKind::Node ? QString() : nameOf(kind, tag);
    perform(new MoveCommand(*this, kind, index, from, to, stepText("Move", kind, name)));
}

void EditHistory::recordAdded(ElementKind kind, const Placement& placed) {
    refresh(RowKey::element(kind, placed.tag));
    pushWritten(new ElementPresenceCommand(*this, kind, placed.index, true,
                                           stepText("Add", kind, nameOf(kind, placed.tag))));
}

void EditHistory::recordRowEdits(const std::vector<RowKey>& keys, const QString& what) {
    std::vector<RowEditCommand::Change> changes;
    for (const RowKey& key : keys) {
        const auto known = m_rows.find(key);
        std::optional<RowValues> after = ReadRow(m_ctx.workspace(), key);
        // A row never read before cannot be put back as it was: no step, only its new state.
        if (known == m_rows.end()) {
            m_rows[key] = std::move(after);
            continue;
        }
        RowEditCommand::Change change{key, known->second, std::move(after)};
        m_rows[key] = change.after;
        if (change.before != change.after)
            changes.push_back(std::move(change));
    }
    if (!changes.empty()) // an OK that changed nothing is no step
        pushWritten(new RowEditCommand(*this, std::move(changes), what));
}

ElementPresenceCommand::ElementPresenceCommand(EditHistory& history, ElementKind kind, int index,
                                               bool shownByRedo, const QString& text)
    : QUndoCommand(text), m_history(history), m_kind(kind), m_index(index),
      m_tag(history.model().image(kind, index).tag), m_shownByRedo(shownByRedo) {}

void ElementPresenceCommand::redo() {
    if (!m_history.recording())
        apply(m_shownByRedo);
}

void ElementPresenceCommand::apply(bool shown) {
    Workspace& ws = m_history.ctx().workspace();
    if (!SetElementDeleted(ws, m_kind, m_tag, !shown))
        throw Error(ElementGoneMessage(m_tag));
    // The image follows the mark only once the file holds it.
    NetworkModel& model = m_history.model();
    model.SetElementShown(m_kind, m_index, shown);
    std::optional<ElementRef>& selected = model.SelectedElement;
    if (!shown && selected && selected->kind == m_kind && selected->index == m_index)
        selected.reset();
    const RowKey key = RowKey::element(m_kind, m_tag);
    m_history.refresh(key);
    m_history.changed(key);
    if (!shown)
        CloseWindowsOfRemoved(m_history.ctx(), m_kind, m_tag);
}

MoveCommand::MoveCommand(EditHistory& history, ElementKind kind, int index, QPointF from,
                         QPointF to, const QString& text)
    : QUndoCommand(text), m_history(history), m_kind(kind), m_index(index), m_from(from), m_to(to) {
}

void MoveCommand::redo() {
    if (!m_history.recording())
        apply(m_to);
}

void MoveCommand::apply(QPointF position) {
    NetworkModel& model = m_history.model();
    const CanvasImage& image = model.image(m_kind, m_index);
    WriteElementPosition(m_history.ctx().workspace(), m_kind, image.tag,
                         static_cast<float>(position.x()), static_cast<float>(position.y()));
    model.MoveImage(m_kind, m_index, static_cast<float>(position.x()),
                    static_cast<float>(position.y()));
    const RowKey key = RowKey::element(m_kind, image.tag);
    m_history.refresh(key);
    m_history.changed(key);
}

RowEditCommand::RowEditCommand(EditHistory& history, std::vector<Change> changes,
                               const QString& text)
    : QUndoCommand(text), m_history(history), m_changes(std::move(changes)) {}

void RowEditCommand::undo() { apply(false); }

void RowEditCommand::redo() {
    if (!m_history.recording())
        apply(true);
}

void RowEditCommand::apply(bool after) {
    Workspace& ws = m_history.ctx().workspace();
    for (const Change& change : m_changes) {
        WriteRow(ws, change.key, after ? change.after : change.before);
        m_history.refresh(change.key);
    }
    for (const Change& change : m_changes) {
        m_history.changed(change.key);
        ReloadWindowsOfRow(m_history.ctx(), change.key);
    }
}

void RecordElementAdded(AppContext& ctx, ElementKind kind, const Placement& placed) {
    if (EditHistory* history = EditHistory::of(ctx))
        ctx.guard(ctx.mainWindow(), [&] { history->recordAdded(kind, placed); });
}

void RecordElementEdit(AppContext& ctx, const std::string& tag) {
    EditHistory* history = EditHistory::of(ctx);
    if (!history || tag.empty())
        return;
    // The kind is the list whose image carries the tag.
    for (ElementKind kind : kLoadOrder)
        for (const CanvasImage& image : history->model().images(kind))
            if (image.tag == tag) {
                const QString what = stepText("Edit", kind, history->nameOf(kind, tag));
                ctx.guard(ctx.mainWindow(),
                          [&] { history->recordRowEdits({RowKey::element(kind, tag)}, what); });
                return;
            }
}

void RecordSetupEdit(AppContext& ctx, const QString& what) {
    if (EditHistory* history = EditHistory::of(ctx))
        ctx.guard(ctx.mainWindow(), [&] {
            history->recordRowEdits({RowKey::project(), RowKey::node(), RowKey::designSettings()},
                                    what);
        });
}

void RecordRowsEdit(AppContext& ctx, const std::vector<RowKey>& keys, const QString& what) {
    if (EditHistory* history = EditHistory::of(ctx))
        ctx.guard(ctx.mainWindow(), [&] { history->recordRowEdits(keys, what); });
}

void RecordConveyanceEdit(AppContext& ctx, const QString& what) {
    if (EditHistory* history = EditHistory::of(ctx))
        ctx.guard(ctx.mainWindow(), [&] { history->recordRowEdits({RowKey::conveyance()}, what); });
}

} // namespace pluvane::gui
