// The bitmap: size, pixels, copies and transparency. Its files are read and written in
// NUV_Graphics_Bmp.cpp and NUV_Graphics_Png.cpp.
#include <algorithm>

#include "platform/NUV_Graphics.h"
#include "platform/NUV_Graphics_Raster.h"

namespace nuv {

namespace {
constexpr uint32_t kWhite = 0x00FFFFFF;
}

TBitmap::TBitmap() : FCanvas(std::make_unique<TCanvas>(this)) {}

TBitmap::~TBitmap() = default;

void TBitmap::SetSize(int Width, int Height) {
  Width = std::max(Width, 0);
  Height = std::max(Height, 0);
  if (Width == FWidth && Height == FHeight) return;
  if (int64_t(Width) * Height > MaxBitmapPixels)
    throw EOutOfMemory("Bitmap of " + IntToStr(Width) + " x " + IntToStr(Height) +
                       " pixels is too large");
  std::vector<uint32_t> P(size_t(Width) * size_t(Height), kWhite);
  int w = std::min(Width, FWidth), h = std::min(Height, FHeight);
  for (int y = 0; y < h; ++y)
    std::copy_n(FPixels.data() + size_t(y) * FWidth, w, P.data() + size_t(y) * Width);
  FPixels.swap(P);
  FWidth = Width;
  FHeight = Height;
  Changed();
}

void TBitmap::Assign(TPersistent* Source) {
  if (Source == nullptr) {
    SetSize(0, 0);
    return;
  }
  if (auto* B = dynamic_cast<TBitmap*>(Source)) {
    if (B == this) return;
    FPixels = B->FPixels;
    FWidth = B->FWidth;
    FHeight = B->FHeight;
    FPixelFormat = B->FPixelFormat;
    FTransparentColor = B->FTransparentColor;
    SetTransparent(B->GetTransparent());
    Changed();
    return;
  }
  TGraphic::Assign(Source);
}

void TBitmapAccess::Adopt(TBitmap& B, int W, int H, std::vector<uint32_t>&& Pixels,
                          TPixelFormat Format) {
  B.FPixels = std::move(Pixels);
  B.FWidth = W;
  B.FHeight = H;
  B.FPixelFormat = Format;
  B.Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
  if (Value == FPixelFormat) return;
  FPixelFormat = Value;
  Changed();
}

uint32_t* TBitmap::ScanLine(int Row) {
  if (Row < 0 || Row >= FHeight) throw EInvalidGraphic("Scan line index out of range");
  return FPixels.data() + size_t(Row) * FWidth;
}

const uint32_t* TBitmap::ScanLine(int Row) const {
  if (Row < 0 || Row >= FHeight) throw EInvalidGraphic("Scan line index out of range");
  return FPixels.data() + size_t(Row) * FWidth;
}

TColor TBitmap::GetTransparentColor() const {
  if (FTransparentColor != clDefault) return FTransparentColor;
  if (FPixels.empty()) return clWhite;
  return raster::ToColor(FPixels[size_t(FHeight - 1) * FWidth]);
}

void TBitmap::SetTransparentColor(TColor Value) {
  if (Value == FTransparentColor) return;
  FTransparentColor = Value;
  Changed();
}

void TBitmap::Draw(TCanvas& ACanvas, const TRect& Rect) {
  if (FPixels.empty()) return;
  TImagePixels Src{FPixels.data(), FWidth, FHeight, GetTransparent(),
                   raster::ToPixel(GetTransparentColor())};
  StretchPixels(ACanvas, Rect.Left, Rect.Top, int64_t(Rect.Right) - Rect.Left,
                int64_t(Rect.Bottom) - Rect.Top, Src, 0, 0, FWidth, FHeight,
                ACanvas.GetCopyMode());
}

}  // namespace nuv
