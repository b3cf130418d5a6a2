// TSunsentryClient: Vantor's client of the space-weather monitor. It
// connects with a version check, reads the sunspot number and Kp for the
// moment a prediction is made for, and passes the monitor's notices on.
// ISunsentryLink is the monitor as reached over the bus (a D-Bus
// implementation in the Qt edge, stand-ins in tests).
#pragma once

#include <cstdint>
#include <memory>

#include "app/SpaceWeather.h"
#include "com/SiblingLink.h"

namespace vx {

// What the monitor tells on its own; arrives on the owner's thread.
class ISunsentryEvents {
 public:
  virtual ~ISunsentryEvents() = default;
  virtual void ExitRequest() = 0;
  virtual void DataArrived() = 0;
  // The monitor's name lost its owner (it ended or crashed).
  virtual void Vanished() = 0;
};

class ISunsentryLink {
 public:
  virtual ~ISunsentryLink() = default;
  // The property Version; asking starts the monitor through the bus when
  // no program owns its name.
  virtual TReply<int32_t> Version() = 0;
  // GetValue(parameter, moment) -> d; the moment is a UTC day count.
  virtual TReply<double> GetValue(int32_t parameter, double moment) = 0;
  // Delivers the monitor's signals (and its going away) to events until
  // called with nullptr.
  virtual void Watch(ISunsentryEvents* events) = 0;
};

class TSunsentryClient final : public ISpaceWeatherMonitor, private ISunsentryEvents {
 public:
  static constexpr int32_t kMinVersion = 0x00010001;  // 1.1
  static constexpr int32_t kSsnParameter = 200;
  static constexpr int32_t kKpParameter = 5;
  static constexpr int kKpHours = 25;  // T, T - 1 h, ..., T - 24 h

  explicit TSunsentryClient(std::unique_ptr<ISunsentryLink> link);
  ~TSunsentryClient() override;

  // False for good once a connection failed or the monitor stopped
  // answering: the connection is not tried again.
  bool Available() const override { return Available_; }
  bool Active() const override { return Active_; }
  // Connects (with the version check) or disconnects; nothing when already so.
  void SetActive(bool on) override;
  // SSN and Kp at Year-Month-Day Hour:00 UTC, rounded halves to even,
  // kNoIndexValue where the monitor has none; Kp is the latest hourly value
  // of the 24 hours before. Both unknown when not connected. A monitor that
  // does not answer is let go at once (the listener hears that it left), so
  // that one hang costs one timeout.
  TSpaceWeatherReading ReadIndices(int year, int month, int day, int hour) override;
  void SetListener(ISpaceWeatherListener* listener) override { Listener_ = listener; }

 private:
  void Open();
  void Drop();
  // The value as an index: rounded, or unknown; false when the monitor did
  // not answer (it has been dropped then).
  bool ReadValue(int32_t parameter, double moment, int& out);

  void ExitRequest() override;
  void DataArrived() override;
  void Vanished() override;

  std::unique_ptr<ISunsentryLink> Link_;
  ISpaceWeatherListener* Listener_ = nullptr;
  bool Available_ = true;
  bool Active_ = false;
};

}  // namespace vx
