// Damaged and unusual files: opening never destroys data, indexes are checked, fields read
// from the files are checked before use, and failures leave a readable database.
#include <unistd.h>

#include <filesystem>

#include "tests/geo/GeoDBTestUtil.h"

namespace nuv::test {
namespace {

namespace fs = std::filesystem;

struct GeoDBFaults : GeoDBFixture {
  // Three items: a town, a lake of four points and a BLOB of five bytes.
  void MakeDatabase() {
    TGeoDB db(nullptr);
    db.SetDBName(Base);
    db.AddTown("town", 0, 0, {47.5f, 8.25f}, 0, 0);
    db.AddLake("lake", Square(46, 6, 1), 0, 0, 0, 0, 0, 0, 0, 0);
    db.AddBLOB("blob", 0, 0, 1, 2, 3, 4, 0, 0, {}, "abcde", 5);
  }
  template <typename Edit>
  void EditItemFile(Edit E) {
    std::string items = Bytes(5);
    E(items);
    WriteFileBytes(File(5), items);
  }
  static void ExpectError(const std::function<void()>& F, const std::string& Text) {
    try {
      F();
      ADD_FAILURE() << "no error";
    } catch (const ENUVGeoDBError& e) {
      EXPECT_NE(e.Message().find(Text), std::string::npos) << e.Message();
    }
  }
};

TEST_F(GeoDBFaults, AFileThatCannotBeOpenedIsReportedAndNothingIsTouched) {
  MakeDatabase();
  const auto before = AllBytes();
  fs::rename(File(5), File(5) + ".saved");
  fs::create_directory(File(5));  // stands in the item file's place, whoever runs the test
  fs::remove(File(2));            // a missing index would be created by a successful open
  TGeoDB db(nullptr);
  db.SetName("Geo");
  ExpectError([&] { db.SetDBName(Base); }, "Component \"Geo\": cannot open \"" + File(5) + "\".");
  EXPECT_EQ(db.GetDBName(), "");
  EXPECT_EQ(db.GetNumEntries(), 0);
  EXPECT_FALSE(fs::exists(File(2)));
  for (int w : {0, 1, 3, 4, 6}) EXPECT_EQ(Bytes(w), before[w]) << kExt[w];

  // An open database is closed when another one fails to open.
  fs::remove(File(5));
  fs::rename(File(5) + ".saved", File(5));
  db.SetDBName(Base);
  EXPECT_EQ(db.GetNumEntries(), 3);
  fs::create_directory(Dir.File("bad.nuvgdd"));
  EXPECT_THROW(db.SetDBName(Dir.File("bad")), ENUVGeoDBError);
  EXPECT_EQ(db.GetDBName(), "");
  EXPECT_EQ(db.GetNumEntries(), 0);
  db.SetDBName(Base);
  db.SetLazyWrite(true);
  EXPECT_THROW(db.SetDBName(".nuvgds"), ENUVGeoDBError);  // no base name to put in front
  EXPECT_EQ(db.GetDBName(), "");
  EXPECT_FALSE(db.GetLazyWrite());
}

TEST_F(GeoDBFaults, AnUnreadableFileIsReportedNotTruncated) {
  if (geteuid() == 0) GTEST_SKIP() << "running as root: file permissions do not stop reads";
  MakeDatabase();
  const auto before = AllBytes();
  fs::permissions(File(5), fs::perms::none);
  TGeoDB db(nullptr);
  EXPECT_THROW(db.SetDBName(Base), ENUVGeoDBError);
  fs::permissions(File(5), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(AllBytes(), before);
  EXPECT_EQ(db.GetDBName(), "");
}

TEST_F(GeoDBFaults, ReadOnlyFilesOpenForReadingAndStayUnchanged) {
  MakeDatabase();
  const auto before = AllBytes();
  for (int w = 0; w < 7; ++w) fs::permissions(File(w), fs::perms::owner_read);
  TGeoDB db(nullptr);
  db.SetDBName(Base);
  EXPECT_EQ(db.GetNumEntries(), 3);
  TgdbPolygon p;
  EXPECT_TRUE(db.RetrievePolygon(2, p));
  EXPECT_EQ(p, Square(46, 6, 1));
  db.SetDBName("");
  for (int w = 0; w < 7; ++w) fs::permissions(File(w), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(AllBytes(), before);
}

TEST_F(GeoDBFaults, IndexesThatDisagreeWithTheItemFileAreRebuiltAndSaved) {
  struct Case {
    const char* What;
    int Which;
    std::function<void(std::string&)> Edit;
  };
  const std::vector<Case> cases = {
      {"one entry short", 2, [](std::string& B) { B.resize(B.size() - 8); }},
      {"one entry too many", 1, [](std::string& B) { B += B.substr(0, 8); }},
      {"record index out of range", 0, [](std::string& B) { PutI32At(B, 4, 3); }},
      {"negative record index", 4, [](std::string& B) { PutI32At(B, 12, -1); }},
      {"record held twice", 0, [](std::string& B) { PutI32At(B, 12, I32At(B, 4)); }},
      {"out of order", 3, [](std::string& B) { std::swap_ranges(B.begin(), B.begin() + 8, B.begin() + 16); }},
      {"key not the record's", 1, [](std::string& B) { PutF32At(B, 16, 89.0f); }},
      {"torn last entry", 0, [](std::string& B) { B.resize(B.size() - 3); }},
      {"empty", 4, [](std::string& B) { B.clear(); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    fs::remove_all(Dir.Path());
    fs::create_directory(Dir.Path());
    MakeDatabase();
    const auto good = AllBytes();
    std::string bytes = Bytes(c.Which);
    c.Edit(bytes);
    WriteFileBytes(File(c.Which), bytes);
    TGeoDB db(nullptr);
    db.SetDBName(Base);
    ExpectConsistent(db);
    EXPECT_EQ(AllBytes(), good);  // the insertion rule rebuilds the same indexes
  }
}

TEST_F(GeoDBFaults, ARecreatedDataFileHandsOutNoIdentifierTwice) {
  MakeDatabase();
  fs::remove(File(6));
  TGeoDB db(nullptr);
  db.SetDBName(Base);
  EXPECT_EQ(Bytes(6).size(), 260u);
  EXPECT_EQ(I32At(Bytes(6), 0), 3);
  db.AddTown("new", 0, 0, {0, 0}, 0, 0);
  EXPECT_EQ(db.GetSumdata(4).ItemID, 4);
  // The records that point into the lost data are reported, not read.
  TgdbPolygon p = {{9, 9}};
  EXPECT_FALSE(db.RetrievePolygon(2, p));
  EXPECT_EQ(p, (TgdbPolygon{{9, 9}}));
  TMetaInfo meta;
  char buffer[5];
  EXPECT_FALSE(db.RetrieveBLOB(3, meta, buffer, 5));
  EXPECT_FALSE(db.GetMetaInfo(3, meta));
  ExpectConsistent(db);
}

TEST_F(GeoDBFaults, AHeaderBehindTheRecordsIsRaised) {
  MakeDatabase();
  std::string header = Bytes(6);
  PutI32At(header, 0, 1);  // LastItemID below the stored identifiers
  header[8] = static_cast<char>(200);  // description length beyond its capacity
  WriteFileBytes(File(6), header);
  TGeoDB db(nullptr);
  db.SetDBName(Base);
  EXPECT_EQ(db.GetLastItemID(), 3);
  EXPECT_LE(db.GetDescription().size(), 60u);
  db.AddTown("t", 0, 0, {0, 0}, 0, 0);
  EXPECT_EQ(db.GetSumdata(4).ItemID, 4);
}

TEST_F(GeoDBFaults, DamagedRecordFieldsAreCheckedBeforeUse) {
  struct Case {
    const char* What;
    int Record;  // 0-based: 1 the lake, 2 the BLOB
    size_t Offset;
    int32_t Value;
  };
  const std::vector<Case> cases = {
      {"negative point count", 1, 112, -5},
      {"huge point count", 1, 112, 0x7FFFFFFF},
      {"no data position", 1, 76, -1},
      {"position past the end", 1, 76, 100000},
      {"position inside the header", 1, 76, 8},
      {"block running past the end", 1, 112, 200},
      {"negative BLOB size", 2, 112, -1},
      {"huge BLOB size", 2, 112, 0x7FFFFFF0},
      {"BLOB past the end", 2, 76, 0x7FFFFFFF},
      {"size on a town", 0, 112, 0x7FFFFFFF},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    fs::remove_all(Dir.Path());
    fs::create_directory(Dir.Path());
    MakeDatabase();
    EditItemFile([&](std::string& B) { PutI32At(B, c.Record * 120 + c.Offset, c.Value); });
    TGeoDB db(nullptr);
    db.SetDBName(Base);
    TgdbPolygon p = {{9, 9}};
    TMetaInfo meta;
    meta.Caption.Assign("untouched");
    TMemoryStream stream;
    stream.WriteBuffer("xyz", 3);
    char buffer[16];
    EXPECT_FALSE(db.RetrievePolygon(c.Record + 1, p));
    EXPECT_EQ(p, (TgdbPolygon{{9, 9}}));
    EXPECT_FALSE(db.RetrieveBLOB(c.Record + 1, meta, stream));
    EXPECT_EQ(stream.GetSize(), 3);
    EXPECT_FALSE(db.RetrieveBLOB(c.Record + 1, meta, buffer, 16));
    EXPECT_FALSE(db.RetrieveBLOB(c.Record + 1, Dir.File("out"), meta));
    EXPECT_FALSE(db.GetMetaInfo(c.Record + 1, meta));
    EXPECT_FALSE(db.UpdateMetaInfo(c.Record + 1, meta));
    EXPECT_EQ(meta.Caption.Str(), "untouched");
    // A compaction drops the damaged position instead of letting it point at other data.
    db.GarbageCollection();
    EXPECT_EQ(db.GetSumdata(c.Record + 1).DataPos, -1);
    EXPECT_FALSE(db.RetrievePolygon(c.Record + 1, p));
    EXPECT_EQ(db.RetrievePolygon(2, p), c.Record != 1);
  }
}

TEST_F(GeoDBFaults, ForeignKindsAndOverlongLengthBytes) {
  MakeDatabase();
  EditItemFile([](std::string& B) {
    B[120 + 108] = static_cast<char>(200);  // the lake's kind
    B[4] = static_cast<char>(255);          // the town's name length
  });
  std::string data = Bytes(6);
  const size_t meta = static_cast<size_t>(I32At(Bytes(5), 240 + 76));
  data[meta + 256] = static_cast<char>(255);  // caption, capacity 127
  data[meta] = static_cast<char>(255);        // keywords, capacity 255: valid
  WriteFileBytes(File(6), data);
  TGeoDB db(nullptr);
  db.SetDBName(Base);
  EXPECT_EQ(db.GetSumdata(1).Name.Length, 63);
  EXPECT_EQ(db.GetSumdata(1).Name.Str().size(), 63u);
  TgdbPolygon p;
  EXPECT_FALSE(db.RetrievePolygon(2, p));
  TMemoryStream s;
  TMetaInfo m;
  EXPECT_FALSE(db.RetrieveBLOB(2, m, s));
  ASSERT_TRUE(db.GetMetaInfo(3, m));
  EXPECT_EQ(m.Caption.Length, 127);
  EXPECT_EQ(m.Kwd.Length, 255);
  db.ExportDataDebug(Dir.File("list.txt"));
  EXPECT_NE(ReadFileBytes(Dir.File("list.txt")).find("\t?\t"), std::string::npos);
  ExpectConsistent(db);
}

TEST_F(GeoDBFaults, TheLastIdentifierIsNotExceeded) {
  MakeDatabase();
  std::string header = Bytes(6);
  PutI32At(header, 0, 0x7FFFFFFF);
  WriteFileBytes(File(6), header);
  TGeoDB db(nullptr);
  db.SetName("Geo");
  db.SetDBName(Base);
  const auto before = AllBytes();
  ExpectError([&] { db.AddTown("t", 0, 0, {0, 0}, 0, 0); },
              "Component \"Geo\": AddData: no item identifier left.");
  EXPECT_EQ(AllBytes(), before);
  EXPECT_EQ(db.GetLastItemID(), 0x7FFFFFFF);
  EXPECT_EQ(db.GetNumEntries(), 3);
}

TEST_F(GeoDBFaults, ADataFileThatCannotBeOpened) {
  MakeDatabase();
  TGeoDB db(nullptr);
  db.SetName("Geo");
  db.SetDBName(Base);
  fs::rename(File(6), File(6) + ".saved");
  fs::create_directory(File(6));
  // Adding: the unit's error, and the identifier is used up.
  ExpectError([&] { db.AddTown("t", 0, 0, {0, 0}, 0, 0); },
              "Component \"Geo\": AddData: cannot open database.");
  EXPECT_EQ(db.GetLastItemID(), 4);
  EXPECT_EQ(db.GetNumEntries(), 3);
  // Replacing with a new block: the platform's error.
  EXPECT_THROW(db.ReplaceRoad(1, "r", Square(0, 0, 1), 0, 0, 0, 0, 0, 0, 0, 0), EFOpenError);
  EXPECT_EQ(db.GetSumdata(1).ItemType, gitTown);
  fs::remove(File(6));
  fs::rename(File(6) + ".saved", File(6));
  db.AddTown("t", 0, 0, {0, 0}, 0, 0);
  EXPECT_EQ(db.GetSumdata(4).ItemID, 5);
  ExpectConsistent(db);
}

TEST_F(GeoDBFaults, ADataFileCutInsideItsHeaderGetsItBackBeforeABlock) {
  MakeDatabase();
  WriteFileBytes(File(6), Bytes(6).substr(0, 100));
  TGeoDB db(nullptr);
  db.SetDBName(Base);
  db.ReplaceRoad(1, "road", Square(5, 5, 1), 0, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(db.GetSumdata(1).DataPos, 260);
  EXPECT_EQ(Bytes(6).size(), 260u + 32u);
  EXPECT_EQ(I32At(Bytes(6), 0), 3);  // the header image, not the cut bytes
  db.AddTown("next", 0, 0, {1, 1}, 0, 0);  // rewrites the header: the block stays intact
  TgdbPolygon p;
  ASSERT_TRUE(db.RetrievePolygon(1, p));
  EXPECT_EQ(p, Square(5, 5, 1));
  ExpectConsistent(db);
}

TEST_F(GeoDBFaults, ATornLastRecordIsIgnoredAndOverwritten) {
  MakeDatabase();
  EditItemFile([](std::string& B) { B.resize(2 * 120 + 50); });
  TGeoDB db(nullptr);
  db.SetDBName(Base);
  EXPECT_EQ(db.GetNumEntries(), 2);
  db.AddTown("next", 0, 0, {1, 1}, 0, 0);
  EXPECT_EQ(db.GetSumdata(3).ItemID, 4);
  ExpectConsistent(db);
}

TEST_F(GeoDBFaults, AddBLOBCopiesFromTheFullFileName) {
  std::string folder = Dir.Path();
  while (folder.size() < 200) folder += "/a-rather-long-folder-name";
  fs::create_directories(folder);
  const std::string src = folder + "/content.bin";
  WriteFileBytes(src, "long path content");
  TGeoDB db(nullptr);
  db.SetDBName(Base);
  db.AddBLOB(src, 0, 0, 0, 0, 0, 0, 0, 0, {});
  TMetaInfo meta;
  TMemoryStream out;
  ASSERT_TRUE(db.RetrieveBLOB(1, meta, out));
  EXPECT_EQ(std::string(static_cast<const char*>(out.Memory()), 17), "long path content");
  EXPECT_EQ(meta.FilePath.Str(), src.substr(0, 127));
  EXPECT_EQ(db.GetSumdata(1).Name.Str(), "content.bin");
}

TEST_F(GeoDBFaults, ABlockBeyondTwoGigabytesIsRefusedBeforeAnythingIsWritten) {
  MakeDatabase();
  std::error_code ec;
  fs::resize_file(File(6), 2147483647 - 100, ec);  // sparse: takes no disk space
  if (ec) GTEST_SKIP() << "the temporary folder cannot hold a sparse file: " << ec.message();
  TGeoDB db(nullptr);
  db.SetDBName(Base);
  const std::string header = HeadBytes(File(6), 260), items = Bytes(5), ix = Bytes(1);
  TgdbPolygon big(20, TSCoords{1, 1});  // 160 bytes
  ExpectError([&] { db.AddRoad("r", big, 0, 0, 0, 0, 0, 0, 0, 0); }, "2147483647");
  ExpectError([&] { db.AddBLOB("b", 0, 0, 0, 0, 0, 0, 0, 0, {}, "x", 1); }, ": AddData:");
  ExpectError([&] { db.ReplaceRoad(2, "r", big, 0, 0, 0, 0, 0, 0, 0, 0); }, ": ReplaceData:");
  EXPECT_EQ(fs::file_size(File(6)), 2147483647u - 100);
  EXPECT_EQ(HeadBytes(File(6), 260), header);
  EXPECT_EQ(Bytes(5), items);
  EXPECT_EQ(Bytes(1), ix);
  EXPECT_EQ(db.GetLastItemID(), 3);
  db.AddRoad("fits", {{2, 2}}, 0, 0, 0, 0, 0, 0, 0, 0);  // 8 bytes still fit
  EXPECT_EQ(db.GetSumdata(4).DataPos, 2147483647 - 100);
}

TEST_F(GeoDBFaults, AFailedAddLeavesTheDatabaseAsItWas) {
  MakeDatabase();
  TGeoDB db(nullptr);
  db.SetDBName(Base);
  const auto before = AllBytes();
  // A BLOB file that does not exist: the platform's error, and not a byte written.
  EXPECT_THROW(db.AddBLOB(Dir.File("missing.bin"), 0, 0, 0, 0, 0, 0, 0, 0, {}), EFOpenError);
  EXPECT_EQ(AllBytes(), before);
  EXPECT_EQ(db.GetLastItemID(), 3);
  EXPECT_EQ(db.GetNumEntries(), 3);

  // The item file cannot be written: the data block is written, the record is not.
  fs::rename(File(5), File(5) + ".saved");
  fs::create_directory(File(5));
  EXPECT_THROW(db.AddRiver("river", Square(1, 1, 1), 0, 0, 0, 0, 0, 0, 0, 0), EStreamError);
  EXPECT_EQ(db.GetNumEntries(), 3);
  EXPECT_EQ(db.SearchForItemID(4), 0);
  fs::remove(File(5));
  fs::rename(File(5) + ".saved", File(5));
  EXPECT_EQ(Bytes(5), before[5]);
  for (int w = 0; w < 5; ++w) EXPECT_EQ(Bytes(w), before[w]);
  ExpectConsistent(db);
  db.AddTown("after", 0, 0, {1, 1}, 0, 0);
  EXPECT_EQ(db.GetSumdata(4).ItemID, 5);  // identifier 4 was used up by the failed add
  ExpectConsistent(db);
}

}  // namespace
}  // namespace nuv::test
