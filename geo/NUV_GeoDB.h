// The geo database: named geographic items (borders, towns, cities, lakes, rivers, roads,
// routes and BLOBs) kept in seven files that share one base path:
//
//   <base>.nuvgds  item file, one 120-byte record per item
//   <base>.nuvgdd  data file, a 260-byte header followed by the items' data blocks
//   <base>.nuvgi0  item-ID index          (8-byte entries, ascending by ItemID)
//   <base>.nuvgi1  latitude-low index     (ascending by LatLow)
//   <base>.nuvgi2  latitude-high index    (ascending by LatHigh)
//   <base>.nuvgi3  longitude-low index    (ascending by LongLow)
//   <base>.nuvgi4  longitude-high index   (ascending by LongHigh)
//
// All files are little-endian and packed; TGeoDB keeps the records and the indexes in
// memory and opens the files only for the duration of each operation.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "contracts/base/NUV_Base.h"
#include "contracts/math/NUV_Math.h"
#include "platform/NUV_Classes.h"
#include "platform/NUV_Streams.h"

namespace nuv {

class ENUVGeoDBError : public ENUVError {
 public:
  using ENUVError::ENUVError;
};

// Item kinds, stored as one byte.
enum TgdbItem : uint8_t {
  gitBorder,
  gitTown,
  gitCity,
  gitLake,
  gitRiver,
  gitRoad,
  gitRoute,
  gitBLOB,
  gitUndefined
};

extern const char* const GDB_ITEMNAMES[9];

// True for the kinds whose data block is a polygon (border, city, lake, river, road, route).
bool IsPolygonItem(TgdbItem Kind);

// A length byte followed by N character bytes; only the first Length characters count.
template <size_t N>
struct TShortString {
  uint8_t Length = 0;
  std::array<char, N> Chars{};

  std::string Str() const { return std::string(Chars.data(), Length <= N ? Length : N); }
  // Stores the first N characters of S and fills the bytes after them with Pad.
  void Assign(const std::string& S, char Pad = '\0') {
    const size_t n = S.size() < N ? S.size() : N;
    Length = static_cast<uint8_t>(n);
    for (size_t i = 0; i < N; ++i) Chars[i] = i < n ? S[i] : Pad;
  }
  bool operator==(const TShortString&) const = default;
};

using TgdbName = TShortString<63>;

// A point of a polygon, single precision as stored.
struct TSCoords {
  float Lat = 0;
  float Long = 0;
  bool operator==(const TSCoords&) const = default;
};
using TgdbPolygon = std::vector<TSCoords>;

// The record of one item (120 bytes in the item file).
struct TgdbData {
  int32_t ItemID = 0;
  TgdbName Name;
  uint8_t ItemClass = 0;
  int32_t Attrib2 = 0;
  int32_t DataPos = -1;  // offset of the data block in the data file; -1: none
  TDateTime Date = 0;
  int32_t Attrib1 = 0;
  float LatLow = 0;
  float LatHigh = 0;
  float LongLow = 0;
  float LongHigh = 0;
  TgdbItem ItemType = gitUndefined;  // may hold a foreign value above 8 read from a file
  int32_t Size = 0;                  // polygon: points; BLOB: bytes; otherwise 0
  uint8_t Closed = 0;
  bool operator==(const TgdbData&) const = default;
};

enum TMetaItem : uint8_t { miKwd, miCaption, miFilePath, miDescriptor };

// Meta information of a BLOB (1024 bytes, stored in front of the BLOB's bytes).
struct TMetaInfo {
  TShortString<255> Kwd;
  TShortString<127> Caption;
  TShortString<127> FilePath;
  TShortString<255> Descriptor;
  TShortString<255> Reserved;
  bool operator==(const TMetaInfo&) const = default;
};

struct TIxItemIDRec {
  int32_t ItemID = 0;
  int32_t RecIdx = 0;  // 0-based record index in the item file
  bool operator==(const TIxItemIDRec&) const = default;
};
struct TIxLLRec {
  float Value = 0;
  int32_t RecIdx = 0;
  bool operator==(const TIxLLRec&) const = default;
};
using TIxItemIDRecArray = std::vector<TIxItemIDRec>;
using TIxLLRecArray = std::vector<TIxLLRec>;

// What ReadSystemInformation finds about a database without opening it.
struct TgdbSystemInfo {
  int32_t LastItemID = 0;
  int32_t FormatCode = 0;
  std::string Description;
  int32_t Revision = 0;
  int NumEntries = 0;
};

class TGeoDB : public TComponent {
 public:
  explicit TGeoDB(TComponent* AOwner);
  ~TGeoDB() override;

