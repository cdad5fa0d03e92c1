// BMP files: reading every common variant with each header field checked before anything
// is allocated, writing in the bitmap's pixel format, and bitmaps on the clipboard.
#include <cstring>
#include <unordered_map>

#include "platform/NUV_Clipbrd.h"
#include "platform/NUV_Graphics.h"
#include "platform/NUV_Graphics_Raster.h"

namespace nuv {

namespace {

constexpr uint32_t BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3;
// Longest side accepted from a file; with MaxBitmapPixels it keeps allocations sane.
constexpr int64_t kMaxSide = 1 << 20;

[[noreturn]] void Bad(const std::string& What) { throw EInvalidGraphic("Bitmap image is not valid: " + What); }

uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
int32_t I32(const uint8_t* p) { return int32_t(U32(p)); }

// A colour channel mask: position and width, for scaling its value to 8 bits.
struct Channel {
  uint32_t Mask = 0;
  int Shift = 0;
  uint32_t Max = 0;
  explicit Channel(uint32_t M = 0) : Mask(M) {
    if (M == 0) return;
    while (!((M >> Shift) & 1)) ++Shift;
    Max = M >> Shift;
  }
  bool Contiguous() const { return Mask == 0 || (Max & (Max + 1)) == 0; }
  uint32_t Get(uint32_t Px) const {
    if (Max == 0) return 0;
    return uint32_t((uint64_t((Px & Mask) >> Shift) * 255 + Max / 2) / Max);
  }
};

// Everything the headers say, checked.
struct Header {
  int64_t Width = 0, Height = 0;  // Height positive; TopDown tells the row order
  bool TopDown = false;
  int Bpp = 0;
  uint32_t Compression = BI_RGB;
  uint32_t OffBits = 0;
  uint32_t SizeImage = 0;
  int64_t PaletteAt = 0, PaletteCount = 0, PaletteEntry = 4;
  Channel R, G, B;
  int64_t HeaderEnd = 0;  // file header, info header and masks that follow it
};

// Reads the file header and the info header from P (Len bytes available).
Header ParseHeader(const uint8_t* P, size_t Len) {
  if (Len < 18) Bad("the file is truncated");
  if (P[0] != 'B' || P[1] != 'M') Bad("no bitmap signature");
  Header h;
  h.OffBits = U32(P + 10);
  const uint32_t infoSize = U32(P + 14);
  if (infoSize != 12 && infoSize != 40 && infoSize != 52 && infoSize != 56 && infoSize != 108 &&
      infoSize != 124)
    Bad("unsupported header size " + IntToStr(infoSize));
  if (Len < 14 + size_t(infoSize)) Bad("the file is truncated");
  const uint8_t* I = P + 14;
  int planes;
  if (infoSize == 12) {
    h.Width = U16(I + 4);
    h.Height = U16(I + 6);
    planes = U16(I + 8);
    h.Bpp = U16(I + 10);
    h.PaletteEntry = 3;
  } else {
    h.Width = I32(I + 4);
    int64_t height = I32(I + 8);
    planes = U16(I + 12);
    h.Bpp = U16(I + 14);
    h.Compression = U32(I + 16);
    h.SizeImage = U32(I + 20);
    h.PaletteCount = U32(I + 32);
    h.TopDown = height < 0;
    h.Height = height < 0 ? -height : height;
  }
  h.HeaderEnd = 14 + int64_t(infoSize);
  if (planes != 1) Bad("plane count " + IntToStr(planes));
  if (h.Width <= 0 || h.Height <= 0) Bad("dimensions " + IntToStr(h.Width) + " x " + IntToStr(h.Height));
  if (h.Width > kMaxSide || h.Height > kMaxSide || h.Width * h.Height > MaxBitmapPixels)
    Bad("dimensions too large");
  switch (h.Bpp) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: Bad("bit count " + IntToStr(h.Bpp));
  }
  switch (h.Compression) {
    case BI_RGB: break;
    case BI_RLE8: if (h.Bpp != 8) Bad("RLE8 needs 8 bits"); break;
    case BI_RLE4: if (h.Bpp != 4) Bad("RLE4 needs 4 bits"); break;
    case BI_BITFIELDS: if (h.Bpp != 16 && h.Bpp != 32) Bad("bit fields need 16 or 32 bits"); break;
    default: Bad("compression " + IntToStr(h.Compression));
  }
  if (h.TopDown && (h.Compression == BI_RLE8 || h.Compression == BI_RLE4))
    Bad("top-down compressed bitmap");
  if (h.Compression == BI_BITFIELDS) {
    const uint8_t* M = I + 40;
    if (infoSize == 40) {
      h.HeaderEnd += 12;
      if (Len < size_t(h.HeaderEnd)) Bad("the file is truncated");
    }
    h.R = Channel(U32(M));
    h.G = Channel(U32(M + 4));
    h.B = Channel(U32(M + 8));
    if (!h.R.Contiguous() || !h.G.Contiguous() || !h.B.Contiguous()) Bad("colour masks");
    if (h.Bpp == 16 && ((h.R.Mask | h.G.Mask | h.B.Mask) >> 16) != 0) Bad("colour masks");
  } else if (h.Bpp == 16) {
    h.R = Channel(0x7C00);
    h.G = Channel(0x03E0);
    h.B = Channel(0x001F);
  } else if (h.Bpp == 32) {
    h.R = Channel(0xFF0000);
    h.G = Channel(0x00FF00);
    h.B = Channel(0x0000FF);
  }
  if (h.Bpp <= 8) {
    const int64_t full = int64_t(1) << h.Bpp;
    if (h.PaletteCount == 0 || infoSize == 12) h.PaletteCount = full;
    if (h.PaletteCount > 256) Bad("palette of " + IntToStr(h.PaletteCount) + " colours");
    h.PaletteCount = std::min(h.PaletteCount, full);
  } else {
    h.PaletteCount = 0;  // an optional palette for display; not needed here
  }
  h.PaletteAt = h.HeaderEnd;
  // The core header has no colour count: the palette is what fits before the pixels.
  if (infoSize == 12 && h.PaletteCount > 0 && h.OffBits > h.PaletteAt)
    h.PaletteCount = std::min<int64_t>(h.PaletteCount, (h.OffBits - h.PaletteAt) / 3);
  return h;
}

// Decoding state shared by the pixel readers.
struct Decoder {
  const Header& H;
  std::vector<uint32_t> Palette;
  std::vector<uint32_t>& Out;

