// Byte layout of the geo database files: every record is encoded and decoded field by
// field, little-endian, padding as zero, whatever the host's byte order and alignment.
#pragma once

#include <cstdint>
#include <string>

#include "geo/NUV_GeoDB.h"

namespace nuv::gdbfile {

constexpr int HeaderSize = 260;
constexpr int RecordSize = 120;
constexpr int IndexEntrySize = 8;
constexpr int MetaInfoSize = 1024;
constexpr int PointSize = 8;
constexpr int DescriptionCapacity = 60;
constexpr int FormatCode = 3;
constexpr int64_t MaxDataFileSize = 2147483647;  // DataPos is an int32

// File extensions: 0..4 the index files, 5 the item file, 6 the data file.
constexpr int ItemFile = 5;
constexpr int DataFile = 6;
extern const char* const Extensions[7];

struct THeader {
  int32_t LastItemID = 0;
  int32_t FormatCode = gdbfile::FormatCode;
  std::string Description;
  int32_t Revision = 0;
};

void EncodeHeader(const THeader& H, uint8_t* P);
// Size may be short of HeaderSize (a damaged file); missing bytes read as zero.
THeader DecodeHeader(const uint8_t* P, size_t Size);
void EncodeRecord(const TgdbData& D, uint8_t* P);
TgdbData DecodeRecord(const uint8_t* P);
void EncodeMetaInfo(const TMetaInfo& M, uint8_t* P);
TMetaInfo DecodeMetaInfo(const uint8_t* P);
void EncodePoint(const TSCoords& C, uint8_t* P);
TSCoords DecodePoint(const uint8_t* P);
void EncodeIxItemID(const TIxItemIDRec& E, uint8_t* P);
TIxItemIDRec DecodeIxItemID(const uint8_t* P);
void EncodeIxLL(const TIxLLRec& E, uint8_t* P);
TIxLLRec DecodeIxLL(const uint8_t* P);

// The bound that bound index Which (0 LatLow, 1 LatHigh, 2 LongLow, 3 LongHigh) sorts by.
float BoundOf(const TgdbData& D, int Which);

}  // namespace nuv::gdbfile
