// The clients of the map program and the monitor over in-memory links: the
// version checks, the Kp search, the grid's orientation, the mouse readout,
// and what a sibling that stops answering costs.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "../views/ViewsTestUtil.h"
#include "com/Geomira.h"
#include "com/Sunsentry.h"
#include "common/DayCount.h"

using namespace vx;

namespace {

class TMonitorLink : public ISunsentryLink {
 public:
  TReply<int32_t> VersionReply = TReply<int32_t>::Of(0x10001);
  std::function<TReply<double>(int32_t, double)> Value = [](int32_t, double) { return TReply<double>::Of(-999); };
  ISunsentryEvents* Events = nullptr;
  std::vector<std::pair<int32_t, double>> Calls;
  int VersionReads = 0;

  TReply<int32_t> Version() override {
    ++VersionReads;
    return VersionReply;
  }
  TReply<double> GetValue(int32_t parameter, double moment) override {
    Calls.emplace_back(parameter, moment);
    return Value(parameter, moment);
  }
  void Watch(ISunsentryEvents* events) override { Events = events; }
};

struct TListener : ISpaceWeatherListener {
  int Arrived = 0, Left = 0;
  void SpaceWeatherArrived() override { ++Arrived; }
  void SpaceWeatherMonitorLeft() override { ++Left; }
};

TReply<double> NoAnswer() { return TReply<double>::From(TCallResult{TCallOutcome::coUnavailable, "timeout"}); }

// A client over a stand-in link the test sets up before Make().
struct SunsentryClientTest : testing::Test {
  std::unique_ptr<TMonitorLink> link = std::make_unique<TMonitorLink>();
  TMonitorLink& l = *link;
  TSunsentryClient Make() { return TSunsentryClient(std::move(link)); }
};

}  // namespace

TEST_F(SunsentryClientTest, VersionBelowOnePointOneIsRefusedForGood) {
  l.VersionReply = TReply<int32_t>::Of(65536);
  TSunsentryClient c = Make();
  EXPECT_TRUE(c.Available());
  c.SetActive(true);
  EXPECT_FALSE(c.Active());
  EXPECT_FALSE(c.Available());
  EXPECT_EQ(l.Events, nullptr);
  l.VersionReply = TReply<int32_t>::Of(65537);
  c.SetActive(true);  // not tried again
  EXPECT_EQ(l.VersionReads, 1);
  EXPECT_FALSE(c.Active());
}

TEST_F(SunsentryClientTest, AcceptedVersionSubscribesAndDisconnectsOnRequest) {
  TSunsentryClient c = Make();
  TListener listener;
  c.SetListener(&listener);
  c.SetActive(true);
  ASSERT_TRUE(c.Active());
  ASSERT_NE(l.Events, nullptr);
  l.Events->DataArrived();
  EXPECT_EQ(listener.Arrived, 1);
  l.Events->ExitRequest();
  EXPECT_FALSE(c.Active());
  EXPECT_TRUE(c.Available());  // asked to go, not broken
  EXPECT_EQ(listener.Left, 1);
  EXPECT_EQ(l.Events, nullptr);
  c.SetActive(true);
  ASSERT_TRUE(c.Active());
  l.Events->Vanished();
  EXPECT_FALSE(c.Active());
  EXPECT_EQ(listener.Left, 2);
}

TEST_F(SunsentryClientTest, NotConnectedOrUnavailableMonitorsReadNothing) {
  l.VersionReply = TReply<int32_t>::From(TCallResult{TCallOutcome::coUnavailable, "no owner"});
  TSunsentryClient c = Make();
  const TSpaceWeatherReading r = c.ReadIndices(2009, 3, 15, 12);
  EXPECT_EQ(r.Ssn, kNoIndexValue);
  EXPECT_EQ(r.Kp, kNoIndexValue);
  c.SetActive(true);
  EXPECT_FALSE(c.Available());
  EXPECT_TRUE(l.Calls.empty());
}

