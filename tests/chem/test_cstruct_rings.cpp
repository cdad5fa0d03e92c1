#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>
#include <vector>

#include "chem/NUV_cstruct.h"
#include "tests/support/TestSupport.h"

namespace nuv {
namespace {

using TBonds = std::vector<std::tuple<int, int, int>>;

// Atoms of the given elements (natural isotopes), then the bonds (i, j, type) at both atoms.
void Build(TCTab& T, const std::vector<int>& Elements, const TBonds& Bonds) {
  T.Clear();
  for (int Z : Elements) {
    CTElem E;
    E.AtNum = static_cast<uint8_t>(Z);
    ASSERT_TRUE(T.AddAtom(E));
  }
  for (auto [I, J, Type] : Bonds) ASSERT_TRUE(T.MakeConnection(I, J, static_cast<uint8_t>(Type)));
}

const TBonds BenzeneBonds = {{1, 2, 4}, {2, 3, 4}, {3, 4, 4}, {4, 5, 4}, {5, 6, 4}, {6, 1, 4}};
const TBonds NaphthaleneBonds = {{1, 2, 4}, {2, 3, 4}, {3, 4, 4}, {4, 5, 4}, {5, 6, 4},
                                 {6, 1, 4}, {5, 7, 4}, {7, 8, 4}, {8, 9, 4}, {9, 10, 4},
                                 {10, 6, 4}};

TEST(CTabRings, BenzeneHasOneSixRingAndFlagsAreCleared) {
  TCTab T(nullptr);
  Build(T, {6, 6, 6, 6, 6, 6}, BenzeneBonds);
  EXPECT_EQ(T.RingsInMolecule(), 1);
  T.SetAtFlag(3, 7);
  RingListType L;
  ASSERT_EQ(T.FindShortestRings(1, L), 1);
  EXPECT_EQ(L.Rings[0].NAtoms, 6);
  EXPECT_EQ(L.Rings[0].Atoms[0], 1);
  for (int I = 1; I <= 6; ++I) EXPECT_EQ(T.GetAtFlag(I), 0);
  EXPECT_EQ(T.FindShortestRings(0, L), 0);
  EXPECT_EQ(T.FindShortestRings(7, L), 0);
  EXPECT_EQ(T.CalcAttributes(), 1);
  for (int I = 1; I <= 6; ++I) EXPECT_EQ(T.GetAttrib(I), 0x28) << I;
}

TEST(CTabRings, NaphthaleneFusionAtoms) {
  TCTab T(nullptr);
  Build(T, std::vector<int>(10, 6), NaphthaleneBonds);
  RingListType L;
  ASSERT_EQ(T.FindSSSR(L), 2);
  EXPECT_EQ(L.Rings[0].NAtoms, 6);
  EXPECT_EQ(L.Rings[1].NAtoms, 6);
  EXPECT_EQ(T.CalcAttributes(), 2);
  for (int I = 1; I <= 10; ++I) EXPECT_EQ(T.GetAttrib(I), I == 5 || I == 6 ? 0xB8 : 0x28) << I;
}

TEST(CTabRings, ChainAndSmallRingAttributes) {
  TCTab T(nullptr);
  Build(T, {6, 6, 8}, {{1, 2, 1}, {2, 3, 1}});
  EXPECT_EQ(T.CalcAttributes(), 0);
  EXPECT_EQ(T.GetAttrib(1), 0x41);
  EXPECT_EQ(T.GetAttrib(2), 0x01);
  EXPECT_EQ(T.GetAttrib(3), 0x41);
  // Methylcyclopropane: the ring atoms 0x22, the branch ring atom with 0x10.
  Build(T, {6, 6, 6, 6}, {{1, 2, 1}, {2, 3, 1}, {3, 1, 1}, {1, 4, 1}});
  EXPECT_EQ(T.CalcAttributes(), 1);
  EXPECT_EQ(T.GetAttrib(1), 0x32);
  EXPECT_EQ(T.GetAttrib(2), 0x22);
  EXPECT_EQ(T.GetAttrib(4), 0x41);
  // Cyclopentane 0x24, cycloheptane 0x22.
  Build(T, {6, 6, 6, 6, 6}, {{1, 2, 1}, {2, 3, 1}, {3, 4, 1}, {4, 5, 1}, {5, 1, 1}});
  T.CalcAttributes();
  EXPECT_EQ(T.GetAttrib(3), 0x24);
  Build(T, std::vector<int>(7, 6),
        {{1, 2, 1}, {2, 3, 1}, {3, 4, 1}, {4, 5, 1}, {5, 6, 1}, {6, 7, 1}, {7, 1, 1}});
  T.CalcAttributes();
  EXPECT_EQ(T.GetAttrib(3), 0x22);
}

TEST(CTabRings, RingListsHoldAtMostAHundredRings) {
  // Every pair of atoms of the two halves of a complete bipartite graph K(10,10) is
  // bonded: 405 four-rings pass through each atom.
  TCTab T(nullptr);
  TBonds Bonds;
  for (int I = 1; I <= 10; ++I)
    for (int J = 11; J <= 20; ++J) Bonds.emplace_back(I, J, 1);
  Build(T, std::vector<int>(20, 6), Bonds);
  RingListType L;
  EXPECT_EQ(T.FindShortestRings(1, L), MaxRings);
  for (int R = 0; R < MaxRings; ++R) EXPECT_EQ(L.Rings[R].NAtoms, 4);
  EXPECT_LE(T.FindSSSR(L), MaxRings);
  EXPECT_GT(T.CalcAttributes(), 0);
}

TEST(CTabRings, RingInRingListIsASubsetTest) {
  RingListType L;
  RingType R;
  R.NAtoms = 2;
  R.Atoms[0] = 3;
  R.Atoms[1] = 1;
  EXPECT_FALSE(RingInRingList(R, L));
  L.NRings = 1;
  L.Rings[0].NAtoms = 3;
  L.Rings[0].Atoms[0] = 1;
  L.Rings[0].Atoms[1] = 2;
  L.Rings[0].Atoms[2] = 3;
  EXPECT_TRUE(RingInRingList(R, L));
  R.Atoms[1] = 4;
  EXPECT_FALSE(RingInRingList(R, L));
}

TEST(CTabFragments, CodesAndTheirText) {
  TCTab T(nullptr);
  Build(T, {6, 8}, {{1, 2, 1}});  // methanol
  int Second = -1;
  EXPECT_EQ(T.FragmentCode(1, Second), 339);
  EXPECT_EQ(Second, 0);
  EXPECT_EQ(FragmentStr(339), "C1O");
  // Acetic acid's carbonyl carbon: neighbours =O, -O, -C in descending order.
  Build(T, {6, 6, 8, 8}, {{1, 2, 1}, {2, 3, 2}, {2, 4, 1}});
  EXPECT_EQ(T.FragmentCode(2, Second), 3 + 22 * 16 + 21 * 1024 + 13 * 65536);
  EXPECT_EQ(FragmentStr(T.FragmentCode(2, Second)), "C2O1O1C");
  EXPECT_EQ(T.FragmentCode(1, Second), 3 + 13 * 16);
  EXPECT_EQ(Second, 2);
  // Aromatic bonds print as 4.
  Build(T, {6, 6, 6, 6, 6, 6}, BenzeneBonds);
  EXPECT_EQ(FragmentStr(T.FragmentCode(1, Second)), "C4C4C");
  // Five neighbours, sodium, a sodium neighbour.
  Build(T, {6, 9, 9, 9, 9, 9}, {{1, 2, 1}, {1, 3, 1}, {1, 4, 1}, {1, 5, 1}, {1, 6, 1}});
  EXPECT_EQ(T.FragmentCode(1, Second), -2);
  Build(T, {11, 8}, {{1, 2, 1}});
  EXPECT_EQ(T.FragmentCode(1, Second), -1);
  EXPECT_EQ(T.FragmentCode(2, Second), -1);
  EXPECT_EQ(T.FragmentCode(9, Second), -1);
  EXPECT_EQ(FragmentStr(-2), "ERROR");
  EXPECT_EQ(FragmentStr(15), "RR");
}

struct TCountCase {
  const char* Name;
  std::vector<int> Elements;
  TBonds Bonds;
  std::vector<int> Charges;
  std::vector<std::pair<FrgType, int>> Counts;
};

TEST(CTabFragments, FragmentCounts) {
  const std::vector<TCountCase> Cases = {
      {"acetic acid", {6, 6, 8, 8}, {{1, 2, 1}, {2, 3, 2}, {2, 4, 1}}, {},
       {{COOH, 1}, {COO, 0}, {AnyCO, 1}, {AnyOH, 1}, {NDblBnd, 1}, {NSglBnd, 2}, {NCCSgl, 1},
        {NBranch, 1}, {CHO, 0}}},
      {"methyl acetate", {6, 6, 8, 8, 6}, {{1, 2, 1}, {2, 3, 2}, {2, 4, 1}, {4, 5, 1}}, {},
       {{COO, 1}, {OCH3, 1}, {COOH, 0}, {AnyOH, 0}}},
      {"nitromethane, charged", {6, 7, 8, 8}, {{1, 2, 1}, {2, 3, 2}, {2, 4, 1}}, {0, 1, 0, -1},
       {{NO2, 1}}},
      {"nitromethane, two double bonds", {6, 7, 8, 8}, {{1, 2, 1}, {2, 3, 2}, {2, 4, 2}}, {},
       {{NO2, 1}, {NDblBnd, 2}}},
      {"nitromethane, uncharged single", {6, 7, 8, 8}, {{1, 2, 1}, {2, 3, 2}, {2, 4, 1}}, {},
       {{NO2, 0}}},
      {"chlorobenzene", {6, 6, 6, 6, 6, 6, 17}, {{1, 2, 4}, {2, 3, 4}, {3, 4, 4}, {4, 5, 4},
                                                 {5, 6, 4}, {6, 1, 4}, {7, 1, 1}}, {},
       {{AroCl, 1}, {XCnt, 1}, {NAroBnd, 6}, {AroBr, 0}}},
      {"phenol", {6, 6, 6, 6, 6, 6, 8}, {{1, 2, 4}, {2, 3, 4}, {3, 4, 4}, {4, 5, 4},
                                         {5, 6, 4}, {6, 1, 4}, {1, 7, 1}}, {},
       {{PhOH, 1}, {AnyOH, 1}}},
      {"ethylamine", {6, 6, 7}, {{1, 2, 1}, {2, 3, 1}}, {}, {{NH2, 1}, {NHR, 0}}},
      {"acetamide", {6, 6, 8, 7}, {{1, 2, 1}, {2, 3, 2}, {2, 4, 1}}, {},
       {{NH2, 0}, {CONR2, 1}, {NCON, 0}, {AnyCO, 1}}},
      {"urea", {6, 8, 7, 7}, {{1, 2, 2}, {1, 3, 1}, {1, 4, 1}}, {}, {{NCON, 1}, {CONR2, 0}}},
      {"dimethylamine", {6, 7, 6}, {{1, 2, 1}, {2, 3, 1}}, {}, {{NHR, 1}}},
      {"trimethylamine", {6, 7, 6, 6}, {{1, 2, 1}, {2, 3, 1}, {2, 4, 1}}, {},
       {{NR2, 1}, {NBranch, 1}}},
      {"acetonitrile", {6, 6, 7}, {{1, 2, 1}, {2, 3, 3}}, {}, {{CN, 1}, {NTrplBnd, 1}}},
      {"acetylene", {6, 6}, {{1, 2, 3}}, {}, {{NCCTrpl, 1}}},
      {"ethene", {6, 6}, {{1, 2, 2}}, {}, {{NCCDbl, 1}}},
      {"acetaldehyde", {6, 6, 8}, {{1, 2, 1}, {2, 3, 2}}, {}, {{CHO, 1}}},
      {"carbon dioxide", {8, 6, 8}, {{1, 2, 2}, {2, 3, 2}}, {}, {{CHO, 0}, {AnyCO, 1}}},
      {"acetyl chloride", {6, 6, 8, 17}, {{1, 2, 1}, {2, 3, 2}, {2, 4, 1}}, {}, {{COX, 1}}},
      {"dimethyl sulfoxide", {6, 16, 8, 6}, {{1, 2, 1}, {2, 3, 2}, {2, 4, 1}}, {},
       {{AnySO, 1}}},
      {"nitrosomethane", {6, 7, 8}, {{1, 2, 1}, {2, 3, 2}}, {}, {{NO, 1}}},
      {"methylhydrazine", {6, 7, 7}, {{1, 2, 1}, {2, 3, 1}}, {}, {{NNH2, 1}}},
      {"bromomethane", {35, 6}, {{1, 2, 1}}, {}, {{XCnt, 1}, {AroBr, 0}}},
  };
  for (const TCountCase& C : Cases) {
    TCTab T(nullptr);
    Build(T, C.Elements, C.Bonds);
    for (size_t I = 0; I < C.Charges.size(); ++I)
      T.SetCharge(static_cast<int>(I + 1), static_cast<int8_t>(C.Charges[I]));
    for (auto [Type, N] : C.Counts) EXPECT_EQ(T.FragmentCount(Type), N) << C.Name << " " << Type;
  }
}

TEST(CTabChains, StripAndEndAtoms) {
  TCTab T(nullptr);
  Build(T, {6, 6, 8}, {{1, 2, 1}, {2, 3, 1}});  // ethanol
  EXPECT_EQ(T.FindNextEndAtom(1), 1);
  EXPECT_EQ(T.FindNextEndAtom(2), 3);
  EXPECT_EQ(T.FindNextEndAtom(4), 0);
  EXPECT_EQ(T.StripfromChains(), 0);
  EXPECT_EQ(T.GetNAtoms(), 0);
  EXPECT_EQ(T.GetAtNum(1), 0);
  TBonds Toluene = BenzeneBonds;
  Toluene.emplace_back(1, 7, 1);
  Build(T, {6, 6, 6, 6, 6, 6, 6}, Toluene);
  EXPECT_EQ(T.StripfromChains(), 6);
  EXPECT_EQ(T.RingsInMolecule(), 1);
  // Methylbiphenyl keeps both rings and the bond that links them; a lone ion stays.
  TBonds Biphenyl = BenzeneBonds;
  for (auto [I, J, Type] : BenzeneBonds) Biphenyl.emplace_back(I + 6, J + 6, Type);
  Biphenyl.emplace_back(1, 7, 1);
  Biphenyl.emplace_back(4, 14, 1);
  std::vector<int> Elements(12, 6);
  Elements.push_back(11);
  Elements.push_back(6);
  Build(T, Elements, Biphenyl);
  EXPECT_EQ(T.StripfromChains(), 13);
  EXPECT_EQ(T.RingsInMolecule(), 1);  // two rings, two pieces
  EXPECT_EQ(T.AtomCount(11), 1);
}

// Substructure searches write substrct.txt into the current folder: every test runs in a
// temporary one.
class CTabSearch : public ::testing::Test {
 protected:
  void SetUp() override {
    FOld = std::filesystem::current_path();
    std::filesystem::current_path(FDir.Path());
  }
  void TearDown() override { std::filesystem::current_path(FOld); }
  std::string Trace() const { return test::ReadFileBytes(FDir.File("substrct.txt")); }
  test::TempDir FDir;
  std::filesystem::path FOld;
};

TEST_F(CTabSearch, FindsAndMarksAnOccurrence) {
  TCTab Ethanol(nullptr), CO(nullptr);
  Build(Ethanol, {6, 6, 8}, {{1, 2, 1}, {2, 3, 1}});
  Build(CO, {6, 8}, {{1, 2, 1}});
  uint8_t Map[MaxAtoms];
  std::fill(Map, Map + MaxAtoms, 9);
  ASSERT_TRUE(Ethanol.SearchSubStruc(CO, Map, true));
  EXPECT_EQ(Map[0], 0);
  EXPECT_EQ(Map[1], 1);
  EXPECT_EQ(Map[2], 1);
  for (int K = 3; K < MaxAtoms; ++K) EXPECT_EQ(Map[K], 0);
  EXPECT_TRUE(Ethanol.SearchSubStruc(CO, nullptr, false));
  // C=O is there only when bond types are ignored.
  TCTab CdO(nullptr);
  Build(CdO, {6, 8}, {{1, 2, 2}});
  EXPECT_FALSE(Ethanol.SearchSubStruc(CdO, Map, true));
  EXPECT_TRUE(Ethanol.SearchSubStruc(CdO, Map, false));
}

TEST_F(CTabSearch, EveryNeighbourMustBeMatched) {
  TCTab Acetone(nullptr), AceticAcid(nullptr), Acetamide(nullptr), Aminopropanone(nullptr);
  Build(Acetone, {6, 6, 8, 6}, {{1, 2, 1}, {2, 3, 2}, {2, 4, 1}});
  Build(AceticAcid, {6, 6, 8, 8}, {{1, 2, 1}, {2, 3, 2}, {2, 4, 1}});
  EXPECT_FALSE(Acetone.SearchSubStruc(AceticAcid, nullptr, false));
  // The carbonyl carbon lists the methyl carbon before the nitrogen.
  Build(Acetamide, {6, 6, 8, 7}, {{2, 1, 1}, {2, 3, 2}, {2, 4, 1}});
  ASSERT_EQ(Acetamide.GetConnTo(2, 1), 1);
  Build(Aminopropanone, {6, 6, 8, 6, 7}, {{1, 2, 1}, {2, 3, 2}, {2, 4, 1}, {4, 5, 1}});
  EXPECT_FALSE(Aminopropanone.SearchSubStruc(Acetamide, nullptr, false));
  EXPECT_TRUE(Acetamide.SearchSubStruc(Acetamide, nullptr, true));
}

TEST_F(CTabSearch, RingsAndAllCarbonSubstructures) {
  TCTab Benzene(nullptr), Cyclohexane(nullptr), Propane(nullptr), Toluene(nullptr);
  Build(Benzene, {6, 6, 6, 6, 6, 6}, BenzeneBonds);
  Build(Cyclohexane, {6, 6, 6, 6, 6, 6},
        {{1, 2, 1}, {2, 3, 1}, {3, 4, 1}, {4, 5, 1}, {5, 6, 1}, {6, 1, 1}});
  Build(Propane, {6, 6, 6}, {{1, 2, 1}, {2, 3, 1}});
  TBonds TolueneBonds = BenzeneBonds;
  TolueneBonds.emplace_back(1, 7, 1);
  Build(Toluene, std::vector<int>(7, 6), TolueneBonds);
  EXPECT_TRUE(Toluene.SearchSubStruc(Cyclohexane, nullptr, false));
  EXPECT_FALSE(Toluene.SearchSubStruc(Cyclohexane, nullptr, true));
  EXPECT_TRUE(Toluene.SearchSubStruc(Benzene, nullptr, true));
  EXPECT_FALSE(Propane.SearchSubStruc(Cyclohexane, nullptr, false));  // too few atoms
  EXPECT_TRUE(Toluene.SearchSubStruc(Propane, nullptr, false));
  // Attributes of the substructure take part once they are set.
  TCTab Ethanol(nullptr), CO(nullptr);
  Build(Ethanol, {6, 6, 8}, {{1, 2, 1}, {2, 3, 1}});
  Build(CO, {6, 8}, {{1, 2, 1}});
  Ethanol.CalcAttributes();
  CO.CalcAttributes();  // both terminal; ethanol's C2 is not
  EXPECT_FALSE(Ethanol.SearchSubStruc(CO, nullptr, false));
  CO.ClearAttributes();
  EXPECT_TRUE(Ethanol.SearchSubStruc(CO, nullptr, false));
}

TEST_F(CTabSearch, RingsOfStructuresInSeveralPieces) {
  // Phenol hydrate: bonds - atoms + 1 is 0, yet the table has a ring.
  TCTab Hydrate(nullptr), Benzene(nullptr);
  TBonds Bonds = BenzeneBonds;
  Bonds.emplace_back(1, 7, 1);
  Build(Hydrate, {6, 6, 6, 6, 6, 6, 8, 8}, Bonds);
  Build(Benzene, {6, 6, 6, 6, 6, 6}, BenzeneBonds);
  EXPECT_EQ(Hydrate.RingsInMolecule(), 0);
  EXPECT_TRUE(Hydrate.SearchSubStruc(Benzene, nullptr, true));
  // And a substructure in two pieces needs the rings it has.
  TCTab TwoWaters(nullptr), Ring(nullptr);
  Build(TwoWaters, {8, 8}, {});
  EXPECT_TRUE(Hydrate.SearchSubStruc(TwoWaters, nullptr, true));
  Build(Ring, {6, 6, 6, 6, 6, 6}, {{1, 2, 1}, {2, 3, 1}, {3, 1, 1}, {4, 5, 1}, {5, 6, 1}, {6, 4, 1}});
  EXPECT_TRUE(Hydrate.SumForContained(Ring));
  EXPECT_FALSE(Hydrate.SearchSubStruc(Ring, nullptr, false));  // two rings; the hydrate has one
}

TEST_F(CTabSearch, SeparateBranchesMayReuseAnAtom) {
  // Substructure O-C-N-C-O; the table has one oxygen bonded to both carbons and another
  // on the nitrogen.
  TCTab Sub(nullptr), T(nullptr);
  Build(Sub, {7, 6, 6, 8, 8}, {{1, 2, 1}, {1, 3, 1}, {2, 4, 1}, {3, 5, 1}});
  Build(T, {7, 6, 6, 8, 8}, {{1, 2, 1}, {1, 3, 1}, {2, 4, 1}, {3, 4, 1}, {1, 5, 1}});
  uint8_t Map[MaxAtoms] = {};
  ASSERT_TRUE(T.SearchSubStruc(Sub, Map, true));
  EXPECT_EQ(std::vector<int>(Map, Map + 5), (std::vector<int>{1, 1, 1, 1, 0}));
}

TEST_F(CTabSearch, TraceLines) {
  test::WriteFileBytes(FDir.File("substrct.txt"), "earlier\n");
  TCTab Water(nullptr), O(nullptr);
  Build(Water, {8}, {});
  Build(O, {8}, {});
  EXPECT_TRUE(Water.SearchSubStruc(O, nullptr, true));
  EXPECT_EQ(Trace(), "earlier\nlevel=0  0 0 1 1\nT F\nfinal: T\n--------------\n");
  TCTab Ethanol(nullptr), CO(nullptr);
  Build(Ethanol, {6, 6, 8}, {{1, 2, 1}, {2, 3, 1}});
  Build(CO, {6, 8}, {{1, 2, 1}});
  std::filesystem::remove(FDir.File("substrct.txt"));
  EXPECT_TRUE(Ethanol.SearchSubStruc(CO, nullptr, true));
  EXPECT_EQ(Trace(),
            "level=0  0 0 3 2\nT F\n"
            "level=1  3 2 2 1\nT F\nfinal: T\n--------------\n"
            "final: T\n--------------\n");
}

TEST_F(CTabSearch, AnUnwritableTraceDoesNotStopTheSearch) {
  std::filesystem::create_directory(FDir.File("substrct.txt"));
  TCTab Ethanol(nullptr), CO(nullptr);
  Build(Ethanol, {6, 6, 8}, {{1, 2, 1}, {2, 3, 1}});
  Build(CO, {6, 8}, {{1, 2, 1}});
  EXPECT_TRUE(Ethanol.SearchSubStruc(CO, nullptr, true));
  TCTab Empty(nullptr);
  EXPECT_FALSE(Ethanol.SearchSubStruc(Empty, nullptr, true));
  EXPECT_FALSE(Empty.SearchSubStruc(CO, nullptr, true));
}

TEST(CTabSearchHelpers, SumForContainedAndTemplates) {
  TCTab Acid(nullptr), Acetone(nullptr);
  Build(Acid, {6, 6, 8, 8}, {{1, 2, 1}, {2, 3, 2}, {2, 4, 1}});
  Build(Acetone, {6, 6, 8, 6}, {{1, 2, 1}, {2, 3, 2}, {2, 4, 1}});
  EXPECT_FALSE(Acetone.SumForContained(Acid));
  EXPECT_TRUE(Acid.SumForContained(Acid));
  auto Atoms = [](const AtListType& L) {
    for (int K = L.NAtoms; K < MaxAtoms; ++K) EXPECT_EQ(L.Atoms[K], 0);
    return std::vector<int>(L.Atoms, L.Atoms + L.NAtoms);
  };
  const uint8_t None[MaxConn] = {};
  const uint8_t Double[MaxConn] = {2};
  const uint8_t TwoSingle[MaxConn] = {1, 0, 1};
  AtListType L;
  Acid.MatchAtomTemplate(8, 0, None, L);
  EXPECT_EQ(Atoms(L), (std::vector<int>{3, 4}));
  Acid.MatchAtomTemplate(8, 0, Double, L);
  EXPECT_EQ(Atoms(L), (std::vector<int>{3}));
  Acid.MatchAtomTemplate(-6, 0, None, L);
  EXPECT_EQ(Atoms(L), (std::vector<int>{3, 4}));
  Acid.MatchAtomTemplate(0, 1, None, L);
  EXPECT_EQ(Atoms(L), (std::vector<int>{1, 3, 4}));
  Acid.MatchAtomTemplate(0, -1, None, L);
  EXPECT_EQ(Atoms(L), (std::vector<int>{2}));
  Acid.MatchAtomTemplate(6, 0, TwoSingle, L);
  EXPECT_EQ(Atoms(L), (std::vector<int>{2}));
}

}  // namespace
}  // namespace nuv
