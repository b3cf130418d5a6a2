#include "com/Geomira.h"

#include <cmath>

#include "common/TextUtil.h"

namespace vx {

TGeomiraControl::TGeomiraControl(std::unique_ptr<IGeomiraLink> link, IGeomiraHost* host)
    : Link_(std::move(link)), Host_(host) {}

TGeomiraControl::~TGeomiraControl() { SetActive(false); }

bool TGeomiraControl::SetActive(bool on) {
  if (on == Active_) return true;
  if (on) return Open();
  Close();
  return true;
}

bool TGeomiraControl::Open() {
  const TReply<bool> plotField = Link_->HasPlotField();
  if (!plotField.Ok() || !plotField.Value) return false;
  const TReply<bool> visible = Link_->Visible();
  if (!visible.Ok()) return false;
  if (!visible.Value && !Link_->SetWindowState(0).Ok()) return false;
  Active_ = true;
  Link_->Watch(this);
  if (Host_ && !Host_->MapField().Empty() && !Plot(Host_->MapField()).Ok()) {
    LetGo();
    return false;
  }
  if (!Link_->SetVisible(true).Ok()) {
    LetGo();
    return false;
  }
  return true;
}

void TGeomiraControl::Close() {
  // Errors are of no interest here, but a program that does not answer
  // would make each further call wait as long.
  auto alive = [](const TCallResult& r) { return !r.Unavailable(); };
  if (alive(Link_->BeginUpdate())) {
    const bool answered = alive(Link_->SetFieldOpacity(0));
    if (answered && alive(Link_->EndUpdate())) Link_->SetExternalControl(0);
  }
  LetGo();
}

void TGeomiraControl::LetGo() {
  Active_ = false;
  Link_->Watch(nullptr);
}

TCallResult TGeomiraControl::Plot(const TNormGrid& grid) {
  TCallResult r = Link_->BeginUpdate();
  if (!r.Ok()) return r;
  r = Link_->PlotField(FieldColumns(grid));
  if (r.Unavailable()) return r;
  const TCallResult end = Link_->EndUpdate();
  return r.Ok() ? end : r;
}

void TGeomiraControl::SendField() {
  if (Host_) Send(Host_->MapField());
}

void TGeomiraControl::SendMap(const TVoaGrid& grid) { Send(BuildNormGrid(grid)); }

void TGeomiraControl::Send(const TNormGrid& grid) {
  if (!Active_ || grid.Empty()) return;
  const TCallResult r = Plot(grid);
  if (r.Unavailable()) {
    LetGo();
    if (Host_) Host_->MapProgramLeft();
  } else if (!r.Ok() && Host_) {
    Host_->MapProgramError(r.Error);
  }
}

int TGeomiraControl::PixelX(double longitude) { return RoundToInt32(longitude + 180); }
int TGeomiraControl::PixelY(double latitude) { return RoundToInt32(90 - latitude); }

TFieldColumns TGeomiraControl::FieldColumns(const TNormGrid& grid) {
  // The grid's rows run from north to south; the program takes them from
  // the south.
  const int n = grid.N;
  TFieldColumns out(size_t(n), std::vector<double>(size_t(n), 0.0));
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) out[size_t(i)][size_t(j)] = grid.At(i, n - 1 - j);
  return out;
}

void TGeomiraControl::ExitRequest() {
  LetGo();
  if (Host_) Host_->MapProgramLeft();
}

void TGeomiraControl::Vanished() { ExitRequest(); }

void TGeomiraControl::MouseMoved(double latitude, double longitude) {
  if (!Host_ || !std::isfinite(latitude) || !std::isfinite(longitude)) return;
  const std::string text = Host_->MapMouseMove(PixelX(longitude), PixelY(latitude));
  if (Active_ && Link_->SetHintText(text).Unavailable()) {
    LetGo();
    Host_->MapProgramLeft();
  }
}

}  // namespace vx
