// Finding items by position and by identifier in a database of a few thousand generated
// items, checked against a scan of every record; deletes and replaces keep it consistent.
#include <random>

#include "tests/geo/GeoDBTestUtil.h"

namespace nuv::test {
namespace {

struct GeoDBSearch : GeoDBFixture {
  TGeoDB Db{nullptr};
  std::mt19937 Rng{12345};
  // Coordinates on a half-degree grid, so that many bounds are equal.
  float Coord(float Range) {
    return std::uniform_int_distribution<int>(static_cast<int>(-2 * Range),
                                              static_cast<int>(2 * Range))(Rng) / 2.0f;
  }
  void AddRandomItem() {
    const int kind = std::uniform_int_distribution<int>(0, 2)(Rng);
    const float lat = Coord(80), lon = Coord(170);
    if (kind == 0) {
      Db.AddTown("town", 0, 0, {lat, lon}, 0, 0);
    } else if (kind == 1) {
      Db.AddCity("city", Square(lat, lon, Coord(5) + 5.5f), true, 0, 0, 0, 0, 0, 0, 0, 0);
    } else {
      const float lat2 = Coord(80), lon2 = Coord(170);
      Db.AddBLOB("blob", 0, 0, std::min(lat, lat2), std::max(lat, lat2), std::min(lon, lon2),
                 std::max(lon, lon2), 0, 0, {}, "x", 1);
    }
  }
  std::vector<int> Scan(double South, double North, double West, double East) const {
    std::vector<int> found;
    for (int i = 1; i <= Db.GetNumEntries(); ++i) {
      const TgdbData d = Db.GetSumdata(i);
      if (d.LatLow <= North && d.LatHigh >= South && d.LongLow <= East && d.LongHigh >= West)
        found.push_back(i);
    }
    return found;
  }
  void ExpectSearchesAgreeWithScan(int Queries) {
    for (int q = 0; q < Queries; ++q) {
      const double lat = Coord(85), lon = Coord(175);
      ASSERT_EQ(Db.FindItemsAt(lat, lon), Scan(lat, lat, lon, lon)) << lat << " " << lon;
      TRectDouble area;
      area.Left = lon;
      area.Right = lon + Coord(10) + 10;
      area.Bottom = lat;
      area.Top = lat + Coord(5) + 5;
      ASSERT_EQ(Db.FindItemsInArea(area), Scan(area.Bottom, area.Top, area.Left, area.Right));
    }
    std::vector<int> recOf(Db.GetLastItemID() + 2, 0);
    for (int i = 1; i <= Db.GetNumEntries(); ++i) recOf[Db.GetSumdata(i).ItemID] = i;
    for (int id = 0; id < static_cast<int>(recOf.size()); ++id)
      ASSERT_EQ(Db.SearchForItemID(id), recOf[id]) << id;
  }
};

TEST_F(GeoDBSearch, PositionAndIdentifierSearchesMatchAScan) {
  Db.SetDBName(Base);
  Db.SetLazyWrite(true);
  for (int i = 0; i < 3000; ++i) AddRandomItem();
  Db.SetLazyWrite(false);
  ExpectConsistent(Db);
  ExpectSearchesAgreeWithScan(400);
  EXPECT_FALSE(Db.FindItemsAt(0, 0).empty() && Db.FindItemsAt(10, 10).empty() &&
               Db.FindItemsAt(-10, 50).empty());

  // The closest-entry searches: position p holds an entry equal to the key or the first
  // greater one.
  const int n = Db.GetNumEntries();
  for (int q = 0; q < 300; ++q) {
    const double key = Coord(90);
    const int p = Db.GetClosestLatHighIx(key);
    ASSERT_GE(p, 1);
    ASSERT_LE(p, n + 1);
    const bool equal = p <= n && Db.GetIxLatHigh(p).Value == key;
    if (!equal) {
      if (p <= n) {
        ASSERT_GT(Db.GetIxLatHigh(p).Value, key);
      }
      if (p > 1) {
        ASSERT_LT(Db.GetIxLatHigh(p - 1).Value, key);
      }
    }
  }
}

TEST_F(GeoDBSearch, DeletesAndReplacesKeepEveryIndexConsistent) {
  Db.SetDBName(Base);
  Db.SetLazyWrite(true);
  for (int i = 0; i < 2000; ++i) AddRandomItem();
  Db.SetLazyWrite(false);
  for (int step = 0; step < 30; ++step) {
    SCOPED_TRACE(step);
    const int n = Db.GetNumEntries();
    const int index = std::uniform_int_distribution<int>(1, n)(Rng);
    switch (step % 3) {
      case 0: Db.DeleteData(index); break;
      case 1: Db.ReplaceTown(index, "moved", 0, 0, {Coord(80), Coord(170)}, 0, 0); break;
      default: Db.ReplaceRoad(index, "road", Square(Coord(80), Coord(170), 1), 0, 0, 0, 0, 0, 0, 0, 0);
    }
    ExpectConsistent(Db);
    if (step % 10 == 0) AddRandomItem();
  }
  ExpectSearchesAgreeWithScan(100);
  Db.RecalcIndexes();
  ExpectConsistent(Db);
  ExpectSearchesAgreeWithScan(50);
}

}  // namespace
}  // namespace nuv::test
