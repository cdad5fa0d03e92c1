// Randomly damaged files: whatever bytes the seven files hold, opening and every operation
// give a false result or ENUVGeoDBError, never another error, a crash or a huge allocation.
#include <cstdlib>
#include <new>
#include <random>

#include "tests/geo/GeoDBTestUtil.h"

namespace {

// While armed, a request for more than this many bytes is counted and refused.
constexpr size_t kLargestAllocation = size_t{256} << 20;
bool gArmed = false;
int gHugeRequests = 0;

}  // namespace

void* operator new(size_t Size) {
  if (gArmed && Size > kLargestAllocation) {
    ++gHugeRequests;
    throw std::bad_alloc();
  }
  if (void* p = std::malloc(Size ? Size : 1)) return p;
  throw std::bad_alloc();
}
// GCC takes the replaced pair for a mismatch once it inlines them.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void operator delete(void* P) noexcept { std::free(P); }
void operator delete(void* P, size_t) noexcept { std::free(P); }

namespace nuv::test {
namespace {

struct GeoDBDamage : GeoDBFixture {
  std::mt19937 Rng{20261211};
  int Pick(int Low, int High) { return std::uniform_int_distribution<int>(Low, High)(Rng); }

  void MakeDatabase() {
    TGeoDB db(nullptr);
    db.SetDBName(Base);
    db.SetDescription("damaged on purpose");
    const TgdbPolygon poly = Square(10, 20, 2);
    db.AddBorder("border", poly, true, 1, 0, 0, 0, 0, 0, 1, 0);
    db.AddTown("town", 2, 0, {47.5f, 8.25f}, 2, 0);
    db.AddCity("city", poly, false, 3, 0, 0, 0, 0, 0, 3, 0);
    db.AddLake("lake", Square(-5, -5, 1), 4, 0, 0, 0, 0, 0, 4, 0);
    db.AddRiver("river", {{1, 1}, {2, 2}}, 5, 0, 0, 0, 0, 0, 5, 0);
    TMetaInfo meta;
    meta.Caption.Assign("caption");
    const std::string bytes(20000, 'b');
    db.AddBLOB("blob", 6, 0, 1, 2, 3, 4, 6, 0, meta, bytes.data(), 20000);
    db.AddData("undef", {}, false, gitUndefined, 7, 7, 0, -1, 1, -1, 1, 0, {}, nullptr, 0, false);
    db.AddRoute("route", Square(30, 30, 1), 8, 0, 0, 0, 0, 0, 8, 0);
  }

  // Random bytes over random places, a cut or random bytes appended.
  std::string Damage(std::string B) {
    switch (Pick(0, 3)) {
      case 0:
      case 1:
        if (!B.empty())
          for (int k = Pick(1, 16); k > 0; --k)
            B[Pick(0, static_cast<int>(B.size()) - 1)] = static_cast<char>(Pick(0, 255));
        break;
      case 2: B.resize(Pick(0, static_cast<int>(B.size()))); break;
      default:
        for (int k = Pick(1, 300); k > 0; --k) B += static_cast<char>(Pick(0, 255));
    }
    return B;
  }

  // Every operation on every record; only ENUVGeoDBError is an acceptable failure.
  void Exercise(TGeoDB& Db, bool Compact) {
    auto tolerate = [](const std::function<void()>& F) {
      try {
        F();
      } catch (const ENUVGeoDBError&) {
      }
    };
    const int n = Db.GetNumEntries();
    std::vector<uint8_t> buffer(65536);
    for (int i = 0; i <= n + 1; ++i) {
      TgdbPolygon p;
      TMetaInfo meta;
      TMemoryStream stream;
      tolerate([&] { Db.RetrievePolygon(i, p); });
      tolerate([&] { Db.RetrieveBLOB(i, meta, buffer.data(), static_cast<int>(buffer.size())); });
      tolerate([&] { Db.RetrieveBLOB(i, meta, stream); });
      tolerate([&] { Db.RetrieveBLOB(i, Dir.File("out.bin"), meta); });
      tolerate([&] { Db.GetMetaInfo(i, meta); });
      tolerate([&] { Db.UpdateMetaInfo(i, meta); });
      const TgdbData d = Db.GetSumdata(i);
      Db.SearchForItemID(d.ItemID);
      Db.FindItemsAt(d.LatLow, d.LongLow);
      Db.SearchData(d.Name.Str(), d.ItemType, 1, d.ItemClass);
    }
    tolerate([&] { Db.ExportDataDebug(Dir.File("list.txt")); });
    if (Compact) tolerate([&] { Db.GarbageCollection(); });
    tolerate([&] { Db.ReplaceTown(1, "replaced", 0, 0, {1, 2}, 0, 0); });
    tolerate([&] { Db.ReplaceRoad(2, "road", Square(3, 4, 1), 0, 0, 0, 0, 0, 0, 0, 0); });
    tolerate([&] { Db.DeleteData(3); });
    tolerate([&] { Db.AddTown("added", 0, 0, {5, 6}, 0, 0); });
    tolerate([&] { Db.AddLake("added", Square(7, 8, 1), 0, 0, 0, 0, 0, 0, 0, 0); });
    tolerate([&] { Db.AddBLOB("added", 0, 0, 0, 0, 0, 0, 0, 0, {}, "abc", 3); });
  }
};

TEST_F(GeoDBDamage, RandomBytesInAnyFileGiveFalseResultsOrTheUnitsError) {
  MakeDatabase();
  const auto pristine = AllBytes();
  gHugeRequests = 0;
  for (int round = 0; round < 84; ++round) {
    const int which = round % 7;
    SCOPED_TRACE("round " + std::to_string(round) + ", file " + kExt[which]);
    // A fresh set of files each round: rewriting files in place waits for the disk.
    const std::string base = Dir.File("round" + std::to_string(round));
    for (int w = 0; w < 7; ++w)
      WriteFileBytes(base + kExt[w], w == which ? Damage(pristine[w]) : pristine[w]);
    gArmed = true;
    try {
      TGeoDB db(nullptr);
      db.SetDBName(base);
      db.SetLazyWrite(true);
      Exercise(db, round % 5 == 0);
      // What the operations left behind opens again as a consistent database.
      db.SetDBName("");
      db.SetDBName(base);
      gArmed = false;
      ExpectConsistent(db);
    } catch (const ENUVGeoDBError&) {
    }
    gArmed = false;
    ASSERT_EQ(gHugeRequests, 0);
  }
}

}  // namespace
}  // namespace nuv::test
