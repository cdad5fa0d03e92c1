// Pens, brushes, fonts, the canvas and the bitmap of the platform layer.
//
// The canvas draws with the classic integer rules:
// - MoveTo/LineTo draw from the pen position up to but not including the end pixel;
//   Polyline is a chain of LineTo.
// - Rectangle, FillRect, Ellipse and RoundRect (x1, y1, x2, y2) cover x1..x2-1 x y1..y2-1,
//   corners normalised. The pen outline lies inside that box (a pen of width w takes the
//   outer w pixels); the brush fills what is inside the outline unless it is clear.
//   With a clear pen the brush fills the whole box. An ellipse holds the pixels whose
//   centres lie inside the ellipse inscribed in the box; its width-1 outline is the part
//   of those pixels that touches the outside.
// - Arc, Pie and Chord run counter-clockwise from the ray through the start point to the
//   ray through the end point (rays from the centre of the box); equal rays give the full
//   ellipse.
// - Polygon fills even-odd with the brush (the pixels whose centres lie inside the polygon
//   through the vertex pixels) and outlines with the pen.
// - Pen widths above 1 are centred on the path with round ends; dash styles apply to
//   width-1 pens on lines, polylines, polygons and rectangles (wider pens and curves draw
//   solid). Pen.Mode (the sixteen mix modes) applies to lines,
//   outlines and the brush interiors of shapes; FillRect, FrameRect and text copy.
// - A solid brush is also the background: dash gaps and the text cell are filled with it.
//   A hatched or clear brush leaves the background as it is.
// - Coordinates may lie anywhere in the int range: clipping is computed in 64 bits.
//
// A canvas draws on a TBitmap (its surface), optionally at an origin offset and clipped to a
// rectangle: canvas point (x, y) lands on surface pixel (x + Origin.X, y + Origin.Y). A
// control without a surface of its own draws into its parent's bitmap this way. A canvas
// without a surface measures text but draws nothing.
//
// Text: TextOut(x, y, s) puts the top-left corner of the text cell at (x, y). Strings are
// Windows-1252. Glyphs come from FreeType (family chosen through fontconfig), one bit per
// pixel; faces and rendered glyphs are cached process-wide.
//
// Bitmaps hold 32-bit pixels (bytes B, G, R, 0 in memory, rows top-down) whatever
// PixelFormat says; PixelFormat is kept and decides the depth written by SaveToFile.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/NUV_Classes.h"
#include "platform/NUV_Streams.h"
#include "platform/NUV_Types.h"

namespace nuv {

class TCanvas;
class TBitmap;

constexpr int ScreenPixelsPerInch = 96;

struct TSize {
  int cx = 0, cy = 0;
  constexpr bool operator==(const TSize&) const = default;
};

// ---------------------------------------------------------------- graphics objects

// A pen, brush or font: its setters fire OnChange when a value changes.
class TGraphicsObject : public TPersistent {
 public:
  TNotifyEvent OnChange;
  // Counts the changes; a canvas compares it to know when to resolve a font again.
  uint64_t GetRevision() const { return FRevision; }

 protected:
  void Changed();

 private:
  uint64_t FRevision = 0;
};

enum TPenStyle : uint8_t {
  psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame
};

// The sixteen mix modes: how the pen colour P combines with the pixel D.
enum TPenMode : uint8_t {
  pmBlack,        // 0
  pmWhite,        // 1
  pmNop,          // D
  pmNot,          // not D
  pmCopy,         // P
  pmNotCopy,      // not P
  pmMergePenNot,  // P or not D
  pmMaskPenNot,   // P and not D
  pmMergeNotPen,  // not P or D
  pmMaskNotPen,   // not P and D
  pmMerge,        // P or D
  pmNotMerge,     // not (P or D)
  pmMask,         // P and D
  pmNotMask,      // not (P and D)
  pmXor,          // P xor D
  pmNotXor        // not (P xor D)
};

class TPen : public TGraphicsObject {
 public:
  void Assign(TPersistent* Source) override;
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  int GetWidth() const { return FWidth; }
  void SetWidth(int Value);  // values below 1 become 1
  TPenStyle GetStyle() const { return FStyle; }
  void SetStyle(TPenStyle Value);
  TPenMode GetMode() const { return FMode; }
  void SetMode(TPenMode Value);