  uint32_t Index(uint32_t I) const { return I < Palette.size() ? Palette[I] : 0; }
  int64_t Row(int64_t FileRow) const { return H.TopDown ? FileRow : H.Height - 1 - FileRow; }

  void Plain(const uint8_t* D) {
    const int64_t stride = ((H.Width * H.Bpp + 31) / 32) * 4;
    for (int64_t r = 0; r < H.Height; ++r) {
      const uint8_t* s = D + r * stride;
      uint32_t* o = Out.data() + Row(r) * H.Width;
      for (int64_t x = 0; x < H.Width; ++x) {
        switch (H.Bpp) {
          case 1: o[x] = Index((s[x >> 3] >> (7 - (x & 7))) & 1); break;
          case 4: o[x] = Index((s[x >> 1] >> ((x & 1) ? 0 : 4)) & 15); break;
          case 8: o[x] = Index(s[x]); break;
          case 16: o[x] = Masked(U16(s + 2 * x)); break;
          case 24: o[x] = uint32_t(s[3 * x]) | uint32_t(s[3 * x + 1]) << 8 | uint32_t(s[3 * x + 2]) << 16; break;
          default: o[x] = Masked(U32(s + 4 * x)); break;
        }
      }
    }
  }
  uint32_t Masked(uint32_t Px) const { return H.B.Get(Px) | H.G.Get(Px) << 8 | H.R.Get(Px) << 16; }

