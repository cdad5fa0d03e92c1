// PNG files through libpng: 8-bit RGB written, any PNG read.
#include <png.h>

#include <csetjmp>

#include "platform/NUV_Graphics.h"
#include "platform/NUV_Graphics_Raster.h"

namespace nuv {

namespace {

struct IoState {
  TStream* Stream = nullptr;
  bool Failed = false;
  std::string Error;
};

void OnError(png_structp Png, png_const_charp Msg) {
  auto* io = static_cast<IoState*>(png_get_error_ptr(Png));
  io->Error = Msg ? Msg : "";
  png_longjmp(Png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void ReadData(png_structp Png, png_bytep Data, png_size_t Len) {
  auto* io = static_cast<IoState*>(png_get_io_ptr(Png));
  if (io->Stream->Read(Data, int64_t(Len)) != int64_t(Len)) png_error(Png, "the file is truncated");
}

void WriteData(png_structp Png, png_bytep Data, png_size_t Len) {
  auto* io = static_cast<IoState*>(png_get_io_ptr(Png));
  if (io->Stream->Write(Data, int64_t(Len)) != int64_t(Len)) {
    io->Failed = true;
    png_error(Png, "write failed");
  }
}

void FlushData(png_structp) {}

// Kept out of the function that calls setjmp, so no local lives across the longjmp.
// Objects with destructors are the caller's: a longjmp must not skip them.
bool ReadPng(png_structp Png, png_infop Info, int& W, int& H, std::vector<uint32_t>& Out,
             std::vector<png_bytep>& Rows) {
  if (setjmp(png_jmpbuf(Png))) return false;
  png_set_user_limits(Png, 1 << 20, 1 << 20);
  png_read_info(Png, Info);
  png_uint_32 w = png_get_image_width(Png, Info), h = png_get_image_height(Png, Info);
  if (w == 0 || h == 0 || int64_t(w) * h > MaxBitmapPixels) png_error(Png, "dimensions too large");
  png_set_strip_16(Png);
  png_set_palette_to_rgb(Png);
  png_set_expand_gray_1_2_4_to_8(Png);
  png_set_gray_to_rgb(Png);
  png_set_tRNS_to_alpha(Png);
  png_set_strip_alpha(Png);
  png_set_bgr(Png);
  png_set_filler(Png, 0, PNG_FILLER_AFTER);
  png_set_interlace_handling(Png);
  png_read_update_info(Png, Info);
  if (png_get_rowbytes(Png, Info) != size_t(w) * 4) png_error(Png, "unexpected row layout");
  W = int(w);
  H = int(h);
  Out.assign(size_t(w) * h, 0);
  Rows.resize(h);
  for (png_uint_32 y = 0; y < h; ++y) Rows[y] = reinterpret_cast<png_bytep>(Out.data() + size_t(y) * w);
  png_read_image(Png, Rows.data());
  png_read_end(Png, nullptr);
  return true;
}

bool WritePng(png_structp Png, png_infop Info, const TBitmap& B, std::vector<uint8_t>& Row) {
  if (setjmp(png_jmpbuf(Png))) return false;
  const int w = B.GetWidth(), h = B.GetHeight();
  png_set_IHDR(Png, Info, png_uint_32(w), png_uint_32(h), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_pHYs(Png, Info, 3780, 3780, PNG_RESOLUTION_METER);
  png_write_info(Png, Info);
  Row.resize(size_t(w) * 3);
  for (int y = 0; y < h; ++y) {
    const uint32_t* s = B.ScanLine(y);
    for (int x = 0; x < w; ++x) {
      Row[3 * size_t(x)] = uint8_t(s[x] >> 16);
      Row[3 * size_t(x) + 1] = uint8_t(s[x] >> 8);
      Row[3 * size_t(x) + 2] = uint8_t(s[x]);
    }
    png_write_row(Png, Row.data());
  }
  png_write_end(Png, Info);
  return true;
}

}  // namespace

void TBitmap::LoadFromPNGStream(TStream& Stream) {
  IoState io;
  io.Stream = &Stream;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &io, OnError, OnWarning);
  if (png == nullptr) throw EOutOfMemory("PNG reader could not be created");
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    throw EOutOfMemory("PNG reader could not be created");
  }
  png_set_read_fn(png, &io, ReadData);
  int w = 0, h = 0;
  std::vector<uint32_t> px;
  std::vector<png_bytep> rows;
  bool ok = ReadPng(png, info, w, h, px, rows);
  png_destroy_read_struct(&png, &info, nullptr);
  if (!ok) throw EInvalidGraphic("PNG image is not valid: " + io.Error);
  TBitmapAccess::Adopt(*this, w, h, std::move(px), pf24bit);
}

void TBitmap::LoadFromPNGFile(const std::string& FileName) {
  TFileStream S(FileName, fmOpenRead);
  LoadFromPNGStream(S);
}

void TBitmap::SaveToPNGStream(TStream& Stream) const {
  if (GetEmpty()) throw EInvalidGraphic("An empty bitmap cannot be saved as PNG");
  IoState io;
  io.Stream = &Stream;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &io, OnError, OnWarning);
  if (png == nullptr) throw EOutOfMemory("PNG writer could not be created");
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    throw EOutOfMemory("PNG writer could not be created");
  }
  png_set_write_fn(png, &io, WriteData, FlushData);
  std::vector<uint8_t> row;
  bool ok = WritePng(png, info, *this, row);
  png_destroy_write_struct(&png, &info);
  if (!ok) {
    if (io.Failed) throw EWriteError("PNG image could not be written");
    throw EInvalidGraphic("PNG image could not be written: " + io.Error);
  }
}

void TBitmap::SaveToPNGFile(const std::string& FileName) const {
  TMemoryStream M;
  SaveToPNGStream(M);
  M.SaveToFile(FileName);
}

}  // namespace nuv
