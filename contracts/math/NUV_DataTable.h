// TDataTable: a table of doubles with names, attribute bytes, cell states and a comment.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "contracts/base/NUV_BaseTypes.h"
#include "contracts/math/NUV_Matrix.h"
#include "platform/NUV_Classes.h"

namespace nuv {

// (Sender, OldCols, OldRows, NewCols, NewRows) after the table changed its size.
using TDataTableResizeEvent =
    std::function<void(TObject* Sender, int OldCols, int OldRows, int NewCols, int NewRows)>;
// (Sender, Kind, Index1, Index2) after a sort exchanged two columns (Kind
// dtkColumns) or two rows (Kind dtkRows).
using TDataTableExchangeEvent =
    std::function<void(TObject* Sender, int Kind, int Index1, int Index2)>;
constexpr int dtkColumns = 1;
constexpr int dtkRows = 2;

// Cell state bits: bit 0 the value is not a number; bits 1..5 the cell has no value;
// bit 6 and bit 7 are marks the table never changes by itself.
constexpr uint8_t dtsNotANumber = 0x01;
constexpr uint8_t dtsValueBits = 0x3F;  // bits 0..5
constexpr uint8_t dtsMarkA = 0x40;
constexpr uint8_t dtsMarkB = 0x80;

// NrCols x NrRows values addressed (Col, Row), 1-based, kept in a TMatrix (GetData),
// with a state byte per cell, a name (at most 50 characters) and an attribute byte per
// column and per row, and a comment. A new table is 0 x 0.
//
// Rules:
// - Reads outside the table give 0 ("" for names); writes outside are ignored.
// - Only SetElem and the two sorts fire OnChange (the sorts once, when anything moved).
//   Names, attributes, states and the comment change silently, and Resize fires
//   OnResize only (when the size changes): a caller that shows the table repaints
//   itself for those.
// - SetElem replaces the value state of the cell: bits 0..5 are cleared, and bit 0 is
//   set when the value is not-a-number. The marks (bits 6 and 7) stay.
// - Writing into GetData() directly changes values without any hook and leaves the
//   states alone. Do not resize that matrix; use Resize.
class TDataTable : public TComponent {
 public:
  static constexpr int MaxNameLength = 50;

  explicit TDataTable(TComponent* AOwner = nullptr);

  int GetNrCols() const { return FData.GetNrCols(); }
  int GetNrRows() const { return FData.GetNrRows(); }
  // Keeps values, states, names and attributes of the overlapping part; new cells are 0
  // with state 0, new names empty, new attributes 0. Raises ENUVError (table unchanged)
  // for a negative count or more than 2^28 cells.
  void Resize(int NrCols, int NrRows);

  TMatrix& GetData() { return FData; }
  const TMatrix& GetData() const { return FData; }
  double GetElem(int Col, int Row) const { return FData.GetVal(Col, Row); }
  void SetElem(int Col, int Row, double Value);

  uint8_t GetCellState(int Col, int Row) const;
  void SetCellState(int Col, int Row, uint8_t State);
  void SetAllCellStates(uint8_t State);

  std::string GetColName(int Col) const;
  void SetColName(int Col, const std::string& Name);  // cut to 50 characters
  std::string GetRowName(int Row) const;
  void SetRowName(int Row, const std::string& Name);  // cut to 50 characters
  uint8_t GetColAttrib(int Col) const;
  void SetColAttrib(int Col, uint8_t Value);
  uint8_t GetRowAttrib(int Row) const;
  void SetRowAttrib(int Row, uint8_t Value);

  const std::string& GetComment() const { return FComment; }
  void SetFComment(const std::string& Comment);

  // Sort the columns ColFirst..ColLast by their values in row KeyRow, or the rows
  // RowFirst..RowLast by their values in column KeyCol, ascending or descending. The
  // bounds are clamped to the table; nothing happens for a key outside it. The sort is
  // stable; cells without a plain value (state bits 0..5 not all 0, or a not-a-number
  // value) go to the end in either direction. Values, states, names and attributes move
  // with their column or row; every exchange of two columns or rows is reported to
  // OnSortExchange after it is made, and exchanges compose to the sorted order.
  void SortCols(int KeyRow, bool Ascending, int ColFirst, int ColLast);
  void SortRows(int KeyCol, bool Ascending, int RowFirst, int RowLast);

  TNotifyEvent OnChange;
  TDataTableResizeEvent OnResize;
  TDataTableExchangeEvent OnSortExchange;

 private:
  bool ValidCell(int Col, int Row) const;
  size_t StateIndex(int Col, int Row) const;
  bool HasPlainValue(int Col, int Row) const;
  void ExchangeCols(int A, int B);
  void ExchangeRows(int A, int B);
  void Changed();

  TMatrix FData;
  std::vector<uint8_t> FStates;  // row by row
  std::vector<std::string> FColNames, FRowNames;
  std::vector<uint8_t> FColAttribs, FRowAttribs;
  std::string FComment;
};

}  // namespace nuv
