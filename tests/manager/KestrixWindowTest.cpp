// The manager's window end to end against a loopback server.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>

#include "Gen.h"
#include "LoopbackHttp.h"
#include "ManagerTestUtil.h"
#include "common/Ini.h"
#include "common/StatusLabel.h"
#include "common/TextUtil.h"
#include "manager/DLoader.h"
#include "manager/HeadlessDownload.h"
#include "manager/Job.h"
#include "manager/MainForm.h"
#include "manager/Sources.h"
#include "manager/UrlSettings.h"
#include "support/QtWait.h"

using namespace vx;
using vxtest::TLoopbackHttp;
using vxtest::TRoute;
using vxtest::WaitUntil;

namespace {

// A downloadable body for each source, from the generators.
std::string BodyOf(int source) {
  switch (source) {
    case srIota: return gen::ZipWith("doc.kml", gen::GenerateIotaKml(30));
    case srLotwUsers: return "K1ABC,2024-01-01\r\nG3XYZ,2023-05-06\r\n";
    case srFcc: {
      gen::TFccOptions o;
      o.Records = 300;
      return gen::ZipWith("EN.dat", gen::GenerateFccEn(o));
    }
    case srRac: return gen::ZipWith("amateur.rpt", gen::GenerateAmateurRpt(200));
    case srCanadianSpecial: return gen::ZipWith("ind_speciaux.csv", gen::GenerateSpecialCalls(20));
    case srSsnForecast: return R"([{"time-tag": "2098-01", "predicted_ssn": 10.0}])";
    default: return gen::ZipWith("rda.txt", gen::GenerateRdaList(100));
  }
}

// The file each source's job writes.
const char* OutputOf(int source) {
  static const char* const kFiles[] = {"IotaRef.lst", "lotw1.txt", "FccCB.idx", "RacCB.idx",
                                       "CanSpec.lst", "RdaCB.idx", "SSN.dat"};
  return kFiles[source];
}

struct Window : testing::Test {
  std::string Home, Ref, Ini;
  TLoopbackHttp Server;
  std::vector<std::string> Messages;

  void SetUp() override {
    Home = test::FreshFolder("window");
    Ref = Home + "Reference/";
    Ini = Home + "Kestrix.ini";
    MakeDirectories(Ref);
    WriteFileAtomic(Ref + "Prefix.lst", gen::GeneratePrefixList());
    WriteFileAtomic(Ref + "IotaDxcc.lst", gen::GenerateIotaDxcc(30));
    WriteFileAtomic(Ref + "ZipLst.lst", gen::GenerateZipList());
  }

  // A form whose source address points at the loopback server.
  std::unique_ptr<TMainForm> Open(int source, const std::string& path) {
    TIniFile ini = TIniFile::Load(Ini);
    ini.WriteString("URL", SourceInfo(source).Name, Server.Url(path));
    ini.UpdateFile();
    auto form = std::make_unique<TMainForm>(source, Ini, Ref);
    form->ShowMessage = [this](TMainForm::TMessageKind, const QString& t) { Messages.push_back(t.toStdString()); };
    form->Load();
    form->show();
    return form;
  }
  // Lines of "IotaRef.lst" whose prefixes are empty.
  static int EmptyPrefixes(const std::string& refList) {
    int n = 0;
    for (size_t at = refList.find("  () "); at != std::string::npos; at = refList.find("  () ", at + 1)) ++n;
    return n;
  }
  static std::string StatusOf(TMainForm& f) { return f.StatusText().toStdString(); }
  static std::string Buttons(TMainForm& f) {
    return std::string(f.DownloadBtn->isEnabled() ? "D" : "-") + (f.AbortBtn->isEnabled() ? "A" : "-") +
           (f.CloseBtn->isEnabled() ? "C" : "-");
  }
};

}  // namespace

TEST_F(Window, ShowsTheSourceAndItsAddress) {
  auto f = Open(srFcc, "/fcc.zip");
  EXPECT_EQ(f->windowTitle().toStdString(), "Download FCC callsign database");
  EXPECT_EQ(f->UrlEdit->text().toStdString(), Server.Url("/fcc.zip"));
  EXPECT_EQ(StatusOf(*f), "Ready");
  EXPECT_EQ(Buttons(*f), "D-C");
  EXPECT_FALSE(f->ProgressBar->isVisible());
  EXPECT_EQ(f->size(), QSize(431, 123));
}

