#pragma once

#include "gui/comments/UrlFetcher.h"

#include <QDialog>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace pluvane::gui {

class AppContext;

// "Comments": the user's comment, idea or problem description, sent with one GET to the
// comment server that the settings name (CommentEndpoint). Modeless; closing it drops the
// texts, and while a request runs the window stays live so that Cancel stops it.
class FrmBugReport final : public QDialog {
    Q_OBJECT
public:
    explicit FrmBugReport(AppContext& ctx, QWidget* parent = nullptr);

    // Shows the one comment window of the run and brings it forward.
    static FrmBugReport* open(AppContext& ctx);

    UrlFetcher& fetcher() { return *m_fetcher; }
    bool isBusy() const { return m_busy; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    // The steps of building the window, in the order the constructor takes them.
    void setUpWindow();
    void makeFields();
    void makeButtons();
    void arrange(QLabel* intro, QLabel* note);

    void submit();

    AppContext& m_ctx;
    QPlainTextEdit* m_contact;
    QLineEdit* m_os;
    QLineEdit* m_bugName;
    QPlainTextEdit* m_description;
    QPlainTextEdit* m_comments;
    QPushButton* m_submit;
    QPushButton* m_cancel;
    UrlFetcher* m_fetcher;
    bool m_busy = false;
    bool m_closeWhenDone = false;
};

// Whether the comment item is offered: only when the settings name a comment server.
bool CommentsAvailable();
// Keeps a "Submit Comments" item's visibility in step with the settings, read again each time
// `menu` opens.
void KeepCommentsItemVisibility(QMenu* menu, QAction* item);

} // namespace pluvane::gui
