#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "chem/NUV_cstruct.h"

namespace nuv {
namespace {

CTElem MakeAtom(int AtNum, float X = 0, float Y = 0, uint8_t Flag = 0) {
  CTElem E;
  E.AtNum = static_cast<uint8_t>(AtNum);
  E.AtWeight = static_cast<uint16_t>(AtNum == 1 ? 1 : AtNum == 6 ? 12 : AtNum * 2);
  E.Coords[0] = X;
  E.Coords[1] = Y;
  E.AtFlag = Flag;
  return E;
}

// Atoms of the given elements; then the bonds (i, j, type), entered at both atoms.
void Build(TCTab& T, std::vector<int> Elements, std::vector<std::tuple<int, int, int>> Bonds) {
  for (size_t I = 0; I < Elements.size(); ++I)
    ASSERT_TRUE(T.AddAtom(MakeAtom(Elements[I], static_cast<float>(I + 1))));
  for (auto [I, J, Type] : Bonds)
    ASSERT_TRUE(T.MakeConnection(I, J, static_cast<uint8_t>(Type)));
}

// Every atom's neighbours as (neighbour, type) in slot order.
std::vector<std::vector<std::pair<int, int>>> Neighbours(const TCTab& T) {
  std::vector<std::vector<std::pair<int, int>>> R;
  for (int I = 1; I <= T.GetNAtoms(); ++I) {
    R.emplace_back();
    for (int K = 1; K <= T.GetNBonds(I); ++K)
      R.back().emplace_back(T.GetConnTo(I, K), T.GetTypConn(I, K));
  }
  return R;
}

// The invariants: contiguous lists, every neighbour another existing atom listed once, and
// every bond recorded at both atoms with one type.
void ExpectConsistent(const TCTab& T) {
  for (int I = 1; I <= T.GetNAtoms(); ++I) {
    const int N = T.GetNBonds(I);
    for (int K = 1; K <= MaxConn; ++K) {
      const int J = T.GetConnTo(I, K);
      if (K > N) {
        EXPECT_EQ(J, 0) << "gap in atom " << I;
        continue;
      }
      EXPECT_TRUE(J >= 1 && J <= T.GetNAtoms() && J != I) << I << "-" << J;
      for (int L = 1; L < K; ++L) EXPECT_NE(T.GetConnTo(I, L), J) << "repeated at " << I;
      EXPECT_EQ(T.CheckConnect(J, I), T.GetTypConn(I, K)) << I << "-" << J;
    }
  }
}

TEST(ConnectionTable, StartsEmptyAndClears) {
  TCTab T(nullptr);
  EXPECT_EQ(T.GetNAtoms(), 0);
  EXPECT_EQ(T.GetCASNr(), "0-00-0");
  EXPECT_EQ(T.GetCoordUnit(), cuUnknown);
  CTElem E;
  E.AtNum = 7;
  E.ConnTo[0] = 3;
  E.DispInfo = 5;
  ClearCTElem(E);
  EXPECT_EQ(E.AtNum, 0);
  EXPECT_EQ(E.ConnTo[0], 0);
  EXPECT_EQ(E.DispInfo, DispInfoNoColor);
  Build(T, {6, 8}, {{1, 2, 2}});
  T.SetStrucName("CO");
  T.SetCASNr("630-08-0");
  T.SetCoordUnit(cuAngstrom);
  int Changes = 0;
  T.OnChange = [&](TObject* Sender) {
    EXPECT_EQ(Sender, &T);
    ++Changes;
  };
  T.Clear();
  EXPECT_EQ(Changes, 1);
  EXPECT_EQ(T.GetNAtoms(), 0);
  EXPECT_EQ(T.GetStrucName(), "");
  EXPECT_EQ(T.GetCASNr(), "0-00-0");
  EXPECT_EQ(T.GetCoordUnit(), cuUnknown);
  EXPECT_EQ(T.GetAtomEntries(1).AtNum, 0);
}

TEST(ConnectionTable, AccessorsCheckNumbersAndNotify) {
  TCTab T(nullptr);
  Build(T, {6, 6}, {{1, 2, 1}});
  int Changes = 0;
  T.OnChange = [&](TObject*) { ++Changes; };
  // Invalid atoms, slots, coordinates and values: ignored, no notification.
  T.SetAtNum(3, 8);
  T.SetAtNum(1, 104);
  T.SetAtNum(1, 0);
  T.SetAtWeight(0, 13);
  T.SetAtWeight(1, 65536);
  T.SetCharge(3, 1);
  T.SetConnTo(1, 11, 2);
  T.SetConnTo(1, 2, 1);   // itself
  T.SetConnTo(1, 2, 3);   // no atom 3
  T.SetCoords(1, 4, 1.0f);
  T.SetTypConn(1, 0, 2);
  T.SetAtomEntries(3, MakeAtom(8));
  EXPECT_EQ(Changes, 0);
  EXPECT_EQ(T.GetAtNum(1), 6);
  EXPECT_EQ(T.GetAtNum(0), 0);
  EXPECT_EQ(T.GetAtNum(3), 0);
  EXPECT_EQ(T.GetConnTo(1, 0), 0);
  EXPECT_EQ(T.GetConnTo(1, 11), 0);
  EXPECT_EQ(T.GetCoords(1, 0), 0.0f);
  EXPECT_EQ(T.GetAtomEntries(5).AtNum, 0);
  // Valid ones store and notify once each.
  T.SetAtNum(1, 8);
  T.SetAtWeight(1, 300);
  T.SetAtFlag(1, 200);
  T.SetAttrib(1, 0x28);
  T.SetCharge(1, -2);
  T.SetCoords(2, 3, 1.5f);
  T.SetTypConn(1, 1, 2);
  T.SetConnTo(2, 1, 0);
  EXPECT_EQ(Changes, 8);
  EXPECT_EQ(std::make_tuple(T.GetAtNum(1), T.GetAtWeight(1), T.GetAtFlag(1), T.GetAttrib(1),
                            T.GetCharge(1), T.GetCoords(2, 3), T.GetTypConn(1, 1)),
            std::make_tuple(8, 300, 200, 0x28, -2, 1.5f, 2));
  EXPECT_EQ(T.GetNBonds(2), 0);
  // A whole record: neighbours that are the atom itself or beyond 63 are dropped.
  CTElem E = MakeAtom(7);
  E.ConnTo[0] = 2;
  E.ConnTo[1] = 64;
  E.ConnTo[2] = 1;
  E.ConnTo[3] = 2;
  E.TypConn[3] = 3;
  E.DispInfo = 0x00FF00;
  T.SetAtomEntries(1, E);
  EXPECT_EQ(Changes, 9);
  EXPECT_EQ(T.GetAtomEntries(1).DispInfo, 0x00FF00u);
  EXPECT_EQ(Neighbours(T)[0], (std::vector<std::pair<int, int>>{{2, 0}, {2, 3}}));
}

TEST(ConnectionTable, QueriesOverAtomsAndBonds) {
  TCTab T(nullptr);
  int First = -5;
  EXPECT_EQ(T.MaxNBonds(First), 0);
  EXPECT_EQ(First, -5);
  EXPECT_FALSE(T.ContainsUnconnectedAtom());
  Build(T, {6, 6, 8, 1, 17}, {{1, 2, 1}, {2, 3, 2}, {2, 4, 1}});
  EXPECT_EQ(T.MaxNBonds(First), 3);
  EXPECT_EQ(First, 2);
  EXPECT_EQ(T.CheckConnect(2, 3), 2);
  EXPECT_EQ(T.CheckConnect(3, 2), 2);
  EXPECT_EQ(T.CheckConnect(1, 3), 0);
  EXPECT_EQ(T.CheckConnect(0, 1), 0);
  EXPECT_EQ(T.AtomCount(6), 2);
  EXPECT_EQ(T.AtomCount(7), 0);
  EXPECT_TRUE(T.ContainsUnconnectedAtom());  // the chlorine
  EXPECT_TRUE(T.GetCoordsPresent());
  int Changes = 0;
  T.OnChange = [&](TObject*) { ++Changes; };
  T.SetCoordsPresent(true);
  EXPECT_EQ(Changes, 0);
  T.SetCoordsPresent(false);
  EXPECT_EQ(Changes, 1);
  EXPECT_FALSE(T.GetCoordsPresent());
  T.SetAttrib(1, 3);
  T.ClearAttributes();
  EXPECT_EQ(T.GetAttrib(1), 0);
}

TEST(ConnectionTable, HoldsAtMost63Atoms) {
  TCTab T(nullptr);
  for (int I = 0; I < MaxAtoms; ++I) ASSERT_TRUE(T.AddAtom(MakeAtom(6)));
  EXPECT_FALSE(T.AddAtom(MakeAtom(6)));
  EXPECT_EQ(T.GetNAtoms(), 63);
}

TEST(ConnectionTable, AddAtomEntersItsOwnSideAndMayNameLaterAtoms) {
  TCTab T(nullptr);
  CTElem A = MakeAtom(6);
  A.ConnTo[0] = 2;  // not there yet
  A.TypConn[0] = 2;
  A.ConnTo[1] = 1;  // itself: dropped
  A.DispInfo = 0x123456;
  ASSERT_TRUE(T.AddAtom(A));
  EXPECT_EQ(T.GetAtomEntries(1).DispInfo, DispInfoNoColor);
  CTElem B = MakeAtom(8);
  B.ConnTo[0] = 1;
  B.TypConn[0] = 2;
  ASSERT_TRUE(T.AddAtom(B));
  EXPECT_EQ(Neighbours(T), (std::vector<std::vector<std::pair<int, int>>>{{{2, 2}}, {{1, 2}}}));
  ExpectConsistent(T);
}

TEST(ConnectionTable, EnterConnChecksAtomsAndSlots) {
  TCTab T(nullptr);
  Build(T, std::vector<int>(12, 6), {});
  T.EnterConn(1, 1, 1);
  T.EnterConn(1, 13, 1);
  T.EnterConn(1, 0, 1);
  T.EnterConn(0, 1, 1);
  T.EnterConn(13, 1, 1);
  T.EnterConn(-1, 70, 1);
  for (int I = 0; I <= 13; ++I) EXPECT_EQ(T.GetNBonds(I), 0) << I;
  T.EnterConn(1, 2, 1);
  T.EnterConn(1, 2, 258);  // an existing neighbour: only the type changes (low 8 bits)
  EXPECT_EQ(Neighbours(T)[0], (std::vector<std::pair<int, int>>{{2, 2}}));
  EXPECT_EQ(T.GetNBonds(2), 0);  // one direction only
  for (int J = 3; J <= 11; ++J) T.EnterConn(1, J, 1);
  EXPECT_EQ(T.GetNBonds(1), 10);
  T.EnterConn(1, 12, 1);  // ten neighbours: nothing happens
  EXPECT_EQ(T.GetNBonds(1), 10);
  EXPECT_EQ(T.CheckConnect(1, 12), 0);
  T.EnterConn(1, 11, 3);  // the tenth neighbour can still change its type
  EXPECT_EQ(T.CheckConnect(1, 11), 3);
}

TEST(ConnectionTable, MakeConnectionEntersBothOrNothing) {
  TCTab T(nullptr);
  Build(T, std::vector<int>(13, 6), {});
  EXPECT_FALSE(T.MakeConnection(1, 1, 1));
  EXPECT_FALSE(T.MakeConnection(1, 14, 1));
  EXPECT_FALSE(T.MakeConnection(0, 1, 1));
  for (int J = 2; J <= 11; ++J) ASSERT_TRUE(T.MakeConnection(1, J, 1));
  EXPECT_FALSE(T.MakeConnection(12, 1, 2));  // atom 1 is full
  EXPECT_EQ(T.GetNBonds(12), 0);
  EXPECT_TRUE(T.MakeConnection(1, 5, 2));    // but can change a bond it has
  EXPECT_EQ(T.CheckConnect(5, 1), 2);
  // Breaking: both lists close up.
  EXPECT_TRUE(T.MakeConnection(1, 3, 0));
  EXPECT_EQ(T.GetNBonds(1), 9);
  EXPECT_EQ(T.GetConnTo(1, 2), 4);
  EXPECT_EQ(T.GetConnTo(1, 10), 0);
  EXPECT_EQ(T.GetNBonds(3), 0);
  EXPECT_FALSE(T.MakeConnection(12, 13, 0));
  ExpectConsistent(T);
  // A bond recorded at one atom only is broken too.
  T.EnterConn(12, 13, 1);
  EXPECT_TRUE(T.MakeConnection(13, 12, 0));
  EXPECT_EQ(T.GetNBonds(12), 0);
}

TEST(ConnectionTable, MakeSymmetricConnectionsTakesTheLowerAtomsType) {
  TCTab T(nullptr);
  Build(T, {6, 6, 8}, {});
  T.EnterConn(1, 2, 2);
  T.EnterConn(2, 1, 1);
  T.EnterConn(3, 2, 3);
  T.EnterConn(2, 9, 1);  // no atom 9: refused
  T.MakeSymmetricConnections();
  EXPECT_EQ(Neighbours(T), (std::vector<std::vector<std::pair<int, int>>>{
                               {{2, 2}}, {{1, 2}, {3, 3}}, {{2, 3}}}));
  ExpectConsistent(T);
}

TEST(ConnectionTable, DeleteInAChainJoinsTheNeighbours) {
  TCTab T(nullptr);
  Build(T, {6, 7, 8}, {{1, 2, 2}, {2, 3, 1}});
  CTElem Last = T.GetAtomEntries(3);
  Last.DispInfo = 0x3000FF00;  // its own colour, visible-attribute code 3
  Last.Charge = -1;
  T.SetAtomEntries(3, Last);
  int Changes = 0;
  T.OnChange = [&](TObject*) { ++Changes; };
  T.DeleteAtom(2);
  EXPECT_EQ(Changes, 0);
  ASSERT_EQ(T.GetNAtoms(), 2);
  // The former atom 3 is atom 2, with everything it had.
  const CTElem Moved = T.GetAtomEntries(2);
  EXPECT_EQ(Moved.AtNum, 8);
  EXPECT_EQ(Moved.Charge, -1);
  EXPECT_EQ(Moved.Coords[0], 3.0f);
  EXPECT_EQ(Moved.DispInfo, 0x3000FF00u);
  // The new bond has the type of the old bond to the higher-numbered atom at both ends.
  EXPECT_EQ(Neighbours(T), (std::vector<std::vector<std::pair<int, int>>>{{{2, 1}}, {{1, 1}}}));
  EXPECT_EQ(T.GetAtomEntries(3).AtNum, 0);
  ExpectConsistent(T);
}

TEST(ConnectionTable, DeleteOfTerminalAndLastAtoms) {
  TCTab T(nullptr);
  Build(T, {6, 6, 8}, {{1, 2, 1}, {2, 3, 2}});
  T.DeleteAtom(3);  // the last atom: nothing renumbered
  EXPECT_EQ(Neighbours(T), (std::vector<std::vector<std::pair<int, int>>>{{{2, 1}}, {{1, 1}}}));
  T.DeleteAtom(1);  // terminal: only its bond goes; atom 2 becomes 1
  ASSERT_EQ(T.GetNAtoms(), 1);
  EXPECT_EQ(T.GetNBonds(1), 0);
  EXPECT_EQ(T.GetCoords(1, 1), 2.0f);
  T.DeleteAtom(0);
  T.DeleteAtom(2);
  EXPECT_EQ(T.GetNAtoms(), 1);
}

TEST(ConnectionTable, DeleteInARingLeavesASmallerRing) {
  TCTab T(nullptr);
  Build(T, {6, 6, 6, 6, 6, 7}, {{1, 2, 4}, {2, 3, 4}, {3, 4, 4}, {4, 5, 4}, {5, 6, 4}, {6, 1, 4}});
  T.DeleteAtom(1);
  ASSERT_EQ(T.GetNAtoms(), 5);
  EXPECT_EQ(T.GetAtNum(1), 7);  // the former atom 6
  EXPECT_EQ(Neighbours(T), (std::vector<std::vector<std::pair<int, int>>>{
                               {{5, 4}, {2, 4}}, {{1, 4}, {3, 4}}, {{2, 4}, {4, 4}},
                               {{3, 4}, {5, 4}}, {{4, 4}, {1, 4}}}));
  ExpectConsistent(T);
  // In a triangle the two neighbours are bonded already: that bond stays as it was.
  TCTab Tri(nullptr);
  Build(Tri, {6, 6, 8}, {{1, 2, 2}, {2, 3, 1}, {3, 1, 1}});
  Tri.DeleteAtom(3);
  EXPECT_EQ(Neighbours(Tri),
            (std::vector<std::vector<std::pair<int, int>>>{{{2, 2}}, {{1, 2}}}));
}

TEST(ConnectionTable, DeleteNeverOverfillsANeighbourList) {
  // Atom 1 has ten neighbours (2..11); atom 2 has two more (12, 13).
  TCTab T(nullptr);
  Build(T, std::vector<int>(13, 6), {});
  for (int J = 2; J <= 11; ++J) ASSERT_TRUE(T.MakeConnection(1, J, 1));
  ASSERT_TRUE(T.MakeConnection(2, 12, 2));
  ASSERT_TRUE(T.MakeConnection(2, 13, 3));
  T.DeleteAtom(2);
  ASSERT_EQ(T.GetNAtoms(), 12);
  for (int I = 1; I <= 12; ++I) EXPECT_LE(T.GetNBonds(I), MaxConn);
  ExpectConsistent(T);
  // Atom 1 took one of them in the freed slot; the other found no room on its side.
  EXPECT_EQ(T.GetNBonds(1), 10);
  EXPECT_EQ(T.CheckConnect(1, 12), 2);
  EXPECT_EQ(T.CheckConnect(2, 1), 0);  // the former atom 13
}

TEST(ConnectionTable, RemoveHydrogen) {
  TCTab T(nullptr);
  Build(T, {1, 1}, {{1, 2, 1}});
  T.RemoveHydrogen();
  EXPECT_EQ(T.GetNAtoms(), 0);
  TCTab M(nullptr);
  Build(M, {1, 6, 1, 8, 1, 1}, {{2, 1, 1}, {2, 3, 1}, {2, 4, 1}, {2, 5, 1}, {4, 6, 1}});
  M.RemoveHydrogen();
  ASSERT_EQ(M.GetNAtoms(), 2);
  EXPECT_EQ(M.GetAtNum(1), 8);  // renumbered as the hydrogens went
  EXPECT_EQ(M.GetAtNum(2), 6);
  EXPECT_EQ(M.CheckConnect(1, 2), 1);
  ExpectConsistent(M);
}

TEST(ConnectionTable, CopyAndCompare) {
  TCTab A(nullptr), B(nullptr);
  Build(A, {6, 6, 8}, {{1, 2, 1}, {2, 3, 2}});
  A.SetStrucName("Ethanal");
  A.SetCASNr("75-07-0");
  A.SetCoordUnit(cuPixel);
  CTElem E = A.GetAtomEntries(1);
  E.DispInfo = 0x123;
  A.SetAtomEntries(1, E);
  int Changes = 0;
  B.OnChange = [&](TObject*) { ++Changes; };
  B.CopyFrom(A);
  EXPECT_EQ(Changes, 1);
  EXPECT_EQ(B.CompareWith(A), 0);
  EXPECT_EQ(B.GetCASNr(), "75-07-0");
  EXPECT_EQ(B.GetAtomEntries(1).DispInfo, DispInfoNoColor);  // display information stays
  B.SetStrucName("ETHANAL");
  EXPECT_EQ(B.CompareWith(A), 0);

  struct TCase {
    void (*Change)(TCTab&);
    int Bits;
  };
  const TCase Cases[] = {
      {[](TCTab& T) { T.AddAtom(CTElem{}); }, 1},
      {[](TCTab& T) { T.SetStrucName("Acetaldehyde"); }, 2},
      {[](TCTab& T) { T.SetCoordUnit(cuAngstrom); }, 4},
      {[](TCTab& T) { T.SetCASNr("50-00-0"); }, 8},
      {[](TCTab& T) { T.SetAtNum(3, 16); }, 16},
      {[](TCTab& T) { T.SetAtWeight(3, 18); }, 32},
      {[](TCTab& T) { T.SetAtFlag(3, 1); }, 64},
      {[](TCTab& T) { T.SetAttrib(3, 1); }, 128},
      {[](TCTab& T) { T.SetCharge(3, 1); }, 256},
      {[](TCTab& T) { T.SetCoords(3, 1, 9); }, 512},
      {[](TCTab& T) { T.SetCoords(3, 2, 9); }, 1024},
      {[](TCTab& T) { T.SetCoords(3, 3, 9); }, 2048},
      {[](TCTab& T) { T.SetTypConn(3, 1, 1); }, 8192},
      {[](TCTab& T) { T.MakeConnection(1, 3, 1); }, 4096 | 8192},
      {[](TCTab& T) { T.SetAtNum(1, 7); T.SetCharge(2, -1); }, 16 | 256},
  };
  for (const TCase& C : Cases) {
    TCTab T(nullptr);
    T.CopyFrom(A);
    C.Change(T);
    EXPECT_EQ(T.CompareWith(A), C.Bits);
    EXPECT_EQ(A.CompareWith(T), C.Bits);
  }
}

TEST(ConnectionTable, RegistryNumberText) {
  TCTab T(nullptr);
  int Changes = 0;
  T.OnChange = [&](TObject*) { ++Changes; };
  T.SetCASNr(" 50-00-0 ");
  EXPECT_EQ(T.GetCASNr(), "50-00-0");
  T.SetCASNr("7732-18-4");  // wrong check digit
  EXPECT_EQ(T.GetCASNr(), "50-00-0");
  T.SetCASNr("water");
  EXPECT_EQ(T.GetCASNr(), "50-00-0");
  EXPECT_EQ(Changes, 3);
  T.SetCASNr("2147483-65-4");
  EXPECT_EQ(T.GetCASNr(), "2147483-65-4");
  EXPECT_TRUE(T.CheckCASNr(7732185));
  EXPECT_FALSE(T.CheckCASNr(7732184));
}

TEST(ConnectionTable, JoinFragmentMergesMarkedAtoms) {
  // Table: C1-C2, C2 marked 5. Fragment: O (marked 5, charge -1) - N - Cl.
  TCTab T(nullptr), F(nullptr);
  Build(T, {6, 6}, {{1, 2, 1}});
  T.SetAtFlag(2, 5);
  Build(F, {8, 7, 17}, {{1, 2, 1}, {2, 3, 2}});
  F.SetAtFlag(1, 5);
  F.SetCharge(1, -1);
  F.SetCoords(2, 1, 20);
  TCTab Before(nullptr);
  Before.CopyFrom(F);
  T.JoinFragment(F);
  EXPECT_EQ(F.CompareWith(Before), 0);
  ASSERT_EQ(T.GetNAtoms(), 4);
  EXPECT_EQ(T.GetAtNum(2), 8);
  EXPECT_EQ(T.GetCharge(2), -1);
  EXPECT_EQ(T.GetCoords(2, 1), 2.0f);   // the table's coordinates stay
  EXPECT_EQ(T.GetAtNum(3), 7);
  EXPECT_EQ(T.GetCoords(3, 1), 20.0f);  // new atoms bring the fragment's
  EXPECT_EQ(T.GetAtNum(4), 17);
  EXPECT_EQ(Neighbours(T), (std::vector<std::vector<std::pair<int, int>>>{
                               {{2, 1}}, {{1, 1}, {3, 1}}, {{2, 1}, {4, 2}}, {{3, 2}}}));
  ExpectConsistent(T);
}

TEST(ConnectionTable, JoinFragmentAppendsUnmatchedMarksAndRefusesOverflow) {
  TCTab T(nullptr), F(nullptr);
  Build(T, {6}, {});
  T.SetAtFlag(1, 1);
  Build(F, {8, 7}, {{1, 2, 1}});
  F.SetAtFlag(1, 1);
  F.SetAtFlag(2, 9);  // no partner: appended
  T.JoinFragment(F);
  ASSERT_EQ(T.GetNAtoms(), 2);
  EXPECT_EQ(T.GetAtNum(1), 8);
  EXPECT_EQ(T.GetAtNum(2), 7);
  EXPECT_EQ(T.CheckConnect(1, 2), 1);
  ExpectConsistent(T);

  TCTab Big(nullptr), Frag(nullptr);
  Build(Big, std::vector<int>(60, 6), {});
  Build(Frag, std::vector<int>(4, 8), {{1, 2, 1}});
  Big.JoinFragment(Frag);
  EXPECT_EQ(Big.GetNAtoms(), 60);
  EXPECT_EQ(Big.AtomCount(8), 0);
}

TEST(ConnectionTable, LinkFragmentBondsEqualMarks) {
  TCTab T(nullptr), F(nullptr);
  Build(T, {6, 6}, {{1, 2, 2}});
  T.SetAtFlag(2, 7);
  Build(F, {8, 1}, {{1, 2, 1}});
  F.SetAtFlag(1, 7);
  CTElem E = F.GetAtomEntries(2);
  E.DispInfo = 0xFF;
  F.SetAtomEntries(2, E);
  T.LinkFragment(F);
  ASSERT_EQ(T.GetNAtoms(), 4);
  EXPECT_EQ(F.GetNAtoms(), 2);
  EXPECT_EQ(T.GetAtNum(3), 8);
  EXPECT_EQ(T.GetAtomEntries(4).DispInfo, 0xFFu);
  EXPECT_EQ(Neighbours(T), (std::vector<std::vector<std::pair<int, int>>>{
                               {{2, 2}}, {{1, 2}, {3, 1}}, {{4, 1}, {2, 1}}, {{3, 1}}}));
  ExpectConsistent(T);
  // Linking a table to itself doubles it.
  T.LinkFragment(T);
  EXPECT_EQ(T.GetNAtoms(), 8);
  ExpectConsistent(T);

  TCTab Big(nullptr);
  Build(Big, std::vector<int>(62, 6), {});
  Big.LinkFragment(F);
  EXPECT_EQ(Big.GetNAtoms(), 62);
}

}  // namespace
}  // namespace nuv
