// The connection table: one chemical structure of up to 63 atoms, each with its element,
// isotope, charge, marks, coordinates and up to ten bonded neighbours.
#pragma once

#include <cstdint>
#include <string>

#include "platform/NUV_Classes.h"

namespace nuv {

constexpr int MaxAtoms = 63;  // atoms of one table
constexpr int MaxConn = 10;   // neighbours of one atom

// Bond types. Other values are stored as they are.
constexpr uint8_t btSingle = 1, btDouble = 2, btTriple = 3, btAromatic = 4;

// DispInfo of an atom without a colour of its own (bit 31). Bits 0..25 hold the atom's own
// RGB colour, bits 28..30 a visible-attribute code 0..7.
constexpr uint32_t DispInfoNoColor = 0x80000000u;

// One atom. Neighbour slot k (1..10) is ConnTo[k - 1] with bond type TypConn[k - 1]; used
// slots come first, 0 marks a free slot. Coordinate c (1 x, 2 y, 3 z) is Coords[c - 1].
// A default-constructed record is cleared (as ClearCTElem leaves it).
struct CTElem {
  uint8_t AtNum = 0;       // 1..103; 0 in an empty record
  uint16_t AtWeight = 0;   // isotope mass number (the nominal mass for a natural atom)
  uint8_t AtFlag = 0;      // free mark; equal marks pair atoms in JoinFragment, LinkFragment
  uint8_t Attrib = 0;      // attribute bits (ring perception)
  int8_t Charge = 0;       // formal charge
  uint8_t ConnTo[MaxConn] = {};
  uint8_t TypConn[MaxConn] = {};
  float Coords[3] = {};
  uint32_t DispInfo = DispInfoNoColor;
};

void ClearCTElem(CTElem& E);

enum CoordUnitType : uint8_t { cuUnknown, cuPixel, cuNanoM, cuPicoM, cuAngstrom };

// Atom numbers count from 1, neighbour slots from 1 to 10, coordinates from 1 to 3. No
// operation raises: getters give 0 (or a cleared record) for an invalid number, setters
// ignore it.
//
// Bonds join two different existing atoms and are normally recorded at both of them with
// the same type; MakeConnection and the fragment operations keep it so. EnterConn,
// SetConnTo and AddAtom record one direction only (readers enter the other one, or call
// MakeSymmetricConnections).
//
// Change notification: Clear, CopyFrom, the CASNr setter, SetCoordsPresent(false) and every
// accessor setter that stores a value call Changed, which fires OnChange. The structural
// operations (AddAtom, DeleteAtom, RemoveHydrogen, MakeConnection, EnterConn,
// MakeSymmetricConnections, JoinFragment, LinkFragment, ClearAttributes) do not: whoever
// changes the structure through them calls Changed when done.
class TCTab : public TComponent {
 public:
  explicit TCTab(TComponent* AOwner);

  // ------------------------------------------------------------ table properties
  int GetNAtoms() const { return FNAtoms; }
  // The registry number as "7732-18-5" ("0-00-0" when there is none). Writing accepts the
  // same forms as ConvertStrToCASNr; a malformed text or a wrong check digit keeps the old
  // number. Changed is called in both cases.
  std::string GetCASNr() const;
  void SetCASNr(const std::string& Value);
  const std::string& GetStrucName() const { return FStrucName; }
  void SetStrucName(const std::string& Value) { FStrucName = Value; }
  CoordUnitType GetCoordUnit() const { return FCoordUnit; }
  void SetCoordUnit(CoordUnitType Value) { FCoordUnit = Value; }

  TNotifyEvent OnChange;
  void Changed();

  // ------------------------------------------------------------ atom accessors
  int GetAtNum(int I) const;
  int GetAtWeight(int I) const;
  int GetAtFlag(int I) const;
  int GetAttrib(int I) const;
  int GetCharge(int I) const;
  void SetAtNum(int I, int Value);     // 1..103
  void SetAtWeight(int I, int Value);  // 0..65535
  void SetAtFlag(int I, uint8_t Value);
  void SetAttrib(int I, uint8_t Value);
  void SetCharge(int I, int8_t Value);
  int GetConnTo(int I, int K) const;
  int GetTypConn(int I, int K) const;
  // Value 0 frees the slot; otherwise it must be another existing atom.
  void SetConnTo(int I, int K, int Value);
  void SetTypConn(int I, int K, uint8_t Value);
  float GetCoords(int I, int C) const;
  void SetCoords(int I, int C, float Value);
  CTElem GetAtomEntries(int I) const;
  // Copies every field; neighbour numbers outside 1..63 and the atom's own number are
  // dropped and the remaining neighbours closed up.
  void SetAtomEntries(int I, const CTElem& E);

