#include "gui/network/FrmDraw.h"

#include "core/Settings.h"
#include "core/review/ProjectReview.h"
#include "gui/app/AppContext.h"
#include "gui/network/CanvasView.h"
#include "gui/network/FrmReview.h"

#include <QAction>
#include <QMenu>

namespace pluvane::gui {

void FrmDraw::refreshReview() {
    std::vector<Finding> findings;
    // The markers are a help, not a command: a failed read leaves the canvas unmarked.
    try {
        findings = ReviewProject(m_ctx.workspace());
    } catch (const std::exception&) {
    }
    std::set<std::string> warned;
    for (const Finding& finding : findings)
        if (finding.severity == Severity::Warning && finding.element)
            warned.insert(*finding.element);
    m_view->setWarned(std::move(warned));
    if (m_review)
        m_review->showFindings(std::move(findings));
}

void FrmDraw::openReview() {
    if (!m_review) {
        m_review = new FrmReview(this);
        connect(m_review, &FrmReview::elementChosen, this, &FrmDraw::selectTag);
        connect(m_review, &FrmReview::refreshRequested, this, &FrmDraw::refreshReview);
    }
    // Asked for by the user, so a project that cannot be read is said, not passed over.
    std::vector<Finding> findings;
    if (!m_ctx.guard(this, [&] { findings = ReviewProject(m_ctx.workspace()); }))
        return;
    m_review->showFindings(std::move(findings));
    m_review->show();
    m_review->raise();
    m_review->activateWindow();
}

void FrmDraw::selectTag(const QString& tag) {
    const std::string wanted = tag.toStdString();
    for (ElementKind kind : {ElementKind::Basin, ElementKind::Surface, ElementKind::Channel}) {
        const auto& images = m_model.images(kind);
        for (int i = 0; i < static_cast<int>(images.size()); ++i) {
            const CanvasImage& image = images[static_cast<std::size_t>(i)];
            if (image.tag == wanted && image.visible) {
                m_model.Select(kind, i);
                m_view->sync();
                m_view->ensureVisible(image.left, image.top, image.width, image.height);
                return;
            }
        }
    }
}

// Just above "Rainfall Source in Report", kept the same way in the settings file the command line
// reads too.
void FrmDraw::addReviewToggle(QMenu* menu, QAction* before) {
    auto* toggle = new QAction("Review Notes in Report", menu);
    menu->insertAction(before, toggle);
    toggle->setObjectName("MnuReportReview");
    toggle->setCheckable(true);
    toggle->setChecked(ReportReviewNotesEnabled(Settings::load()));
    connect(menu, &QMenu::aboutToShow, toggle,
            [toggle] { toggle->setChecked(ReportReviewNotesEnabled(Settings::load())); });
    connect(toggle, &QAction::triggered, this, [this, toggle](bool on) {
        const bool saved = m_ctx.guard(this, [on] {
            Settings settings = Settings::load();
            SetReportReviewNotes(settings, on);
            settings.save();
        });
        if (!saved)
            toggle->setChecked(!on);
    });
}

} // namespace pluvane::gui
