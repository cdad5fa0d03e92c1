// The report data store: dimensions, columns, check boxes, default values, sorting,
// copying and the clipboard layouts.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "gui/NUV_replist.h"
#include "platform/NUV_Clipbrd.h"

namespace nuv {
namespace {

std::string Stored(const TRLData& D, int Col, int Row) {
  return D.GetStringArray().GetString(Col, Row);
}

// Rows of one column, top to bottom.
std::vector<std::string> Column(const TRLData& D, int Col) {
  std::vector<std::string> R;
  for (int r = 1; r <= D.GetNrOfRows(); ++r) R.push_back(D.GetElem(Col, r));
  return R;
}

using Texts = std::vector<std::string>;

TEST(RLData, NewStoreAndDimensionLimits) {
  TRLData D(nullptr);
  EXPECT_EQ(D.GetNrOfColumns(), 1);
  EXPECT_EQ(D.GetNrOfRows(), 0);
  EXPECT_EQ(D.GetColName(1), "C-1");
  EXPECT_EQ(D.GetSortColumn(), -1);
  EXPECT_TRUE(D.GetSortOrder());
  EXPECT_TRUE(D.GetHeaderSortFlag());
  EXPECT_EQ(D.GetCommonHeader(), "NUV Report Listview");
  D.SetNrRows(-5);
  EXPECT_EQ(D.GetNrOfRows(), 0);
  D.SetNrCols(0);
  EXPECT_EQ(D.GetNrOfColumns(), 1);
}

TEST(RLData, ColumnCountChangeIsAnnouncedWithTheNewColumns) {
  TRLData D(nullptr);
  D.SetNrRows(2);
  std::vector<std::string> Seen;
  D.GetStringArray().OnChange = [&](TObject*) {
    Seen.push_back(std::to_string(D.GetNrOfColumns()) + " " +
                   D.GetColName(D.GetNrOfColumns()));
  };
  D.SetNrCols(3);
  D.SetNrCols(3);  // no change, no notification
  D.SetNrCols(1);
  EXPECT_EQ(Seen, (std::vector<std::string>{"3 C-3", "1 C-1"}));
}

TEST(RLData, GrowingColumnsKeepsOldOnesAndNamesNewOnes) {
  TRLData D(nullptr);
  D.SetNrCols(2);
  D.SetColName(1, "Name");
  D.SetColumnFormat(2, "[i][60]");
  D.SetNrCols(4);
  EXPECT_EQ(D.GetColName(1), "Name");
  EXPECT_EQ(D.GetColName(2), "C-2");
  EXPECT_EQ(D.GetColumnFormat(2), "[i][60]");
  EXPECT_EQ(D.GetColName(3), "C-3");
  EXPECT_EQ(D.GetColName(4), "C-4");
  EXPECT_EQ(D.GetColumnFormat(4), "");
  // Shrinking and growing again gives fresh columns.
  D.SetCheckedCol(4, true);
  D.SetNrCols(3);
  D.SetNrCols(4);
  EXPECT_FALSE(D.GetCheckedCol(4));
}

TEST(RLData, NamesAndFormatsAreCut) {
  TRLData D(nullptr);
  D.SetColName(1, std::string(60, 'n'));
  D.SetColumnFormat(1, std::string(90, 'f'));
  EXPECT_EQ(D.GetColName(1), std::string(50, 'n'));
  EXPECT_EQ(D.GetColumnFormat(1), std::string(80, 'f'));
}

TEST(RLData, RefusedResizeRaisesAndKeepsTheCounts) {
  TRLData D(nullptr);
  D.SetNrCols(3);
  D.SetNrRows(2);
  EXPECT_THROW(D.SetNrRows(INT_MAX), ENUVError);
  EXPECT_EQ(D.GetNrOfRows(), 2);
  EXPECT_THROW(D.SetNrCols(INT_MAX), ENUVError);
  EXPECT_EQ(D.GetNrOfColumns(), 3);
  EXPECT_EQ(D.GetColName(3), "C-3");
}

TEST(RLData, CellsOutsideTheTableReadEmptyAndIgnoreWrites) {
  TRLData D(nullptr);
  D.SetNrCols(2);
  D.SetNrRows(2);
  D.SetCheckedCol(2, true);
  for (auto [c, r] : {std::pair{0, 1}, {3, 1}, {1, 0}, {1, 3}, {-7, -7}}) {
    D.SetElem(c, r, "x");
    D.SetElemChecked(c, r, true);
    EXPECT_EQ(D.GetElem(c, r), "") << c << "," << r;
    EXPECT_FALSE(D.GetElemChecked(c, r));
    EXPECT_TRUE(std::isnan(D.GetAsNumber(c, r)));
  }
  EXPECT_EQ(D.CountCheckedElemsInRow(3), 0);
  EXPECT_EQ(D.CountCheckedElemsInCol(3), 0);
  for (int c = 1; c <= 2; ++c)
    for (int r = 1; r <= 2; ++r) EXPECT_EQ(Stored(D, c, r), "");
  // The one row the array keeps for an empty table is not a cell of the table.
  D.SetNrRows(0);
  D.SetElem(1, 1, "ghost");
  EXPECT_EQ(Stored(D, 1, 1), "");
}

TEST(RLData, EmptyingTheTableForgetsTextsAndMarks) {
  TRLData D(nullptr);
  D.SetNrCols(2);
  D.SetNrRows(3);
  D.SetElem(1, 1, "old");
  D.SetElem(2, 1, "text");
  D.GetStringArray().SetRowAttrib(1, 128);
  D.SetNrRows(0);
  D.SetNrRows(2);
  EXPECT_EQ(D.GetElem(1, 1), "");
  EXPECT_EQ(D.GetElem(2, 1), "");
  EXPECT_EQ(D.GetStringArray().GetRowAttrib(1), 0);
}

TEST(RLData, CheckBoxCellsKeepTheStateCharacter) {
  TRLData D(nullptr);
  D.SetNrCols(2);
  D.SetNrRows(2);
  D.SetCheckedCol(1, true);
  D.SetElem(1, 1, "abc");
  EXPECT_EQ(Stored(D, 1, 1), " abc");
  EXPECT_EQ(D.GetElem(1, 1), "abc");
  EXPECT_FALSE(D.GetElemChecked(1, 1));
  D.SetElemChecked(1, 1, true);
  EXPECT_EQ(Stored(D, 1, 1), "Xabc");
  EXPECT_TRUE(D.GetElemChecked(1, 1));
  D.SetElem(1, 1, "new");
  EXPECT_EQ(Stored(D, 1, 1), "Xnew");
  D.SetElemChecked(1, 2, true);
  EXPECT_EQ(Stored(D, 1, 2), "X");
  EXPECT_EQ(D.GetElem(1, 2), "");
  D.SetElemChecked(1, 2, false);
  EXPECT_EQ(Stored(D, 1, 2), " ");
  // Any non-blank state counts as checked and survives SetElem.
  D.GetStringArray().SetString(1, 2, "yes");
  EXPECT_TRUE(D.GetElemChecked(1, 2));
  D.SetElem(1, 2, "q");
  EXPECT_EQ(Stored(D, 1, 2), "yq");
  EXPECT_EQ(D.CountCheckedElemsInCol(1), 2);
  EXPECT_EQ(D.CountCheckedElemsInRow(1), 1);
}

TEST(RLData, PlainColumnsIgnoreTheCheckBoxConvention) {
  TRLData D(nullptr);
  D.SetNrRows(2);
  D.SetElem(1, 1, "Xabc");
  D.SetElemChecked(1, 2, true);
  EXPECT_EQ(D.GetElem(1, 1), "Xabc");
  EXPECT_FALSE(D.GetElemChecked(1, 1));
  EXPECT_EQ(D.CountCheckedElemsInCol(1), 0);
  EXPECT_EQ(D.CountCheckedElemsInRow(1), 0);
  EXPECT_EQ(Stored(D, 1, 2), "");
}

TEST(RLData, TurningCheckBoxesOnAndOffConvertsTextsSilently) {
  TRLData D(nullptr);
  D.SetNrRows(3);
  D.SetElem(1, 1, "a");
  D.SetElem(1, 3, "b");
  int Changes = 0;
  D.GetStringArray().OnChange = [&](TObject*) { ++Changes; };
  D.SetCheckedCol(1, true);
  EXPECT_EQ((Texts{Stored(D, 1, 1), Stored(D, 1, 2), Stored(D, 1, 3)}), (Texts{" a", "", " b"}));
  EXPECT_EQ(Column(D, 1), (Texts{"a", "", "b"}));
  D.SetElemChecked(1, 1, true);
  Changes = 0;
  D.SetCheckedCol(1, false);
  EXPECT_EQ((Texts{Stored(D, 1, 1), Stored(D, 1, 2), Stored(D, 1, 3)}), (Texts{"a", "", "b"}));
  EXPECT_EQ(Changes, 0);
  ASSERT_TRUE(D.GetStringArray().OnChange);  // the hook is back
}

TEST(RLData, FillKeepsCheckStates) {
  TRLData D(nullptr);
  D.SetNrCols(2);
  D.SetNrRows(3);
  D.SetCheckedCol(1, true);
  D.GetStringArray().SetString(1, 1, "Ya");
  D.GetStringArray().SetString(1, 2, " b");
  D.Fill("z");
  EXPECT_EQ((Texts{Stored(D, 1, 1), Stored(D, 1, 2), Stored(D, 1, 3)}),
            (Texts{"Xz", " z", " z"}));
  EXPECT_EQ(Column(D, 2), (Texts{"z", "z", "z"}));
}

TEST(RLData, ClearResetsCellsAndColumnsButKeepsTheSize) {
  TRLData D(nullptr);
  D.SetNrCols(2);
  D.SetNrRows(2);
  D.SetColName(1, "A");
  D.SetColumnFormat(1, "[s]");
  D.SetCheckedCol(2, true);
  D.SetElem(1, 2, "x");
  D.Clear();
  EXPECT_EQ(D.GetNrOfColumns(), 2);
  EXPECT_EQ(D.GetNrOfRows(), 2);
  EXPECT_EQ(D.GetColName(1), "C-1");
  EXPECT_EQ(D.GetColumnFormat(1), "");
  EXPECT_FALSE(D.GetCheckedCol(2));
  EXPECT_EQ(D.GetElem(1, 2), "");
}

TEST(RLData, ColumnSearch) {
  TRLData D(nullptr);
  D.SetNrCols(4);
  D.SetColName(1, "NAME");
  D.SetColName(2, "Total");
  D.SetColName(3, "Subtotal");
  D.SetColName(4, "name");
  struct Case {
    std::string Name;
    bool Partial;
    int Expected;
  };
  for (const Case& C : std::vector<Case>{{"name", false, 4},
                                         {"Name", true, 4},
                                         {"total", false, 2},
                                         {"total", true, 3},
                                         {"TOT", true, 3},
                                         {"tot", false, -1},
                                         {"", true, -1},
                                         {"", false, -1},
                                         {"xyz", true, -1}})
    EXPECT_EQ(D.ColumnIndex(C.Name, C.Partial), C.Expected) << C.Name << " " << C.Partial;
}

TEST(RLData, DefaultValuesFromColumnFormats) {
  TRLData D(nullptr);
  struct Case {
    std::string Format;
    int Row;
    std::string Expected;
  };
  for (const Case& C : std::vector<Case>{{"[i][60]rix4", 7, "0007"},
                                         {"[i][60]rix4", 123, "0123"},
                                         {"[i]rix3", 12345, "345"},
                                         {"[i]rix2", -5, "-05"},
                                         {"[i]RIX0", 42, "2"},
                                         {"[h]rix2", 10, "0A"},
                                         {"[e]rix2", 7, "7.00"},
                                         {"[f][50]rix0", 7, "7"},
                                         {"[i]17", 7, "17"},
                                         {"[c][80]alpha|beta", 1, "alpha"},
                                         {"[l:5][120]red|green|blue", 1, "red"},
                                         {"[c]single", 1, "single"},
                                         {"[ddd.MM.yyyy][90]01.02.2003", 1, "01.02.2003"},
                                         {"[s][100]plain", 1, "plain"},
                                         {"[#s][100]n/a", 1, ""},
                                         {"[x]text", 1, ""},
                                         {"[i][60]", 1, ""},
                                         {"[i]", 1, ""},
                                         {"no kind group", 1, ""},
                                         {"", 1, ""}}) {
    D.SetColumnFormat(1, C.Format);
    EXPECT_EQ(D.GetCellDefaultValue(1, C.Row), C.Expected) << C.Format << " row " << C.Row;
  }
  D.SetColumnFormat(1, "[s]$PWD$8");
  const std::string Pwd = D.GetCellDefaultValue(1, 1);
  EXPECT_EQ(Pwd.size(), 8u);
  EXPECT_EQ(D.GetCellDefaultValue(2, 1), "");  // no such column
}

TEST(RLData, SortForwardsTheExchangeHookAndUnSortRestores) {
  TRLData D(nullptr);
  D.SetNrRows(4);
  const Texts Values{"10", "9", "100", "-1"};
  for (int r = 1; r <= 4; ++r) D.SetElem(1, r, Values[r - 1]);
  std::vector<TObject*> Senders;
  // Sort by number: a fixed-width key in place of the text.
  D.OnBeforeSortExchange = [&](TObject* Sender, const std::string& Text, std::string& Key) {
    Senders.push_back(Sender);
    char Buf[32];
    std::snprintf(Buf, sizeof Buf, "%020.6f", std::stod(Text) + 1e9);
    Key = Buf;
  };
  D.Sort(1, true);
  EXPECT_EQ(D.GetSortColumn(), 1);
  EXPECT_EQ(Column(D, 1), (Texts{"-1", "9", "10", "100"}));
  ASSERT_FALSE(Senders.empty());
  EXPECT_EQ(Senders.front(), &D);
  D.Sort(1, false);
  EXPECT_FALSE(D.GetSortOrder());
  EXPECT_EQ(Column(D, 1), (Texts{"100", "10", "9", "-1"}));
  D.UnSort();
  EXPECT_EQ(D.GetSortColumn(), -1);
  EXPECT_EQ(Column(D, 1), Values);
  D.Sort(5, true);  // no such column: nothing happens
  EXPECT_EQ(D.GetSortColumn(), -1);
}

// A 2-column store with texts, marks and column settings.
void FillSample(TRLData& D) {
  D.SetNrCols(2);
  D.SetNrRows(4);
  const Texts A{"delta", "alpha", "charlie", "bravo"};
  for (int r = 1; r <= 4; ++r) {
    D.SetElem(1, r, std::to_string(r));
    D.SetElem(2, r, A[r - 1]);
  }
  D.SetColName(1, "No");
  D.SetColName(2, "Word");
  D.SetColumnFormat(2, "[s][80]");
  D.SetCheckedCol(1, true);
  D.SetElemChecked(1, 3, true);
  D.GetStringArray().SetRowAttrib(1, 128);  // "delta"
  D.GetStringArray().SetRowAttrib(3, 129);  // "charlie"
  D.GetStringArray().SetColAttrib(2, 7);
  D.SetCommonHeader("Words");
  D.SetComment("a comment");
  D.SetDataID("words");
  D.SetHeaderSortFlag(false);
}

TEST(RLData, AssignCopiesSortedRowsWithTheirMarksAndUnsortedOrder) {
  TRLData S(nullptr);
  FillSample(S);
  S.Sort(2, true);
  TRLData C(nullptr);
  int Changes = 0;
  std::string Seen;
  // The handler sees the copy complete (a grid repaints from it).
  C.GetStringArray().OnChange = [&](TObject*) {
    ++Changes;
    Seen = std::to_string(C.GetNrOfRows()) + " " + C.GetColName(2);
  };
  C.Assign(&S);
  EXPECT_EQ(Changes, 1);
  EXPECT_EQ(Seen, "4 Word");
  EXPECT_EQ(C.GetNrOfColumns(), 2);
  EXPECT_EQ(C.GetNrOfRows(), 4);
  EXPECT_EQ(C.GetSortColumn(), 2);
  EXPECT_TRUE(C.GetSortOrder());
  EXPECT_FALSE(C.GetHeaderSortFlag());
  EXPECT_EQ(C.GetCommonHeader(), "Words");
  EXPECT_EQ(C.GetComment(), "a comment");
  EXPECT_EQ(C.GetDataID(), "words");
  EXPECT_EQ(C.GetColName(2), "Word");
  EXPECT_EQ(C.GetColumnFormat(2), "[s][80]");
  EXPECT_TRUE(C.GetCheckedCol(1));
  EXPECT_EQ(C.GetStringArray().GetColAttrib(2), 7);
  EXPECT_EQ(Column(C, 2), (Texts{"alpha", "bravo", "charlie", "delta"}));
  for (int r = 1; r <= 4; ++r) {
    EXPECT_EQ(Stored(C, 1, r), Stored(S, 1, r));
    EXPECT_EQ(C.GetStringArray().GetRowAttrib(r), S.GetStringArray().GetRowAttrib(r)) << r;
  }
  EXPECT_EQ(C.GetStringArray().GetRowAttrib(3), 129);  // "charlie" keeps its mark
  C.UnSort();
  S.UnSort();
  EXPECT_EQ(Column(C, 2), (Texts{"delta", "alpha", "charlie", "bravo"}));
  for (int r = 1; r <= 4; ++r) {
    EXPECT_EQ(Stored(C, 1, r), Stored(S, 1, r));
    EXPECT_EQ(C.GetStringArray().GetRowAttrib(r), S.GetStringArray().GetRowAttrib(r)) << r;
  }
  ASSERT_TRUE(C.GetStringArray().OnChange);  // the copy keeps its own hooks
  Changes = 0;
  C.SetElem(2, 1, "echo");
  EXPECT_EQ(Changes, 1);
  EXPECT_EQ(S.GetElem(2, 1), "delta");
}

TEST(RLData, AssignFromItselfAndFromOtherClasses) {
  TRLData D(nullptr);
  FillSample(D);
  D.Sort(2, false);
  D.Assign(&D);
  EXPECT_EQ(Column(D, 2), (Texts{"delta", "charlie", "bravo", "alpha"}));
  EXPECT_EQ(D.GetColName(2), "Word");
  TStringList L;
  EXPECT_THROW(D.Assign(&L), EConvertError);
  // A smaller source shrinks the copy; the copy's own sort state goes.
  TRLData Small(nullptr);
  Small.SetNrRows(1);
  Small.SetElem(1, 1, "only");
  D.Assign(&Small);
  EXPECT_EQ(D.GetNrOfColumns(), 1);
  EXPECT_EQ(D.GetNrOfRows(), 1);
  EXPECT_EQ(D.GetSortColumn(), -1);
  EXPECT_EQ(D.GetElem(1, 1), "only");
  EXPECT_FALSE(D.GetCheckedCol(1));
}

TEST(RLData, ClipboardLayouts) {
  TRLData D(nullptr);
  D.SetNrCols(2);
  D.SetNrRows(2);
  D.SetColName(1, "A");
  D.SetColName(2, "B");
  D.SetElem(1, 1, "x");
  D.SetElem(2, 1, "y");
  D.SetElem(1, 2, "1");
  D.SetElem(2, 2, "2");
  struct Case {
    int C1, R1, C2, R2;
    bool Names;
    std::string Expected;
  };
  for (const Case& C : std::vector<Case>{
           {1, 1, 2, 1, false, "x\ty\n"},
           {1, 1, 2, 0, true, "A\tB\n\n"},
           {1, 1, 2, 2, true, "A\tB\n\nx\ty\n1\t2\n"},
           {0, -3, 99, 99, false, "x\ty\n1\t2\n"},  // clipped to the table
           {2, 2, 2, 2, false, "2\n"},
           {3, 1, 5, 2, true, ""}}) {  // no column of the table
    D.CopyToClipBoard(C.C1, C.R1, C.C2, C.R2, C.Names, true);
    EXPECT_EQ(Clipboard().GetAsText(), C.Expected) << C.C1 << C.R1 << C.C2 << C.R2;
  }
  D.CopyToClipBoard(1, 1, 2, 2, true, std::string(" | "));
  EXPECT_EQ(Clipboard().GetAsText(), "A | B\n\nx | y\n1 | 2\n");
}

TEST(RLData, PaddedClipboardLayoutCountsTheStateCharacter) {
  TRLData D(nullptr);
  D.SetNrCols(2);
  D.SetNrRows(1);
  D.SetCheckedCol(1, true);
  D.GetStringArray().SetString(1, 1, "Xab");
  D.SetElem(2, 1, "c");
  D.CopyToClipBoard(1, 1, 2, 1, false, false);
  EXPECT_EQ(Clipboard().GetAsText(), "ab  c \n");
  D.SetColName(2, "Long name");
  D.CopyToClipBoard(1, 1, 2, 1, true, false);
  EXPECT_EQ(Clipboard().GetAsText(), "C-1 Long name \n\nab  c         \n");
}

}  // namespace
}  // namespace nuv
