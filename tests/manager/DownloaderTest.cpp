#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QThread>
#include <stdexcept>

#include "LoopbackHttp.h"
#include "common/DayCount.h"
#include "manager/DLoader.h"
#include "manager/HttpHeaders.h"
#include "support/QtWait.h"

using namespace vx;
using vxtest::TLoopbackHttp;
using vxtest::TRoute;
using vxtest::WaitUntil;

namespace {

struct Events {
  int data = 0, success = 0, error = 0;
  void Attach(TDownloader& d) {
    d.OnData = [this](TDownloader&) { ++data; };
    d.OnSuccess = [this](TDownloader&) { ++success; };
    d.OnError = [this](TDownloader&) { ++error; };
  }
  bool Ended() const { return success + error > 0; }
};

}  // namespace

TEST(HttpHeaders, RequestHeaders) {
  auto h = DownloadHeaders(0, 0);
  ASSERT_EQ(h.size(), 2u);
  EXPECT_EQ(h[0], (std::pair<std::string, std::string>{"Pragma", "no-cache"}));
  EXPECT_EQ(h[1], (std::pair<std::string, std::string>{"Cache-Control", "no-cache"}));
  EXPECT_EQ(DownloadHeaders(-500, 0)[2].second, "bytes=-500");
  EXPECT_EQ(DownloadHeaders(1000, 0)[2].second, "bytes=01000-");
  auto d = DownloadHeaders(0, EncodeDayCount({1994, 11, 6, 8, 49, 37}));
  EXPECT_EQ(d[2], (std::pair<std::string, std::string>{"If-Modified-Since", "Sun, 06 Nov 1994 08:49:37 GMT"}));
  EXPECT_EQ(HttpDate(EncodeDayCount({2026, 12, 7, 9, 5, 0})), "Mon, 07 Dec 2026 09:05:00 GMT");
  EXPECT_EQ(HttpDate(EncodeDayCount({1899, 12, 30})), "Sat, 30 Dec 1899 00:00:00 GMT");
  EXPECT_EQ(UrlFileName("http://h/a/b.zip"), "b.zip");
  EXPECT_EQ(UrlFileName("nothing"), "");
}

TEST(Downloader, FetchesABodyWithItsFields) {
  TLoopbackHttp server;
  server.Route("/data/file.txt", {200, {{"Last-Modified", "Sun, 06 Nov 1994 08:49:37 GMT"}}, "hello world"});
  TDownloader dl;
  Events ev;
  ev.Attach(dl);
  dl.Download(server.Url("/data/file.txt"));
  EXPECT_TRUE(dl.Busy());
  ASSERT_TRUE(WaitUntil([&] { return ev.Ended(); }));
  EXPECT_EQ(ev.success, 1);
  EXPECT_GE(ev.data, 1);
  const TDownloadedFile& f = dl.File();
  EXPECT_EQ(f.Data.view(), "hello world");
  EXPECT_EQ(f.ContentLength, 11);
  EXPECT_EQ(f.BytesReceived, 11);
  EXPECT_EQ(f.ResultText, "OK");
  EXPECT_EQ(f.ResultCode, 0);
  EXPECT_EQ(f.FileName, "file.txt");
  EXPECT_DOUBLE_EQ(f.LastModified, EncodeDayCount({1994, 11, 6, 8, 49, 37}));
  EXPECT_FALSE(dl.Busy());
  EXPECT_NE(server.LastRequest.find("Pragma: no-cache"), std::string::npos);
  EXPECT_NE(server.LastRequest.find("Cache-Control: no-cache"), std::string::npos);
  EXPECT_EQ(server.LastRequest.find("Range:"), std::string::npos);
  EXPECT_EQ(server.LastRequest.find("If-Modified-Since:"), std::string::npos);
}

TEST(Downloader, RangesDatesAndPartialContent) {
  TLoopbackHttp server;
  server.Route("/tail", {206, {{"Content-Range", "bytes 5-9/10"}}, "56789"});
  TDownloader dl;
  Events ev;
  ev.Attach(dl);
  dl.Download(server.Url("/tail"), -500, EncodeDayCount({2024, 1, 2, 3, 4, 5}));
  ASSERT_TRUE(WaitUntil([&] { return ev.Ended(); }));
  EXPECT_EQ(ev.success, 1);
  EXPECT_EQ(dl.File().Data.view(), "56789");
  EXPECT_EQ(dl.File().RangeStart, -500);
  EXPECT_NE(server.LastRequest.find("Range: bytes=-500"), std::string::npos);
  EXPECT_NE(server.LastRequest.find("If-Modified-Since: Tue, 02 Jan 2024 03:04:05 GMT"), std::string::npos);
}

