#pragma once

#include "core/ElementKind.h"
#include "core/store/RowSnapshot.h"

#include <QPointF>
#include <QUndoCommand>
#include <QUndoStack>

#include <map>
#include <optional>
#include <vector>

namespace pluvane {
class NetworkModel;
struct Placement;
} // namespace pluvane

namespace pluvane::gui {

class AppContext;

// The undo history of one canvas session. Every step has written the project file when it is
// pushed, and its undo and redo write the file again at once. The history keeps the last known
// text of every row, so that a dialog's save can be recorded after it has written: the kept row
// is the state before the write.
//
// undo() and redo() may throw Error (a database failure); the step then stays where it was.
// Callers run them under AppContext::guard.
class EditHistory : public QUndoStack {
    Q_OBJECT
public:
    EditHistory(AppContext& ctx, NetworkModel& model, QObject* parent = nullptr);
    ~EditHistory() override;

    // The history of the open canvas, null while none is open.
    static EditHistory* of(AppContext& ctx);

    // Reads every row of the project, the state the first step starts from.
    void snapshotProject();

    // Steps done here, written at once.
    void deleteElement(ElementKind kind, int index);
    void moveElement(ElementKind kind, int index, QPointF from, QPointF to);

    // Steps a dialog has already written.
    void recordAdded(ElementKind kind, const Placement& placed);
    void recordRowEdits(const std::vector<RowKey>& keys, const QString& what);

    // True while a step that is already written is pushed: its first redo does nothing.
    bool recording() const { return m_recording; }
    AppContext& ctx() { return m_ctx; }
    NetworkModel& model() { return m_model; }
    std::optional<RowValues> kept(const RowKey& key) const;
    // Re-reads a row into what the history keeps; called after every write of a step.
    void refresh(const RowKey& key);
    // The display name of an element (or the node) from the kept rows.
    QString nameOf(ElementKind kind, const std::string& tag) const;
    // Tells the canvas and the open windows that the file changed under them.
    void changed(const RowKey& key);

private:
    // Runs the step's redo (a failure throws and nothing is pushed), then pushes it.
    void perform(QUndoCommand* step);
    void pushWritten(QUndoCommand* step);

    AppContext& m_ctx;
    NetworkModel& m_model;
    bool m_recording = false;
    std::map<RowKey, std::optional<RowValues>> m_rows;
};

// An element's image and its row's Deleted mark, shown or hidden together: an add (redo shows)
// or a delete (redo hides).
class ElementPresenceCommand : public QUndoCommand {
public:
    ElementPresenceCommand(EditHistory& history, ElementKind kind, int index, bool shownByRedo,
                           const QString& text);
    void undo() override { apply(!m_shownByRedo); }
    void redo() override;

private:
    void apply(bool shown);
    EditHistory& m_history;
    ElementKind m_kind;
    int m_index;
    std::string m_tag;
    bool m_shownByRedo;
};

// One drag or one run of arrow keys: the image's position before and after.
class MoveCommand : public QUndoCommand {
public:
    MoveCommand(EditHistory& history, ElementKind kind, int index, QPointF from, QPointF to,
                const QString& text);
    void undo() override { apply(m_from); }
    void redo() override;

private:
    void apply(QPointF position);
    EditHistory& m_history;
    ElementKind m_kind;
    int m_index;
    QPointF m_from, m_to;
};

// A dialog's save: the rows as they were before it and as it left them.
class RowEditCommand : public QUndoCommand {
public:
    struct Change {
        RowKey key;
        std::optional<RowValues> before, after;
    };
    RowEditCommand(EditHistory& history, std::vector<Change> changes, const QString& text);
    void undo() override;
    void redo() override;

private:
    void apply(bool after);
    EditHistory& m_history;
    std::vector<Change> m_changes;
};

// The dialogs' save points, one call each; nothing happens while no canvas is open.
// An add dialog has inserted the row of a new element.
void RecordElementAdded(AppContext& ctx, ElementKind kind, const Placement& placed);
// An update dialog has rewritten the row of the element with `tag`.
void RecordElementEdit(AppContext& ctx, const std::string& tag);
// The project setup or a picker has rewritten the project and node rows.
void RecordSetupEdit(AppContext& ctx, const QString& what);
// Rows written together by one command (the Tc recompute): one step.
void RecordRowsEdit(AppContext& ctx, const std::vector<RowKey>& keys, const QString& what);
// The outlet conveyance dialog has written (or removed) the conveyance row.
void RecordConveyanceEdit(AppContext& ctx, const QString& what);

} // namespace pluvane::gui
