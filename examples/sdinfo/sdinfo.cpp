// sdinfo: reads an SD file (a path, or "-" for standard input) and prints one JSON object
// per record on a line of its own.
//
// A record that was read:
//   "index"      record number, from 1
//   "name"       the record's first line (Windows-1252, printed as UTF-8)
//   "cas"        registry number from a "> <CAS_RN>" or "> <CASREGNR>" item ("" when none)
//   "faulty"     true when the record was read with faults (a bond type above 4 read as
//                single, a bond to a missing atom left out, a number that did not convert)
//   "atoms"      [{"element": symbol ("*" for an unknown one), "charge": formal charge,
//                  "isotope": mass number when it is not the element's principal isotope,
//                  else 0, "mass": mass number, "h": hydrogens bonded (explicit and
//                  implicit), "x", "y", "z": coordinates as the reader rescales them,
//                  whole numbers 0..32767}]
//   "bonds"      [{"a1", "a2": atom numbers from 1 (a1 < a2), "type": 1 single, 2 double,
//                  3 triple, 4 aromatic}]
//   "formula"    molecular formula in Hill order (C, H, then the others alphabetically;
//                without carbon all alphabetically), implicit hydrogens included,
//                isotopes merged, no charge
//   "charge"     sum of the formal charges
//   "weight"     average molecular weight
//   "rings"      sizes of the rings of the smallest set of smallest rings, in ring order
//   "attributes" per atom the attribute bits: 1 chain, 2 ring of 3/4 or more than 6
//                atoms, 4 ring of 5, 8 ring of 6, 16 branch, 32 ring, 64 terminal chain
//                atom, 128 in more than one ring
//   "data"       the known numeric data items of the record, {"MELTP": 16.6, ...}
// A record that was not read: {"index": n, "error": text}. The tool goes on with the
// next record. Exit code 0, or 1 when the file cannot be read at all.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <string>
#include <unistd.h>

#include "chem/NUV_CData.h"
#include "chem/NUV_cstruct.h"
#include "platform/NUV_SysUtils.h"

using namespace nuv;