 private:
  TColor FColor = clBlack;
  int FWidth = 1;
  TPenStyle FStyle = psSolid;
  TPenMode FMode = pmCopy;
};

enum TBrushStyle : uint8_t {
  bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross
};

class TBrush : public TGraphicsObject {
 public:
  void Assign(TPersistent* Source) override;
  TColor GetColor() const { return FColor; }
  // Setting a colour while the style is clear makes the brush solid.
  void SetColor(TColor Value);
  TBrushStyle GetStyle() const { return FStyle; }
  void SetStyle(TBrushStyle Value);

 private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
};

enum TFontStyle : uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum TFontPitch : uint8_t { fpDefault, fpVariable, fpFixed };
using TFontCharset = uint8_t;
constexpr TFontCharset ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, SYMBOL_CHARSET = 2;

// Heights (and sizes) beyond this many pixels are cut to it.
constexpr int MaxFontHeight = 2048;

// Size is in points at 96 pixels per inch; Height is in pixels: negative for the character
// height (the em size, as Size gives it), positive for the cell height. Setting one sets the
// other. Orientation turns the text counter-clockwise in tenths of a degree. Pitch and
// Charset are kept; a fixed pitch asks fontconfig for a monospaced face when the family is
// not found.
class TFont : public TGraphicsObject {
 public:
  void Assign(TPersistent* Source) override;
  const std::string& GetName() const { return FName; }
  void SetName(const std::string& Value);
  int GetSize() const;
  void SetSize(int Value);
  int GetHeight() const { return FHeight; }
  void SetHeight(int Value);
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  TFontStyles GetStyle() const { return FStyle; }
  void SetStyle(TFontStyles Value);
  int GetOrientation() const { return FOrientation; }
  void SetOrientation(int Value);  // reduced to -3599..3599
  TFontPitch GetPitch() const { return FPitch; }
  void SetPitch(TFontPitch Value);
  TFontCharset GetCharset() const { return FCharset; }
  void SetCharset(TFontCharset Value);

 private:
  std::string FName = "DejaVu Sans";
  int FHeight = -11;  // 8 points
  TColor FColor = clWindowText;
  TFontStyles FStyle;
  int FOrientation = 0;
  TFontPitch FPitch = fpDefault;
  TFontCharset FCharset = DEFAULT_CHARSET;
};

// ---------------------------------------------------------------- graphics (images)

enum TProgressStage : uint8_t { psStarting, psRunning, psEnding };
using TProgressEvent =
    std::function<void(TObject* Sender, TProgressStage Stage, uint8_t PercentDone,
                       bool RedrawNow, const TRect& R, const std::string& Msg)>;

// An image that a canvas can draw (Draw, StretchDraw): the bitmap and the JPEG image.
class TGraphic : public TPersistent {
 public:
  virtual int GetWidth() const = 0;
  virtual int GetHeight() const = 0;
  bool GetEmpty() const { return GetWidth() == 0 || GetHeight() == 0; }
  // File errors raise EFOpenError; malformed data raises EInvalidGraphic.
  void LoadFromFile(const std::string& FileName);
  virtual void LoadFromStream(TStream& Stream) = 0;
  // Written to a temporary file first, so a failure keeps the old file.
  void SaveToFile(const std::string& FileName) const;
  virtual void SaveToStream(TStream& Stream) const = 0;
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool Value);

  TNotifyEvent OnChange;
  TProgressEvent OnProgress;

 protected:
  friend class TCanvas;
  // Draws the image stretched onto Rect of the canvas (with the canvas's copy mode and
  // stretch mode; transparent pixels left out when Transparent).
  virtual void Draw(TCanvas& ACanvas, const TRect& Rect) = 0;
  void Changed();
  void Progress(TProgressStage Stage, uint8_t PercentDone, const std::string& Msg);

 private:
  bool FTransparent = false;
};

// ---------------------------------------------------------------- canvas

// Raster operations of Draw, CopyRect, StretchDraw and StretchBlt (the classic codes).
using TCopyMode = uint32_t;
constexpr TCopyMode cmBlackness = 0x00000042, cmDstInvert = 0x00550009,
                    cmMergeCopy = 0x00C000CA, cmMergePaint = 0x00BB0226,
                    cmNotSrcCopy = 0x00330008, cmNotSrcErase = 0x001100A6,
                    cmPatCopy = 0x00F00021, cmPatInvert = 0x005A0049,
                    cmPatPaint = 0x00FB0A09, cmSrcAnd = 0x008800C6,
                    cmSrcCopy = 0x00CC0020, cmSrcErase = 0x00440328,
                    cmSrcInvert = 0x00660046, cmSrcPaint = 0x00EE0086,
                    cmWhiteness = 0x00FF0062;