TEST_F(SunsentryClientTest, KpComesFromTheLatestHourWithAValue) {
  const double t = EncodeDayCount(TCivilTime{2009, 3, 15, 12, 0, 0});
  l.Value = [t](int32_t p, double moment) {
    if (p == TSunsentryClient::kSsnParameter) return TReply<double>::Of(12.5);
    // Kp known up to three hours before T.
    return TReply<double>::Of(moment <= t - 3 / 24.0 + 1e-9 ? 4.4 : -999.0);
  };
  TSunsentryClient c = Make();
  c.SetActive(true);
  const TSpaceWeatherReading r = c.ReadIndices(2009, 3, 15, 12);
  EXPECT_EQ(r.Ssn, 12);  // halves to even
  EXPECT_EQ(r.Kp, 4);
  ASSERT_EQ(l.Calls.size(), 1u + 4u);
  EXPECT_EQ(l.Calls[0], std::make_pair(200, t));
  EXPECT_EQ(l.Calls[1].first, 5);
  EXPECT_DOUBLE_EQ(l.Calls[1].second, t);
  EXPECT_DOUBLE_EQ(l.Calls[4].second, t - 3 / 24.0);
}

TEST_F(SunsentryClientTest, TwentyFiveMissingKpValuesLeaveKpUnknown) {
  l.Value = [](int32_t p, double) { return TReply<double>::Of(p == 200 ? 13.5 : -999.0); };
  TSunsentryClient c = Make();
  c.SetActive(true);
  const TSpaceWeatherReading r = c.ReadIndices(2009, 3, 15, 0);
  EXPECT_EQ(r.Ssn, 14);
  EXPECT_EQ(r.Kp, kNoIndexValue);
  ASSERT_EQ(l.Calls.size(), 26u);
  EXPECT_NEAR(l.Calls.back().second, l.Calls[0].second - 1.0, 1e-9);  // T - 24 h
}

TEST_F(SunsentryClientTest, RefusedCallsAndNonNumbersReadAsNoValue) {
  l.Value = [](int32_t p, double) {
    if (p == 200) return TReply<double>::From(TCallResult{TCallOutcome::coFailed, "unknown parameter"});
    return TReply<double>::Of(std::numeric_limits<double>::quiet_NaN());
  };
  TSunsentryClient c = Make();
  c.SetActive(true);
  const TSpaceWeatherReading r = c.ReadIndices(2009, 3, 15, 0);
  EXPECT_EQ(r.Ssn, kNoIndexValue);
  EXPECT_EQ(r.Kp, kNoIndexValue);
  EXPECT_TRUE(c.Active());
}

TEST_F(SunsentryClientTest, AMonitorThatStopsAnsweringCostsOneTimeout) {
  l.Value = [](int32_t p, double) { return p == 200 ? TReply<double>::Of(80) : NoAnswer(); };
  TSunsentryClient c = Make();
  TListener listener;
  c.SetListener(&listener);
  c.SetActive(true);
  const TSpaceWeatherReading r = c.ReadIndices(2009, 3, 15, 0);
  EXPECT_EQ(l.Calls.size(), 2u);  // not 26
  EXPECT_EQ(r.Ssn, kNoIndexValue);
  EXPECT_EQ(r.Kp, kNoIndexValue);
  EXPECT_FALSE(c.Active());
  EXPECT_FALSE(c.Available());
  EXPECT_EQ(listener.Left, 1);
  EXPECT_EQ(l.Events, nullptr);
}

namespace {

class TMapLink : public IGeomiraLink {
 public:
  bool PlotFieldThere = true;
  bool WindowVisible = false;
  TCallOutcome Outcome = TCallOutcome::coOk;  // of every call after the version test
  TCallOutcome PlotOutcome = TCallOutcome::coOk;
  std::vector<std::string> Log;
  TFieldColumns Field;
  std::string Hint;
  IGeomiraEvents* Events = nullptr;