  // Run-length data of 8 or 4 bits, bottom-up; pixels not set keep palette colour 0.
  void Rle(const uint8_t* D, size_t Len) {
    const bool four = H.Compression == BI_RLE4;
    std::fill(Out.begin(), Out.end(), Index(0));
    int64_t x = 0, r = 0;
    size_t i = 0;
    auto put = [&](uint32_t idx) {
      if (x < H.Width && r < H.Height) Out[size_t(Row(r) * H.Width + x)] = Index(idx);
      ++x;
    };
    auto need = [&](size_t n) {
      if (Len - i < n) Bad("the compressed data are truncated");
    };
    while (true) {
      need(2);
      const uint8_t n = D[i], v = D[i + 1];
      i += 2;
      if (n > 0) {
        for (int k = 0; k < n; ++k) put(four ? ((k & 1) ? v & 15 : v >> 4) : v);
        continue;
      }
      if (v == 0) {  // end of line
        x = 0;
        ++r;
      } else if (v == 1) {  // end of bitmap
        return;
      } else if (v == 2) {  // delta
        need(2);
        x += D[i];
        r += D[i + 1];
        i += 2;
      } else {  // absolute run of v pixels, padded to 16 bits
        size_t bytes = four ? (v + 1) / 2 : v;
        size_t padded = (bytes + 1) & ~size_t(1);
        need(padded);
        for (int k = 0; k < v; ++k) put(four ? ((k & 1) ? D[i + k / 2] & 15 : D[i + k / 2] >> 4) : D[i + k]);
        i += padded;
      }
      if (r > H.Height) return;  // everything further lies outside the image
    }
  }
};

TPixelFormat FormatOf(const Header& H) {
  switch (H.Bpp) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16: return H.G.Mask == 0x03E0 && H.R.Mask == 0x7C00 ? pf15bit : pf16bit;
    case 24: return pf24bit;
    default: return pf32bit;
  }
}

// ---- writing

void Put16(std::string& S, uint32_t V) { S += char(V & 0xFF); S += char((V >> 8) & 0xFF); }
void Put32(std::string& S, uint32_t V) { Put16(S, V & 0xFFFF); Put16(S, V >> 16); }

// A palette for Bpp bits: the image's own colours when they fit, else a fixed one.
std::vector<uint32_t> PaletteFor(const std::vector<uint32_t>& Px, int Bpp) {
  const size_t cap = size_t(1) << Bpp;
  std::vector<uint32_t> own;
  std::unordered_map<uint32_t, int> seen;
  for (uint32_t p : Px) {
    p &= 0xFFFFFF;
    if (seen.emplace(p, 0).second) {
      own.push_back(p);
      if (own.size() > cap) break;
    }
  }
  if (own.size() <= cap) return own;
  if (Bpp == 1) return {0x000000, 0xFFFFFF};
  if (Bpp == 4) {
    return {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0x808080,
            0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
  }
  std::vector<uint32_t> cube;
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b) cube.push_back(uint32_t(r * 51) << 16 | uint32_t(g * 51) << 8 | uint32_t(b * 51));
  return cube;
}

int Nearest(const std::vector<uint32_t>& Pal, uint32_t P) {
  int best = 0;
  int64_t bestD = INT64_MAX;
  for (size_t i = 0; i < Pal.size(); ++i) {
    int64_t dr = int64_t((Pal[i] >> 16) & 255) - ((P >> 16) & 255);
    int64_t dg = int64_t((Pal[i] >> 8) & 255) - ((P >> 8) & 255);
    int64_t db = int64_t(Pal[i] & 255) - (P & 255);
    int64_t d = dr * dr + dg * dg + db * db;
    if (d < bestD) {
      bestD = d;
      best = int(i);
      if (d == 0) break;
    }
  }
  return best;
}

