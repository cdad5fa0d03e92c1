// TMatrix and TVector: 1-based dense arrays of doubles.
#pragma once

#include <vector>

#include "contracts/base/NUV_BaseTypes.h"
#include "platform/NUV_Classes.h"

namespace nuv {

// A NrCols x NrRows matrix, addressed (Col, Row), both 1-based. Reads outside give 0,
// writes outside are ignored. A new matrix is 0 x 0.
class TMatrix : public TComponent {
 public:
  explicit TMatrix(TComponent* AOwner = nullptr);

  int GetNrCols() const { return FNrCols; }
  int GetNrRows() const { return FNrRows; }
  // Keeps the values of the overlapping part; new cells are 0. Raises ENUVError for a
  // negative count or more than 2^28 cells, leaving the matrix as it was.
  void Resize(int NrCols, int NrRows);
  double GetVal(int Col, int Row) const;
  void SetVal(int Col, int Row, double Value);
  void Fill(double Value);
  // Makes this matrix an exact copy (size and values) of Source.
  void Clone(const TMatrix& Source);

 private:
  int FNrCols = 0, FNrRows = 0;
  std::vector<double> FData;  // row by row
};

// A vector of doubles, 1-based. Reads outside give 0, writes outside are ignored.
class TVector : public TComponent {
 public:
  explicit TVector(TComponent* AOwner = nullptr);

  int GetVecSize() const { return static_cast<int>(FData.size()); }
  // Keeps the values of the overlapping part; new elements are 0. Raises ENUVError for a
  // negative size or more than 2^28 elements.
  void SetVecSize(int N);
  double GetVal(int Index) const;
  void SetVal(int Index, double Value);

 private:
  std::vector<double> FData;
};

}  // namespace nuv
