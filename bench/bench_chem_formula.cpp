// Formula parsing and weighing throughput, and the search of formulas by mass.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "chem/NUV_cform.h"

namespace {

using nuv::TFormulaRec;
using nuv::TMolForm;

const std::vector<std::string> Texts = {
    "C6 H12 O6",          "Ca(O H)2",       "C2 H5 (O H)",      "13C6 H6",
    "C17 H19 N O3",       "(C H3)3 N",      "C300H602",         "Na,Cl",
    "C8 H10 N4 O2",       "C20 H25 N3 O",   "D2O",              "C H3 C O O H",
};

void BM_ParseFormula(benchmark::State& State) {
  TMolForm F(nullptr);
  size_t I = 0;
  for (auto _ : State) {
    F.ScanMolFormula(Texts[I++ % Texts.size()]);
    benchmark::DoNotOptimize(F.GetNumAtoms());
  }
  State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_ParseFormula);

void BM_WeighFormula(benchmark::State& State) {
  TMolForm F(nullptr);
  F.ScanMolFormula("C17 H19 N O3");
  for (auto _ : State) {
    benchmark::DoNotOptimize(F.ChemMolWgt());
    benchmark::DoNotOptimize(F.ExactMolWgt());
    benchmark::DoNotOptimize(F.NominalMolWgt());
  }
  State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_WeighFormula);

void BM_FormulaText(benchmark::State& State) {
  TMolForm F(nullptr);
  F.ScanMolFormula("C17 H19 N O3");
  for (auto _ : State) benchmark::DoNotOptimize(F.AsString(1));
  State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_FormulaText);

// C0-30 H0-60 N0-5 O0-10 S0-2: 374 373 combinations per full pass.
TFormulaRec Limits(bool Upper) {
  TFormulaRec R;
  const int Elements[] = {6, 1, 7, 8, 16};
  const int Masses[] = {12, 1, 14, 16, 32};
  const int Counts[] = {30, 60, 5, 10, 2};
  R.NEntries = 5;
  for (int I = 0; I < 5; ++I) {
    R.AtNum[I] = static_cast<uint8_t>(Elements[I]);
    R.AtWgt[I] = static_cast<uint16_t>(Masses[I]);
    R.AtCnt[I] = static_cast<uint16_t>(Upper ? Counts[I] : 0);
  }
  return R;
}

// One full pass: every fitting formula, until the search reports the end.
void RunSearch(benchmark::State& State, bool Nominal, double Target, double Tolerance) {
  TMolForm F(nullptr);
  const TFormulaRec Lower = Limits(false), Upper = Limits(true);
  int64_t Found = 0;
  for (auto _ : State) {
    F.InitFindFormula(Target, Tolerance, Lower, Upper);
    while (F.FindFormulaIntern(Nominal, true)) ++Found;
  }
  State.counters["found/pass"] = static_cast<double>(Found) / State.iterations();
  State.SetItemsProcessed(State.iterations() * 31 * 61 * 6 * 11 * 3);
}

void BM_SearchExactMass(benchmark::State& State) { RunSearch(State, false, 180.0634, 0.003); }
BENCHMARK(BM_SearchExactMass)->Unit(benchmark::kMillisecond);

void BM_SearchNominalMass(benchmark::State& State) { RunSearch(State, true, 180, 0); }
BENCHMARK(BM_SearchNominalMass)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