  // Setting a name opens that database (creating the files that do not exist yet); setting
  // "" closes it. Reading gives the base path of the open database.
  const std::string& GetDBName() const { return FDBName; }
  void SetDBName(const std::string& Value);
  bool GetLazyWrite() const { return FLazyWrite; }
  void SetLazyWrite(bool Value);
  int GetNumEntries() const { return static_cast<int>(FItems.size()); }

  std::string GetDescription() const { return FDescription; }
  void SetDescription(const std::string& Value);
  int GetRevision() const { return FRevision; }
  void SetRevision(int Value);
  int GetLastItemID() const { return FLastItemID; }

  // Access by 1-based position, clamped to 1..NumEntries; index entries come back with a
  // 1-based RecIdx.
  TgdbData GetSumdata(int n) const;
  TIxItemIDRec GetIxItemID(int n) const;
  TIxLLRec GetIxLatLow(int n) const;
  TIxLLRec GetIxLatHigh(int n) const;
  TIxLLRec GetIxLongLow(int n) const;
  TIxLLRec GetIxLongHigh(int n) const;

  // ------------------------------------------------------------ adding
  // Polygon kinds take their bounds from their points; the four Single arguments are
  // LatLow, LatHigh, LongLow, LongHigh and only matter for BLOBs and undefined items.
  // FromFile: the BLOB's bytes come from SourceFileName (or, when that is empty, from
  // MetaInfo's FilePath); otherwise from the DataSize bytes at Data.
  void AddData(const std::string& Name, const TgdbPolygon& Polygon, bool Closed, TgdbItem ItemType,
               uint8_t ItemClass, TDateTime Date, int Attrib1, float LatLow, float LatHigh,
               float LongLow, float LongHigh, int Attrib2, const TMetaInfo& MetaInfo,
               const void* Data, int DataSize, bool FromFile,
               const std::string& SourceFileName = {});
  void AddBorder(const std::string& Name, const TgdbPolygon& Polygon, bool Closed, TDateTime Date,
                 int Attrib1, float LatLow, float LatHigh, float LongLow, float LongHigh,
                 uint8_t ItemClass, int Attrib2);
  void AddCity(const std::string& Name, const TgdbPolygon& Polygon, bool Closed, TDateTime Date,
               int Attrib1, float LatLow, float LatHigh, float LongLow, float LongHigh,
               uint8_t ItemClass, int Attrib2);
  void AddLake(const std::string& Name, const TgdbPolygon& Polygon, TDateTime Date, int Attrib1,
               float LatLow, float LatHigh, float LongLow, float LongHigh, uint8_t ItemClass,
               int Attrib2);
  void AddRiver(const std::string& Name, const TgdbPolygon& Polygon, TDateTime Date, int Attrib1,
                float LatLow, float LatHigh, float LongLow, float LongHigh, uint8_t ItemClass,
                int Attrib2);
  void AddRoad(const std::string& Name, const TgdbPolygon& Polygon, TDateTime Date, int Attrib1,
               float LatLow, float LatHigh, float LongLow, float LongHigh, uint8_t ItemClass,
               int Attrib2);
  void AddRoute(const std::string& Name, const TgdbPolygon& Polygon, TDateTime Date, int Attrib1,
                float LatLow, float LatHigh, float LongLow, float LongHigh, uint8_t ItemClass,
                int Attrib2);
  void AddTown(const std::string& Name, TDateTime Date, int Attrib1, const TSCoords& Location,
               uint8_t ItemClass, int Attrib2);
  // The BLOB's bytes are copied from the file FileName; the item is named after the
  // file-name part of FileName (or of BLOBName), and the meta information's FilePath holds
  // FileName (or StoredPath), cut to 127 characters.
  void AddBLOB(const std::string& FileName, TDateTime Date, int Attrib1, float LatLow,
               float LatHigh, float LongLow, float LongHigh, uint8_t ItemClass, int Attrib2,
               const TMetaInfo& MetaInfo);
  void AddBLOB(const std::string& FileName, const std::string& BLOBName, TDateTime Date,
               int Attrib1, float LatLow, float LatHigh, float LongLow, float LongHigh,
               uint8_t ItemClass, int Attrib2, const TMetaInfo& MetaInfo);
  void AddBLOB(const std::string& FileName, const std::string& BLOBName,
               const std::string& StoredPath, TDateTime Date, int Attrib1, float LatLow,
               float LatHigh, float LongLow, float LongHigh, uint8_t ItemClass, int Attrib2,
               const TMetaInfo& MetaInfo);
  // Size bytes at Data, and the whole content of Stream.
  void AddBLOB(const std::string& Name, TDateTime Date, int Attrib1, float LatLow, float LatHigh,
               float LongLow, float LongHigh, uint8_t ItemClass, int Attrib2,
               const TMetaInfo& MetaInfo, const void* Data, int Size);
  void AddBLOB(const std::string& Name, TDateTime Date, int Attrib1, float LatLow, float LatHigh,
               float LongLow, float LongHigh, uint8_t ItemClass, int Attrib2,
               const TMetaInfo& MetaInfo, TMemoryStream& Stream);

