// Text: fonts found through fontconfig, glyphs rendered by FreeType as one-bit bitmaps.
//
// Faces (one per font file), font instances (face, style, pixel height, orientation) and
// the glyphs of each instance are cached for the life of the process: a repaint only looks
// up cached bitmaps. The platform runs on one user-interface thread, so the caches take no
// locks.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H
#include <fontconfig/fontconfig.h>

#include <array>
#include <cmath>
#include <map>

#include "platform/NUV_Graphics.h"
#include "platform/NUV_Graphics_Raster.h"

namespace nuv {

namespace {

struct Glyph {
  bool Loaded = false;
  int Width = 0, Rows = 0, Left = 0, Top = 0;
  int Advance = 0;             // unrotated advance in whole pixels
  std::vector<uint8_t> Bits;   // Rows x Width, 0 or 1
};

struct FontInstance {
  FT_Face Face = nullptr;
  FT_Size Size = nullptr;
  bool SynthBold = false, SynthItalic = false;
  int Orientation = 0;  // tenths of a degree
  double Cos = 1, Sin = 0;
  int Ascent = 0, Descent = 0;
  int UnderlinePos = 0, UnderlineThick = 1;  // below the baseline
  int StrikePos = 0;                          // above the baseline
  std::array<Glyph, 256> Glyphs;
};

class FontEngine {
 public:
  static FontEngine& Get() {
    static FontEngine E;
    return E;
  }

  FontInstance* Instance(const TFont& F) {
    const bool bold = F.GetStyle().contains(fsBold), italic = F.GetStyle().contains(fsItalic);
    std::string key = LowerCase(F.GetName()) + '|' + char('0' + bold) + char('0' + italic) +
                      char('0' + F.GetPitch()) + '|' + IntToStr(F.GetHeight()) + '|' +
                      IntToStr(F.GetOrientation());
    auto it = FInstances.find(key);
    if (it != FInstances.end()) return it->second.get();
    auto inst = Create(F, bold, italic);
    FontInstance* p = inst.get();
    FInstances.emplace(key, std::move(inst));
    return p;
  }

  const Glyph& GlyphOf(FontInstance& I, unsigned char C) {
    Glyph& G = I.Glyphs[C];
    if (!G.Loaded) Load(I, C, G);
    return G;
  }

 private:
  FontEngine() {
    if (FT_Init_FreeType(&FLib) != 0) FLib = nullptr;
    FcInit();
  }
  ~FontEngine() = default;  // faces live until the process ends

  FT_Face Face(const std::string& File, int Index) {
    std::string key = File + '#' + IntToStr(Index);
    auto it = FFaces.find(key);
    if (it != FFaces.end()) return it->second;
    FT_Face f = nullptr;
    if (FLib == nullptr || FT_New_Face(FLib, File.c_str(), Index, &f) != 0) f = nullptr;
    FFaces.emplace(key, f);
    return f;
  }

  // The face fontconfig picks for the family and style; whether it is really bold and
  // italic is reported so that the renderer can make up for what is missing.
  FT_Face Match(const std::string& Family, bool Bold, bool Italic, bool Fixed,
                bool& IsBold, bool& IsItalic) {
    FcPattern* pat = FcPatternCreate();
    FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(Family.c_str()));
    FcPatternAddInteger(pat, FC_WEIGHT, Bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pat, FC_SLANT, Italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    if (Fixed) FcPatternAddInteger(pat, FC_SPACING, FC_MONO);
    FcPatternAddBool(pat, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    FcResult res;
    FcPattern* m = FcFontMatch(nullptr, pat, &res);
    FT_Face face = nullptr;
    if (m != nullptr) {
      FcChar8* file = nullptr;
      int index = 0, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
      if (FcPatternGetString(m, FC_FILE, 0, &file) == FcResultMatch) {
        FcPatternGetInteger(m, FC_INDEX, 0, &index);
        FcPatternGetInteger(m, FC_WEIGHT, 0, &weight);
        FcPatternGetInteger(m, FC_SLANT, 0, &slant);
        face = Face(reinterpret_cast<const char*>(file), index);
        IsBold = weight >= FC_WEIGHT_DEMIBOLD;
        IsItalic = slant != FC_SLANT_ROMAN;
      }
      FcPatternDestroy(m);
    }
    FcPatternDestroy(pat);
    return face;
  }

  std::unique_ptr<FontInstance> Create(const TFont& F, bool Bold, bool Italic) {
    auto I = std::make_unique<FontInstance>();
    bool isBold = false, isItalic = false;
    I->Face = Match(F.GetName(), Bold, Italic, F.GetPitch() == fpFixed, isBold, isItalic);
    if (I->Face == nullptr && F.GetName() != "DejaVu Sans")
      I->Face = Match("DejaVu Sans", Bold, Italic, false, isBold, isItalic);
    I->SynthBold = Bold && !isBold;
    I->SynthItalic = Italic && !isItalic;
    I->Orientation = F.GetOrientation();
    double a = I->Orientation * M_PI / 1800.0;
    I->Cos = std::cos(a);
    I->Sin = std::sin(a);
    if (I->Face == nullptr || FT_New_Size(I->Face, &I->Size) != 0) {
      I->Face = nullptr;
      return I;
    }
    FT_Activate_Size(I->Size);
    int h = F.GetHeight();
    FT_Size_RequestRec req{};
    req.type = h > 0 ? FT_SIZE_REQUEST_TYPE_REAL_DIM : FT_SIZE_REQUEST_TYPE_NOMINAL;
    req.height = FT_Long(h == 0 ? 11 : std::abs(h)) * 64;
    if (FT_Request_Size(I->Face, &req) != 0) {
      I->Face = nullptr;
      return I;
    }
    const FT_Size_Metrics& m = I->Size->metrics;
    I->Ascent = int((m.ascender + 63) >> 6);
    I->Descent = int((-m.descender + 63) >> 6);
    if (h > 0) I->Descent = std::max(0, h - I->Ascent);  // a cell height was asked for
    FT_Fixed ys = m.y_scale;
    long upos = FT_MulFix(I->Face->underline_position, ys);
    long uthk = FT_MulFix(I->Face->underline_thickness, ys);
    I->UnderlineThick = std::max(1, int((uthk + 32) >> 6));
    I->UnderlinePos = std::max(1, int((-upos + 32) >> 6));
    I->UnderlinePos = std::min(I->UnderlinePos, std::max(0, I->Descent - I->UnderlineThick));
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(I->Face, FT_SFNT_OS2));
    long spos = os2 != nullptr && os2->version != 0xFFFF
                    ? FT_MulFix(os2->yStrikeoutPosition, ys)
                    : long(m.ascender) * 3 / 10;
    I->StrikePos = int((spos + 32) >> 6);
    return I;
  }