// A fresh installation has neither lookup list in the reference folder: the
// IOTA job still runs, and says once, with the whole path, what is missing.
TEST_F(Window, TheIotaSourceWorksWithoutItsLookupListsAndSaysWhatTheyAdd) {
  RemoveFile(Ref + "IotaDxcc.lst");
  RemoveFile(Ref + "Prefix.lst");
  Server.Route("/iota", {200, {}, BodyOf(srIota)});
  auto iota = Open(srIota, "/iota");
  EXPECT_EQ(StatusOf(*iota), "Ready");
  EXPECT_EQ(Buttons(*iota), "D-C");
  EXPECT_TRUE(Messages.empty());
  iota->DownloadBtn->click();
  ASSERT_TRUE(WaitUntil([&] { return StatusOf(*iota) == "DONE" || !Messages.empty(); }));
  EXPECT_EQ(StatusOf(*iota), "DONE");
  EXPECT_EQ(iota->ExitCode(), 0);
  ASSERT_EQ(Messages.size(), 1u);
  EXPECT_NE(Messages[0].find("\"" + Ref + "IotaDxcc.lst\""), std::string::npos) << Messages[0];
  const std::string bare = test::Slurp(Ref + "IotaRef.lst");
  EXPECT_EQ(SplitLines(bare).size(), 31u);
  EXPECT_EQ(EmptyPrefixes(bare), 30);

  // A list that is there but cannot be used still stops the IOTA job before
  // it downloads, and only that job.
  Messages.clear();
  WriteFileAtomic(Ref + "IotaDxcc.lst", gen::GenerateIotaDxcc(30));
  auto broken = Open(srIota, "/iota");
  EXPECT_NE(StatusOf(*broken).find(Ref + "Prefix.lst"), std::string::npos) << StatusOf(*broken);
  EXPECT_EQ(broken->StatusLabel->styleSheet().toStdString(), "color: red;");
  EXPECT_EQ(Buttons(*broken), "D-C");
  auto lotw = Open(srLotwUsers, "/lotw");
  EXPECT_EQ(StatusOf(*lotw), "Ready");

  // Both lists in place: the prefixes are filled in and nothing is said.
  WriteFileAtomic(Ref + "Prefix.lst", gen::GeneratePrefixList());
  auto full = Open(srIota, "/iota");
  EXPECT_EQ(StatusOf(*full), "Ready");
  full->DownloadBtn->click();
  ASSERT_TRUE(WaitUntil([&] { return StatusOf(*full) == "DONE" || !Messages.empty(); }));
  EXPECT_EQ(StatusOf(*full), "DONE");
  EXPECT_TRUE(Messages.empty());
  EXPECT_LT(EmptyPrefixes(test::Slurp(Ref + "IotaRef.lst")), 10);
}

TEST_F(Window, EverySourceDownloadsAndEndsInDone) {
  for (int source = 0; source < kSourceCount; ++source) {
    SCOPED_TRACE(source);
    Server.Route("/src" + std::to_string(source), {200, {}, BodyOf(source)});
    auto f = Open(source, "/src" + std::to_string(source));
    f->DownloadBtn->click();
    EXPECT_EQ(Buttons(*f), "-A-");
    ASSERT_TRUE(WaitUntil([&] {
      return StatusOf(*f) == "DONE" || StatusOf(*f).rfind("Download failed", 0) == 0 ||
             (!Messages.empty() && !f->CloseBtn->isEnabled());
    }));
    EXPECT_EQ(StatusOf(*f), "DONE");
    EXPECT_EQ(f->StatusLabel->styleSheet().toStdString(), "color: green;");
    EXPECT_EQ(Buttons(*f), "--C");
    EXPECT_EQ(f->ExitCode(), 0);
    EXPECT_TRUE(FileExists(Ref + OutputOf(source)));
    Messages.clear();
  }
}