// Stretch modes: how StretchDraw and StretchBlt pick the pixels of a shrunk image.
// BLACKONWHITE keeps the darkest (AND) and WHITEONBLACK the lightest (OR) of the source
// pixels that fall on one target pixel; COLORONCOLOR takes the nearest one; HALFTONE
// averages the source area (smooth, for photographs and maps).
constexpr int BLACKONWHITE = 1, WHITEONBLACK = 2, COLORONCOLOR = 3, HALFTONE = 4;

enum TFillStyle : uint8_t { fsSurface, fsBorder };

class TCanvas : public TPersistent {
 public:
  TCanvas();
  explicit TCanvas(TBitmap* Surface);
  ~TCanvas() override;

  // The surface and placement. Clip is in canvas coordinates; drawing is also clipped to
  // the surface. SetTarget(nullptr) detaches the canvas.
  void SetTarget(TBitmap* Surface, TPoint Origin, const TRect& Clip);
  void SetTarget(TBitmap* Surface);  // origin (0, 0), no clip beyond the surface
  TBitmap* GetTarget() const { return FSurface; }
  TPoint GetOrigin() const { return FOrigin; }
  void SetOrigin(TPoint Value) { FOrigin = Value; }
  void SetClipRect(const TRect& Clip);
  void ResetClip();  // clip to the surface only
  // The part of the canvas that can be drawn on, in canvas coordinates.
  TRect GetClipRect() const;

  TPen* GetPen() const { return FPen.get(); }
  void SetPen(TPen* Value) { FPen->Assign(Value); }
  TBrush* GetBrush() const { return FBrush.get(); }
  void SetBrush(TBrush* Value) { FBrush->Assign(Value); }
  TFont* GetFont() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TPoint GetPenPos() const { return FPenPos; }
  void SetPenPos(TPoint Value) { FPenPos = Value; }
  TCopyMode GetCopyMode() const { return FCopyMode; }
  void SetCopyMode(TCopyMode Value) { FCopyMode = Value; }
  int GetStretchBltMode() const { return FStretchMode; }
  // Returns the previous mode; values outside 1..4 are ignored (and 0 returned).
  int SetStretchBltMode(int Mode);

  // Lines
  void MoveTo(int X, int Y);
  void LineTo(int X, int Y);
  void Polyline(const TPoint* Points, int Count);
  void Polyline(const std::vector<TPoint>& Points);

  // Shapes
  void Rectangle(int X1, int Y1, int X2, int Y2);
  void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
  void FillRect(const TRect& R);   // brush only
  void FrameRect(const TRect& R);  // a one-pixel frame in the brush colour
  // X3, Y3: width and height of the ellipse that rounds the corners.
  void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
  void Ellipse(int X1, int Y1, int X2, int Y2);
  void Ellipse(const TRect& R) { Ellipse(R.Left, R.Top, R.Right, R.Bottom); }
  // The ellipse in the box (X1, Y1)-(X2, Y2), counter-clockwise from the ray through
  // (X3, Y3) to the ray through (X4, Y4).
  void Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void Polygon(const TPoint* Points, int Count);
  void Polygon(const std::vector<TPoint>& Points);
  // fsSurface fills the region of pixels of Color around (X, Y); fsBorder fills the region
  // bounded by Color. With the brush; within the clip rectangle.
  void FloodFill(int X, int Y, TColor Color, TFillStyle FillStyle);

  // Pixels: GetPixel returns -1 (as TColor 0xFFFFFFFF) outside the surface or the clip.
  TColor GetPixel(int X, int Y) const;
  void SetPixel(int X, int Y, TColor Color);

  // Images
  void Draw(int X, int Y, TGraphic* Graphic);
  void StretchDraw(const TRect& Rect, TGraphic* Graphic);
  // Copies Source of Canvas onto Dest of this canvas with the copy mode, stretching with
  // the stretch mode when the sizes differ.
  void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);

  // Text
  void TextOut(int X, int Y, const std::string& Text);
  // Fills Rect with the brush (when solid) and writes Text at (X, Y) clipped to Rect.
  void TextRect(const TRect& Rect, int X, int Y, const std::string& Text);
  // Advance width and cell height of the text in the canvas's font (unrotated).
  TSize TextExtent(const std::string& Text);
  int TextWidth(const std::string& Text);
  int TextHeight(const std::string& Text);  // the font's cell height, whatever the text

 private:
  friend class TCanvasAccess;
  std::unique_ptr<TPen> FPen;
  std::unique_ptr<TBrush> FBrush;
  std::unique_ptr<TFont> FFont;
  TBitmap* FSurface = nullptr;
  TPoint FOrigin;
  bool FHasClip = false;
  TRect FClip;  // canvas coordinates, when FHasClip
  TPoint FPenPos;
  TCopyMode FCopyMode = cmSrcCopy;
  int FStretchMode = COLORONCOLOR;
  // The resolved font, valid while the font's revision is FFontRevision.
  const void* FFontInstance = nullptr;
  uint64_t FFontRevision = ~uint64_t(0);
};

