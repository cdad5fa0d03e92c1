// Adding, replacing, deleting and retrieving items; indexes, lazy writing, progress and the
// free functions.
#include <cmath>

#include "tests/geo/GeoDBTestUtil.h"

namespace nuv::test {
namespace {

struct GeoDBOps : GeoDBFixture {
  TGeoDB Db{nullptr};
  std::vector<int> Events;
  void SetUp() override {
    Db.SetName("GeoDB1");
    Db.SetDBName(Base);
    Db.OnPercentDone = [this](TObject* Sender, int Percent) {
      EXPECT_EQ(Sender, &Db);
      Events.push_back(Percent);
    };
  }
  TMetaInfo Meta(const std::string& Caption) {
    TMetaInfo m;
    m.Caption.Assign(Caption);
    m.Kwd.Assign("kw");
    return m;
  }
};

std::string Blob(size_t N, int Seed) {
  std::string s(N, '\0');
  for (size_t i = 0; i < N; ++i) s[i] = static_cast<char>((i * 7 + Seed) % 251);
  return s;
}

TEST_F(GeoDBOps, EveryKindRoundTripsThroughTheFiles) {
  const TgdbPolygon poly = {{47.1f, 8.1f}, {47.9f, 8.2f}, {47.4f, 9.3f}};
  Db.AddBorder("border", poly, true, 1, 11, 0, 0, 0, 0, 1, 21);
  Db.AddCity("city", poly, false, 2, 12, 0, 0, 0, 0, 2, 22);
  Db.AddLake("lake", poly, 3, 13, 0, 0, 0, 0, 3, 23);
  Db.AddRiver("river", poly, 4, 14, 0, 0, 0, 0, 4, 24);
  Db.AddRoad("road", poly, 5, 15, 0, 0, 0, 0, 5, 25);
  Db.AddRoute("route", poly, 6, 16, 0, 0, 0, 0, 6, 26);
  Db.AddTown("town", 7, 17, {46.5f, 6.6f}, 7, 27);
  const std::string bytes = Blob(40000, 1);
  Db.AddBLOB("memory", 8, 18, 1, 2, 3, 4, 8, 28, Meta("m"), bytes.data(), 40000);
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), 1000);
  Db.AddBLOB("stream", 9, 19, 5, 6, 7, 8, 9, 29, Meta("s"), stream);
  const std::string src = Dir.File("source.bin");
  WriteFileBytes(src, Blob(20000, 2));
  Db.AddBLOB(src, 10, 20, -1, 1, -2, 2, 10, 30, Meta("f"));
  Db.AddData("undef", {}, false, gitUndefined, 11, 11, 21, -5, 5, -6, 6, 31, {}, nullptr, 0,
             false);
  ASSERT_EQ(Db.GetNumEntries(), 11);
  ExpectConsistent(Db);

  TGeoDB other(nullptr);
  other.SetDBName(Base);
  const TgdbItem kinds[11] = {gitBorder, gitCity, gitLake, gitRiver, gitRoad, gitRoute,
                              gitTown,   gitBLOB, gitBLOB, gitBLOB,  gitUndefined};
  const char* names[11] = {"border", "city",   "lake",       "river", "road", "route",
                           "town",   "memory", "stream", "source.bin", "undef"};
  const uint8_t closed[11] = {1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0};
  for (int i = 1; i <= 11; ++i) {
    SCOPED_TRACE(i);
    const TgdbData d = other.GetSumdata(i);
    EXPECT_EQ(d.ItemID, i);
    EXPECT_EQ(d.ItemType, kinds[i - 1]);
    EXPECT_EQ(d.Name.Str(), names[i - 1]);
    EXPECT_EQ(d.Closed, closed[i - 1]);
    EXPECT_EQ(d.ItemClass, i);
    EXPECT_EQ(d.Attrib1, 10 + i);
    EXPECT_EQ(d.Attrib2, 20 + i);
    if (i != 10) {
      EXPECT_EQ(d.Date, i);
    } else {
      EXPECT_GT(d.Date, 40000);  // a BLOB from a file takes the file's date, not the argument
    }
    TgdbPolygon got;
    EXPECT_EQ(other.RetrievePolygon(i, got), i <= 6);
    if (i <= 6) {
      EXPECT_EQ(got, poly);
      EXPECT_EQ(d.LatLow, 47.1f);
      EXPECT_EQ(d.LatHigh, 47.9f);
      EXPECT_EQ(d.LongLow, 8.1f);
      EXPECT_EQ(d.LongHigh, 9.3f);
    }
  }
  EXPECT_EQ(ExtractLocation(other.GetSumdata(7)), (TSCoords{46.5f, 6.6f}));
  EXPECT_EQ(other.GetSumdata(11).LongHigh, 6.0f);

