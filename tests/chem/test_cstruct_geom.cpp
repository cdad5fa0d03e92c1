#include <gtest/gtest.h>

#include <cfloat>
#include <tuple>
#include <vector>

#include "chem/NUV_CData.h"
#include "chem/NUV_cstruct.h"

namespace nuv {
namespace {

using TBonds = std::vector<std::tuple<int, int, int>>;

void Build(TCTab& T, const std::vector<int>& Elements, const TBonds& Bonds,
           const std::vector<int>& Charges = {}) {
  T.Clear();
  for (size_t I = 0; I < Elements.size(); ++I) {
    CTElem E;
    E.AtNum = static_cast<uint8_t>(Elements[I]);
    E.AtWeight = static_cast<uint16_t>(IntAtWeight(Elements[I]));
    if (I < Charges.size()) E.Charge = static_cast<int8_t>(Charges[I]);
    ASSERT_TRUE(T.AddAtom(E));
  }
  for (auto [I, J, Type] : Bonds) ASSERT_TRUE(T.MakeConnection(I, J, static_cast<uint8_t>(Type)));
}

// The formula as "C2 H6 O1 " (isotope masses shown where they are not the element's own).
std::string FormulaText(const TFormulaRec& F) {
  std::string S;
  for (int E = 0; E < F.NEntries; ++E) {
    if (F.AtWgt[E] != IntAtWeight(F.AtNum[E])) S += std::to_string(F.AtWgt[E]);
    S += CElemSymb(F.AtNum[E]) + std::to_string(F.AtCnt[E]) + " ";
  }
  return S;
}

std::string Formula(const TCTab& T) {
  TFormulaRec F;
  EXPECT_TRUE(T.CalcMolecularFormula(F));
  return FormulaText(F);
}

TEST(CTabHydrogens, ImplicitHydrogenCounts) {
  TCTab T(nullptr);
  Build(T, {6}, {});
  EXPECT_EQ(T.NrHAtoms(1), 4);
  EXPECT_EQ(Formula(T), "C1 H4 ");
  EXPECT_DOUBLE_EQ(T.CalcChemMolWeight(), 12.01115 + 4 * 1.00797);
  Build(T, {6, 1, 1, 1, 1}, {{1, 2, 1}, {1, 3, 1}, {1, 4, 1}, {1, 5, 1}});
  EXPECT_EQ(T.NrHAtoms(1), 4);
  EXPECT_EQ(T.NrHAtoms(2), 0);
  EXPECT_EQ(Formula(T), "C1 H4 ");
  EXPECT_DOUBLE_EQ(T.CalcChemMolWeight(), 12.01115 + 4 * 1.00797);

  Build(T, {6, 6, 6, 6, 6, 6}, {{1, 2, 4}, {2, 3, 4}, {3, 4, 4}, {4, 5, 4}, {5, 6, 4}, {6, 1, 4}});
  EXPECT_EQ(T.NrHAtoms(1), 1);
  Build(T, {7, 6, 6, 6, 6, 6}, {{1, 2, 4}, {2, 3, 4}, {3, 4, 4}, {4, 5, 4}, {5, 6, 4}, {6, 1, 4}});
  EXPECT_EQ(T.NrHAtoms(1), 0);  // pyridine
  EXPECT_EQ(Formula(T), "C5 H5 N1 ");
  Build(T, {7}, {}, {1});
  EXPECT_EQ(T.NrHAtoms(1), 4);  // ammonium
  // The charge rule: acetate's O- has no hydrogen; tetramethylphosphonium's P gets one.
  Build(T, {6, 6, 8, 8}, {{1, 2, 1}, {2, 3, 2}, {2, 4, 1}}, {0, 0, 0, -1});
  EXPECT_EQ(T.NrHAtoms(4), 0);
  EXPECT_EQ(Formula(T), "C2 H3 O2 ");
  Build(T, {15, 6, 6, 6, 6}, {{1, 2, 1}, {1, 3, 1}, {1, 4, 1}, {1, 5, 1}}, {1});
  EXPECT_EQ(T.NrHAtoms(1), 1);
  EXPECT_EQ(T.NrHAtoms(9), 0);
}

TEST(CTabHydrogens, NitrilesAndIsocyanides) {
  TCTab T(nullptr);
  // Methyl isocyanide C-N#C: the nitrogen takes back the terminal carbon's hydrogen.
  Build(T, {6, 7, 6}, {{1, 2, 1}, {2, 3, 3}});
  EXPECT_EQ(T.NrHAtoms(2), -1);
  EXPECT_EQ(T.CalcMissingH(), 3);
  EXPECT_EQ(Formula(T), "C2 H3 N1 ");
  // Hydrogen cyanide keeps its hydrogen.
  Build(T, {6, 7}, {{1, 2, 3}});
  EXPECT_EQ(T.NrHAtoms(1), 1);
  EXPECT_EQ(T.NrHAtoms(2), 0);
  EXPECT_EQ(Formula(T), "C1 H1 N1 ");
  Build(T, {6, 6, 7}, {{1, 2, 1}, {2, 3, 3}});
  EXPECT_EQ(Formula(T), "C2 H3 N1 ");
}

TEST(CTabFormula, OrderIsotopesAndLimit) {
  TCTab T(nullptr);
  Build(T, {8, 6, 6}, {{1, 2, 1}, {2, 3, 1}});
  EXPECT_EQ(Formula(T), "C2 H6 O1 ");
  // Chloromethane-13C with a 37Cl: each isotope an entry of its own, in table order.
  Build(T, {17, 6, 6, 17, 11}, {{1, 2, 1}, {2, 3, 1}, {3, 4, 1}});
  T.SetAtWeight(3, 13);
  T.SetAtWeight(4, 37);
  EXPECT_EQ(Formula(T), "C1 13C1 H4 Cl1 37Cl1 Na1 ");
  TCTab Empty(nullptr);
  TFormulaRec F;
  F.NEntries = 5;
  EXPECT_TRUE(Empty.CalcMolecularFormula(F));
  EXPECT_EQ(F.NEntries, 0);
  // 21 (element, isotope) pairs.
  std::vector<int> Elements;
  for (int Z = 20; Z < 41; ++Z) Elements.push_back(Z);
  Build(T, Elements, {});
  F.NEntries = 1;
  F.AtNum[0] = 6;
  F.AtCnt[0] = 9;
  EXPECT_FALSE(T.CalcMolecularFormula(F));
  EXPECT_EQ(F.NEntries, 1);
  EXPECT_EQ(F.AtCnt[0], 9);
}

TEST(CTabGeometry, CentreExtentsBoxAndNearestAtom) {
  TCTab T(nullptr);
  double X, Y, Z, MinX, MinY, MaxX, MaxY, MeanX, MeanY;
  T.CalcMolCenter(X, Y, Z);
  EXPECT_EQ(X + Y + Z, 0.0);
  Build(T, {6}, {});
  T.SetCoords(1, 1, 300);
  EXPECT_EQ(T.CalcMolExtents(MinX, MinY, MaxX, MaxY, MeanX, MeanY), 0.0);
  EXPECT_EQ(std::make_tuple(MinX, MinY, MaxX, MaxY, MeanX, MeanY),
            std::make_tuple(1.0, 1.0, 10000.0, 7000.0, 5000.0, 3500.0));
  Build(T, {6, 6, 8}, {{1, 2, 1}, {2, 3, 1}});
  const float C[3][3] = {{100, 200, 0}, {400, 600, 10}, {400, 600, 20}};
  for (int I = 1; I <= 3; ++I)
    for (int K = 1; K <= 3; ++K) T.SetCoords(I, K, C[I - 1][K - 1]);
  T.CalcMolCenter(X, Y, Z);
  EXPECT_DOUBLE_EQ(X, 300);
  EXPECT_DOUBLE_EQ(Z, 10);
  // Bonds of 500 and 0 (2D), each counted from both atoms.
  EXPECT_DOUBLE_EQ(T.CalcMolExtents(MinX, MinY, MaxX, MaxY, MeanX, MeanY), 250.0);
  EXPECT_EQ(std::make_tuple(MinX, MinY, MaxX, MaxY), std::make_tuple(100.0, 200.0, 400.0, 600.0));
  EXPECT_EQ(MeanY, static_cast<double>(1400.0f / 3.0f));
  EXPECT_EQ(T.FindAtomInBox(400, 600, 15, 1, 1, 5), 3);
  EXPECT_EQ(T.FindAtomInBox(400, 600, 10, 1, 1, 1), 2);
  EXPECT_EQ(T.FindAtomInBox(0, 0, 0, 1, 1, 1), -1);
  int A = -1;
  double D = 0;
  T.FindClosestAtom(400, 600, 15, A, D);
  EXPECT_EQ(A, 2);
  EXPECT_DOUBLE_EQ(D, 5);
  // Far-apart atoms: their squared distance is beyond 32 bits.
  T.SetCoords(1, 1, -1.0e6f);
  T.SetCoords(2, 1, 1.0e6f);
  T.SetCoords(1, 2, 600);
  T.SetCoords(3, 1, 1.0e6f);
  EXPECT_DOUBLE_EQ(T.CalcMolExtents(MinX, MinY, MaxX, MaxY, MeanX, MeanY), 1.0e6);
  EXPECT_EQ(MaxX, 1.0e6);
  TCTab Empty(nullptr);
  Empty.FindClosestAtom(0, 0, 0, A, D);
  EXPECT_EQ(A, 0);
  EXPECT_EQ(D, DBL_MAX);
  EXPECT_EQ(Empty.FindAtomInBox(0, 0, 0, 1, 1, 1), -1);
}

TEST(CTabGeometry, RotateWithPCA) {
  TCTab T(nullptr);
  Build(T, {6, 6, 6}, {{1, 2, 1}, {2, 3, 1}});
  for (int I = 1; I <= 3; ++I) {
    T.SetCoords(I, 1, 100.0f * I);
    T.SetCoords(I, 2, 100.0f * I);
    T.SetCoords(I, 3, 55.0f);
  }
  int Changes = 0;
  T.OnChange = [&Changes](TObject*) { ++Changes; };
  T.RotateWithPCA();
  EXPECT_EQ(Changes, 0);
  EXPECT_EQ(T.GetCoords(1, 1), -141.0f);
  EXPECT_EQ(T.GetCoords(2, 1), 0.0f);
  EXPECT_EQ(T.GetCoords(3, 1), 141.0f);
  for (int I = 1; I <= 3; ++I) {
    EXPECT_EQ(T.GetCoords(I, 2), 0.0f);
    EXPECT_EQ(T.GetCoords(I, 3), 0.0f);
  }
  TCTab Empty(nullptr);
  Empty.RotateWithPCA();
  EXPECT_EQ(Empty.GetNAtoms(), 0);
}

}  // namespace
}  // namespace nuv
