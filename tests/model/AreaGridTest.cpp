// Where the cells of an area run lie, against the positions the reference
// printed for the same grids (.vg1 columns 7-26).
#include "model/AreaGrid.h"

#include "model/RunSetup.h"

#include <gtest/gtest.h>

#include <memory>

using namespace vx::model;

namespace {

std::unique_ptr<TModelState> Grid(int iproj, int n, float xmin, float xmax, float ymin, float ymax) {
    auto s = std::make_unique<TModelState>();
    InitialiseState(*s);
    s->rgrid.iproj = iproj;
    s->rgrid.nx = n;
    s->rgrid.ny = n;
    s->rgrid.xmin = xmin;
    s->rgrid.xmax = xmax;
    s->rgrid.yymin = ymin;
    s->rgrid.ymax = ymax;
    return s;
}

} // namespace

TEST(AreaGrid, LatitudeLongitudeGridRunsEastFromTheDateLine) {
    auto s = Grid(8, 16, -180.f, 180.f, -90.f, 90.f);
    float lon = 0.f, lat = 0.f;
    GridPoint(*s, 1, 2, lon, lat);
    EXPECT_EQ(lat, -78.f);
    EXPECT_EQ(lon, 180.f); // -180 east, kept within 0..360
    GridPoint(*s, 16, 15, lon, lat);
    EXPECT_EQ(lat, 78.f);
    EXPECT_EQ(lon, 180.f);
    GridPoint(*s, 9, 8, lon, lat);
    EXPECT_EQ(lon, 12.f);
    EXPECT_EQ(lat, -6.f);
}

TEST(AreaGrid, GreatCircleGridReachesCellsAlongBearings) {
    // A 5 x 5 grid of -5000..5000 km east and -4000..6000 km north of 0N 0E.
    auto s = Grid(7, 5, -5000.f, 5000.f, -4000.f, 6000.f);
    struct TCell {
        int ix, iy;
        float lat, lon;
    };
    const TCell printed[] = {{1, 1, -31.8307f, 309.1079f}, {2, 1, -34.8974f, 334.1534f}, {3, 1, -35.9785f, 0.f},
                             {5, 3, 8.0912f, 45.3021f},    {1, 5, 46.3055f, 299.2848f},  {4, 5, 51.8836f, 32.0786f}};
    for (const TCell &cell : printed) {
        float lon = 0.f, lat = 0.f;
        GridPoint(*s, cell.ix, cell.iy, lon, lat);
        EXPECT_NEAR(lat, cell.lat, 6e-5f) << cell.ix << "," << cell.iy;
        EXPECT_NEAR(lon, cell.lon, 6e-5f) << cell.ix << "," << cell.iy;
    }
    // The centre is the projection's centre itself.
    auto c = Grid(7, 3, -1000.f, 1000.f, -1000.f, 1000.f);
    c->rgrid.plat = 10.f;
    c->rgrid.plon = -20.f;
    float lon = 0.f, lat = 0.f;
    GridPoint(*c, 2, 2, lon, lat);
    EXPECT_EQ(lat, 10.f);
    EXPECT_EQ(lon, 340.f);
}

TEST(AreaGrid, EndPointOfAQuarterCircle) {
    auto s = std::make_unique<TModelState>();
    s->azel.ztlat = 0.f;
    s->azel.ztlon = 10.f;
    s->azel.ztaz = 270.f;
    s->azel.zdgc = 6370.f * 3.14159265f / 2.f;
    GreatCircleEndPoint(*s);
    EXPECT_NEAR(s->azel.zrlat, 0.f, 1e-4f);
    EXPECT_NEAR(s->azel.zrlon, -80.f, 1e-4f);
    s->azel.ztaz = 0.f;
    s->azel.zdgc = 6370.f * 3.14159265f / 4.f;
    GreatCircleEndPoint(*s);
    EXPECT_NEAR(s->azel.zrlat, 45.f, 1e-4f);
    EXPECT_NEAR(s->azel.zrlon, 10.f, 1e-4f);
}
