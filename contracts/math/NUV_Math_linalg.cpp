// Least-squares regression (Householder QR) and principal components (Jacobi).
#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

#include "contracts/math/NUV_Math.h"

namespace nuv {

namespace {

// A column k of R counts as dependent on the columns before it when its diagonal entry
// is this small relative to the column's own norm (the sine of its angle to their span).
constexpr double RankTolerance = 1e-10;

// Euclidean norm without overflow or underflow in the squares.
double Norm(const double* V, size_t N, size_t Stride) {
  double scale = 0;
  for (size_t i = 0; i < N; ++i) scale = std::max(scale, std::fabs(V[i * Stride]));
  if (scale == 0) return 0;
  double sum = 0;
  for (size_t i = 0; i < N; ++i) {
    const double v = V[i * Stride] / scale;
    sum += v * v;
  }
  return scale * std::sqrt(sum);
}

}  // namespace

bool MultiLinReg(const TMatrix& X, const TVector& Y, TVector& Coef) {
  const int n = X.GetNrCols(), m = X.GetNrRows();
  Coef.SetVecSize(n);
  for (int j = 1; j <= n; ++j) Coef.SetVal(j, 0);
  if (n < 1 || m < n || Y.GetVecSize() != m) return false;

  // a: m x n row by row; b: the right-hand side; both overwritten by the factorisation.
  const size_t rows = static_cast<size_t>(m), cols = static_cast<size_t>(n);
  std::vector<double> a(rows * cols), b(rows), colNorm(cols);
  for (size_t i = 0; i < rows; ++i) {
    for (size_t j = 0; j < cols; ++j) {
      a[i * cols + j] = X.GetVal(static_cast<int>(j) + 1, static_cast<int>(i) + 1);
      if (!std::isfinite(a[i * cols + j])) return false;
    }
    b[i] = Y.GetVal(static_cast<int>(i) + 1);
    if (!std::isfinite(b[i])) return false;
  }
  for (size_t j = 0; j < cols; ++j) colNorm[j] = Norm(&a[j], rows, cols);

  for (size_t k = 0; k < cols; ++k) {
    const double norm = Norm(&a[k * cols + k], rows - k, cols);
    if (!(norm > RankTolerance * colNorm[k])) return false;
    const double alpha = a[k * cols + k] > 0 ? -norm : norm;
    // Householder vector v = x - alpha e1 in column k (rows k..m-1); H = I - v v^T / beta.
    a[k * cols + k] -= alpha;
    const double beta = -alpha * a[k * cols + k];  // v^T v / 2
    for (size_t j = k + 1; j < cols; ++j) {
      double s = 0;
      for (size_t i = k; i < rows; ++i) s += a[i * cols + k] * a[i * cols + j];
      const double f = s / beta;
      for (size_t i = k; i < rows; ++i) a[i * cols + j] -= f * a[i * cols + k];
    }
    double s = 0;
    for (size_t i = k; i < rows; ++i) s += a[i * cols + k] * b[i];
    const double f = s / beta;
    for (size_t i = k; i < rows; ++i) b[i] -= f * a[i * cols + k];
    a[k * cols + k] = alpha;  // R's diagonal entry
  }

  std::vector<double> coef(cols);
  for (size_t k = cols; k-- > 0;) {
    double s = b[k];
    for (size_t j = k + 1; j < cols; ++j) s -= a[k * cols + j] * coef[j];
    coef[k] = s / a[k * cols + k];
    if (!std::isfinite(coef[k])) return false;
  }
  for (size_t j = 0; j < cols; ++j) Coef.SetVal(static_cast<int>(j) + 1, coef[j]);
  return true;
}

// ---------------------------------------------------------------- principal components

namespace {

struct TEigenResult {
  int Dim = 0;
  std::vector<double> Values;   // descending
  std::vector<double> Vectors;  // vector k, component j at [k * Dim + j]
};

thread_local TEigenResult LastEigen;

// Diagonalises the symmetric d x d matrix A (row by row) in place by cyclic Jacobi
// rotations; V receives the eigenvectors as columns.
void Jacobi(std::vector<double>& A, std::vector<double>& V, size_t D) {
  V.assign(D * D, 0);
  for (size_t i = 0; i < D; ++i) V[i * D + i] = 1;
  for (int sweep = 0; sweep < 100; ++sweep) {
    double off = 0, diag = 0;
    for (size_t p = 0; p < D; ++p) {
      diag += A[p * D + p] * A[p * D + p];
      for (size_t q = p + 1; q < D; ++q) off += A[p * D + q] * A[p * D + q];
    }
    if (off == 0 || off <= 1e-30 * diag) return;
    for (size_t p = 0; p < D; ++p) {
      for (size_t q = p + 1; q < D; ++q) {
        const double apq = A[p * D + q];
        if (apq == 0) continue;
        const double theta = (A[q * D + q] - A[p * D + p]) / (2 * apq);
        const double t = (theta >= 0 ? 1.0 : -1.0) / (std::fabs(theta) + std::hypot(theta, 1.0));
        const double c = 1 / std::sqrt(t * t + 1), s = t * c;
        for (size_t k = 0; k < D; ++k) {  // A := A J
          const double akp = A[k * D + p], akq = A[k * D + q];
          A[k * D + p] = c * akp - s * akq;
          A[k * D + q] = s * akp + c * akq;
        }
        for (size_t k = 0; k < D; ++k) {  // A := J^T A
          const double apk = A[p * D + k], aqk = A[q * D + k];
          A[p * D + k] = c * apk - s * aqk;
          A[q * D + k] = s * apk + c * aqk;
        }
        for (size_t k = 0; k < D; ++k) {  // V := V J
          const double vkp = V[k * D + p], vkq = V[k * D + q];
          V[k * D + p] = c * vkp - s * vkq;
          V[k * D + q] = s * vkp + c * vkq;
        }
      }
    }
  }
}

}  // namespace

bool CalcPrincComp(TMatrix& M, int ColFirst, int ColLast, int RowFirst, int RowLast,
                   int Mode) {
  LastEigen = TEigenResult();
  if (Mode < 0 || Mode > 2 || ColFirst < 1 || ColFirst > ColLast || ColLast > M.GetNrCols() ||
      RowFirst < 1 || RowFirst > RowLast || RowLast > M.GetNrRows())
    return false;
  for (int r = RowFirst; r <= RowLast; ++r)
    for (int c = ColFirst; c <= ColLast; ++c)
      if (!std::isfinite(M.GetVal(c, r))) return false;

  const size_t d = static_cast<size_t>(ColLast - ColFirst + 1);
  const double n = RowLast - RowFirst + 1;
  std::vector<double> mean(d, 0), scale(d, 1);
  for (size_t j = 0; j < d; ++j) {
    const int c = ColFirst + static_cast<int>(j);
    for (int r = RowFirst; r <= RowLast; ++r) mean[j] += M.GetVal(c, r);
    mean[j] /= n;
    if (Mode == 2) {
      double ss = 0;
      for (int r = RowFirst; r <= RowLast; ++r) ss += (M.GetVal(c, r) - mean[j]) * (M.GetVal(c, r) - mean[j]);
      const double sd = std::sqrt(ss / n);
      if (sd > 0) scale[j] = sd;
    }
  }
  if (Mode >= 1)
    for (size_t j = 0; j < d; ++j) {
      const int c = ColFirst + static_cast<int>(j);
      for (int r = RowFirst; r <= RowLast; ++r) M.SetVal(c, r, (M.GetVal(c, r) - mean[j]) / scale[j]);
      mean[j] = 0;
      scale[j] = 1;
    }

  std::vector<double> cov(d * d, 0);
  for (size_t i = 0; i < d; ++i)
    for (size_t j = i; j < d; ++j) {
      double s = 0;
      for (int r = RowFirst; r <= RowLast; ++r)
        s += (M.GetVal(ColFirst + static_cast<int>(i), r) - mean[i]) *
             (M.GetVal(ColFirst + static_cast<int>(j), r) - mean[j]);
      cov[i * d + j] = cov[j * d + i] = s / n;
    }

  std::vector<double> v;
  Jacobi(cov, v, d);
  std::vector<size_t> order(d);
  std::iota(order.begin(), order.end(), size_t(0));
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return cov[a * d + a] > cov[b * d + b]; });

  TEigenResult result;
  result.Dim = static_cast<int>(d);
  result.Values.resize(d);
  result.Vectors.resize(d * d);
  for (size_t k = 0; k < d; ++k) {
    const size_t col = order[k];
    result.Values[k] = cov[col * d + col];
    size_t largest = 0;
    for (size_t j = 1; j < d; ++j)
      if (std::fabs(v[j * d + col]) > std::fabs(v[largest * d + col])) largest = j;
    const double sign = v[largest * d + col] < 0 ? -1.0 : 1.0;
    for (size_t j = 0; j < d; ++j) result.Vectors[k * d + j] = sign * v[j * d + col];
  }
  LastEigen = std::move(result);
  return true;
}

double GetEigenResult(int k, int j) {
  const int d = LastEigen.Dim;
  if (k < 1 || k > d || j < 1 || j > d) return 0;
  return LastEigen.Vectors[static_cast<size_t>(k - 1) * d + (j - 1)];
}

double GetEigenValue(int k) {
  if (k < 1 || k > LastEigen.Dim) return 0;
  return LastEigen.Values[static_cast<size_t>(k) - 1];
}

}  // namespace nuv