TEST_F(Window, FailureAbortAndRetry) {
  auto f = Open(srLotwUsers, "/missing");
  f->DownloadBtn->click();
  ASSERT_TRUE(WaitUntil([&] { return StatusOf(*f).rfind("Download failed", 0) == 0; }));
  EXPECT_EQ(StatusOf(*f), "Download failed: Server reply code is 404");
  EXPECT_EQ(f->StatusLabel->styleSheet().toStdString(), "color: red;");
  EXPECT_EQ(Buttons(*f), "D-C");

  TRoute slow{200, {}, std::string(500000, 'k')};
  slow.SendBytes = 2000;
  slow.Hang = true;
  Server.Route("/slow", slow);
  f->UrlEdit->setText(QString::fromStdString(Server.Url("/slow")));
  f->DownloadBtn->click();
  ASSERT_TRUE(WaitUntil([&] { return f->ProgressBar->value() > 0; }));
  EXPECT_EQ(f->ProgressBar->maximum(), 500000);
  f->AbortBtn->click();
  EXPECT_EQ(StatusOf(*f), "Aborted");
  EXPECT_EQ(Buttons(*f), "D-C");
  EXPECT_EQ(f->ExitCode(), 1);

  Server.Route("/ok", {200, {}, "K1ABC,2024\r\n"});
  f->UrlEdit->setText(QString::fromStdString(Server.Url("/ok")));
  f->DownloadBtn->click();
  ASSERT_TRUE(WaitUntil([&] { return StatusOf(*f) == "DONE"; }));
  EXPECT_EQ(f->ExitCode(), 0);
}

TEST_F(Window, AddressesAreWrittenOnlyWhenTheyDifferFromTheDefault) {
  {
    auto f = Open(srRac, "/rac");
    f->UrlEdit->setText("http://127.0.0.1:9/amateur.zip");
    f->DownloadBtnClick(false);  // the edited address is taken...
    f->AbortBtnClick();          // ...even when the transfer is stopped
    f->CloseBtn->click();
  }
  TIniFile ini = TIniFile::Load(Ini);
  EXPECT_EQ(ini.ReadString("URL", "RAC_callsign_database"), "http://127.0.0.1:9/amateur.zip");

  // Back to the default: nothing is written, the stored value stays.
  {
    auto f = Open(srRac, "/rac");
    f->UrlEdit->setText(QString::fromStdString(DefaultUrl(srRac)));
    f->DownloadBtnClick(false);
    f->AbortBtnClick();
  }
  EXPECT_EQ(TIniFile::Load(Ini).ReadString("URL", "RAC_callsign_database"), Server.Url("/rac"));
  EXPECT_EQ(TIniFile::Load(Ini).ReadSection("URL").size(), 1u);
}

TEST_F(Window, CtrlDownloadRebuildsTheFccIndexWithoutNetwork) {
  Server.Route("/fcc", {200, {}, BodyOf(srFcc)});
  {
    auto f = Open(srFcc, "/fcc");
    f->DownloadBtn->click();
    ASSERT_TRUE(WaitUntil([&] { return StatusOf(*f) == "DONE"; }));
  }
  const std::string index = test::Slurp(Ref + "FccCB.idx");
  RemoveFile(Ref + "FccCB.idx");
  const int requests = Server.Requests;
  Messages.clear();
  auto f = Open(srFcc, "/fcc");
  f->DownloadBtnClick(true);
  EXPECT_EQ(StatusOf(*f), "DONE");
  EXPECT_EQ(Buttons(*f), "D-C");
  EXPECT_EQ(f->ExitCode(), 0);
  EXPECT_EQ(Server.Requests, requests);
  EXPECT_EQ(test::Slurp(Ref + "FccCB.idx"), index);
  EXPECT_EQ(Messages.size(), 1u);

  // Ctrl on another source downloads as usual.
  Server.Route("/lotw", {200, {}, "K1ABC,2024\r\n"});
  auto g = Open(srLotwUsers, "/lotw");
  g->DownloadBtnClick(true);
  ASSERT_TRUE(WaitUntil([&] { return StatusOf(*g) == "DONE"; }));
  EXPECT_EQ(Server.Requests, requests + 1);
}

TEST_F(Window, AnImportErrorLeavesTheJobUndone) {
  Server.Route("/junk", {200, {}, "this is not an archive"});
  auto f = Open(srRda, "/junk");
  f->DownloadBtn->click();
  ASSERT_TRUE(WaitUntil([&] { return !Messages.empty(); }));
  EXPECT_EQ(f->ExitCode(), 1);
  EXPECT_FALSE(f->CloseBtn->isEnabled());
  f->reject();  // Esc or the close box still end the program
  EXPECT_FALSE(f->isVisible());
}

