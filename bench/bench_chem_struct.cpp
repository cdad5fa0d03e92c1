// Connection-table throughput: reading SD files, ring perception with atom attributes,
// and the substructure search with its trace file.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "chem/NUV_CData.h"
#include "chem/NUV_cstruct.h"
#include "contracts/base/NUV_Base.h"

namespace {

using namespace nuv;
using TBonds = std::vector<std::tuple<int, int, int>>;

struct TShape {
  std::vector<int> Elements;
  TBonds Bonds;
};

// Structures of a few kinds: fused and single rings with substituents, chains, a purine.
std::vector<TShape> Shapes() {
  const TBonds Ring6 = {{1, 2, 4}, {2, 3, 4}, {3, 4, 4}, {4, 5, 4}, {5, 6, 4}, {6, 1, 4}};
  std::vector<TShape> S;
  S.push_back({{6, 6, 6, 6, 6, 6, 6, 8, 8}, Ring6});  // benzoic acid
  S.back().Bonds.insert(S.back().Bonds.end(), {{1, 7, 1}, {7, 8, 2}, {7, 9, 1}});
  S.push_back({std::vector<int>(10, 6), Ring6});  // naphthalene
  S.back().Bonds.insert(S.back().Bonds.end(),
                        {{5, 7, 4}, {7, 8, 4}, {8, 9, 4}, {9, 10, 4}, {10, 6, 4}});
  S.push_back({{6, 8, 7, 6, 8, 6, 6, 7, 7, 6, 7, 6, 6, 6},  // caffeine
               {{1, 2, 2}, {1, 3, 1}, {1, 8, 1}, {3, 4, 1}, {4, 5, 2}, {4, 6, 1}, {6, 7, 2},
                {7, 8, 1}, {6, 9, 1}, {9, 10, 1}, {10, 11, 2}, {11, 7, 1}, {3, 12, 1},
                {8, 13, 1}, {9, 14, 1}}});
  TShape Chain{{}, {}};  // 1-octanol
  for (int I = 1; I <= 8; ++I) Chain.Elements.push_back(6);
  Chain.Elements.push_back(8);
  for (int I = 1; I < 9; ++I) Chain.Bonds.emplace_back(I, I + 1, 1);
  S.push_back(Chain);
  // Four fused rings (a steroid skeleton, 17 atoms) with a hydroxy and a keto group.
  TShape Steroid{std::vector<int>(17, 6), {{1, 2, 1}, {2, 3, 1}, {3, 4, 1}, {4, 5, 1},
                                           {5, 10, 1}, {10, 1, 1}, {5, 6, 1}, {6, 7, 1},
                                           {7, 8, 1}, {8, 9, 1}, {9, 10, 1}, {8, 14, 1},
                                           {14, 13, 1}, {13, 12, 1}, {12, 11, 1}, {11, 9, 1},
                                           {14, 15, 1}, {15, 16, 1}, {16, 17, 1}, {17, 13, 1}}};
  Steroid.Elements.insert(Steroid.Elements.end(), {8, 8});
  Steroid.Bonds.insert(Steroid.Bonds.end(), {{3, 18, 1}, {17, 19, 2}});
  S.push_back(Steroid);
  return S;
}

void Build(TCTab& T, const TShape& S, unsigned Seed) {
  T.Clear();
  for (size_t I = 0; I < S.Elements.size(); ++I) {
    CTElem E;
    E.AtNum = static_cast<uint8_t>(S.Elements[I]);
    E.AtWeight = static_cast<uint16_t>(IntAtWeight(E.AtNum));
    E.Coords[0] = static_cast<float>((Seed * 7919u + I * 104729u) % 1000) / 100.0f;
    E.Coords[1] = static_cast<float>((Seed * 104723u + I * 7907u) % 1000) / 100.0f;
    T.AddAtom(E);
  }
  for (auto [I, J, Type] : S.Bonds) T.MakeConnection(I, J, static_cast<uint8_t>(Type));
  T.SetStrucName("structure " + std::to_string(Seed));
}

// A folder of its own for the files of one benchmark, made the current one (the search
// trace goes there).
class TWorkDir {
 public:
  TWorkDir() {
    std::string Pattern = (std::filesystem::temp_directory_path() / "nuvbench-XXXXXX").string();
    if (!mkdtemp(Pattern.data())) std::abort();
    FPath = Pattern;
    FOld = std::filesystem::current_path();
    std::filesystem::current_path(FPath);
  }
  ~TWorkDir() {
    std::filesystem::current_path(FOld);
    std::filesystem::remove_all(FPath);
  }
  std::string File(const std::string& Name) const { return (FPath / Name).string(); }