  // ------------------------------------------------------------ queries
  int GetNBonds(int I) const;  // used neighbour slots
  // The largest GetNBonds; I receives the first atom that has it (unchanged when no atom
  // has a bond).
  int MaxNBonds(int& I) const;
  // The bond type between I and J as recorded at I; 0 when they are not bonded.
  int CheckConnect(int I, int J) const;
  int AtomCount(int AtNum) const;
  bool ContainsUnconnectedAtom() const;
  bool GetCoordsPresent() const;
  // False sets every coordinate to 0 and calls Changed; true does nothing.
  void SetCoordsPresent(bool Value);
  bool CheckCASNr(int64_t CASNr) const;

  // ------------------------------------------------------------ editing
  void Clear();
  void ClearAttributes();
  // Appends an atom (false when the table is full). Its neighbours are entered at the new
  // atom only; they may name atoms 1..63 that are appended later, as readers that list
  // every bond at both atoms do. DispInfo is not copied.
  bool AddAtom(const CTElem& E);
  // Deletes atom D and bonds its former neighbours to one another; the last atom takes
  // number D (with all its data, the display information included). A new bond a-b
  // (a < b, numbers before the deletion) gets at both atoms the type of the former bond
  // D-b, which is what MakeSymmetricConnections would settle on; a bond that a and b
  // already had stays as it was, and a neighbour list that is full takes no more bonds.
  void DeleteAtom(int D);
  void RemoveHydrogen();
  // Type != 0 enters the bond at both atoms (false, and nothing entered, when I or J is not
  // an atom, I = J, or one of them already has ten other neighbours); type 0 breaks the
  // bond (false when it was not recorded at either atom).
  bool MakeConnection(int I, int J, uint8_t BondType);
  // Enters J with the type (low 8 bits) at atom I only: updates the type when J is already
  // a neighbour, takes the first free slot otherwise, does nothing when the ten slots hold
  // other atoms or when I and J are not two different existing atoms.
  void EnterConn(int I, int J, int BondType);
  // Enters every bond at its second atom too; where the two sides disagree both end with
  // the type recorded at the lower-numbered atom.
  void MakeSymmetricConnections();
  // Copies everything but the display information of the atoms; then Changed.
  void CopyFrom(const TCTab& Other);
  // Merges a fragment: a fragment atom whose AtFlag equals a table atom's (the last such
  // one) becomes that atom, taking over its element, isotope and charge and adding its
  // bonds; every other fragment atom (a marked one without partner too) is appended with
  // its coordinates. Nothing happens when the appended atoms would not fit.
  void JoinFragment(const TCTab& Fragment);
  // Appends a fragment and bonds (single) every old atom with a non-zero AtFlag to every
  // appended atom with the same AtFlag. Nothing happens when the atoms would not fit.
  void LinkFragment(const TCTab& Fragment);
  // Bit set of differences (0: identical): 1 atom count, 2 name (ignoring case), 4 unit,
  // 8 registry number, 16 AtNum, 32 AtWeight, 64 AtFlag, 128 Attrib, 256 Charge, 512 x,
  // 1024 y, 2048 z, 4096 ConnTo, 8192 TypConn. Neighbours are compared slot by slot.
  int CompareWith(const TCTab& Other) const;

  // Further topics (rings and substructure search, structure files, formula and geometry)
  // are members too, each declared in a section of its own here and implemented in its own
  // NUV_cstruct_<topic>.cpp.

 private:
  // Representation: atom I (1..FNAtoms) is FAtoms[I - 1]; the records from FNAtoms on stay
  // cleared. Every atom's used neighbour slots come first. FCASNr is 0 when none.
  bool ValidAtom(int I) const { return I >= 1 && I <= FNAtoms; }
  CTElem& Atom(int I) { return FAtoms[I - 1]; }
  const CTElem& Atom(int I) const { return FAtoms[I - 1]; }
  // The slot walk of EnterConn, for any two different atom numbers 1..63.
  void EnterSlot(int I, int J, int BondType);
  bool HasRoomFor(int I, int J) const;
  // Removes neighbour J from atom I's list, closing the gap; false when it was not there.
  bool RemoveNeighbour(int I, int J);
  // Drops repeated neighbours (the first stays) and closes free slots.
  void TidyNeighbours(int I);

  int FNAtoms = 0;
  CTElem FAtoms[MaxAtoms];
  std::string FStrucName;
  int64_t FCASNr = 0;
  CoordUnitType FCoordUnit = cuUnknown;
};

}  // namespace nuv
