#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <tuple>
#include <vector>

#include "chem/NUV_CData.h"
#include "chem/NUV_cstruct.h"
#include "platform/NUV_SysUtils.h"
#include "tests/support/TestSupport.h"

namespace nuv {
namespace {

std::string Fixture(const std::string& Name) { return test::FixturesDir() + "/chem/" + Name; }

std::string ToCRLF(const std::string& S) {
  std::string R;
  for (char C : S) {
    if (C == '\n') R += '\r';
    R += C;
  }
  return R;
}

// What a structure is made of: the atoms (element, isotope, charge) and the bonds (i < j,
// type at i), for comparing tables read in different ways.
using TAtoms = std::vector<std::tuple<int, int, int>>;
using TBonds = std::vector<std::tuple<int, int, int>>;

TAtoms Atoms(const TCTab& T) {
  TAtoms R;
  for (int I = 1; I <= T.GetNAtoms(); ++I)
    R.emplace_back(T.GetAtNum(I), T.GetAtWeight(I), T.GetCharge(I));
  return R;
}

TBonds Bonds(const TCTab& T) {
  TBonds R;
  for (int I = 1; I <= T.GetNAtoms(); ++I)
    for (int K = 1; K <= T.GetNBonds(I); ++K) {
      const int J = T.GetConnTo(I, K);
      EXPECT_EQ(T.CheckConnect(J, I), T.GetTypConn(I, K)) << "bond " << I << "-" << J;
      if (J > I) R.emplace_back(I, J, T.GetTypConn(I, K));
    }
  std::sort(R.begin(), R.end());
  return R;
}

// Reads one molfile from a file holding Text.
bool ReadMol(TCTab& T, const std::string& Text) {
  test::TempDir Dir;
  test::WriteFileBytes(Dir.File("m.mol"), Text);
  TTextFile F(Dir.File("m.mol"));
  F.Reset();
  return T.ReadFromMDLMolFile(F);
}

std::string AtomLine(double X, double Y, const char* Sym, int MassDiff = 0, int Code = 0) {
  char B[100];
  std::snprintf(B, sizeof B, "%10.4f%10.4f%10.4f %-3s%2d%3d  0  0  0  0  0  0  0  0  0  0", X, Y,
                0.0, Sym, MassDiff, Code);
  return B;
}

std::string Counts(int N, int M) {
  char B[60];
  std::snprintf(B, sizeof B, "%3d%3d  0  0  0  0  0  0  0  0999 V2000", N, M);
  return B;
}

TEST(CTabMolFile, ReadsAHandmadeMolfile) {
  TCTab T(nullptr);
  int Changes = 0;
  T.OnChange = [&Changes](TObject*) { ++Changes; };
  TTextFile F(Fixture("caffeine.mol"));
  F.Reset();
  ASSERT_TRUE(T.ReadFromMDLMolFile(F));
  EXPECT_EQ(Changes, 1);
  EXPECT_EQ(T.GetStrucName(), "caffeine");
  EXPECT_EQ(T.GetNAtoms(), 14);
  EXPECT_EQ(Bonds(T).size(), 15u);
  EXPECT_EQ(T.CheckConnect(10, 11), 2);
  TFormulaRec Fo;
  ASSERT_TRUE(T.CalcMolecularFormula(Fo));
  EXPECT_EQ(Fo.NEntries, 4);
  EXPECT_EQ(std::make_tuple(Fo.AtCnt[0], Fo.AtCnt[1], Fo.AtCnt[2], Fo.AtCnt[3]),
            std::make_tuple(8, 10, 4, 2));
  EXPECT_NEAR(T.CalcChemMolWeight(), 194.19, 0.01);
  EXPECT_EQ(T.CalcAttributes(), 2);
  EXPECT_EQ(T.GetAttrib(6), 0xBC);  // C5, in the 6-ring and the 5-ring
  EXPECT_EQ(T.GetAttrib(12), 0x41);
  // Coordinates rescaled: whole numbers, the smallest x and y at 0.
  float MinX = 1e9f, MinY = 1e9f, MaxX = 0;
  for (int I = 1; I <= 14; ++I) {
    MinX = std::min(MinX, T.GetCoords(I, 1));
    MinY = std::min(MinY, T.GetCoords(I, 2));
    MaxX = std::max(MaxX, T.GetCoords(I, 1));
    EXPECT_EQ(T.GetCoords(I, 1), std::nearbyint(T.GetCoords(I, 1)));
  }
  EXPECT_EQ(MinX, 0.0f);
  EXPECT_EQ(MinY, 0.0f);
  EXPECT_LE(MaxX, 32767.0f);
}

TEST(CTabMolFile, HydrateInTwoPieces) {
  TCTab Hydrate(nullptr), Benzene(nullptr);
  TTextFile F(Fixture("phenol_hydrate.mol"));
  F.Reset();
  ASSERT_TRUE(Hydrate.ReadFromMDLMolFile(F));
  TFormulaRec Fo;
  ASSERT_TRUE(Hydrate.CalcMolecularFormula(Fo));
  EXPECT_EQ(std::make_tuple(Fo.NEntries, Fo.AtCnt[0], Fo.AtCnt[1], Fo.AtCnt[2]),
            std::make_tuple(3, 6, 8, 2));
  RingListType Rings;
  EXPECT_EQ(Hydrate.FindSSSR(Rings), 1);
  EXPECT_EQ(Hydrate.RingsInMolecule(), 0);
  for (int I = 1; I <= 6; ++I) Benzene.AddAtom(CTElem{6});
  for (int I = 1; I <= 6; ++I) Benzene.MakeConnection(I, I % 6 + 1, I % 2 ? 2 : 1);
  test::TempDir Dir;  // the search writes its trace into the current folder
  const auto Old = std::filesystem::current_path();
  std::filesystem::current_path(Dir.Path());
  EXPECT_TRUE(Hydrate.SearchSubStruc(Benzene, nullptr, false));
  std::filesystem::current_path(Old);
}

TEST(CTabMolFile, AtomFieldsChargeCodesAndIsotopes) {
  TCTab T(nullptr);
  const std::string Text = "charges\n\n\n" + Counts(5, 1) + "\n" + AtomLine(0, 0, "N", 0, 3) +
                           "\n" + AtomLine(1.5, 0, "O", 0, 5) + "\n" + AtomLine(0, 0, "C", 0, 4) +
                           "\n" + AtomLine(0, 0, "Cl", 2, 0) + "\n" + AtomLine(0, 0, "Xx", 0, 1) +
                           "\n  1  2  1  0\nM  END\n";
  ASSERT_TRUE(ReadMol(T, Text));
  EXPECT_EQ(Atoms(T), (TAtoms{{7, 14, 1}, {8, 16, -1}, {6, 12, 0}, {17, 37, 0}, {0, 0, 3}}));
  // Two atoms 1.5 apart in x: x becomes 0 and 800 (sy is 0).
  EXPECT_EQ(T.GetCoords(1, 1), 0.0f);
  EXPECT_EQ(T.GetCoords(2, 1), 800.0f);
  EXPECT_EQ(T.GetCoords(2, 2), 0.0f);
}

TEST(CTabMolFile, RescalingStaysWithin32767) {
  TCTab T(nullptr);
  const std::string Text = "wide\n\n\n" + Counts(2, 0) + "\n" + AtomLine(0, 0, "C") + "\n" +
                           AtomLine(100, 1, "C") + "\nM  END\n";
  ASSERT_TRUE(ReadMol(T, Text));
  EXPECT_EQ(T.GetCoords(2, 1), 32767.0f);
  EXPECT_EQ(T.GetCoords(2, 2), 328.0f);  // s = 327.67
}

TEST(CTabMolFile, PropertyLinesSetChargesAndIsotopes) {
  TCTab T(nullptr);
  const std::string Text = "props\n\n\n" + Counts(3, 2) + "\n" + AtomLine(0, 0, "N", 0, 3) +
                           "\n" + AtomLine(1, 0, "C") + "\n" + AtomLine(2, 0, "O") +
                           "\n  1  2  1  0\n  2  3  1  0\nM  CHG  2   2  -1   3   2\n"
                           "A    2\n12 and more\nV    1 note\nM  ISO  1   2  13\nM  END\n";
  ASSERT_TRUE(ReadMol(T, Text));
  // An "M  CHG" line replaces every charge of the atom block.
  EXPECT_EQ(Atoms(T), (TAtoms{{7, 14, 0}, {6, 13, -1}, {8, 16, 2}}));
  // The block ends at "M  END": a table that follows reads on.
  TStringStream S(Text.substr(Text.find('\n', Text.find('\n', Text.find('\n') + 1) + 1) + 1) +
                  Counts(1, 0) + "\n" + AtomLine(0, 0, "P") + "\n");
  ASSERT_TRUE(T.ReadFromMDLCTabStream(S));
  ASSERT_TRUE(T.ReadFromMDLCTabStream(S));
  EXPECT_EQ(Atoms(T), (TAtoms{{15, 31, 0}}));
}

TEST(CTabMolFile, FaultyRecordsAreReadButReportedFalse) {
  struct TCase {
    const char* Name;
    std::string BondLines;
    TBonds Expected;
  };
  const std::vector<TCase> Cases = {
      {"any bond", "  1  2  8  0\n  2  3  2  0\n", {{1, 2, 1}, {2, 3, 2}}},
      {"atom number 9", "  1  9  1  0\n  2  3  1  0\n", {{2, 3, 1}}},
      {"atom number 0", "  0  1  1  0\n  2  3  1  0\n", {{2, 3, 1}}},
      {"self bond", "  2  2  1  0\n  2  3  1  0\n", {{2, 3, 1}}},
      {"not a number", "  1 x2  1  0\n  2  3  1  0\n", {{2, 3, 1}}},
      {"short line", "  1\n  2  3  1  0\n", {{2, 3, 1}}},
  };
  for (const TCase& C : Cases) {
    TCTab T(nullptr);
    const std::string Text = "faulty\n\n\n" + Counts(3, 2) + "\n" + AtomLine(0, 0, "C") + "\n" +
                             AtomLine(1, 0, "C") + "\n" + AtomLine(2, 0, "O") + "\n" + C.BondLines +
                             "M  END\n";
    EXPECT_FALSE(ReadMol(T, Text)) << C.Name;
    EXPECT_EQ(T.GetNAtoms(), 3) << C.Name;
    EXPECT_EQ(T.GetStrucName(), "faulty") << C.Name;
    EXPECT_EQ(Bonds(T), C.Expected) << C.Name;
  }
  // Invalid numbers in the atom block read as 0.
  for (const char* Bad : {"       nan", "       inf", "1e99999999", "    12,5  "}) {
    TCTab T(nullptr);
    const std::string Text = "numbers\n\n\n" + Counts(2, 0) + "\n" + AtomLine(0, 0, "C") + "\n" +
                             std::string(Bad) + AtomLine(3, 0, "C").substr(10) + "\nM  END\n";
    EXPECT_FALSE(ReadMol(T, Text)) << Bad;
    ASSERT_EQ(T.GetNAtoms(), 2) << Bad;
    EXPECT_EQ(T.GetCoords(2, 1), 0.0f) << Bad;
    EXPECT_EQ(T.GetCoords(2, 2), 0.0f) << Bad;
  }
  // A short atom line gives its missing fields as 0 and the symbol it has.
  TCTab T(nullptr);
  EXPECT_TRUE(ReadMol(T, "short\n\n\n  1  0\n    1.0000    2.0000    0.0000 Na\n"));
  EXPECT_EQ(Atoms(T), (TAtoms{{11, 23, 0}}));
}

TEST(CTabMolFile, RefusedAndTruncatedFilesLeaveTheTable) {
  std::string Big = "too big\n\n\n" + Counts(64, 0) + "\n";
  for (int I = 0; I < 64; ++I) Big += AtomLine(I, 0, "C") + "\n";
  Big += "M  END\n";
  const std::vector<std::pair<const char*, std::string>> Cases = {
      {"64 atoms", Big},
      {"no atoms", "empty\n\n\n" + Counts(0, 0) + "\nM  END\n"},
      {"negative bonds", "neg\n\n\n  1 -1\n" + AtomLine(0, 0, "C") + "\n"},
      {"bad counts", "bad\n\n\n  x  0\n" + AtomLine(0, 0, "C") + "\n"},
      {"too many bonds", "bonds\n\n\n  2999\n" + AtomLine(0, 0, "C") + "\n"},
      {"ends in the atom block", "cut\n\n\n" + Counts(3, 0) + "\n" + AtomLine(0, 0, "C") + "\n"},
      {"ends in the bond block", "cut\n\n\n" + Counts(2, 2) + "\n" + AtomLine(0, 0, "C") + "\n" +
                                     AtomLine(1, 0, "C") + "\n  1  2  1\n"},
      {"ends in the header", "cut\n\n"},
      {"empty file", ""},
  };
  for (const auto& [Name, Text] : Cases) {
    TCTab T(nullptr);
    ASSERT_TRUE(ReadMol(T, "kept\n\n\n" + Counts(1, 0) + "\n" + AtomLine(0, 0, "S") + "\n"));
    T.SetCASNr("50-00-0");
    int Changes = 0;
    T.OnChange = [&Changes](TObject*) { ++Changes; };
    EXPECT_FALSE(ReadMol(T, Text)) << Name;
    EXPECT_EQ(T.GetStrucName(), "kept") << Name;
    EXPECT_EQ(Atoms(T), (TAtoms{{16, 32, 0}})) << Name;
    EXPECT_EQ(T.GetCASNr(), "50-00-0") << Name;
    EXPECT_EQ(Changes, 0) << Name;
  }
}

TEST(CTabMolFile, LineEndsAndStreams) {
  const std::string Text = test::ReadFileBytes(Fixture("acetic_acid.mol"));
  TCTab LF(nullptr), CRLF(nullptr), Stream(nullptr), CTab(nullptr);
  ASSERT_TRUE(ReadMol(LF, Text));
  ASSERT_TRUE(ReadMol(CRLF, ToCRLF(Text)));
  EXPECT_EQ(CRLF.CompareWith(LF), 0);
  TStringStream S(ToCRLF(Text));
  ASSERT_TRUE(Stream.ReadFromMDLMolStream(S));
  EXPECT_EQ(Stream.CompareWith(LF), 0);
  EXPECT_EQ(S.GetPosition(), S.GetSize());
  // The connection table alone, from its counts line; several in a row.
  const std::string Body = Text.substr(Text.find("  4  3"));
  TStringStream Two(Body + Body);
  ASSERT_TRUE(CTab.ReadFromMDLCTabStream(Two));
  ASSERT_TRUE(CTab.ReadFromMDLCTabStream(Two));
  EXPECT_EQ(Atoms(CTab), Atoms(LF));
  EXPECT_FALSE(CTab.ReadFromMDLCTabStream(Two));
  test::TempDir Dir;
  test::WriteFileBytes(Dir.File("t.tbl"), ToCRLF(Body));
  TTextFile F(Dir.File("t.tbl"));
  F.Reset();
  ASSERT_TRUE(CTab.ReadFromMDLCTabFile(F));
  EXPECT_EQ(Bonds(CTab), Bonds(LF));
  EXPECT_TRUE(F.Eof());
}

// Reads every record of an SD file.
struct TSDRecord {
  bool Result;
  std::string Name;
  std::string CAS;
  TAtoms AtomList;
  std::vector<std::pair<std::string, double>> Items;
};

std::vector<TSDRecord> ReadSD(const std::string& Bytes) {
  test::TempDir Dir;
  test::WriteFileBytes(Dir.File("r.sdf"), Bytes);
  TTextFile F(Dir.File("r.sdf"));
  F.Reset();
  TCTab T(nullptr);
  std::vector<TSDRecord> R;
  while (!F.Eof()) {
    TPropRec P;
    P.Items[3].Name = "stale";
    const bool Ok = T.ReadFromMDLSDFile(F, &P);
    R.push_back({Ok, T.GetStrucName(), T.GetCASNr(), Atoms(T), {}});
    for (const TPropEntry& E : P.Items)
      if (!E.Name.empty()) R.back().Items.emplace_back(E.Name, E.Value);
  }
  return R;
}

TEST(CTabSDFile, ReadsConsecutiveRecordsWithTheirDataItems) {
  const std::string Bytes = test::ReadFileBytes(Fixture("records.sdf"));
  const std::vector<TSDRecord> R = ReadSD(Bytes);
  ASSERT_EQ(R.size(), 7u);
  EXPECT_TRUE(R[0].Result);
  EXPECT_EQ(R[0].Name, "acetic acid");
  EXPECT_EQ(R[0].CAS, "64-19-7");
  using TItems = std::vector<std::pair<std::string, double>>;
  // DENSI has a blank value line and is left out.
  EXPECT_EQ(R[0].Items, (TItems{{"MELTP", 16.6}, {"BOILP", 118.1}, {"REFRX", 1.3716}}));
  EXPECT_TRUE(R[1].Result);
  EXPECT_EQ(R[1].Name, "sodium acetate");
  EXPECT_EQ(R[1].CAS, "0-00-0");
  EXPECT_EQ(R[1].AtomList,
            (TAtoms{{6, 12, 0}, {6, 12, 0}, {8, 16, 0}, {8, 16, -1}, {11, 23, 1}}));
  EXPECT_EQ(R[1].Items, (TItems{{"MELTP", 324}}));  // "n/a" is no value
  // 64 atoms: refused, the table (and its registry number) as it was; the items stay.
  EXPECT_FALSE(R[2].Result);
  EXPECT_EQ(R[2].Name, "sodium acetate");
  EXPECT_EQ(R[2].CAS, "0-00-0");
  EXPECT_EQ(R[2].AtomList, R[1].AtomList);
  EXPECT_EQ(R[2].Items, (TItems{{"MELTP", 1.5}}));
  EXPECT_TRUE(R[3].Result);
  EXPECT_EQ(R[3].AtomList, (TAtoms{{6, 13, 0}, {17, 37, 0}}));
  EXPECT_TRUE(R[4].Result);
  EXPECT_EQ(R[4].AtomList, (TAtoms{{6, 12, 0}, {7, 14, 1}, {17, 35, -1}}));
  // A value line that is the record's end ends the record.
  EXPECT_TRUE(R[5].Result);
  EXPECT_EQ(R[5].Name, "cut short");
  EXPECT_TRUE(R[5].Items.empty());
  EXPECT_TRUE(R[6].Result);
  EXPECT_EQ(R[6].Name, "ethanol");
  EXPECT_EQ(R[6].Items, (TItems{{"BOILP", 78.4}}));

  const std::vector<TSDRecord> C = ReadSD(ToCRLF(Bytes));
  ASSERT_EQ(C.size(), R.size());
  for (size_t I = 0; I < R.size(); ++I) {
    EXPECT_EQ(C[I].Result, R[I].Result) << I;
    EXPECT_EQ(C[I].Name, R[I].Name) << I;
    EXPECT_EQ(C[I].AtomList, R[I].AtomList) << I;
    EXPECT_EQ(C[I].Items, R[I].Items) << I;
  }
}

TEST(CTabSDFile, FreeFormatStaysWithinItsLine) {
  // The first atom line lacks its mass and charge fields; they must not be taken from the
  // next line.
  const std::string Text = "short lines\n\n\n  2  1\n    0.0 0.0 0.0 C\n 1.5 0 0 O   0  5\n"
                           "  1  2\n> <MELTP>\n  \n> <BOILP>\n99\n$$$$\n";
  const std::vector<TSDRecord> R = ReadSD(Text);
  ASSERT_EQ(R.size(), 1u);
  EXPECT_FALSE(R[0].Result);  // the bond line has no type
  EXPECT_EQ(R[0].AtomList, (TAtoms{{6, 12, 0}, {8, 16, -1}}));
  EXPECT_EQ(R[0].Items, (std::vector<std::pair<std::string, double>>{{"BOILP", 99}}));
  // A record cut short inside its atom block changes nothing.
  const std::vector<TSDRecord> Cut = ReadSD(test::ReadFileBytes(Fixture("acetic_acid.mol")) +
                                            "$$$$\nnext\n\n\n  3  0\n 0 0 0 C   0  0\n");
  ASSERT_EQ(Cut.size(), 2u);
  EXPECT_TRUE(Cut[0].Result);
  EXPECT_FALSE(Cut[1].Result);
  EXPECT_EQ(Cut[1].Name, "acetic acid");
  // So does one whose end comes before its atoms and bonds are complete; the next
  // record is read as it stands.
  const std::vector<TSDRecord> Early = ReadSD(
      "short\n\n\n  3  1\n 0 0 0 C  0  0\n$$$$\n$$$$\nnext\n\n\n  1  0\n 0 0 0 N  0  0\n$$$$\n");
  ASSERT_EQ(Early.size(), 3u);
  EXPECT_FALSE(Early[0].Result);
  EXPECT_FALSE(Early[1].Result);
  EXPECT_TRUE(Early[2].Result);
  EXPECT_EQ(Early[2].AtomList, (TAtoms{{7, 14, 0}}));
}

TEST(CTabSDFile, SkippedStructureFiresNoChange) {
  test::TempDir Dir;
  test::WriteFileBytes(Dir.File("r.sdf"), "big\n\n\n 64  0\n> <CAS_RN>\n50-00-0\n$$$$\n");
  TTextFile F(Dir.File("r.sdf"));
  F.Reset();
  TCTab T(nullptr);
  int Changes = 0;
  T.OnChange = [&Changes](TObject*) { ++Changes; };
  EXPECT_FALSE(T.ReadFromMDLSDFile(F, nullptr));
  EXPECT_EQ(Changes, 0);
  EXPECT_EQ(T.GetCASNr(), "0-00-0");
  EXPECT_TRUE(F.Eof());
  EXPECT_FALSE(T.ReadFromMDLSDFile(F, nullptr));
}

TEST(CTabClearText, ReadsBothFormats) {
  test::TempDir Dir;
  // L = 5, N = 2: one name line.
  test::WriteFileBytes(Dir.File("c.txt"),
                       "some text / and /OTHER words\r\n/CONTAB 5 2\r\n Methanol\r\n"
                       "1 6 12 0 0 1.5 2.5 0\r\n  1 2 1\r\n2 8 18 0 -1 3 4 0 1 1 1\r\n");
  TTextFile F(Dir.File("c.txt"));
  F.Reset();
  TCTab T(nullptr);
  ASSERT_TRUE(T.ReadFromClearTextFile(F));
  EXPECT_EQ(T.GetStrucName(), "Methanol");
  EXPECT_EQ(Atoms(T), (TAtoms{{6, 12, 0}, {8, 18, -1}}));
  EXPECT_EQ(Bonds(T), (TBonds{{1, 2, 1}}));
  EXPECT_EQ(T.GetCoords(1, 2), 2.5f);
  F.Close();
  test::WriteFileBytes(Dir.File("g.txt"),
                       "/CTABG \n4 2\n Ethy\n ne\n"
                       "6 12 0 0 10 20 2 0 0 0 0 0 0 0 3 0 0 0 0 0 0 0\n"
                       "6 12 0 0 30 20 1 0 0 0 0 0 0 0 3 0 0 0 0 0 0 0\n");
  F.Assign(Dir.File("g.txt"));
  F.Reset();
  ASSERT_TRUE(T.ReadFromClearTextFileCTABG(F));
  EXPECT_EQ(T.GetStrucName(), "Ethyne");
  EXPECT_EQ(Bonds(T), (TBonds{{1, 2, 3}}));
  EXPECT_EQ(T.GetCoords(2, 1), 30.0f);
}

TEST(CTabClearText, FaultsAndRefusals) {
  test::TempDir Dir;
  // name, body after "/CONTAB ", result, name afterwards ("kept": the table as it was)
  const std::vector<std::tuple<const char*, std::string, bool, std::string>> Cases = {
      {"neighbour out of range", "4 2\n1 6 12 0 0 0 0 0 1 7 1\n2 6 12 0 0 0 0 0 0\n", false, ""},
      {"element 200", "3 1\n N\n1 200 12 0 0 0 0 0 0\n", false, "N"},
      {"no lines", "0 2\n", false, "kept"},
      {"64 atoms", "128 64\n", false, "kept"},
      {"too few lines", "3 2\n", false, "kept"},
      {"cut in a record", "4 2\n1 6 12 0 0 0 0 0 0\n2 6\n", false, "kept"},
      {"not a number", "4 2\n1 6 12 0 0 0 x 0 0\n2 6 12 0 0 0 0 0 0\n", false, "kept"},
      {"no keyword", "", false, "kept"},
  };
  for (const auto& [Name, Body, Result, StrucName] : Cases) {
    test::WriteFileBytes(Dir.File("c.txt"), Body.empty() ? "nothing here\n" : "/CONTAB " + Body);
    TTextFile F(Dir.File("c.txt"));
    F.Reset();
    TCTab T(nullptr);
    ASSERT_TRUE(ReadMol(T, "kept\n\n\n" + Counts(1, 0) + "\n" + AtomLine(0, 0, "S") + "\n"));
    EXPECT_EQ(T.ReadFromClearTextFile(F), Result) << Name;
    EXPECT_EQ(T.GetStrucName(), StrucName) << Name;
    if (StrucName == "N") {
      EXPECT_EQ(Atoms(T), (TAtoms{{0, 12, 0}}));
    }
  }
}

// A structure that exercises what files must keep: charges beyond the atom block's codes,
// isotopes (deuterium, 13C, 37Cl), every bond type, an unknown element.
void BuildSample(TCTab& T) {
  T.Clear();
  const std::vector<std::tuple<int, int, int>> A = {
      {6, 13, 0}, {6, 12, 0}, {8, 16, -1}, {7, 14, 1}, {1, 2, 0}, {17, 37, 0}, {26, 56, 5},
      {6, 12, -4}, {0, 0, 0}};
  float X = 0;
  for (auto [Z, W, Q] : A) {
    CTElem E;
    E.AtNum = static_cast<uint8_t>(Z);
    E.AtWeight = static_cast<uint16_t>(W);
    E.Charge = static_cast<int8_t>(Q);
    E.Coords[0] = X;
    E.Coords[1] = X * X / 10.0f;
    X += 1.25f;
    T.AddAtom(E);
  }
  for (auto [I, J, Type] : TBonds{{1, 2, 1}, {2, 3, 2}, {2, 4, 1}, {4, 5, 1}, {1, 6, 1},
                                  {6, 7, 1}, {7, 8, 3}, {8, 9, 4}})
    T.MakeConnection(I, J, static_cast<uint8_t>(Type));
  T.SetStrucName("sample \xE4 structure");
}

TEST(CTabWriters, RoundTripsThroughEveryWriter) {
  TCTab T(nullptr);
  BuildSample(T);
  test::TempDir Dir;
  auto ReadBack = [&](const std::string& File, auto Reader) {
    TTextFile F(File);
    F.Reset();
    TCTab R(nullptr);
    EXPECT_TRUE(Reader(R, F)) << File;
    EXPECT_EQ(Atoms(R), Atoms(T)) << File;
    EXPECT_EQ(Bonds(R), Bonds(T)) << File;
    return test::ReadFileBytes(File);
  };
  {
    TTextFile F(Dir.File("t.tbl"));
    F.Rewrite();
    T.WriteToMDLCTabFile(F);
    F.Close();
  }
  const std::string CTabBytes =
      ReadBack(Dir.File("t.tbl"), [](TCTab& R, TTextFile& F) { return R.ReadFromMDLCTabFile(F); });
  std::string Prog = "nuvchem-tests";
  SetClock([] { return EncodeDate(2024, 3, 7) + EncodeTime(14, 5, 0, 0); });
  {
    TTextFile F(Dir.File("t.mol"));
    F.Rewrite();
    T.WriteToMDLMolFile(F, Prog, "JD", 4711, "a comment");
    F.Close();
  }
  SetClock({});
  EXPECT_EQ(Prog, "nuvchem-");
  const std::string MolBytes = ReadBack(
      Dir.File("t.mol"), [](TCTab& R, TTextFile& F) { return R.ReadFromMDLMolFile(F); });
  EXPECT_EQ(MolBytes.substr(0, MolBytes.find('\n', 30) + 1),
            "sample \xE4 structure\nJDnuvchem-03072414052D" + std::string(26, ' ') + "4711\n");
  EXPECT_EQ(MolBytes.substr(MolBytes.find('\n', 30) + 1, 10), "a comment\n");
  EXPECT_NE(MolBytes.find("\nM  CHG  4   3  -1   4   1   7   5   8  -4\n"), std::string::npos);
  EXPECT_NE(MolBytes.find("\nM  ISO  3   1  13   5   2   6  37\nM  END\n"), std::string::npos);
  {
    TTextFile F(Dir.File("t.txt"));
    F.Rewrite();
    T.WriteToClearTextFile(F);
    F.Close();
  }
  ReadBack(Dir.File("t.txt"), [&T](TCTab& R, TTextFile& F) {
    const bool Ok = R.ReadFromClearTextFile(F);
    EXPECT_EQ(R.CompareWith(T) & ~8, 0);  // everything but the registry number
    return Ok;
  });
  // Streams write what the files hold.
  TStringStream S;
  T.WriteToMDLCTabStream(S);
  EXPECT_EQ(S.DataString(), CTabBytes);
  S.SetPosition(0);
  TCTab R(nullptr);
  ASSERT_TRUE(R.ReadFromMDLCTabStream(S));
  EXPECT_EQ(Atoms(R), Atoms(T));
  // Line breaks in the texts do not break the file.
  TStringStream M;
  std::string Prog2 = "x\ny";
  T.SetStrucName("two\nlines");
  T.WriteToMDLMolStream(M, Prog2, "", 0, "more\r\nlines");
  M.SetPosition(0);
  ASSERT_TRUE(R.ReadFromMDLMolStream(M));
  EXPECT_EQ(R.GetStrucName(), "two lines");
  EXPECT_EQ(Bonds(R), Bonds(T));
  // An empty table reads back from clear text too.
  TCTab Empty(nullptr);
  {
    TTextFile F(Dir.File("e.txt"));
    F.Rewrite();
    Empty.WriteToClearTextFile(F);
    F.Close();
  }
  TTextFile F(Dir.File("e.txt"));
  F.Reset();
  EXPECT_TRUE(R.ReadFromClearTextFile(F));
  EXPECT_EQ(R.GetNAtoms(), 0);
}

TEST(CTabWriters, LargeCoordinatesStillFitTheirColumns) {
  TCTab T(nullptr), R(nullptr);
  BuildSample(T);
  T.SetCoords(1, 1, -250000.0f);
  T.SetCoords(2, 2, 1.0e7f);
  TStringStream S;
  T.WriteToMDLCTabStream(S);
  S.SetPosition(0);
  ASSERT_TRUE(R.ReadFromMDLCTabStream(S));
  EXPECT_EQ(Atoms(R), Atoms(T));
  // Read back as the original would rescale: x spans 250010 units, y 1e7.
  EXPECT_EQ(R.GetCoords(1, 1), 0.0f);
  EXPECT_NEAR(R.GetCoords(2, 2), 1.0e7 * 800.0 / 250010.0, 5.0);
}

TEST(CTabWriters, MassZeroIsTheNaturalElement) {
  TCTab T(nullptr), R(nullptr);
  T.AddAtom(CTElem{6});
  T.AddAtom(CTElem{17});
  T.MakeConnection(1, 2, 1);
  TStringStream S;
  T.WriteToMDLCTabStream(S);
  EXPECT_EQ(S.DataString().find("M  ISO"), std::string::npos);
  S.SetPosition(0);
  ASSERT_TRUE(R.ReadFromMDLCTabStream(S));
  EXPECT_EQ(Atoms(R), (TAtoms{{6, 12, 0}, {17, 35, 0}}));
}

TEST(CTabWriters, MolConnXFile) {
  TCTab T(nullptr);
  T.AddAtom(CTElem{6, 12});
  T.AddAtom(CTElem{8, 16});
  T.MakeConnection(1, 2, 1);
  T.SetStrucName("methanol");
  test::TempDir Dir;
  TTextFile F(Dir.File("m.mcx"));
  F.Rewrite();
  T.WriteToMolConnXFile(17, F);
  F.Close();
  EXPECT_EQ(test::ReadFileBytes(Dir.File("m.mcx")), "17 methanol\n2 1\n1 C 3 0\n2 O 1 0\n1 2 1\n");
}

}  // namespace
}  // namespace nuv