 private:
  std::filesystem::path FPath, FOld;
};

constexpr int NrRecords = 3000;

void BM_ReadSDFile(benchmark::State& State) {
  TWorkDir Dir;
  const std::vector<TShape> S = Shapes();
  {
    TCTab T(nullptr);
    TStringStream Out;
    for (int R = 0; R < NrRecords; ++R) {
      Build(T, S[R % S.size()], static_cast<unsigned>(R));
      std::string Prog = "bench";
      T.WriteToMDLMolStream(Out, Prog, "", 0, "");
      WriteLnStream(Out, "> <MELTP>");
      WriteLnStream(Out, std::to_string(100 + R % 200) + ".5");
      WriteLnStream(Out, "");
      WriteLnStream(Out, "$$$$");
    }
    TFileStream F(Dir.File("records.sdf"), fmCreate);
    F.WriteBuffer(Out.DataString().data(), static_cast<int64_t>(Out.DataString().size()));
  }
  TCTab T(nullptr);
  for (auto _ : State) {
    TTextFile F(Dir.File("records.sdf"));
    F.Reset();
    int Read = 0;
    TPropRec P;
    while (!F.Eof()) Read += T.ReadFromMDLSDFile(F, &P) ? 1 : 0;
    if (Read != NrRecords) State.SkipWithError("records lost");
  }
  State.SetItemsProcessed(State.iterations() * NrRecords);
}
BENCHMARK(BM_ReadSDFile)->Unit(benchmark::kMillisecond);

void BM_SSSRAndAttributes(benchmark::State& State) {
  const std::vector<TShape> S = Shapes();
  std::vector<std::unique_ptr<TCTab>> Mols;
  for (size_t I = 0; I < S.size(); ++I) {
    Mols.push_back(std::make_unique<TCTab>(nullptr));
    Build(*Mols.back(), S[I], static_cast<unsigned>(I));
  }
  size_t I = 0;
  for (auto _ : State) benchmark::DoNotOptimize(Mols[I++ % Mols.size()]->CalcAttributes());
  State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_SSSRAndAttributes);

void BM_SubstructureSearch(benchmark::State& State) {
  TWorkDir Dir;
  const std::vector<TShape> S = Shapes();
  std::vector<std::unique_ptr<TCTab>> Mols;
  for (size_t I = 0; I < S.size(); ++I) {
    Mols.push_back(std::make_unique<TCTab>(nullptr));
    Build(*Mols.back(), S[I], static_cast<unsigned>(I));
  }
  // Substructures: a benzene ring, a carboxyl group, an imidazole ring, a C-C-O chain.
  std::vector<std::unique_ptr<TCTab>> Subs;
  const std::vector<TShape> SubShapes = {
      {{6, 6, 6, 6, 6, 6}, {{1, 2, 4}, {2, 3, 4}, {3, 4, 4}, {4, 5, 4}, {5, 6, 4}, {6, 1, 4}}},
      {{6, 8, 8}, {{1, 2, 2}, {1, 3, 1}}},
      {{6, 6, 7, 6, 7}, {{1, 2, 2}, {2, 3, 1}, {3, 4, 1}, {4, 5, 2}, {5, 1, 1}}},
      {{6, 6, 8}, {{1, 2, 1}, {2, 3, 1}}}};
  for (const TShape& Sub : SubShapes) {
    Subs.push_back(std::make_unique<TCTab>(nullptr));
    Build(*Subs.back(), Sub, 0);
  }
  uint8_t Map[MaxAtoms];
  size_t I = 0;
  int Found = 0;
  for (auto _ : State) {
    TCTab& T = *Mols[I % Mols.size()];
    const TCTab& Sub = *Subs[(I / Mols.size()) % Subs.size()];
    Found += T.SearchSubStruc(Sub, Map, true) ? 1 : 0;
    if (++I % 4000 == 0) {  // keep the trace file small
      State.PauseTiming();
      std::filesystem::remove(Dir.File(SubStrucTraceFile));
      State.ResumeTiming();
    }
  }
  benchmark::DoNotOptimize(Found);
  State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_SubstructureSearch);

}  // namespace

BENCHMARK_MAIN();
