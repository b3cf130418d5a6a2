// The notification-area icon of a minimised Vantor: tip, "&Restore" and
// "E&xit". Where the desktop has no notification area, Available() is false
// and the window must stay reachable (minimise normally instead of hiding).
#pragma once

#include <QObject>
#include <QString>

class QIcon;
class QMenu;
class QSystemTrayIcon;

namespace vx {

// Tips are cut to their first 62 characters.
QString TrayTip(const QString& text);

class TTrayIcon : public QObject {
  Q_OBJECT
 public:
  explicit TTrayIcon(const QIcon& icon, const QString& tip, QObject* parent = nullptr);
  ~TTrayIcon() override;

  static bool Available();
  void SetActive(bool active);
  bool Active() const;
  void SetToolTip(const QString& tip);
  QString ToolTip() const;
  QMenu* Menu() const { return Menu_; }

 signals:
  void RestoreRequested();  // a click on the icon, or "&Restore"
  void ExitRequested();     // "E&xit"

 private:
  QSystemTrayIcon* Icon_ = nullptr;
  QMenu* Menu_ = nullptr;
};

}  // namespace vx
