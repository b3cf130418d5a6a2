// Helpers of the bus tests: counting signals, a private bus's activation
// files, the chart data the stand-in gives.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QObject>
#include <QStringList>
#include <csignal>
#include <functional>
#include <string>
#include <vector>

#include "../engine/FakeModel.h"
#include "com/BusNames.h"
#include "com/ServiceFile.h"
#include "common/FileUtil.h"
#include "support/QtWait.h"

namespace vxtest {

inline const QString kPath = vx::kVantorObjectPath;
inline const QString kIface = vx::kVantorInterface;
inline const QString kProps = "org.freedesktop.DBus.Properties";

// The private home the launcher made.
inline std::string Home() { return std::getenv("HOME") ? std::getenv("HOME") : "/nonexistent"; }

// An activation file on the private bus: the bus starts command for the
// first call to name.
inline void WriteActivation(const std::string& name, const std::vector<std::string>& command) {
  const std::string file = vx::UserActivationFile(name);
  vx::MakeDirectories(vx::FolderOf(file));
  ASSERT_TRUE(vx::WriteFileAtomic(file, vx::ActivationFileText(name, command)));
}

// Counts one signal from anyone on the bus, in the order of arrival.
class TSignalCounter : public QObject {
  Q_OBJECT
 public:
  TSignalCounter(QDBusConnection bus, const QString& path, const QString& iface, const QString& name,
                 std::vector<QString>* order = nullptr)
      : Name(name), Order(order) {
    bus.connect(QString(), path, iface, name, this, SLOT(Hit(QDBusMessage)));
  }
  int Count = 0;
  QList<QVariantList> Arguments;
  QString Name;
  std::vector<QString>* Order;

 public slots:
  void Hit(const QDBusMessage& m) {
    ++Count;
    Arguments << m.arguments();
    if (Order) Order->push_back(Name);
  }
};

inline bool NameOwned(const QDBusConnection& bus, const QString& name) {
  QDBusReply<bool> r = bus.interface()->isServiceRegistered(name);
  return r.isValid() && r.value();
}

// Ends the program that owns name on the bus (a stand-in or an activated
// service the test started), if any.
inline void EndOwnerOf(const QDBusConnection& bus, const QString& name) {
  QDBusReply<uint> pid = bus.interface()->servicePid(name);
  if (pid.isValid() && pid.value() > 0) ::kill(pid_t(pid.value()), SIGTERM);
}

// ChartData after a short-path chart from the stand-in propagation program:
// one line per band, its SNR at the band's whole megahertz for hours 0..23
// (hour 0 is the program's hour 24).
inline std::string ExpectedChartData() {
  std::string out;
  for (int mhz : {3, 7, 10, 14, 18, 21, 25, 28}) {
    for (int h = 0; h < 24; ++h) {
      if (h) out += ',';
      out += std::to_string(fake::Snr(mhz, h ? h : 24, false));
    }
    out += '\r';
  }
  return out;
}

}  // namespace vxtest
