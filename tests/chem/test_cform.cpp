#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "chem/NUV_cform.h"
#include "platform/NUV_Classes.h"

namespace nuv {
namespace {

using TEntry = std::tuple<int, int, int>;  // atomic number, isotope mass, count

std::vector<TEntry> Entries(const TMolForm& F) {
  std::vector<TEntry> E;
  for (int I = 1; I <= F.GetNumAtoms(); ++I)
    E.emplace_back(F.GetAtNum(I), F.GetAtWgt(I), F.GetAtCnt(I));
  return E;
}

// A formula that counts its paints, to check which operations draw.
class TCountingMolForm : public TMolForm {
 public:
  using TMolForm::TMolForm;
  int Paints = 0;

 protected:
  void Paint() override { ++Paints; }
};

TFormulaRec Rec(std::vector<TEntry> E) {
  TFormulaRec R;
  R.NEntries = static_cast<int>(E.size());
  for (size_t I = 0; I < E.size(); ++I) {
    R.AtNum[I] = static_cast<uint8_t>(std::get<0>(E[I]));
    R.AtWgt[I] = static_cast<uint16_t>(std::get<1>(E[I]));
    R.AtCnt[I] = static_cast<uint16_t>(std::get<2>(E[I]));
  }
  return R;
}

TEST(MolForm, StartsAsWater) {
  TMolForm F(nullptr);
  EXPECT_EQ(Entries(F), (std::vector<TEntry>{{1, 1, 2}, {8, 16, 1}}));
  EXPECT_EQ(F.GetFormulaText(), "H2O");
  EXPECT_EQ(F.GetMolFormula(), "1H2 16O ");
  EXPECT_EQ(F.AsString(0), "H2 O ");
  EXPECT_EQ(F.GetAlignment(), taCenter);
  EXPECT_EQ(F.GetColorBkg(), clBtnFace);
  EXPECT_EQ(F.GetColorTxt(), clBlack);
  EXPECT_EQ(F.GetIsotopeVis(), ivSpecial);
  EXPECT_TRUE(F.GetUseDeuterium());
  EXPECT_FALSE(F.GetShowAsText());
  EXPECT_FALSE(F.GetTransparent());
}

TEST(MolForm, ParsesTheGrammar) {
  struct TCase {
    const char* Text;
    std::vector<TEntry> Expected;
  };
  const std::vector<TCase> Cases = {
      {"C6H12O6", {{6, 12, 6}, {1, 1, 12}, {8, 16, 6}}},
      {"C O2", {{6, 12, 1}, {8, 16, 2}}},
      {"CO2", {{27, 59, 2}}},  // cobalt: letters in a row are one symbol
      {"C H4", {{6, 12, 1}, {1, 1, 4}}},
      {"CH4", {}},
      {"c o2", {{6, 12, 1}, {8, 16, 2}}},
      {"Na,Cl", {{11, 23, 1}, {17, 35, 1}}},
      {"C0", {{6, 12, 1}}},
      {"13C", {{6, 13, 1}}},
      {"13 C2", {{6, 13, 2}}},
      {"D2O", {{1, 2, 2}, {8, 16, 1}}},
      {"2D", {{1, 2, 1}}},
      {"H2O H2O", {{1, 1, 2}, {8, 16, 1}, {1, 1, 2}, {8, 16, 1}}},
      {"Ca(O H)2", {{20, 40, 1}, {8, 16, 2}, {1, 1, 2}}},
      {"(O H)2 Ca", {{8, 16, 2}, {1, 1, 2}, {20, 40, 1}}},
      {"(C H3)3 N", {{6, 12, 3}, {1, 1, 9}, {7, 14, 1}}},
      {"(C O)", {{6, 12, 1}, {8, 16, 1}}},  // no digits after the group: once
      {"(C O)0", {{6, 12, 0}, {8, 16, 0}}},
      {"C2 H5 (O H)", {{6, 12, 2}, {1, 1, 5}, {8, 16, 1}, {1, 1, 1}}},
      {"((C)2 H)3", {{6, 12, 2}, {1, 1, 1}}},  // groups do not nest
      {"C2H5OH", {{6, 12, 2}, {1, 1, 5}}},    // "OH" is no symbol
      {"Xx2 C", {}},
      {"", {}},
      {"1H2 16O2 ", {{1, 1, 2}, {8, 16, 2}}},
      {"C 13C", {{6, 12, 13}, {6, 12, 1}}},  // a number after a symbol is its count
      {"13C C", {{6, 13, 1}, {6, 12, 1}}},
      // Masses above 255 and counts in the hundreds are ordinary.
      {"300U", {{92, 300, 1}}},
      {"257Fm", {{100, 257, 1}}},
      {"Fm", {{100, 257, 1}}},
      {"C300H602", {{6, 12, 300}, {1, 1, 602}}},
      {"(C H2)200", {{6, 12, 200}, {1, 1, 400}}},
      // What does not fit in 16 bits is refused; the reading stops there.
      {"C2 70000C", {{6, 12, 2}}},
      {"C2 H70000", {{6, 12, 2}}},
      {"C99999999999999999999999 H", {}},
      {"(C H2)40000", {{6, 12, 40000}}},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Text);
    TMolForm F(nullptr);
    F.SetMolFormula(C.Text);
    EXPECT_EQ(Entries(F), C.Expected);
    EXPECT_EQ(F.GetFormulaText(), C.Text);
  }
}

TEST(MolForm, ReadsAtMostTwentyEntries) {
  std::string Text;
  for (int I = 0; I < 25; ++I) Text += "H ";
  TMolForm F(nullptr);
  F.ScanMolFormula(Text);
  EXPECT_EQ(F.GetNumAtoms(), MaxFormEntries);
  F.ReadFromString(Text);
  EXPECT_EQ(F.GetNumAtoms(), MaxFormEntries);
}

TEST(MolForm, ShortParserStopsAtGroupsAndKeepsTheText) {
  TMolForm F(nullptr);
  F.ReadFromString("C6 H6");
  EXPECT_EQ(Entries(F), (std::vector<TEntry>{{6, 12, 6}, {1, 1, 6}}));
  EXPECT_EQ(F.GetFormulaText(), "H2O");
  F.ReadFromString("Ca(O H)2");
  EXPECT_EQ(Entries(F), (std::vector<TEntry>{{20, 40, 1}}));
}

TEST(MolForm, PartScannerLeavesThePositionOnTheEndingCharacter) {
  int Pos = 1, Z = 0, M = 0, N = 0;
  const std::string S = "13C2 H5";
  ASSERT_TRUE(TMolForm::ScanNextFormPart(S, Pos, Z, M, N));
  EXPECT_EQ(std::make_tuple(Z, M, N, Pos), std::make_tuple(6, 13, 2, 5));
  ASSERT_TRUE(TMolForm::ScanNextFormPart(S, Pos, Z, M, N));
  EXPECT_EQ(std::make_tuple(Z, M, N, Pos), std::make_tuple(1, 1, 5, 8));
  EXPECT_FALSE(TMolForm::ScanNextFormPart(S, Pos, Z, M, N));
  EXPECT_EQ(Z, 0);
  Pos = 0;  // before the text: read from its start
  EXPECT_TRUE(TMolForm::ScanNextFormPart("O", Pos, Z, M, N));
  EXPECT_EQ(Z, 8);
}

TEST(MolForm, TextFormsParseBack) {
  for (const char* Text : {"C6 H12 O6", "D2O", "300U 13C2 H", "C300H602", "Cl37 37Cl2",
                           "H C N", "13C,14N H", "U 13C2", "D O D"}) {
    SCOPED_TRACE(Text);
    TMolForm A(nullptr), B(nullptr);
    A.SetMolFormula(Text);
    B.SetMolFormula(A.AsString(1));
    EXPECT_EQ(Entries(A), Entries(B));
  }
  TMolForm F(nullptr);
  F.SetMolFormula("D2O");
  EXPECT_EQ(F.AsString(0), "D2 O ");
  EXPECT_EQ(F.AsString(1), "2D2 16O ");
  // A single atom before another entry shows its count, or the next mass would be read
  // as that count.
  F.SetMolFormula("H C N");
  EXPECT_EQ(F.AsString(1), "1H1 12C1 14N ");
  EXPECT_EQ(F.AsString(0), "H C N ");
  F.SetAtCnt(2, 0);  // an empty entry in between changes nothing
  EXPECT_EQ(F.AsString(1), "1H1  14N ");
  EXPECT_EQ(TMolForm::ChemElem(104, 300, 2, 1), "");
  EXPECT_EQ(TMolForm::ChemElem(6, 12, 0, 1), "");
  EXPECT_EQ(TMolForm::ChemElem(6, 13, 1, 1), "13C");
  EXPECT_EQ(TMolForm::ChemElem(6, 13, 1, 0), "C");
  F.Clear();
  EXPECT_EQ(F.AsString(1), "");
  EXPECT_EQ(F.GetFormulaText(), "");
}

TEST(MolForm, Weights) {
  TMolForm F(nullptr);
  EXPECT_DOUBLE_EQ(F.ChemMolWgt(), 2 * 1.00797 + 15.9994);
  EXPECT_DOUBLE_EQ(F.ExactMolWgt(), 2 * 1.007825 + 15.994915);
  EXPECT_EQ(F.NominalMolWgt(), 18);
  F.SetMolFormula("D2O");  // exact mass uses the principal isotope whatever the entry says
  EXPECT_DOUBLE_EQ(F.ExactMolWgt(), 2 * 1.007825 + 15.994915);
  EXPECT_EQ(F.NominalMolWgt(), 20);
  F.SetMolFormula("C300H602");
  EXPECT_EQ(F.NominalMolWgt(), 300 * 12 + 602);
  F.SetMolFormula("(C)40000 (O)40000");
  EXPECT_EQ(F.NominalMolWgt(), 40000 * (12 + 16));
  F.Clear();
  EXPECT_EQ(F.ChemMolWgt(), 0.0);
  EXPECT_EQ(F.NominalMolWgt(), 0);
}

TEST(MolForm, Comparison) {
  struct TCase {
    const char* A;
    const char* B;
    int Result;
  };
  const TCase Cases[] = {
      {"H2O H2O", "H4 O2", 0}, {"C6 H6", "C6 H12", 2}, {"C6 H12", "C6 H6", 1},
      {"C6 H6", "C5 N", -1},   {"13C C", "13C C", 0},  {"13C C", "C2", -1},
      {"O H2", "H2 O", 0},     {"", "H2 O", -2},       {"H2 O", "", -2},
  };
  for (const TCase& C : Cases) {
    TMolForm A(nullptr), B(nullptr);
    A.SetMolFormula(C.A);
    B.SetMolFormula(C.B);
    EXPECT_EQ(A.CompareTo(B), C.Result) << C.A << " / " << C.B;
  }
}

TEST(MolForm, AccessorsIgnoreWhatDoesNotFit) {
  TMolForm F(nullptr);
  EXPECT_EQ(F.GetAtNum(0), 0);
  EXPECT_EQ(F.GetAtCnt(3), 0);
  F.SetNumAtoms(0);
  F.SetNumAtoms(21);
  EXPECT_EQ(F.GetNumAtoms(), 2);
  F.SetAtNum(1, 104);
  F.SetAtNum(3, 6);
  EXPECT_EQ(F.GetAtNum(1), 1);
  F.SetAtWgt(2, 257);
  F.SetAtCnt(2, 65535);
  EXPECT_EQ(F.GetAtWgt(2), 257);
  EXPECT_EQ(F.GetAtCnt(2), 65535);
  F.SetAtWgt(2, 65536);
  F.SetAtCnt(2, -1);
  EXPECT_EQ(F.GetAtWgt(2), 257);
  EXPECT_EQ(F.GetAtCnt(2), 65535);
  F.SetNumAtoms(3);
  F.SetAtNum(3, 6);
  EXPECT_EQ(F.GetAtNum(3), 6);
  EXPECT_EQ(F.GetFormulaText(), "H2O");
}

TEST(MolForm, NominalSearchEnumeratesFromTheUpperLimits) {
  TMolForm F(nullptr);
  ASSERT_TRUE(F.InitFindFormula(16, 0.05, Rec({{6, 12, 0}, {1, 1, 0}}),
                                Rec({{6, 12, 2}, {1, 1, 6}})));
  EXPECT_TRUE(F.FindFormulaNominalMass(false));
  EXPECT_EQ(Entries(F), (std::vector<TEntry>{{6, 12, 1}, {1, 1, 4}}));
  EXPECT_FALSE(F.FindFormulaNominalMass(false));
  EXPECT_TRUE(F.FindFormulaNominalMass(false));  // starts again
  EXPECT_EQ(Entries(F), (std::vector<TEntry>{{6, 12, 1}, {1, 1, 4}}));
}

TEST(MolForm, NominalSearchRoundsTheTargetAndTestsPlausibility) {
  TMolForm F(nullptr);
  F.InitFindFormula(17.6, 0.05, Rec({{6, 12, 0}, {1, 1, 0}}), Rec({{6, 12, 2}, {1, 1, 6}}));
  EXPECT_TRUE(F.FindFormulaNominalMass(false));
  EXPECT_EQ(Entries(F), (std::vector<TEntry>{{6, 12, 1}, {1, 1, 6}}));
  F.InitFindFormula(18, 0.05, Rec({{6, 12, 0}, {1, 1, 0}}), Rec({{6, 12, 2}, {1, 1, 6}}));
  EXPECT_FALSE(F.FindFormulaNominalMass(true));  // C1 H6 fits the mass only
  EXPECT_EQ(Entries(F), (std::vector<TEntry>{{6, 12, 1}, {1, 1, 6}}));
}

TEST(MolForm, ExactSearchListsEveryFitInOrder) {
  TMolForm F(nullptr);
  F.InitFindFormula(46.0419, 0.02, Rec({{6, 12, 0}, {1, 1, 0}, {7, 14, 0}, {8, 16, 0}}),
                    Rec({{6, 12, 4}, {1, 1, 10}, {7, 14, 2}, {8, 16, 3}}));
  std::vector<std::string> Found;
  while (F.FindFormulaExactMass(true)) Found.push_back(F.AsString(0));
  // An element counted 0 stays an (empty) entry of the found formula.
  EXPECT_EQ(Found, (std::vector<std::string>{"C2 H6  O ", "C H6 N2  ", "C H4 N O "}));
  // Lower limits cut the enumeration short.
  F.InitFindFormula(46.0419, 0.02, Rec({{6, 12, 2}, {1, 1, 0}, {7, 14, 0}, {8, 16, 0}}),
                    Rec({{6, 12, 4}, {1, 1, 10}, {7, 14, 2}, {8, 16, 3}}));
  EXPECT_TRUE(F.FindFormulaExactMass(false));
  EXPECT_EQ(F.AsString(0), "C2 H6  O ");
  EXPECT_EQ(F.GetNumAtoms(), 4);
  EXPECT_FALSE(F.FindFormulaExactMass(false));
}

TEST(MolForm, SearchWithoutElementsFindsNothing) {
  TMolForm F(nullptr);
  F.InitFindFormula(0, 0.05, TFormulaRec{}, TFormulaRec{});
  EXPECT_FALSE(F.FindFormulaNominalMass(false));
  EXPECT_FALSE(F.FindFormulaExactMass(false));
  EXPECT_EQ(F.GetNumAtoms(), 2);
}

TEST(MolForm, AssignCopiesEverything) {
  TMolForm A(nullptr), B(nullptr);
  A.SetMolFormula("C6 H6");
  A.SetAlignment(taRightJustify);
  A.SetColorBkg(clRed);
  A.SetColorTxt(clBlue);
  A.SetIsotopeVis(ivAlways);
  A.SetUseDeuterium(false);
  A.SetShowAsText(true);
  A.SetTransparent(true);
  A.InitFindFormula(16, 0.05, Rec({{6, 12, 0}, {1, 1, 0}}), Rec({{6, 12, 2}, {1, 1, 6}}));
  B.Assign(&A);
  EXPECT_EQ(Entries(B), Entries(A));
  EXPECT_EQ(B.GetFormulaText(), "C6 H6");
  EXPECT_EQ(B.GetAlignment(), taRightJustify);
  EXPECT_EQ(B.GetColorBkg(), clRed);
  EXPECT_EQ(B.GetColorTxt(), clBlue);
  EXPECT_EQ(B.GetIsotopeVis(), ivAlways);
  EXPECT_FALSE(B.GetUseDeuterium());
  EXPECT_TRUE(B.GetShowAsText());
  EXPECT_TRUE(B.GetTransparent());
  // The search goes on where A stands.
  EXPECT_TRUE(B.FindFormulaNominalMass(false));
  EXPECT_EQ(B.AsString(0), "C H4 ");
  // Anything else is refused by the platform's rule.
  TStringList L;
  EXPECT_THROW(L.Assign(&A), EConvertError);
  EXPECT_THROW(A.Assign(&L), EConvertError);
}

TEST(MolForm, SettersPaintOnlyOnChange) {
  TCountingMolForm F(nullptr);
  F.SetAlignment(taCenter);
  F.SetIsotopeVis(ivSpecial);
  F.SetMolFormula(F.GetMolFormula());
  EXPECT_EQ(F.Paints, 0);
  F.SetAlignment(taLeftJustify);
  F.SetMolFormula("C6 H6");
  EXPECT_EQ(F.Paints, 2);
  F.SetAtCnt(1, 5);
  F.SetNumAtoms(1);
  EXPECT_EQ(F.Paints, 2);
  // Transparent: the parent paints first, so the formula waits to be invalidated, except
  // for the colours, which paint at once.
  F.SetTransparent(true);
  F.SetAlignment(taRightJustify);
  F.SetMolFormula("C H4");
  EXPECT_EQ(F.Paints, 2);
  F.SetColorTxt(clRed);
  EXPECT_EQ(F.Paints, 3);
  F.SetTransparent(false);
  EXPECT_EQ(F.Paints, 4);
}

}  // namespace
}  // namespace nuv

namespace nuv {
namespace {

TEST(MolFormControl, IsAGraphicControlOf120By28) {
  TMolForm f(nullptr);
  TControl* asControl = &f;
  EXPECT_EQ(asControl->GetWidth(), 120);
  EXPECT_EQ(asControl->GetHeight(), 28);
}

}  // namespace
}  // namespace nuv
