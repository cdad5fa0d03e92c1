#include "contracts/math/NUV_Matrix.h"

#include <algorithm>
#include <new>

namespace nuv {

namespace {

constexpr int64_t MaxElements = int64_t(1) << 28;

[[noreturn]] void RefuseSize(const char* What, int64_t A, int64_t B) {
  throw ENUVError(std::string(What) + ": cannot resize to " + IntToStr(A) + " x " + IntToStr(B));
}

}  // namespace

TMatrix::TMatrix(TComponent* AOwner) : TComponent(AOwner) {}

void TMatrix::Resize(int NrCols, int NrRows) {
  if (NrCols < 0 || NrRows < 0 || int64_t(NrCols) * NrRows > MaxElements)
    RefuseSize("TMatrix", NrCols, NrRows);
  if (NrCols == FNrCols && NrRows == FNrRows) return;
  std::vector<double> data;
  try {
    data.assign(static_cast<size_t>(NrCols) * static_cast<size_t>(NrRows), 0.0);
  } catch (const std::bad_alloc&) {
    RefuseSize("TMatrix", NrCols, NrRows);
  }
  const int cols = std::min(NrCols, FNrCols), rows = std::min(NrRows, FNrRows);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c)
      data[static_cast<size_t>(r) * NrCols + c] = FData[static_cast<size_t>(r) * FNrCols + c];
  FData = std::move(data);
  FNrCols = NrCols;
  FNrRows = NrRows;
}

double TMatrix::GetVal(int Col, int Row) const {
  if (Col < 1 || Col > FNrCols || Row < 1 || Row > FNrRows) return 0;
  return FData[static_cast<size_t>(Row - 1) * FNrCols + (Col - 1)];
}

void TMatrix::SetVal(int Col, int Row, double Value) {
  if (Col < 1 || Col > FNrCols || Row < 1 || Row > FNrRows) return;
  FData[static_cast<size_t>(Row - 1) * FNrCols + (Col - 1)] = Value;
}

void TMatrix::Fill(double Value) { std::fill(FData.begin(), FData.end(), Value); }

void TMatrix::Clone(const TMatrix& Source) {
  if (&Source == this) return;
  std::vector<double> data;
  try {
    data = Source.FData;
  } catch (const std::bad_alloc&) {
    RefuseSize("TMatrix", Source.FNrCols, Source.FNrRows);
  }
  FData.swap(data);
  FNrCols = Source.FNrCols;
  FNrRows = Source.FNrRows;
}

TVector::TVector(TComponent* AOwner) : TComponent(AOwner) {}

void TVector::SetVecSize(int N) {
  if (N < 0 || N > MaxElements) RefuseSize("TVector", N, 1);
  try {
    FData.resize(static_cast<size_t>(N), 0.0);
  } catch (const std::bad_alloc&) {
    RefuseSize("TVector", N, 1);
  }
}

double TVector::GetVal(int Index) const {
  return (Index >= 1 && Index <= GetVecSize()) ? FData[static_cast<size_t>(Index) - 1] : 0;
}

void TVector::SetVal(int Index, double Value) {
  if (Index >= 1 && Index <= GetVecSize()) FData[static_cast<size_t>(Index) - 1] = Value;
}

}  // namespace nuv
