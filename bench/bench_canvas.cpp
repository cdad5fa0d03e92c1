// Canvas speed: full repaints of a 1920 x 1080 bitmap with primitives and text, and
// FillRect against a plain memset of the same pixels.
#include <benchmark/benchmark.h>

#include <cstring>

#include "platform/NUV_Graphics.h"

namespace {

using namespace nuv;

constexpr int W = 1920, H = 1080;

// One repaint: background, a grid of framed cells with text, shapes, lines and a polygon,
// much as a form full of controls draws itself.
void Repaint(TCanvas& C, int Frame) {
  C.GetPen()->SetColor(clBlack);
  C.GetPen()->SetWidth(1);
  C.GetBrush()->SetColor(clBtnFace);
  C.FillRect(Rect(0, 0, W, H));
  for (int row = 0; row < 40; ++row)
    for (int col = 0; col < 12; ++col) {
      const int x = col * 160, y = row * 27;
      C.GetBrush()->SetColor((row + col) & 1 ? clWhite : clCream);
      C.Rectangle(x + 2, y + 2, x + 158, y + 25);
      C.GetBrush()->SetStyle(bsClear);
      C.TextOut(x + 6, y + 6, "Value " + IntToStr(row * 12 + col + Frame));
      C.GetBrush()->SetStyle(bsSolid);
    }
  C.GetBrush()->SetColor(clAqua);
  for (int i = 0; i < 20; ++i) {
    C.Ellipse(100 + i * 80, 300, 170 + i * 80, 370);
    C.Pie(100 + i * 80, 500, 170 + i * 80, 570, 170 + i * 80, 535, 135 + i * 80, 500);
    C.RoundRect(100 + i * 80, 700, 170 + i * 80, 760, 12, 12);
  }
  for (int i = 0; i < 200; ++i) {
    C.MoveTo(i * 9, 0);
    C.LineTo(W - i * 9, H - 1);
  }
  C.GetPen()->SetWidth(3);
  C.Polygon({{100, 900}, {600, 820}, {900, 1050}, {300, 1000}});
  C.GetFont()->SetOrientation(900);
  C.GetBrush()->SetStyle(bsClear);
  C.TextOut(1880, 1000, "Rotated axis label");
  C.GetFont()->SetOrientation(0);
}

void BM_FullRepaint(benchmark::State& State) {
  TBitmap B;
  B.SetSize(W, H);
  int frame = 0;
  for (auto _ : State) {
    Repaint(*B.GetCanvas(), frame++);
    benchmark::DoNotOptimize(B.ScanLine(0));
  }
  State.counters["repaints/s"] = benchmark::Counter(double(State.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMillisecond);

void BM_TextOut(benchmark::State& State) {
  TBitmap B;
  B.SetSize(W, H);
  TCanvas& C = *B.GetCanvas();
  for (auto _ : State) {
    for (int i = 0; i < 100; ++i) C.TextOut(10, i * 10, "The quick brown fox 0123456789");
    benchmark::DoNotOptimize(B.ScanLine(0));
  }
  State.SetItemsProcessed(State.iterations() * 100);
}
BENCHMARK(BM_TextOut);

void BM_FillRect(benchmark::State& State) {
  TBitmap B;
  B.SetSize(W, H);
  TCanvas& C = *B.GetCanvas();
  TColor colors[2] = {clRed, clBlue};
  int i = 0;
  for (auto _ : State) {
    C.GetBrush()->SetColor(colors[i++ & 1]);
    C.FillRect(Rect(0, 0, W, H));
    benchmark::DoNotOptimize(B.ScanLine(0));
  }
  State.SetBytesProcessed(State.iterations() * int64_t(W) * H * 4);
}
BENCHMARK(BM_FillRect);

void BM_Memset(benchmark::State& State) {
  TBitmap B;
  B.SetSize(W, H);
  int i = 0;
  for (auto _ : State) {
    std::memset(B.ScanLine(0), (i++ & 1) ? 0x00 : 0xFF, size_t(W) * H * 4);
    benchmark::DoNotOptimize(B.ScanLine(0));
  }
  State.SetBytesProcessed(State.iterations() * int64_t(W) * H * 4);
}
BENCHMARK(BM_Memset);

void BM_DrawBitmap(benchmark::State& State) {
  TBitmap Src, B;
  Src.SetSize(W, H);
  B.SetSize(W, H);
  for (auto _ : State) {
    B.GetCanvas()->Draw(0, 0, &Src);
    benchmark::DoNotOptimize(B.ScanLine(0));
  }
  State.SetBytesProcessed(State.iterations() * int64_t(W) * H * 4);
}
BENCHMARK(BM_DrawBitmap);

}  // namespace

BENCHMARK_MAIN();
