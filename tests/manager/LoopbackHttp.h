// A tiny HTTP/1.1 server on 127.0.0.1 for the downloader tests. It runs on
// the test's own event loop; each route answers with a scripted response.
#pragma once

#include <QByteArray>
#include <QMap>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <string>
#include <vector>

namespace vxtest {

struct TRoute {
  int Status = 200;
  std::vector<std::pair<std::string, std::string>> Headers;
  std::string Body;
  bool ContentLength = true;  // send a Content-Length header
  int SendBytes = -1;         // send only this much of the body
  bool Hang = false;          // then keep the connection open (else close it)
  bool Silent = false;        // take the request and never answer at all
  int Pieces = 1;             // send the response in this many pieces...
  int PieceDelayMs = 0;       // ...this far apart
};

class TLoopbackHttp : public QObject {
 public:
  TLoopbackHttp() {
    Server_.listen(QHostAddress::LocalHost, 0);
    QObject::connect(&Server_, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* s = Server_.nextPendingConnection()) {
        auto* buffer = new QByteArray;
        QObject::connect(s, &QTcpSocket::readyRead, this, [this, s, buffer] {
          buffer->append(s->readAll());
          int end = buffer->indexOf("\r\n\r\n");
          if (end < 0) return;
          const QByteArray head = buffer->left(end);
          buffer->clear();
          Answer(s, head);  // may close the socket and free the buffer: last
        });
        QObject::connect(s, &QTcpSocket::disconnected, s, [s, buffer] {
          delete buffer;
          s->deleteLater();
        });
      }
    });
  }

  std::string Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(Server_.serverPort()) + path;
  }
  void Route(const std::string& path, TRoute r) { Routes_[QByteArray::fromStdString(path)] = std::move(r); }

  // What the last request sent, and how many requests came.
  std::string LastRequest;
  int Requests = 0;

 private:
  void Answer(QTcpSocket* s, const QByteArray& head) {
    ++Requests;
    LastRequest = head.toStdString();
    QByteArray path = head.mid(head.indexOf(' ') + 1);
    path = path.left(path.indexOf(' '));
    auto it = Routes_.find(path);
    TRoute r = it == Routes_.end() ? TRoute{404, {}, "no such route"} : it.value();
    QByteArray out = "HTTP/1.1 " + QByteArray::number(r.Status) + " X\r\nConnection: close\r\n";
    for (auto& [k, v] : r.Headers) out += QByteArray::fromStdString(k + ": " + v + "\r\n");
    if (r.ContentLength && r.Status != 304)
      out += "Content-Length: " + QByteArray::number(qsizetype(r.Body.size())) + "\r\n";
    out += "\r\n";
    size_t n = r.SendBytes >= 0 ? std::min(size_t(r.SendBytes), r.Body.size()) : r.Body.size();
    if (r.Status != 304) out += QByteArray(r.Body.data(), qsizetype(n));
    if (r.Silent) return;
    if (r.Pieces <= 1) {
      s->write(out);
      s->flush();
      if (!r.Hang) s->disconnectFromHost();
      return;
    }
    // The pieces go out from timers on this loop; the socket may be gone by then.
    QPointer<QTcpSocket> socket(s);
    const qsizetype step = (out.size() + r.Pieces - 1) / r.Pieces;
    for (int k = 0; k < r.Pieces; ++k) {
      const QByteArray piece = out.mid(k * step, step);
      const bool last = k == r.Pieces - 1;
      QTimer::singleShot(k * r.PieceDelayMs, this, [socket, piece, last, hang = r.Hang] {
        if (!socket) return;
        socket->write(piece);
        socket->flush();
        if (last && !hang) socket->disconnectFromHost();
      });
    }
  }

  QTcpServer Server_;
  QMap<QByteArray, TRoute> Routes_;
};

}  // namespace vxtest
