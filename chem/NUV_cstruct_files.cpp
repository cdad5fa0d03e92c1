// Structure files: MDL connection tables, molfiles and SD records, the two clear-text
// formats, and the writers.
//
// Every reader fills a private table first and takes it over only when a whole structure
// was read, so that a refused or truncated record leaves the table as it was.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>
#include <algorithm>

#include "chem/NUV_CData.h"
#include "chem/NUV_cstruct.h"
#include "contracts/base/NUV_Base.h"
#include "platform/NUV_SysUtils.h"

namespace nuv {

const char* const SDDataItemNames[NrSDDataItems] = {
    "MELTP", "BOILP", "DENSI", "REFRX", "LGKOC", "ACCOF", "WAALA", "WAALB", "WSOLU", "DHF0",
    "DFF0",  "LOGKF", "ENTR0", "LOGHY", "DIPOL", "HEATV", "MOLVL", "RETIX", "CRITT", "POLAR"};

namespace {

constexpr int MaxBonds = MaxAtoms * MaxConn / 2;
// Coordinates beyond this are taken as invalid numbers: rescaling must stay finite.
constexpr double MaxCoord = 1e12;

// ---------------------------------------------------------------- numbers

bool IsBlank(char C) { return C == ' ' || C == '\t'; }

std::string StripBlanks(const std::string& S) {
  size_t B = 0, E = S.size();
  while (B < E && IsBlank(S[B])) ++B;
  while (E > B && IsBlank(S[E - 1])) --E;
  return S.substr(B, E - B);
}

// A whole token as a decimal integer or a finite real ("nan", "inf" and numbers out of
// range are not numbers).
bool ParseInt(std::string T, int64_t& V) {
  if (!T.empty() && T[0] == '+') T.erase(0, 1);
  int64_t R = 0;
  const auto [P, Ec] = std::from_chars(T.data(), T.data() + T.size(), R);
  if (T.empty() || Ec != std::errc() || P != T.data() + T.size()) return false;
  V = R;
  return true;
}

bool ParseReal(std::string T, double& V) {
  if (!T.empty() && T[0] == '+') T.erase(0, 1);
  double R = 0;
  const auto [P, Ec] = std::from_chars(T.data(), T.data() + T.size(), R, std::chars_format::general);
  if (T.empty() || Ec != std::errc() || P != T.data() + T.size() || !std::isfinite(R)) return false;
  V = R;
  return true;
}

// Columns From..To (1-based) of a line; short lines give what they have.
std::string Columns(const std::string& L, size_t From, size_t To) {
  if (L.size() < From) return {};
  return L.substr(From - 1, To - From + 1);
}

// A fixed-column field: blanks read as 0; false for anything that is not a number.
bool IntField(const std::string& L, size_t From, size_t To, int64_t& V) {
  const std::string T = StripBlanks(Columns(L, From, To));
  V = 0;
  return T.empty() || ParseInt(T, V);
}

bool RealField(const std::string& L, size_t From, size_t To, double& V) {
  const std::string T = StripBlanks(Columns(L, From, To));
  V = 0;
  return T.empty() || (ParseReal(T, V) && std::fabs(V) <= MaxCoord) || (V = 0, false);
}

// Free-format numbers within one line.
class TLineScan {
 public:
  explicit TLineScan(const std::string& L) : FL(L) {}
  std::string Token() {
    while (FPos < FL.size() && IsBlank(FL[FPos])) ++FPos;
    const size_t B = FPos;
    while (FPos < FL.size() && !IsBlank(FL[FPos])) ++FPos;
    return FL.substr(B, FPos - B);
  }
  std::string Take(size_t N) {
    const std::string S = FL.substr(std::min(FPos, FL.size()), N);
    FPos += S.size();
    return S;
  }
  // A missing number (the line has ended) reads as 0; false for a token that is not one.
  bool Int(int64_t& V) {
    const std::string T = Token();
    V = 0;
    return T.empty() || ParseInt(T, V) || (V = 0, false);
  }
  bool Real(double& V) {
    const std::string T = Token();
    V = 0;
    return T.empty() || (ParseReal(T, V) && std::fabs(V) <= MaxCoord) || (V = 0, false);
  }