  TMetaInfo meta;
  TMemoryStream out;
  ASSERT_TRUE(other.RetrieveBLOB(8, meta, out));
  EXPECT_EQ(std::string(static_cast<const char*>(out.Memory()), 40000), bytes);
  EXPECT_EQ(out.GetPosition(), 40000);
  EXPECT_EQ(meta.Caption.Str(), "m");
  std::string buffer(1000, '\0');
  ASSERT_TRUE(other.RetrieveBLOB(9, meta, buffer.data(), 1000));
  EXPECT_EQ(buffer, bytes.substr(0, 1000));
  EXPECT_EQ(meta.Caption.Str(), "s");
  ASSERT_TRUE(other.RetrieveBLOB(10, Dir.File("copy.bin"), meta));
  EXPECT_EQ(ReadFileBytes(Dir.File("copy.bin")), Blob(20000, 2));
  EXPECT_EQ(meta.FilePath.Str(), src);
  EXPECT_EQ(meta.Caption.Str(), "f");
  EXPECT_FALSE(other.RetrieveBLOB(7, meta, buffer.data(), 1000));  // a town
}

TEST_F(GeoDBOps, IdentifiersSurviveDeletionAndTheLastRecordMovesIntoTheGap) {
  Db.AddTown("a", 0, 0, {1, 1}, 0, 0);
  Db.AddTown("b", 0, 0, {2, 2}, 0, 0);
  Db.AddTown("c", 0, 0, {3, 3}, 0, 0);
  EXPECT_EQ(Db.GetSumdata(3).ItemID, 3);
  Db.DeleteData(1);
  ExpectConsistent(Db);
  EXPECT_EQ(Db.GetSumdata(1).Name.Str(), "c");
  EXPECT_EQ(Db.SearchForItemID(3), 1);
  Db.AddTown("d", 0, 0, {4, 4}, 0, 0);
  EXPECT_EQ(Db.GetSumdata(3).ItemID, 4);
  EXPECT_EQ(Db.SearchForItemID(4), 3);
  EXPECT_EQ(Db.SearchForItemID(1), 0);    // deleted
  EXPECT_EQ(Db.SearchForItemID(99), 0);   // beyond all
  ExpectConsistent(Db);
  Db.DeleteData(0);  // out of range: nothing
  Db.DeleteData(4);
  EXPECT_EQ(Db.GetNumEntries(), 3);
  Db.DeleteData(3);
  Db.DeleteData(1);
  Db.DeleteData(1);
  EXPECT_EQ(Db.GetNumEntries(), 0);
  EXPECT_EQ(Db.SearchForItemID(1), 0);    // empty
  ExpectConsistent(Db);
}

