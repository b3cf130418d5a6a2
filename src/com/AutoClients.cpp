#include "com/AutoClients.h"

namespace vx {

TAutomationClients::TAutomationClients(TStartKind kind, int64_t nowMs, int64_t idleMs)
    : Kind_(kind), IdleMs_(idleMs), IdleSince_(nowMs) {}

bool TAutomationClients::Touch(const std::string& client) { return Clients_.insert(client).second; }

bool TAutomationClients::Release(const std::string& client, int64_t nowMs) {
  if (Clients_.erase(client) == 0) return false;
  if (!Clients_.empty()) return false;
  IdleSince_ = nowMs;
  return true;
}

bool TAutomationClients::IdleExpired(int64_t nowMs, bool jobRunning, bool windowVisible) const {
  if (Kind_ != TStartKind::skBus || !Clients_.empty() || jobRunning || windowVisible) return false;
  return nowMs - IdleSince_ >= IdleMs_;
}

int64_t TAutomationClients::IdleDeadline() const {
  if (Kind_ != TStartKind::skBus || !Clients_.empty()) return -1;
  return IdleSince_ + IdleMs_;
}

}  // namespace vx