TEST_F(Window, HeadlessDownloadImportsFromTheServer) {
  Server.Route("/lotw1.txt", {200, {}, "K1ABC,2024\r\n"});
  MakeDirectories(Home + "config/Vexmoor");
  TIniFile ini = TIniFile::Load(Home + "config/Vexmoor/Kestrix.ini");
  ini.WriteString("URL", "LoTW_user_list", Server.Url("/lotw1.txt"));
  ini.UpdateFile();
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("HOME", QString::fromStdString(Home + "home"));
  env.insert("XDG_CONFIG_HOME", QString::fromStdString(Home + "config"));
  env.insert("XDG_DATA_HOME", QString::fromStdString(Home + "data"));
  p.setProcessEnvironment(env);
  p.start(QString(VX_BIN_DIR) + "/kestrix", {"--headless", "1"});
  ASSERT_TRUE(WaitUntil([&] { return p.state() == QProcess::NotRunning; }));
  EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
  EXPECT_EQ(test::Slurp(Home + "data/Vexmoor/Reference/lotw1.txt"), "K1ABC,2024\r\n");
  EXPECT_NE(p.readAllStandardError().toStdString().find("DONE"), std::string::npos);

  // A failing download: exit code 1, the status on standard error.
  ini.WriteString("URL", "LoTW_user_list", Server.Url("/gone"));
  ini.UpdateFile();
  p.start(QString(VX_BIN_DIR) + "/kestrix", {"--headless", "1"});
  ASSERT_TRUE(WaitUntil([&] { return p.state() == QProcess::NotRunning; }));
  EXPECT_EQ(p.exitCode(), 1);
  EXPECT_NE(p.readAllStandardError().toStdString().find("Download failed: Server reply code is 404"),
            std::string::npos);
}

// kestrix --headless 6 against the server: the forecast goes into the
// folder's sunspot table; a body that is not one leaves the table alone.
TEST_F(Window, HeadlessSunspotForecastUpdatesTheTableOnlyWithAForecast) {
  const std::string ref = Home + "data/Vexmoor/Reference/";
  MakeDirectories(ref);
  const std::string before = "Jan 2000=10.0\r\nNov 2098=60.0\r\nFeb 2099=55.5\r\n";
  WriteFileAtomic(ref + "SSN.dat", before);
  Server.Route("/ssn.json", {200,
                             {{"Content-Type", "application/json"}},
                             R"([{"time-tag":"2098-11","predicted_ssn":61.26,"high_ssn":70.1,"low_ssn":52.3},)"
                             R"({"time-tag":"2098-12","predicted_ssn":59.8,"high_ssn":68.9,"low_ssn":50.0}])"});
  Server.Route("/gone.json", {200, {}, "<html><body>The page you asked for is gone</body></html>"});
  MakeDirectories(Home + "config/Vexmoor");
  TIniFile ini = TIniFile::Load(Home + "config/Vexmoor/Kestrix.ini");
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("HOME", QString::fromStdString(Home + "home"));
  env.insert("XDG_CONFIG_HOME", QString::fromStdString(Home + "config"));
  env.insert("XDG_DATA_HOME", QString::fromStdString(Home + "data"));
  p.setProcessEnvironment(env);
  auto run = [&](const std::string& path) {
    ini.WriteString("URL", "Predicted_sunspot_numbers", Server.Url(path));
    ini.UpdateFile();
    p.start(QString(VX_BIN_DIR) + "/kestrix", {"--headless", "6"});
    EXPECT_TRUE(WaitUntil([&] { return p.state() == QProcess::NotRunning; }));
    return p.exitCode();
  };

  EXPECT_EQ(run("/ssn.json"), 0) << p.readAllStandardError().toStdString();
  EXPECT_EQ(test::Slurp(ref + "SSN.dat"), "Jan 2000=10.0\r\nNov 2098=61.3\r\nDec 2098=59.8\r\nFeb 2099=55.5\r\n");
  EXPECT_EQ(p.readAllStandardOutput().toStdString(),
            "Sunspot forecast imported: Nov 2098 to Dec 2098, 2 months updated, 0 observed months kept\n");

  const std::string after = test::Slurp(ref + "SSN.dat");
  EXPECT_EQ(run("/gone.json"), 1);
  EXPECT_NE(p.readAllStandardError().toStdString().find("Error: Not a sunspot number forecast: it is a web page"),
            std::string::npos);
  EXPECT_EQ(test::Slurp(ref + "SSN.dat"), after);
}