std::string Encode(const TBitmap& Bmp) {
  const int w = Bmp.GetWidth(), h = Bmp.GetHeight();
  int bpp = 24;
  uint32_t compression = BI_RGB;
  switch (Bmp.GetPixelFormat()) {
    case pf1bit: bpp = 1; break;
    case pf4bit: bpp = 4; break;
    case pf8bit: bpp = 8; break;
    case pf15bit: bpp = 16; break;
    case pf16bit: bpp = 16; compression = BI_BITFIELDS; break;
    case pf32bit: bpp = 32; break;
    default: break;
  }
  const std::vector<uint32_t>& px = TBitmapAccess::Pixels(Bmp);
  std::vector<uint32_t> pal;
  std::unordered_map<uint32_t, int> index;
  if (bpp <= 8) {
    pal = PaletteFor(px, bpp);
    for (size_t i = 0; i < pal.size(); ++i) index.emplace(pal[i], int(i));
  }
  auto idx = [&](uint32_t p) {
    p &= 0xFFFFFF;
    auto it = index.find(p);
    if (it != index.end()) return it->second;
    int n = Nearest(pal, p);
    index.emplace(p, n);
    return n;
  };
  const size_t stride = ((size_t(w) * bpp + 31) / 32) * 4;
  const size_t extra = compression == BI_BITFIELDS ? 12 : 0;
  const size_t off = 14 + 40 + extra + pal.size() * 4;
  const size_t total = off + stride * size_t(h);
  if (total > 0xFFFFFFFFu) throw EInvalidGraphic("Bitmap is too large for a BMP file");
  std::string S;
  S.reserve(total);
  S += "BM";
  Put32(S, uint32_t(total));
  Put32(S, 0);
  Put32(S, uint32_t(off));
  Put32(S, 40);
  Put32(S, uint32_t(w));
  Put32(S, uint32_t(h));
  Put16(S, 1);
  Put16(S, uint16_t(bpp));
  Put32(S, compression);
  Put32(S, uint32_t(stride * size_t(h)));
  Put32(S, 3780);  // 96 pixels per inch
  Put32(S, 3780);
  Put32(S, uint32_t(pal.size()));
  Put32(S, 0);
  if (compression == BI_BITFIELDS) {
    Put32(S, 0xF800);
    Put32(S, 0x07E0);
    Put32(S, 0x001F);
  }
  for (uint32_t c : pal) Put32(S, c);
  std::string row(stride, '\0');
  for (int y = h - 1; y >= 0; --y) {
    const uint32_t* s = px.data() + size_t(y) * w;
    std::fill(row.begin(), row.end(), '\0');
    auto* o = reinterpret_cast<uint8_t*>(row.data());
    for (int x = 0; x < w; ++x) {
      const uint32_t p = s[x];
      const uint32_t r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
      switch (bpp) {
        case 1: o[x >> 3] |= uint8_t(idx(p) << (7 - (x & 7))); break;
        case 4: o[x >> 1] |= uint8_t(idx(p) << ((x & 1) ? 0 : 4)); break;
        case 8: o[x] = uint8_t(idx(p)); break;
        case 16: {
          uint32_t v = compression == BI_BITFIELDS
                           ? ((r * 31 + 127) / 255) << 11 | ((g * 63 + 127) / 255) << 5 | ((b * 31 + 127) / 255)
                           : ((r * 31 + 127) / 255) << 10 | ((g * 31 + 127) / 255) << 5 | ((b * 31 + 127) / 255);
          o[2 * x] = uint8_t(v);
          o[2 * x + 1] = uint8_t(v >> 8);
          break;
        }
        case 24: o[3 * x] = uint8_t(b); o[3 * x + 1] = uint8_t(g); o[3 * x + 2] = uint8_t(r); break;
        default: o[4 * x] = uint8_t(b); o[4 * x + 1] = uint8_t(g); o[4 * x + 2] = uint8_t(r); break;
      }
    }
    S += row;
  }
  return S;
}

std::vector<uint8_t> ReadRest(TStream& Stream) {
  int64_t rest = Stream.GetSize() - Stream.GetPosition();
  if (rest < 0) rest = 0;
  if (rest > int64_t(1) << 32) Bad("the file is too large");
  std::vector<uint8_t> buf(static_cast<size_t>(rest));
  if (rest > 0 && Stream.Read(buf.data(), rest) != rest) Bad("the file could not be read");
  return buf;
}

}  // namespace

