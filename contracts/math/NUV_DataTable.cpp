#include "contracts/math/NUV_DataTable.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <numeric>

namespace nuv {

namespace {

std::string CutName(const std::string& S) {
  return S.size() > TDataTable::MaxNameLength ? S.substr(0, TDataTable::MaxNameLength) : S;
}

}  // namespace

TDataTable::TDataTable(TComponent* AOwner) : TComponent(AOwner) {}

bool TDataTable::ValidCell(int Col, int Row) const {
  return Col >= 1 && Col <= GetNrCols() && Row >= 1 && Row <= GetNrRows();
}

size_t TDataTable::StateIndex(int Col, int Row) const {
  return static_cast<size_t>(Row - 1) * static_cast<size_t>(GetNrCols()) +
         static_cast<size_t>(Col - 1);
}

void TDataTable::Changed() {
  if (OnChange) OnChange(this);
}

void TDataTable::Resize(int NrCols, int NrRows) {
  const int oldCols = GetNrCols(), oldRows = GetNrRows();
  if (NrCols == oldCols && NrRows == oldRows) return;
  if (NrCols < 0 || NrRows < 0 || int64_t(NrCols) * NrRows > (int64_t(1) << 28))
    throw ENUVError("TDataTable: cannot resize to " + IntToStr(NrCols) + " x " +
                    IntToStr(NrRows));
  // Allocate everything before changing anything, so a failure leaves the table intact.
  std::vector<uint8_t> states;
  std::vector<std::string> colNames, rowNames;
  std::vector<uint8_t> colAttribs, rowAttribs;
  try {
    states.assign(static_cast<size_t>(NrCols) * static_cast<size_t>(NrRows), 0);
    colNames = FColNames;
    colNames.resize(static_cast<size_t>(NrCols));
    rowNames = FRowNames;
    rowNames.resize(static_cast<size_t>(NrRows));
    colAttribs = FColAttribs;
    colAttribs.resize(static_cast<size_t>(NrCols), 0);
    rowAttribs = FRowAttribs;
    rowAttribs.resize(static_cast<size_t>(NrRows), 0);
  } catch (const std::bad_alloc&) {
    throw ENUVError("TDataTable: not enough memory for " + IntToStr(NrCols) + " x " +
                    IntToStr(NrRows));
  }
  for (int r = 1; r <= std::min(NrRows, oldRows); ++r)
    for (int c = 1; c <= std::min(NrCols, oldCols); ++c)
      states[static_cast<size_t>(r - 1) * NrCols + (c - 1)] = FStates[StateIndex(c, r)];
  FData.Resize(NrCols, NrRows);
  FStates.swap(states);
  FColNames.swap(colNames);
  FRowNames.swap(rowNames);
  FColAttribs.swap(colAttribs);
  FRowAttribs.swap(rowAttribs);
  if (OnResize) OnResize(this, oldCols, oldRows, NrCols, NrRows);
}

void TDataTable::SetElem(int Col, int Row, double Value) {
  if (!ValidCell(Col, Row)) return;
  FData.SetVal(Col, Row, Value);
  uint8_t& state = FStates[StateIndex(Col, Row)];
  state = static_cast<uint8_t>((state & ~dtsValueBits) | (std::isnan(Value) ? dtsNotANumber : 0));
  Changed();
}

uint8_t TDataTable::GetCellState(int Col, int Row) const {
  return ValidCell(Col, Row) ? FStates[StateIndex(Col, Row)] : 0;
}

void TDataTable::SetCellState(int Col, int Row, uint8_t State) {
  if (ValidCell(Col, Row)) FStates[StateIndex(Col, Row)] = State;
}

void TDataTable::SetAllCellStates(uint8_t State) {
  std::fill(FStates.begin(), FStates.end(), State);
}

std::string TDataTable::GetColName(int Col) const {
  return (Col >= 1 && Col <= GetNrCols()) ? FColNames[static_cast<size_t>(Col) - 1] : "";
}

void TDataTable::SetColName(int Col, const std::string& Name) {
  if (Col >= 1 && Col <= GetNrCols()) FColNames[static_cast<size_t>(Col) - 1] = CutName(Name);
}

std::string TDataTable::GetRowName(int Row) const {
  return (Row >= 1 && Row <= GetNrRows()) ? FRowNames[static_cast<size_t>(Row) - 1] : "";
}

void TDataTable::SetRowName(int Row, const std::string& Name) {
  if (Row >= 1 && Row <= GetNrRows()) FRowNames[static_cast<size_t>(Row) - 1] = CutName(Name);
}

uint8_t TDataTable::GetColAttrib(int Col) const {
  return (Col >= 1 && Col <= GetNrCols()) ? FColAttribs[static_cast<size_t>(Col) - 1] : 0;
}

void TDataTable::SetColAttrib(int Col, uint8_t Value) {
  if (Col >= 1 && Col <= GetNrCols()) FColAttribs[static_cast<size_t>(Col) - 1] = Value;
}

uint8_t TDataTable::GetRowAttrib(int Row) const {
  return (Row >= 1 && Row <= GetNrRows()) ? FRowAttribs[static_cast<size_t>(Row) - 1] : 0;
}

void TDataTable::SetRowAttrib(int Row, uint8_t Value) {
  if (Row >= 1 && Row <= GetNrRows()) FRowAttribs[static_cast<size_t>(Row) - 1] = Value;
}

void TDataTable::SetFComment(const std::string& Comment) { FComment = Comment; }

bool TDataTable::HasPlainValue(int Col, int Row) const {
  return (GetCellState(Col, Row) & dtsValueBits) == 0 && !std::isnan(GetElem(Col, Row));
}

void TDataTable::ExchangeCols(int A, int B) {
  for (int r = 1; r <= GetNrRows(); ++r) {
    const double v = FData.GetVal(A, r);
    FData.SetVal(A, r, FData.GetVal(B, r));
    FData.SetVal(B, r, v);
    std::swap(FStates[StateIndex(A, r)], FStates[StateIndex(B, r)]);
  }
  std::swap(FColNames[static_cast<size_t>(A) - 1], FColNames[static_cast<size_t>(B) - 1]);
  std::swap(FColAttribs[static_cast<size_t>(A) - 1], FColAttribs[static_cast<size_t>(B) - 1]);
  if (OnSortExchange) OnSortExchange(this, dtkColumns, A, B);
}

void TDataTable::ExchangeRows(int A, int B) {
  for (int c = 1; c <= GetNrCols(); ++c) {
    const double v = FData.GetVal(c, A);
    FData.SetVal(c, A, FData.GetVal(c, B));
    FData.SetVal(c, B, v);
    std::swap(FStates[StateIndex(c, A)], FStates[StateIndex(c, B)]);
  }
  std::swap(FRowNames[static_cast<size_t>(A) - 1], FRowNames[static_cast<size_t>(B) - 1]);
  std::swap(FRowAttribs[static_cast<size_t>(A) - 1], FRowAttribs[static_cast<size_t>(B) - 1]);
  if (OnSortExchange) OnSortExchange(this, dtkRows, A, B);
}

namespace {

// The sorted order of the indexes First..Last as a list of exchanges: Key(i) gives the
// value of index i and whether it is a plain value; Exchange(a, b) swaps two indexes.
template <typename KeyFunc, typename ExchangeFunc>
bool SortByExchanges(int First, int Last, bool Ascending, KeyFunc Key, ExchangeFunc Exchange) {
  std::vector<int> sorted(static_cast<size_t>(Last - First + 1));
  std::iota(sorted.begin(), sorted.end(), First);
  std::stable_sort(sorted.begin(), sorted.end(), [&](int a, int b) {
    const auto [va, pa] = Key(a);
    const auto [vb, pb] = Key(b);
    if (pa != pb) return pa;  // plain values first
    if (!pa) return false;
    return Ascending ? va < vb : vb < va;
  });
  // at[i]: the original index now at position First + i; where[k]: position of original k.
  std::vector<int> at(sorted.size()), where(sorted.size());
  std::iota(at.begin(), at.end(), First);
  std::iota(where.begin(), where.end(), First);
  bool moved = false;
  for (size_t i = 0; i < sorted.size(); ++i) {
    const int want = sorted[i];
    const int from = where[static_cast<size_t>(want - First)];
    const int to = First + static_cast<int>(i);
    if (from == to) continue;
    const int displaced = at[i];
    Exchange(to, from);
    at[i] = want;
    at[static_cast<size_t>(from - First)] = displaced;
    where[static_cast<size_t>(want - First)] = to;
    where[static_cast<size_t>(displaced - First)] = from;
    moved = true;
  }
  return moved;
}

}  // namespace

void TDataTable::SortCols(int KeyRow, bool Ascending, int ColFirst, int ColLast) {
  if (KeyRow < 1 || KeyRow > GetNrRows()) return;
  const int first = std::max(ColFirst, 1), last = std::min(ColLast, GetNrCols());
  if (first >= last) return;
  const bool moved = SortByExchanges(
      first, last, Ascending,
      [&](int c) { return std::pair(GetElem(c, KeyRow), HasPlainValue(c, KeyRow)); },
      [&](int a, int b) { ExchangeCols(a, b); });
  if (moved) Changed();
}

void TDataTable::SortRows(int KeyCol, bool Ascending, int RowFirst, int RowLast) {
  if (KeyCol < 1 || KeyCol > GetNrCols()) return;
  const int first = std::max(RowFirst, 1), last = std::min(RowLast, GetNrRows());
  if (first >= last) return;
  const bool moved = SortByExchanges(
      first, last, Ascending,
      [&](int r) { return std::pair(GetElem(KeyCol, r), HasPlainValue(KeyCol, r)); },
      [&](int a, int b) { ExchangeRows(a, b); });
  if (moved) Changed();
}

}  // namespace nuv