namespace {

std::string JsonString(const std::string& Ansi) {
  const std::string S = AnsiToUtf8(Ansi);
  std::string R = "\"";
  for (unsigned char C : S) {
    if (C == '"' || C == '\\') {
      R += '\\';
      R += static_cast<char>(C);
    } else if (C < 0x20 || C == 0x7F) {
      char B[8];
      std::snprintf(B, sizeof B, "\\u%04x", C);
      R += B;
    } else {
      R += static_cast<char>(C);
    }
  }
  return R + "\"";
}

std::string Num(double V, const char* Format = "%.10g") {
  char B[64];
  std::snprintf(B, sizeof B, Format, V);
  return B;
}

std::string HillFormula(const TCTab& T) {
  TFormulaRec F;
  if (!T.CalcMolecularFormula(F)) return "";
  std::map<std::string, int> Count;
  int C = 0, H = 0;
  for (int E = 0; E < F.NEntries; ++E) {
    if (F.AtNum[E] == 6) C += F.AtCnt[E];
    else if (F.AtNum[E] == 1) H += F.AtCnt[E];
    else Count[F.AtNum[E] ? CElemSymb(F.AtNum[E]) : "*"] += F.AtCnt[E];
  }
  auto Part = [](const std::string& Symb, int N) {
    return N <= 0 ? std::string() : N == 1 ? Symb : Symb + std::to_string(N);
  };
  std::string R;
  if (C > 0) R = Part("C", C) + Part("H", H);
  else if (H > 0) Count["H"] += H;
  for (const auto& [Symb, N] : Count) R += Part(Symb, N);
  return R;
}

std::string RecordJson(int Index, TCTab& T, const TPropRec& Props, bool Faulty) {
  std::string J = "{\"index\": " + std::to_string(Index) + ", \"name\": " +
                  JsonString(T.GetStrucName()) + ", \"cas\": " +
                  JsonString(T.GetCASNr() == "0-00-0" ? "" : T.GetCASNr()) +
                  ", \"faulty\": " + (Faulty ? "true" : "false") + ", \"atoms\": [";
  int Charge = 0;
  for (int I = 1; I <= T.GetNAtoms(); ++I) {
    const int Z = T.GetAtNum(I), W = T.GetAtWeight(I);
    Charge += T.GetCharge(I);
    const std::string Symb = CElemSymb(Z);
    J += std::string(I > 1 ? ", " : "") + "{\"element\": " + JsonString(Symb.empty() ? "*" : Symb) +
         ", \"charge\": " + std::to_string(T.GetCharge(I)) +
         ", \"isotope\": " + std::to_string(W != IntAtWeight(Z) ? W : 0) +
         ", \"mass\": " + std::to_string(W) + ", \"h\": " + std::to_string(T.NrHAtoms(I)) +
         ", \"x\": " + Num(T.GetCoords(I, 1)) + ", \"y\": " + Num(T.GetCoords(I, 2)) +
         ", \"z\": " + Num(T.GetCoords(I, 3)) + "}";
  }
  J += "], \"bonds\": [";
  bool First = true;
  for (int I = 1; I <= T.GetNAtoms(); ++I)
    for (int K = 1; K <= T.GetNBonds(I); ++K) {
      const int A = T.GetConnTo(I, K);
      if (A < I) continue;
      J += std::string(First ? "" : ", ") + "{\"a1\": " + std::to_string(I) + ", \"a2\": " +
           std::to_string(A) + ", \"type\": " + std::to_string(T.GetTypConn(I, K)) + "}";
      First = false;
    }
  J += "], \"formula\": " + JsonString(HillFormula(T)) + ", \"charge\": " + std::to_string(Charge) +
       ", \"weight\": " + Num(T.CalcChemMolWeight(), "%.4f") + ", \"rings\": [";
  RingListType Rings;
  T.FindSSSR(Rings);
  for (int R = 0; R < Rings.NRings; ++R)
    J += std::string(R ? ", " : "") + std::to_string(Rings.Rings[R].NAtoms);
  T.CalcAttributes();
  J += "], \"attributes\": [";
  for (int I = 1; I <= T.GetNAtoms(); ++I)
    J += std::string(I > 1 ? ", " : "") + std::to_string(T.GetAttrib(I));
  J += "], \"data\": {";
  First = true;
  for (const TPropEntry& P : Props.Items) {
    if (P.Name.empty()) continue;
    J += std::string(First ? "" : ", ") + JsonString(P.Name) + ": " + Num(P.Value);
    First = false;
  }
  return J + "}}";
}

// The number of records: "$$$$" lines, and a last record without one if it holds text.
int CountRecords(const std::string& Bytes) {
  int N = 0;
  bool Text = false;
  size_t P = 0;
  while (P < Bytes.size()) {
    size_t E = Bytes.find('\n', P);
    if (E == std::string::npos) E = Bytes.size();
    std::string Line = Bytes.substr(P, E - P);
    if (!Line.empty() && Line.back() == '\r') Line.pop_back();
    if (Line == "$$$$") {
      ++N;
      Text = false;
    } else if (Line.find_first_not_of(" \t\r") != std::string::npos) {
      Text = true;
    }
    P = E + 1;
  }
  return N + (Text ? 1 : 0);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: sdinfo FILE.sdf | -\n";
    return 2;
  }
  const std::string Arg = argv[1];
  std::string Bytes;
  std::string Path = Arg;
  std::string TempPath;
  if (Arg == "-") {
    Bytes.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    char Name[] = "/tmp/sdinfo-XXXXXX";
    const int Fd = mkstemp(Name);
    if (Fd < 0) {
      std::cout << "{\"error\": \"cannot buffer the standard input\"}\n";
      return 1;
    }
    close(Fd);
    TempPath = Path = Name;
    std::ofstream(Path, std::ios::binary).write(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
  } else {
    std::ifstream In(Path, std::ios::binary);
    Bytes.assign(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
  }
  int Exit = 0;
  try {
    TTextFile F(Path);
    F.Reset();
    TCTab T(nullptr);
    bool Read = false;
    T.OnChange = [&Read](TObject*) { Read = true; };
    const int N = CountRecords(Bytes);
    for (int Index = 1; Index <= N && !F.Eof(); ++Index) {
      TPropRec Props;
      Read = false;
      const bool Ok = T.ReadFromMDLSDFile(F, &Props);
      if (Read)
        std::cout << RecordJson(Index, T, Props, !Ok) << "\n";
      else
        std::cout << "{\"index\": " << Index
                  << ", \"error\": \"structure not read: atom count outside 1..63, or the "
                     "record ends inside its atom or bond block\"}\n";
    }
  } catch (const std::exception& E) {
    std::cout << "{\"error\": " << JsonString(E.what()) << "}\n";
    Exit = 1;
  }
  if (!TempPath.empty()) std::remove(TempPath.c_str());
  return Exit;
}
