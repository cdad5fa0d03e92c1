// ScanFloatNum against the standard library's conversions on the same decimal texts.
// Each iteration converts one million texts; compare the times per text.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "common/NUV_NumFormats.h"

namespace {

// One million decimal texts from a fixed seed: a sign now and then, 1 to 7 integer digits,
// mostly with a fraction of 1 to 9 digits, a quarter of them with an exponent.
const std::vector<std::string>& Texts() {
  static const std::vector<std::string> Result = [] {
    std::mt19937 Gen(20261211);
    std::uniform_int_distribution<int> Digit(0, 9), IntDigits(1, 7), FracDigits(0, 9),
        Exponent(-30, 30), Percent(0, 99);
    std::vector<std::string> Out;
    Out.reserve(1000000);
    for (int I = 0; I < 1000000; ++I) {
      std::string S;
      if (Percent(Gen) < 30) S += '-';
      for (int K = IntDigits(Gen); K > 0; --K) S += static_cast<char>('0' + Digit(Gen));
      if (const int F = FracDigits(Gen); F > 0) {
        S += '.';
        for (int K = F; K > 0; --K) S += static_cast<char>('0' + Digit(Gen));
      }
      if (Percent(Gen) < 25) S += "E" + std::to_string(Exponent(Gen));
      Out.push_back(std::move(S));
    }
    return Out;
  }();
  return Result;
}

void BM_ScanFloatNum(benchmark::State& State) {
  const auto& T = Texts();
  for (auto _ : State) {
    double Sum = 0;
    for (const auto& S : T) {
      int Pos = 1;
      Sum += nuv::ScanFloatNum(S, true, 1, Pos);
    }
    benchmark::DoNotOptimize(Sum);
  }
  State.SetItemsProcessed(State.iterations() * static_cast<int64_t>(T.size()));
}

void BM_FromChars(benchmark::State& State) {
  const auto& T = Texts();
  for (auto _ : State) {
    double Sum = 0;
    for (const auto& S : T) {
      double V = 0;
      std::from_chars(S.data(), S.data() + S.size(), V);
      Sum += V;
    }
    benchmark::DoNotOptimize(Sum);
  }
  State.SetItemsProcessed(State.iterations() * static_cast<int64_t>(T.size()));
}

void BM_Strtod(benchmark::State& State) {
  const auto& T = Texts();
  for (auto _ : State) {
    double Sum = 0;
    for (const auto& S : T) Sum += std::strtod(S.c_str(), nullptr);
    benchmark::DoNotOptimize(Sum);
  }
  State.SetItemsProcessed(State.iterations() * static_cast<int64_t>(T.size()));
}

BENCHMARK(BM_ScanFloatNum)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FromChars)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Strtod)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
