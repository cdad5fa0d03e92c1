// The JPEG image through libjpeg(-turbo). libjpeg reports fatal errors through a longjmp:
// the functions that call setjmp hold no objects with destructors (those belong to their
// callers), so the jump skips nothing.
#include "platform/NUV_Jpeg.h"

#include <cstdio>
#include <csetjmp>
#include <cstring>
#include <functional>

#include <jpeglib.h>
#include <jerror.h>

#include "platform/NUV_Graphics_Raster.h"

namespace nuv {

namespace {

struct ErrorMgr {
  jpeg_error_mgr Pub;
  jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
};

[[noreturn]] void ErrorExit(j_common_ptr C) {
  auto* e = reinterpret_cast<ErrorMgr*>(C->err);
  (*C->err->format_message)(C, e->Message);
  longjmp(e->Jump, 1);
}

// Warnings about damaged data (a premature end, bad codes) are errors here; only the
// harmless ones (stray bytes between segments, unknown header versions) pass.
void EmitMessage(j_common_ptr C, int Level) {
  if (Level >= 0) return;
  switch (C->err->msg_code) {
    case JWRN_EXTRANEOUS_DATA:
    case JWRN_JFIF_MAJOR:
    case JWRN_ADOBE_XFORM:
    case JWRN_BOGUS_ICC:
      return;
    default:
      ErrorExit(C);
  }
}

void InitError(ErrorMgr& E, jpeg_error_mgr*& Err) {
  Err = jpeg_std_error(&E.Pub);
  E.Pub.error_exit = ErrorExit;
  E.Pub.emit_message = EmitMessage;
  E.Message[0] = 0;
}

struct DecodeResult {
  int Width = 0, Height = 0;
  bool Gray = false;
};

bool Decode(jpeg_decompress_struct& C, ErrorMgr& E, const uint8_t* Data, size_t Len,
            bool HeaderOnly, DecodeResult& R, std::vector<uint32_t>& Out,
            std::vector<uint8_t>& Row, const std::function<void(int)>& Progress) {
  if (setjmp(E.Jump)) return false;
  jpeg_create_decompress(&C);
  jpeg_mem_src(&C, Data, static_cast<unsigned long>(Len));
  jpeg_read_header(&C, TRUE);
  R.Width = int(C.image_width);
  R.Height = int(C.image_height);
  R.Gray = C.num_components == 1;
  if (C.image_width == 0 || C.image_height == 0 || C.image_width > unsigned(MaxJPEGSide) ||
      C.image_height > unsigned(MaxJPEGSide) ||
      int64_t(C.image_width) * C.image_height > MaxBitmapPixels) {
    std::snprintf(E.Message, sizeof E.Message, "dimensions %u x %u refused", C.image_width,
                  C.image_height);
    return false;
  }
  if (HeaderOnly) return true;
  const bool cmyk = C.jpeg_color_space == JCS_CMYK || C.jpeg_color_space == JCS_YCCK;
  C.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
  jpeg_start_decompress(&C);
  const size_t w = C.output_width;
  Out.assign(w * C.output_height, 0);
  if (cmyk) Row.resize(w * 4);
  int lastPercent = 0;
  while (C.output_scanline < C.output_height) {
    const size_t y = C.output_scanline;
    JSAMPROW p = cmyk ? Row.data() : reinterpret_cast<JSAMPROW>(Out.data() + y * w);
    if (jpeg_read_scanlines(&C, &p, 1) != 1) ERREXIT(&C, JERR_INPUT_EOF);
    uint32_t* o = Out.data() + y * w;
    if (cmyk) {
      // Adobe writes the inks inverted.
      const bool inv = C.saw_Adobe_marker;
      for (size_t x = 0; x < w; ++x) {
        uint32_t c = Row[4 * x], m = Row[4 * x + 1], ye = Row[4 * x + 2], k = Row[4 * x + 3];
        if (!inv) { c = 255 - c; m = 255 - m; ye = 255 - ye; k = 255 - k; }
        o[x] = (ye * k / 255) | (m * k / 255) << 8 | (c * k / 255) << 16;
      }
    } else {
      for (size_t x = 0; x < w; ++x) o[x] &= 0xFFFFFF;
    }
    int percent = int(uint64_t(y + 1) * 100 / C.output_height);
    if (Progress && percent >= lastPercent + 5) {
      lastPercent = percent;
      Progress(percent);
    }
  }
  jpeg_finish_decompress(&C);
  return true;
}

bool Encode(jpeg_compress_struct& C, ErrorMgr& E, const uint32_t* Pixels, int W, int H,
            int Quality, unsigned char** Buf, unsigned long* Size) {
  if (setjmp(E.Jump)) return false;
  jpeg_create_compress(&C);
  jpeg_mem_dest(&C, Buf, Size);
  C.image_width = JDIMENSION(W);
  C.image_height = JDIMENSION(H);
  C.input_components = 4;
  C.in_color_space = JCS_EXT_BGRX;
  jpeg_set_defaults(&C);
  jpeg_set_quality(&C, Quality, TRUE);
  if (Quality >= 90) {
    // No chroma subsampling at high quality: colour edges stay sharp.
    for (int i = 0; i < C.num_components; ++i)
      C.comp_info[i].h_samp_factor = C.comp_info[i].v_samp_factor = 1;
  }
  jpeg_start_compress(&C, TRUE);
  while (C.next_scanline < C.image_height) {
    JSAMPROW p = reinterpret_cast<JSAMPROW>(const_cast<uint32_t*>(Pixels + size_t(C.next_scanline) * W));
    jpeg_write_scanlines(&C, &p, 1);
  }
  jpeg_finish_compress(&C);
  return true;
}

std::vector<uint8_t> ReadRest(TStream& Stream) {
  int64_t rest = std::max<int64_t>(Stream.GetSize() - Stream.GetPosition(), 0);
  if (rest > int64_t(1) << 32) throw EInvalidGraphic("JPEG image is not valid: the file is too large");
  std::vector<uint8_t> buf(static_cast<size_t>(rest));
  if (rest > 0 && Stream.Read(buf.data(), rest) != rest)
    throw EInvalidGraphic("JPEG image is not valid: the file could not be read");
  return buf;
}

// Decodes Data (header only when asked); raises EInvalidGraphic on failure.
DecodeResult Run(const std::vector<uint8_t>& Data, bool HeaderOnly, std::vector<uint32_t>& Out,
                 const std::function<void(int)>& Progress) {
  if (Data.size() < 4 || Data[0] != 0xFF || Data[1] != 0xD8)
    throw EInvalidGraphic("JPEG image is not valid: no JPEG signature");
  jpeg_decompress_struct C;
  std::memset(&C, 0, sizeof C);
  ErrorMgr E;
  InitError(E, C.err);
  DecodeResult R;
  std::vector<uint8_t> row;
  bool ok;
  try {
    ok = Decode(C, E, Data.data(), Data.size(), HeaderOnly, R, Out, row, Progress);
  } catch (...) {
    jpeg_destroy_decompress(&C);
    throw;
  }
  jpeg_destroy_decompress(&C);
  if (!ok) throw EInvalidGraphic(std::string("JPEG image is not valid: ") + E.Message);
  return R;
}

}  // namespace

void TJPEGImage::Assign(TPersistent* Source) {
  if (Source == nullptr) {
    FWidth = FHeight = 0;
    FPixels.clear();
    Changed();
    return;
  }
  if (auto* J = dynamic_cast<TJPEGImage*>(Source)) {
    if (J == this) return;
    FWidth = J->FWidth;
    FHeight = J->FHeight;
    FGrayscale = J->FGrayscale;
    FQuality = J->FQuality;
    FPixels = J->FPixels;
    Changed();
    return;
  }
  if (auto* B = dynamic_cast<TBitmap*>(Source)) {
    FWidth = B->GetWidth();
    FHeight = B->GetHeight();
    FGrayscale = false;
    FPixels = TBitmapAccess::Pixels(*B);
    Changed();
    return;
  }
  TGraphic::Assign(Source);
}

void TJPEGImage::AssignTo(TPersistent* Dest) {
  if (auto* B = dynamic_cast<TBitmap*>(Dest)) {
    std::vector<uint32_t> px = FPixels;
    TBitmapAccess::Adopt(*B, FWidth, FHeight, std::move(px), pf24bit);
    return;
  }
  TGraphic::AssignTo(Dest);
}

void TJPEGImage::SetCompressionQuality(int Value) { FQuality = std::clamp(Value, 1, 100); }

void TJPEGImage::LoadFromStream(TStream& Stream) {
  std::vector<uint8_t> data = ReadRest(Stream);
  std::vector<uint32_t> px;
  Progress(psStarting, 0, "");
  DecodeResult R = Run(data, false, px, [this](int Percent) {
    Progress(psRunning, uint8_t(Percent), "");
  });
  FWidth = R.Width;
  FHeight = R.Height;
  FGrayscale = R.Gray;
  FPixels = std::move(px);
  Progress(psEnding, 100, "");
  Changed();
}

void TJPEGImage::SaveToStream(TStream& Stream) const {
  if (GetEmpty()) throw EInvalidGraphic("An empty JPEG image cannot be saved");
  jpeg_compress_struct C;
  std::memset(&C, 0, sizeof C);
  ErrorMgr E;
  InitError(E, C.err);
  unsigned char* buf = nullptr;
  unsigned long size = 0;
  bool ok = Encode(C, E, FPixels.data(), FWidth, FHeight, FQuality, &buf, &size);
  jpeg_destroy_compress(&C);
  struct Free {
    unsigned char* P;
    ~Free() { std::free(P); }
  } release{buf};
  if (!ok) throw EInvalidGraphic(std::string("JPEG image could not be written: ") + E.Message);
  Stream.WriteBuffer(buf, int64_t(size));
}

void TJPEGImage::Draw(TCanvas& ACanvas, const TRect& Rect) {
  if (FPixels.empty()) return;
  TImagePixels Src{FPixels.data(), FWidth, FHeight, false, 0};
  StretchPixels(ACanvas, Rect.Left, Rect.Top, int64_t(Rect.Right) - Rect.Left,
                int64_t(Rect.Bottom) - Rect.Top, Src, 0, 0, FWidth, FHeight,
                ACanvas.GetCopyMode());
}

bool ReadJPEGStreamSize(TStream& Stream, int& Width, int& Height) {
  const int64_t start = Stream.GetPosition();
  try {
    std::vector<uint8_t> data = ReadRest(Stream);
    Stream.SetPosition(start);
    std::vector<uint32_t> none;
    DecodeResult R = Run(data, true, none, {});
    Width = R.Width;
    Height = R.Height;
    return true;
  } catch (const EInvalidGraphic&) {
    Stream.SetPosition(start);
    return false;
  }
}

}  // namespace nuv
