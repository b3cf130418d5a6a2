#include <gtest/gtest.h>

#include "app/PopupRules.h"

using namespace vx;

TEST(PopupRules, ChartItemsOnTheChartMapItemsOnTheMap) {
  for (bool ctrl : {false, true}) {
    const TPopupItems chart = PopupItemsFor(pgChart, ctrl);
    EXPECT_TRUE(chart.PlotMuf && chart.MarkBestHour && chart.SaveImage);
    EXPECT_FALSE(chart.ShowSun || chart.PlotPath || chart.PreCompute);
    // The maximum maps and the GIF series never show over the chart.
    EXPECT_FALSE(chart.MapExtras);

    const TPopupItems map = PopupItemsFor(pgMap, ctrl);
    EXPECT_TRUE(map.ShowSun && map.PlotPath && map.PreCompute && map.SaveImage);
    EXPECT_FALSE(map.PlotMuf || map.MarkBestHour);
    EXPECT_EQ(map.MapExtras, ctrl);
  }
  EXPECT_EQ(PopupItemsFor(pgParams, true), PopupItemsFor(pgChart, true));
}
