#pragma once

#include "gui/app/Prompts.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QWidget>

#include <chrono>

namespace pluvane::gui {

// The program's HTTP client: a GET that waits for its answer in a local event loop, so the
// windows stay painted and the user can still cancel, with a transfer time-out and the
// Retry/Cancel question when the transfer fails.
class UrlFetcher : public QObject {
    Q_OBJECT
public:
    // Failure questions go to `prompts`, over `promptParent`.
    UrlFetcher(Prompts& prompts, QWidget* promptParent, QObject* parent = nullptr);
    ~UrlFetcher() override;

    // The longest wait for the server without any data arriving; 500 seconds unless set.
    void setTimeout(std::chrono::milliseconds timeout) { m_timeout = timeout; }
    std::chrono::milliseconds timeout() const { return m_timeout; }

    // Fetches `url` and returns the whole response body as text. A failed transfer (no
    // connection, a time-out, an HTTP error status) asks "Error!" Retry/Cancel: Retry sends
    // the same request again, Cancel returns "". A transfer stopped by cancel() returns ""
    // without asking.
    QString FetchUrl(const QUrl& url);

    // Stops the transfer that is running, if any; its FetchUrl returns "".
    void cancel();
    bool isRunning() const { return m_reply != nullptr; }

signals:
    // A request went out (each attempt, retries included).
    void requestSent();

private:
    // The text after the error number in the failure question.
    QString describe(const QNetworkReply& reply, const QUrl& url) const;

    Prompts& m_prompts;
    QPointer<QWidget> m_promptParent;
    QNetworkAccessManager m_manager;
    QPointer<QNetworkReply> m_reply;
    bool m_cancelled = false;
    std::chrono::milliseconds m_timeout{500'000};
};

// "Unable to Connect!" CR LF "[ N - description ]": the failure question's text.
QString UnableToConnectText(int errorNumber, const QString& description);

} // namespace pluvane::gui
