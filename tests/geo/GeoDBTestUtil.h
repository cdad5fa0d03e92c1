// Helpers of the geo database tests: reading file bytes at fixed offsets, making databases
// and checking a whole database for consistency.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <type_traits>
#include <string>
#include <vector>

#include "geo/NUV_GeoDB.h"
#include "geo/NUV_GeoDB_Files.h"
#include "tests/support/TestSupport.h"

namespace nuv::test {

inline int32_t I32At(const std::string& B, size_t Off) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(static_cast<uint8_t>(B.at(Off + i))) << (8 * i);
  return static_cast<int32_t>(v);
}
inline float F32At(const std::string& B, size_t Off) {
  const uint32_t u = static_cast<uint32_t>(I32At(B, Off));
  float f;
  std::memcpy(&f, &u, 4);
  return f;
}
inline double F64At(const std::string& B, size_t Off) {
  const uint64_t u = static_cast<uint32_t>(I32At(B, Off)) |
                     static_cast<uint64_t>(static_cast<uint32_t>(I32At(B, Off + 4))) << 32;
  double d;
  std::memcpy(&d, &u, 8);
  return d;
}
// The first Count bytes of a file (for files too large to read whole).
inline std::string HeadBytes(const std::string& FileName, size_t Count) {
  std::ifstream in(FileName, std::ios::binary);
  std::string b(Count, '\0');
  in.read(b.data(), static_cast<std::streamsize>(Count));
  b.resize(static_cast<size_t>(in.gcount()));
  return b;
}
inline uint8_t U8At(const std::string& B, size_t Off) { return static_cast<uint8_t>(B.at(Off)); }
inline void PutI32At(std::string& B, size_t Off, int32_t V) {
  for (int i = 0; i < 4; ++i) B.at(Off + i) = static_cast<char>(static_cast<uint32_t>(V) >> (8 * i));
}
inline void PutF32At(std::string& B, size_t Off, float V) {
  uint32_t u;
  std::memcpy(&u, &V, 4);
  PutI32At(B, Off, static_cast<int32_t>(u));
}

inline const char* const kExt[7] = {".nuvgi0", ".nuvgi1", ".nuvgi2", ".nuvgi3",
                                    ".nuvgi4", ".nuvgds", ".nuvgdd"};

// A database "db" in a temporary folder.
struct GeoDBFixture : ::testing::Test {
  TempDir Dir;
  std::string Base = Dir.File("db");
  std::string File(int Which) const { return Base + kExt[Which]; }
  std::string Bytes(int Which) const { return ReadFileBytes(File(Which)); }
  std::vector<std::string> AllBytes() const {
    std::vector<std::string> all;
    for (int i = 0; i < 7; ++i) all.push_back(Bytes(i));
    return all;
  }
};

inline TgdbPolygon Square(float Lat, float Long, float Side) {
  return {{Lat, Long}, {Lat + Side, Long}, {Lat + Side, Long + Side}, {Lat, Long + Side}};
}

inline float BoundOf(const TgdbData& D, int Which) {
  const float v[4] = {D.LatLow, D.LatHigh, D.LongLow, D.LongHigh};
  return v[Which];
}

// Equal bit for bit, so that a bound that is not a number equals itself.
inline bool SameBits(float A, float B) { return std::memcmp(&A, &B, sizeof A) == 0; }
inline bool SameRecord(const TgdbData& A, const TgdbData& B) {
  uint8_t a[120], b[120];
  gdbfile::EncodeRecord(A, a);
  gdbfile::EncodeRecord(B, b);
  return std::memcmp(a, b, sizeof a) == 0;
}