// The operating-system style calls: the stretch mode of a canvas and a stretched copy
// between canvases with a raster operation (cmSrcCopy, ...). Negative widths or heights
// mirror. StretchBlt returns false for a missing canvas or an empty source.
int SetStretchBltMode(TCanvas* Canvas, int Mode);
bool StretchBlt(TCanvas* Dest, int X, int Y, int Width, int Height, TCanvas* Source, int SX,
                int SY, int SWidth, int SHeight, TCopyMode Rop);

// ---------------------------------------------------------------- bitmap

enum TPixelFormat : uint8_t {
  pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom
};

// Bitmaps larger than this many pixels are refused (EOutOfMemory for SetSize,
// EInvalidGraphic for files).
constexpr int64_t MaxBitmapPixels = int64_t(1) << 28;

class TBitmap : public TGraphic {
 public:
  TBitmap();
  ~TBitmap() override;

  // Deep copy from another bitmap; other images hand themselves over (a JPEG image
  // decodes into the bitmap).
  void Assign(TPersistent* Source) override;

  int GetWidth() const override { return FWidth; }
  int GetHeight() const override { return FHeight; }
  void SetWidth(int Value) { SetSize(Value, FHeight); }
  void SetHeight(int Value) { SetSize(FWidth, Value); }
  // Keeps the pixels that stay inside; new pixels are white. Negative sizes count as 0.
  void SetSize(int Width, int Height);
  TCanvas* GetCanvas() const { return FCanvas.get(); }

  // pfDevice and pfCustom save as 24-bit; pf1bit, pf4bit and pf8bit save with a palette
  // (the image's own colours when they fit, else a fixed palette); pf15bit and pf16bit as
  // 5-5-5 and 5-6-5. Pixels in memory stay 32-bit.
  TPixelFormat GetPixelFormat() const { return FPixelFormat; }
  void SetPixelFormat(TPixelFormat Value);

  // Row Row (0 = top) of Width pixels, bytes B, G, R, 0. Raises EInvalidGraphic outside.
  uint32_t* ScanLine(int Row);
  const uint32_t* ScanLine(int Row) const;

  // The colour left out when Transparent is set; clDefault (the default) takes the
  // bottom-left pixel.
  TColor GetTransparentColor() const;
  void SetTransparentColor(TColor Value);

  // BMP files (1, 4, 8, 16, 24 and 32 bits, RLE4 and RLE8, bottom-up and top-down, info
  // headers of 12, 40, 108 and 124 bytes). A malformed file raises EInvalidGraphic and
  // leaves the bitmap as it was.
  void LoadFromStream(TStream& Stream) override;
  void SaveToStream(TStream& Stream) const override;
  // PNG files: 8-bit RGB written; any PNG read (16-bit, palette, grey, alpha are reduced).
  void LoadFromPNGFile(const std::string& FileName);
  void LoadFromPNGStream(TStream& Stream);
  void SaveToPNGFile(const std::string& FileName) const;
  void SaveToPNGStream(TStream& Stream) const;

 protected:
  void Draw(TCanvas& ACanvas, const TRect& Rect) override;

 private:
  friend class TCanvas;
  friend class TCanvasAccess;
  friend class TBitmapAccess;
  int FWidth = 0, FHeight = 0;
  std::vector<uint32_t> FPixels;
  TPixelFormat FPixelFormat = pfDevice;
  TColor FTransparentColor = clDefault;
  std::unique_ptr<TCanvas> FCanvas;
};

// Reads only the header of a BMP file: false when it is not a well-formed BMP header.
bool ReadBitmapFileSize(const std::string& FileName, int& Width, int& Height);
bool ReadBitmapStreamSize(TStream& Stream, int& Width, int& Height);

// The clipboard holds bitmaps as BMP file bytes under CF_BITMAP.
void CopyBitmapToClipboard(const TBitmap& Bitmap);
// False (and the bitmap unchanged) when the clipboard holds no readable bitmap.
bool PasteBitmapFromClipboard(TBitmap& Bitmap);

}  // namespace nuv
