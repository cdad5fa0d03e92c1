// TStringArray: a table of short texts with attribute bytes and a sortable row order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "contracts/base/NUV_BaseTypes.h"
#include "platform/NUV_Classes.h"

namespace nuv {

// A NrCols x NrRows table of cell texts, 1-based.
//
// Rows are addressed in their current order: after Sort the array presents the rows
// sorted, and GetSortOrder(Row) tells which stored row stands at position Row (UnSort
// restores the stored order). Every row carries its cells and its attribute byte, so
// both travel with the row when sorting; column attribute bytes stay with their column.
//
// Rules:
// - Cells hold at most 255 characters; longer texts are cut when stored.
// - Reads outside the table give "" (attributes 0, GetSortOrder 0); writes outside it
//   are ignored.
// - OnChange fires after every change of what GetString shows: SetString (when the text
//   differs), Clear, Resize (when the size changes), Sort, UnSort, SetSortOrder (when the
//   entry differs), InsertRow and RemoveRow. Attribute setters never fire it.
// - The hooks are plain members: read them, save them, re-assign them at any time.
class TStringArray : public TComponent {
 public:
  static constexpr int MaxCellLength = 255;

  explicit TStringArray(TComponent* AOwner = nullptr);

  int GetNrCols() const { return FNrCols; }
  int GetNrRows() const { return static_cast<int>(FOrder.size()); }
  // Resizes to NrCols x NrRows (0 allowed). Cells, attributes and the order of the rows
  // that remain are kept; new rows and columns arrive empty with attribute 0 and are
  // appended at the end of the current order; shrinking drops the rows at the end of the
  // current order. Raises ENUVError for a negative count or a table that cannot be
  // allocated (more than 2^28 cells), leaving the array as it was.
  void Resize(int NrCols, int NrRows);
  // Storage grows by at least this many rows at a time (at least 1; default 10).
  int GetAllocRowsBy() const { return FAllocRowsBy; }
  void SetAllocRowsBy(int Value);
  // Empties every cell, sets every attribute byte to 0 and restores the stored order;
  // the dimensions stay.
  void Clear();

  std::string GetString(int Col, int Row) const;
  void SetString(int Col, int Row, const std::string& S);
  // The cell as a number: blanks around it allowed, "." or "," as the decimal separator,
  // an optional sign and exponent. Not-a-number (NaN) when the text is not a finite
  // number or the cell is outside the table.
  double GetAsNumber(int Col, int Row) const;

  uint8_t GetColAttrib(int Col) const;
  void SetColAttrib(int Col, uint8_t Value);
  uint8_t GetRowAttrib(int Row) const;
  void SetRowAttrib(int Row, uint8_t Value);

  // Sorts the rows by the texts of column Col, ascending when Ascending is true and
  // descending otherwise, comparing byte-wise and ignoring the case of 'A'..'Z'. The sort
  // is stable: rows with equal keys keep their present relative order, so sorting by one
  // column and then by another orders by both. Before comparing, OnBeforeSortExchange
  // (when assigned) is called once per row in the present order and may replace the sort
  // key (see TBeforeSortExchgEvent). OnPercentDone reports 0..100 while the keys are
  // collected and 100 when the sort is done. A Col outside the table does nothing.
  void Sort(int Col, bool Ascending);
  // Back to the stored order.
  void UnSort();
  // The stored row (1..NrRows) that stands at position Row.
  int GetSortOrder(int Row) const;
  // Makes position Row show stored row Stored; the entries need not form a permutation
  // while a caller rebuilds the order entry by entry. Ignored unless both are in range.
  void SetSortOrder(int Row, int Stored);

  // Inserts an empty row (attribute 0) before position Row, 1..NrRows + 1 (NrRows + 1
  // appends); the array grows by one row. Ignored for other Row values.
  void InsertRow(int Row);
  // Removes the row at position Row; the array shrinks by one row. Ignored outside.
  void RemoveRow(int Row);

  TNotifyEvent OnChange;
  TOnPercentDoneEvent OnPercentDone;
  TBeforeSortExchgEvent OnBeforeSortExchange;

 private:
  struct TRowData {
    std::vector<std::string> Cells;
    uint8_t Attrib = 0;
  };
  bool ValidCell(int Col, int Row) const;
  const TRowData& RowAt(int Row) const { return FRows[FOrder[Row - 1]]; }
  TRowData& RowAt(int Row) { return FRows[FOrder[Row - 1]]; }
  void Reserve(size_t Rows);
  void Changed();

  int FNrCols = 0;
  int FAllocRowsBy = 10;
  std::vector<TRowData> FRows;   // stored order
  std::vector<size_t> FOrder;    // position -> index into FRows
  std::vector<uint8_t> FColAttribs;
};

}  // namespace nuv
