// The connection table: one chemical structure of up to 63 atoms, each with its element,
// isotope, charge, marks, coordinates and up to ten bonded neighbours.
//
// The model and its editing live in NUV_cstruct.cpp; rings, fragment codes and the
// substructure search in NUV_cstruct_rings.cpp; structure files in NUV_cstruct_files.cpp;
// hydrogen counts, formula, weight and geometry in NUV_cstruct_geom.cpp.
#pragma once

#include <cstdint>
#include <string>

#include "chem/NUV_cform.h"
#include "platform/NUV_Classes.h"
#include "platform/NUV_Streams.h"

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

// ---------------------------------------------------------------- rings and fragments

constexpr int MaxRings = 100;  // rings of one ring list

// One ring: its atoms in ring order, Atoms[0 .. NAtoms - 1].
struct RingType {
  uint8_t NAtoms = 0;
  uint8_t Atoms[MaxAtoms] = {};
};

// Rings 1..NRings are Rings[0 .. NRings - 1]; a list never holds more than MaxRings.
struct RingListType {
  int32_t NRings = 0;
  RingType Rings[MaxRings];
};

// Atoms 1..NAtoms are Atoms[0 .. NAtoms - 1]; the remaining entries are 0.
struct AtListType {
  int32_t NAtoms = 0;
  int32_t Atoms[MaxAtoms] = {};
};

// True when some ring of the list holds every atom of R (a subset test); false for an
// empty list.
bool RingInRingList(const RingType& R, const RingListType& List);

// Attribute bits of an atom (CalcAttributes).
constexpr uint8_t atChain = 0x01;      // in no ring
constexpr uint8_t atOtherRing = 0x02;  // in a ring of 3 or 4, or of more than 6 atoms
constexpr uint8_t atRing5 = 0x04;
constexpr uint8_t atRing6 = 0x08;
constexpr uint8_t atBranch = 0x10;     // more than two neighbours
constexpr uint8_t atRing = 0x20;
constexpr uint8_t atTerminal = 0x40;   // chain atom with one neighbour
constexpr uint8_t atMultiRing = 0x80;  // in more than one ring of the SSSR

// The counts of FragmentCount.
enum FrgType : uint8_t {
  NSglBnd, NCCSgl, NDblBnd, NCCDbl, NTrplBnd, NCCTrpl, NAroBnd, NBranch, XCnt, COOH,
  COO, NO2, AnyCO, AroCl, AroBr, AnyOH, PhOH, NH2, NHR, NR2, NCON, CN, CONR2, CHO, COX,
  AnySO, OCH3, NO, NNH2
};
constexpr int NrFrgTypes = 29;

// Substructure search modes; no operation takes one yet.
enum SSSMode : uint8_t { smSkeleton, smAtoms, smBonds, smAtomAndBonds };

// A fragment code as text: the atom's element, then bond and element of each neighbour
// (339 gives "C1O"); "ERROR" for a negative code.
std::string FragmentStr(int Code);

// The file to which every substructure search appends its trace, in the current folder.
inline constexpr const char* SubStrucTraceFile = "substrct.txt";

// ---------------------------------------------------------------- structure files

// The SD data items that ReadFromMDLSDFile keeps.
constexpr int NrSDDataItems = 20;
extern const char* const SDDataItemNames[NrSDDataItems];

