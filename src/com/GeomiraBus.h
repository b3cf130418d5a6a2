// The world-map program over the session bus (net.vexmoor.Geomira). Every
// call waits at most its timeout; the version test may start the program
// through the bus and gets the longer start timeout.
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include "com/Geomira.h"

class QDBusServiceWatcher;

namespace vx {

// Whether an introspection document has, in the interface named, a method
// of that name whose input arguments have exactly that signature.
bool IntrospectionHasMethod(const QString& xml, const QString& interfaceName, const QString& method,
                            const QString& inSignature);

class TGeomiraBusLink final : public QObject, public IGeomiraLink {
  Q_OBJECT
 public:
  static constexpr int kStartTimeoutMs = 5000;
  static constexpr int kCallTimeoutMs = 3000;

  explicit TGeomiraBusLink(QDBusConnection bus, int startTimeoutMs = kStartTimeoutMs,
                           int callTimeoutMs = kCallTimeoutMs);
  ~TGeomiraBusLink() override;

  TReply<bool> HasPlotField() override;
  TReply<bool> Visible() override;
  TCallResult SetVisible(bool on) override;
  TCallResult SetWindowState(int32_t state) override;
  TCallResult SetExternalControl(int32_t value) override;
  TCallResult BeginUpdate() override;
  TCallResult EndUpdate() override;
  TCallResult PlotField(const TFieldColumns& field) override;
  TCallResult SetFieldOpacity(int32_t percent) override;
  TCallResult SetHintText(const std::string& text) override;
  void Watch(IGeomiraEvents* events) override;

 private slots:
  void OnExitRequest();
  void OnMouseMoved(double latitude, double longitude);
  void OnOwnerGone();

 private:
  QDBusMessage Call(const char* path, const char* iface, const char* member, const QVariantList& args);
  TCallResult SetProperty(const char* path, const char* iface, const char* name, const QVariant& value);

  QDBusConnection Bus_;
  int StartTimeoutMs_;
  int CallTimeoutMs_;
  IGeomiraEvents* Events_ = nullptr;
  QDBusServiceWatcher* Watcher_;
};

}  // namespace vx