  void Load(FontInstance& I, unsigned char C, Glyph& G) {
    G.Loaded = true;
    if (I.Face == nullptr) return;
    FT_Activate_Size(I.Size);
    // Rotation, after a slant when the italic face is missing.
    double sh = I.SynthItalic ? 0.2 : 0.0;
    FT_Matrix mat;
    mat.xx = FT_Fixed(I.Cos * 65536);
    mat.xy = FT_Fixed((I.Cos * sh - I.Sin) * 65536);
    mat.yx = FT_Fixed(I.Sin * 65536);
    mat.yy = FT_Fixed((I.Sin * sh + I.Cos) * 65536);
    FT_Set_Transform(I.Face, &mat, nullptr);
    FT_UInt idx = FT_Get_Char_Index(I.Face, AnsiCharToUnicode(C));
    if (FT_Load_Glyph(I.Face, idx, FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO) != 0) return;
    FT_GlyphSlot slot = I.Face->glyph;
    if (I.SynthBold) FT_GlyphSlot_Embolden(slot);
    // The advance along the baseline, whole pixels, independent of the rotation.
    FT_Pos adv = slot->metrics.horiAdvance;
    if (I.SynthBold) adv += I.Size->metrics.y_ppem / 24 * 64 + 64;
    G.Advance = int((adv + 32) >> 6);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0) return;
    const FT_Bitmap& bm = slot->bitmap;
    G.Width = int(bm.width);
    G.Rows = int(bm.rows);
    G.Left = slot->bitmap_left;
    G.Top = slot->bitmap_top;
    G.Bits.assign(size_t(G.Width) * G.Rows, 0);
    for (int y = 0; y < G.Rows; ++y) {
      const unsigned char* row = bm.buffer + y * bm.pitch;
      for (int x = 0; x < G.Width; ++x) {
        bool on = bm.pixel_mode == FT_PIXEL_MODE_MONO ? (row[x >> 3] >> (7 - (x & 7))) & 1
                                                       : row[x] >= 128;
        G.Bits[size_t(y) * G.Width + x] = on;
      }
    }
  }

  FT_Library FLib = nullptr;
  std::map<std::string, FT_Face> FFaces;
  std::map<std::string, std::unique_ptr<FontInstance>> FInstances;
};

FontInstance& InstanceOf(TCanvas& C) {
  const void*& inst = TCanvasAccess::FontInstance(C);
  uint64_t& rev = TCanvasAccess::FontRevision(C);
  if (inst == nullptr || rev != C.GetFont()->GetRevision()) {
    inst = FontEngine::Get().Instance(*C.GetFont());
    rev = C.GetFont()->GetRevision();
  }
  return *static_cast<FontInstance*>(const_cast<void*>(inst));
}

int Width(FontInstance& I, const std::string& Text) {
  int w = 0;
  for (unsigned char c : Text) w += FontEngine::Get().GlyphOf(I, c).Advance;
  return w;
}

void Blit(const raster::Target& T, const Glyph& G, int64_t OX, int64_t OY, uint32_t Color) {
  int64_t gx = OX + G.Left, gy = OY - G.Top;
  if (gx >= T.CR || gy >= T.CB || gx + G.Width <= T.CL || gy + G.Rows <= T.CT) return;
  int y0 = int(std::max<int64_t>(0, T.CT - gy)), y1 = int(std::min<int64_t>(G.Rows, T.CB - gy));
  int x0 = int(std::max<int64_t>(0, T.CL - gx)), x1 = int(std::min<int64_t>(G.Width, T.CR - gx));
  for (int y = y0; y < y1; ++y) {
    const uint8_t* bits = G.Bits.data() + size_t(y) * G.Width;
    uint32_t* row = &T.At(gx, gy + y);
    for (int x = x0; x < x1; ++x)
      if (bits[x]) row[x] = Color;
  }
}

}  // namespace

