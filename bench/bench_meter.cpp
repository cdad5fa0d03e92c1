// Full repaints of the meter: a plain 300 x 200 meter and a 1000 x 700 one with every
// feature on (bands, both needles with shadows, caption, tiled background, anchor cover,
// 21 divisions with minor ticks).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "gui/NUV_Meter.h"

namespace {

using namespace nuv;

std::string MakeBmp(const std::string& Name, int W, int H, TColor A, TColor B) {
  TBitmap Bmp;
  Bmp.SetSize(W, H);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) Bmp.GetCanvas()->SetPixel(x, y, ((x / 8 + y / 8) % 2) ? A : B);
  std::string File = (std::filesystem::temp_directory_path() / Name).string();
  Bmp.SaveToFile(File);
  return File;
}

void BM_MeterPlain(benchmark::State& State) {
  TCustomControl Host(nullptr);
  Host.SetBounds(0, 0, 300, 200);
  auto* M = new TMeter(nullptr);
  M->SetParent(&Host);
  M->SetBounds(0, 0, 300, 200);
  M->SetValue(0.4);
  for (auto _ : State) M->Paint();
  State.counters["paints/s"] = benchmark::Counter(double(State.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MeterPlain)->Unit(benchmark::kMicrosecond);

void BM_MeterEveryFeature(benchmark::State& State) {
  std::string Tile = MakeBmp("nuv_bench_meter_tile.bmp", 64, 64, 0xF0F0F0, 0xE0E8F0);
  std::string Cover = MakeBmp("nuv_bench_meter_cover.bmp", 40, 40, 0x000000, 0x406080);
  TCustomControl Host(nullptr);
  Host.SetBounds(0, 0, 1000, 700);
  auto* M = new TMeter(nullptr);
  M->SetParent(&Host);
  M->SetBounds(0, 0, 1000, 700);
  M->SetMeterLayout(mlCirc270);
  M->SetMeterMinValue(-50);
  M->SetMeterMaxValue(150);
  M->SetMeterNrTicks(21);
  M->SetThresholdLow(0);
  M->SetThresholdHigh(100);
  M->SetScaleBkVisible(true);
  M->SetScaleBkWidth(8);
  M->SetValue(120);
  M->GetNeedleLayout()->SetThickness(6);
  M->GetNeedleLayout()->SetShadowDx(4);
  M->GetNeedleLayout()->SetShadowDy(-4);
  M->GetNeedleLayoutSec()->SetVisible(true);
  M->GetNeedleLayoutSec()->SetShadowDx(3);
  M->SetValueSec(40);
  M->SetCaption("Temperature");
  M->SetBkgndFillMode(bkfTile);
  M->SetBackGroundImg(Tile);
  M->SetAnchorImage(Cover);
  for (auto _ : State) M->Paint();
  State.counters["paints/s"] = benchmark::Counter(double(State.iterations()), benchmark::Counter::kIsRate);
  std::remove(Tile.c_str());
  std::remove(Cover.c_str());
}
BENCHMARK(BM_MeterEveryFeature)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