TEST_F(GeoDBOps, ClosestEntryAndInsertionAmongEqualKeys) {
  for (float lat : {20.0f, 10.0f, 30.0f}) Db.AddTown("t", 0, 0, {lat, 0}, 0, 0);
  EXPECT_EQ(Db.GetClosestLatLowIx(5), 1);
  EXPECT_EQ(Db.GetClosestLatLowIx(15), 2);
  EXPECT_EQ(Db.GetClosestLatLowIx(20), 2);
  EXPECT_EQ(Db.GetClosestLatLowIx(35), 4);
  EXPECT_EQ(Db.GetClosestItemIDIx(2), 2);
  EXPECT_EQ(Db.GetClosestItemIDIx(7), 4);
  // Positions are clamped to 1..NumEntries, and index entries come back 1-based.
  EXPECT_EQ(Db.GetIxLatLow(0), (TIxLLRec{10, 2}));
  EXPECT_EQ(Db.GetIxLatLow(99), (TIxLLRec{30, 3}));
  EXPECT_EQ(Db.GetIxItemID(-5), (TIxItemIDRec{1, 1}));
  EXPECT_EQ(Db.GetSumdata(0).LatLow, 20.0f);
  EXPECT_EQ(Db.GetSumdata(4).LatLow, 30.0f);

  TIxLLRecArray ix = {{10, 0}, {20, 1}, {20, 2}, {30, 3}, {}};
  TGeoDB::SortIxInto(ix, {20, 9});
  EXPECT_EQ(ix, (TIxLLRecArray{{10, 0}, {20, 9}, {20, 1}, {20, 2}, {30, 3}}));
  TIxItemIDRecArray ids = {{}};
  TGeoDB::SortIxItemIDInto(ids, {5, 0});
  EXPECT_EQ(ids, (TIxItemIDRecArray{{5, 0}}));

  TGeoDB empty(nullptr);
  EXPECT_EQ(empty.GetClosestLatLowIx(1), 1);
}

// A BLOB may be given bounds that are not numbers; they sort first and leave the order of
// every other entry intact.
TEST_F(GeoDBOps, BoundsThatAreNotNumbersSortFirst) {
  const float nan = std::nanf("");
  Db.AddTown("t", 0, 0, {10, 10}, 0, 0);
  Db.AddBLOB("nowhere", 0, 0, nan, nan, nan, nan, 0, 0, {}, "x", 1);
  for (float lat : {30.0f, 20.0f, 50.0f, 40.0f}) Db.AddTown("t", 0, 0, {lat, lat}, 0, 0);
  ExpectConsistent(Db);
  EXPECT_EQ(Db.GetIxLatLow(1).RecIdx, 2);
  EXPECT_EQ(Db.GetClosestLatLowIx(nan), 1);
  EXPECT_EQ(Db.GetClosestLatLowIx(25), 4);
  for (float lat : {10.0f, 20.0f, 30.0f, 40.0f, 50.0f})
    EXPECT_EQ(Db.FindItemsAt(lat, lat).size(), 1u) << lat;
  EXPECT_TRUE(Db.FindItemsAt(nan, nan).empty());
  Db.DeleteData(1);
  ExpectConsistent(Db);
}

TEST_F(GeoDBOps, ReplaceKeepsTheIdentifierAndTheIndexesConsistent) {
  for (int i = 0; i < 20; ++i) Db.AddCity("c", Square(i, -i, 1), true, 0, 0, 0, 0, 0, 0, 0, 0);
  Db.ReplaceTown(5, "now a town", 0, 0, {-50, 50}, 3, 0);
  Db.ReplaceLake(6, "lake", Square(80, 80, 2), 0, 0, 0, 0, 0, 0, 0, 0);
  Db.ReplaceRiver(0, "x", {}, 0, 0, 0, 0, 0, 0, 0, 0);   // out of range: nothing
  Db.ReplaceRoad(21, "x", {}, 0, 0, 0, 0, 0, 0, 0, 0);
  ExpectConsistent(Db);
  EXPECT_EQ(Db.GetSumdata(5).ItemID, 5);
  EXPECT_EQ(Db.GetSumdata(5).ItemType, gitTown);
  EXPECT_EQ(Db.GetSumdata(5).DataPos, -1);
  EXPECT_EQ(Db.GetSumdata(6).Closed, 1);
  EXPECT_EQ(Db.GetSumdata(6).LatLow, 80.0f);
  EXPECT_EQ(Db.GetIxLatLow(1).RecIdx, 5);  // the town at -50 now comes first
  EXPECT_EQ(Db.GetIxLongHigh(20).RecIdx, 6);
  EXPECT_EQ(Db.GetLastItemID(), 20);
}