TEST(Downloader, NoContentLengthAndRedirects) {
  TLoopbackHttp server;
  TRoute noLength{200, {}, std::string(70000, 'x')};
  noLength.ContentLength = false;
  server.Route("/nolen", noLength);
  server.Route("/moved", {302, {{"Location", "/nolen"}}, ""});
  TDownloader dl;
  Events ev;
  ev.Attach(dl);
  dl.Download(server.Url("/moved"));
  ASSERT_TRUE(WaitUntil([&] { return ev.Ended(); }));
  ASSERT_EQ(ev.success, 1) << dl.File().ResultText;
  EXPECT_EQ(dl.File().ContentLength, 0);
  EXPECT_EQ(dl.File().BytesReceived, 70000);
  EXPECT_EQ(dl.File().Data.size(), 70000u);
  EXPECT_EQ(dl.File().Url, server.Url("/moved"));
}

TEST(Downloader, NotModifiedAndErrorStatuses) {
  TLoopbackHttp server;
  server.Route("/same", {304, {}, ""});
  TDownloader dl;
  Events ev;
  ev.Attach(dl);
  dl.Download(server.Url("/same"), 0, EncodeDayCount({2024, 1, 1}));
  ASSERT_TRUE(WaitUntil([&] { return ev.Ended(); }));
  EXPECT_EQ(ev.error, 1);
  EXPECT_EQ(dl.File().ResultText, "Not Modified");
  EXPECT_EQ(dl.File().ResultCode, 0);
  EXPECT_TRUE(dl.File().Data.empty());

  ev = {};
  ev.Attach(dl);
  dl.Download(server.Url("/absent"));
  ASSERT_TRUE(WaitUntil([&] { return ev.Ended(); }));
  EXPECT_EQ(ev.error, 1);
  EXPECT_EQ(ev.success, 0);
  EXPECT_EQ(dl.File().ResultText, "Server reply code is 404");
  EXPECT_EQ(dl.File().ResultCode, 404);
}

TEST(Downloader, ABrokenConnectionIsAnError) {
  TLoopbackHttp server;
  TRoute cut{200, {}, std::string(1000, 'y')};
  cut.SendBytes = 100;
  server.Route("/cut", cut);
  TDownloader dl;
  Events ev;
  ev.Attach(dl);
  dl.Download(server.Url("/cut"));
  ASSERT_TRUE(WaitUntil([&] { return ev.Ended(); }));
  EXPECT_EQ(ev.error, 1);
  EXPECT_EQ(dl.File().ResultText.rfind("Connection Error ", 0), 0u) << dl.File().ResultText;
  EXPECT_NE(dl.File().ResultCode, 0);

  // Nobody listening at all.
  ev = {};
  ev.Attach(dl);
  dl.Download("http://127.0.0.1:1/x");
  ASSERT_TRUE(WaitUntil([&] { return ev.Ended(); }));
  EXPECT_EQ(ev.error, 1);
  EXPECT_EQ(dl.File().ResultText.rfind("Connection Error ", 0), 0u);
}

TEST(Downloader, AbortRaisesNothingAndBusyRefusesASecondStart) {
  TLoopbackHttp server;
  TRoute slow{200, {}, std::string(1000000, 'z')};
  slow.SendBytes = 1000;
  slow.Hang = true;
  server.Route("/slow", slow);
  server.Route("/ok", {200, {}, "fine"});
  TDownloader dl;
  Events ev;
  ev.Attach(dl);
  dl.Download(server.Url("/slow"));
  ASSERT_TRUE(WaitUntil([&] { return ev.data > 0; }));
  EXPECT_EQ(dl.File().ContentLength, 1000000);
  try {
    dl.Download(server.Url("/ok"));
    ADD_FAILURE() << "a second start must be refused";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "Downloader busy");
  }
  EXPECT_TRUE(dl.Busy());
  dl.Abort();
  EXPECT_FALSE(dl.Busy());
  const int dataSeen = ev.data;
  ASSERT_TRUE(vxtest::DeliverPosted());
  EXPECT_EQ(ev.success + ev.error, 0);
  EXPECT_EQ(ev.data, dataSeen);

  // The next download's end comes after anything the aborted one could send.
  dl.Download(server.Url("/ok"));
  ASSERT_TRUE(WaitUntil([&] { return ev.Ended(); }));
  EXPECT_EQ(dl.File().Data.view(), "fine");
  EXPECT_EQ(ev.success, 1);
  EXPECT_EQ(ev.error, 0);
}

TEST(Downloader, ABodyOverTheLimitFailsCleanly) {
  TLoopbackHttp server;
  server.Route("/big", {200, {}, std::string(5000, 'b')});
  TRoute unannounced{200, {}, std::string(5000, 'b')};
  unannounced.ContentLength = false;
  server.Route("/big2", unannounced);
  for (const char* path : {"/big", "/big2"}) {
    TDownloader dl;
    dl.MaxBodyBytes = 1000;
    Events ev;
    ev.Attach(dl);
    dl.Download(server.Url(path));
    ASSERT_TRUE(WaitUntil([&] { return ev.Ended(); }));
    EXPECT_EQ(ev.error, 1) << path;
    EXPECT_EQ(dl.File().ResultText.rfind("Download too large", 0), 0u) << dl.File().ResultText;
    EXPECT_LE(dl.File().Data.size(), 1000u);
  }
}