TEST_F(Window, ALongStatusIsShortenedInTheMiddleAndTheWindowGrows) {
  auto f = Open(srRac, "/rac");
  const std::string text = "Download failed: " + std::string(400, 'x') + " at the end.zip\"";
  f->Status(text, TStatusColour::scRed);
  QCoreApplication::processEvents();
  const QString shown = f->StatusLabel->text();
  EXPECT_LT(shown.size(), static_cast<qsizetype>(text.size()));
  EXPECT_TRUE(shown.startsWith("Download failed")) << shown.toStdString();
  EXPECT_TRUE(shown.endsWith("at the end.zip\"")) << shown.toStdString();
  EXPECT_TRUE(shown.contains(QChar(0x2026)));
  EXPECT_EQ(f->StatusLabel->toolTip().toStdString(), text);
  EXPECT_EQ(StatusOf(*f), text);
  EXPECT_LE(f->StatusLabel->geometry().right(), f->StatusPanel->contentsRect().right());

  // The window grows, and the address and the status with it.
  const int urlWidth = f->UrlEdit->width();
  f->resize(900, 200);
  QCoreApplication::processEvents();
  EXPECT_EQ(f->size(), QSize(900, 200));
  EXPECT_GT(f->UrlEdit->width(), urlWidth + 400);
  EXPECT_GT(f->StatusLabel->text().size(), shown.size() + 50);
  EXPECT_GE(f->CloseBtn->geometry().right(), 850);  // the buttons stay on the right
  // Short texts are shown whole.
  f->Status("DONE", TStatusColour::scGreen);
  EXPECT_EQ(f->StatusLabel->text().toStdString(), "DONE");
}

TEST_F(Window, TheFccSourceWithoutItsZipListFailsBeforeDownloading) {
  RemoveFile(Ref + "ZipLst.lst");
  Server.Route("/fcc", {200, {}, BodyOf(srFcc)});
  auto f = Open(srFcc, "/fcc");
  EXPECT_NE(StatusOf(*f).find("ZipLst.lst"), std::string::npos) << StatusOf(*f);
  EXPECT_EQ(f->StatusLabel->styleSheet().toStdString(), "color: red;");
  f->DownloadBtn->click();
  EXPECT_NE(StatusOf(*f).find("ZipLst.lst"), std::string::npos) << StatusOf(*f);
  EXPECT_EQ(Buttons(*f), "D-C");
  EXPECT_FALSE(f->Dl().Busy());
  ASSERT_TRUE(vxtest::DeliverPosted());
  EXPECT_EQ(Server.Requests, 0);
  EXPECT_EQ(f->ExitCode(), 1);

  // Once the list is there, the same window goes on.
  WriteFileAtomic(Ref + "ZipLst.lst", gen::GenerateZipList());
  f->DownloadBtn->click();
  ASSERT_TRUE(WaitUntil([&] { return StatusOf(*f) == "DONE"; }));
  EXPECT_EQ(Server.Requests, 1);
}

TEST_F(Window, HeadlessDownloadsTimeOutAndCheckTheirListsFirst) {
  TRoute silent;
  silent.Silent = true;
  Server.Route("/silent", silent);
  test::TRecordingUi ui;
  TKestrixJob job(srLotwUsers, Ref, ui);
  EXPECT_EQ(DownloadAndImport(job, Server.Url("/silent"), ui, 300), 1);
  EXPECT_EQ(ui.Statuses.back(), "Download failed: Connection Error 4 (timed out: nothing received for 300 ms)");
  EXPECT_EQ(ui.Colours.back(), TStatusColour::scRed);

  RemoveFile(Ref + "ZipLst.lst");
  const int requests = Server.Requests;
  TKestrixJob fcc(srFcc, Ref, ui);
  EXPECT_EQ(DownloadAndImport(fcc, Server.Url("/fcc"), ui, 300), 1);
  EXPECT_NE(ui.Statuses.back().find("ZipLst.lst"), std::string::npos) << ui.Statuses.back();
  EXPECT_EQ(Server.Requests, requests);
}
