// The JPEG image, decoded and encoded through libjpeg.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/NUV_Graphics.h"

namespace nuv {

// Images wider or taller than this, or of more than MaxBitmapPixels, are refused before
// decoding.
constexpr int MaxJPEGSide = 65500;

// A JPEG picture held decoded (32-bit pixels, as a bitmap holds them). LoadFromStream reads
// the header first and refuses absurd sizes; malformed or truncated data raise
// EInvalidGraphic and leave the image as it was. OnProgress reports decoding
// (psStarting, psRunning with the percentage, psEnding).
//
// A bitmap takes the picture with Bitmap.Assign(&Jpeg); Jpeg.Assign(&Bitmap) takes a
// bitmap's pixels for saving (SaveToStream encodes with CompressionQuality).
class TJPEGImage : public TGraphic {
 public:
  void Assign(TPersistent* Source) override;
  int GetWidth() const override { return FWidth; }
  int GetHeight() const override { return FHeight; }
  bool GetGrayscale() const { return FGrayscale; }  // the file held one channel
  int GetCompressionQuality() const { return FQuality; }
  void SetCompressionQuality(int Value);  // 1..100, default 90
  void LoadFromStream(TStream& Stream) override;
  void SaveToStream(TStream& Stream) const override;

 protected:
  void AssignTo(TPersistent* Dest) override;
  void Draw(TCanvas& ACanvas, const TRect& Rect) override;

 private:
  int FWidth = 0, FHeight = 0;
  bool FGrayscale = false;
  int FQuality = 90;
  std::vector<uint32_t> FPixels;
};

// Reads only the header of a JPEG file: false when there is none or it is malformed.
bool ReadJPEGStreamSize(TStream& Stream, int& Width, int& Height);

}  // namespace nuv