TEST(Downloader, BadUrlsFailAtOnce) {
  TDownloader dl;
  Events ev;
  ev.Attach(dl);
  dl.Download("not a url");
  EXPECT_EQ(ev.error, 1);
  EXPECT_EQ(dl.File().ResultCode, -1);
  EXPECT_FALSE(dl.Busy());
}

TEST(Downloader, AnUntrustedCertificateIsRefused) {
  // A local HTTPS server with a self-signed certificate: the download must
  // fail in the handshake instead of ignoring the security problem.
  auto read = [](const char* name) {
    QFile f(QString(VX_FIXTURES) + "/tls/" + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  };
  QSslConfiguration conf = QSslConfiguration::defaultConfiguration();
  conf.setLocalCertificate(QSslCertificate(read("selfsigned.crt")));
  conf.setPrivateKey(QSslKey(read("selfsigned.key"), QSsl::Rsa));
  ASSERT_FALSE(conf.localCertificate().isNull());
  QSslServer server;
  server.setSslConfiguration(conf);
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
  QObject::connect(&server, &QTcpServer::pendingConnectionAvailable, [&] {
    while (QTcpSocket* s = server.nextPendingConnection())
      QObject::connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
  });
  TDownloader dl;
  Events ev;
  ev.Attach(dl);
  dl.Download("https://127.0.0.1:" + std::to_string(server.serverPort()) + "/secret.zip");
  ASSERT_TRUE(WaitUntil([&] { return ev.Ended(); }));
  EXPECT_EQ(ev.error, 1);
  EXPECT_EQ(ev.success, 0);
  EXPECT_EQ(dl.File().ResultText.rfind("Connection Error ", 0), 0u) << dl.File().ResultText;
  EXPECT_NE(dl.File().ResultText.find("SSL"), std::string::npos) << dl.File().ResultText;
  EXPECT_TRUE(dl.File().Data.empty());
}

TEST(Downloader, ATransferThatReceivesNothingTimesOut) {
  TLoopbackHttp server;
  TRoute silent;
  silent.Silent = true;  // the connection is taken, the request read, and then nothing
  server.Route("/silent", silent);
  TRoute stalls{200, {}, std::string(100000, 's')};
  stalls.SendBytes = 5000;
  stalls.Hang = true;  // part of the body, then nothing more
  server.Route("/stalls", stalls);
  for (const char* path : {"/silent", "/stalls"}) {
    SCOPED_TRACE(path);
    TDownloader dl;
    dl.IdleTimeoutMs = 300;
    Events ev;
    ev.Attach(dl);
    dl.Download(server.Url(path));
    ASSERT_TRUE(WaitUntil([&] { return ev.Ended(); }, 5000));
    EXPECT_EQ(ev.error, 1);
    EXPECT_EQ(dl.File().ResultText, "Connection Error 4 (timed out: nothing received for 300 ms)");
    EXPECT_EQ(dl.File().ResultCode, 4);
    EXPECT_FALSE(dl.Busy());
  }
  EXPECT_NE(TDownloader().IdleTimeoutMs, 0);
  EXPECT_EQ(TDownloader().IdleTimeoutMs, 60000);

  // The wait is between pieces, not for the whole transfer: a slow body
  // that keeps coming is fine.
  TRoute trickle{200, {}, std::string(20000, 't')};
  trickle.Pieces = 8;
  trickle.PieceDelayMs = 100;
  server.Route("/trickle", trickle);
  TDownloader dl;
  dl.IdleTimeoutMs = 300;
  Events ev;
  ev.Attach(dl);
  dl.Download(server.Url("/trickle"));
  ASSERT_TRUE(WaitUntil([&] { return ev.Ended(); }, 5000));
  EXPECT_EQ(ev.success, 1) << dl.File().ResultText;
  EXPECT_EQ(dl.File().Data.size(), 20000u);
}

TEST(Downloader, ABodyWithoutLengthGrowsWithLittleSpareRoom) {
  TLoopbackHttp server;
  std::string body(20000000, '\0');
  for (size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>('a' + i % 23);
  TRoute noLength{200, {}, body};
  noLength.ContentLength = false;
  server.Route("/nolen", noLength);
  server.Route("/len", {200, {}, body});
  for (const char* path : {"/nolen", "/len"}) {
    SCOPED_TRACE(path);
    TDownloader dl;
    Events ev;
    ev.Attach(dl);
    dl.Download(server.Url(path));
    ASSERT_TRUE(WaitUntil([&] { return ev.Ended(); }, 30000));
    ASSERT_EQ(ev.success, 1) << dl.File().ResultText;
    ASSERT_EQ(dl.File().Data.size(), body.size());
    EXPECT_TRUE(dl.File().Data.view() == body);
    EXPECT_LE(static_cast<double>(dl.File().Data.capacity()), 1.5 * static_cast<double>(body.size()));
  }
}
