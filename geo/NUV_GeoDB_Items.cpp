// TGeoDB: adding, replacing, deleting and retrieving items, meta information and the
// compaction of the data file.
#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>

#include "geo/NUV_GeoDB.h"
#include "geo/NUV_GeoDB_Files.h"

namespace nuv {

using namespace gdbfile;

namespace {

constexpr int64_t CopyBlockSize = 16384;

int Percent(int64_t Part, int64_t Whole) {
  return Whole <= 0 ? 0 : static_cast<int>(Round(100.0 * static_cast<double>(Part) / Whole));
}

// Bytes of the item's data block in the data file (Size must not be negative).
int64_t BlockBytes(const TgdbData& D) {
  if (IsPolygonItem(D.ItemType)) return static_cast<int64_t>(D.Size) * PointSize;
  if (D.ItemType == gitBLOB) return MetaInfoSize + static_cast<int64_t>(D.Size);
  return 0;
}

bool HasBlock(const TgdbData& D) { return IsPolygonItem(D.ItemType) || D.ItemType == gitBLOB; }

// Whether every byte the record claims lies between the header and the end of the data
// file, so that it can be read without trusting the record. An item without a block
// claims no bytes: its Size is 0.
bool BlockInside(const TgdbData& D, int64_t DataFileSize) {
  if (!HasBlock(D)) return D.Size == 0;
  if (D.Size < 0) return false;
  const int64_t bytes = BlockBytes(D);
  if (bytes == 0) return true;
  return D.DataPos >= HeaderSize && D.DataPos + bytes <= DataFileSize;
}

int64_t SizeOfFile(const std::string& Name) {
  try {
    TFileStream f(Name, fmOpenRead);
    return f.GetSize();
  } catch (const Exception&) {
    return -1;
  }
}

// The file's modification time as a local date-time.
TDateTime FileDateTime(const std::string& Name) {
  std::error_code ec;
  const auto ft = std::filesystem::last_write_time(NativePath(Name), ec);
  if (ec) return Now();
  const auto st = std::chrono::file_clock::to_sys(ft);
  const std::time_t t = std::chrono::system_clock::to_time_t(
      std::chrono::time_point_cast<std::chrono::system_clock::duration>(st));
  std::tm lt{};
  if (!localtime_r(&t, &lt)) return Now();
  return EncodeDate(lt.tm_year + 1900, lt.tm_mon + 1, lt.tm_mday) +
         EncodeTime(lt.tm_hour, lt.tm_min, std::min(lt.tm_sec, 59), 0);
}

void BoundsOf(const TgdbPolygon& Polygon, TgdbData& D) {
  D.LatLow = 90;
  D.LatHigh = -90;
  D.LongLow = 180;
  D.LongHigh = -180;
  for (const auto& p : Polygon) {
    if (p.Lat < D.LatLow) D.LatLow = p.Lat;
    if (p.Lat > D.LatHigh) D.LatHigh = p.Lat;
    if (p.Long < D.LongLow) D.LongLow = p.Long;
    if (p.Long > D.LongHigh) D.LongHigh = p.Long;
  }
}

TMetaInfo WithFilePath(TMetaInfo MetaInfo, const std::string& Path) {
  MetaInfo.FilePath.Assign(Path);
  return MetaInfo;
}

bool EndsWithSeparator(const std::string& S) {
  return !S.empty() && (S.back() == '\\' || S.back() == '/');
}

}  // namespace

void TGeoDB::WriteRecord(size_t RecIdx, const TgdbData& Data) {
  uint8_t bytes[RecordSize];
  EncodeRecord(Data, bytes);
  TFileStream f(FileName(ItemFile), fmOpenReadWrite);
  f.SetPosition(static_cast<int64_t>(RecIdx) * RecordSize);
  f.WriteBuffer(bytes, RecordSize);
}

// Adds (Index 0) or replaces an item. Everything that can be checked is checked before the
// first byte is written; the record is written only after its data block, so a failure
// never leaves a record that points to missing data.
void TGeoDB::StoreItem(int Index, const char* Operation, const std::string& Name,
                       const TgdbPolygon& Polygon, bool Closed, TgdbItem ItemType,
                       uint8_t ItemClass, TDateTime Date, int Attrib1, float LatLow,
                       float LatHigh, float LongLow, float LongHigh, int Attrib2,
                       const TMetaInfo& MetaInfo, const void* Data, int DataSize, bool FromFile,
                       const std::string& SourceFileName) {
  const std::string op = std::string(": ") + Operation;
  Progress(0);
  TgdbData rec;
  rec.Name.Assign(Name, ' ');
  rec.ItemClass = ItemClass;
  rec.Attrib1 = Attrib1;
  rec.Attrib2 = Attrib2;
  rec.Date = Date;
  rec.LatLow = LatLow;
  rec.LatHigh = LatHigh;
  rec.LongLow = LongLow;
  rec.LongHigh = LongHigh;
  rec.ItemType = ItemType;

  std::unique_ptr<TFileStream> source;
  int64_t blobSize = 0;
  if (ItemType == gitBLOB && FromFile) {
    const std::string src = SourceFileName.empty() ? MetaInfo.FilePath.Str() : SourceFileName;
    source = std::make_unique<TFileStream>(src, fmOpenRead);
    blobSize = source->GetSize();
    rec.Date = FileDateTime(src);
  } else if (ItemType == gitBLOB) {
    if (DataSize < 0 || (DataSize > 0 && !Data)) Fail(op + ": invalid BLOB data.");
    blobSize = DataSize;
  }
  const bool hasBlock = HasBlock(rec);
  const int64_t blockBytes = IsPolygonItem(ItemType)
                                 ? static_cast<int64_t>(Polygon.size()) * PointSize
                                 : (ItemType == gitBLOB ? MetaInfoSize + blobSize : 0);

  // An identifier past the largest int32 would repeat or turn negative.
  if (Index == 0 && FLastItemID == INT32_MAX) Fail(": AddData: no item identifier left.");
  std::unique_ptr<TFileStream> data;
  if (Index == 0 || hasBlock) {
    try {
      data = std::make_unique<TFileStream>(FileName(DataFile), fmOpenReadWrite);
    } catch (const Exception&) {
      if (Index != 0) throw;
      ++FLastItemID;  // used up, as when the header cannot be written
      Fail(": AddData: cannot open database.");
    }
    if (std::max<int64_t>(data->GetSize(), HeaderSize) + blockBytes > MaxDataFileSize)
      Fail(op + ": the data block would take the data file past 2147483647 bytes.");
  }
  if (Index == 0) {
    ++FLastItemID;
    rec.ItemID = FLastItemID;
  } else {
    rec.ItemID = FItems[Index - 1].ItemID;
  }
  // A data file cut short inside its header gets the header back first, so that no block
  // starts where the header will be written.
  if (data && (Index == 0 || data->GetSize() < HeaderSize)) {
    uint8_t header[HeaderSize];
    EncodeHeader({FLastItemID, FFormatCode, FDescription, FRevision}, header);
    try {
      data->SetPosition(0);
      data->WriteBuffer(header, HeaderSize);
    } catch (const Exception&) {
      if (Index != 0) throw;
      Fail(": AddData: cannot open database.");
    }
  }

  if (IsPolygonItem(ItemType)) {
    rec.Closed = Closed ? 1 : 0;
    BoundsOf(Polygon, rec);
    rec.DataPos = static_cast<int32_t>(data->Seek(0, soEnd));
    const size_t n = Polygon.size();
    std::vector<uint8_t> bytes(n * PointSize);
    for (size_t i = 0; i < n; ++i) EncodePoint(Polygon[i], &bytes[i * PointSize]);
    const size_t perBlock = CopyBlockSize / PointSize;
    for (size_t first = 0; first < n; first += perBlock) {
      const size_t last = std::min(n, first + perBlock);
      data->WriteBuffer(&bytes[first * PointSize], static_cast<int64_t>(last - first) * PointSize);
      for (size_t i = first; i < last; ++i)
        Progress(Percent(static_cast<int64_t>(i), static_cast<int64_t>(n)));
    }
    rec.Size = static_cast<int32_t>(n);
  } else if (ItemType == gitBLOB) {
    rec.DataPos = static_cast<int32_t>(data->Seek(0, soEnd));
    uint8_t meta[MetaInfoSize];
    EncodeMetaInfo(MetaInfo, meta);
    data->WriteBuffer(meta, MetaInfoSize);
    std::vector<uint8_t> buffer(CopyBlockSize);
    int64_t copied = 0;
    if (source) {
      while (copied < blobSize) {
        const int64_t got = source->Read(buffer.data(), std::min(CopyBlockSize, blobSize - copied));
        if (got <= 0) break;  // the file shrank while it was copied
        data->WriteBuffer(buffer.data(), got);
        copied += got;
        Progress(Percent(copied, blobSize));
      }
    } else {
      const auto* bytes = static_cast<const uint8_t*>(Data);
      for (int64_t k = 1; k * CopyBlockSize <= blobSize; ++k) {
        data->WriteBuffer(bytes + copied, CopyBlockSize);
        copied += CopyBlockSize;
        Progress(Percent(copied, blobSize));
      }
      data->WriteBuffer(bytes + copied, blobSize - copied);
      copied = blobSize;
    }
    rec.Size = static_cast<int32_t>(copied);
  }
  data.reset();
  source.reset();

  const size_t recIdx = Index == 0 ? FItems.size() : static_cast<size_t>(Index - 1);
  WriteRecord(recIdx, rec);
  if (Index == 0) {
    FItems.push_back(rec);
    FIxItemID.emplace_back();
    for (auto& ix : FIxLL) ix.emplace_back();
  } else {
    FItems[recIdx] = rec;
    RemoveIndexEntries(Index);
  }
  InsertIntoIndex(static_cast<int>(recIdx + 1), rec);
  if (!FLazyWrite) SaveIndexes();
  Progress(100);
}

void TGeoDB::AddData(const std::string& Name, const TgdbPolygon& Polygon, bool Closed,
                     TgdbItem ItemType, uint8_t ItemClass, TDateTime Date, int Attrib1,
                     float LatLow, float LatHigh, float LongLow, float LongHigh, int Attrib2,
                     const TMetaInfo& MetaInfo, const void* Data, int DataSize, bool FromFile,
                     const std::string& SourceFileName) {
  if (!IsOpen()) return;
  StoreItem(0, "AddData", Name, Polygon, Closed, ItemType, ItemClass, Date, Attrib1, LatLow,
            LatHigh, LongLow, LongHigh, Attrib2, MetaInfo, Data, DataSize, FromFile,
            SourceFileName);
}

void TGeoDB::ReplaceData(int Index, const std::string& Name, const TgdbPolygon& Polygon,
                         bool Closed, TgdbItem ItemType, uint8_t ItemClass, TDateTime Date,
                         int Attrib1, float LatLow, float LatHigh, float LongLow, float LongHigh,
                         int Attrib2, const TMetaInfo& MetaInfo, const void* Data, int DataSize,
                         bool FromFile, const std::string& SourceFileName) {
  if (!IsOpen() || Index < 1 || Index > GetNumEntries()) return;
  StoreItem(Index, "ReplaceData", Name, Polygon, Closed, ItemType, ItemClass, Date, Attrib1,
            LatLow, LatHigh, LongLow, LongHigh, Attrib2, MetaInfo, Data, DataSize, FromFile,
            SourceFileName);
}

// ------------------------------------------------------------ the add wrappers

namespace {
const TgdbPolygon NoPolygon;
const TMetaInfo NoMetaInfo;
}  // namespace

void TGeoDB::AddBorder(const std::string& Name, const TgdbPolygon& Polygon, bool Closed,
                       TDateTime Date, int Attrib1, float LatLow, float LatHigh, float LongLow,
                       float LongHigh, uint8_t ItemClass, int Attrib2) {
  AddData(Name, Polygon, Closed, gitBorder, ItemClass, Date, Attrib1, LatLow, LatHigh, LongLow,
          LongHigh, Attrib2, NoMetaInfo, nullptr, 0, false);
}
void TGeoDB::AddCity(const std::string& Name, const TgdbPolygon& Polygon, bool Closed,
                     TDateTime Date, int Attrib1, float LatLow, float LatHigh, float LongLow,
                     float LongHigh, uint8_t ItemClass, int Attrib2) {
  AddData(Name, Polygon, Closed, gitCity, ItemClass, Date, Attrib1, LatLow, LatHigh, LongLow,
          LongHigh, Attrib2, NoMetaInfo, nullptr, 0, false);
}
void TGeoDB::AddLake(const std::string& Name, const TgdbPolygon& Polygon, TDateTime Date,
                     int Attrib1, float LatLow, float LatHigh, float LongLow, float LongHigh,
                     uint8_t ItemClass, int Attrib2) {
  AddData(Name, Polygon, true, gitLake, ItemClass, Date, Attrib1, LatLow, LatHigh, LongLow,
          LongHigh, Attrib2, NoMetaInfo, nullptr, 0, false);
}
void TGeoDB::AddRiver(const std::string& Name, const TgdbPolygon& Polygon, TDateTime Date,
                      int Attrib1, float LatLow, float LatHigh, float LongLow, float LongHigh,
                      uint8_t ItemClass, int Attrib2) {
  AddData(Name, Polygon, false, gitRiver, ItemClass, Date, Attrib1, LatLow, LatHigh, LongLow,
          LongHigh, Attrib2, NoMetaInfo, nullptr, 0, false);
}
void TGeoDB::AddRoad(const std::string& Name, const TgdbPolygon& Polygon, TDateTime Date,
                     int Attrib1, float LatLow, float LatHigh, float LongLow, float LongHigh,
                     uint8_t ItemClass, int Attrib2) {
  AddData(Name, Polygon, false, gitRoad, ItemClass, Date, Attrib1, LatLow, LatHigh, LongLow,
          LongHigh, Attrib2, NoMetaInfo, nullptr, 0, false);
}
void TGeoDB::AddRoute(const std::string& Name, const TgdbPolygon& Polygon, TDateTime Date,
                      int Attrib1, float LatLow, float LatHigh, float LongLow, float LongHigh,
                      uint8_t ItemClass, int Attrib2) {
  AddData(Name, Polygon, false, gitRoute, ItemClass, Date, Attrib1, LatLow, LatHigh, LongLow,
          LongHigh, Attrib2, NoMetaInfo, nullptr, 0, false);
}
void TGeoDB::AddTown(const std::string& Name, TDateTime Date, int Attrib1,
                     const TSCoords& Location, uint8_t ItemClass, int Attrib2) {
  AddData(Name, NoPolygon, false, gitTown, ItemClass, Date, Attrib1, Location.Lat, Location.Lat,
          Location.Long, Location.Long, Attrib2, NoMetaInfo, nullptr, 0, false);
}

void TGeoDB::AddBLOB(const std::string& FileName, TDateTime Date, int Attrib1, float LatLow,
                     float LatHigh, float LongLow, float LongHigh, uint8_t ItemClass,
                     int Attrib2, const TMetaInfo& MetaInfo) {
  AddBLOB(FileName, FileName, FileName, Date, Attrib1, LatLow, LatHigh, LongLow, LongHigh,
          ItemClass, Attrib2, MetaInfo);
}
void TGeoDB::AddBLOB(const std::string& FileName, const std::string& BLOBName, TDateTime Date,
                     int Attrib1, float LatLow, float LatHigh, float LongLow, float LongHigh,
                     uint8_t ItemClass, int Attrib2, const TMetaInfo& MetaInfo) {
  AddBLOB(FileName, BLOBName, FileName, Date, Attrib1, LatLow, LatHigh, LongLow, LongHigh,
          ItemClass, Attrib2, MetaInfo);
}
// The stored path goes into the meta information as it is written, and the bytes always
// come from the full FileName, however long it is.
void TGeoDB::AddBLOB(const std::string& FileName, const std::string& BLOBName,
                     const std::string& StoredPath, TDateTime Date, int Attrib1, float LatLow,
                     float LatHigh, float LongLow, float LongHigh, uint8_t ItemClass,
                     int Attrib2, const TMetaInfo& MetaInfo) {
  AddData(ExtractFileName(BLOBName), NoPolygon, false, gitBLOB, ItemClass, Date, Attrib1, LatLow,
          LatHigh, LongLow, LongHigh, Attrib2, WithFilePath(MetaInfo, StoredPath), nullptr, 0,
          true, FileName);
}
void TGeoDB::AddBLOB(const std::string& Name, TDateTime Date, int Attrib1, float LatLow,
                     float LatHigh, float LongLow, float LongHigh, uint8_t ItemClass,
                     int Attrib2, const TMetaInfo& MetaInfo, const void* Data, int Size) {
  AddData(Name, NoPolygon, false, gitBLOB, ItemClass, Date, Attrib1, LatLow, LatHigh, LongLow,
          LongHigh, Attrib2, MetaInfo, Data, Size, false);
}
void TGeoDB::AddBLOB(const std::string& Name, TDateTime Date, int Attrib1, float LatLow,
                     float LatHigh, float LongLow, float LongHigh, uint8_t ItemClass,
                     int Attrib2, const TMetaInfo& MetaInfo, TMemoryStream& Stream) {
  if (!IsOpen()) return;
  if (Stream.GetSize() > MaxDataFileSize) Fail(": AddData: invalid BLOB data.");
  AddData(Name, NoPolygon, false, gitBLOB, ItemClass, Date, Attrib1, LatLow, LatHigh, LongLow,
          LongHigh, Attrib2, MetaInfo, Stream.Memory(), static_cast<int>(Stream.GetSize()), false);
}

// ------------------------------------------------------------ the replace wrappers

void TGeoDB::ReplaceBorder(int Index, const std::string& Name, const TgdbPolygon& Polygon,
                           bool Closed, TDateTime Date, int Attrib1, float LatLow, float LatHigh,
                           float LongLow, float LongHigh, uint8_t ItemClass, int Attrib2) {
  ReplaceData(Index, Name, Polygon, Closed, gitBorder, ItemClass, Date, Attrib1, LatLow, LatHigh,
              LongLow, LongHigh, Attrib2, NoMetaInfo, nullptr, 0, false);
}
void TGeoDB::ReplaceCity(int Index, const std::string& Name, const TgdbPolygon& Polygon,
                         bool Closed, TDateTime Date, int Attrib1, float LatLow, float LatHigh,
                         float LongLow, float LongHigh, uint8_t ItemClass, int Attrib2) {
  ReplaceData(Index, Name, Polygon, Closed, gitCity, ItemClass, Date, Attrib1, LatLow, LatHigh,
              LongLow, LongHigh, Attrib2, NoMetaInfo, nullptr, 0, false);
}
void TGeoDB::ReplaceLake(int Index, const std::string& Name, const TgdbPolygon& Polygon,
                         TDateTime Date, int Attrib1, float LatLow, float LatHigh, float LongLow,
                         float LongHigh, uint8_t ItemClass, int Attrib2) {
  ReplaceData(Index, Name, Polygon, true, gitLake, ItemClass, Date, Attrib1, LatLow, LatHigh,
              LongLow, LongHigh, Attrib2, NoMetaInfo, nullptr, 0, false);
}
void TGeoDB::ReplaceRiver(int Index, const std::string& Name, const TgdbPolygon& Polygon,
                          TDateTime Date, int Attrib1, float LatLow, float LatHigh, float LongLow,
                          float LongHigh, uint8_t ItemClass, int Attrib2) {
  ReplaceData(Index, Name, Polygon, false, gitRiver, ItemClass, Date, Attrib1, LatLow, LatHigh,
              LongLow, LongHigh, Attrib2, NoMetaInfo, nullptr, 0, false);
}
void TGeoDB::ReplaceRoad(int Index, const std::string& Name, const TgdbPolygon& Polygon,
                         TDateTime Date, int Attrib1, float LatLow, float LatHigh, float LongLow,
                         float LongHigh, uint8_t ItemClass, int Attrib2) {
  ReplaceData(Index, Name, Polygon, false, gitRoad, ItemClass, Date, Attrib1, LatLow, LatHigh,
              LongLow, LongHigh, Attrib2, NoMetaInfo, nullptr, 0, false);
}
void TGeoDB::ReplaceRoute(int Index, const std::string& Name, const TgdbPolygon& Polygon,
                          TDateTime Date, int Attrib1, float LatLow, float LatHigh, float LongLow,
                          float LongHigh, uint8_t ItemClass, int Attrib2) {
  ReplaceData(Index, Name, Polygon, false, gitRoute, ItemClass, Date, Attrib1, LatLow, LatHigh,
              LongLow, LongHigh, Attrib2, NoMetaInfo, nullptr, 0, false);
}
void TGeoDB::ReplaceTown(int Index, const std::string& Name, TDateTime Date, int Attrib1,
                         const TSCoords& Location, uint8_t ItemClass, int Attrib2) {
  ReplaceData(Index, Name, NoPolygon, false, gitTown, ItemClass, Date, Attrib1, Location.Lat,
              Location.Lat, Location.Long, Location.Long, Attrib2, NoMetaInfo, nullptr, 0, false);
}
void TGeoDB::ReplaceBLOB(int Index, const std::string& FileName, TDateTime Date, int Attrib1,
                         float LatLow, float LatHigh, float LongLow, float LongHigh,
                         uint8_t ItemClass, int Attrib2, const TMetaInfo& MetaInfo) {
  ReplaceData(Index, ExtractFileName(FileName), NoPolygon, false, gitBLOB, ItemClass, Date,
              Attrib1, LatLow, LatHigh, LongLow, LongHigh, Attrib2,
              WithFilePath(MetaInfo, FileName), nullptr, 0, true, FileName);
}
void TGeoDB::ReplaceBLOB(int Index, const std::string& Name, TDateTime Date, int Attrib1,
                         float LatLow, float LatHigh, float LongLow, float LongHigh,
                         uint8_t ItemClass, int Attrib2, const TMetaInfo& MetaInfo,
                         const void* Data, int Size) {
  ReplaceData(Index, Name, NoPolygon, false, gitBLOB, ItemClass, Date, Attrib1, LatLow, LatHigh,
              LongLow, LongHigh, Attrib2, MetaInfo, Data, Size, false);
}
void TGeoDB::ReplaceBLOB(int Index, const std::string& Name, TDateTime Date, int Attrib1,
                         float LatLow, float LatHigh, float LongLow, float LongHigh,
                         uint8_t ItemClass, int Attrib2, const TMetaInfo& MetaInfo,
                         TMemoryStream& Stream) {
  if (!IsOpen() || Index < 1 || Index > GetNumEntries()) return;
  if (Stream.GetSize() > MaxDataFileSize) Fail(": ReplaceData: invalid BLOB data.");
  ReplaceData(Index, Name, NoPolygon, false, gitBLOB, ItemClass, Date, Attrib1, LatLow, LatHigh,
              LongLow, LongHigh, Attrib2, MetaInfo, Stream.Memory(),
              static_cast<int>(Stream.GetSize()), false);
}

// ------------------------------------------------------------ deleting and updating

void TGeoDB::DeleteData(int Index) {
  const int n = GetNumEntries();
  if (!IsOpen() || Index < 1 || Index > n) return;
  const TgdbData last = FItems[n - 1];
  {
    TFileStream f(FileName(ItemFile), fmOpenReadWrite);
    if (Index < n) {
      uint8_t bytes[RecordSize];
      EncodeRecord(last, bytes);
      f.SetPosition(static_cast<int64_t>(Index - 1) * RecordSize);
      f.WriteBuffer(bytes, RecordSize);
    }
    f.SetSize(static_cast<int64_t>(n - 1) * RecordSize);
  }
  FItems[Index - 1] = last;
  RemoveIndexEntries(Index);
  FItems.pop_back();
  auto renumber = [&](auto& Ix) {
    for (int i = 0; i < n - 1; ++i) {
      if (Ix[i].RecIdx == n - 1) {
        Ix[i].RecIdx = Index - 1;
        break;
      }
    }
    Ix.resize(static_cast<size_t>(n - 1));
  };
  renumber(FIxItemID);
  for (auto& ix : FIxLL) renumber(ix);
  if (!FLazyWrite) SaveIndexes();
}

bool TGeoDB::UpdateBasicData(int Index, const TgdbData& Data) {
  if (!IsOpen() || Index < 1 || Index > GetNumEntries()) return false;
  TgdbData rec = FItems[Index - 1];
  rec.Name = Data.Name;
  rec.Name.Length = std::min<uint8_t>(rec.Name.Length, 63);
  rec.ItemClass = Data.ItemClass;
  rec.Attrib1 = Data.Attrib1;
  rec.Attrib2 = Data.Attrib2;
  rec.Date = Data.Date;
  rec.LatLow = Data.LatLow;
  rec.LatHigh = Data.LatHigh;
  rec.LongLow = Data.LongLow;
  rec.LongHigh = Data.LongHigh;
  WriteRecord(static_cast<size_t>(Index - 1), rec);
  FItems[Index - 1] = rec;
  RemoveIndexEntries(Index);
  InsertIntoIndex(Index, rec);
  if (!FLazyWrite) SaveIndexes();
  return true;
}

// ------------------------------------------------------------ retrieving

bool TGeoDB::RetrievePolygon(int Index, TgdbPolygon& Polygon) {
  if (!IsOpen()) return false;
  Progress(0);
  const int i = std::max(Index, 1);
  bool ok = false;
  if (i <= GetNumEntries() && IsPolygonItem(FItems[i - 1].ItemType)) {
    const TgdbData& rec = FItems[i - 1];
    if (BlockInside(rec, SizeOfFile(FileName(DataFile)))) {
      const int64_t n = rec.Size;
      std::vector<uint8_t> bytes(static_cast<size_t>(n * PointSize));
      if (n > 0) {
        TFileStream f(FileName(DataFile), fmOpenRead);
        f.SetPosition(rec.DataPos);
        f.ReadBuffer(bytes.data(), n * PointSize);
      }
      TgdbPolygon polygon(static_cast<size_t>(n));
      const int64_t step = n / 100 + 1;
      for (int64_t k = 0; k < n; ++k) {
        polygon[k] = DecodePoint(&bytes[k * PointSize]);
        if ((k + 1) % step == 0) Progress(Percent(k + 1, n));
      }
      Polygon = std::move(polygon);
      ok = true;
    }
  }
  Progress(100);
  return ok;
}

// The BLOB record Index (below 1 counts as 1) when its block lies inside the data file.
const TgdbData* TGeoDB::ReadableBLOB(int Index) const {
  const int i = std::max(Index, 1);
  if (!IsOpen() || i > GetNumEntries()) return nullptr;
  const TgdbData& rec = FItems[i - 1];
  if (rec.ItemType != gitBLOB || !BlockInside(rec, SizeOfFile(FileName(DataFile)))) return nullptr;
  return &rec;
}

void TGeoDB::CopyBLOB(const TgdbData& Rec, TMetaInfo& MetaInfo,
                      const std::function<void(const uint8_t*, size_t)>& Sink) {
  TFileStream f(FileName(DataFile), fmOpenRead);
  f.SetPosition(Rec.DataPos);
  uint8_t meta[MetaInfoSize];
  f.ReadBuffer(meta, MetaInfoSize);
  MetaInfo = DecodeMetaInfo(meta);
  std::vector<uint8_t> buffer(CopyBlockSize);
  int64_t remaining = Rec.Size;
  while (remaining > 0) {
    const int64_t n = std::min(remaining, CopyBlockSize);
    f.ReadBuffer(buffer.data(), n);
    Sink(buffer.data(), static_cast<size_t>(n));
    remaining -= n;
    Progress(std::max(0, Percent(Rec.Size - remaining, Rec.Size)));
  }
}

bool TGeoDB::RetrieveBLOB(int Index, const std::string& FileName, TMetaInfo& MetaInfo) {
  const TgdbData* rec = ReadableBLOB(Index);
  if (!rec) return false;
  Progress(0);
  std::string target = FileName;
  if (target.empty() || EndsWithSeparator(target)) {
    const std::string name = ReduceStringToFN83CompliantChars(rec->Name.Str());
    // "" is no name, and "." or ".." would name the folder or its parent.
    if (name.find_first_not_of('.') == std::string::npos)
      Fail(": RetrieveBLOB: invalid filename.");
    target += name;
  }
  // Written beside the target first, so a failure keeps a file that was there.
  const std::string temp = target + "~";
  try {
    TFileStream out(temp, fmCreate);
    CopyBLOB(*rec, MetaInfo, [&](const uint8_t* P, size_t N) {
      out.WriteBuffer(P, static_cast<int64_t>(N));
    });
  } catch (...) {
    DeleteFile(temp);
    throw;
  }
  std::error_code ec;
  std::filesystem::rename(NativePath(temp), NativePath(target), ec);
  if (ec) {
    DeleteFile(temp);
    throw EInOutError("cannot write \"" + target + "\": " + ec.message());
  }
  Progress(100);
  return true;
}

bool TGeoDB::RetrieveBLOB(int Index, TMetaInfo& MetaInfo, void* Buffer, int SizeOfBlobData) {
  if (!IsOpen()) return false;
  Progress(0);
  const TgdbData* rec = ReadableBLOB(Index);
  if (rec) {
    if (SizeOfBlobData < rec->Size)
      Fail(": RetrieveBLOB: BLOB to be retrieved is larger than SizeOfBlobData.");
    auto* out = static_cast<uint8_t*>(Buffer);
    CopyBLOB(*rec, MetaInfo, [&](const uint8_t* P, size_t N) {
      std::copy(P, P + N, out);
      out += N;
    });
  }
  Progress(100);
  return rec != nullptr;
}

bool TGeoDB::RetrieveBLOB(int Index, TMetaInfo& MetaInfo, TMemoryStream& Stream) {
  if (!IsOpen()) return false;
  Progress(0);
  const int i = std::max(Index, 1);
  bool ok = false;
  if (i <= GetNumEntries() && BlockInside(FItems[i - 1], SizeOfFile(FileName(DataFile)))) {
    const TgdbData& rec = FItems[i - 1];
    Stream.SetSize(std::max(rec.Size, 0));
    Stream.SetPosition(0);
    if (rec.ItemType == gitBLOB) {
      CopyBLOB(rec, MetaInfo, [&](const uint8_t* P, size_t N) {
        Stream.WriteBuffer(P, static_cast<int64_t>(N));
      });
      ok = true;
    }
  }
  Progress(100);
  return ok;
}

bool TGeoDB::GetMetaInfo(int Index, TMetaInfo& MetaInfo) {
  if (Index < 1) return false;
  const TgdbData* rec = ReadableBLOB(Index);
  if (!rec) return false;
  TFileStream f(FileName(DataFile), fmOpenRead);
  f.SetPosition(rec->DataPos);
  uint8_t meta[MetaInfoSize];
  f.ReadBuffer(meta, MetaInfoSize);
  MetaInfo = DecodeMetaInfo(meta);
  return true;
}

bool TGeoDB::UpdateMetaInfo(int Index, const TMetaInfo& MetaInfo) {
  if (Index < 1) return false;
  const TgdbData* rec = ReadableBLOB(Index);
  if (!rec) return false;
  uint8_t meta[MetaInfoSize];
  EncodeMetaInfo(MetaInfo, meta);
  TFileStream f(FileName(DataFile), fmOpenReadWrite);
  f.SetPosition(rec->DataPos);
  f.WriteBuffer(meta, MetaInfoSize);
  return true;
}

// ------------------------------------------------------------ compaction

// The compacted data file and the item file with the new positions are written completely
// beside the old ones ("~") and then renamed over them, data file first; opening a database
// completes a compaction that stopped between the two renames.
void TGeoDB::GarbageCollection() {
  if (!IsOpen()) return;
  Progress(0);
  const std::string dataName = FileName(DataFile), itemName = FileName(ItemFile);
  const std::string dataTemp = dataName + "~", itemTemp = itemName + "~";
  TFileStream old(dataName, fmOpenRead);
  const int64_t oldSize = old.GetSize();

  // Each distinct block once, in the order it has in the file. A record whose block does
  // not lie inside the file loses its position, so that it cannot come to point at the
  // block of another item.
  std::vector<TgdbData> items = FItems;
  std::map<std::pair<int64_t, int64_t>, int32_t> blocks;  // (old position, bytes) -> new
  int64_t total = 0;
  for (auto& d : items) {
    if (!HasBlock(d)) continue;
    if (!BlockInside(d, oldSize)) {
      d.DataPos = -1;
      continue;
    }
    if (blocks.emplace(std::make_pair<int64_t, int64_t>(d.DataPos, BlockBytes(d)), 0).second)
      total += BlockBytes(d);
  }
  // Blocks that overlap (only damaged records make them) are copied once each, so the
  // copy can outgrow the original.
  if (HeaderSize + total > MaxDataFileSize)
    Fail(": GarbageCollection: the data file would grow past 2147483647 bytes.");

  try {
    {
      TFileStream out(dataTemp, fmCreate);
      uint8_t header[HeaderSize];
      EncodeHeader({FLastItemID, FFormatCode, FDescription, FRevision}, header);
      out.WriteBuffer(header, HeaderSize);
      std::vector<uint8_t> buffer(CopyBlockSize);
      int64_t done = 0;
      for (auto& [key, newPos] : blocks) {
        newPos = static_cast<int32_t>(out.GetPosition());
        if (key.second == 0) continue;
        old.SetPosition(key.first);
        for (int64_t left = key.second; left > 0;) {
          const int64_t n = std::min(left, CopyBlockSize);
          old.ReadBuffer(buffer.data(), n);
          out.WriteBuffer(buffer.data(), n);
          left -= n;
          done += n;
        }
        Progress(Percent(done, total));
      }
      out.Flush();
    }
    for (auto& d : items)
      if (HasBlock(d) && d.DataPos >= 0)
        d.DataPos = blocks.at(std::make_pair<int64_t, int64_t>(d.DataPos, BlockBytes(d)));
    {
      std::vector<uint8_t> bytes(items.size() * RecordSize);
      for (size_t i = 0; i < items.size(); ++i) EncodeRecord(items[i], &bytes[i * RecordSize]);
      TFileStream out(itemTemp, fmCreate);
      out.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
      out.Flush();
    }
  } catch (...) {
    DeleteFile(dataTemp);
    DeleteFile(itemTemp);
    throw;
  }
  std::error_code ec;
  std::filesystem::rename(NativePath(dataTemp), NativePath(dataName), ec);
  if (ec) {
    DeleteFile(dataTemp);
    DeleteFile(itemTemp);
    Fail(": GarbageCollection: cannot replace the data file.");
  }
  // From here on the new positions are the valid ones, even if the item file is only put
  // in place when the database is next opened.
  FItems = std::move(items);
  std::filesystem::rename(NativePath(itemTemp), NativePath(itemName), ec);
  if (ec) Fail(": GarbageCollection: cannot replace the item file.");
  Progress(100);
}

// ------------------------------------------------------------ listing

void TGeoDB::ExportDataDebug(const std::string& FileName) {
  TTextFile t(FileName);
  t.Rewrite();
  t.WriteLn("Geo database " + FDBName);
  t.WriteLn("LastItemID " + IntToStr(FLastItemID) + ", FormatCode " + IntToStr(FFormatCode) +
            ", Revision " + IntToStr(FRevision));
  t.WriteLn("Description \"" + FDescription + "\"");
  t.WriteLn("NumEntries " + IntToStr(GetNumEntries()));
  t.WriteLn();
  t.WriteLn("Rec\tItemID\tType\tClass\tName\tDataPos\tSize\tClosed\tLatLow\tLatHigh\tLongLow\t"
            "LongHigh\tAttrib1\tAttrib2\tDate");
  for (size_t i = 0; i < FItems.size(); ++i) {
    const TgdbData& d = FItems[i];
    const char* kind = d.ItemType <= gitUndefined ? GDB_ITEMNAMES[d.ItemType] : "?";
    t.WriteLn(IntToStr(static_cast<int64_t>(i + 1)) + "\t" + IntToStr(d.ItemID) + "\t" + kind +
              "\t" + IntToStr(d.ItemClass) + "\t" + d.Name.Str() + "\t" + IntToStr(d.DataPos) +
              "\t" + IntToStr(d.Size) + "\t" + IntToStr(d.Closed) + "\t" + FloatToStr(d.LatLow) +
              "\t" + FloatToStr(d.LatHigh) + "\t" + FloatToStr(d.LongLow) + "\t" +
              FloatToStr(d.LongHigh) + "\t" + IntToStr(d.Attrib1) + "\t" + IntToStr(d.Attrib2) +
              "\t" + FloatToStr(d.Date));
  }
  t.WriteLn();
  t.WriteLn("Index ItemID");
  for (size_t i = 0; i < FIxItemID.size(); ++i)
    t.WriteLn(IntToStr(static_cast<int64_t>(i + 1)) + "\t" + IntToStr(FIxItemID[i].ItemID) +
              "\t" + IntToStr(FIxItemID[i].RecIdx + 1));
  const char* const names[4] = {"LatLow", "LatHigh", "LongLow", "LongHigh"};
  for (int w = 0; w < 4; ++w) {
    t.WriteLn();
    t.WriteLn(std::string("Index ") + names[w]);
    for (size_t i = 0; i < FIxLL[w].size(); ++i)
      t.WriteLn(IntToStr(static_cast<int64_t>(i + 1)) + "\t" + FloatToStr(FIxLL[w][i].Value) +
                "\t" + IntToStr(FIxLL[w][i].RecIdx + 1));
  }
  t.Close();
}

}  // namespace nuv
