#include "gui/comments/FrmBugReport.h"

#include "core/Error.h"
#include "core/Settings.h"
#include "core/comments/CommentMessages.h"
#include "core/comments/CommentRequest.h"
#include "gui/app/AppContext.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>
#include <optional>
#include <utility>
#include <vector>

namespace pluvane::gui {

namespace {

// The window's layout, in pixels and lines.
constexpr int kFormWidth = 480;
constexpr int kIntroGap = 6; // below the introduction
constexpr int kRowGap = 2;   // below each field
constexpr int kNoteGap = 4;  // above the closing note
constexpr int kContactLines = 3;
constexpr int kDescriptionLines = 4;
constexpr int kCommentsLines = 6;

// The hourglass over the whole window, text fields included (they bring their own I-beam),
// for as long as it lives.
class BusyPointer {
public:
    explicit BusyPointer(QWidget* window) {
        std::vector<QWidget*> widgets{window};
        for (QWidget* child : window->findChildren<QWidget*>())
            if (child->testAttribute(Qt::WA_SetCursor))
                widgets.push_back(child);
        for (QWidget* widget : widgets) {
            std::optional<Qt::CursorShape> own;
            if (widget->testAttribute(Qt::WA_SetCursor))
                own = widget->cursor().shape();
            m_saved.emplace_back(widget, own);
            widget->setCursor(Qt::WaitCursor);
        }
    }
    ~BusyPointer() {
        for (auto& [widget, shape] : m_saved) {
            if (!widget)
                continue;
            if (shape)
                widget->setCursor(*shape);
            else
                widget->unsetCursor();
        }
    }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    std::vector<std::pair<QPointer<QWidget>, std::optional<Qt::CursorShape>>>
        m_saved; // none: the inherited one
};

// A multi-line field whose natural height is its given number of lines (Qt's own is a dozen).
class TextArea : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;
    QSize sizeHint() const override {
        return {QPlainTextEdit::sizeHint().width(), minimumHeight()};
    }
};

QPlainTextEdit* makeTextArea(QWidget* parent, const char* name, int lines) {
    auto* field = new TextArea(parent);
    field->setObjectName(name);
    field->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    field->setTabChangesFocus(true); // Tab moves on, as in every other form of the program
    const QFontMetrics metrics(field->font());
    field->setMinimumHeight(metrics.lineSpacing() * lines + 2 * (field->frameWidth() + 4));
    return field;
}

QLabel* makeText(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    return label;
}

std::string utf8(const QString& text) { return text.toUtf8().toStdString(); }

} // namespace

FrmBugReport::FrmBugReport(AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx) {
    setUpWindow();
    QLabel* intro = makeText(
        this, "LblIntro",
        "Please submit your comments, ideas of improvements, and what you'd like to see in our "
        "next version. Simply, please tell us how we can help you do your work easier and "
        "better.");
    makeFields();
    QLabel* note =
        makeText(this, "LblNote",
                 "Thank you for your submission. All fields are optional. We do not collect any "
                 "information that is not provided by this form.");
    makeButtons();
    m_fetcher = new UrlFetcher(ctx.prompts(), this, this);
    m_fetcher->setObjectName("Inet1");
    arrange(intro, note);
    setMinimumWidth(kFormWidth);
    resize(kFormWidth, heightForWidth(kFormWidth));
    connect(m_submit, &QPushButton::clicked, this, &FrmBugReport::submit);
    connect(m_cancel, &QPushButton::clicked, this, &QWidget::close);
}

