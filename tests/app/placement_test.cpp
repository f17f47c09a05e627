#include "app/placement.h"

#include <gtest/gtest.h>

namespace {
const int kScreenW = 1024, kScreenH = 768;

void Place(PlaceRect win, PlaceRect ref, int dx, int dy, int wantX, int wantY)
{
    int x = -999, y = -999;
    ComputePlacement(win, ref, dx, dy, kScreenW, kScreenH, &x, &y);
    EXPECT_EQ(wantX, x);
    EXPECT_EQ(wantY, y);
}
}  // namespace

TEST(Placement, CentresOverTheReference)
{
    Place({0, 0, 200, 100}, {100, 100, 400, 300}, 0, 0, 200, 200);
    // Odd differences round toward zero.
    Place({0, 0, 201, 101}, {100, 100, 400, 300}, 0, 0, 199, 199);
    // Larger than the reference: the centring offsets become negative.
    Place({0, 0, 600, 500}, {300, 200, 200, 100}, 0, 0, 100, 0);
    Place({0, 0, 600, 400}, {300, 300, 200, 100}, 0, 0, 100, 150);
}

TEST(Placement, OffsetsCountFromTheReferenceCorner)
{
    Place({0, 0, 200, 100}, {100, 120, 400, 300}, 50, 70, 150, 190);
    // A zero offset on one axis still centres that axis.
    Place({0, 0, 200, 100}, {100, 100, 400, 300}, 50, 0, 150, 200);
}

TEST(Placement, KeptOnTheScreenAtEveryEdge)
{
    Place({0, 0, 200, 100}, {-300, 100, 100, 100}, 0, 0, 0, 100);      // left
    Place({0, 0, 200, 100}, {100, -300, 100, 100}, 0, 0, 50, 0);       // top
    Place({0, 0, 200, 100}, {1000, 100, 100, 100}, 0, 0, 824, 100);    // right
    Place({0, 0, 200, 100}, {100, 740, 100, 100}, 0, 0, 50, 668);      // bottom
    Place({0, 0, 200, 100}, {900, 700, 100, 100}, 50, 70, 824, 668);   // corner
    // Exactly touching the right edge is not moved.
    Place({0, 0, 200, 100}, {774, 0, 200, 100}, 50, 10, 824, 10);
    // Wider than the screen: a position left of 0 is moved to 0 first; one
    // inside the screen is pulled back by the right edge.
    Place({0, 0, 1200, 100}, {0, 0, 100, 100}, 0, 0, 0, 0);
    Place({0, 0, 1200, 100}, {10, 0, 100, 100}, 5, 0, 1024 - 1200, 0);
}
