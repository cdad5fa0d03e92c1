// The molecular formula: a list of up to 20 (element, isotope mass, count) entries that is
// parsed from text, printed, compared, weighed and searched by mass.
#pragma once

#include <cstdint>
#include <string>

#include "platform/NUV_Classes.h"
#include "platform/NUV_Controls.h"  // TAlignment
#include "platform/NUV_Types.h"

namespace nuv {

// A formula holds at most this many entries.
constexpr int MaxFormEntries = 20;
// Isotope masses and counts are held in 16 bits; a text or value beyond this is refused.
constexpr int MaxFormValue = 65535;

// A molecular formula as a plain record. Entry i (1..NEntries) is element AtNum[i - 1]
// with isotope mass AtWgt[i - 1] (the nominal mass for a natural element; 2 with atomic
// number 1 is deuterium) and AtCnt[i - 1] atoms. Entries keep their order and the same
// element may occur in several of them.
struct TFormulaRec {
  int32_t NEntries = 0;
  uint8_t AtNum[MaxFormEntries] = {};
  uint16_t AtWgt[MaxFormEntries] = {};
  uint16_t AtCnt[MaxFormEntries] = {};
};

enum TIsotVisib : uint8_t { ivNone, ivSpecial, ivAlways };

// TMolForm holds one formula for display. The formula grammar:
// - an element part is an optional isotope mass, a symbol (matched ignoring case; "D" is
//   deuterium) and an optional count (0 or none means 1); blanks, commas and full stops
//   separate parts. Letters that follow each other form one symbol: "H2O" is H2 and O,
//   "CO2" is two cobalt atoms, "C O2" carbon dioxide, "CH4" reads nothing.
// - "(...)n" multiplies the counts of the parts inside by n (no digits: 1). Groups do not
//   nest: the first ")" closes every open group.
// Reading stops at the first part that cannot be read, at a mass or count above 65535, and
// after the twentieth entry; the entries read so far stay.
class TMolForm : public TGraphicControl {
 public:
  explicit TMolForm(TComponent* AOwner);

  // Reading gives AsString(1), e.g. "12C6 1H12 16O6 "; writing keeps the text (for
  // ShowAsText) and parses it with ScanMolFormula.
  std::string GetMolFormula() const;
  void SetMolFormula(const std::string& Value);
  TIsotVisib GetIsotopeVis() const { return FIsotopeVis; }
  void SetIsotopeVis(TIsotVisib Value);
  bool GetUseDeuterium() const { return FUseDeuterium; }
  void SetUseDeuterium(bool Value);
  bool GetShowAsText() const { return FShowAsText; }
  void SetShowAsText(bool Value);
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TColor GetColorBkg() const { return FColorBkg; }
  void SetColorBkg(TColor Value);
  TColor GetColorTxt() const { return FColorTxt; }
  void SetColorTxt(TColor Value);
  // The last text written to MolFormula (cleared by Clear).
  const std::string& GetFormulaText() const { return FFormulaText; }

  // Entries count from 1. Getters give 0 outside 1..GetNumAtoms(). SetNumAtoms accepts
  // 1..20, SetAtNum 1..103, SetAtWgt and SetAtCnt 0..65535; anything else is ignored.
  // The accessors neither repaint nor touch the formula text.
  int GetNumAtoms() const { return FForm.NEntries; }
  void SetNumAtoms(int N);
  int GetAtNum(int I) const;
  int GetAtWgt(int I) const;
  int GetAtCnt(int I) const;
  void SetAtNum(int I, int Value);
  void SetAtWgt(int I, int Value);
  void SetAtCnt(int I, int Value);
  const TFormulaRec& GetFormula() const { return FForm; }

  // Parse with groups / without groups (ReadFromString keeps the formula text).
  void ScanMolFormula(const std::string& S);
  void ReadFromString(const std::string& S);
  // Reads one element part of S from the 1-based position Pos and leaves Pos on the
  // character that ended it. False when no element was read, or when the mass or the
  // count exceeds 65535.
  static bool ScanNextFormPart(const std::string& S, int& Pos, int& AtNum, int& IsotMass,
                               int& Count);
  // Mode 1: "12C6 1H12 16O6 " (isotope masses, parses back to the same entries, so a
  // single atom followed by further entries shows its count: "1H1 12C1 14N "); any other
  // mode: "C6 H12 O6 ". Every entry is followed by one blank.
  std::string AsString(int Mode) const;
  // One entry as text; empty for an atomic number outside 1..103 or a count below 1.
  static std::string ChemElem(int AtNum, int IsotMass, int Count, uint8_t Mode);

  // 0 same composition, 1 this formula contains Other, 2 this one is contained in Other,
  // -1 neither, -2 either formula is empty. (Element, isotope) pairs are compared; entry
  // order and split entries do not matter.
  int CompareTo(const TMolForm& Other) const;
  double ChemMolWgt() const;    // average weights
  double ExactMolWgt() const;   // principal-isotope masses, whatever the entry's isotope
  int64_t NominalMolWgt() const;  // isotope masses of the entries

  void Clear();
  void ShowIt();

  // The search by mass enumerates the counts of the elements of Upper from Upper's counts
  // down to Lower's counts (the last entry fastest). Each FindFormula call continues where
  // the last one stopped and puts the next fitting formula into this component; after the
  // last combination it returns false and the next call starts again from the beginning.
  // Nominal: the sum of isotope masses equals the target rounded to an integer; exact: the
  // sum of principal-isotope masses lies within the tolerance of the target. The
  // plausibility test requires H + F + Cl + Br + I <= 2 C + N + 2. An Upper record without
  // entries finds nothing.
  bool InitFindFormula(double TargetMass, double Tolerance, const TFormulaRec& Lower,
                       const TFormulaRec& Upper);
  bool FindFormulaNominalMass(bool Plausibility);
  bool FindFormulaExactMass(bool Plausibility);
  bool FindFormulaIntern(bool Nominal, bool Plausibility);

  void Assign(TPersistent* Source) override;

 protected:
  void AssignTo(TPersistent* Dest) override;

 private:
  // Shows a change: a transparent formula has its parent repaint under it.
  void ShowChange();
  bool AppendEntry(int AtNum, int IsotMass, int Count);
  bool IsPlausible() const;
  bool StepSearch();

  TFormulaRec FForm;
  std::string FFormulaText;
  double FTargetMass = 0.0;
  double FTolerance = 0.05;
  int FSearchCnt[MaxFormEntries] = {};
  TFormulaRec FLowLim;
  TFormulaRec FUppLim;
  TAlignment FAlignment = taCenter;
  TColor FColorBkg = clBtnFace;
  TColor FColorTxt = clBlack;
  TIsotVisib FIsotopeVis = ivSpecial;
  bool FUseDeuterium = true;
  bool FShowAsText = false;
  bool FTransparent = false;
};

}  // namespace nuv