// Checks that the records in memory equal the item file, that each of the five indexes holds
// every record once with its own key in ascending order, that the index files equal the
// indexes in memory (unless writing is lazy), and that a second component opening the same
// files sees the same database.
inline void ExpectConsistent(TGeoDB& Db) {
  SCOPED_TRACE("database " + Db.GetDBName());
  const int n = Db.GetNumEntries();
  const std::string items = ReadFileBytes(Db.GetDBName() + kExt[5]);
  ASSERT_EQ(items.size(), static_cast<size_t>(n) * 120);
  for (int i = 1; i <= n; ++i) {
    const TgdbData d = Db.GetSumdata(i);
    const size_t r = static_cast<size_t>(i - 1) * 120;
    ASSERT_EQ(I32At(items, r), d.ItemID);
    ASSERT_EQ(I32At(items, r + 76), d.DataPos);
    ASSERT_EQ(I32At(items, r + 112), d.Size);
    ASSERT_EQ(U8At(items, r + 108), d.ItemType);
    ASSERT_EQ(Db.SearchForItemID(d.ItemID), i);
  }
  auto checkIndex = [&](int Which, auto Get) {
    std::vector<bool> seen(n + 1, false);
    double previous = std::nan("");
    for (int p = 1; p <= n; ++p) {
      const auto e = Get(p);
      ASSERT_GE(e.RecIdx, 1);
      ASSERT_LE(e.RecIdx, n);
      ASSERT_FALSE(seen[e.RecIdx]) << "index " << Which << " holds record " << e.RecIdx << " twice";
      seen[e.RecIdx] = true;
      const TgdbData d = Db.GetSumdata(e.RecIdx);
      double key;
      if constexpr (std::is_same_v<decltype(e), const TIxItemIDRec>) {
        ASSERT_EQ(e.ItemID, d.ItemID);
        key = e.ItemID;
      } else {
        ASSERT_TRUE(SameBits(e.Value, BoundOf(d, Which - 1)));
        key = e.Value;
      }
      // A bound that is not a number sorts below every number.
      if (std::isnan(key)) {
        ASSERT_TRUE(std::isnan(previous)) << "index " << Which << " out of order at " << p;
      } else if (!std::isnan(previous)) {
        ASSERT_LE(previous, key) << "index " << Which << " out of order at " << p;
      }
      previous = key;
    }
    if (!Db.GetLazyWrite()) {
      const std::string file = ReadFileBytes(Db.GetDBName() + kExt[Which]);
      ASSERT_EQ(file.size(), static_cast<size_t>(n) * 8);
      for (int p = 1; p <= n; ++p) {
        const auto e = Get(p);
        ASSERT_EQ(I32At(file, (p - 1) * 8 + 4), e.RecIdx - 1);
      }
    }
  };
  checkIndex(0, [&](int p) { return Db.GetIxItemID(p); });
  checkIndex(1, [&](int p) { return Db.GetIxLatLow(p); });
  checkIndex(2, [&](int p) { return Db.GetIxLatHigh(p); });
  checkIndex(3, [&](int p) { return Db.GetIxLongLow(p); });
  checkIndex(4, [&](int p) { return Db.GetIxLongHigh(p); });
  if (!Db.GetLazyWrite()) {
    TGeoDB other(nullptr);
    other.SetDBName(Db.GetDBName());
    ASSERT_EQ(other.GetNumEntries(), n);
    for (int i = 1; i <= n; ++i) ASSERT_TRUE(SameRecord(other.GetSumdata(i), Db.GetSumdata(i)));
    for (int p = 1; p <= n; ++p) {
      ASSERT_EQ(other.GetIxItemID(p), Db.GetIxItemID(p));
      ASSERT_TRUE(SameBits(other.GetIxLatLow(p).Value, Db.GetIxLatLow(p).Value));
      ASSERT_EQ(other.GetIxLatLow(p).RecIdx, Db.GetIxLatLow(p).RecIdx);
      ASSERT_TRUE(SameBits(other.GetIxLongHigh(p).Value, Db.GetIxLongHigh(p).Value));
      ASSERT_EQ(other.GetIxLongHigh(p).RecIdx, Db.GetIxLongHigh(p).RecIdx);
    }
    ASSERT_EQ(other.GetLastItemID(), Db.GetLastItemID());
  }
}

}  // namespace nuv::test
