// TAutomationClients: which automation clients are connected, and when the
// program may end because of them. A client counts as connected from its
// first call on the interface (reading or writing a property counts) until
// it calls Release() or leaves the bus.
//
// - The close rule (the window's): closing the window only hides it while a
//   client is connected.
// - A program the user started ends when its last client goes while its
//   window is hidden (a user who has the window open keeps it).
// - A program the bus started ends once no client has been connected for
//   the idle period (10 s), no job runs and its window is hidden. Scripts
//   make one short connection per call, so the program must outlive the
//   gaps between them.
//
// Times are milliseconds of a steady clock the caller reads, so that tests
// can set them.
#pragma once

#include <cstdint>
#include <set>
#include <string>

namespace vx {

enum class TStartKind { skUser, skBus };

class TAutomationClients {
 public:
  static constexpr int64_t kBusIdleMs = 10000;

  TAutomationClients(TStartKind kind, int64_t nowMs, int64_t idleMs = kBusIdleMs);

  TStartKind StartKind() const { return Kind_; }
  // A call on the interface from client (its unique bus name). True when
  // the client was not connected before.
  bool Touch(const std::string& client);
  // The client called Release() or left the bus. True when it was the last
  // connected client.
  bool Release(const std::string& client, int64_t nowMs);

  bool AnyConnected() const { return !Clients_.empty(); }
  size_t Count() const { return Clients_.size(); }
  bool Connected(const std::string& client) const { return Clients_.count(client) != 0; }

  // Right after the last client went (Release returned true): whether a
  // program the user started ends now.
  bool EndAfterLastRelease(bool windowVisible) const { return Kind_ == TStartKind::skUser && !windowVisible; }
  // Whether a program the bus started ends now: not while a job runs, nor
  // while its window shows (the user has it then). Always false for a user
  // start.
  bool IdleExpired(int64_t nowMs, bool jobRunning, bool windowVisible) const;
  // When IdleExpired may first become true (for a timer), or -1 while a
  // client is connected or for a user start.
  int64_t IdleDeadline() const;

 private:
  TStartKind Kind_;
  int64_t IdleMs_;
  int64_t IdleSince_;  // when the last client went, or the start
  std::set<std::string> Clients_;
};

}  // namespace vx