void TBitmap::LoadFromStream(TStream& Stream) {
  const int64_t start = Stream.GetPosition();
  std::vector<uint8_t> F = ReadRest(Stream);
  const Header h = ParseHeader(F.data(), F.size());
  const int64_t len = int64_t(F.size());
  // Palette, pixel offset and pixel data must lie inside the file.
  const int64_t palEnd = h.PaletteAt + h.PaletteCount * h.PaletteEntry;
  if (palEnd > len) Bad("the palette is truncated");
  if (h.OffBits < h.HeaderEnd || h.OffBits > len) Bad("pixel data offset " + IntToStr(h.OffBits));
  if (h.PaletteCount > 0 && h.OffBits < palEnd) Bad("pixel data overlap the palette");
  const bool rle = h.Compression == BI_RLE8 || h.Compression == BI_RLE4;
  int64_t dataLen = len - h.OffBits;
  if (!rle) {
    const int64_t need = ((h.Width * h.Bpp + 31) / 32) * 4 * h.Height;
    if (need > dataLen) Bad("the pixel data are truncated");
  } else if (h.SizeImage != 0) {
    if (h.SizeImage > dataLen) Bad("the compressed data are truncated");
    dataLen = h.SizeImage;
  }

  std::vector<uint32_t> out(size_t(h.Width * h.Height));
  Decoder d{h, {}, out};
  for (int64_t i = 0; i < h.PaletteCount; ++i) {
    const uint8_t* e = F.data() + h.PaletteAt + i * h.PaletteEntry;
    d.Palette.push_back(uint32_t(e[0]) | uint32_t(e[1]) << 8 | uint32_t(e[2]) << 16);
  }
  Progress(psStarting, 0, "");
  if (rle) {
    d.Rle(F.data() + h.OffBits, size_t(dataLen));
  } else {
    d.Plain(F.data() + h.OffBits);
  }
  TBitmapAccess::Adopt(*this, int(h.Width), int(h.Height), std::move(out), FormatOf(h));
  // Leave the stream after the file when its length is known.
  uint32_t fileSize = U32(F.data() + 2);
  if (fileSize >= h.OffBits && fileSize <= len) Stream.SetPosition(start + fileSize);
  Progress(psEnding, 100, "");
}

void TBitmap::SaveToStream(TStream& Stream) const {
  std::string S = Encode(*this);
  Stream.WriteBuffer(S.data(), int64_t(S.size()));
}

bool ReadBitmapStreamSize(TStream& Stream, int& Width, int& Height) {
  const int64_t start = Stream.GetPosition();
  uint8_t buf[14 + 124 + 12] = {};
  int64_t got = Stream.Read(buf, sizeof buf);
  Stream.SetPosition(start);
  try {
    Header h = ParseHeader(buf, size_t(std::max<int64_t>(got, 0)));
    Width = int(h.Width);
    Height = int(h.Height);
    return true;
  } catch (const EInvalidGraphic&) {
    return false;
  }
}

bool ReadBitmapFileSize(const std::string& FileName, int& Width, int& Height) {
  try {
    TFileStream S(FileName, fmOpenRead);
    return ReadBitmapStreamSize(S, Width, Height);
  } catch (const EStreamError&) {
    return false;
  }
}

void CopyBitmapToClipboard(const TBitmap& Bitmap) {
  Clipboard().SetData(CF_BITMAP, Encode(Bitmap));
}

bool PasteBitmapFromClipboard(TBitmap& Bitmap) {
  if (!Clipboard().HasFormat(CF_BITMAP)) return false;
  TStringStream S(Clipboard().GetData(CF_BITMAP));
  TBitmap B;
  try {
    B.LoadFromStream(S);
  } catch (const EInvalidGraphic&) {
    return false;
  }
  Bitmap.Assign(&B);
  return true;
}

}  // namespace nuv
