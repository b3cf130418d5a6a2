#include "desktop/TrayIcon.h"

#include <QMenu>
#include <QSystemTrayIcon>

namespace vx {

QString TrayTip(const QString& text) { return text.left(62); }

TTrayIcon::TTrayIcon(const QIcon& icon, const QString& tip, QObject* parent) : QObject(parent) {
  Menu_ = new QMenu;
  connect(Menu_->addAction(tr("&Restore")), &QAction::triggered, this, &TTrayIcon::RestoreRequested);
  Menu_->addSeparator();
  connect(Menu_->addAction(tr("E&xit")), &QAction::triggered, this, &TTrayIcon::ExitRequested);
  Icon_ = new QSystemTrayIcon(icon, this);
  Icon_->setToolTip(TrayTip(tip));
  Icon_->setContextMenu(Menu_);
  connect(Icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
    if (r == QSystemTrayIcon::Trigger || r == QSystemTrayIcon::DoubleClick) emit RestoreRequested();
  });
}

TTrayIcon::~TTrayIcon() {
  Icon_->hide();
  delete Menu_;
}

bool TTrayIcon::Available() { return QSystemTrayIcon::isSystemTrayAvailable(); }

void TTrayIcon::SetActive(bool active) { Icon_->setVisible(active); }
bool TTrayIcon::Active() const { return Icon_->isVisible(); }
void TTrayIcon::SetToolTip(const QString& tip) { Icon_->setToolTip(TrayTip(tip)); }
QString TTrayIcon::ToolTip() const { return Icon_->toolTip(); }

}  // namespace vx
