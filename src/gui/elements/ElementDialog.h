#pragma once

#include "core/elements/Catalogs.h"
#include "gui/elements/ModelessDialog.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

class QComboBox;

namespace pluvane {
enum class ElementKind;
struct Placement;
} // namespace pluvane

namespace pluvane::gui {

// Messages of the element dialogs about the canvas and the selection (the core owns the others).
QString NoCanvasMessage();
// `tag` empty: nothing of the dialog's kind is selected any more.
QString ElementGoneMessage(const QString& tag);

// What the add and update dialogs of all three element kinds share: the fill message, the field
// walk of Calculate and OK, the roughness lists, and the two saves (place and insert; update by
// the element the dialog was loaded from).
class ElementDialog : public ModelessDialog {
    Q_OBJECT
public:
    enum class Role { Add, Update };

    Role role() const { return m_role; }
    // The update dialog's element: the tag selected when it opened, whether or not a row had it.
    const std::string& loadedTag() const { return m_loadedTag; }
    // Update: shows the loaded element's row afresh (an undo or redo rewrote it), dropping what
    // was typed, so that OK cannot write the older values back.
    void reloadLoaded() {
        if (m_reload)
            m_reload();
    }

protected:
    ElementDialog(AppContext& ctx, QWidget* parent, Role role, const char* name,
                  const QString& caption, Prompts::Icon messageIcon);

    // An editable roughness list beside its n field, entry 0 chosen. Choosing an entry, or
    // typing an entry's exact text, writes its n into `nField`; other typed text leaves it.
    QComboBox* makeRoughnessList(const char* name, std::span<const RoughnessEntry> entries,
                                 QLineEdit* nField);
    // Shows a stored text in such a list: its entry when there is one, else the text as typed.
    static void showListText(QComboBox* list, const QString& text);

    void showFillMessage();

    // The Calculate and OK walk of the sub-basin and channel dialogs. The fields are checked in
    // `order`; a computed field (Tc, velocity) is passed over by Calculate, and the OK walk runs
    // Calculate when it finds one empty, then goes on.
    struct WalkStep {
        QLineEdit* field;
        bool computed;
    };
    enum class Calculation {
        Computed,
        Unfilled, // an input was empty: the fill message was shown, nothing computed
        Refused,  // the values leave the result undefined: their message was shown
    };
    Calculation calculateWalk(const std::vector<WalkStep>& order,
                              const std::function<void()>& compute);
    // True when the walk ends without a stop and the dialog may save.
    bool okWalk(const std::vector<WalkStep>& order, const std::function<void()>& compute);

    // Add: asks the canvas model for a new image, then inserts the row with its tag and place.
    // A failed insert takes the image back, so no image without a row is left on the canvas.
    bool placeAndInsert(ElementKind kind, const std::function<void(const Placement&)>& insert);
    // The number in the proposed name of a new element: the images of the kind's list,
    // template included (1 while no canvas is open).
    int proposedNumber(ElementKind kind) const;
    // The tag of the selected element when it is of `kind`, else "".
    std::string selectedTag(ElementKind kind) const;
    // Update, on opening: remembers the selected element of `kind` and shows its row through
    // `show` when `load` finds one (a missing row leaves the fields empty).
    template <class Fields, class Load, class Show>
    void loadSelected(ElementKind kind, Load load, Show show) {
        m_loadedTag = selectedTag(kind);
        if (m_loadedTag.empty())
            return;
        m_reload = [this, load, show] {
            attempt([&] {
                if (const std::optional<Fields> row = load(m_ctx.workspace(), m_loadedTag)) {
                    m_settingTc = true;
                    show(*row);
                    m_settingTc = false;
                    tcSettled();
                }
            });
        };
        m_reload();
    }
    // Tc follows its inputs: once `inputs` change (typed, pasted, filled by a list or a
    // calculator) the shown Tc and velocity (`computed`) are stale until Calculate, and OK or
    // Update computes them afresh — unless the user typed Tc after that change, which is then
    // kept as typed and marked "typed, not computed" (a note put in `grid` under Tc at `row`).
    void followTc(std::vector<QLineEdit*> inputs, std::vector<QLineEdit*> computed, QLineEdit* tc,
                  QGridLayout* grid, int row);
    // The shown values are the stored ones: neither stale nor typed (after loading a row).
    void tcSettled();
    bool tcStale() const { return m_tcStale; }
    bool tcTyped() const { return m_tcTyped; }

    // Update, on saving: rewrites the row the dialog was loaded from; `update` answers false
    // when no row has the tag, which is then said.
    bool updateLoaded(const std::function<bool(const std::string& tag)>& update);

private:
    void showTcNote();

    Role m_role;
    std::string m_loadedTag;
    std::function<void()> m_reload; // Update: reads m_loadedTag's row into the fields
    QLineEdit* m_tcField = nullptr;
    std::vector<QLineEdit*> m_tcInputs;
    std::vector<QLineEdit*> m_tcComputed;
    QLabel* m_tcNote = nullptr;
    bool m_tcStale = false;
    bool m_tcTyped = false;
    bool m_settingTc = false; // Calculate is writing Tc: not the user's typing
};

} // namespace pluvane::gui
