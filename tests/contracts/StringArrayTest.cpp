#include <gtest/gtest.h>

#include <cmath>

#include "contracts/base/NUV_Base.h"

namespace nuv {
namespace {

// A 2-column array with the rows ("b","1"), ("a","2"), ("C","3"), ("a","4") and row
// attributes 10, 20, 30, 40.
void FillSample(TStringArray& A) {
  A.Resize(2, 4);
  const char* names[] = {"b", "a", "C", "a"};
  for (int r = 1; r <= 4; ++r) {
    A.SetString(1, r, names[r - 1]);
    A.SetString(2, r, std::to_string(r));
    A.SetRowAttrib(r, static_cast<uint8_t>(10 * r));
  }
}

std::string Column(const TStringArray& A, int Col) {
  std::string s;
  for (int r = 1; r <= A.GetNrRows(); ++r) s += A.GetString(Col, r) + ";";
  return s;
}

TEST(StringArray, OutOfRangeReadsAndWrites) {
  TStringArray a;
  a.Resize(2, 3);
  a.SetString(3, 1, "x");
  a.SetString(1, 0, "x");
  a.SetColAttrib(0, 5);
  a.SetRowAttrib(4, 5);
  EXPECT_EQ(a.GetString(0, 1), "");
  EXPECT_EQ(a.GetString(1, 4), "");
  EXPECT_EQ(a.GetColAttrib(3), 0);
  EXPECT_EQ(a.GetRowAttrib(0), 0);
  EXPECT_EQ(a.GetSortOrder(4), 0);
  EXPECT_TRUE(std::isnan(a.GetAsNumber(5, 5)));
  for (int c = 1; c <= 2; ++c)
    for (int r = 1; r <= 3; ++r) EXPECT_EQ(a.GetString(c, r), "");
}

TEST(StringArray, CellsAreCutAt255Characters) {
  TStringArray a;
  a.Resize(1, 1);
  a.SetString(1, 1, std::string(300, 'z'));
  EXPECT_EQ(a.GetString(1, 1), std::string(255, 'z'));
}

TEST(StringArray, GetAsNumber) {
  TStringArray a;
  a.Resize(1, 1);
  struct Case {
    const char* Text;
    double Expected;  // NaN: the failure value
  } cases[] = {{" 12.5 ", 12.5}, {"3,25", 3.25}, {"-1e3", -1000}, {"+7", 7},
               {"", NAN},        {"abc", NAN},   {"1.5x", NAN},   {"+-1", NAN},
               {"1e999", NAN},   {"nan", NAN},   {"inf", NAN}};
  for (const Case& c : cases) {
    a.SetString(1, 1, c.Text);
    if (std::isnan(c.Expected))
      EXPECT_TRUE(std::isnan(a.GetAsNumber(1, 1))) << c.Text;
    else
      EXPECT_DOUBLE_EQ(a.GetAsNumber(1, 1), c.Expected) << c.Text;
  }
}

TEST(StringArray, ResizeKeepsCellsAndRaisesOnBadSizes) {
  TStringArray a;
  FillSample(a);
  a.SetColAttrib(2, 7);
  a.Resize(3, 6);
  EXPECT_EQ(Column(a, 1), "b;a;C;a;;;");
  EXPECT_EQ(a.GetColAttrib(2), 7);
  EXPECT_EQ(a.GetRowAttrib(4), 40);
  a.Resize(1, 2);
  EXPECT_EQ(Column(a, 1), "b;a;");
  EXPECT_EQ(a.GetString(2, 1), "");
  a.Resize(2, 2);
  EXPECT_EQ(a.GetString(2, 1), "");  // a dropped column comes back empty
  EXPECT_THROW(a.Resize(-1, 2), ENUVError);
  EXPECT_THROW(a.Resize(100000, 100000), ENUVError);
  EXPECT_EQ(a.GetNrCols(), 2);
  EXPECT_EQ(Column(a, 1), "b;a;");
}

TEST(StringArray, ShrinkingASortedArrayDropsTheLastShownRows) {
  TStringArray a;
  FillSample(a);
  a.Sort(2, false);  // 4, 3, 2, 1
  a.Resize(2, 2);
  EXPECT_EQ(Column(a, 2), "4;3;");
  a.UnSort();
  EXPECT_EQ(Column(a, 2), "3;4;");
  EXPECT_EQ(a.GetRowAttrib(1), 30);
}

TEST(StringArray, SortIsStableCaseInsensitiveAndMovesRowAttributes) {
  TStringArray a;
  FillSample(a);
  a.Sort(1, true);
  EXPECT_EQ(Column(a, 1), "a;a;b;C;");
  EXPECT_EQ(Column(a, 2), "2;4;1;3;");
  EXPECT_EQ(a.GetRowAttrib(1), 20);
  EXPECT_EQ(a.GetRowAttrib(4), 30);
  EXPECT_EQ(a.GetSortOrder(1), 2);
  EXPECT_EQ(a.GetSortOrder(3), 1);
  a.Sort(1, false);
  EXPECT_EQ(Column(a, 2), "3;1;2;4;");  // equal keys keep their present order
  a.UnSort();
  EXPECT_EQ(Column(a, 2), "1;2;3;4;");
  EXPECT_EQ(a.GetRowAttrib(1), 10);
  a.Sort(9, true);  // no such column: nothing happens
  EXPECT_EQ(Column(a, 2), "1;2;3;4;");
}

TEST(StringArray, SortHooks) {
  TStringArray a;
  a.Resize(1, 4);
  const char* values[] = {"10", "9", "100", "1"};
  for (int r = 1; r <= 4; ++r) a.SetString(1, r, values[r - 1]);
  std::vector<std::string> seen;
  std::vector<int> percents;
  int changes = 0;
  a.OnBeforeSortExchange = [&](TObject* Sender, const std::string& Text, std::string& Text2) {
    EXPECT_EQ(Sender, &a);
    EXPECT_EQ(Text2, Text);
    seen.push_back(Text);
    Text2 = std::string(5 - Text.size(), '0') + Text;  // numeric order
  };
  a.OnPercentDone = [&](TObject*, int Percent) { percents.push_back(Percent); };
  a.OnChange = [&](TObject*) { ++changes; };
  a.Sort(1, true);
  EXPECT_EQ(Column(a, 1), "1;9;10;100;");
  EXPECT_EQ(seen, (std::vector<std::string>{"10", "9", "100", "1"}));
  EXPECT_EQ(percents, (std::vector<int>{0, 25, 50, 75, 100}));
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(Column(a, 1), "1;9;10;100;");  // the hook changed keys, not cells

  // The hooks can be read, saved and re-assigned.
  TBeforeSortExchgEvent saved = a.OnBeforeSortExchange;
  a.OnBeforeSortExchange = nullptr;
  a.Sort(1, true);
  EXPECT_EQ(Column(a, 1), "1;10;100;9;");
  a.OnBeforeSortExchange = saved;
  a.Sort(1, false);
  EXPECT_EQ(Column(a, 1), "100;10;9;1;");
}

TEST(StringArray, ChangeHookRules) {
  TStringArray a;
  int changes = 0;
  a.OnChange = [&](TObject*) { ++changes; };
  a.Resize(2, 2);
  EXPECT_EQ(changes, 1);
  a.Resize(2, 2);
  EXPECT_EQ(changes, 1);
  a.SetString(1, 1, "x");
  a.SetString(1, 1, "x");  // unchanged text
  EXPECT_EQ(changes, 2);
  a.SetRowAttrib(1, 1);
  a.SetColAttrib(1, 1);
  EXPECT_EQ(changes, 2);
  a.InsertRow(1);
  a.RemoveRow(1);
  a.Clear();
  EXPECT_EQ(changes, 5);
  EXPECT_EQ(a.GetString(1, 1), "");
  EXPECT_EQ(a.GetRowAttrib(1), 0);
  EXPECT_EQ(a.GetColAttrib(1), 0);
  EXPECT_EQ(a.GetNrRows(), 2);
}

TEST(StringArray, InsertAndRemoveRows) {
  TStringArray a;
  FillSample(a);
  a.InsertRow(2);
  EXPECT_EQ(a.GetNrRows(), 5);
  EXPECT_EQ(Column(a, 2), "1;;2;3;4;");  // grows by one; the last row stays
  EXPECT_EQ(a.GetRowAttrib(2), 0);
  EXPECT_EQ(a.GetRowAttrib(3), 20);
  a.InsertRow(6);  // appends
  EXPECT_EQ(Column(a, 2), "1;;2;3;4;;");
  a.InsertRow(0);
  a.InsertRow(8);
  EXPECT_EQ(a.GetNrRows(), 6);
  a.RemoveRow(1);
  a.RemoveRow(6);  // outside after the removal: ignored
  EXPECT_EQ(Column(a, 2), ";2;3;4;;");
  EXPECT_EQ(a.GetRowAttrib(2), 20);
}

TEST(StringArray, InsertIntoASortedArrayKeepsTheStoredOrderConsistent) {
  TStringArray a;
  FillSample(a);
  a.Sort(2, false);  // 4, 3, 2, 1
  a.InsertRow(2);
  a.SetString(2, 2, "new");
  EXPECT_EQ(Column(a, 2), "4;new;3;2;1;");
  a.RemoveRow(4);
  EXPECT_EQ(Column(a, 2), "4;new;3;1;");
  a.UnSort();
  EXPECT_EQ(Column(a, 2), "1;new;3;4;");
}

TEST(StringArray, CopyingCellsAndOrderReproducesBothOrders) {
  // How a copy is made: each shown row (c, r) goes to stored row GetSortOrder(r), then
  // the order is set entry by entry (the entries pass through non-permutations).
  TStringArray s, d;
  FillSample(s);
  s.Sort(1, true);
  d.Resize(2, 4);
  for (int r = 1; r <= 4; ++r)
    for (int c = 1; c <= 2; ++c) d.SetString(c, s.GetSortOrder(r), s.GetString(c, r));
  for (int r = 1; r <= 4; ++r) d.SetSortOrder(r, s.GetSortOrder(r));
  EXPECT_EQ(Column(d, 2), Column(s, 2));
  d.UnSort();
  s.UnSort();
  EXPECT_EQ(Column(d, 2), Column(s, 2));
}

TEST(StringArray, AnOrderWithRepeatedEntriesStaysSafe) {
  TStringArray a;
  FillSample(a);
  a.SetSortOrder(1, 4);
  a.SetSortOrder(2, 4);  // positions 1 and 2 both show stored row 4
  EXPECT_EQ(Column(a, 2), "4;4;3;4;");
  a.RemoveRow(1);  // removes stored row 4, which positions 1 and 3 still named
  EXPECT_EQ(a.GetNrRows(), 3);
  for (int r = 1; r <= 3; ++r) {
    EXPECT_GE(a.GetSortOrder(r), 1);
    EXPECT_LE(a.GetSortOrder(r), 3);
  }
  a.Resize(2, 2);  // positions 1 and 2 name the same stored row
  EXPECT_EQ(a.GetNrRows(), 2);
  a.UnSort();
  EXPECT_EQ(a.GetNrRows(), 2);
  for (int r = 1; r <= 2; ++r) EXPECT_EQ(a.GetSortOrder(r), r);
  EXPECT_EQ(a.GetString(2, 1) + a.GetString(2, 2), "13");  // the first unnamed row filled in
}

}  // namespace
}  // namespace nuv
