#include "chem/NUV_cform.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "chem/NUV_CData.h"
#include "contracts/math/NUV_Math.h"
#include "platform/NUV_SysUtils.h"

namespace nuv {

namespace {

bool IsDigit(char C) { return C >= '0' && C <= '9'; }
bool IsSeparator(char C) { return C == ' ' || C == ',' || C == '.'; }

// Appends a digit to a number read from text, stopping just above MaxFormValue so that a
// long run of digits cannot overflow; callers refuse anything above MaxFormValue.
int AddDigit(int Value, char C) {
  const int V = Value * 10 + (C - '0');
  return V > MaxFormValue ? MaxFormValue + 1 : V;
}

char UpCase(char C) { return C >= 'a' && C <= 'z' ? static_cast<char>(C - 'a' + 'A') : C; }

// The element of an upper-cased symbol; "D" is hydrogen (deuterium).
int SymbolToAtNum(const std::string& Symb) {
  static const std::array<std::string, MaxElem + 1> UpperSymbols = [] {
    std::array<std::string, MaxElem + 1> A;
    for (int Z = 1; Z <= MaxElem; ++Z) A[Z] = UpperCase(CElemSymb(Z));
    return A;
  }();
  if (Symb == "D") return 1;
  for (int Z = 1; Z <= MaxElem; ++Z)
    if (Symb == UpperSymbols[Z]) return Z;
  return 0;
}

// The multiplier of a group: the decimal number at the 1-based position Pos of S (Pos is
// left after its digits), 1 when no digit stands there. Values too large for a count are
// capped just above MaxFormValue, so that the counts they multiply are refused.
int ReadGroupFactor(const std::string& S, int& Pos) {
  const int Start = Pos;
  const int64_t Value = ScanDecimal(S, Pos);
  if (Pos == Start) return 1;
  return static_cast<int>(std::min<int64_t>(Value, MaxFormValue + 1));
}

}  // namespace

TMolForm::TMolForm(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(GetLeft(), GetTop(), 120, 28);
  FForm.NEntries = 2;
  FForm.AtNum[0] = 1;
  FForm.AtWgt[0] = 1;
  FForm.AtCnt[0] = 2;
  FForm.AtNum[1] = 8;
  FForm.AtWgt[1] = 16;
  FForm.AtCnt[1] = 1;
  FFormulaText = "H2O";
}

// ---------------------------------------------------------------- properties

std::string TMolForm::GetMolFormula() const { return AsString(1); }

void TMolForm::SetMolFormula(const std::string& Value) {
  if (Value == GetMolFormula()) return;
  FFormulaText = Value;
  ScanMolFormula(Value);
}

void TMolForm::SetIsotopeVis(TIsotVisib Value) {
  if (Value == FIsotopeVis) return;
  FIsotopeVis = Value;
  ShowChange();
}

void TMolForm::SetUseDeuterium(bool Value) {
  if (Value == FUseDeuterium) return;
  FUseDeuterium = Value;
  ShowChange();
}

void TMolForm::SetShowAsText(bool Value) {
  if (Value == FShowAsText) return;
  FShowAsText = Value;
  ShowChange();
}

void TMolForm::SetTransparent(bool Value) {
  if (Value == FTransparent) return;
  FTransparent = Value;
  ShowChange();
}

void TMolForm::SetAlignment(TAlignment Value) {
  if (Value == FAlignment) return;
  FAlignment = Value;
  ShowChange();
}

void TMolForm::SetColorBkg(TColor Value) {
  if (Value == FColorBkg) return;
  FColorBkg = Value;
  Paint();
}

void TMolForm::SetColorTxt(TColor Value) {
  if (Value == FColorTxt) return;
  FColorTxt = Value;
  Paint();
}

void TMolForm::ShowChange() {
  if (FTransparent) Invalidate();
  else Paint();
}

// ---------------------------------------------------------------- entries

void TMolForm::SetNumAtoms(int N) {
  if (N >= 1 && N <= MaxFormEntries) FForm.NEntries = N;
}

int TMolForm::GetAtNum(int I) const {
  return I >= 1 && I <= FForm.NEntries ? FForm.AtNum[I - 1] : 0;
}

int TMolForm::GetAtWgt(int I) const {
  return I >= 1 && I <= FForm.NEntries ? FForm.AtWgt[I - 1] : 0;
}

int TMolForm::GetAtCnt(int I) const {
  return I >= 1 && I <= FForm.NEntries ? FForm.AtCnt[I - 1] : 0;
}

void TMolForm::SetAtNum(int I, int Value) {
  if (I >= 1 && I <= FForm.NEntries && Value >= 1 && Value <= MaxElem)
    FForm.AtNum[I - 1] = static_cast<uint8_t>(Value);
}

void TMolForm::SetAtWgt(int I, int Value) {
  if (I >= 1 && I <= FForm.NEntries && Value >= 0 && Value <= MaxFormValue)
    FForm.AtWgt[I - 1] = static_cast<uint16_t>(Value);
}

void TMolForm::SetAtCnt(int I, int Value) {
  if (I >= 1 && I <= FForm.NEntries && Value >= 0 && Value <= MaxFormValue)
    FForm.AtCnt[I - 1] = static_cast<uint16_t>(Value);
}

bool TMolForm::AppendEntry(int AtNum, int IsotMass, int Count) {
  if (FForm.NEntries >= MaxFormEntries || Count > MaxFormValue) return false;
  const int I = FForm.NEntries++;
  FForm.AtNum[I] = static_cast<uint8_t>(AtNum);
  FForm.AtWgt[I] = static_cast<uint16_t>(IsotMass);
  FForm.AtCnt[I] = static_cast<uint16_t>(Count);
  return true;
}

// ---------------------------------------------------------------- parsing

bool TMolForm::ScanNextFormPart(const std::string& S, int& Pos, int& AtNum, int& IsotMass,
                                int& Count) {
  const int Len = static_cast<int>(S.size());
  if (Pos < 1) Pos = 1;
  if (Pos > Len + 1) Pos = Len + 1;
  int Mass = 0, N = 0, State = 0;
  std::string Symb;
  --Pos;
  bool Finished = false;
  while (!Finished) {
    ++Pos;
    const char C = Pos <= Len ? UpCase(S[Pos - 1]) : '\0';
    if (C == '\0' || C == '(' || C == ')') break;
    const bool Letter = C >= 'A' && C <= 'Z';
    const bool Digit = IsDigit(C);
    const bool Sep = IsSeparator(C);
    // States: 0 start, 1 mass digits, 2 after the mass, 3 symbol letters, 4 after the
    // symbol, 5 count digits. A character no rule names is passed over.
    switch (State) {
      case 0:
        if (Letter) {
          Symb += C;
          State = 3;
        } else if (Digit) {
          Mass = AddDigit(Mass, C);
          State = 1;
        }
        break;
      case 1:
        if (Letter) {
          Symb += C;
          State = 3;
        } else if (Digit) {
          Mass = AddDigit(Mass, C);
        } else if (Sep) {
          State = 2;
        }
        break;
      case 2:
        if (Letter) {
          Symb += C;
          State = 3;
        } else if (Digit) {
          Finished = true;
        }
        break;
      case 3:
        if (Letter) {
          Symb += C;
        } else if (Digit) {
          N = AddDigit(N, C);
          State = 5;
        } else if (Sep) {
          State = 4;
        }
        break;
      case 4:
        if (Letter) {
          Finished = true;
        } else if (Digit) {
          N = AddDigit(N, C);
          State = 5;
        }
        break;
      case 5:
        if (Digit)
          N = AddDigit(N, C);
        else if (Letter || Sep)
          Finished = true;
        break;
    }
  }
  AtNum = 0;
  if (Symb.empty()) return false;
  const int Z = SymbolToAtNum(Symb);
  if (Z == 0 || Mass > MaxFormValue || N > MaxFormValue) return false;
  AtNum = Z;
  IsotMass = Mass != 0 ? Mass : Symb == "D" ? 2 : IntAtWeight(Z);
  Count = N != 0 ? N : 1;
  return true;
}

void TMolForm::ScanMolFormula(const std::string& S) {
  const int Len = static_cast<int>(S.size());
  int Factor = 1;
  int P = 1;
  FForm.NEntries = 0;
  bool Ok = true;
  while (Ok && P <= Len) {
    const char C = S[P - 1];
    if (IsSeparator(C)) {
      // Blanks before a group would otherwise end the reading.
      ++P;
    } else if (C == '(') {
      int Q = P;
      while (Q < Len && S[Q - 1] != ')') ++Q;
      if (S[Q - 1] == ')') {
        ++Q;
        Factor = ReadGroupFactor(S, Q);
      }
      ++P;
    } else if (C == ')') {
      Factor = 1;
      ++P;
      ReadGroupFactor(S, P);
    } else {
      int Z = 0, Mass = 0, N = 0;
      Ok = ScanNextFormPart(S, P, Z, Mass, N) &&
           AppendEntry(Z, Mass, static_cast<int>(std::min<int64_t>(int64_t(N) * Factor,
                                                                   MaxFormValue + 1)));
    }
  }
  ShowChange();
}

void TMolForm::ReadFromString(const std::string& S) {
  FForm.NEntries = 0;
  int P = 1;
  int Z = 0, Mass = 0, N = 0;
  while (ScanNextFormPart(S, P, Z, Mass, N) && AppendEntry(Z, Mass, N)) {
  }
  ShowChange();
}

// ---------------------------------------------------------------- text

std::string TMolForm::ChemElem(int AtNum, int IsotMass, int Count, uint8_t Mode) {
  if (AtNum < 1 || AtNum > MaxElem || Count < 1) return "";
  const std::string Symb = AtNum == 1 && IsotMass == 2 ? "D" : CElemSymb(AtNum);
  const std::string CountText = Count > 1 ? std::to_string(Count) : "";
  if (Mode == 1) return std::to_string(IsotMass) + Symb + CountText;
  return Symb + CountText;
}

std::string TMolForm::AsString(int Mode) const {
  std::string S;
  if (FForm.NEntries < 1 || FForm.NEntries > MaxFormEntries) return S;
  const uint8_t M = Mode == 1 ? 1 : 0;
  std::string Texts[MaxFormEntries];
  for (int I = 0; I < FForm.NEntries; ++I)
    Texts[I] = ChemElem(FForm.AtNum[I], FForm.AtWgt[I], FForm.AtCnt[I], M);
  // In mode 1 every entry begins with its mass digits, which the scanner would take as
  // the count of a single atom written before it ("1H 12C" reads as H12 C): such an
  // entry gets its count written out, so that the text parses back to the same entries.
  bool LaterEntry = false;
  for (int I = FForm.NEntries - 1; I >= 0; --I) {
    if (Texts[I].empty()) continue;
    if (M == 1 && LaterEntry && FForm.AtCnt[I] == 1) Texts[I] += '1';
    LaterEntry = true;
  }
  for (int I = 0; I < FForm.NEntries; ++I) S += Texts[I] + ' ';
  return S;
}

// ---------------------------------------------------------------- comparing and weighing

int TMolForm::CompareTo(const TMolForm& Other) const {
  if (FForm.NEntries == 0 || Other.FForm.NEntries == 0) return -2;
  struct TPair {
    int AtNum, Mass, Count;
  };
  std::vector<TPair> Pairs;
  auto Add = [&Pairs](int AtNum, int Mass, int Count) {
    for (TPair& P : Pairs)
      if (P.AtNum == AtNum && P.Mass == Mass) {
        P.Count += Count;
        return;
      }
    Pairs.push_back({AtNum, Mass, Count});
  };
  for (int I = 0; I < FForm.NEntries; ++I) Add(FForm.AtNum[I], FForm.AtWgt[I], FForm.AtCnt[I]);
  for (int I = 0; I < Other.FForm.NEntries; ++I)
    Add(Other.FForm.AtNum[I], Other.FForm.AtWgt[I], -Other.FForm.AtCnt[I]);
  bool AnyPositive = false, AnyNegative = false;
  for (const TPair& P : Pairs) {
    AnyPositive = AnyPositive || P.Count > 0;
    AnyNegative = AnyNegative || P.Count < 0;
  }
  if (!AnyPositive && !AnyNegative) return 0;
  if (!AnyPositive) return 2;
  if (!AnyNegative) return 1;
  return -1;
}

double TMolForm::ChemMolWgt() const {
  double W = 0.0;
  for (int I = 0; I < FForm.NEntries; ++I) W += ChemAtWeight(FForm.AtNum[I]) * FForm.AtCnt[I];
  return W;
}

double TMolForm::ExactMolWgt() const {
  double W = 0.0;
  for (int I = 0; I < FForm.NEntries; ++I) W += ExactAtWeight(FForm.AtNum[I]) * FForm.AtCnt[I];
  return W;
}

int64_t TMolForm::NominalMolWgt() const {
  int64_t W = 0;
  for (int I = 0; I < FForm.NEntries; ++I) W += int64_t(FForm.AtWgt[I]) * FForm.AtCnt[I];
  return W;
}

void TMolForm::Clear() {
  FForm.NEntries = 0;
  FFormulaText.clear();
  ShowChange();
}

void TMolForm::ShowIt() { ShowChange(); }

// ---------------------------------------------------------------- search by mass

bool TMolForm::InitFindFormula(double TargetMass, double Tolerance, const TFormulaRec& Lower,
                               const TFormulaRec& Upper) {
  FTargetMass = TargetMass;
  FTolerance = Tolerance;
  FLowLim = Lower;
  FUppLim = Upper;
  if (FUppLim.NEntries < 0) FUppLim.NEntries = 0;
  if (FUppLim.NEntries > MaxFormEntries) FUppLim.NEntries = MaxFormEntries;
  for (int I = 0; I < FUppLim.NEntries; ++I) FSearchCnt[I] = FUppLim.AtCnt[I];
  return true;
}

bool TMolForm::FindFormulaNominalMass(bool Plausibility) {
  return FindFormulaIntern(true, Plausibility);
}

bool TMolForm::FindFormulaExactMass(bool Plausibility) {
  return FindFormulaIntern(false, Plausibility);
}

bool TMolForm::IsPlausible() const {
  int H = 0, C = 0, N = 0, Halogens[4] = {};
  for (int I = 0; I < FUppLim.NEntries; ++I) {
    const int Cnt = FSearchCnt[I];
    switch (FUppLim.AtNum[I]) {
      case 1: H = Cnt; break;
      case 6: C = Cnt; break;
      case 7: N = Cnt; break;
      case 9: Halogens[0] = Cnt; break;
      case 17: Halogens[1] = Cnt; break;
      case 35: Halogens[2] = Cnt; break;
      case 53: Halogens[3] = Cnt; break;
    }
  }
  return H + Halogens[0] + Halogens[1] + Halogens[2] + Halogens[3] <= 2 * C + N + 2;
}

// Counts down the last counter, carrying into the ones before it; false once the first
// counter has run below its lower limit (all counters are then back at their upper limits).
bool TMolForm::StepSearch() {
  for (int I = FUppLim.NEntries - 1; I >= 0; --I) {
    if (--FSearchCnt[I] >= FLowLim.AtCnt[I]) return true;
    FSearchCnt[I] = FUppLim.AtCnt[I];
  }
  return false;
}

bool TMolForm::FindFormulaIntern(bool Nominal, bool Plausibility) {
  const int N = FUppLim.NEntries;
  bool Found = false;
  const int64_t NominalTarget = Round(FTargetMass);
  bool More = N > 0;
  while (More && !Found) {
    bool Match;
    if (Nominal) {
      int64_t Mass = 0;
      for (int I = 0; I < N; ++I) Mass += int64_t(FUppLim.AtWgt[I]) * FSearchCnt[I];
      Match = Mass == NominalTarget;
    } else {
      double Mass = 0.0;
      for (int I = 0; I < N; ++I) Mass += ExactAtWeight(FUppLim.AtNum[I]) * FSearchCnt[I];
      Match = std::fabs(Mass - FTargetMass) < FTolerance;
    }
    if (Match && (!Plausibility || IsPlausible())) {
      Found = true;
      FForm.NEntries = N;
      for (int I = 0; I < N; ++I) {
        FForm.AtNum[I] = FUppLim.AtNum[I];
        FForm.AtWgt[I] = FUppLim.AtWgt[I];
        FForm.AtCnt[I] = static_cast<uint16_t>(FSearchCnt[I]);
      }
    }
    More = StepSearch();
  }
  ShowChange();
  return Found;
}

// ---------------------------------------------------------------- copying

void TMolForm::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TMolForm*>(Source);
  if (!Src) {
    TGraphicControl::Assign(Source);
    return;
  }
  FAlignment = Src->FAlignment;
  FColorBkg = Src->FColorBkg;
  FColorTxt = Src->FColorTxt;
  FForm = Src->FForm;
  for (int I = 0; I < MaxFormEntries; ++I) FSearchCnt[I] = Src->FSearchCnt[I];
  FTargetMass = Src->FTargetMass;
  FTolerance = Src->FTolerance;
  FUseDeuterium = Src->FUseDeuterium;
  FShowAsText = Src->FShowAsText;
  FTransparent = Src->FTransparent;
  FFormulaText = Src->FFormulaText;
  FIsotopeVis = Src->FIsotopeVis;
  FLowLim = Src->FLowLim;
  FUppLim = Src->FUppLim;
  ShowChange();
}

void TMolForm::AssignTo(TPersistent* Dest) {
  if (auto* D = dynamic_cast<TMolForm*>(Dest))
    D->TMolForm::Assign(this);
  else
    TGraphicControl::AssignTo(Dest);
}

}  // namespace nuv
