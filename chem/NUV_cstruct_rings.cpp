// Rings, attributes, fragment codes and counts, chain stripping and the substructure
// search of the connection table.
#include <algorithm>
#include <cstdio>
#include <memory>

#include "chem/NUV_cstruct.h"
#include "contracts/base/NUV_Base.h"

namespace nuv {

namespace {

constexpr int ZH = 1, ZC = 6, ZN = 7, ZO = 8, ZS = 16, ZCl = 17, ZBr = 35, ZI = 53;

// Elements that fragment codes know, by code index 1..15 (15: atomic number 0).
constexpr int FrgElemZ[16] = {-1, 1, 5, 6, 7, 8, 9, 14, 15, 16, 17, 33, 35, 50, 53, 0};
const char* const FrgElemSymb[16] = {"",  "H",  "B",  "C",  "N",  "O",  "F",  "Si",
                                     "P", "S",  "Cl", "As", "Br", "Sn", "I",  "RR"};
const char* const FrgBondChar[4] = {"4", "1", "2", "3"};

int FrgElemIndex(int AtNum) {
  for (int E = 1; E <= 15; ++E)
    if (FrgElemZ[E] == AtNum) return E;
  return -1;
}

void AppendRing(RingListType& List, const RingType& R) {
  if (List.NRings >= MaxRings) return;
  List.Rings[List.NRings++] = R;
}

}  // namespace

// ---------------------------------------------------------------- rings

bool RingInRingList(const RingType& R, const RingListType& List) {
  for (int L = 0; L < List.NRings; ++L) {
    const RingType& Q = List.Rings[L];
    bool All = true;
    for (int A = 0; A < R.NAtoms && All; ++A) {
      bool Found = false;
      for (int B = 0; B < Q.NAtoms && !Found; ++B) Found = Q.Atoms[B] == R.Atoms[A];
      All = Found;
    }
    if (All) return true;
  }
  return false;
}

int TCTab::RingsInMolecule() const {
  int Ends = 0;
  for (int I = 1; I <= FNAtoms; ++I) Ends += GetNBonds(I);
  return Ends / 2 - FNAtoms + 1;
}

int TCTab::CycleCount() const {
  int Piece[MaxAtoms + 1] = {};
  int Pieces = 0;
  for (int I = 1; I <= FNAtoms; ++I) {
    if (Piece[I] != 0) continue;
    ++Pieces;
    int Stack[MaxAtoms];
    int Top = 0;
    Stack[Top++] = I;
    Piece[I] = Pieces;
    while (Top > 0) {
      const int A = Stack[--Top];
      for (int K = 1; K <= GetNBonds(A); ++K) {
        const int B = GetConnTo(A, K);
        if (B <= FNAtoms && Piece[B] == 0) {
          Piece[B] = Pieces;
          Stack[Top++] = B;
        }
      }
    }
  }
  return RingsInMolecule() - 1 + Pieces;
}

int TCTab::FindShortestRings(uint16_t Start, RingListType& List) {
  List.NRings = 0;
  if (Start == 0 || Start > FNAtoms) return 0;
  for (int I = 1; I <= FNAtoms; ++I) Atom(I).AtFlag = 0;
  int Best = MaxAtoms + 1;
  RingType Path;
  // Depth-first walk; AtFlag marks the atoms on the path that have gone on to a neighbour.
  auto Visit = [&](auto& Self, int Prev, int Cur) -> void {
    Path.Atoms[Path.NAtoms++] = static_cast<uint8_t>(Cur);
    const int NB = GetNBonds(Cur);
    for (int K = 1; K <= NB; ++K) {
      const int B = GetConnTo(Cur, K);
      if (B != Prev && B <= FNAtoms && Atom(B).AtFlag == 0 && Path.NAtoms <= Best &&
          Path.NAtoms < MaxAtoms) {
        Atom(Cur).AtFlag = 1;
        Self(Self, Cur, B);
      }
      if (B == Start && B != Prev) {
        const int N = Path.NAtoms;
        if (N < Best) {
          List.NRings = 0;
          AppendRing(List, Path);
          Best = N;
        } else if (N == Best && !RingInRingList(Path, List)) {
          AppendRing(List, Path);
        }
        break;
      }
    }
    --Path.NAtoms;
    Atom(Cur).AtFlag = 0;
  };
  Visit(Visit, 0, Start);
  return List.NRings;
}

int TCTab::FindSSSR(RingListType& List) {
  List.NRings = 0;
  bool Done[MaxAtoms + 1] = {};
  RingListType Found;
  for (int A = 1; A <= FNAtoms; ++A) {
    if (Done[A] || FindShortestRings(static_cast<uint16_t>(A), Found) == 0) continue;
    for (int R = 0; R < Found.NRings; ++R) {
      const RingType& Ring = Found.Rings[R];
      if (RingInRingList(Ring, List)) continue;
      AppendRing(List, Ring);
      for (int K = 0; K < Ring.NAtoms; ++K)
        if (GetNBonds(Ring.Atoms[K]) <= 2) Done[Ring.Atoms[K]] = true;
    }
  }
  return List.NRings;
}

int TCTab::CalcAttributes() {
  for (CTElem& A : FAtoms) A.Attrib = 0;
  RingListType List;
  const int N = FindSSSR(List);
  for (int R = 0; R < N; ++R) {
    const RingType& Ring = List.Rings[R];
    const uint8_t V = Ring.NAtoms == 5   ? (atRing | atRing5)
                      : Ring.NAtoms == 6 ? (atRing | atRing6)
                                         : (atRing | atOtherRing);
    for (int K = 0; K < Ring.NAtoms; ++K) {
      uint8_t& Attr = Atom(Ring.Atoms[K]).Attrib;
      if (Attr & (atRing | atOtherRing | atRing5 | atRing6))
        Attr |= V | atMultiRing;
      else
        Attr |= V;
    }
  }
  for (int I = 1; I <= FNAtoms; ++I) {
    uint8_t& Attr = Atom(I).Attrib;
    if (Attr == 0) Attr = GetNBonds(I) == 1 ? (atChain | atTerminal) : atChain;
    if (GetNBonds(I) > 2) Attr |= atBranch;
  }
  return N;
}

// ---------------------------------------------------------------- fragment codes

int TCTab::FragmentCode(int A, int& Second) const {
  Second = 0;
  if (!ValidAtom(A)) return -1;
  const int E = FrgElemIndex(Atom(A).AtNum);
  if (E < 0) return -1;
  const int NB = GetNBonds(A);
  int Entry[MaxConn];
  for (int K = 1; K <= NB; ++K) {
    const int B = GetConnTo(A, K);
    Second += GetNBonds(B) - 1;
    const int EB = FrgElemIndex(GetAtNum(B));
    if (EB < 0) return -1;
    Entry[K - 1] = EB * 4 + (GetTypConn(A, K) & 3);
  }
  if (NB > 4) return -2;
  for (int I = 1; I < NB; ++I)  // descending
    for (int J = I; J > 0 && Entry[J] > Entry[J - 1]; --J) std::swap(Entry[J], Entry[J - 1]);
  int Code = E;
  for (int J = 1; J <= NB; ++J) Code += Entry[J - 1] << (6 * J - 2);
  return Code;
}

std::string FragmentStr(int Code) {
  if (Code < 0) return "ERROR";
  std::string S = FrgElemSymb[Code & 15];
  Code >>= 4;
  for (int N = 0; N < 4 && Code != 0; ++N) {
    S += FrgBondChar[Code & 3];
    Code >>= 2;
    S += FrgElemSymb[Code & 15];
    Code >>= 4;
  }
  return S;
}

int TCTab::FragmentCount(FrgType T) const {
  // Bonds of atom I (slots 1..Slots) of type Type to an atom of element Z.
  auto Bonds = [this](int I, int Type, int Z, int Slots) {
    int N = 0;
    const int Last = std::min(Slots, GetNBonds(I));
    for (int K = 1; K <= Last; ++K)
      if (GetTypConn(I, K) == Type && GetAtNum(GetConnTo(I, K)) == Z) ++N;
    return N;
  };
  auto HasBondType = [this](int I, int Type) {
    for (int K = 1; K <= GetNBonds(I); ++K)
      if (GetTypConn(I, K) == Type) return true;
    return false;
  };
  auto IsCarbonyl = [&](int I) { return GetAtNum(I) == ZC && Bonds(I, 2, ZO, MaxConn) > 0; };
  // All bonds single and no neighbour a nitrogen or a carbonyl carbon.
  auto PlainAmine = [&](int I) {
    for (int K = 1; K <= GetNBonds(I); ++K) {
      const int B = GetConnTo(I, K);
      if (GetTypConn(I, K) != 1 || GetAtNum(B) == ZN || IsCarbonyl(B)) return false;
    }
    return true;
  };
  auto BondCount = [&](int Type, bool CarbonOnly) {
    int N = 0;
    for (int I = 1; I <= FNAtoms; ++I) {
      if (CarbonOnly && GetAtNum(I) != ZC) continue;
      for (int K = 1; K <= GetNBonds(I); ++K)
        if (GetTypConn(I, K) == Type && (!CarbonOnly || GetAtNum(GetConnTo(I, K)) == ZC)) ++N;
    }
    return N / 2;
  };
  switch (T) {
    case NSglBnd: return BondCount(1, false);
    case NCCSgl: return BondCount(1, true);
    case NDblBnd: return BondCount(2, false);
    case NCCDbl: return BondCount(2, true);
    case NTrplBnd: return BondCount(3, false);
    case NCCTrpl: return BondCount(3, true);
    case NAroBnd: return BondCount(4, false);
    default: break;
  }
  int Count = 0;
  for (int I = 1; I <= FNAtoms; ++I) {
    const int Z = GetAtNum(I);
    const int NB = GetNBonds(I);
    const int First = GetConnTo(I, 1);
    bool Hit = false;
    switch (T) {
      case NBranch: Hit = NB > 2; break;
      case XCnt: Hit = Z == ZCl || Z == ZBr; break;
      case COOH:
      case COO:
        if (Z == ZC && NB == 3 && Bonds(I, 2, ZO, 3) > 0)
          for (int K = 1; K <= 3 && !Hit; ++K) {
            const int B = GetConnTo(I, K);
            if (GetTypConn(I, K) == 1 && GetAtNum(B) == ZO)
              Hit = T == COOH ? GetNBonds(B) == 1 : GetNBonds(B) > 1;
          }
        break;
      case NO2:
        Hit = Z == ZN && NB == 3 &&
              (Bonds(I, 2, ZO, 3) == 2 ||
               (Bonds(I, 2, ZO, 3) == 1 && Bonds(I, 1, ZO, 3) == 1 && GetCharge(I) == 1));
        break;
      case AnyCO: Hit = Z == ZC && NB <= 3 && Bonds(I, 2, ZO, MaxConn) > 0; break;
      case AroCl: Hit = Z == ZCl && First != 0 && HasBondType(First, 4); break;
      case AroBr: Hit = Z == ZBr && First != 0 && HasBondType(First, 4); break;
      case AnyOH: Hit = Z == ZO && NB == 1 && GetTypConn(I, 1) == 1; break;
      case PhOH:
        Hit = Z == ZO && NB == 1 && GetTypConn(I, 1) == 1 && GetAtNum(First) == ZC &&
              HasBondType(First, 4);
        break;
      case NH2: Hit = Z == ZN && NB == 1 && PlainAmine(I); break;
      case NHR: Hit = Z == ZN && NB == 2 && PlainAmine(I); break;
      case NR2: Hit = Z == ZN && NB == 3 && PlainAmine(I); break;
      case NCON: Hit = Z == ZC && NB == 3 && Bonds(I, 2, ZO, 3) == 1 && Bonds(I, 1, ZN, 3) == 2; break;
      case CONR2: Hit = Z == ZC && NB == 3 && Bonds(I, 2, ZO, 3) == 1 && Bonds(I, 1, ZN, 3) == 1; break;
      case CN: Hit = Z == ZC && NB == 2 && Bonds(I, 3, ZN, MaxConn) > 0; break;
      case CHO:
        Hit = Z == ZC && NB <= 2 && !(GetTypConn(I, 1) == 2 && GetTypConn(I, 2) == 2) &&
              Bonds(I, 2, ZO, MaxConn) > 0;
        break;
      case COX:
        Hit = Z == ZC && NB <= 3 && Bonds(I, 2, ZO, MaxConn) > 0;
        if (Hit) {
          bool Halogen = false;
          for (int K = 1; K <= NB; ++K) {
            const int ZB = GetAtNum(GetConnTo(I, K));
            Halogen = Halogen || ZB == ZCl || ZB == ZBr || ZB == ZI;
          }
          Hit = Halogen;
        }
        break;
      case AnySO: Hit = Z == ZS && NB <= 3 && Bonds(I, 2, ZO, MaxConn) > 0; break;
      case OCH3:
        if (Z == ZO && NB == 2)
          for (int K = 1; K <= 2; ++K) {
            const int B = GetConnTo(I, K);
            Hit = Hit || (GetAtNum(B) == ZC && GetNBonds(B) == 1);
          }
        break;
      case NO: Hit = Z == ZN && NB == 2 && Bonds(I, 2, ZO, MaxConn) > 0; break;
      case NNH2:
        if (Z == ZN && NB == 2)
          for (int K = 1; K <= 2; ++K) {
            const int B = GetConnTo(I, K);
            if (GetAtNum(B) == ZN && GetNBonds(B) == 1 && GetTypConn(I, K) < 3 &&
                GetTypConn(I, 3 - K) == 1)
              ++Count;
          }
        break;
      default: break;
    }
    if (Hit) ++Count;
  }
  return Count;
}

// ---------------------------------------------------------------- chains

int TCTab::FindNextEndAtom(int A) const {
  for (int I = std::max(A, 1); I <= FNAtoms; ++I)
    if (GetNBonds(I) == 1) return I;
  return 0;
}

int TCTab::StripfromChains() {
  bool Deleted = true;
  while (Deleted) {
    Deleted = false;
    for (int I = 1; I <= FNAtoms; ++I)
      if (GetNBonds(I) == 1) {
        DeleteAtom(I);
        Deleted = true;
      }
  }
  if (FNAtoms == 1) DeleteAtom(1);
  return FNAtoms;
}

// ---------------------------------------------------------------- substructure search

bool TCTab::SumForContained(const TCTab& Other) const {
  if (FNAtoms < Other.FNAtoms) return false;
  int Count[256] = {};  // by atomic number (any byte value)
  for (int I = 1; I <= FNAtoms; ++I) ++Count[Atom(I).AtNum];
  for (int I = 1; I <= Other.FNAtoms; ++I)
    if (--Count[Other.Atom(I).AtNum] < 0) return false;
  return true;
}

// The state of one search: the trace file, kept open for the whole search, the map and
// the pairs of the current path.
struct TCTab::TSubSearch {
  const TCTab& Sub;
  uint8_t* Map;
  bool CompareBonds;
  std::FILE* Trace;
  int PartnerOf[MaxAtoms + 1] = {};  // sub atom -> table atom, while on the path
  bool Paired[MaxAtoms + 1] = {};    // table atoms on the path
  int Depth = 0;