TEST_F(GeoDBOps, PolygonWithoutPointsHasTheEmptyBounds) {
  Db.AddRoute("none", {}, 0, 0, 1, 2, 3, 4, 0, 0);
  const TgdbData d = Db.GetSumdata(1);
  EXPECT_EQ(d.LatLow, 90.0f);
  EXPECT_EQ(d.LatHigh, -90.0f);
  EXPECT_EQ(d.LongLow, 180.0f);
  EXPECT_EQ(d.LongHigh, -180.0f);
  EXPECT_EQ(d.DataPos, 260);
  EXPECT_EQ(d.Size, 0);
  TgdbPolygon p = {{1, 1}};
  EXPECT_TRUE(Db.RetrievePolygon(1, p));
  EXPECT_TRUE(p.empty());
}

TEST_F(GeoDBOps, LazyWriteHoldsTheIndexFilesBackUntilItEnds) {
  Db.AddTown("a", 0, 0, {1, 1}, 0, 0);
  const std::vector<std::function<void(TGeoDB&)>> endings = {
      [](TGeoDB& D) { D.SetLazyWrite(false); },
      [this](TGeoDB& D) { D.SetDBName(Dir.File("other")); },
      [](TGeoDB& D) { D.SetDBName(""); },
  };
  for (size_t k = 0; k <= endings.size(); ++k) {
    SCOPED_TRACE(k);
    auto db = std::make_unique<TGeoDB>(nullptr);
    db->SetDBName(Base);
    db->SetLazyWrite(true);
    const int n = db->GetNumEntries();
    const auto indexes = AllBytes();
    db->AddTown("b", 0, 0, {-1.0f - k, -1}, 0, 0);
    for (int w = 0; w < 5; ++w) EXPECT_EQ(Bytes(w), indexes[w]);
    EXPECT_EQ(Bytes(5).size(), (n + 1) * 120u);  // records are written at once
    if (k < endings.size())
      endings[k](*db);
    else
      db.reset();  // destroying the component
    EXPECT_EQ(Bytes(0).size(), (n + 1) * 8u);
    EXPECT_EQ(I32At(Bytes(1), 4), n);  // the new town, southernmost, comes first
    if (db) {
      EXPECT_EQ(db->GetLazyWrite(), k == 1);
    }
  }
}

