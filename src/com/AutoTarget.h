// IAutomationTarget: what automation clients can read, set and run in
// Vantor. The members of the bus interface net.vexmoor.Vantor.App come from
// its XML (data/dbus) at build time as IAutomationMembers; this adds what
// the service needs beyond them. TVantorApp implements it over the
// prediction controller and the window's controls; the D-Bus service only
// translates.
//
// Setters clamp out-of-range numbers and never fail for range. A member that
// fails (a file that cannot be written, a month that does not exist) throws
// TAutomationError with the text the client gets.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "com/AutoTargetMembers.h"

namespace vx {

class TAutomationError : public std::runtime_error {
 public:
  // text is Windows-1252; a file name the text ends with is kept apart in
  // the file system's own bytes, so that the edge can show it as it is.
  explicit TAutomationError(const std::string& text, std::string fileName = {})
      : std::runtime_error(text + fileName), Text_(text), FileName_(std::move(fileName)) {}
  const std::string& Text() const { return Text_; }
  const std::string& FileName() const { return FileName_; }

 private:
  std::string Text_;
  std::string FileName_;
};

class IAutomationTarget : public IAutomationMembers {
 public:
  // Not on the bus: whether a prediction job runs (a program started by the
  // bus stays while one does).
  virtual bool JobRunning() const = 0;
};

}  // namespace vx
