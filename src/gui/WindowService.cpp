#include "gui/WindowService.h"

#include "gui/MainForm.h"

namespace vx {

bool ServeWindow(TAutomationHost& host, TMainForm& form, TStartKind kind, QString& error) {
  TWindowModel& model = form.Model();
  if (!host.Serve(model, kind, TAutomationClients::kBusIdleMs, error)) return false;
  TAutomationService* service = host.Service();
  QObject::connect(&form, &TMainForm::ClientEvent, service, &TAutomationService::FireClientEvent);
  QObject::connect(service, &TAutomationService::ClientsChanged, &form,
                   [&form](int count) { form.AutomationClients = count; });
  return true;
}

}  // namespace vx