TSize TCanvas::TextExtent(const std::string& Text) {
  FontInstance& I = InstanceOf(*this);
  return TSize{Width(I, Text), I.Ascent + I.Descent};
}

int TCanvas::TextWidth(const std::string& Text) { return TextExtent(Text).cx; }

int TCanvas::TextHeight(const std::string& Text) { return TextExtent(Text).cy; }

void TCanvas::TextOut(int X, int Y, const std::string& Text) {
  FontInstance& I = InstanceOf(*this);
  const int w = Width(I, Text), h = I.Ascent + I.Descent;
  FPenPos = Point(int(std::clamp<int64_t>(int64_t(X) + w, INT32_MIN, INT32_MAX)), Y);
  raster::Target T = TCanvasAccess::Resolve(*this);
  if (T.Empty()) return;
  const uint32_t color = raster::ToPixel(FFont->GetColor());
  const TFontStyles st = FFont->GetStyle();
  const int64_t x = X + T.OX, y = Y + T.OY;
  const bool opaque = FBrush->GetStyle() == bsSolid;
  raster::BrushPaint back = TCanvasAccess::Brush(*this, pmCopy);

  if (I.Orientation == 0) {
    if (opaque)
      for (int64_t r = std::max(y, T.CT); r < std::min(y + h, T.CB); ++r)
        back.Span(T, r, x, x + w - 1);
    const int64_t base = y + I.Ascent;
    int64_t pen = x;
    for (unsigned char c : Text) {
      const Glyph& G = FontEngine::Get().GlyphOf(I, c);
      Blit(T, G, pen, base, color);
      pen += G.Advance;
    }
    auto bar = [&](int64_t top, int thick) {
      for (int64_t r = top; r < top + thick; ++r) T.Span(r, x, x + w - 1, color, pmCopy);
    };
    if (st.contains(fsUnderline)) bar(base + I.UnderlinePos, I.UnderlineThick);
    if (st.contains(fsStrikeOut)) bar(base - I.StrikePos, I.UnderlineThick);
    return;
  }

  // Rotated: the cell turns counter-clockwise about its top-left corner (X, Y). Along the
  // baseline the text advances by (cos, -sin); "down" in the text is (sin, cos).
  const double ux = I.Cos, uy = -I.Sin, vx = I.Sin, vy = I.Cos;
  auto quad = [&](double along0, double along1, double down0, double down1,
                  const raster::BrushPaint& P) {
    raster::PointF q[4] = {
        {x + along0 * ux + down0 * vx, y + along0 * uy + down0 * vy},
        {x + along1 * ux + down0 * vx, y + along1 * uy + down0 * vy},
        {x + along1 * ux + down1 * vx, y + along1 * uy + down1 * vy},
        {x + along0 * ux + down1 * vx, y + along0 * uy + down1 * vy}};
    raster::FillPolygon(T, q, 4, P);
  };
  if (opaque) quad(0, w, 0, h, back);
  int along = 0;
  for (unsigned char c : Text) {
    const Glyph& G = FontEngine::Get().GlyphOf(I, c);
    double ox = x + along * ux + I.Ascent * vx, oy = y + along * uy + I.Ascent * vy;
    Blit(T, G, int64_t(std::lround(ox)), int64_t(std::lround(oy)), color);
    along += G.Advance;
  }
  raster::BrushPaint ink;
  ink.Color = color;
  if (st.contains(fsUnderline)) {
    double d = I.Ascent + I.UnderlinePos;
    quad(0, w, d, d + I.UnderlineThick, ink);
  }
  if (st.contains(fsStrikeOut)) {
    double d = I.Ascent - I.StrikePos;
    quad(0, w, d, d + I.UnderlineThick, ink);
  }
}

void TCanvas::TextRect(const TRect& Rect, int X, int Y, const std::string& Text) {
  const bool hadClip = FHasClip;
  const TRect oldClip = FClip;
  TRect clip;
  if (!IntersectRect(clip, GetClipRect(), Rect)) return;
  if (FBrush->GetStyle() == bsSolid) FillRect(Rect);
  SetClipRect(clip);
  TextOut(X, Y, Text);
  FHasClip = hadClip;
  FClip = oldClip;
}

}  // namespace nuv
