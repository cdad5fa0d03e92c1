// The bytes of the seven files, checked at hand-computed offsets.
#include "tests/geo/GeoDBTestUtil.h"

namespace nuv::test {
namespace {

using GeoDBLayout = GeoDBFixture;

TEST_F(GeoDBLayout, NewDatabaseIsFiveEmptyIndexesAnEmptyItemFileAndA260ByteHeader) {
  TGeoDB db(nullptr);
  db.SetDBName(Base + ".whatever");
  EXPECT_EQ(db.GetDBName(), Base);
  for (int w = 0; w < 6; ++w) {
    EXPECT_TRUE(FileExists(File(w))) << kExt[w];
    EXPECT_EQ(Bytes(w), "") << kExt[w];
  }
  const std::string h = Bytes(6);
  ASSERT_EQ(h.size(), 260u);
  EXPECT_EQ(I32At(h, 0), 0);
  EXPECT_EQ(I32At(h, 4), 3);
  EXPECT_EQ(h.substr(8), std::string(252, '\0'));
}

TEST_F(GeoDBLayout, HeaderFieldsAndDescriptionCutTo60Characters) {
  TGeoDB db(nullptr);
  db.SetDBName(Base);
  db.SetDescription(std::string(70, 'd'));
  db.SetRevision(-7);
  EXPECT_EQ(db.GetDescription(), std::string(60, 'd'));
  std::string h = Bytes(6);
  ASSERT_EQ(h.size(), 260u);
  EXPECT_EQ(U8At(h, 8), 60);
  EXPECT_EQ(h.substr(9, 60), std::string(60, 'd'));
  EXPECT_EQ(I32At(h, 72), -7);
  EXPECT_EQ(h.substr(76), std::string(184, '\0'));

  db.AddTown("a", 0, 0, {1, 2}, 0, 0);
  h = Bytes(6);
  EXPECT_EQ(I32At(h, 0), 1);  // LastItemID
  TGeoDB again(nullptr);
  again.SetDBName(Base);
  EXPECT_EQ(again.GetDescription(), std::string(60, 'd'));
  EXPECT_EQ(again.GetRevision(), -7);
  EXPECT_EQ(again.GetLastItemID(), 1);
}

TEST_F(GeoDBLayout, TownRecordFieldByField) {
  TGeoDB db(nullptr);
  db.SetDBName(Base);
  const std::string longName = std::string(63, 'N') + "overflow";
  db.AddTown(longName, 45000.25, -5, {47.5f, 8.25f}, 200, 0x01020304);
  const std::string r = Bytes(5);
  ASSERT_EQ(r.size(), 120u);
  EXPECT_EQ(I32At(r, 0), 1);                       // ItemID
  EXPECT_EQ(U8At(r, 4), 63);                       // name length
  EXPECT_EQ(r.substr(5, 63), std::string(63, 'N'));  // first 63 characters
  EXPECT_EQ(U8At(r, 68), 200);                     // ItemClass
  EXPECT_EQ(r.substr(69, 3), std::string(3, '\0'));
  EXPECT_EQ(I32At(r, 72), 0x01020304);             // Attrib2
  EXPECT_EQ(I32At(r, 76), -1);                     // DataPos
  EXPECT_EQ(F64At(r, 80), 45000.25);               // Date
  EXPECT_EQ(I32At(r, 88), -5);                     // Attrib1
  EXPECT_EQ(F32At(r, 92), 47.5f);
  EXPECT_EQ(F32At(r, 96), 47.5f);
  EXPECT_EQ(F32At(r, 100), 8.25f);
  EXPECT_EQ(F32At(r, 104), 8.25f);
  EXPECT_EQ(U8At(r, 108), gitTown);
  EXPECT_EQ(r.substr(109, 3), std::string(3, '\0'));
  EXPECT_EQ(I32At(r, 112), 0);  // Size
  EXPECT_EQ(U8At(r, 116), 0);   // Closed
  EXPECT_EQ(r.substr(117, 3), std::string(3, '\0'));

  db.AddTown("Bern", 0, 0, {46.95f, 7.45f}, 0, 0);
  const std::string r2 = Bytes(5).substr(120);
  EXPECT_EQ(U8At(r2, 4), 4);
  EXPECT_EQ(r2.substr(5, 63), "Bern" + std::string(59, ' '));  // padded with spaces

  // Index entries: 8 bytes, (key, 0-based record index); LatLow ascending puts Bern first.
  const std::string i0 = Bytes(0), i1 = Bytes(1), i4 = Bytes(4);
  ASSERT_EQ(i0.size(), 16u);
  EXPECT_EQ(I32At(i0, 0), 1);
  EXPECT_EQ(I32At(i0, 4), 0);
  EXPECT_EQ(I32At(i0, 8), 2);
  EXPECT_EQ(I32At(i0, 12), 1);
  ASSERT_EQ(i1.size(), 16u);
  EXPECT_EQ(F32At(i1, 0), 46.95f);
  EXPECT_EQ(I32At(i1, 4), 1);
  EXPECT_EQ(F32At(i1, 8), 47.5f);
  EXPECT_EQ(I32At(i1, 12), 0);
  EXPECT_EQ(F32At(i4, 0), 7.45f);
  EXPECT_EQ(F32At(i4, 8), 8.25f);
}

TEST_F(GeoDBLayout, PolygonAndBLOBBlocksFollowTheHeader) {
  TGeoDB db(nullptr);
  db.SetDBName(Base);
  const TgdbPolygon triangle = {{10, 20}, {11.5f, 19}, {9, 22}};
  db.AddBorder("tri", triangle, true, 0, 0, 0, 0, 0, 0, 1, 0);
  const std::string r = Bytes(5);
  EXPECT_EQ(I32At(r, 76), 260);
  EXPECT_EQ(I32At(r, 112), 3);
  EXPECT_EQ(U8At(r, 116), 1);
  EXPECT_EQ(F32At(r, 92), 9.0f);    // bounds from the points, not the arguments
  EXPECT_EQ(F32At(r, 96), 11.5f);
  EXPECT_EQ(F32At(r, 100), 19.0f);
  EXPECT_EQ(F32At(r, 104), 22.0f);
  std::string d = Bytes(6);
  ASSERT_EQ(d.size(), 284u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(F32At(d, 260 + 8 * i), triangle[i].Lat);
    EXPECT_EQ(F32At(d, 264 + 8 * i), triangle[i].Long);
  }

  TMetaInfo meta;
  meta.Kwd.Assign("k1 k2");
  meta.Caption.Assign("cap");
  meta.FilePath.Assign("path");
  meta.Descriptor.Assign("desc");
  meta.Reserved.Assign("res");
  const char blob[10] = {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9'};
  db.AddBLOB("ten", 0, 0, 1, 2, 3, 4, 0, 0, meta, blob, 10);
  const std::string r2 = Bytes(5).substr(120);
  EXPECT_EQ(I32At(r2, 76), 284);
  EXPECT_EQ(I32At(r2, 112), 10);
  EXPECT_EQ(F32At(r2, 92), 1.0f);  // a BLOB keeps the bounds it was given
  EXPECT_EQ(F32At(r2, 104), 4.0f);
  d = Bytes(6);
  ASSERT_EQ(d.size(), 284u + 1034u);
  EXPECT_EQ(U8At(d, 284), 5);
  EXPECT_EQ(d.substr(285, 5), "k1 k2");
  EXPECT_EQ(U8At(d, 284 + 256), 3);
  EXPECT_EQ(d.substr(284 + 257, 3), "cap");
  EXPECT_EQ(U8At(d, 284 + 384), 4);
  EXPECT_EQ(d.substr(284 + 385, 4), "path");
  EXPECT_EQ(U8At(d, 284 + 512), 4);
  EXPECT_EQ(d.substr(284 + 513, 4), "desc");
  EXPECT_EQ(U8At(d, 284 + 768), 3);
  EXPECT_EQ(d.substr(284 + 1024), "0123456789");

  // Replacing appends a new block and leaves the old one where it was.
  db.ReplaceBorder(1, "tri2", {{1, 1}}, false, 0, 0, 0, 0, 0, 0, 1, 0);
  const std::string after = Bytes(6);
  ASSERT_EQ(after.size(), d.size() + 8);
  EXPECT_EQ(after.substr(0, d.size()), d);
  EXPECT_EQ(I32At(Bytes(5), 76), static_cast<int32_t>(d.size()));
  EXPECT_EQ(I32At(Bytes(5), 0), 1);  // same ItemID
}

}  // namespace
}  // namespace nuv::test