  TCallResult Result(const std::string& what) {
    Log.push_back(what);
    return TCallResult{Outcome, Outcome == TCallOutcome::coOk ? "" : "refused"};
  }
  TReply<bool> HasPlotField() override {
    Log.push_back("HasPlotField");
    return TReply<bool>::Of(PlotFieldThere);
  }
  TReply<bool> Visible() override {
    auto r = Result("Visible?");
    return r.Ok() ? TReply<bool>::Of(WindowVisible) : TReply<bool>::From(r);
  }
  TCallResult SetVisible(bool on) override { return Result(on ? "Visible=1" : "Visible=0"); }
  TCallResult SetWindowState(int32_t v) override { return Result("WindowState=" + std::to_string(v)); }
  TCallResult SetExternalControl(int32_t v) override { return Result("ExternalControl=" + std::to_string(v)); }
  TCallResult BeginUpdate() override { return Result("BeginUpdate"); }
  TCallResult EndUpdate() override { return Result("EndUpdate"); }
  TCallResult PlotField(const TFieldColumns& f) override {
    Log.push_back("PlotField");
    Field = f;
    return TCallResult{PlotOutcome, PlotOutcome == TCallOutcome::coOk ? "" : "bad field"};
  }
  TCallResult SetFieldOpacity(int32_t v) override { return Result("FieldOpacity=" + std::to_string(v)); }
  TCallResult SetHintText(const std::string& text) override {
    Hint = text;
    return Result("SetHintText");
  }
  void Watch(IGeomiraEvents* events) override { Events = events; }
};

struct THost : IGeomiraHost {
  TMapModel Map;
  std::array<std::string, 5> Panels;
  int Left = 0;
  std::string Error;
  std::pair<int, int> LastPixel{-1, -1};
  const TNormGrid& MapField() const override { return Map.NormGrid; }
  std::string MapMouseMove(int x, int y) override {
    LastPixel = {x, y};
    Panels = Map.Readout(x, y).Panels;
    return Panels[1];
  }
  void MapProgramLeft() override { ++Left; }
  void MapProgramError(const std::string& text) override { Error = text; }
};

using Log = std::vector<std::string>;

// A map-program control over a stand-in link and host the test sets up
// before Make().
struct GeomiraControlTest : testing::Test {
  std::unique_ptr<TMapLink> link = std::make_unique<TMapLink>();
  TMapLink& l = *link;
  THost host;
  std::unique_ptr<TGeomiraControl> Make() { return std::make_unique<TGeomiraControl>(std::move(link), &host); }
};

}  // namespace

TEST_F(GeomiraControlTest, MissingPlotFieldIsRefusedAndNothingElseIsAsked) {
  l.PlotFieldThere = false;
  auto control = Make();
  TGeomiraControl& c = *control;
  EXPECT_FALSE(c.SetActive(true));
  EXPECT_FALSE(c.Active());
  EXPECT_EQ(l.Log, Log{"HasPlotField"});
  // It can be tried again: the next press asks again.
  l.PlotFieldThere = true;
  EXPECT_TRUE(c.SetActive(true));
  EXPECT_TRUE(c.Active());
}

TEST_F(GeomiraControlTest, OpenShowsAHiddenProgramAndSendsTheMapSouthToNorth) {
  // Column i, engine row j: 10 * i + j dB, so every cell is told apart.
  host.Map.SetData(vxtest::GridOf(16, [](int i, int j) { return 10.0 * (i % 5) + j; }));
  auto control = Make();
  TGeomiraControl& c = *control;
  ASSERT_TRUE(c.SetActive(true));
  EXPECT_EQ(l.Log,
            (Log{"HasPlotField", "Visible?", "WindowState=0", "BeginUpdate", "PlotField", "EndUpdate", "Visible=1"}));
  ASSERT_EQ(l.Field.size(), 16u);
  ASSERT_EQ(l.Field[0].size(), 16u);
  for (int i : {0, 3, 15})
    for (int j : {0, 7, 15}) {
      // Inner index 0 is the south, as the engine delivers the grid.
      EXPECT_FLOAT_EQ(float(l.Field[size_t(i)][size_t(j)]), std::clamp((10.0f * (i % 5) + j) / 50.0f, 0.0f, 1.0f))
          << i << "," << j;
    }
  EXPECT_NE(l.Events, nullptr);
  // A map shown later goes the same way, from the engine's grid.
  const TFieldColumns first = l.Field;
  l.Field.clear();
  c.SendMap(host.Map.GridCopy);
  EXPECT_EQ(l.Field, first);
  c.SendMap(TVoaGrid());  // no map: nothing is sent
  EXPECT_EQ(std::count(l.Log.begin(), l.Log.end(), "PlotField"), 2);
  // Switching on again does nothing.
  l.Log.clear();
  EXPECT_TRUE(c.SetActive(true));
  EXPECT_TRUE(l.Log.empty());
}