TEST_F(GeoDBOps, ProgressEvents) {
  Db.AddRiver("r", Square(0, 0, 1), 0, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(Events, (std::vector<int>{0, 0, 25, 50, 75, 100}));
  Events.clear();
  const std::string bytes = Blob(40000, 3);
  Db.AddBLOB("b", 0, 0, 0, 0, 0, 0, 0, 0, {}, bytes.data(), 40000);
  EXPECT_EQ(Events, (std::vector<int>{0, 41, 82, 100}));
  Events.clear();
  Db.AddTown("t", 0, 0, {1, 1}, 0, 0);
  TgdbPolygon unchanged = {{5, 5}};
  EXPECT_FALSE(Db.RetrievePolygon(3, unchanged));
  EXPECT_EQ(unchanged, (TgdbPolygon{{5, 5}}));
  EXPECT_EQ(Events, (std::vector<int>{0, 100, 0, 100}));
  Events.clear();
  TMetaInfo meta;
  std::string buffer(40000, '\0');
  ASSERT_TRUE(Db.RetrieveBLOB(2, meta, buffer.data(), 40000));
  EXPECT_EQ(Events, (std::vector<int>{0, 41, 82, 100, 100}));
  EXPECT_EQ(buffer, bytes);
}

TEST_F(GeoDBOps, RetrieveBLOBNamesAndErrors) {
  const std::string bytes = Blob(100, 4);
  Db.AddBLOB("my data.bin", 0, 0, 0, 0, 0, 0, 0, 0, {}, bytes.data(), 100);
  Db.AddBLOB("", 0, 0, 0, 0, 0, 0, 0, 0, {}, bytes.data(), 100);
  Db.AddBLOB("..", 0, 0, 0, 0, 0, 0, 0, 0, {}, bytes.data(), 100);
  TMetaInfo meta;
  for (const std::string& folder : {Dir.Path() + "\\", Dir.Path() + "/"}) {
    ASSERT_TRUE(Db.RetrieveBLOB(1, folder, meta));
    const std::string target = Dir.File(ReduceStringToFN83CompliantChars("my data.bin"));
    EXPECT_EQ(ReadFileBytes(target), bytes);
    DeleteFile(target);
  }
  for (int index : {2, 3}) {  // no name, and a name that would be the parent folder
    try {
      Db.RetrieveBLOB(index, index == 2 ? "" : Dir.Path() + "/", meta);
      FAIL() << "no error";
    } catch (const ENUVGeoDBError& e) {
      EXPECT_EQ(e.Message(), "Component \"GeoDB1\": RetrieveBLOB: invalid filename.");
    }
  }
  std::string small(99, '\0');
  try {
    Db.RetrieveBLOB(1, meta, small.data(), 99);
    FAIL() << "no error";
  } catch (const ENUVGeoDBError& e) {
    EXPECT_EQ(e.Message(),
              "Component \"GeoDB1\": RetrieveBLOB: BLOB to be retrieved is larger than SizeOfBlobData.");
  }
  // A stream is sized to the item's Size for any item in range, even when it is no BLOB.
  Db.AddRoad("road", Square(0, 0, 1), 0, 0, 0, 0, 0, 0, 0, 0);
  TMemoryStream stream;
  stream.WriteBuffer("xyz", 3);
  EXPECT_FALSE(Db.RetrieveBLOB(4, meta, stream));
  EXPECT_EQ(stream.GetSize(), 4);
  EXPECT_FALSE(Db.RetrieveBLOB(5, meta, stream));
  EXPECT_TRUE(Db.RetrieveBLOB(-3, meta, stream));  // below 1 counts as 1
  EXPECT_EQ(stream.GetSize(), 100);
}

TEST_F(GeoDBOps, MetaInfoBasicDataAndStoredPath) {
  const std::string src = Dir.File("data.txt");
  WriteFileBytes(src, "hello");
  Db.AddBLOB(src, "folder/renamed.txt", "D:\\archive\\data.txt", 0, 0, 0, 0, 0, 0, 0, 0,
             Meta("c"));
  Db.AddTown("town", 0, 0, {1, 2}, 0, 0);
  TMetaInfo meta;
  ASSERT_TRUE(Db.GetMetaInfo(1, meta));
  EXPECT_EQ(meta.FilePath.Str(), "D:\\archive\\data.txt");
  EXPECT_EQ(Db.GetSumdata(1).Name.Str(), "renamed.txt");
  EXPECT_EQ(Db.GetSumdata(1).Size, 5);
  EXPECT_FALSE(Db.GetMetaInfo(2, meta));
  meta.Descriptor.Assign("new");
  ASSERT_TRUE(Db.UpdateMetaInfo(1, meta));
  EXPECT_FALSE(Db.UpdateMetaInfo(2, meta));
  TMetaInfo again;
  TMemoryStream out;
  ASSERT_TRUE(Db.RetrieveBLOB(1, again, out));
  EXPECT_EQ(again, meta);
  EXPECT_EQ(std::string(static_cast<const char*>(out.Memory()), 5), "hello");

  TgdbData d = Db.GetSumdata(2);
  d.Name.Assign("renamed town", ' ');
  d.LatLow = d.LatHigh = -10;
  d.ItemID = 77;    // identity and data fields are not taken
  d.DataPos = 300;
  ASSERT_TRUE(Db.UpdateBasicData(2, d));
  EXPECT_FALSE(Db.UpdateBasicData(3, d));
  ExpectConsistent(Db);
  EXPECT_EQ(Db.GetSumdata(2).Name.Str(), "renamed town");
  EXPECT_EQ(Db.GetSumdata(2).ItemID, 2);
  EXPECT_EQ(Db.GetSumdata(2).DataPos, -1);
  EXPECT_EQ(Db.GetIxLatLow(1).RecIdx, 2);

  EXPECT_EQ(Db.SearchData("RENAMED TOWN"), 2);
  EXPECT_EQ(Db.SearchData("renamed.txt", gitBLOB, 1, 0), 1);
  EXPECT_EQ(Db.SearchData("renamed.txt", gitBLOB, 2, 0), 0);
  EXPECT_EQ(Db.SearchData("renamed.txt", gitTown, 1, 0), 0);
  EXPECT_EQ(Db.SearchData("nothing"), 0);
}

TEST_F(GeoDBOps, GarbageCollectionKeepsOnlyReferencedBlocks) {
  const std::string big = Blob(50000, 5);
  Db.AddLake("l1", Square(1, 1, 1), 0, 0, 0, 0, 0, 0, 0, 0);
  Db.AddBLOB("b", 0, 0, 0, 0, 0, 0, 0, 0, Meta("x"), big.data(), 50000);
  Db.AddLake("l2", Square(2, 2, 2), 0, 0, 0, 0, 0, 0, 0, 0);
  Db.AddBLOB("small", 0, 0, 0, 0, 0, 0, 0, 0, Meta("y"), big.data(), 10);
  Db.AddTown("t", 0, 0, {3, 3}, 0, 0);
  Db.ReplaceLake(1, "l1b", Square(5, 5, 5), 0, 0, 0, 0, 0, 0, 0, 0);
  Db.DeleteData(2);  // the big BLOB; "t" moves to record 2
  const int64_t live = 260 + 32 + 32 + 1034;
  EXPECT_GT(static_cast<int64_t>(Bytes(6).size()), live + 50000);
  Events.clear();
  Db.GarbageCollection();
  EXPECT_EQ(static_cast<int64_t>(Bytes(6).size()), live);
  EXPECT_EQ(Events.front(), 0);
  EXPECT_EQ(Events.back(), 100);
  EXPECT_FALSE(FileExists(File(5) + "~"));
  EXPECT_FALSE(FileExists(File(6) + "~"));
  ExpectConsistent(Db);
  TGeoDB other(nullptr);
  other.SetDBName(Base);
  TgdbPolygon p;
  ASSERT_TRUE(other.RetrievePolygon(1, p));
  EXPECT_EQ(p, Square(5, 5, 5));
  ASSERT_TRUE(other.RetrievePolygon(3, p));
  EXPECT_EQ(p, Square(2, 2, 2));
  TMetaInfo meta;
  std::string buffer(10, '\0');
  ASSERT_TRUE(other.RetrieveBLOB(4, meta, buffer.data(), 10));
  EXPECT_EQ(buffer, big.substr(0, 10));
  EXPECT_EQ(meta.Caption.Str(), "y");
  EXPECT_EQ(other.GetLastItemID(), 5);
}

TEST_F(GeoDBOps, InterruptedCompactionIsCompletedOnOpen) {
  Db.AddLake("l", Square(1, 1, 1), 0, 0, 0, 0, 0, 0, 0, 0);
  Db.ReplaceLake(1, "l", Square(2, 2, 2), 0, 0, 0, 0, 0, 0, 0, 0);
  const std::string oldItems = Bytes(5);
  Db.GarbageCollection();
  // As if the process had stopped between renaming the data file and the item file.
  WriteFileBytes(File(5) + "~", Bytes(5));
  WriteFileBytes(File(5), oldItems);
  TGeoDB other(nullptr);
  other.SetDBName(Base);
  TgdbPolygon p;
  ASSERT_TRUE(other.RetrievePolygon(1, p));
  EXPECT_EQ(p, Square(2, 2, 2));
  EXPECT_FALSE(FileExists(File(5) + "~"));
}

TEST_F(GeoDBOps, DebugListingAndSystemInformation) {
  Db.SetDescription("Alps");
  Db.SetRevision(4);
  Db.AddTown("Zermatt", 0, 0, {46.02f, 7.75f}, 0, 0);
  Db.ExportDataDebug(Dir.File("list.txt"));
  const std::string text = ReadFileBytes(Dir.File("list.txt"));
  EXPECT_NE(text.find("Description \"Alps\""), std::string::npos);
  EXPECT_NE(text.find("\tTown\t0\tZermatt\t-1\t"), std::string::npos);
  TgdbSystemInfo info;
  ASSERT_TRUE(ReadSystemInformation(Base + ".nuvgds", info));
  EXPECT_EQ(info.Description, "Alps");
  EXPECT_EQ(info.Revision, 4);
  EXPECT_EQ(info.LastItemID, 1);
  EXPECT_EQ(info.FormatCode, 3);
  EXPECT_EQ(info.NumEntries, 1);
  EXPECT_FALSE(ReadSystemInformation(Dir.File("absent"), info));
}

TEST_F(GeoDBOps, NoDatabaseOpen) {
  TGeoDB closed(nullptr);
  closed.AddTown("t", 0, 0, {1, 1}, 0, 0);
  closed.SetDescription("x");
  closed.SetRevision(3);
  closed.DeleteData(1);
  closed.SaveIndex(0);
  TgdbPolygon p;
  TMetaInfo m;
  TMemoryStream s;
  EXPECT_FALSE(closed.RetrievePolygon(1, p));
  EXPECT_FALSE(closed.RetrieveBLOB(1, m, s));
  EXPECT_FALSE(closed.RetrieveBLOB(1, "x", m));
  EXPECT_EQ(closed.GetNumEntries(), 0);
  EXPECT_EQ(closed.GetDescription(), "");
  EXPECT_EQ(closed.GetRevision(), 0);
  // Closing resets the header image and lazy writing.
  Db.SetRevision(9);
  Db.SetLazyWrite(true);
  Db.SetDBName("");
  EXPECT_EQ(Db.GetRevision(), 0);
  EXPECT_FALSE(Db.GetLazyWrite());
  EXPECT_EQ(Db.GetDBName(), "");
}

TEST(GeoDBFree, LatitudeLongitudeTextsAndRecordHelpers) {
  EXPECT_EQ(GeoLatitude(-100, dfDecimal, 2), DegreeToStr(90, dfDecimal, 2) + " S");
  EXPECT_EQ(GeoLatitude(47.5, dfDegMin, 0), DegreeToStr(47.5, dfDegMin, 0) + " N");
  EXPECT_EQ(GeoLatitude(0, dfDecimal, 1), DegreeToStr(0, dfDecimal, 1) + " N");
  EXPECT_EQ(GeoLongitude(-200, dfDegMinSec, 1), DegreeToStr(180, dfDegMinSec, 1) + " W");
  EXPECT_EQ(GeoLongitude(0, dfDecimal, 0), DegreeToStr(0, dfDecimal, 0) + " E");

  SetClock([] { return 44000.5; });
  TgdbData d;
  d.ItemID = 5;
  d.Size = 42;
  d.LatHigh = 3;
  d.ItemType = gitLake;
  ClearGdbData(d);
  SetClock({});
  EXPECT_EQ(d.ItemID, 0);
  EXPECT_EQ(d.Size, 42);
  EXPECT_EQ(d.Date, 44000.5);
  EXPECT_EQ(d.DataPos, -1);
  EXPECT_EQ(d.LatHigh, 0.0f);
  EXPECT_EQ(d.ItemType, gitUndefined);
  EXPECT_EQ(d.Name.Length, 0);
  EXPECT_EQ(std::string(d.Name.Chars.data(), 63), std::string(63, ' '));

  TMetaInfo m;
  m.Kwd.Assign("a");
  m.Reserved.Assign("b");
  ClearMetaInfo(m);
  EXPECT_EQ(m.Kwd.Str() + m.Caption.Str() + m.FilePath.Str() + m.Descriptor.Str() + m.Reserved.Str(), "");
  EXPECT_STREQ(GDB_ITEMNAMES[gitBLOB], "BLOB");
  EXPECT_STREQ(GDB_ITEMNAMES[gitUndefined], "Undefined");
}

}  // namespace
}  // namespace nuv::test