// One data item of an SD record; an empty name marks a free entry.
struct TPropEntry {
  std::string Name;
  double Value = 0.0;
};
struct TPropRec {
  TPropEntry Items[NrSDDataItems];
};

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

  // ------------------------------------------------------------ rings and fragments
  // Rings walk the neighbours in slot order. FindShortestRings and everything built on it
  // (FindSSSR, CalcAttributes) use AtFlag as the mark of the current path and leave every
  // AtFlag at 0.

  // Bonds - atoms + 1: the number of rings of a structure in one piece.
  int RingsInMolecule() const;
  // The rings of the smallest size through atom Start (each once); their number.
  int FindShortestRings(uint16_t Start, RingListType& List);
  // A smallest set of smallest rings: the shortest rings through each atom in turn, a ring
  // whose atoms all lie in a listed ring left out; atoms with at most two neighbours whose
  // ring is listed are not searched again. The number of rings.
  int FindSSSR(RingListType& List);
  // Sets the attribute bits (at...) of every atom from the SSSR; the number of its rings.
  int CalcAttributes();
  // The neighbourhood of atom A as a code: bits 0..3 the element, then 6 bits for each
  // neighbour (2 bits bond, 4 bits element), the neighbours in descending order. Second
  // receives the number of the neighbours' further neighbours. -1 for an element (of the
  // atom or a neighbour) without a code, -2 for more than four neighbours.
  int FragmentCode(int A, int& Second) const;
  // Functional groups and bond kinds over the whole table (implicit hydrogens are not
  // looked at).
  int FragmentCount(FrgType T) const;
  // The first atom from A on with exactly one neighbour; 0 when there is none.
  int FindNextEndAtom(int A) const;
  // Deletes chain atoms until only ring systems and the atoms that link them remain (a
  // single remaining atom is deleted as well); the number of atoms left. No notification.
  int StripfromChains();
  // True when this table has, element by element, at least the atoms of Other.
  bool SumForContained(const TCTab& Other) const;
  // True when Sub occurs in this table. Map (at least MaxAtoms bytes; may be nullptr)
  // receives 1 at byte k - 1 for every atom k of the occurrence found; it means nothing
  // when the result is false. CompareBonds also requires equal bond types. Atom
  // attributes of Sub (when set) must be present in the partner atoms. Separate branches
  // of Sub may reuse atoms of this table. Every step appends trace lines to
  // SubStrucTraceFile in the current folder; a trace that cannot be written is left out.
  bool SearchSubStruc(const TCTab& Sub, uint8_t* Map, bool CompareBonds);
  // The atoms that fit a template, in increasing order: AtNum > 0 keeps atoms of that
  // element, < 0 drops them; NBonds > 0 keeps atoms with exactly that many neighbours,
  // < 0 drops them. Every non-zero entry of BondTemplate needs a bond of that type of its
  // own at the atom (three entries 1 need three single bonds).
  void MatchAtomTemplate(int8_t AtNum, int8_t NBonds, const uint8_t BondTemplate[MaxConn],
                         AtListType& List) const;

  // ------------------------------------------------------------ structure files
  // Readers replace the table only when they have read a whole structure; they return
  // false when the structure was refused (the table is then left as it was) and also
  // when it was read with faults: a bond type above 4 (read as single), a bond whose atom
  // numbers are outside the structure or equal (left out), a number that does not
  // convert (read as 0). Lines may end in LF, CR LF or CR. MDL coordinates are rescaled
  // to whole numbers 0..32767 (smallest x, y, z at 0; x spans 800 or y 600 units).
  // A successful read calls Changed once. Files raise EInOutError only for errors of
  // the file itself.

  // A connection table from its counts line on: atoms 1..63, bonds, then the property
  // block up to "M  END" when there is one: "M  CHG" lines replace every charge of the
  // atom block, "M  ISO" lines set the isotope masses of the atoms they list; other
  // property lines (aliases, groups) are passed over.
  bool ReadFromMDLCTabFile(TTextFile& F);
  bool ReadFromMDLCTabStream(TStream& S);
  // Three header lines (the first is the name), then the connection table.
  bool ReadFromMDLMolFile(TTextFile& F);
  bool ReadFromMDLMolStream(TStream& S);
  // One SD record up to and including its "$$$$" line (which ends the record wherever it
  // stands: a record cut short is refused); the atom and bond lines are read
  // in free format. Props (may be nullptr) receives the known data items
  // (SDDataItemNames) in the order met; "> <CAS_RN>" and "> <CASREGNR>" set the registry
  // number. A record whose structure is refused leaves the table alone, fires no change
  // and returns false; its lines are consumed all the same, so the next call reads the
  // next record.
  bool ReadFromMDLSDFile(TTextFile& F, TPropRec* Props);
  // Looks for "/CONTAB " (or "/CTABG ") and reads the body that follows.
  bool ReadFromClearTextFile(TTextFile& F);
  bool ReadFromClearTextFileCTABG(TTextFile& F);
  // The body after the "CONTAB" keyword: lines L and atoms N, L - 2N name lines (first
  // character skipped), then N atom records in free format.
  bool ReadConnTabBody(TTextFile& F);

  // Writers: what they write reads back to the same atoms, isotopes, charges and bonds
  // (bond types 1..4; an isotope mass 0 is written as the natural element). Atom number 0
  // is written as "*"; every charge also goes to "M  CHG" lines and every isotope to
  // "M  ISO" lines, since the atom block holds only charges -3..+3. An empty table gives
  // an MDL file that the readers refuse (a connection table holds at least one atom).
  void WriteToMDLCTabFile(TTextFile& F) const;
  void WriteToMDLCTabStream(TStream& S) const;
  // Header: the name; ProgName (cut in place to its eight characters), Initials (two
  // characters), the time of writing (Now) and RegNo (the header's registry number,
  // written when above 0); Comment as the third line.
  void WriteToMDLMolFile(TTextFile& F, std::string& ProgName, const std::string& Initials,
                         int RegNo, const std::string& Comment) const;
  void WriteToMDLMolStream(TStream& S, std::string& ProgName, const std::string& Initials,
                           int RegNo, const std::string& Comment) const;
  // "/CONTAB " and the body that ReadConnTabBody reads (coordinates kept exactly).
  void WriteToClearTextFile(TTextFile& F) const;
  // Input for a molecular connectivity program: a line "ID name", a line "atoms bonds",
  // one line per atom "number symbol hydrogens charge" and one line per bond
  // "first second type" (first < second).
  void WriteToMolConnXFile(int ID, TTextFile& F) const;

  // ------------------------------------------------------------ formula and geometry
  // Hydrogens bonded to atom A, explicit and implicit (standard valences; a positive
  // charge adds hydrogens, a negative one removes them); 0 for a hydrogen atom.
  int NrHAtoms(int A) const;
  int CalcMissingH() const;  // NrHAtoms summed over all atoms
  // Carbon, hydrogen, N, O, S, P, F, Cl, Br, I, then the other elements as met; each
  // isotope an entry of its own. False (F unchanged) for more than 20 entries.
  bool CalcMolecularFormula(TFormulaRec& F) const;
  double CalcChemMolWeight() const;  // average weights, isotopes ignored
  void CalcMolCenter(double& X, double& Y, double& Z) const;
  // The box of the atoms within 1..10000 x 1..7000 (less than two atoms: that box), the
  // mean position, and the mean 2D bond length as the result (0 without bonds).
  double CalcMolExtents(double& MinX, double& MinY, double& MaxX, double& MaxY,
                        double& MeanX, double& MeanY) const;
  // The highest-numbered atom within dx, dy, dz of (x, y, z); -1 when none.
  int FindAtomInBox(double X, double Y, double Z, double DX, double DY, double DZ) const;
  // The nearest atom (the lowest number among equally near ones); atom 0 and the largest
  // double when the table is empty.
  void FindClosestAtom(double X, double Y, double Z, int& AtomNr, double& Distance) const;
  // Turns x, y into their principal axes (centred, whole numbers); no notification.
  void RotateWithPCA();

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
  // Bonds - atoms + number of pieces.
  int CycleCount() const;
  // Replaces the content with that of a table a reader has filled (display information
  // included); no notification.
  void TakeStructure(const TCTab& Read);
  bool IsBondedTo(int I, int J) const;
  struct TSubSearch;
  bool MatchAtoms(TSubSearch& S, int PrevT, int PrevS, int T, int SAtom) const;

  int FNAtoms = 0;
  CTElem FAtoms[MaxAtoms];
  std::string FStrucName;
  int64_t FCASNr = 0;
  CoordUnitType FCoordUnit = cuUnknown;
};

}  // namespace nuv
