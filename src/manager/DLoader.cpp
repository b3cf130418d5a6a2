#include "manager/DLoader.h"

#include <QDateTime>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>
#include <stdexcept>

#include "common/DayCount.h"
#include "manager/HttpHeaders.h"

namespace vx {

namespace {

std::string Hex(int32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%x", static_cast<unsigned>(v));
  return buf;
}

// The server's Last-Modified as a day count, taken as it is.
double DayCountOf(const QDateTime& t) {
  if (!t.isValid()) return 0;
  const QDateTime u = t.toUTC();
  const QDate d = u.date();
  const QTime tm = u.time();
  return EncodeDayCount({d.year(), d.month(), d.day(), tm.hour(), tm.minute(), double(tm.second())});
}

// "60 s", or "250 ms" for a wait that is not whole seconds.
std::string Duration(int ms) { return ms % 1000 == 0 ? std::to_string(ms / 1000) + " s" : std::to_string(ms) + " ms"; }

// Qt keeps no more than this of the body waiting for us; the rest stays in
// the network's hands until it is read.
constexpr qint64 kReadBuffer = qint64(4) << 20;

}  // namespace

TDownloader::TDownloader(QObject* parent)
    : QObject(parent), Net_(new QNetworkAccessManager(this)), Idle_(new QTimer(this)) {
  Idle_->setSingleShot(true);
  connect(Idle_, &QTimer::timeout, this, &TDownloader::TimedOut);
}

TDownloader::~TDownloader() {
  OnData = OnSuccess = OnError = nullptr;
  Abort();
}

void TDownloader::Download(const std::string& url, int32_t rangeStart, double lastModified) {
  if (Busy()) throw std::runtime_error("Downloader busy");
  File_ = TDownloadedFile();
  File_.Url = url;
  File_.FileName = UrlFileName(url);
  File_.LastModified = lastModified;
  File_.RangeStart = rangeStart;
  StatusChecked_ = false;

  const QUrl qurl(QString::fromStdString(url));
  if (!qurl.isValid() || qurl.scheme().isEmpty() || qurl.host().isEmpty()) {
    ReportError("Invalid URL", -1);
    return;
  }
  QNetworkRequest request(qurl);
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
  request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
  request.setMaximumRedirectsAllowed(10);
  for (const auto& [name, value] : DownloadHeaders(rangeStart, lastModified))
    request.setRawHeader(QByteArray::fromStdString(name), QByteArray::fromStdString(value));

  Reply_ = Net_->get(request);
  Reply_->setReadBufferSize(kReadBuffer);
  connect(Reply_, &QNetworkReply::readyRead, this, &TDownloader::ReadAvailable);
  connect(Reply_, &QNetworkReply::finished, this, &TDownloader::Finished);
  // Anything that comes in proves the other end is alive.
  auto alive = [this] { Idle_->start(); };
  connect(Reply_, &QNetworkReply::metaDataChanged, this, alive);
  connect(Reply_, &QNetworkReply::redirected, this, alive);
  connect(Reply_, &QNetworkReply::downloadProgress, this, alive);
  Idle_->start(IdleTimeoutMs);
}

void TDownloader::TimedOut() {
  if (!Reply_) return;
  ReportError("Connection Error " + Hex(QNetworkReply::TimeoutError) + " (timed out: nothing received for " +
                  Duration(Idle_->interval()) + ")",
              QNetworkReply::TimeoutError);
}

void TDownloader::Abort() {
  Idle_->stop();
  if (!Reply_) return;
  QNetworkReply* r = Reply_;
  Reply_ = nullptr;
  r->disconnect(this);
  r->abort();
  r->deleteLater();
}

void TDownloader::Release() { Abort(); }

void TDownloader::Raise(const TNotifyEvent& event) {
  if (event) event(*this);
}

void TDownloader::ReportError(std::string text, int32_t code) {
  File_.ResultText = std::move(text);
  File_.ResultCode = code;
  Release();
  Raise(OnError);
}

// Looks at the response status once, when the headers are in. False when
// the transfer has ended here (304 or an error status).
bool TDownloader::CheckStatus() {
  if (StatusChecked_) return true;
  const QVariant status = Reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute);
  if (!status.isValid()) return true;  // not an HTTP reply yet (or not HTTP at all)
  StatusChecked_ = true;
  const int code = status.toInt();
  if (code == 304) {
    File_.Data.clear();
    File_.ResultText = "Not Modified";
    File_.ResultCode = 0;
    Release();
    Raise(OnError);
    return false;
  }
  if (code != 200 && code != 206) {
    ReportError("Server reply code is " + std::to_string(code), code);
    return false;
  }
  bool ok = false;
  const qlonglong length = Reply_->header(QNetworkRequest::ContentLengthHeader).toLongLong(&ok);
  File_.ContentLength = ok && length > 0 && length <= INT32_MAX ? static_cast<int32_t>(length) : 0;
  File_.LastModified = DayCountOf(Reply_->header(QNetworkRequest::LastModifiedHeader).toDateTime());
  if (ok && length > MaxBodyBytes) {
    ReportError("Download too large: " + std::to_string(length) + " bytes", -1);
    return false;
  }
  // A body of known length gets its room at once (if the server then sends
  // more, the buffer grows as for one of unknown length).
  if (ok && length > 0) File_.Data.reserve(static_cast<size_t>(length));
  return true;
}

void TDownloader::ReadAvailable() {
  if (!Reply_ || !CheckStatus()) return;
  Idle_->start();
  // Straight into the body's buffer, without a copy in between.
  bool got = false;
  for (qint64 n; Reply_ && (n = Reply_->bytesAvailable()) > 0;) {
    if (static_cast<int64_t>(File_.Data.size()) + n > MaxBodyBytes) {
      ReportError("Download too large: more than " + std::to_string(MaxBodyBytes) + " bytes", -1);
      return;
    }
    const qint64 read = Reply_->read(File_.Data.Prepare(static_cast<size_t>(n)), n);
    if (read <= 0) break;
    File_.Data.Commit(static_cast<size_t>(read));
    got = true;
  }
  if (!got) return;
  File_.BytesReceived = static_cast<int32_t>(std::min<size_t>(File_.Data.size(), INT32_MAX));
  Raise(OnData);
}

void TDownloader::Finished() {
  if (!Reply_) return;
  if (!CheckStatus()) return;
  ReadAvailable();
  if (!Reply_) return;  // a handler aborted or the body was too large
  const QNetworkReply::NetworkError error = Reply_->error();
  if (error != QNetworkReply::NoError) {
    const QVariant status = Reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid() && status.toInt() >= 400) {
      ReportError("Server reply code is " + std::to_string(status.toInt()), status.toInt());
    } else {
      // The fixed text with Qt's code, then what went wrong in words (a
      // refused certificate, a dropped connection, an unknown host).
      ReportError("Connection Error " + Hex(error) + " (" + Reply_->errorString().toStdString() + ")", error);
    }
    return;
  }
  Release();
  File_.ResultText = "OK";
  File_.ResultCode = 0;
  Raise(OnSuccess);
}

}  // namespace vx
