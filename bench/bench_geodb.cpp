// Geo database: adding 100 000 items, then position queries (items whose bounding box
// contains a point) and identifier look-ups, each against a scan of the same records.
//
//   build/bin/bench_geodb
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <random>

#include "geo/NUV_GeoDB.h"

namespace {

using namespace nuv;

constexpr int kItems = 100000;

struct Database {
  std::string Dir;
  TGeoDB Db{nullptr};
  std::vector<TgdbData> Records;  // the scan's copy of the records
  Database() {
    Dir = (std::filesystem::temp_directory_path() / "nuv-bench-geodb-XXXXXX").string();
    if (!mkdtemp(Dir.data())) throw std::runtime_error("no temporary folder");
    Db.SetDBName(Dir + "/bench");
  }
  ~Database() {
    Db.SetDBName("");
    std::error_code ec;
    std::filesystem::remove_all(Dir, ec);
  }
  // Towns, small cities of four points and BLOBs with boxes of up to two degrees, spread
  // over the globe; written lazily, as a bulk load would be.
  void Fill() {
    std::mt19937 rng(42);
    std::uniform_real_distribution<float> lat(-80, 80), lon(-175, 175), side(0.01f, 2);
    Db.SetLazyWrite(true);
    for (int i = 0; i < kItems; ++i) {
      const float a = lat(rng), o = lon(rng), s = side(rng);
      switch (i % 3) {
        case 0: Db.AddTown("town", 0, 0, {a, o}, 0, 0); break;
        case 1:
          Db.AddCity("city", {{a, o}, {a + s, o}, {a + s, o + s}, {a, o + s}}, true, 0, 0, 0, 0,
                     0, 0, 0, 0);
          break;
        default: Db.AddBLOB("blob", 0, 0, a, a + s, o, o + s, 0, 0, {}, "x", 1);
      }
    }
    Db.SetLazyWrite(false);
    for (int i = 1; i <= Db.GetNumEntries(); ++i) Records.push_back(Db.GetSumdata(i));
  }
};

Database& Filled() {
  static std::unique_ptr<Database> db;
  if (!db) {
    db = std::make_unique<Database>();
    db->Fill();
  }
  return *db;
}

void BM_Add100000Items(benchmark::State& State) {
  for (auto _ : State) {
    Database db;
    db.Fill();
    benchmark::DoNotOptimize(db.Db.GetNumEntries());
  }
  State.SetItemsProcessed(State.iterations() * kItems);
}
BENCHMARK(BM_Add100000Items)->Iterations(1)->Unit(benchmark::kMillisecond);

std::vector<std::pair<double, double>> QueryPoints() {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> lat(-85, 85), lon(-179, 179);
  std::vector<std::pair<double, double>> points(1024);
  for (auto& p : points) p = {lat(rng), lon(rng)};
  return points;
}

void BM_PositionQueryIndexed(benchmark::State& State) {
  Database& db = Filled();
  const auto points = QueryPoints();
  size_t i = 0, found = 0;
  for (auto _ : State) {
    const auto& p = points[i++ % points.size()];
    found += db.Db.FindItemsAt(p.first, p.second).size();
  }
  State.SetItemsProcessed(State.iterations());
  State.counters["hits/query"] = static_cast<double>(found) / State.iterations();
}
BENCHMARK(BM_PositionQueryIndexed);

void BM_PositionQueryScan(benchmark::State& State) {
  Database& db = Filled();
  const auto points = QueryPoints();
  size_t i = 0, found = 0;
  for (auto _ : State) {
    const auto& p = points[i++ % points.size()];
    std::vector<int> hits;
    for (size_t r = 0; r < db.Records.size(); ++r) {
      const TgdbData& d = db.Records[r];
      if (d.LatLow <= p.first && d.LatHigh >= p.first && d.LongLow <= p.second &&
          d.LongHigh >= p.second)
        hits.push_back(static_cast<int>(r + 1));
    }
    found += hits.size();
  }
  State.SetItemsProcessed(State.iterations());
  State.counters["hits/query"] = static_cast<double>(found) / State.iterations();
}
BENCHMARK(BM_PositionQueryScan);

std::vector<int> QueryIDs() {
  std::mt19937 rng(9);
  std::uniform_int_distribution<int> id(1, kItems + 100);  // a few identifiers do not exist
  std::vector<int> ids(1024);
  for (auto& v : ids) v = id(rng);
  return ids;
}

void BM_IdentifierLookupIndexed(benchmark::State& State) {
  Database& db = Filled();
  const auto ids = QueryIDs();
  size_t i = 0;
  for (auto _ : State) benchmark::DoNotOptimize(db.Db.SearchForItemID(ids[i++ % ids.size()]));
  State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_IdentifierLookupIndexed);

void BM_IdentifierLookupScan(benchmark::State& State) {
  Database& db = Filled();
  const auto ids = QueryIDs();
  size_t i = 0;
  for (auto _ : State) {
    const int id = ids[i++ % ids.size()];
    int rec = 0;
    for (size_t r = 0; r < db.Records.size(); ++r) {
      if (db.Records[r].ItemID == id) {
        rec = static_cast<int>(r + 1);
        break;
      }
    }
    benchmark::DoNotOptimize(rec);
  }
  State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_IdentifierLookupScan);

}  // namespace

BENCHMARK_MAIN();
