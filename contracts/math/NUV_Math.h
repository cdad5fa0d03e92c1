// The math pack (nuvmath): matrices and vectors, the data table, curve fits, least-
// squares regression, principal components, angles and distances on the sphere, number
// texts, random decisions and small array routines.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "contracts/base/NUV_BaseTypes.h"
#include "contracts/math/NUV_CurveFit.h"
#include "contracts/math/NUV_DataTable.h"
#include "contracts/math/NUV_Matrix.h"

namespace nuv {

// ---------------------------------------------------------------- regression

// Least-squares coefficients Coef (sized to X's column count) of the columns of X for
// Y: minimises |Y - X * Coef|, with one row of X per observation (Y's element Row). A
// constant term needs an explicit column of ones. Solved by Householder QR. False (Coef
// sized and all 0) when Y's size differs from X's row count, when there are fewer rows
// than columns or no columns, when a value is not finite, or when the columns are
// linearly dependent (rank-deficient design, judged relative to each column's norm).
bool MultiLinReg(const TMatrix& X, const TVector& Y, TVector& Coef);

// ---------------------------------------------------------------- principal components

// Principal components of the rows RowFirst..RowLast of M over the columns
// ColFirst..ColLast (the variables; d = ColLast - ColFirst + 1). Mode decides what
// happens to M and which matrix is decomposed:
//   0: M is left as it is; the covariance matrix about the column means;
//   1: the column means are subtracted from M in place (M is centred), then the
//      covariance matrix;
//   2: M is centred and each column divided by its standard deviation in place (a
//      column with deviation 0 is only centred); the correlation matrix.
// Covariances divide by the number of rows. The symmetric matrix is diagonalised by
// cyclic Jacobi rotations; the eigenvectors are ordered by descending eigenvalue and
// each is signed so that its component of largest magnitude (the first of equal ones)
// is positive. False, and the previous results cleared, when the ranges are empty or
// outside M, when Mode is not 0..2 or a value is not finite; true otherwise.
// The results are those of the last call in the calling thread.
bool CalcPrincComp(TMatrix& M, int ColFirst, int ColLast, int RowFirst, int RowLast,
                   int Mode);
// Component j (1..d) of eigenvector k (1..d, by descending eigenvalue); 0 outside.
double GetEigenResult(int k, int j);
// Eigenvalue k (1..d, descending); 0 outside.
double GetEigenValue(int k);

// ---------------------------------------------------------------- geometry and angles

// Great-circle distance between two positions given in degrees, in the unit of Radius
// (atan2 form of the central angle, accurate for short and antipodal distances).
double SphereGreatCircleDist(double Radius, double Lat1, double Long1, double Lat2,
                             double Long2);
// The angle in the form of Format (see TDegreeFormat) with Prec decimals (clamped to
// 0..9) on its last part, rounded as a whole so that no part reads 60; a "-" before
// negative angles. Not-a-number and the infinities give "NAN", "INF", "-INF"; angles so
// large that the rounded units leave the 64-bit range are written in the decimal form.
std::string DegreeToStr(double Value, TDegreeFormat Format, int Prec);

// ---------------------------------------------------------------- number texts

// Exactly Digits (clamped to 0..16) upper-case hexadecimal digits of Value taken as a
// 64-bit two's-complement word: the low digits when Value needs more, leading zeros
// when it needs fewer.
std::string Hex(int64_t Value, int Digits);
// The hexadecimal (0-9, a-f, A-F) or decimal digits that start at position Pos (1-based)
// of S, as a number; Pos is left after the last digit. No blanks, signs or prefixes are
// read. With no digit at Pos (also Pos outside S) the result is 0 and Pos stays (Pos < 1
// counts as 1). Values past the 64-bit range saturate at INT64_MAX (the digits are still
// consumed).
int64_t ScanHex(const std::string& S, int& Pos);
int64_t ScanDecimal(const std::string& S, int& Pos);

// ---------------------------------------------------------------- small helpers

void ExChange(double& A, double& B);
void ExChange(int& A, int& B);
// True with probability P (the platform's Random): never for P <= 0, always for P >= 1.
bool BRandom(double P);

// Array routines on A[0..Last] (Last is clamped to A's last index; nothing happens when
// Last < 0).
// Sorts A[0..Last], ascending or descending.
void SortArray(std::span<double> A, int Last, bool Ascending);
void SortArray(std::span<int> A, int Last, bool Ascending);
// Inserts X into A[0..Last], which is sorted in the given direction, dropping the last
// element; returns X's index, or -1 when X would fall after A[Last] (A unchanged). A
// value equal to existing ones goes after them; without Dups, a value already present
// is not inserted and the result is -1.
int SortIntoArray(std::span<double> A, int Last, double X, bool Ascending, bool Dups);
int SortIntoArray(std::span<int> A, int Last, int X, bool Ascending, bool Dups);
// Inserts X at Index (0..Last), moving A[Index..Last-1] up and dropping A[Last]; an
// Index outside 0..Last does nothing.
void InsertIntoArray(std::span<double> A, int Last, double X, int Index);
void InsertIntoArray(std::span<int> A, int Last, int X, int Index);

}  // namespace nuv
