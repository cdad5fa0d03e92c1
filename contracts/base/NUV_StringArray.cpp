#include "contracts/base/NUV_StringArray.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <new>
#include <numeric>

namespace nuv {

namespace {

constexpr int64_t MaxCells = int64_t(1) << 28;

std::string CutCell(const std::string& S) {
  return S.size() > TStringArray::MaxCellLength ? S.substr(0, TStringArray::MaxCellLength) : S;
}

}  // namespace

TStringArray::TStringArray(TComponent* AOwner) : TComponent(AOwner) {}

void TStringArray::SetAllocRowsBy(int Value) { FAllocRowsBy = Value < 1 ? 1 : Value; }

bool TStringArray::ValidCell(int Col, int Row) const {
  return Col >= 1 && Col <= FNrCols && Row >= 1 && Row <= GetNrRows();
}

void TStringArray::Changed() {
  if (OnChange) OnChange(this);
}

void TStringArray::Reserve(size_t Rows) {
  if (FRows.capacity() >= Rows && FOrder.capacity() >= Rows) return;
  // At least AllocRowsBy rows at a time, and geometrically, so that adding rows one by
  // one stays linear in time.
  const size_t step = static_cast<size_t>(FAllocRowsBy);
  const size_t target =
      std::max((Rows + step - 1) / step * step, FRows.capacity() + FRows.capacity() / 2);
  FRows.reserve(target);
  FOrder.reserve(target);
}

void TStringArray::Resize(int NrCols, int NrRows) {
  if (NrCols < 0 || NrRows < 0 || int64_t(NrCols) * NrRows > MaxCells)
    throw ENUVError("TStringArray: cannot resize to " + IntToStr(NrCols) + " x " +
                    IntToStr(NrRows));
  const size_t oldRows = FOrder.size();
  const size_t newRows = static_cast<size_t>(NrRows);
  const size_t cols = static_cast<size_t>(NrCols);
  if (NrCols == FNrCols && newRows == oldRows) return;

  // Everything that allocates comes first, so a failure leaves the array as it was.
  std::vector<TRowData> added;
  constexpr size_t Dropped = std::numeric_limits<size_t>::max();
  std::vector<size_t> newIndex;  // stored index -> index after shrinking
  try {
    if (NrCols > FNrCols)
      for (TRowData& r : FRows) r.Cells.reserve(cols);
    if (newRows > oldRows) {
      added.resize(newRows - oldRows);
      for (TRowData& r : added) r.Cells.resize(cols);
      Reserve(newRows);
    } else if (newRows < oldRows) {
      newIndex.assign(FRows.size(), Dropped);
    }
    FColAttribs.reserve(cols);
  } catch (const std::bad_alloc&) {
    throw ENUVError("TStringArray: not enough memory for " + IntToStr(NrCols) + " x " +
                    IntToStr(NrRows));
  }

  if (newRows < oldRows) {
    // Drop the rows at the end of the present order. An order that names a stored row
    // twice (while SetSortOrder rebuilds it) keeps further stored rows, so that as many
    // rows remain as the order has positions.
    size_t kept = 0;
    for (size_t i = 0; i < newRows; ++i)
      if (newIndex[FOrder[i]] == Dropped) {
        newIndex[FOrder[i]] = 0;
        ++kept;
      }
    for (size_t i = 0; i < newIndex.size() && kept < newRows; ++i)
      if (newIndex[i] == Dropped) {
        newIndex[i] = 0;
        ++kept;
      }
    size_t n = 0;
    for (size_t i = 0; i < FRows.size(); ++i) {
      if (newIndex[i] == Dropped) continue;
      if (n != i) FRows[n] = std::move(FRows[i]);
      newIndex[i] = n++;
    }
    FRows.resize(n);
    FOrder.resize(newRows);
    for (size_t& p : FOrder) p = newIndex[p];
  }
  for (TRowData& r : FRows) r.Cells.resize(cols);
  for (TRowData& r : added) {
    FOrder.push_back(FRows.size());
    FRows.push_back(std::move(r));
  }
  FColAttribs.resize(cols, 0);
  FNrCols = NrCols;
  Changed();
}

void TStringArray::Clear() {
  for (TRowData& r : FRows) {
    for (std::string& c : r.Cells) c.clear();
    r.Attrib = 0;
  }
  std::fill(FColAttribs.begin(), FColAttribs.end(), 0);
  std::iota(FOrder.begin(), FOrder.end(), size_t(0));
  Changed();
}

std::string TStringArray::GetString(int Col, int Row) const {
  if (!ValidCell(Col, Row)) return {};
  return RowAt(Row).Cells[static_cast<size_t>(Col) - 1];
}

void TStringArray::SetString(int Col, int Row, const std::string& S) {
  if (!ValidCell(Col, Row)) return;
  std::string& cell = RowAt(Row).Cells[static_cast<size_t>(Col) - 1];
  std::string value = CutCell(S);
  if (cell == value) return;
  cell = std::move(value);
  Changed();
}

double TStringArray::GetAsNumber(int Col, int Row) const {
  constexpr double Failure = std::numeric_limits<double>::quiet_NaN();
  std::string t = GetString(Col, Row);
  const size_t first = t.find_first_not_of(" \t");
  if (first == std::string::npos) return Failure;
  t = t.substr(first, t.find_last_not_of(" \t") - first + 1);
  std::replace(t.begin(), t.end(), ',', '.');
  size_t start = 0;
  if (t[0] == '+') {
    if (t.size() == 1 || t[1] == '-') return Failure;
    start = 1;
  }
  double value = 0;
  const char* end = t.data() + t.size();
  const auto [ptr, ec] = std::from_chars(t.data() + start, end, value);
  if (ec != std::errc() || ptr != end || !std::isfinite(value)) return Failure;
  return value;
}

uint8_t TStringArray::GetColAttrib(int Col) const {
  return (Col >= 1 && Col <= FNrCols) ? FColAttribs[static_cast<size_t>(Col) - 1] : 0;
}

void TStringArray::SetColAttrib(int Col, uint8_t Value) {
  if (Col >= 1 && Col <= FNrCols) FColAttribs[static_cast<size_t>(Col) - 1] = Value;
}

uint8_t TStringArray::GetRowAttrib(int Row) const {
  return (Row >= 1 && Row <= GetNrRows()) ? RowAt(Row).Attrib : 0;
}

void TStringArray::SetRowAttrib(int Row, uint8_t Value) {
  if (Row >= 1 && Row <= GetNrRows()) RowAt(Row).Attrib = Value;
}

void TStringArray::Sort(int Col, bool Ascending) {
  if (Col < 1 || Col > FNrCols) return;
  const int n = GetNrRows();
  if (OnPercentDone) OnPercentDone(this, 0);
  std::vector<std::string> keys(static_cast<size_t>(n));
  int reported = 0;
  for (int r = 1; r <= n; ++r) {
    const std::string& text = RowAt(r).Cells[static_cast<size_t>(Col) - 1];
    std::string key = text;
    if (OnBeforeSortExchange) OnBeforeSortExchange(this, text, key);
    // Compared as upper case, byte by byte, as CompareText does.
    keys[static_cast<size_t>(r) - 1] = UpperCase(key);
    const int percent = static_cast<int>(int64_t(r) * 100 / n);
    if (OnPercentDone && percent != reported && percent < 100) {
      reported = percent;
      OnPercentDone(this, percent);
    }
  }
  std::vector<size_t> pos(static_cast<size_t>(n));
  std::iota(pos.begin(), pos.end(), size_t(0));
  std::stable_sort(pos.begin(), pos.end(), [&](size_t a, size_t b) {
    return Ascending ? keys[a] < keys[b] : keys[b] < keys[a];
  });
  std::vector<size_t> order(pos.size());
  for (size_t i = 0; i < pos.size(); ++i) order[i] = FOrder[pos[i]];
  FOrder = std::move(order);
  if (OnPercentDone) OnPercentDone(this, 100);
  Changed();
}

void TStringArray::UnSort() {
  std::iota(FOrder.begin(), FOrder.end(), size_t(0));
  Changed();
}

int TStringArray::GetSortOrder(int Row) const {
  if (Row < 1 || Row > GetNrRows()) return 0;
  return static_cast<int>(FOrder[static_cast<size_t>(Row) - 1]) + 1;
}

void TStringArray::SetSortOrder(int Row, int Stored) {
  const int n = GetNrRows();
  if (Row < 1 || Row > n || Stored < 1 || Stored > n) return;
  size_t& entry = FOrder[static_cast<size_t>(Row) - 1];
  if (entry == static_cast<size_t>(Stored) - 1) return;
  entry = static_cast<size_t>(Stored) - 1;
  Changed();
}

void TStringArray::InsertRow(int Row) {
  const int n = GetNrRows();
  if (Row < 1 || Row > n + 1) return;
  // The new row is stored where the row it displaces is stored, so that in the stored
  // order it also comes before that row.
  const size_t p = Row <= n ? FOrder[static_cast<size_t>(Row) - 1] : FRows.size();
  TRowData row;
  try {
    row.Cells.resize(static_cast<size_t>(FNrCols));
    Reserve(FRows.size() + 1);
  } catch (const std::bad_alloc&) {
    throw ENUVError("TStringArray: not enough memory to insert a row");
  }
  FRows.insert(FRows.begin() + static_cast<std::ptrdiff_t>(p), std::move(row));
  for (size_t& e : FOrder)
    if (e >= p) ++e;
  FOrder.insert(FOrder.begin() + (Row - 1), p);
  Changed();
}

void TStringArray::RemoveRow(int Row) {
  if (Row < 1 || Row > GetNrRows()) return;
  const size_t p = FOrder[static_cast<size_t>(Row) - 1];
  FRows.erase(FRows.begin() + static_cast<std::ptrdiff_t>(p));
  FOrder.erase(FOrder.begin() + (Row - 1));
  for (size_t& e : FOrder) {
    if (e > p) --e;
    // Only an order rebuilt by SetSortOrder can still name the removed row.
    if (e >= FRows.size()) e = FRows.size() - 1;
  }
  Changed();
}

}  // namespace nuv
