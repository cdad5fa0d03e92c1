// Hydrogen counts, molecular formula and weight, and the geometric queries of the
// connection table.
#include <algorithm>
#include <cmath>

#include "chem/NUV_CData.h"
#include "chem/NUV_cstruct.h"
#include "contracts/base/NUV_BaseTypes.h"
#include "contracts/math/NUV_Math.h"
#include "contracts/math/NUV_Matrix.h"

namespace nuv {

namespace {

int StandardValence(int AtNum) {
  switch (AtNum) {
    case 1: case 9: case 17: case 35: case 53: return 1;
    case 8: case 16: return 2;
    case 5: case 7: case 15: return 3;
    case 6: case 14: case 32: return 4;
    default: return 0;
  }
}

// Elements that come first in a formula, in this order.
constexpr int FormulaOrder[] = {6, 1, 7, 8, 16, 15, 9, 17, 35, 53};

}  // namespace

// ---------------------------------------------------------------- hydrogens and formula

int TCTab::NrHAtoms(int A) const {
  if (!ValidAtom(A) || Atom(A).AtNum == 1) return 0;
  const int NB = GetNBonds(A);
  int E = 0, S = 0, R = 0;
  for (int K = 1; K <= NB; ++K) {
    const int Type = GetTypConn(A, K);
    if (GetAtNum(GetConnTo(A, K)) == 1) ++E;
    S += Type == btAromatic ? 1 : Type;
    if (Type == btAromatic) R = 1;
  }
  const int V = StandardValence(Atom(A).AtNum);
  if (V > S + R) return V - R - S + E + Atom(A).Charge;
  int Result = E;
  // An isocyanide nitrogen takes back the hydrogen that its terminal carbon got; the
  // nitrogen of a lone C#N (hydrogen cyanide) has no second neighbour and takes nothing.
  if (Atom(A).AtNum == 7 && NB >= 2)
    for (int K = 1; K <= NB; ++K) {
      const int B = GetConnTo(A, K);
      if (GetTypConn(A, K) == btTriple && GetAtNum(B) == 6 && GetNBonds(B) == 1) {
        Result = -1;
        break;
      }
    }
  if (Atom(A).AtNum == 15 && S == 4) ++Result;
  return Result;
}

int TCTab::CalcMissingH() const {
  int H = 0;
  for (int I = 1; I <= FNAtoms; ++I) H += NrHAtoms(I);
  return H;
}

bool TCTab::CalcMolecularFormula(TFormulaRec& F) const {
  TFormulaRec List;
  auto Append = [&List](int AtNum, int Wgt, int Cnt) {
    if (List.NEntries >= MaxFormEntries) return false;
    const int E = List.NEntries++;
    List.AtNum[E] = static_cast<uint8_t>(AtNum);
    List.AtWgt[E] = static_cast<uint16_t>(Wgt);
    List.AtCnt[E] = static_cast<uint16_t>(Cnt);
    return true;
  };
  const int H = CalcMissingH();
  if (H > 0) Append(1, 1, std::min(H, static_cast<int>(UINT16_MAX)));
  for (int I = 1; I <= FNAtoms; ++I) {
    const CTElem& A = Atom(I);
    if (A.AtNum == 1) continue;
    int E = 0;
    while (E < List.NEntries && !(List.AtNum[E] == A.AtNum && List.AtWgt[E] == A.AtWeight)) ++E;
    if (E < List.NEntries)
      ++List.AtCnt[E];
    else if (!Append(A.AtNum, A.AtWeight, 1))
      return false;
  }
  TFormulaRec Sorted;
  bool Taken[MaxFormEntries] = {};
  auto Take = [&](int E) {
    const int D = Sorted.NEntries++;
    Sorted.AtNum[D] = List.AtNum[E];
    Sorted.AtWgt[D] = List.AtWgt[E];
    Sorted.AtCnt[D] = List.AtCnt[E];
    Taken[E] = true;
  };
  for (int Z : FormulaOrder)
    for (int E = 0; E < List.NEntries; ++E)
      if (List.AtNum[E] == Z) Take(E);
  for (int E = 0; E < List.NEntries; ++E)
    if (!Taken[E]) Take(E);
  F = Sorted;
  return true;
}

double TCTab::CalcChemMolWeight() const {
  double W = ChemAtWeight(1) * CalcMissingH();
  for (int I = 1; I <= FNAtoms; ++I)
    if (Atom(I).AtNum != 1) W += ChemAtWeight(Atom(I).AtNum);
  return W;
}

// ---------------------------------------------------------------- geometry

void TCTab::CalcMolCenter(double& X, double& Y, double& Z) const {
  X = Y = Z = 0.0;
  if (FNAtoms == 0) return;
  for (int I = 1; I <= FNAtoms; ++I) {
    X += Atom(I).Coords[0];
    Y += Atom(I).Coords[1];
    Z += Atom(I).Coords[2];
  }
  X /= FNAtoms;
  Y /= FNAtoms;
  Z /= FNAtoms;
}

double TCTab::CalcMolExtents(double& MinX, double& MinY, double& MaxX, double& MaxY,
                             double& MeanX, double& MeanY) const {
  if (FNAtoms < 2) {
    MinX = 1;
    MaxX = 10000;
    MinY = 1;
    MaxY = 7000;
    MeanX = 5000;
    MeanY = 3500;
    return 0.0;
  }
  MinX = 10000;
  MaxX = 0;
  MinY = 7000;
  MaxY = 0;
  float SumX = 0.0f, SumY = 0.0f;
  double SumLen = 0.0;
  int NLen = 0;
  for (int I = 1; I <= FNAtoms; ++I) {
    const float X = Atom(I).Coords[0], Y = Atom(I).Coords[1];
    MinX = std::min(MinX, static_cast<double>(X));
    MaxX = std::max(MaxX, static_cast<double>(X));
    MinY = std::min(MinY, static_cast<double>(Y));
    MaxY = std::max(MaxY, static_cast<double>(Y));
    SumX += X;
    SumY += Y;
    for (int K = 1; K <= GetNBonds(I); ++K) {
      const int J = GetConnTo(I, K);
      // In floating point: squared distances of far-apart atoms exceed 32 bits.
      const double DX = static_cast<double>(X) - GetCoords(J, 1);
      const double DY = static_cast<double>(Y) - GetCoords(J, 2);
      SumLen += std::sqrt(DX * DX + DY * DY);
      ++NLen;
    }
  }
  MeanX = SumX / static_cast<float>(FNAtoms);
  MeanY = SumY / static_cast<float>(FNAtoms);
  return NLen > 0 ? SumLen / NLen : 0.0;
}

int TCTab::FindAtomInBox(double X, double Y, double Z, double DX, double DY, double DZ) const {
  for (int I = FNAtoms; I >= 1; --I) {
    const float* C = Atom(I).Coords;
    if (std::fabs(C[0] - X) <= DX && std::fabs(C[1] - Y) <= DY && std::fabs(C[2] - Z) <= DZ)
      return I;
  }
  return -1;
}

void TCTab::FindClosestAtom(double X, double Y, double Z, int& AtomNr, double& Distance) const {
  Distance = uc_MaxDouble;
  AtomNr = 0;
  for (int I = 1; I <= FNAtoms; ++I) {
    const float* C = Atom(I).Coords;
    const double D = std::sqrt((C[0] - X) * (C[0] - X) + (C[1] - Y) * (C[1] - Y) +
                               (C[2] - Z) * (C[2] - Z));
    if (D < Distance) {
      Distance = D;
      AtomNr = I;
    }
  }
}

void TCTab::RotateWithPCA() {
  TMatrix M(nullptr);
  M.Resize(3, FNAtoms);
  for (int I = 1; I <= FNAtoms; ++I) {
    M.SetVal(1, I, Atom(I).Coords[0]);
    M.SetVal(2, I, Atom(I).Coords[1]);
    M.SetVal(3, I, 0.0);
  }
  if (!CalcPrincComp(M, 1, 3, 1, FNAtoms, 1)) return;
  for (int I = 1; I <= FNAtoms; ++I)
    for (int K = 1; K <= 3; ++K) {
      double V = 0.0;
      for (int J = 1; J <= 3; ++J) V += M.GetVal(J, I) * GetEigenResult(K, J);
      // nearbyint rounds halves to even in the default rounding mode.
      Atom(I).Coords[K - 1] = static_cast<float>(std::nearbyint(V));
    }
}

}  // namespace nuv
