#include "gui/comments/UrlFetcher.h"

#include <QEventLoop>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <algorithm>
#include <limits>
#include <memory>

namespace pluvane::gui {

QString UnableToConnectText(int errorNumber, const QString& description) {
    return QString("Unable to Connect!\r\n[ %1 - %2 ]").arg(errorNumber).arg(description);
}

UrlFetcher::UrlFetcher(Prompts& prompts, QWidget* promptParent, QObject* parent)
    : QObject(parent), m_prompts(prompts), m_promptParent(promptParent) {
    // Each submission is a fresh GET: nothing is answered from a cache or kept between them.
    m_manager.setCookieJar(nullptr);
}

UrlFetcher::~UrlFetcher() { cancel(); }

void UrlFetcher::cancel() {
    if (m_reply) {
        m_cancelled = true;
        m_reply->abort(); // finishes the reply, which ends the waiting loop
    }
}

QString UrlFetcher::FetchUrl(const QUrl& url) {
    cancel(); // a transfer still running belongs to an earlier request
    m_cancelled = false;
    QNetworkRequest request(url);
    // Qt takes an int of milliseconds, and 0 would mean no time-out at all.
    request.setTransferTimeout(static_cast<int>(
        std::clamp<long long>(m_timeout.count(), 1, std::numeric_limits<int>::max())));
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);

    // Each pass is one attempt; only the user's Retry starts another.
    for (;;) {
        std::unique_ptr<QNetworkReply> reply(m_manager.get(request));
        m_reply = reply.get();
        emit requestSent();
        if (!reply->isFinished()) {
            QEventLoop loop;
            connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
            loop.exec();
        }
        m_reply = nullptr;
        if (!reply->isFinished()) {
            // The application is quitting and ended every loop: give up quietly.
            reply->abort();
            return {};
        }
        if (m_cancelled)
            return {};
        if (reply->error() == QNetworkReply::NoError)
            return QString::fromUtf8(reply->readAll());
        const Prompts::Answer answer = m_prompts.message(
            m_promptParent, "Error!", UnableToConnectText(reply->error(), describe(*reply, url)),
            Prompts::Icon::Critical, Prompts::Buttons::RetryCancel);
        if (answer != Prompts::Answer::Retry)
            return {};
    }
}

QString UrlFetcher::describe(const QNetworkReply& reply, const QUrl& url) const {
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid() && status.toInt() >= 400) {
        const QString reason =
            reply.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
        return QString("The server replied %1 %2").arg(status.toInt()).arg(reason).trimmed();
    }
    if (reply.error() == QNetworkReply::OperationCanceledError ||
        reply.error() == QNetworkReply::TimeoutError)
        return QString("No answer from the server within %1 seconds")
            .arg(double(m_timeout.count()) / 1000.0);
    // Qt's texts quote the whole address; the user's own texts in its query are no news to them.
    QString text = reply.errorString();
    text.replace(url.toString(QUrl::FullyEncoded), url.toString(QUrl::RemoveQuery));
    text.replace(url.toString(), url.toString(QUrl::RemoveQuery));
    return text;
}

} // namespace pluvane::gui
