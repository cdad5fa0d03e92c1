// Record codecs and the free functions of the geo database.
#include "geo/NUV_GeoDB_Files.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace nuv {

const char* const GDB_ITEMNAMES[9] = {"Border", "Town",  "City", "Lake",     "River",
                                      "Road",   "Route", "BLOB", "Undefined"};

bool IsPolygonItem(TgdbItem Kind) {
  return Kind == gitBorder || (Kind >= gitCity && Kind <= gitRoute);
}

namespace gdbfile {

const char* const Extensions[7] = {".nuvgi0", ".nuvgi1", ".nuvgi2", ".nuvgi3",
                                   ".nuvgi4", ".nuvgds", ".nuvgdd"};

namespace {

void PutU32(uint8_t* P, uint32_t V) {
  for (int i = 0; i < 4; ++i) P[i] = static_cast<uint8_t>(V >> (8 * i));
}
uint32_t GetU32(const uint8_t* P) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(P[i]) << (8 * i);
  return v;
}
void PutI32(uint8_t* P, int32_t V) { PutU32(P, static_cast<uint32_t>(V)); }
int32_t GetI32(const uint8_t* P) { return static_cast<int32_t>(GetU32(P)); }
void PutF32(uint8_t* P, float V) { PutU32(P, std::bit_cast<uint32_t>(V)); }
float GetF32(const uint8_t* P) { return std::bit_cast<float>(GetU32(P)); }
void PutF64(uint8_t* P, double V) {
  const uint64_t u = std::bit_cast<uint64_t>(V);
  PutU32(P, static_cast<uint32_t>(u));
  PutU32(P + 4, static_cast<uint32_t>(u >> 32));
}
double GetF64(const uint8_t* P) {
  return std::bit_cast<double>(static_cast<uint64_t>(GetU32(P)) |
                               static_cast<uint64_t>(GetU32(P + 4)) << 32);
}

template <size_t N>
void PutShort(uint8_t* P, const TShortString<N>& S) {
  P[0] = S.Length;
  std::memcpy(P + 1, S.Chars.data(), N);
}
// A length byte beyond the field's capacity is cut to the capacity.
template <size_t N>
TShortString<N> GetShort(const uint8_t* P) {
  TShortString<N> s;
  s.Length = static_cast<uint8_t>(std::min<size_t>(P[0], N));
  std::memcpy(s.Chars.data(), P + 1, N);
  return s;
}

}  // namespace

void EncodeHeader(const THeader& H, uint8_t* P) {
  std::memset(P, 0, HeaderSize);
  PutI32(P, H.LastItemID);
  PutI32(P + 4, H.FormatCode);
  const size_t n = std::min<size_t>(H.Description.size(), DescriptionCapacity);
  P[8] = static_cast<uint8_t>(n);
  std::memcpy(P + 9, H.Description.data(), n);
  PutI32(P + 72, H.Revision);
}

THeader DecodeHeader(const uint8_t* Bytes, size_t Size) {
  uint8_t p[HeaderSize] = {};
  std::memcpy(p, Bytes, std::min<size_t>(Size, HeaderSize));
  THeader h;
  h.LastItemID = GetI32(p);
  h.FormatCode = GetI32(p + 4);
  h.Description.assign(reinterpret_cast<const char*>(p + 9),
                       std::min<size_t>(p[8], DescriptionCapacity));
  h.Revision = GetI32(p + 72);
  return h;
}

void EncodeRecord(const TgdbData& D, uint8_t* P) {
  std::memset(P, 0, RecordSize);
  PutI32(P, D.ItemID);
  PutShort(P + 4, D.Name);
  P[68] = D.ItemClass;
  PutI32(P + 72, D.Attrib2);
  PutI32(P + 76, D.DataPos);
  PutF64(P + 80, D.Date);
  PutI32(P + 88, D.Attrib1);
  PutF32(P + 92, D.LatLow);
  PutF32(P + 96, D.LatHigh);
  PutF32(P + 100, D.LongLow);
  PutF32(P + 104, D.LongHigh);
  P[108] = D.ItemType;
  PutI32(P + 112, D.Size);
  P[116] = D.Closed;
}