  // ------------------------------------------------------------ replacing
  // As the add operations, for the 1-based record Index; the item keeps its ItemID and a
  // new data block is appended (the old one stays until GarbageCollection).
  void ReplaceData(int Index, const std::string& Name, const TgdbPolygon& Polygon, bool Closed,
                   TgdbItem ItemType, uint8_t ItemClass, TDateTime Date, int Attrib1,
                   float LatLow, float LatHigh, float LongLow, float LongHigh, int Attrib2,
                   const TMetaInfo& MetaInfo, const void* Data, int DataSize, bool FromFile,
                   const std::string& SourceFileName = {});
  void ReplaceBorder(int Index, const std::string& Name, const TgdbPolygon& Polygon, bool Closed,
                     TDateTime Date, int Attrib1, float LatLow, float LatHigh, float LongLow,
                     float LongHigh, uint8_t ItemClass, int Attrib2);
  void ReplaceCity(int Index, const std::string& Name, const TgdbPolygon& Polygon, bool Closed,
                   TDateTime Date, int Attrib1, float LatLow, float LatHigh, float LongLow,
                   float LongHigh, uint8_t ItemClass, int Attrib2);
  void ReplaceLake(int Index, const std::string& Name, const TgdbPolygon& Polygon, TDateTime Date,
                   int Attrib1, float LatLow, float LatHigh, float LongLow, float LongHigh,
                   uint8_t ItemClass, int Attrib2);
  void ReplaceRiver(int Index, const std::string& Name, const TgdbPolygon& Polygon,
                    TDateTime Date, int Attrib1, float LatLow, float LatHigh, float LongLow,
                    float LongHigh, uint8_t ItemClass, int Attrib2);
  void ReplaceRoad(int Index, const std::string& Name, const TgdbPolygon& Polygon, TDateTime Date,
                   int Attrib1, float LatLow, float LatHigh, float LongLow, float LongHigh,
                   uint8_t ItemClass, int Attrib2);
  void ReplaceRoute(int Index, const std::string& Name, const TgdbPolygon& Polygon,
                    TDateTime Date, int Attrib1, float LatLow, float LatHigh, float LongLow,
                    float LongHigh, uint8_t ItemClass, int Attrib2);
  void ReplaceTown(int Index, const std::string& Name, TDateTime Date, int Attrib1,
                   const TSCoords& Location, uint8_t ItemClass, int Attrib2);
  void ReplaceBLOB(int Index, const std::string& FileName, TDateTime Date, int Attrib1,
                   float LatLow, float LatHigh, float LongLow, float LongHigh, uint8_t ItemClass,
                   int Attrib2, const TMetaInfo& MetaInfo);
  void ReplaceBLOB(int Index, const std::string& Name, TDateTime Date, int Attrib1, float LatLow,
                   float LatHigh, float LongLow, float LongHigh, uint8_t ItemClass, int Attrib2,
                   const TMetaInfo& MetaInfo, const void* Data, int Size);
  void ReplaceBLOB(int Index, const std::string& Name, TDateTime Date, int Attrib1, float LatLow,
                   float LatHigh, float LongLow, float LongHigh, uint8_t ItemClass, int Attrib2,
                   const TMetaInfo& MetaInfo, TMemoryStream& Stream);

  // Deletes record Index; the last record takes its place.
  void DeleteData(int Index);

  // ------------------------------------------------------------ retrieving
  // False (Polygon unchanged) when no database is open, Index is beyond NumEntries, the
  // item is no polygon or its block does not lie inside the data file.
  bool RetrievePolygon(int Index, TgdbPolygon& Polygon);
  // To a file: an empty FileName or one ending with '\' or '/' receives the item's name.
  bool RetrieveBLOB(int Index, const std::string& FileName, TMetaInfo& MetaInfo);
  bool RetrieveBLOB(int Index, TMetaInfo& MetaInfo, void* Buffer, int SizeOfBlobData);
  bool RetrieveBLOB(int Index, TMetaInfo& MetaInfo, TMemoryStream& Stream);
  // Meta information of a BLOB item, read from or written to its block; false for other
  // items or a block outside the data file.
  bool GetMetaInfo(int Index, TMetaInfo& MetaInfo);
  bool UpdateMetaInfo(int Index, const TMetaInfo& MetaInfo);
  // Rewrites Name, ItemClass, Attrib1, Attrib2, Date and the bounds of record Index and its
  // index entries; ItemID, ItemType, DataPos, Size and Closed stay as stored.
  bool UpdateBasicData(int Index, const TgdbData& Data);

