// TGeomiraControl: Vantor's client of the world-map program. While
// integration is on it hands every new prediction map to the program and
// answers the program's mouse moves with the prediction readout for the
// place under its mouse. IGeomiraLink is the program as reached over the bus
// (a D-Bus implementation in the Qt edge, stand-ins in tests).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/MapProgram.h"
#include "com/SiblingLink.h"
#include "views/MapDraw.h"

namespace vx {

// The value grid as the map program takes it: columns from west to east,
// each a row list from south to north.
using TFieldColumns = std::vector<std::vector<double>>;

class IGeomiraEvents {
 public:
  virtual ~IGeomiraEvents() = default;
  virtual void ExitRequest() = 0;
  virtual void MouseMoved(double latitude, double longitude) = 0;
  // The program's name lost its owner (it ended or crashed).
  virtual void Vanished() = 0;
};

class IGeomiraLink {
 public:
  virtual ~IGeomiraLink() = default;
  // The version test: whether the map object's interface has PlotField
  // taking "aad". Asking starts the program through the bus when no program
  // owns its name.
  virtual TReply<bool> HasPlotField() = 0;
  // The application object.
  virtual TReply<bool> Visible() = 0;
  virtual TCallResult SetVisible(bool on) = 0;
  virtual TCallResult SetWindowState(int32_t state) = 0;      // 0 normal
  virtual TCallResult SetExternalControl(int32_t value) = 0;  // 0 gives the map back to its user
  // The map object.
  virtual TCallResult BeginUpdate() = 0;
  virtual TCallResult EndUpdate() = 0;
  virtual TCallResult PlotField(const TFieldColumns& field) = 0;
  virtual TCallResult SetFieldOpacity(int32_t percent) = 0;      // 0 hides the field
  virtual TCallResult SetHintText(const std::string& text) = 0;  // Windows-1252
  // Delivers the program's signals (and its going away) to events until
  // called with nullptr.
  virtual void Watch(IGeomiraEvents* events) = 0;
};

class TGeomiraControl final : public IMapProgram, private IGeomiraEvents {
 public:
  // The host may come later (the window is made after its services).
  explicit TGeomiraControl(std::unique_ptr<IGeomiraLink> link, IGeomiraHost* host = nullptr);
  void SetHost(IGeomiraHost* host) { Host_ = host; }
  ~TGeomiraControl() override;

  bool Active() const override { return Active_; }
  // Connects (checks the version, subscribes, sends the map view's grid,
  // shows the program) or disconnects. False when switching on failed; the
  // caller then asks kMapProgramMissingQuestion.
  bool SetActive(bool on) override;
  // The map just shown (nothing while not connected or for an empty grid).
  void SendMap(const TVoaGrid& grid) override;
  // The map view's current grid.
  void SendField();
  // The pixel of the map view under the program's mouse.
  static int PixelX(double longitude);
  static int PixelY(double latitude);
  static TFieldColumns FieldColumns(const TNormGrid& grid);

 private:
  bool Open();
  void Close();
  // Begin, plot, end; the end runs also after a refused plot.
  TCallResult Plot(const TNormGrid& grid);
  void LetGo();
  void Send(const TNormGrid& grid);

  void ExitRequest() override;
  void MouseMoved(double latitude, double longitude) override;
  void Vanished() override;

  std::unique_ptr<IGeomiraLink> Link_;
  IGeomiraHost* Host_;
  bool Active_ = false;
};

}  // namespace vx