TgdbData DecodeRecord(const uint8_t* P) {
  TgdbData d;
  d.ItemID = GetI32(P);
  d.Name = GetShort<63>(P + 4);
  d.ItemClass = P[68];
  d.Attrib2 = GetI32(P + 72);
  d.DataPos = GetI32(P + 76);
  d.Date = GetF64(P + 80);
  d.Attrib1 = GetI32(P + 88);
  d.LatLow = GetF32(P + 92);
  d.LatHigh = GetF32(P + 96);
  d.LongLow = GetF32(P + 100);
  d.LongHigh = GetF32(P + 104);
  d.ItemType = static_cast<TgdbItem>(P[108]);
  d.Size = GetI32(P + 112);
  d.Closed = P[116];
  return d;
}

void EncodeMetaInfo(const TMetaInfo& M, uint8_t* P) {
  PutShort(P, M.Kwd);
  PutShort(P + 256, M.Caption);
  PutShort(P + 384, M.FilePath);
  PutShort(P + 512, M.Descriptor);
  PutShort(P + 768, M.Reserved);
}

TMetaInfo DecodeMetaInfo(const uint8_t* P) {
  TMetaInfo m;
  m.Kwd = GetShort<255>(P);
  m.Caption = GetShort<127>(P + 256);
  m.FilePath = GetShort<127>(P + 384);
  m.Descriptor = GetShort<255>(P + 512);
  m.Reserved = GetShort<255>(P + 768);
  return m;
}

void EncodePoint(const TSCoords& C, uint8_t* P) {
  PutF32(P, C.Lat);
  PutF32(P + 4, C.Long);
}
TSCoords DecodePoint(const uint8_t* P) { return {GetF32(P), GetF32(P + 4)}; }

void EncodeIxItemID(const TIxItemIDRec& E, uint8_t* P) {
  PutI32(P, E.ItemID);
  PutI32(P + 4, E.RecIdx);
}
TIxItemIDRec DecodeIxItemID(const uint8_t* P) { return {GetI32(P), GetI32(P + 4)}; }
void EncodeIxLL(const TIxLLRec& E, uint8_t* P) {
  PutF32(P, E.Value);
  PutI32(P + 4, E.RecIdx);
}
TIxLLRec DecodeIxLL(const uint8_t* P) { return {GetF32(P), GetI32(P + 4)}; }

float BoundOf(const TgdbData& D, int Which) {
  switch (Which) {
    case 0: return D.LatLow;
    case 1: return D.LatHigh;
    case 2: return D.LongLow;
    default: return D.LongHigh;
  }
}

}  // namespace gdbfile

TSCoords ExtractLocation(const TgdbData& Data) { return {Data.LatLow, Data.LongLow}; }

void ClearMetaInfo(TMetaInfo& MetaInfo) {
  MetaInfo.Kwd.Length = 0;
  MetaInfo.Caption.Length = 0;
  MetaInfo.FilePath.Length = 0;
  MetaInfo.Descriptor.Length = 0;
  MetaInfo.Reserved.Length = 0;
}

void ClearGdbData(TgdbData& Data) {
  const int32_t size = Data.Size;
  Data = TgdbData{};
  Data.Name.Assign("", ' ');
  Data.Date = Now();
  Data.Size = size;
}

std::string GeoLatitude(double Value, TDegreeFormat Format, int Prec) {
  const double v = std::clamp(Value, -90.0, 90.0);
  return DegreeToStr(std::fabs(v), Format, Prec) + (v < 0 ? " S" : " N");
}

std::string GeoLongitude(double Value, TDegreeFormat Format, int Prec) {
  const double v = std::clamp(Value, -180.0, 180.0);
  return DegreeToStr(std::fabs(v), Format, Prec) + (v < 0 ? " W" : " E");
}

}  // namespace nuv