  // ------------------------------------------------------------ finding
  // 1-based position in an index of the entry equal to the key met by bisection, else of the
  // first greater entry (NumEntries + 1 when every entry is smaller; 1 when empty).
  int GetClosestLatLowIx(double Value) const;
  int GetClosestLatHighIx(double Value) const;
  int GetClosestLongLowIx(double Value) const;
  int GetClosestLongHighIx(double Value) const;
  int GetClosestItemIDIx(int ItemID) const;
  // 1-based record index of the item, 0 when there is none.
  int SearchForItemID(int ItemID) const;
  // 1-based record indexes (ascending) of the items whose bounding box contains the point,
  // or meets the area (Left/Right: western/eastern longitude, Bottom/Top: southern/northern
  // latitude); bounds on the edge count.
  std::vector<int> FindItemsAt(double Lat, double Long) const;
  std::vector<int> FindItemsInArea(const TRectDouble& Area) const;
  // 1-based record index of the first item from StartIndex on whose name equals Name
  // (ignoring case) and whose kind and class match; 0 when there is none.
  int SearchData(const std::string& Name, TgdbItem ItemType, int StartIndex,
                 uint8_t ItemClass) const;
  // The same for a name alone, searching from the first item.
  int SearchData(const std::string& Name) const;

  // ------------------------------------------------------------ indexes
  void InsertIntoIndex(int RecNo, const TgdbData& Data);
  void RemoveIndexEntries(int RecNo);
  // The last slot of Ix is free and the entries before it are sorted; Entry goes in.
  static void SortIxInto(TIxLLRecArray& Ix, const TIxLLRec& Entry);
  static void SortIxItemIDInto(TIxItemIDRecArray& Ix, const TIxItemIDRec& Entry);
  void SaveIndex(int Which);
  // Rebuilds the five indexes from the records (and saves them unless writing is lazy).
  void RecalcIndexes();

  // Rewrites the data file with the header and the referenced blocks only.
  void GarbageCollection();
  // A text listing of the header, the records and the five indexes.
  void ExportDataDebug(const std::string& FileName);

  TOnPercentDoneEvent OnPercentDone;

 private:
  bool IsOpen() const { return !FDBName.empty(); }
  std::string FileName(int Which) const;  // 0..4 index files, 5 item file, 6 data file
  [[noreturn]] void Fail(const std::string& Text) const;
  void Progress(int Percent);
  void ResetHeader();
  void Close();
  void Forget();
  void FinishCompaction(const std::string& Base);
  void Load(const std::string& Base);
  bool IndexesMatchItems() const;
  void RebuildIndexes();
  void SaveIndexes();
  void WriteHeader(const char* Operation);
  void WriteRecord(size_t RecIdx, const TgdbData& Data);
  void StoreItem(int Index, const char* Operation, const std::string& Name,
                 const TgdbPolygon& Polygon, bool Closed, TgdbItem ItemType, uint8_t ItemClass,
                 TDateTime Date, int Attrib1, float LatLow, float LatHigh, float LongLow,
                 float LongHigh, int Attrib2, const TMetaInfo& MetaInfo, const void* Data,
                 int DataSize, bool FromFile, const std::string& SourceFileName);
  const TgdbData* ReadableBLOB(int Index) const;
  void CopyBLOB(const TgdbData& Rec, TMetaInfo& MetaInfo,
                const std::function<void(const uint8_t*, size_t)>& Sink);

  std::string FDBName;
  bool FLazyWrite = false;
  int32_t FLastItemID = 0;
  int32_t FFormatCode = 3;
  std::string FDescription;
  int32_t FRevision = 0;
  std::vector<TgdbData> FItems;
  TIxItemIDRecArray FIxItemID;
  std::array<TIxLLRecArray, 4> FIxLL;  // LatLow, LatHigh, LongLow, LongHigh
};

// (LatLow, LongLow) of the record.
TSCoords ExtractLocation(const TgdbData& Data);
void ClearMetaInfo(TMetaInfo& MetaInfo);
// ItemID 0, empty name followed by 63 spaces, DataPos -1, Date now, kind gitUndefined, the
// other fields 0; Size is left as it was.
void ClearGdbData(TgdbData& Data);
// Latitude (clamped to -90..90) with " N" or " S"; longitude (clamped to -180..180) with
// " E" or " W".
std::string GeoLatitude(double Value, TDegreeFormat Format, int Prec);
std::string GeoLongitude(double Value, TDegreeFormat Format, int Prec);
// Reads the header and counts the records of the database named FileName without opening
// it; false when its data file cannot be read.
bool ReadSystemInformation(const std::string& FileName, TgdbSystemInfo& Info);

}  // namespace nuv