 private:
  const std::string& FL;
  size_t FPos = 0;
};

// ---------------------------------------------------------------- lines in and out

class TLineSource {
 public:
  virtual ~TLineSource() = default;
  virtual bool Next(std::string& L) = 0;  // false at the end
  virtual int Peek() = 0;                 // the next character, -1 at the end
};

class TFileLines : public TLineSource {
 public:
  explicit TFileLines(TTextFile& F) : FF(F) {}
  bool Next(std::string& L) override {
    if (FF.Eof()) return false;
    L = FF.ReadLn();
    return true;
  }
  int Peek() override { return FF.PeekChar(); }

 private:
  TTextFile& FF;
};

class TStreamLines : public TLineSource {
 public:
  explicit TStreamLines(TStream& S) : FS(S) {}
  bool Next(std::string& L) override {
    if (FS.GetPosition() >= FS.GetSize()) return false;
    bool AtEnd = false;
    L = ReadLnStream(FS, AtEnd, 0);
    return true;
  }
  int Peek() override {
    uint8_t B = 0;
    if (FS.Read(&B, 1) != 1) return -1;
    FS.Seek(-1, soCurrent);
    return B;
  }

 private:
  TStream& FS;
};

class TLineSink {
 public:
  virtual ~TLineSink() = default;
  virtual void Line(const std::string& L) = 0;
};

class TFileSink : public TLineSink {
 public:
  explicit TFileSink(TTextFile& F) : FF(F) {}
  void Line(const std::string& L) override { FF.WriteLn(L); }

 private:
  TTextFile& FF;
};

class TStreamSink : public TLineSink {
 public:
  explicit TStreamSink(TStream& S) : FS(S) {}
  void Line(const std::string& L) override { WriteLnStream(FS, L); }

