#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <sstream>

#include "chem/NUV_CData.h"

namespace nuv {
namespace {

struct TElemCase {
  int Z;
  const char* Symb;
  const char* Name;
  int Nominal;
  double Exact, Average;
  int Outer;
  const char* Config;
  int Col, Row;
};

// A sample across the table, the names and masses as the table has always held them.
const TElemCase ElemCases[] = {
    {1, "H", "hydrogen", 1, 1.007825, 1.00797, 1, "1s1", 0, 0},
    {2, "He", "helium", 4, 4.002603, 4.0026, 2, "1s2", 17, 0},
    {3, "Li", "litium", 7, 7.016005, 6.939, 1, "[He] 2s1", 0, 1},
    {6, "C", "carbon", 12, 12.0, 12.01115, 4, "[He] 2s2 2p2", 13, 1},
    {9, "F", "flourine", 19, 18.998405, 18.9984, 7, "[He] 2s2 2p5", 16, 1},
    {17, "Cl", "chlorine", 35, 34.968854, 35.453, 7, "[Ne] 3s2 3p5", 16, 2},
    {23, "V", "vanadin", 51, 50.943964, 50.942, 2, "[Ar] 3d3 4s2", 4, 3},
    {26, "Fe", "iron", 56, 55.934934, 55.847, 2, "[Ar] 3d6 4s2", 7, 3},
    {43, "Tc", "technetium", 97, 96.905, 0.0, 2, "[Kr] 4d6 5s1", 6, 4},
    {46, "Pd", "palladium", 106, 105.903487, 106.4, 0, "[Kr] 4d10", 9, 4},
    {57, "La", "lanthanum", 139, 138.906403, 138.91, 2, "[Xe] 5d1 6s2", 2, 5},
    {58, "Ce", "cerium", 140, 139.905484, 140.12, 2, "[Xe] 4f2 6s2", 4, 7},
    {61, "Pm", "prometium", 145, 144.907, 0.0, 2, "[Xe] 4f5 6s2", 7, 7},
    {71, "Lu", "lutetium", 175, 174.940796, 174.97, 2, "[Xe] 4f14 5d1 6s2", 17, 7},
    {72, "Hf", "hafnium", 180, 179.946575, 178.49, 2, "[Xe] 4f14 5d2 6s2", 3, 5},
    {89, "Ac", "actinum", 227, 227.0278, 0.0, 2, "[Rn] 6d1 7s2", 2, 6},
    {90, "Th", "thorium", 232, 232.038074, 232.038, 2, "[Rn] 6d2 7s2", 4, 8},
    {100, "Fm", "fermium", 257, 257.093, 0.0, 2, "[Rn] 5f12 7s2", 14, 8},
    {103, "Lr", "lawrencium", 256, 256.02, 0.0, 2, "[Rn] 5f14 6d1 7s2", 17, 8},
};

TEST(ElementData, LooksUpEveryColumn) {
  for (const TElemCase& C : ElemCases) {
    SCOPED_TRACE(C.Z);
    EXPECT_EQ(CElemSymb(C.Z), C.Symb);
    EXPECT_EQ(CElemName(C.Z), C.Name);
    EXPECT_EQ(AtomicNumber(C.Symb), C.Z);
    EXPECT_EQ(IntAtWeight(C.Z), C.Nominal);
    EXPECT_DOUBLE_EQ(ExactAtWeight(C.Z), C.Exact);
    EXPECT_DOUBLE_EQ(ChemAtWeight(C.Z), C.Average);
    EXPECT_EQ(NumOuterElectrons(C.Z), C.Outer);
    EXPECT_EQ(ShortElectronConfig(C.Z), C.Config);
    int Col = -1, Row = -1;
    PerSysCoord(C.Z, Col, Row);
    EXPECT_EQ(Col, C.Col);
    EXPECT_EQ(Row, C.Row);
  }
}

TEST(ElementData, OutsideTheTableGivesNothing) {
  for (int Z : {0, -1, 104, 1000}) {
    SCOPED_TRACE(Z);
    EXPECT_EQ(CElemSymb(Z), "");
    EXPECT_EQ(CElemName(Z), "");
    EXPECT_EQ(IntAtWeight(Z), 0);
    EXPECT_EQ(ExactAtWeight(Z), 0.0);
    EXPECT_EQ(ChemAtWeight(Z), 0.0);
    EXPECT_EQ(VDWRadius(Z), 0.0);
    EXPECT_EQ(NumOuterElectrons(Z), 0);
    EXPECT_EQ(ShortElectronConfig(Z), "");
    EXPECT_EQ(FullElectronConfig(Z), "");
    int Col = 5, Row = 5;
    PerSysCoord(Z, Col, Row);
    EXPECT_EQ(Col, 0);
    EXPECT_EQ(Row, 0);
  }
}

TEST(ElementData, SymbolsAreCaseSensitive) {
  EXPECT_EQ(AtomicNumber("Cl"), 17);
  EXPECT_EQ(AtomicNumber("cl"), 0);
  EXPECT_EQ(AtomicNumber("CL"), 0);
  EXPECT_EQ(AtomicNumber("D"), 0);
  EXPECT_EQ(AtomicNumber(""), 0);
  EXPECT_EQ(AtomicNumber("C "), 0);
}

TEST(ElementData, VanDerWaalsRadiiExistUpToIodine) {
  const std::pair<int, double> Cases[] = {{1, 1.20}, {2, 0.0},  {5, 0.98},  {6, 1.80},
                                          {9, 1.35}, {14, 1.38}, {33, 2.00}, {35, 1.95},
                                          {51, 2.20}, {53, 2.15}, {54, 0.0}, {26, 0.0}};
  for (auto [Z, R] : Cases) EXPECT_DOUBLE_EQ(VDWRadius(Z), R) << Z;
}

TEST(ElementData, FullConfigurationsExpandTheCore) {
  EXPECT_EQ(FullElectronConfig(1), "1s1");
  EXPECT_EQ(FullElectronConfig(2), "1s2");
  EXPECT_EQ(FullElectronConfig(3), "1s2 2s1");
  EXPECT_EQ(FullElectronConfig(26), "1s2 2s2 2p6 3s2 3p6 3d6 4s2");
  EXPECT_EQ(FullElectronConfig(103),
            "1s2 2s2 2p6 3s2 3p6 3d10 4s2 4p6 4d10 5s2 5p6 4f14 5d10 6s2 6p6 5f14 6d1 7s2");
}

// Checks the table against facts that do not come from it: a neutral atom has as many
// electrons as protons, a subshell holds at most 2(2l+1) electrons, a mass number is never
// below the atomic number and lies within 0.1 u of the isotope's mass, and each element
// has a cell of its own.
TEST(ElementData, TableAgreesWithIndependentFacts) {
  std::set<std::pair<int, int>> Cells;
  for (int Z = 1; Z <= MaxElem; ++Z) {
    SCOPED_TRACE(Z);
    std::istringstream In(FullElectronConfig(Z));
    std::string Shell;
    int Electrons = 0;
    while (In >> Shell) {
      ASSERT_GE(Shell.size(), 3u);
      ASSERT_TRUE(isdigit(static_cast<unsigned char>(Shell[0])));
      const std::string Letters = "spdf";
      const size_t L = Letters.find(Shell[1]);
      ASSERT_NE(L, std::string::npos) << Shell;
      ASSERT_LT(static_cast<int>(L), Shell[0] - '0') << Shell;
      const int Count = std::stoi(Shell.substr(2));
      EXPECT_LE(Count, 2 * (2 * static_cast<int>(L) + 1)) << Shell;
      Electrons += Count;
    }
    EXPECT_EQ(Electrons, Z);
    EXPECT_LE(ShortElectronConfig(Z).size(), 22u);
    EXPECT_LE(CElemName(Z).size(), 12u);
    const std::string S = CElemSymb(Z);
    ASSERT_TRUE(S.size() == 1 || S.size() == 2);
    EXPECT_TRUE(isupper(static_cast<unsigned char>(S[0])));
    EXPECT_EQ(AtomicNumber(S), Z);
    EXPECT_GE(IntAtWeight(Z), Z);
    EXPECT_NEAR(ExactAtWeight(Z), IntAtWeight(Z), 0.1);
    int Col = -1, Row = -1;
    PerSysCoord(Z, Col, Row);
    EXPECT_TRUE(Col >= 0 && Col < 18 && Row >= 0 && Row < 9);
    EXPECT_TRUE(Cells.insert({Col, Row}).second) << "cell shared at " << Col << "," << Row;
  }
}

TEST(CASNumbers, CheckDigit) {
  const std::pair<int64_t, bool> Cases[] = {
      {7732185, true},      // water
      {71432, true},        // benzene
      {64175, true},        // ethanol
      {50000, true},        // formaldehyde
      {7732184, false},
      {64176, false},
      {0, true},
      {5, false},
      {1234567895, true},   // ten digits
      {2147483654, true},   // beyond 2^31
      {2147483655, false},
      {-7732185, false},
  };
  for (auto [Nr, Ok] : Cases) EXPECT_EQ(CheckCASNr(Nr), Ok) << Nr;
}

TEST(CASNumbers, Formatting) {
  EXPECT_EQ(FormatCASNr(7732185), "7732-18-5");
  EXPECT_EQ(FormatCASNr(50000), "50-00-0");
  EXPECT_EQ(FormatCASNr(5), "0-00-5");
  EXPECT_EQ(FormatCASNr(0), "0-00-0");
  EXPECT_EQ(FormatCASNr(71432), "71-43-2");
  EXPECT_EQ(FormatCASNr(2147483654), "2147483-65-4");
}

TEST(CASNumbers, ConversionFromText) {
  struct TCase {
    const char* Text;
    bool Result;
    int64_t Stored;  // -1: the out-parameter is left unchanged
  };
  const TCase Cases[] = {
      {"7732-18-5", true, 7732185},
      {"  7732-18-5 ", true, 7732185},
      {"71-43-2", true, 71432},
      {"64-17-5", true, 64175},
      {"2147483-65-4", true, 2147483654},
      {"1234567-89-5", true, 1234567895},
      {"7732-18-4", false, 7732184},   // a number, wrong check digit
      {"-12-3", false, 123},           // a hyphen may stand first
      {"773-218-5", false, -1},
      {"7732185", false, -1},
      {"7732-18-5-", false, -1},
      {"7732-1-85", false, -1},
      {"7732-18-55", false, -1},
      {"", false, -1},
      {"   ", false, -1},
      {"77a2-18-5", false, -1},
      {"+772-18-5", false, -1},
      {"7732-1 -5", false, -1},
      {"77\t2-18-5", false, -1},
      {"99999999999999999-99-9", false, -1},  // beyond 64 bits
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Text);
    int64_t Nr = -1;
    EXPECT_EQ(ConvertStrToCASNr(C.Text, Nr), C.Result);
    EXPECT_EQ(Nr, C.Stored);
  }
}

TEST(NameCompression, UsesTheDictionaryInOrder) {
  EXPECT_EQ(CompressChemName("Ethylbenzene"), "\xA1\xDF\xFB" "e");
  EXPECT_EQ(CompressChemName("METHOXY"), "\x82");
  EXPECT_EQ(CompressChemName(""), "");
  EXPECT_EQ(DeCompressChemName(""), "");
  EXPECT_EQ(DeCompressChemName("\xA1\xDF\xFB" "e"), "ethylbenzene");
  EXPECT_EQ(DeCompressChemName("\x80\xFF"), "benzoylin");
}

TEST(NameCompression, RoundTripGivesTheLowerCaseName) {
  for (const char* Name : {"2,4,6-Trinitrotoluene", "Acetylsalicylic acid", "Chloroform",
                           "Tetrahydrofuran", "N,N-Dimethylformamide", "1,3-Butadiene",
                           "Phenolphthalein", "xyz 123 !?", "Cyclohexanone oxime"}) {
    const std::string C = CompressChemName(Name);
    std::string Lower = Name;
    for (char& Ch : Lower) Ch = static_cast<char>(tolower(static_cast<unsigned char>(Ch)));
    EXPECT_EQ(DeCompressChemName(C), Lower) << Name;
    EXPECT_LE(C.size(), Lower.size());
  }
}

}  // namespace
}  // namespace nuv
