// Element data: symbols, names, masses, radii, electron configurations and periodic-table
// positions of the elements 1 (hydrogen) to 103 (lawrencium); CAS registry numbers; a small
// dictionary compressor for chemical names.
//
// Every function is free of side effects. A look-up outside the table gives an empty string
// or zero; nothing raises.
#pragma once

#include <cstdint>
#include <string>

namespace nuv {

// Elements are identified by their atomic number 1..MaxElem; 0 means "no element".
constexpr int MaxElem = 103;

std::string CElemSymb(int AtNum);  // "Cl"
std::string CElemName(int AtNum);  // "chlorine"
// The atomic number of a symbol, compared byte for byte ("Cl" gives 17, "CL" and "D" 0).
int AtomicNumber(const std::string& Symb);
int IntAtWeight(int AtNum);        // mass number of the principal isotope
double ExactAtWeight(int AtNum);   // monoisotopic mass of that isotope, u
double ChemAtWeight(int AtNum);    // average atomic weight, u; 0 where none is listed
double VDWRadius(int AtNum);       // van der Waals radius in angstrom; known for 1..53 only
int NumOuterElectrons(int AtNum);
// "[Ar] 3d6 4s2" and its expansion "1s2 2s2 2p6 3s2 3p6 3d6 4s2".
std::string ShortElectronConfig(int AtNum);
std::string FullElectronConfig(int AtNum);
// The element's cell in an 18 x 9 periodic table: rows 0..6 are the periods, row 7 holds
// cerium to lutetium and row 8 thorium to lawrencium (columns 4..17). Both 0 outside 1..103.
void PerSysCoord(int AtNum, int& Col, int& Row);

// CAS registry numbers are held as integers whose last decimal digit is the check digit
// (7732185 is water, "7732-18-5"). 64 bits, since numbers beyond 2^31 are in use.
// True when the check digit is right; negative numbers are never registry numbers.
bool CheckCASNr(int64_t CASNr);
// "7732-18-5"; at least "0-00-0". The check digit is not tested.
std::string FormatCASNr(int64_t CASNr);
// Accepts "digits-dd-d" (blanks around it allowed) with a correct check digit and stores
// the number in CASNr. A text of another shape, with characters other than decimal digits,
// or too long for 64 bits gives false and leaves CASNr unchanged; a text that is a number
// but fails the check digit gives false and still stores the number.
bool ConvertStrToCASNr(const std::string& S, int64_t& CASNr);

// Lower-cases a chemical name (A..Z only) and replaces the fragments of a fixed dictionary
// of 128 fragments by single characters with the codes 128..255; DeCompressChemName expands
// them again, so that DeCompressChemName(CompressChemName(x)) is x in lower case for every
// x of characters below code 128.
std::string CompressChemName(const std::string& Name);
std::string DeCompressChemName(const std::string& Name);

}  // namespace nuv
