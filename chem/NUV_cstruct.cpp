#include "chem/NUV_cstruct.h"

#include "chem/NUV_CData.h"
#include "platform/NUV_SysUtils.h"

namespace nuv {

void ClearCTElem(CTElem& E) { E = CTElem{}; }

namespace {

bool ValidSlot(int K) { return K >= 1 && K <= MaxConn; }
bool ValidCoord(int C) { return C >= 1 && C <= 3; }

// Copies a record's neighbours into Dest's slots, keeping only numbers 1..MaxAtoms other
// than the atom itself, closed up in their order.
void CopyNeighbours(const CTElem& Src, int Self, CTElem& Dest) {
  int Used = 0;
  for (int K = 0; K < MaxConn; ++K) {
    const int J = Src.ConnTo[K];
    if (J == 0 || J == Self || J > MaxAtoms) continue;
    Dest.ConnTo[Used] = Src.ConnTo[K];
    Dest.TypConn[Used] = Src.TypConn[K];
    ++Used;
  }
  for (; Used < MaxConn; ++Used) {
    Dest.ConnTo[Used] = 0;
    Dest.TypConn[Used] = 0;
  }
}

bool IsNeighbour(const CTElem& A, int J) {
  for (uint8_t N : A.ConnTo)
    if (N == J) return true;
  return false;
}

}  // namespace

TCTab::TCTab(TComponent* AOwner) : TComponent(AOwner) {}

// ---------------------------------------------------------------- table properties

std::string TCTab::GetCASNr() const { return FormatCASNr(FCASNr); }

void TCTab::SetCASNr(const std::string& Value) {
  int64_t Nr = 0;
  if (ConvertStrToCASNr(Value, Nr)) FCASNr = Nr;
  Changed();
}

void TCTab::Changed() {
  if (OnChange) OnChange(this);
}

bool TCTab::CheckCASNr(int64_t CASNr) const { return nuv::CheckCASNr(CASNr); }

// ---------------------------------------------------------------- atom accessors

int TCTab::GetAtNum(int I) const { return ValidAtom(I) ? Atom(I).AtNum : 0; }
int TCTab::GetAtWeight(int I) const { return ValidAtom(I) ? Atom(I).AtWeight : 0; }
int TCTab::GetAtFlag(int I) const { return ValidAtom(I) ? Atom(I).AtFlag : 0; }
int TCTab::GetAttrib(int I) const { return ValidAtom(I) ? Atom(I).Attrib : 0; }
int TCTab::GetCharge(int I) const { return ValidAtom(I) ? Atom(I).Charge : 0; }

void TCTab::SetAtNum(int I, int Value) {
  if (!ValidAtom(I) || Value < 1 || Value > MaxElem) return;
  Atom(I).AtNum = static_cast<uint8_t>(Value);
  Changed();
}

void TCTab::SetAtWeight(int I, int Value) {
  if (!ValidAtom(I) || Value < 0 || Value > UINT16_MAX) return;
  Atom(I).AtWeight = static_cast<uint16_t>(Value);
  Changed();
}

void TCTab::SetAtFlag(int I, uint8_t Value) {
  if (!ValidAtom(I)) return;
  Atom(I).AtFlag = Value;
  Changed();
}

void TCTab::SetAttrib(int I, uint8_t Value) {
  if (!ValidAtom(I)) return;
  Atom(I).Attrib = Value;
  Changed();
}

void TCTab::SetCharge(int I, int8_t Value) {
  if (!ValidAtom(I)) return;
  Atom(I).Charge = Value;
  Changed();
}

int TCTab::GetConnTo(int I, int K) const {
  return ValidAtom(I) && ValidSlot(K) ? Atom(I).ConnTo[K - 1] : 0;
}

int TCTab::GetTypConn(int I, int K) const {
  return ValidAtom(I) && ValidSlot(K) ? Atom(I).TypConn[K - 1] : 0;
}

void TCTab::SetConnTo(int I, int K, int Value) {
  if (!ValidAtom(I) || !ValidSlot(K)) return;
  if (Value != 0 && (!ValidAtom(Value) || Value == I)) return;
  Atom(I).ConnTo[K - 1] = static_cast<uint8_t>(Value);
  Changed();
}

void TCTab::SetTypConn(int I, int K, uint8_t Value) {
  if (!ValidAtom(I) || !ValidSlot(K)) return;
  Atom(I).TypConn[K - 1] = Value;
  Changed();
}

float TCTab::GetCoords(int I, int C) const {
  return ValidAtom(I) && ValidCoord(C) ? Atom(I).Coords[C - 1] : 0.0f;
}

void TCTab::SetCoords(int I, int C, float Value) {
  if (!ValidAtom(I) || !ValidCoord(C)) return;
  Atom(I).Coords[C - 1] = Value;
  Changed();
}

CTElem TCTab::GetAtomEntries(int I) const { return ValidAtom(I) ? Atom(I) : CTElem{}; }

void TCTab::SetAtomEntries(int I, const CTElem& E) {
  if (!ValidAtom(I)) return;
  CTElem& A = Atom(I);
  A = E;
  CopyNeighbours(E, I, A);
  Changed();
}

// ---------------------------------------------------------------- queries

int TCTab::GetNBonds(int I) const {
  if (!ValidAtom(I)) return 0;
  int N = 0;
  for (uint8_t J : Atom(I).ConnTo)
    if (J != 0) ++N;
  return N;
}

int TCTab::MaxNBonds(int& I) const {
  int Max = 0;
  for (int A = 1; A <= FNAtoms; ++A) {
    const int N = GetNBonds(A);
    if (N > Max) {
      Max = N;
      I = A;
    }
  }
  return Max;
}

int TCTab::CheckConnect(int I, int J) const {
  int Type = 0;
  const int N = GetNBonds(I);
  for (int K = 0; K < N; ++K)
    if (Atom(I).ConnTo[K] == J) Type = Atom(I).TypConn[K];
  return Type;
}

int TCTab::AtomCount(int AtNum) const {
  int N = 0;
  for (int I = 1; I <= FNAtoms; ++I)
    if (Atom(I).AtNum == AtNum) ++N;
  return N;
}

bool TCTab::ContainsUnconnectedAtom() const {
  for (int I = 1; I <= FNAtoms; ++I)
    if (GetNBonds(I) == 0) return true;
  return false;
}

bool TCTab::GetCoordsPresent() const {
  for (int I = 1; I <= FNAtoms; ++I)
    for (float C : Atom(I).Coords)
      if (C != 0.0f) return true;
  return false;
}

void TCTab::SetCoordsPresent(bool Value) {
  if (Value) return;
  for (CTElem& A : FAtoms)
    for (float& C : A.Coords) C = 0.0f;
  Changed();
}

// ---------------------------------------------------------------- editing

void TCTab::Clear() {
  FNAtoms = 0;
  FStrucName.clear();
  FCASNr = 0;
  FCoordUnit = cuUnknown;
  for (CTElem& A : FAtoms) ClearCTElem(A);
  Changed();
}

void TCTab::ClearAttributes() {
  for (CTElem& A : FAtoms) A.Attrib = 0;
}

bool TCTab::AddAtom(const CTElem& E) {
  if (FNAtoms >= MaxAtoms) return false;
  const int N = ++FNAtoms;
  CTElem& A = Atom(N);
  A.AtNum = E.AtNum;
  for (int C = 0; C < 3; ++C) A.Coords[C] = E.Coords[C];
  A.Charge = E.Charge;
  A.AtWeight = E.AtWeight;
  A.AtFlag = E.AtFlag;
  A.Attrib = E.Attrib;
  for (int K = 0; K < MaxConn; ++K)
    if (E.ConnTo[K] != 0) EnterSlot(N, E.ConnTo[K], E.TypConn[K]);
  return true;
}

void TCTab::EnterSlot(int I, int J, int BondType) {
  if (I < 1 || I > MaxAtoms || J < 1 || J > MaxAtoms || I == J) return;
  CTElem& A = Atom(I);
  int K = 0;
  while (K < MaxConn - 1 && A.ConnTo[K] != 0 && A.ConnTo[K] != J) ++K;
  if (A.ConnTo[K] == J) {
    A.TypConn[K] = static_cast<uint8_t>(BondType);
  } else if (A.ConnTo[K] == 0) {
    A.ConnTo[K] = static_cast<uint8_t>(J);
    A.TypConn[K] = static_cast<uint8_t>(BondType);
  }
}

void TCTab::EnterConn(int I, int J, int BondType) {
  if (ValidAtom(I) && ValidAtom(J)) EnterSlot(I, J, BondType);
}

// True when EnterConn(I, J) would record the bond: J is a neighbour already or a slot is
// free.
bool TCTab::HasRoomFor(int I, int J) const {
  for (uint8_t N : Atom(I).ConnTo)
    if (N == 0 || N == J) return true;
  return false;
}

bool TCTab::RemoveNeighbour(int I, int J) {
  CTElem& A = Atom(I);
  for (int K = 0; K < MaxConn; ++K) {
    if (A.ConnTo[K] != J) continue;
    for (int L = K; L < MaxConn - 1; ++L) {
      A.ConnTo[L] = A.ConnTo[L + 1];
      A.TypConn[L] = A.TypConn[L + 1];
    }
    A.ConnTo[MaxConn - 1] = 0;
    A.TypConn[MaxConn - 1] = 0;
    return true;
  }
  return false;
}

void TCTab::TidyNeighbours(int I) {
  CTElem& A = Atom(I);
  int Used = 0;
  for (int K = 0; K < MaxConn; ++K) {
    const uint8_t J = A.ConnTo[K];
    if (J == 0) continue;
    bool Seen = false;
    for (int L = 0; L < Used; ++L) Seen = Seen || A.ConnTo[L] == J;
    if (Seen) continue;
    A.ConnTo[Used] = J;
    A.TypConn[Used] = A.TypConn[K];
    ++Used;
  }
  for (; Used < MaxConn; ++Used) {
    A.ConnTo[Used] = 0;
    A.TypConn[Used] = 0;
  }
}

bool TCTab::MakeConnection(int I, int J, uint8_t BondType) {
  if (!ValidAtom(I) || !ValidAtom(J) || I == J) return false;
  if (BondType != 0) {
    if (!HasRoomFor(I, J) || !HasRoomFor(J, I)) return false;
    EnterConn(I, J, BondType);
    EnterConn(J, I, BondType);
    return true;
  }
  const bool AtI = RemoveNeighbour(I, J);
  const bool AtJ = RemoveNeighbour(J, I);
  return AtI || AtJ;
}

void TCTab::MakeSymmetricConnections() {
  for (int I = 1; I <= FNAtoms; ++I) {
    const CTElem& A = Atom(I);
    for (int K = 0; K < MaxConn && A.ConnTo[K] != 0; ++K)
      EnterConn(A.ConnTo[K], I, A.TypConn[K]);
  }
}

void TCTab::DeleteAtom(int D) {
  if (!ValidAtom(D)) return;
  const CTElem Deleted = Atom(D);
  auto TypeTo = [&Deleted](int J) {
    for (int K = 0; K < MaxConn; ++K)
      if (Deleted.ConnTo[K] == J) return static_cast<int>(Deleted.TypConn[K]);
    return 0;
  };
  // Free every slot that names D and bond its owner to D's other neighbours in the first
  // free slots. Both ends of a new bond I-M get the type of D's bond to the higher-numbered
  // of the two.
  bool Owner[MaxAtoms + 1] = {};
  struct TNewBond {
    int I, M;
  };
  TNewBond Added[MaxAtoms * MaxConn];
  int NAdded = 0;
  for (int I = 1; I <= FNAtoms; ++I) {
    if (I == D) continue;
    CTElem& A = Atom(I);
    for (int K = 0; K < MaxConn; ++K) {
      if (A.ConnTo[K] != D) continue;
      Owner[I] = true;
      A.ConnTo[K] = 0;
      A.TypConn[K] = 0;
      for (int L = 0; L < MaxConn; ++L) {
        const int M = Deleted.ConnTo[L];
        if (M == 0 || M == I || !ValidAtom(M) || IsNeighbour(A, M)) continue;
        const int Type = M > I ? Deleted.TypConn[L] : TypeTo(I);
        for (int F = 0; F < MaxConn; ++F)
          if (A.ConnTo[F] == 0) {
            A.ConnTo[F] = static_cast<uint8_t>(M);
            A.TypConn[F] = static_cast<uint8_t>(Type);
            Added[NAdded++] = {I, M};
            break;
          }
      }
    }
  }
  // A new bond that the other atom had no room for is taken back, so that no bond is left
  // recorded at one end only.
  for (int B = 0; B < NAdded; ++B) {
    const auto [I, M] = Added[B];
    if (Owner[M] && IsNeighbour(Deleted, I) && !IsNeighbour(Atom(M), I)) RemoveNeighbour(I, M);
  }
  // The last atom takes number D, with everything it has.
  const int N = FNAtoms;
  if (D != N) Atom(D) = Atom(N);
  --FNAtoms;
  ClearCTElem(Atom(N));
  for (int I = 1; I <= FNAtoms; ++I) {
    for (uint8_t& J : Atom(I).ConnTo)
      if (J == N) J = static_cast<uint8_t>(D);
    TidyNeighbours(I);
  }
}

void TCTab::RemoveHydrogen() {
  int I = 1;
  while (I <= FNAtoms) {
    if (Atom(I).AtNum == 1)
      DeleteAtom(I);
    else
      ++I;
  }
}

void TCTab::CopyFrom(const TCTab& Other) {
  if (&Other != this) {
    FNAtoms = Other.FNAtoms;
    FStrucName = Other.FStrucName;
    FCoordUnit = Other.FCoordUnit;
    FCASNr = Other.FCASNr;
    for (int I = 0; I < MaxAtoms; ++I) {
      const uint32_t Disp = FAtoms[I].DispInfo;
      FAtoms[I] = Other.FAtoms[I];
      FAtoms[I].DispInfo = Disp;
    }
  }
  Changed();
}

void TCTab::JoinFragment(const TCTab& Fragment) {
  const int NF = Fragment.FNAtoms;
  const CTElem* Frag = Fragment.FAtoms;
  // Map fragment atoms to table atoms: a mark pairs with the last table atom of that mark,
  // every other atom is appended.
  int Map[MaxAtoms + 1] = {};
  bool IsNew[MaxAtoms + 1] = {};
  int Next = FNAtoms;
  for (int F = 1; F <= NF; ++F) {
    const uint8_t Flag = Frag[F - 1].AtFlag;
    if (Flag != 0)
      for (int I = 1; I <= FNAtoms; ++I)
        if (Atom(I).AtFlag == Flag) Map[F] = I;
    if (Map[F] == 0) {
      IsNew[F] = true;
      Map[F] = ++Next;
    }
  }
  if (Next > MaxAtoms) return;
  // Take the fragment's copy of the data into the table first, then its bonds, so that
  // every bond finds both of its atoms.
  const CTElem* Src = Frag;
  CTElem Copy[MaxAtoms];
  if (&Fragment == this) {
    for (int F = 0; F < NF; ++F) Copy[F] = Frag[F];
    Src = Copy;
  }
  for (int F = 1; F <= NF; ++F) {
    const CTElem& E = Src[F - 1];
    if (IsNew[F]) {
      CTElem Plain = E;
      for (uint8_t& J : Plain.ConnTo) J = 0;
      AddAtom(Plain);
    } else {
      CTElem& A = Atom(Map[F]);
      A.AtNum = E.AtNum;
      A.AtWeight = E.AtWeight;
      A.Charge = E.Charge;
    }
  }
  for (int F = 1; F <= NF; ++F) {
    const CTElem& E = Src[F - 1];
    for (int K = 0; K < MaxConn && E.ConnTo[K] != 0; ++K)
      if (E.ConnTo[K] <= NF) EnterConn(Map[F], Map[E.ConnTo[K]], E.TypConn[K]);
  }
}

void TCTab::LinkFragment(const TCTab& Fragment) {
  const int M = FNAtoms;
  const int NF = Fragment.FNAtoms;
  if (M + NF > MaxAtoms) return;
  for (int F = 1; F <= NF; ++F) {
    const CTElem& E = Fragment.FAtoms[F - 1];
    CTElem& A = Atom(M + F);
    A = E;
    int Used = 0;
    for (int K = 0; K < MaxConn; ++K)
      if (E.ConnTo[K] != 0 && E.ConnTo[K] <= NF) {
        A.ConnTo[Used] = static_cast<uint8_t>(E.ConnTo[K] + M);
        A.TypConn[Used++] = E.TypConn[K];
      }
    for (; Used < MaxConn; ++Used) A.ConnTo[Used] = A.TypConn[Used] = 0;
  }
  FNAtoms = M + NF;
  for (int I = 1; I <= M; ++I) {
    const uint8_t Flag = Atom(I).AtFlag;
    if (Flag == 0) continue;
    for (int J = M + 1; J <= FNAtoms; ++J)
      if (Atom(J).AtFlag == Flag) MakeConnection(I, J, btSingle);
  }
}

int TCTab::CompareWith(const TCTab& Other) const {
  int Diff = 0;
  if (FNAtoms != Other.FNAtoms) Diff |= 1;
  if (!SameText(FStrucName, Other.FStrucName)) Diff |= 2;
  if (FCoordUnit != Other.FCoordUnit) Diff |= 4;
  if (FCASNr != Other.FCASNr) Diff |= 8;
  for (int I = 1; I <= MaxAtoms; ++I) {
    const CTElem A = GetAtomEntries(I);
    const CTElem B = Other.GetAtomEntries(I);
    if (A.AtNum != B.AtNum) Diff |= 16;
    if (A.AtWeight != B.AtWeight) Diff |= 32;
    if (A.AtFlag != B.AtFlag) Diff |= 64;
    if (A.Attrib != B.Attrib) Diff |= 128;
    if (A.Charge != B.Charge) Diff |= 256;
    if (A.Coords[0] != B.Coords[0]) Diff |= 512;
    if (A.Coords[1] != B.Coords[1]) Diff |= 1024;
    if (A.Coords[2] != B.Coords[2]) Diff |= 2048;
    for (int K = 0; K < MaxConn; ++K) {
      if (A.ConnTo[K] != B.ConnTo[K]) Diff |= 4096;
      if (A.TypConn[K] != B.TypConn[K]) Diff |= 8192;
    }
  }
  return Diff;
}

}  // namespace nuv