  void Line(const std::string& S) const {
    if (Trace == nullptr) return;
    std::fwrite(S.data(), 1, S.size(), Trace);
    std::fputc('\n', Trace);
  }
};

namespace {

// The next arrangement of M distinct numbers 1..N (P[0..M-1]) in lexicographic order;
// after the last one the first, (1, 2, ..., M).
void NextArrangement(int* P, int M, int N) {
  bool Used[MaxConn + 1] = {};
  for (int I = 0; I < M; ++I) Used[P[I]] = true;
  for (int I = M - 1; I >= 0; --I) {
    Used[P[I]] = false;
    int V = P[I] + 1;
    while (V <= N && Used[V]) ++V;
    if (V > N) continue;
    P[I] = V;
    Used[V] = true;
    int Next = 1;
    for (int J = I + 1; J < M; ++J) {
      while (Used[Next]) ++Next;
      P[J] = Next;
      Used[Next] = true;
    }
    return;
  }
  for (int I = 0; I < M; ++I) P[I] = I + 1;
}

}  // namespace

bool TCTab::IsBondedTo(int I, int J) const {
  for (int K = 1; K <= GetNBonds(I); ++K)
    if (GetConnTo(I, K) == J) return true;
  return false;
}

bool TCTab::MatchAtoms(TSubSearch& S, int PrevT, int PrevS, int T, int SAtom) const {
  const TCTab& Sub = S.Sub;
  S.Line("level=" + std::to_string(S.Depth) + "  " + std::to_string(PrevT) + " " +
         std::to_string(PrevS) + " " + std::to_string(T) + " " + std::to_string(SAtom));
  if (PrevT == 0) {
    for (int K = 0; K < MaxAtoms; ++K) S.Map[K] = 0;
    for (int K = 0; K <= MaxAtoms; ++K) {
      S.PartnerOf[K] = 0;
      S.Paired[K] = false;
    }
  }
  const int SubAttr = Sub.GetAttrib(SAtom);
  bool Ok = GetAtNum(T) == Sub.GetAtNum(SAtom) && (SubAttr & ~GetAttrib(T)) == 0 &&
            GetNBonds(T) >= Sub.GetNBonds(SAtom) && !S.Paired[T];
  if (Ok && S.CompareBonds && PrevS != 0)
    Ok = Sub.CheckConnect(PrevS, SAtom) == CheckConnect(PrevT, T);
  bool Closure = false;
  for (int K = 1; Ok && K <= Sub.GetNBonds(SAtom); ++K) {
    const int C = Sub.GetConnTo(SAtom, K);
    if (C == PrevS || S.PartnerOf[C] == 0) continue;
    Closure = true;
    Ok = IsBondedTo(T, S.PartnerOf[C]);
  }
  S.Line(BoolToStr(Ok, 1) + " " + BoolToStr(Closure, 1));
  bool Result = Ok;
  if (Ok) {
    S.PartnerOf[SAtom] = T;
    S.Paired[T] = true;
    ++S.Depth;
    S.Map[T - 1] = 1;
    int SubNb[MaxConn], TabNb[MaxConn];
    int M = 0, N = 0;
    for (int K = 1; K <= Sub.GetNBonds(SAtom); ++K)
      if (Sub.GetConnTo(SAtom, K) != PrevS) SubNb[M++] = Sub.GetConnTo(SAtom, K);
    for (int K = 1; K <= GetNBonds(T); ++K)
      if (GetConnTo(T, K) != PrevT) TabNb[N++] = GetConnTo(T, K);
    if (M > N && !Closure) {
      Result = false;
    } else if (M > 0 && !Closure) {
      int First[MaxConn], P[MaxConn];
      for (int I = 0; I < M; ++I) First[I] = P[I] = I + 1;
      NextArrangement(P, M, N);
      Result = false;
      while (!Result) {
        bool All = true;
        for (int I = 0; I < M && All; ++I) All = MatchAtoms(S, T, SAtom, TabNb[P[I] - 1], SubNb[I]);
        Result = All;
        if (std::equal(P, P + M, First)) break;
        NextArrangement(P, M, N);
      }
    }
    --S.Depth;
    S.PartnerOf[SAtom] = 0;
    S.Paired[T] = false;
    if (!Result) S.Map[T - 1] = 0;
  }
  S.Line("final: " + BoolToStr(Result, 1));
  S.Line("--------------");
  return Result;
}

bool TCTab::SearchSubStruc(const TCTab& Sub, uint8_t* Map, bool CompareBonds) {
  if (Sub.FNAtoms == 0 || !SumForContained(Sub) || CycleCount() < Sub.CycleCount())
    return false;
  uint8_t OwnMap[MaxAtoms];
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> Trace(std::fopen(SubStrucTraceFile, "ab"),
                                                       &std::fclose);
  TSubSearch S{Sub, Map ? Map : OwnMap, CompareBonds, Trace.get()};
  int Start = Sub.FNAtoms;
  for (int I = 1; I < Sub.FNAtoms; ++I)
    if (Sub.GetAtNum(I) != ZC) {
      Start = I;
      break;
    }
  if (Sub.GetAtNum(Start) == ZC) {
    for (int J = 1; J <= FNAtoms; ++J)
      if (MatchAtoms(S, 0, 0, J, 1)) return true;
    return false;
  }
  for (int I = 1; I <= FNAtoms; ++I)
    if (GetAtNum(I) == Sub.GetAtNum(Start) && MatchAtoms(S, 0, 0, I, Start)) return true;
  return false;
}

void TCTab::MatchAtomTemplate(int8_t AtNum, int8_t NBonds, const uint8_t BondTemplate[MaxConn],
                              AtListType& List) const {
  List = AtListType{};
  for (int I = 1; I <= FNAtoms; ++I) {
    const int Z = GetAtNum(I);
    const int NB = GetNBonds(I);
    if (AtNum > 0 && Z != AtNum) continue;
    if (AtNum < 0 && Z == -AtNum) continue;
    if (NBonds > 0 && NB != NBonds) continue;
    if (NBonds < 0 && NB == -NBonds) continue;
    bool Taken[MaxConn] = {};
    bool Fits = true;
    for (int E = 0; E < MaxConn && Fits && BondTemplate; ++E) {
      if (BondTemplate[E] == 0) continue;
      Fits = false;
      for (int K = 0; K < NB && !Fits; ++K)
        if (!Taken[K] && GetTypConn(I, K + 1) == BondTemplate[E]) Taken[K] = Fits = true;
    }
    if (Fits) List.Atoms[List.NAtoms++] = I;
  }
}

}  // namespace nuv