void FrmBugReport::setUpWindow() {
    setObjectName("FrmBugReport");
    setWindowTitle("Comments");
    setWindowIcon(m_ctx.icon());
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void FrmBugReport::makeFields() {
    m_contact = makeTextArea(this, "txtContact", kContactLines);
    m_os = new QLineEdit(this);
    m_os->setObjectName("TxtOs");
    m_bugName = new QLineEdit(this);
    m_bugName->setObjectName("txtBugName");
    m_description = makeTextArea(this, "txtDesc", kDescriptionLines);
    m_comments = makeTextArea(this, "txtComments", kCommentsLines);
}

void FrmBugReport::makeButtons() {
    m_submit = new QPushButton("Submit", this);
    m_submit->setObjectName("CmdSubmit");
    m_cancel = new QPushButton("Cancel", this);
    m_cancel->setObjectName("CmdCancel");
    // Enter in a line field must not send half a comment: the buttons answer clicks and Space.
    m_submit->setAutoDefault(false);
    m_cancel->setAutoDefault(false);
}

void FrmBugReport::arrange(QLabel* intro, QLabel* note) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addSpacing(kIntroGap);
    const std::pair<const char*, QWidget*> rows[] = {{"How can we contact you?", m_contact},
                                                     {"Operating System", m_os},
                                                     {"Nature of Comment", m_bugName},
                                                     {"Description", m_description},
                                                     {"Comments", m_comments}};
    for (const auto& [caption, field] : rows) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(field);
        layout->addWidget(label);
        // The text areas share the height the window has beyond the natural one.
        layout->addWidget(field, qobject_cast<QPlainTextEdit*>(field) ? 1 : 0);
        layout->addSpacing(kRowGap);
    }
    layout->addSpacing(kNoteGap);
    layout->addWidget(note);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_submit);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
}

FrmBugReport* FrmBugReport::open(AppContext& ctx) {
    return ctx.open<FrmBugReport>([&] { return new FrmBugReport(ctx, ctx.mainWindow()); });
}

void FrmBugReport::submit() {
    if (m_busy)
        return;
    const CommentFields fields{utf8(m_os->text()), utf8(m_bugName->text()),
                               utf8(m_description->toPlainText()), utf8(m_contact->toPlainText()),
                               utf8(m_comments->toPlainText())};
    std::string url;
    double timeoutSeconds = kDefaultCommentTimeoutSeconds;
    const bool built = m_ctx.guard(this, [&] {
        const Settings settings = Settings::load();
        const std::optional<std::string> endpoint = ReadCommentEndpoint(settings);
        if (!endpoint)
            throw Error(NoCommentServerMessage(Settings::defaultPath()));
        url = BuildCommentUrl(*endpoint, fields);
        timeoutSeconds = ReadCommentTimeoutSeconds(settings);
    });
    if (!built)
        return; // nothing was sent; the texts stay for the user to shorten or send later

    QString response;
    {
        m_busy = true;
        m_submit->setEnabled(false);
        const BusyPointer busy(this);
        m_fetcher->setTimeout(
            std::chrono::milliseconds(std::llround(std::min(timeoutSeconds, 2.0e9) * 1000)));
        response = m_fetcher->FetchUrl(QUrl::fromEncoded(QByteArray::fromStdString(url)));
        m_submit->setEnabled(true);
        m_busy = false;
    }
    if (m_closeWhenDone) {
        close(); // the user cancelled while the request ran
        return;
    }
    if (response.contains("<br>")) {
        m_ctx.prompts().message(this, "Information", "Thank you for your submission",
                                Prompts::Icon::Information);
        close();
    } else {
        m_ctx.prompts().message(this, "Information",
                                "Unsuccessful Attempt.\r\nPlease try again later",
                                Prompts::Icon::Information);
    }
}

void FrmBugReport::closeEvent(QCloseEvent* event) {
    if (m_busy) {
        // The window must outlive the request it waits for: stop the transfer, and close once
        // Submit has come back from it.
        m_closeWhenDone = true;
        m_fetcher->cancel();
        event->ignore();
        return;
    }
    event->accept();
}

void FrmBugReport::reject() { close(); } // Esc: as Cancel, through the same checks

bool CommentsAvailable() { return ReadCommentEndpoint(Settings::load()).has_value(); }

void KeepCommentsItemVisibility(QMenu* menu, QAction* item) {
    item->setVisible(CommentsAvailable());
    QObject::connect(menu, &QMenu::aboutToShow, item,
                     [item] { item->setVisible(CommentsAvailable()); });
}

} // namespace pluvane::gui