TEST_F(GeomiraControlTest, VisibleProgramWithoutAMapGetsNoFieldYet) {
  l.WindowVisible = true;
  auto control = Make();
  TGeomiraControl& c = *control;
  ASSERT_TRUE(c.SetActive(true));
  EXPECT_EQ(l.Log, (Log{"HasPlotField", "Visible?", "Visible=1"}));
  c.SendField();  // still no map
  EXPECT_EQ(l.Log.size(), 3u);
}

TEST_F(GeomiraControlTest, CloseResetsTheMapOnceAndTwiceIsNothing) {
  l.WindowVisible = true;
  auto control = Make();
  TGeomiraControl& c = *control;
  ASSERT_TRUE(c.SetActive(true));
  l.Log.clear();
  c.SetActive(false);
  EXPECT_EQ(l.Log, (Log{"BeginUpdate", "FieldOpacity=0", "EndUpdate", "ExternalControl=0"}));
  EXPECT_EQ(l.Events, nullptr);
  EXPECT_FALSE(c.Active());
  l.Log.clear();
  c.SetActive(false);
  EXPECT_TRUE(l.Log.empty());
  // Refusals while closing are of no concern: the client ends up closed.
  ASSERT_TRUE(c.SetActive(true));
  l.Outcome = TCallOutcome::coFailed;
  l.Log.clear();
  c.SetActive(false);
  EXPECT_EQ(l.Log.size(), 4u);
  EXPECT_FALSE(c.Active());
}

TEST_F(GeomiraControlTest, AProgramThatStopsAnsweringIsLetGoAtOnce) {
  l.WindowVisible = true;
  auto control = Make();
  TGeomiraControl& c = *control;
  ASSERT_TRUE(c.SetActive(true));
  host.Map.SetData(vxtest::GridOf(16, [](int, int) { return 20.0; }));
  l.Outcome = TCallOutcome::coUnavailable;
  l.Log.clear();
  c.SendField();
  EXPECT_EQ(l.Log, Log{"BeginUpdate"});
  EXPECT_FALSE(c.Active());
  EXPECT_EQ(host.Left, 1);
  // Closing a program that does not answer asks once, not four times.
  l.Outcome = TCallOutcome::coOk;
  ASSERT_TRUE(c.SetActive(true));
  l.Outcome = TCallOutcome::coUnavailable;
  l.Log.clear();
  c.SetActive(false);
  EXPECT_EQ(l.Log, Log{"BeginUpdate"});
}

TEST_F(GeomiraControlTest, ARefusedFieldIsReportedAndTheConnectionStays) {
  l.WindowVisible = true;
  auto control = Make();
  TGeomiraControl& c = *control;
  ASSERT_TRUE(c.SetActive(true));
  host.Map.SetData(vxtest::GridOf(31, [](int, int) { return 20.0; }));
  l.PlotOutcome = TCallOutcome::coFailed;
  l.Log.clear();
  c.SendField();
  EXPECT_EQ(l.Log, (Log{"BeginUpdate", "PlotField", "EndUpdate"}));  // the bracket is closed
  EXPECT_EQ(host.Error, "bad field");
  EXPECT_TRUE(c.Active());
}

TEST_F(GeomiraControlTest, MouseAt45Point4North73Point6WestReadsPixel106And45) {
  l.WindowVisible = true;
  host.Map.SetData(vxtest::GridOf(16, [](int i, int j) { return 3.0 * i + j; }));
  auto control = Make();
  TGeomiraControl& c = *control;
  // Not connected: the readout still shows, nothing is sent.
  l.Events = nullptr;
  ASSERT_TRUE(c.SetActive(true));
  ASSERT_NE(l.Events, nullptr);
  l.Events->MouseMoved(45.4, -73.6);
  EXPECT_EQ(host.LastPixel, std::make_pair(106, 45));
  EXPECT_EQ(l.Hint, host.Map.Readout(106, 45).Panels[1]);
  EXPECT_EQ(l.Hint.rfind(" SNR ", 0), 0u);
  // The exit request lets go and releases the toggle.
  l.Events->ExitRequest();
  EXPECT_FALSE(c.Active());
  EXPECT_EQ(host.Left, 1);
  EXPECT_EQ(TGeomiraControl::PixelX(180), 360);
  EXPECT_EQ(TGeomiraControl::PixelY(-90), 180);
  EXPECT_EQ(TGeomiraControl::PixelX(-179.5), 0);  // halves to even
}
