// TDownloader: fetches one URL at a time into memory, asynchronously, and
// reports progress, success and failure through events on the thread that
// owns it. Redirects are followed (never from HTTPS down to HTTP) and TLS
// certificates are verified. A transfer that receives nothing for
// IdleTimeoutMs fails, so a server that accepts the connection and never
// answers cannot stall a job for ever.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <string>

#include "manager/ByteBuffer.h"

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

namespace vx {

struct TDownloadedFile {
  std::string Url;
  std::string FileName;       // the URL after its last "/"
  double LastModified = 0;    // request: If-Modified-Since; reply: Last-Modified (day count, 0 = none)
  int32_t ContentLength = 0;  // 0 when the server did not say
  int32_t BytesReceived = 0;
  int32_t RangeStart = 0;  // 0 whole, -n the last n bytes, n from byte n on
  TByteBuffer Data;
  std::string ResultText;  // "OK", "Not Modified" or the error message
  int32_t ResultCode = 0;  // 0, the HTTP status, the network error or -1
};

class TDownloader : public QObject {
  Q_OBJECT
 public:
  using TNotifyEvent = std::function<void(TDownloader& sender)>;

  explicit TDownloader(QObject* parent = nullptr);
  ~TDownloader() override;

  // Starts a GET and returns at once. Throws std::runtime_error
  // ("Downloader busy") while a transfer runs; that transfer goes on.
  void Download(const std::string& url, int32_t rangeStart = 0, double lastModified = 0);
  // Cancels the running transfer; no event follows.
  void Abort();
  bool Busy() const { return Reply_ != nullptr; }
  const TDownloadedFile& File() const { return File_; }

  // A body larger than this fails cleanly instead of filling the memory.
  int64_t MaxBodyBytes = int64_t(1) << 30;
  // How long a transfer may receive nothing at all (connecting, waiting for
  // the reply, or between two pieces of the body) before it fails with
  // "Connection Error" naming the wait. Read when Download starts.
  static constexpr int kDefaultIdleTimeoutMs = 60000;
  int IdleTimeoutMs = kDefaultIdleTimeoutMs;

  TNotifyEvent OnData;
  TNotifyEvent OnSuccess;
  TNotifyEvent OnError;

 private:
  bool CheckStatus();
  void ReadAvailable();
  void Finished();
  void TimedOut();
  void ReportError(std::string text, int32_t code);
  void Release();
  void Raise(const TNotifyEvent& event);

  QNetworkAccessManager* Net_;
  QNetworkReply* Reply_ = nullptr;
  QTimer* Idle_;
  bool StatusChecked_ = false;
  TDownloadedFile File_;
};

}  // namespace vx
