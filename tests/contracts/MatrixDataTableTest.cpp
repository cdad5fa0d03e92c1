#include <gtest/gtest.h>

#include <cmath>

#include "contracts/math/NUV_Math.h"

namespace nuv {
namespace {

TEST(Matrix, ResizeKeepsOverlapAndRangesAreSafe) {
  TMatrix m;
  m.Resize(2, 3);
  m.SetVal(2, 3, 5);
  m.SetVal(1, 1, 1);
  m.SetVal(3, 1, 9);  // outside: ignored
  EXPECT_EQ(m.GetVal(3, 1), 0);
  EXPECT_EQ(m.GetVal(0, 0), 0);
  m.Resize(4, 3);
  EXPECT_EQ(m.GetVal(2, 3), 5);
  EXPECT_EQ(m.GetVal(1, 1), 1);
  EXPECT_EQ(m.GetVal(4, 3), 0);
  m.Resize(1, 1);
  EXPECT_EQ(m.GetVal(1, 1), 1);
  EXPECT_THROW(m.Resize(-1, 1), ENUVError);
  EXPECT_THROW(m.Resize(1 << 20, 1 << 20), ENUVError);
  EXPECT_EQ(m.GetNrCols(), 1);
  m.Fill(2.5);
  TMatrix c;
  c.Clone(m);
  EXPECT_EQ(c.GetNrCols(), 1);
  EXPECT_EQ(c.GetVal(1, 1), 2.5);
}

TEST(Vector, SizeAndRanges) {
  TVector v;
  v.SetVecSize(3);
  v.SetVal(3, 4);
  v.SetVal(4, 1);
  EXPECT_EQ(v.GetVal(3), 4);
  EXPECT_EQ(v.GetVal(4), 0);
  v.SetVecSize(5);
  EXPECT_EQ(v.GetVal(3), 4);
  EXPECT_THROW(v.SetVecSize(-2), ENUVError);
}

// A 3 x 2 table with values c * 10 + r, names, attributes and states.
void FillSample(TDataTable& T) {
  T.Resize(3, 2);
  for (int c = 1; c <= 3; ++c) {
    T.SetColName(c, "col" + std::to_string(c));
    T.SetColAttrib(c, static_cast<uint8_t>(c));
    for (int r = 1; r <= 2; ++r) {
      T.SetElem(c, r, c * 10 + r);
      T.SetCellState(c, r, static_cast<uint8_t>(c * 10 + r));
    }
  }
  for (int r = 1; r <= 2; ++r) {
    T.SetRowName(r, "row" + std::to_string(r));
    T.SetRowAttrib(r, static_cast<uint8_t>(100 + r));
  }
}

TEST(DataTable, ResizeKeepsOverlapAndReportsSizes) {
  TDataTable t;
  FillSample(t);
  std::vector<int> sizes;
  t.OnResize = [&](TObject* Sender, int OC, int OR, int NC, int NR) {
    EXPECT_EQ(Sender, &t);
    sizes = {OC, OR, NC, NR};
  };
  int changes = 0;
  t.OnChange = [&](TObject*) { ++changes; };
  t.Resize(2, 4);
  EXPECT_EQ(sizes, (std::vector<int>{3, 2, 2, 4}));
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(t.GetElem(2, 2), 22);
  EXPECT_EQ(t.GetCellState(2, 1), 21);
  EXPECT_EQ(t.GetColName(2), "col2");
  EXPECT_EQ(t.GetColAttrib(2), 2);
  EXPECT_EQ(t.GetRowName(2), "row2");
  EXPECT_EQ(t.GetRowAttrib(2), 102);
  EXPECT_EQ(t.GetElem(1, 4), 0);
  EXPECT_EQ(t.GetCellState(1, 4), 0);
  EXPECT_EQ(t.GetRowName(4), "");
  EXPECT_EQ(t.GetColName(3), "");  // dropped
  t.Resize(3, 4);
  EXPECT_EQ(t.GetColName(3), "");  // and it comes back empty
  EXPECT_EQ(t.GetElem(3, 1), 0);

  sizes.clear();
  t.Resize(3, 4);
  EXPECT_TRUE(sizes.empty());
  EXPECT_THROW(t.Resize(-1, 1), ENUVError);
  EXPECT_THROW(t.Resize(1 << 15, 1 << 15), ENUVError);
  EXPECT_EQ(t.GetNrCols(), 3);
  EXPECT_EQ(t.GetNrRows(), 4);
  EXPECT_EQ(t.GetElem(2, 2), 22);
}

TEST(DataTable, OutOfRangeNamesAndHooks) {
  TDataTable t;
  FillSample(t);
  int changes = 0;
  t.OnChange = [&](TObject*) { ++changes; };
  t.SetElem(4, 1, 3);
  t.SetColName(0, "x");
  t.SetRowAttrib(3, 1);
  t.SetCellState(1, 3, 1);
  EXPECT_EQ(t.GetElem(4, 1), 0);
  EXPECT_EQ(t.GetColName(0), "");
  EXPECT_EQ(t.GetRowAttrib(3), 0);
  EXPECT_EQ(t.GetCellState(1, 3), 0);
  t.SetColName(1, std::string(60, 'n'));
  EXPECT_EQ(t.GetColName(1), std::string(50, 'n'));
  t.SetFComment("note");
  t.SetCellState(1, 1, 0);
  t.SetAllCellStates(0);
  t.SetRowName(1, "r");
  EXPECT_EQ(changes, 0);  // only values fire the change hook
  EXPECT_EQ(t.GetComment(), "note");
  t.SetElem(1, 1, 7);
  EXPECT_EQ(changes, 1);
  t.GetData().SetVal(1, 1, 8);  // direct access: no hook
  EXPECT_EQ(t.GetElem(1, 1), 8);
  EXPECT_EQ(changes, 1);
}

TEST(DataTable, SetElemReplacesTheValueStateAndKeepsMarks) {
  TDataTable t;
  t.Resize(1, 1);
  t.SetCellState(1, 1, dtsMarkA | dtsMarkB | dtsNotANumber | 0x04);
  t.SetElem(1, 1, 2.5);
  EXPECT_EQ(t.GetCellState(1, 1), dtsMarkA | dtsMarkB);
  t.SetElem(1, 1, NAN);
  EXPECT_EQ(t.GetCellState(1, 1), dtsMarkA | dtsMarkB | dtsNotANumber);
}

TEST(DataTable, SortingMovesEverythingAndReportsExchanges) {
  TDataTable t;
  t.Resize(4, 2);
  const double keys[] = {3, 1, 2, 1};
  for (int c = 1; c <= 4; ++c) {
    t.SetElem(c, 1, keys[c - 1]);
    t.SetElem(c, 2, c);  // the original column number
    t.SetColName(c, "c" + std::to_string(c));
    t.SetColAttrib(c, static_cast<uint8_t>(c));
    t.SetCellState(c, 2, static_cast<uint8_t>(c * 16));
  }
  // Follow the exchanges as the table editor does with its per-column decimals.
  std::vector<int> follow = {0, 1, 2, 3, 4};
  int changes = 0;
  t.OnSortExchange = [&](TObject*, int Kind, int A, int B) {
    EXPECT_EQ(Kind, dtkColumns);
    std::swap(follow[A], follow[B]);
  };
  t.OnChange = [&](TObject*) { ++changes; };
  t.SortCols(1, true, 1, 4);
  for (int c = 1; c <= 4; ++c) {
    const int original = static_cast<int>(t.GetElem(c, 2));
    EXPECT_EQ(follow[c], original);
    EXPECT_EQ(t.GetColName(c), "c" + std::to_string(original));
    EXPECT_EQ(t.GetColAttrib(c), original);
    EXPECT_EQ(t.GetCellState(c, 2), original * 16);
  }
  // Stable: the two keys 1 keep their order (columns 2 and 4).
  EXPECT_EQ(t.GetElem(1, 2), 2);
  EXPECT_EQ(t.GetElem(2, 2), 4);
  EXPECT_EQ(t.GetElem(3, 2), 3);
  EXPECT_EQ(t.GetElem(4, 2), 1);
  EXPECT_EQ(changes, 1);
  t.SortCols(1, true, 1, 4);  // already sorted: no exchange, no change
  EXPECT_EQ(changes, 1);
}

TEST(DataTable, SortRowsPutsCellsWithoutValueLast) {
  TDataTable t;
  t.Resize(2, 5);
  const double keys[] = {2, NAN, 5, 1, 4};
  for (int r = 1; r <= 5; ++r) {
    t.SetElem(1, r, keys[r - 1]);
    t.SetElem(2, r, r);
    t.SetRowName(r, std::to_string(r));
  }
  t.SetCellState(1, 5, 0x02);  // no value
  int exchanges = 0;
  t.OnSortExchange = [&](TObject*, int Kind, int, int) {
    EXPECT_EQ(Kind, dtkRows);
    ++exchanges;
  };
  t.SortRows(1, false, 0, 99);
  std::string order;
  for (int r = 1; r <= 5; ++r) order += t.GetRowName(r);
  EXPECT_EQ(order, "31425");
  EXPECT_LE(exchanges, 4);
  t.SortRows(1, true, 1, 3);  // only rows 1..3
  order.clear();
  for (int r = 1; r <= 5; ++r) order += t.GetRowName(r);
  EXPECT_EQ(order, "41325");
  t.SortRows(7, true, 1, 5);  // no such key column
  EXPECT_EQ(t.GetRowName(1), "4");
}

}  // namespace
}  // namespace nuv
