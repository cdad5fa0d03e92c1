// Filling and sorting a report data store of 100 000 rows, by a text column and by a
// numeric column, next to std::stable_sort of the same data.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "gui/NUV_replist.h"

namespace {

constexpr int Rows = 100000;

struct TData {
  std::vector<std::string> Words;    // column 1
  std::vector<std::string> Numbers;  // column 2, texts of numbers
};

const TData& Data() {
  static const TData D = [] {
    TData R;
    nuv::RandSeed = 12345;
    for (int r = 0; r < Rows; ++r) {
      std::string W;
      const int Len = 4 + nuv::Random(12);
      for (int i = 0; i < Len; ++i) {
        const int k = nuv::Random(52);
        W += static_cast<char>(k < 26 ? 'a' + k : 'A' + k - 26);
      }
      R.Words.push_back(W);
      const double V = (nuv::Random() - 0.5) * 2e6;
      R.Numbers.push_back(nuv::FloatToStr(V));
    }
    return R;
  }();
  return D;
}

// The store's order: byte-wise, ignoring the case of 'A'..'Z'.
unsigned char Folded(char Ch) {
  return static_cast<unsigned char>(Ch >= 'A' && Ch <= 'Z' ? Ch + 32 : Ch);
}
bool LessIgnoringCase(const std::string& A, const std::string& B) {
  return std::lexicographical_compare(A.begin(), A.end(), B.begin(), B.end(),
                                      [](char X, char Y) { return Folded(X) < Folded(Y); });
}

// The same rows in a plain vector: both texts, and a key for the numeric sort.
struct TRow {
  std::string Word, Number;
  double Key = 0;
};
std::vector<TRow> FillRows() {
  const TData& S = Data();
  std::vector<TRow> R(Rows);
  for (int r = 0; r < Rows; ++r) R[r] = {S.Words[r], S.Numbers[r], 0};
  return R;
}

// A text key that sorts like the number (values stay well inside +-1e7).
std::string NumberKey(const std::string& Text) {
  char Buf[40];
  std::snprintf(Buf, sizeof Buf, "%020.6f", nuv::StrToFloat(Text) + 1e7);
  return Buf;
}

void FillStore(nuv::TRLData& D) {
  const TData& S = Data();
  D.SetNrCols(2);
  D.SetNrRows(Rows);
  for (int r = 1; r <= Rows; ++r) {
    D.SetElem(1, r, S.Words[r - 1]);
    D.SetElem(2, r, S.Numbers[r - 1]);
  }
}

void BM_StoreFillSortText(benchmark::State& State) {
  Data();
  for (auto _ : State) {
    nuv::TRLData D(nullptr);
    FillStore(D);
    D.Sort(1, true);
    benchmark::DoNotOptimize(D.GetElem(1, 1));
  }
}

void BM_StdStableSortText(benchmark::State& State) {
  Data();
  for (auto _ : State) {
    std::vector<TRow> R = FillRows();
    std::stable_sort(R.begin(), R.end(),
                     [](const TRow& A, const TRow& B) { return LessIgnoringCase(A.Word, B.Word); });
    benchmark::DoNotOptimize(R.front());
  }
}

void BM_StoreFillSortNumber(benchmark::State& State) {
  Data();
  for (auto _ : State) {
    nuv::TRLData D(nullptr);
    FillStore(D);
    D.OnBeforeSortExchange = [](nuv::TObject*, const std::string& Text, std::string& Key) {
      Key = NumberKey(Text);
    };
    D.Sort(2, true);
    benchmark::DoNotOptimize(D.GetElem(2, 1));
  }
}

void BM_StdStableSortNumber(benchmark::State& State) {
  Data();
  for (auto _ : State) {
    std::vector<TRow> R = FillRows();
    for (TRow& Row : R) Row.Key = nuv::StrToFloat(Row.Number);
    std::stable_sort(R.begin(), R.end(), [](const TRow& A, const TRow& B) { return A.Key < B.Key; });
    benchmark::DoNotOptimize(R.front());
  }
}

}  // namespace

BENCHMARK(BM_StoreFillSortText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StdStableSortText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StoreFillSortNumber)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StdStableSortNumber)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