 private:
  TStream& FS;
};

template <typename... Args>
std::string Fmt(const char* Format, Args... A) {
  char Buf[256];
  const int N = std::snprintf(Buf, sizeof Buf, Format, A...);
  return std::string(Buf, static_cast<size_t>(std::max(0, std::min(N, static_cast<int>(sizeof Buf) - 1))));
}

// ---------------------------------------------------------------- the structure being read

struct TReading {
  TCTab T{nullptr};
  double XYZ[MaxAtoms][3] = {};
  int NAtoms = 0;
  int NBonds = 0;
  bool Faulty = false;
  bool ChargesSet = false;  // an "M  CHG" line was met
};

bool ReadCounts(const std::string& L, TReading& R) {
  int64_t N = 0, M = 0;
  if (!IntField(L, 1, 3, N) || !IntField(L, 4, 6, M)) return false;
  if (N < 1 || N > MaxAtoms || M < 0 || M > MaxBonds) return false;
  R.NAtoms = static_cast<int>(N);
  R.NBonds = static_cast<int>(M);
  return true;
}

// Appends an atom read from an MDL atom line.
void AddMDLAtom(TReading& R, const double XYZ[3], const std::string& Symbol, int64_t MassDiff,
                int64_t ChargeCode) {
  CTElem E;
  E.AtNum = static_cast<uint8_t>(AtomicNumber(Symbol));
  const int64_t Weight = IntAtWeight(E.AtNum) + MassDiff;
  if (Weight < 0 || Weight > UINT16_MAX) {
    R.Faulty = true;
    E.AtWeight = static_cast<uint16_t>(IntAtWeight(E.AtNum));
  } else {
    E.AtWeight = static_cast<uint16_t>(Weight);
  }
  int64_t Charge = ChargeCode >= 1 && ChargeCode <= 7 ? 4 - ChargeCode : ChargeCode;
  if (Charge < INT8_MIN || Charge > INT8_MAX) {
    R.Faulty = true;
    Charge = 0;
  }
  E.Charge = static_cast<int8_t>(Charge);
  const int I = R.T.GetNAtoms();
  for (int C = 0; C < 3; ++C) R.XYZ[I][C] = XYZ[C];
  R.T.AddAtom(E);
}

// Enters a bond at its first atom; bad atom numbers leave it out, a bad type makes it
// single, and either makes the record faulty.
void AddMDLBond(TReading& R, bool Valid, int64_t A, int64_t B, int64_t Type) {
  if (!Valid || A < 1 || A > R.NAtoms || B < 1 || B > R.NAtoms || A == B) {
    R.Faulty = true;
    return;
  }
  if (Type < 1 || Type > 4) {
    R.Faulty = true;
    Type = btSingle;
  }
  R.T.EnterConn(static_cast<int>(A), static_cast<int>(B), static_cast<int>(Type));
}

// "M  CHG" lines (the first one clears the charges of the atom block) and "M  ISO" lines
// (isotope masses of the atoms listed); true for "M  END".
bool ApplyPropertyLine(const std::string& L, TReading& R) {
  if (L.rfind("M  END", 0) == 0) return true;
  const bool Chg = L.rfind("M  CHG", 0) == 0, Iso = L.rfind("M  ISO", 0) == 0;
  if (!Chg && !Iso) return false;
  TCTab& T = R.T;
  if (Chg && !R.ChargesSet) {
    for (int I = 1; I <= T.GetNAtoms(); ++I) T.SetCharge(I, 0);
    R.ChargesSet = true;
  }
  const std::string Rest = L.substr(6);
  TLineScan S(Rest);
  int64_t N = 0;
  if (!S.Int(N) || N < 1 || N > 8) {
    R.Faulty = true;
    return false;
  }
  for (int K = 0; K < N; ++K) {
    int64_t A = 0, V = 0;
    const bool Ok = S.Int(A) && S.Int(V) && A >= 1 && A <= T.GetNAtoms() &&
                    (Chg ? V >= INT8_MIN && V <= INT8_MAX : V >= 1 && V <= UINT16_MAX);
    if (!Ok) {
      R.Faulty = true;
      continue;
    }
    if (Chg)
      T.SetCharge(static_cast<int>(A), static_cast<int8_t>(V));
    else
      T.SetAtWeight(static_cast<int>(A), static_cast<int>(V));
  }
  return false;
}

bool Lists(const TCTab& T, int A, int B) {
  for (int K = 1; K <= T.GetNBonds(A); ++K)
    if (T.GetConnTo(A, K) == B) return true;
  return false;
}

// Bonds recorded at one atom only (a full neighbour list refused the other side) are
// taken out.
void DropOneSidedBonds(TReading& R) {
  TCTab& T = R.T;
  for (int I = 1; I <= T.GetNAtoms(); ++I)
    for (int K = T.GetNBonds(I); K >= 1; --K) {
      const int J = T.GetConnTo(I, K);
      if (!Lists(T, J, I)) {
        T.MakeConnection(I, J, 0);
        R.Faulty = true;
      }
    }
}

// Whole numbers 0..32767: x spans 800 or y 600 units, whichever scale is larger, reduced
// so that no coordinate exceeds 32767.
void RescaleCoords(TReading& R) {
  const int N = R.T.GetNAtoms();
  double Min[3] = {1e10, 1e10, 1e10}, Max[3] = {-1e10, -1e10, -1e10};
  for (int I = 0; I < N; ++I)
    for (int C = 0; C < 3; ++C) {
      Min[C] = std::min(Min[C], R.XYZ[I][C]);
      Max[C] = std::max(Max[C], R.XYZ[I][C]);
    }
  const double SX = Max[0] - Min[0] > 1e-6 ? 800.0 / (Max[0] - Min[0]) : 0.0;
  const double SY = Max[1] - Min[1] > 1e-6 ? 600.0 / (Max[1] - Min[1]) : 0.0;
  double S = std::max(SX, SY);
  for (int I = 0; I < N; ++I)
    for (int C = 0; C < 3; ++C) {
      const double D = R.XYZ[I][C] - Min[C];
      if (D * S > 32767.0) S = 32767.0 / D;
    }
  for (int I = 0; I < N; ++I)
    for (int C = 0; C < 3; ++C)
      R.T.SetCoords(I + 1, C + 1, static_cast<float>(std::nearbyint((R.XYZ[I][C] - Min[C]) * S)));
}

void FinishMDL(TReading& R) {
  R.T.MakeSymmetricConnections();
  DropOneSidedBonds(R);
  RescaleCoords(R);
}

// The fixed-column connection table from its counts line; false when it is refused or
// ends early.
bool ReadMDLCTab(TLineSource& In, TReading& R) {
  std::string L;
  if (!In.Next(L) || !ReadCounts(L, R)) return false;
  for (int I = 0; I < R.NAtoms; ++I) {
    if (!In.Next(L)) return false;
    double XYZ[3];
    int64_t MassDiff = 0, ChargeCode = 0;
    bool Ok = RealField(L, 1, 10, XYZ[0]);
    Ok = RealField(L, 11, 20, XYZ[1]) && Ok;
    Ok = RealField(L, 21, 30, XYZ[2]) && Ok;
    Ok = IntField(L, 35, 36, MassDiff) && Ok;
    Ok = IntField(L, 37, 39, ChargeCode) && Ok;
    if (!Ok) R.Faulty = true;
    AddMDLAtom(R, XYZ, StripBlanks(Columns(L, 32, 34)), MassDiff, ChargeCode);
  }
  for (int J = 0; J < R.NBonds; ++J) {
    if (!In.Next(L)) return false;
    int64_t A = 0, B = 0, Type = 0;
    const bool Ok = IntField(L, 1, 3, A) && IntField(L, 4, 6, B) && IntField(L, 7, 9, Type);
    AddMDLBond(R, Ok, A, B, Type);
  }
  // The property block up to "M  END": "M  " lines, "V  " lines, and alias and group
  // lines ("A  ", "G  "), each of which is followed by a line of text.
  for (int C = In.Peek(); (C == 'M' || C == 'V' || C == 'A' || C == 'G') && In.Next(L);
       C = In.Peek()) {
    if (L.rfind("A  ", 0) == 0 || L.rfind("G  ", 0) == 0) {
      In.Next(L);
      continue;
    }
    if (ApplyPropertyLine(L, R)) break;
  }
  FinishMDL(R);
  return true;
}

bool ReadMDLMol(TLineSource& In, TReading& R) {
  std::string Name, L;
  if (!In.Next(Name) || !In.Next(L) || !In.Next(L) || !ReadMDLCTab(In, R)) return false;
  R.T.SetStrucName(Name);
  return true;
}

// ---------------------------------------------------------------- clear text

// Scans for "/" followed by a keyword (up to a blank, a line end or 8 characters) that
// contains Key; true when found, the file then positioned after the keyword.
bool FindKeyword(TTextFile& F, const std::string& Key) {
  while (!F.Eof()) {
    if (F.ReadChar() != '/') continue;
    std::string Word;
    while (Word.size() < 8 && !F.Eof() && !F.Eoln()) {
      const char C = F.ReadChar();
      Word += C;
      if (C == ' ') break;
    }
    if (Word.find(Key) != std::string::npos) return true;
  }
  return false;
}

bool ReadFreeInt(TTextFile& F, int64_t& V, int64_t Lo, int64_t Hi) {
  return F.ReadInteger(V, false) && V >= Lo && V <= Hi;
}

// L, N and the name lines of a clear-text body (NameLines(L, N) of them).
template <typename TNameLines>
bool ReadClearTextHead(TTextFile& F, TReading& R, TNameLines NameLines) {
  if (F.Eof()) return false;
  int64_t L = 0, N = 0;
  if (!ReadFreeInt(F, L, 1, INT32_MAX) || !ReadFreeInt(F, N, 0, MaxAtoms)) return false;
  F.ReadLn();
  const int64_t Names = NameLines(L, N);
  if (Names < 0) return false;
  std::string Name;
  for (int64_t K = 0; K < Names; ++K) {
    if (F.Eof()) return false;
    const std::string Line = F.ReadLn();
    if (!Line.empty()) Name += Line.substr(1);
  }
  R.T.SetStrucName(Name);
  R.NAtoms = static_cast<int>(N);
  return true;
}

// The fields of one clear-text atom record up to its coordinates; out-of-range values
// read as 0 and make the record faulty. False when the text holds no number.
bool ReadClearTextAtom(TTextFile& F, TReading& R, CTElem& E, int NCoords) {
  int64_t Z = 0, Mass = 0, Attr = 0, Charge = 0;
  if (!F.ReadInteger(Z, false) || !F.ReadInteger(Mass, false) || !F.ReadInteger(Attr, false) ||
      !F.ReadInteger(Charge, false))
    return false;
  auto InRange = [&R](int64_t V, int64_t Lo, int64_t Hi) {
    if (V >= Lo && V <= Hi) return V;
    R.Faulty = true;
    return int64_t{0};
  };
  E.AtNum = static_cast<uint8_t>(InRange(Z, 0, MaxElem));
  E.AtWeight = static_cast<uint16_t>(InRange(Mass, 0, UINT16_MAX));
  E.Attrib = static_cast<uint8_t>(InRange(Attr, 0, UINT8_MAX));
  E.Charge = static_cast<int8_t>(InRange(Charge, INT8_MIN, INT8_MAX));
  for (int C = 0; C < NCoords; ++C) {
    double V = 0;
    if (!F.ReadFloat(V, false)) return false;
    if (std::fabs(V) > 3.0e38) {
      R.Faulty = true;
      V = 0;
    }
    E.Coords[C] = static_cast<float>(V);
  }
  return true;
}

// K neighbours then K bond types; neighbours outside 1..N or equal to Self are left
// out, and so are those beyond the tenth.
bool ReadClearTextBonds(TTextFile& F, TReading& R, CTElem& E, int Self, int K) {
  int64_t Nb[MaxAtoms], Ty[MaxAtoms];
  for (int I = 0; I < K; ++I)
    if (!F.ReadInteger(Nb[I], false)) return false;
  for (int I = 0; I < K; ++I)
    if (!F.ReadInteger(Ty[I], false)) return false;
  int Used = 0;
  for (int I = 0; I < K; ++I) {
    if (Nb[I] == 0) continue;  // a free slot
    if (Nb[I] < 1 || Nb[I] > R.NAtoms || Nb[I] == Self || Ty[I] < 0 || Ty[I] > UINT8_MAX ||
        Used >= MaxConn) {
      R.Faulty = true;
      continue;
    }
    E.ConnTo[Used] = static_cast<uint8_t>(Nb[I]);
    E.TypConn[Used++] = static_cast<uint8_t>(Ty[I]);
  }
  return true;
}

// ---------------------------------------------------------------- writing

// The bonds once each (first atom < second), with the type recorded at the first atom.
struct TBond {
  int A, B, Type;
};

std::vector<TBond> BondList(const TCTab& T) {
  std::vector<TBond> Bonds;
  for (int I = 1; I <= T.GetNAtoms(); ++I)
    for (int K = 1; K <= T.GetNBonds(I); ++K) {
      const int J = T.GetConnTo(I, K);
      if (J > I)
        Bonds.push_back({I, J, T.GetTypConn(I, K)});
      else if (!Lists(T, J, I))
        Bonds.push_back({J, I, T.GetTypConn(I, K)});
    }
  return Bonds;
}

// A text for one line of a file: line breaks become blanks.
std::string OneLine(std::string S) {
  for (char& C : S)
    if (C == '\r' || C == '\n') C = ' ';
  return S;
}

std::string MDLSymbol(int AtNum) {
  const std::string S = CElemSymb(AtNum);
  return S.empty() ? "*" : S;
}

// Property lines of eight entries each.
void WritePropertyLines(TLineSink& Out, const char* Tag, const std::vector<std::pair<int, int>>& E) {
  for (size_t B = 0; B < E.size(); B += 8) {
    const size_t N = std::min<size_t>(8, E.size() - B);
    std::string L = Fmt("M  %s%3d", Tag, static_cast<int>(N));
    for (size_t K = B; K < B + N; ++K) L += Fmt(" %3d %3d", E[K].first, E[K].second);
    Out.Line(L);
  }
}

void WriteMDLCTab(const TCTab& T, TLineSink& Out) {
  const int N = T.GetNAtoms();
  const std::vector<TBond> Bonds = BondList(T);
  // Coordinates are written as they are when they fit the 10-column fields; otherwise
  // shifted and scaled alike (readers rescale them anyway).
  double Min[3] = {0, 0, 0}, Lo = 0, Hi = 0;
  for (int I = 1; I <= N; ++I)
    for (int C = 1; C <= 3; ++C) {
      const double V = T.GetCoords(I, C);
      Lo = std::min(Lo, V);
      Hi = std::max(Hi, V);
      Min[C - 1] = I == 1 ? V : std::min(Min[C - 1], V);
    }
  double Shift[3] = {0, 0, 0}, Scale = 1.0;
  if (Lo < -999.0 || Hi > 9999.0) {
    double Range = 0;
    for (int I = 1; I <= N; ++I)
      for (int C = 1; C <= 3; ++C) Range = std::max(Range, T.GetCoords(I, C) - Min[C - 1]);
    for (int C = 0; C < 3; ++C) Shift[C] = Min[C];
    Scale = Range > 9999.0 ? 9999.0 / Range : 1.0;
  }
  Out.Line(Fmt("%3d%3d  0  0  0  0  0  0  0  0999 V2000", N, static_cast<int>(Bonds.size())));
  std::vector<std::pair<int, int>> Charges, Isotopes;
  for (int I = 1; I <= N; ++I) {
    const int Z = T.GetAtNum(I);
    const int Charge = T.GetCharge(I);
    // Mass 0 stands for the natural element.
    const int Diff = T.GetAtWeight(I) == 0 ? 0 : T.GetAtWeight(I) - IntAtWeight(Z);
    const int Code = Charge >= -3 && Charge <= 3 && Charge != 0 ? 4 - Charge : 0;
    if (Charge != 0) Charges.emplace_back(I, Charge);
    if (Diff != 0) Isotopes.emplace_back(I, T.GetAtWeight(I));
    double XYZ[3];
    for (int C = 0; C < 3; ++C) XYZ[C] = (T.GetCoords(I, C + 1) - Shift[C]) * Scale;
    Out.Line(Fmt("%10.4f%10.4f%10.4f %-3s%2d%3d  0  0  0  0  0  0  0  0  0  0", XYZ[0], XYZ[1],
                 XYZ[2], MDLSymbol(Z).c_str(), Diff >= -9 && Diff <= 99 ? Diff : 0, Code));
  }
  for (const TBond& B : Bonds) Out.Line(Fmt("%3d%3d%3d  0  0  0  0", B.A, B.B, B.Type));
  WritePropertyLines(Out, "CHG", Charges);
  WritePropertyLines(Out, "ISO", Isotopes);
  Out.Line("M  END");
}

void WriteMDLMol(const TCTab& T, TLineSink& Out, std::string& ProgName,
                 const std::string& Initials, int RegNo, const std::string& Comment) {
  if (ProgName.size() > 8) ProgName.resize(8);
  bool ThreeD = false;
  for (int I = 1; I <= T.GetNAtoms(); ++I) ThreeD = ThreeD || T.GetCoords(I, 3) != 0.0f;
  std::string Header = LeftString(Initials, 2) + LeftString(ProgName, 8) +
                       FormatDateTime("mmddyyhhnn", Now()) + (ThreeD ? "3D" : "2D");
  if (RegNo > 0) Header = LeftString(Header, 46) + Fmt("%6d", RegNo);
  Out.Line(OneLine(T.GetStrucName()));
  Out.Line(OneLine(Header));
  Out.Line(OneLine(Comment));
  WriteMDLCTab(T, Out);
}

}  // namespace

// ---------------------------------------------------------------- taking a structure over

void TCTab::TakeStructure(const TCTab& Read) {
  FNAtoms = Read.FNAtoms;
  FStrucName = Read.FStrucName;
  FCASNr = Read.FCASNr;
  FCoordUnit = Read.FCoordUnit;
  for (int I = 0; I < MaxAtoms; ++I) FAtoms[I] = Read.FAtoms[I];
}

// ---------------------------------------------------------------- MDL readers

bool TCTab::ReadFromMDLCTabFile(TTextFile& F) {
  TFileLines In(F);
  TReading R;
  if (!ReadMDLCTab(In, R)) return false;
  TakeStructure(R.T);
  Changed();
  return !R.Faulty;
}

bool TCTab::ReadFromMDLCTabStream(TStream& S) {
  TStreamLines In(S);
  TReading R;
  if (!ReadMDLCTab(In, R)) return false;
  TakeStructure(R.T);
  Changed();
  return !R.Faulty;
}

bool TCTab::ReadFromMDLMolFile(TTextFile& F) {
  TFileLines In(F);
  TReading R;
  if (!ReadMDLMol(In, R)) return false;
  TakeStructure(R.T);
  Changed();
  return !R.Faulty;
}

bool TCTab::ReadFromMDLMolStream(TStream& S) {
  TStreamLines In(S);
  TReading R;
  if (!ReadMDLMol(In, R)) return false;
  TakeStructure(R.T);
  Changed();
  return !R.Faulty;
}

bool TCTab::ReadFromMDLSDFile(TTextFile& F, TPropRec* Props) {
  TFileLines In(F);
  TReading R;
  std::string Name, L;
  // A "$$$$" line ends the record wherever it stands: a record cut short never takes
  // the next one's lines.
  auto Next = [&In](std::string& Line) { return In.Next(Line) && Line != "$$$$"; };
  if (!Next(Name) || !Next(L) || !Next(L) || !Next(L)) return false;
  bool Read = ReadCounts(L, R);
  // The atom and bond blocks in free format, each line on its own.
  for (int I = 0; Read && I < R.NAtoms; ++I) {
    if (!Next(L)) return false;
    TLineScan S(L);
    double XYZ[3];
    int64_t MassDiff = 0, ChargeCode = 0;
    bool Ok = S.Real(XYZ[0]);
    Ok = S.Real(XYZ[1]) && Ok;
    Ok = S.Real(XYZ[2]) && Ok;
    const std::string Symbol = StripBlanks(S.Take(3));
    Ok = S.Int(MassDiff) && Ok;
    Ok = S.Int(ChargeCode) && Ok;
    if (!Ok) R.Faulty = true;
    AddMDLAtom(R, XYZ, Symbol, MassDiff, ChargeCode);
  }
  for (int J = 0; Read && J < R.NBonds; ++J) {
    if (!Next(L)) return false;
    TLineScan S(L);
    int64_t A = 0, B = 0, Type = 0;
    const bool Ok = S.Int(A) && S.Int(B) && S.Int(Type);
    AddMDLBond(R, Ok, A, B, Type);
  }
  if (Props)
    for (TPropEntry& P : Props->Items) P = TPropEntry{};
  // Property lines, data items, up to the end of the record. A value is the first token
  // of the line after its item line; a value line that is the record's end ends it.
  bool PropsDone = !Read;
  bool HaveCAS = false, EndOfRecord = false;
  std::string CAS;
  while (!EndOfRecord && In.Next(L) && L != "$$$$") {
    if (!PropsDone && L.rfind("M  ", 0) == 0) {
      PropsDone = ApplyPropertyLine(L, R);
      continue;
    }
    if (L == "> <CAS_RN>" || L == "> <CASREGNR>") {
      if (!In.Next(L) || L == "$$$$") break;
      CAS = L;
      HaveCAS = true;
      continue;
    }
    if (L.rfind("> <", 0) != 0) continue;
    for (const char* Item : SDDataItemNames) {
      if (L != std::string("> <") + Item + ">") continue;
      std::string V;
      if (!In.Next(V) || V == "$$$$") {
        EndOfRecord = true;
        break;
      }
      TLineScan S(V);
      double Value = 0;
      const std::string T = S.Token();
      if (Props && !T.empty() && ParseReal(T, Value))
        for (TPropEntry& P : Props->Items)
          if (P.Name.empty()) {
            P.Name = Item;
            P.Value = Value;
            break;
          }
      break;
    }
  }
  if (!Read) return false;
  FinishMDL(R);
  R.T.SetStrucName(Name);
  if (HaveCAS) R.T.SetCASNr(CAS);
  TakeStructure(R.T);
  Changed();
  return !R.Faulty;
}

// ---------------------------------------------------------------- clear-text readers

bool TCTab::ReadConnTabBody(TTextFile& F) {
  TReading R;
  if (!ReadClearTextHead(F, R, [](int64_t L, int64_t N) { return L - 2 * N; })) return false;
  for (int I = 1; I <= R.NAtoms; ++I) {
    CTElem E;
    int64_t Seq = 0, K = 0;
    if (!F.ReadInteger(Seq, false) || !ReadClearTextAtom(F, R, E, 3) ||
        !ReadFreeInt(F, K, 0, MaxAtoms) || !ReadClearTextBonds(F, R, E, I, static_cast<int>(K)))
      return false;
    if (!R.T.AddAtom(E)) R.Faulty = true;
  }
  TakeStructure(R.T);
  Changed();
  return !R.Faulty;
}

bool TCTab::ReadFromClearTextFile(TTextFile& F) {
  return FindKeyword(F, "CONTAB") && ReadConnTabBody(F);
}

bool TCTab::ReadFromClearTextFileCTABG(TTextFile& F) {
  if (!FindKeyword(F, "CTABG")) return false;
  TReading R;
  if (!ReadClearTextHead(F, R, [](int64_t L, int64_t N) { return L - N; })) return false;
  for (int I = 1; I <= R.NAtoms; ++I) {
    CTElem E;
    if (!ReadClearTextAtom(F, R, E, 2) || !ReadClearTextBonds(F, R, E, I, 8)) return false;
    if (!R.T.AddAtom(E)) R.Faulty = true;
  }
  TakeStructure(R.T);
  Changed();
  return !R.Faulty;
}

// ---------------------------------------------------------------- writers

void TCTab::WriteToMDLCTabFile(TTextFile& F) const {
  TFileSink Out(F);
  WriteMDLCTab(*this, Out);
}

void TCTab::WriteToMDLCTabStream(TStream& S) const {
  TStreamSink Out(S);
  WriteMDLCTab(*this, Out);
}

void TCTab::WriteToMDLMolFile(TTextFile& F, std::string& ProgName, const std::string& Initials,
                              int RegNo, const std::string& Comment) const {
  TFileSink Out(F);
  WriteMDLMol(*this, Out, ProgName, Initials, RegNo, Comment);
}

void TCTab::WriteToMDLMolStream(TStream& S, std::string& ProgName, const std::string& Initials,
                                int RegNo, const std::string& Comment) const {
  TStreamSink Out(S);
  WriteMDLMol(*this, Out, ProgName, Initials, RegNo, Comment);
}

void TCTab::WriteToClearTextFile(TTextFile& F) const {
  // The name in lines of up to 64 characters, each after one blank that the reader
  // skips; at least one line, so that an empty table reads back too.
  const std::string Name = OneLine(FStrucName);
  std::vector<std::string> NameLines;
  for (size_t P = 0; P < Name.size(); P += 64) NameLines.push_back(" " + Name.substr(P, 64));
  if (NameLines.empty()) NameLines.emplace_back(" ");
  F.WriteLn("/CONTAB ");
  F.WriteLn(Fmt("%d %d", static_cast<int>(NameLines.size()) + 2 * FNAtoms, FNAtoms));
  for (const std::string& L : NameLines) F.WriteLn(L);
  for (int I = 1; I <= FNAtoms; ++I) {
    const CTElem& A = Atom(I);
    F.WriteLn(Fmt("%d %d %d %d %d %.9g %.9g %.9g", I, A.AtNum, A.AtWeight, A.Attrib, A.Charge,
                  A.Coords[0], A.Coords[1], A.Coords[2]));
    const int K = GetNBonds(I);
    std::string L = Fmt("%d", K);
    for (int S = 0; S < K; ++S) L += Fmt(" %d", A.ConnTo[S]);
    for (int S = 0; S < K; ++S) L += Fmt(" %d", A.TypConn[S]);
    F.WriteLn(L);
  }
}

void TCTab::WriteToMolConnXFile(int ID, TTextFile& F) const {
  const std::vector<TBond> Bonds = BondList(*this);
  F.WriteLn(Fmt("%d ", ID) + OneLine(FStrucName));
  F.WriteLn(Fmt("%d %d", FNAtoms, static_cast<int>(Bonds.size())));
  for (int I = 1; I <= FNAtoms; ++I)
    F.WriteLn(Fmt("%d %s %d %d", I, MDLSymbol(Atom(I).AtNum).c_str(), NrHAtoms(I), Atom(I).Charge));
  for (const TBond& B : Bonds) F.WriteLn(Fmt("%d %d %d", B.A, B.B, B.Type));
}

}  // namespace nuv
