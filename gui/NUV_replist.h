// The report list: the data store TRLData (a table of short texts with named, formatted
// and check-box columns) and the report list grid that shows it.
//
// Indexes of columns and rows are 1-based. Row indexes address rows in their current
// order: after Sort the rows appear sorted, UnSort restores the order they had before.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "contracts/base/NUV_Base.h"
#include "platform/NUV_Classes.h"
#include "platform/NUV_Streams.h"

namespace nuv {

NUV_EXCEPTION(ENUVRLDataError, ENUVError)
NUV_EXCEPTION(ENUVRepListError, ENUVError)

using TNameStrType = std::string;   // column names, at most 50 characters
using TColFmtString = std::string;  // column formats, at most 80 characters

enum TRepListXmlTag : uint8_t {
  xmlNumCols,
  xmlNumRows,
  xmlColName,
  xmlCheckedColumn,
  xmlCommonHd,
  xmlColumnFormat,
  xmlCell,
  xmlComment,
  xmlEndReplist,
  xmlInvalid
};
// The tag words of the report list document, in the order of TRepListXmlTag.
extern const char* const RepListXmlTagWords[10];

// Called for every cell text the HTML export writes; the handler may change Text.
using TBeforeHTMLExportEvent =
    std::function<void(TObject* Sender, std::string& Text, int Col, int Row)>;

// ---------------------------------------------------------------------------------------
// TRLData: the non-visual store behind the report list.
//
// Check-box columns keep the check state as the first character of every non-empty
// stored text: "X" (or any non-blank) checked, " " unchecked; an empty text is an
// unchecked cell. GetElem, SetElem, Fill and the clipboard export hide or keep that
// character; GetElemChecked / SetElemChecked work on it alone.
//
// Column formats: "[" kind "]" ["[" width "]"] default-text, kinds c, l, d<picture>,
// e, f, h, i, s; "rix"n asks for the row number with n digits, "$pwd$"n for a password
// of n characters (see GetCellDefaultValue).
//
// Cell operations test both the column and the row: reads outside the table give ""
// (false, 0 counts, not-a-number) and writes outside it are ignored.
class TRLData : public TComponent {
 public:
  explicit TRLData(TComponent* AOwner);
  ~TRLData() override;

  // -- dimensions
  int GetNrOfColumns() const { return FNrOfColumns; }
  int GetNrOfRows() const { return FNrOfRows; }
  // Below 1 counts as 1. New columns are named "C-<n>", with no format and no check box.
  void SetNrCols(int N);
  // Below 0 counts as 0. New rows arrive empty; with 0 rows no old text or mark
  // survives to come back when the table grows again.
  void SetNrRows(int N);
  // Both raise ENUVError, keeping the counts, when the string array refuses the size
  // (more than 2^28 cells).

  // -- texts of the table
  const std::string& GetCommonHeader() const { return FCommonHeader; }
  void SetCommonHeader(const std::string& Value);
  const std::string& GetComment() const { return FComment; }
  void SetComment(const std::string& Value) { FComment = Value; }
  const std::string& GetDataID() const { return FDataID; }
  void SetDataID(const std::string& Value) { FDataID = Value; }

  // -- columns (outside 1..NrOfColumns: ignored, getters give "" or false)
  TNameStrType GetColName(int Col) const;
  void SetColName(int Col, const std::string& Name);  // cut to 50 characters
  TColFmtString GetColumnFormat(int Col) const;
  void SetColumnFormat(int Col, const std::string& Fmt);  // cut to 80 characters
  bool GetCheckedCol(int Col) const;
  // Turning a column into a check-box column makes its texts unchecked cells; turning
  // it back removes the state characters. The conversion sends no change notification.
  void SetCheckedCol(int Col, bool Value);
  // The highest column whose name equals Name (Partial: contains it), ignoring case;
  // -1 when none does. An empty Name matches nothing with Partial.
  int ColumnIndex(const std::string& Name, bool Partial) const;

  // -- cells
  std::string GetElem(int Col, int Row) const;
  void SetElem(int Col, int Row, const std::string& Text);
  bool GetElemChecked(int Col, int Row) const;
  void SetElemChecked(int Col, int Row, bool Value);
  int CountCheckedElemsInCol(int Col) const;
  int CountCheckedElemsInRow(int Row) const;
  // The number the stored text reads as (the string array's rule: not-a-number for a
  // text that is no number and outside the table).
  double GetAsNumber(int Col, int Row) const;
  // The default value the column's format gives for Row; "" for an empty format or a
  // format without a kind group.
  std::string GetCellDefaultValue(int Col, int Row) const;
  // Every cell gets Text; check-box cells keep their state.
  void Fill(const std::string& Text);
  // All cell texts empty, names "C-<n>", formats empty, no check boxes; sizes stay.
  void Clear();

  // -- sorting
  int GetSortColumn() const { return FSortColumn; }
  bool GetSortOrder() const { return FSortOrder; }
  bool GetHeaderSortFlag() const { return FHeaderSortFlag; }
  void SetHeaderSortFlag(bool Value) { FHeaderSortFlag = Value; }
  void SetSortColumn(int Col) { FSortColumn = Col; }
  // Sorts the rows by column Col; Flag selects the direction as the string array does.
  void Sort(int Col, bool Flag);
  void UnSort();
  void BeforeSortExchange(TObject* Sender, const std::string& Text, std::string& Text2);

  // -- clipboard: the range is clipped to the table; an empty row range copies only the
  // names (when asked for). TabSeparated false writes every field padded with blanks to
  // the widest text of its column plus one.
  void CopyToClipBoard(int ColFirst, int RowFirst, int ColLast, int RowLast, bool WithNames,
                       bool TabSeparated);
  void CopyToClipBoard(int ColFirst, int RowFirst, int ColLast, int RowLast, bool WithNames,
                       const std::string& Separator);

  // -- copying: an exact copy of another TRLData (cells, sort state and permutation,
  // attribute bytes, columns, texts, OnBeforeSortExchange). OnBeforeHTMLExport,
  // OnPercentDone and the hooks of this object's string array stay as they were.
  void Assign(TPersistent* Source) override;

  // -- report list XML documents
  //
  //   <?xml version="1.0" encoding="windows-1252"?>        (optional declaration)
  //   <replist id="DataID" signature="NuvKitset">
  //   <numcols>3</numcols>
  //   <numrows>2</numrows>
  //   <commonheader>text</commonheader>
  //   <comment>text</comment>
  //   <colname col="1">name</colname>                        (one per column)
  //   <columnformat col="1">[i]</columnformat>               (non-empty formats only)
  //   <checkedcolumn col="1">true</checkedcolumn>            (check-box columns only)
  //   <cell col="1" row="1">text</cell>                      (non-empty cells only)
  //   </replist>
  //
  // One element per line; texts are escaped (&amp; &lt; &gt; &quot; &apos;, control
  // characters as &#n;), so texts with line breaks stay on their line. Cells are written
  // as stored (check-box cells with their state character) in the current row order;
  // the document does not hold the sort state. The id is written trimmed.
  //
  // Writers raise the platform's EInOutError / EStreamError when writing fails;
  // SaveAsXMLFile replaces an existing file only once the new one is complete.
  // The Boolean of the writers selects whether the XML declaration line comes first.
  void WriteToOpenXMLFile(TTextFile& F, bool WithDeclaration, const std::string& DataID);
  void WriteToXMLStream(TStream& Stream, bool WithDeclaration, const std::string& DataID);
  void SaveAsXMLFile(const std::string& FileName, const std::string& DataID);

  // Readers look for the first root tag that CheckIfValidReplist accepts for DataID
  // (an empty DataID accepts any) and read its elements up to "</replist>", in any
  // order, attribute values in double or single quotes. They return false, leaving the
  // table unchanged, when there is no such root, when the document ends early, is
  // malformed, lacks numcols or numrows, refers to columns or rows beyond the declared
  // ones, or declares more than 2^24 cells. Unknown elements holding text only are
  // skipped; elements missing from the document leave what a new store has (names
  // "C-<n>", the default common header). On success the table takes the document's
  // dimensions and texts, its id becomes DataID, the rows are in unsorted order
  // (SortColumn -1) and the string array's OnChange fires once. File and stream readers
  // stop after the line that ends the document, so more can follow it. LoadFromXMLFile
  // gives false for a file that cannot be read.
  bool ReadFromXMLString(const std::string& Text, const std::string& DataID);
  bool ReadFromXMLStream(TStream& Stream, const std::string& DataID);
  bool ReadFromOpenXMLFile(TTextFile& F, const std::string& DataID);
  bool LoadFromXMLFile(const std::string& FileName, const std::string& DataID);

  // Reads lines FirstLine..LastLine (1-based; FirstLine below 1 counts as 1, LastLine
  // below FirstLine reads to the end) of a text file into the table, one row per line,
  // the fields of a line split at TAB into columns 1, 2, ... (the tab layout of
  // CopyToClipBoard, without names). The rows are replaced; columns are added when a
  // line holds more fields than the table has columns, and existing column names,
  // formats and check boxes stay (check-box cells arrive unchecked). Texts are cut to
  // 255 characters. False, leaving the table as it was, when the file cannot be read.
  bool LoadLinesFromFile(int FirstLine, int LastLine, const std::string& FileName);

  // Writes the cells ColFirst..ColLast x RowFirst..RowLast (clipped to the table) as a
  // complete HTML5 document holding one table: a header row of the column names when
  // WithNames, then one row per table row. Cell texts pass BeforeHTMLExport first and
  // are escaped afterwards, so they show as plain text; check-box cells show a ballot
  // box (checked or not) before their text.
  //   ColWidths    width in pixels of the exported columns, in order; missing, zero or
  //                negative entries leave the width to the browser
  //   BorderWidth  pixels of the cell borders (0: none; clamped to 0..100)
  //   CellPadding  pixels between text and border (clamped to 0..100)
  //   FontSize     points (0 or less: the browser's default; at most 200)
  //   TableWidth   percent of the page width (0 or less: as wide as the content)
  //   Title        the page title (empty: CommonHeader, then "Report list")
  //   Caption      shown above the table (empty: no caption)
  //   StyleSheet   CSS rules added after the built-in ones (the table has class
  //                "nuvreplist"), e.g. "th { background: #ffd; }"
  // The file is replaced only once it is complete; EInOutError when it cannot be written.
  void ExportHTMLTable(const std::string& FileName, int ColFirst, int RowFirst, int ColLast,
                       int RowLast, const std::vector<int>& ColWidths, int BorderWidth,
                       int CellPadding, int FontSize, int TableWidth, bool WithNames,
                       const std::string& Title, const std::string& Caption,
                       const std::string& StyleSheet);
  void BeforeHTMLExport(std::string& Text, int Col, int Row);

  // The cells, for the report list grid (attribute bytes, hooks, row insertion).
  TStringArray& GetStringArray() { return *FData; }
  const TStringArray& GetStringArray() const { return *FData; }

  TBeforeSortExchgEvent OnBeforeSortExchange;
  TBeforeHTMLExportEvent OnBeforeHTMLExport;
  TOnPercentDoneEvent OnPercentDone;

 protected:
  void AssignTo(TPersistent* Dest) override;

 private:
  [[noreturn]] void Fail(const std::string& Text) const;
  bool ValidCell(int Col, int Row) const;
  std::string StoredText(int Col, int Row) const;
  void ResizeCells(int Cols, int Rows);
  void ResetColumns(int From, const char* NoMemory = ": not enough memory on heap");
  void AttachStringArray();
  // Runs Body with the string array's change hook detached and puts the hook back;
  // Body's result.
  bool WithoutChangeHook(const std::function<bool()>& Body);
  // Calls the string array's change hook once, for a change made without it; callers
  // finish the whole table first, so that the handler sees it complete.
  void NotifyChange();
  void ReportPercent(int64_t Done, int64_t Total, int& Last);
  void WriteXML(const std::function<void(const std::string&)>& WriteLine,
                bool WithDeclaration, const std::string& DataID);
  bool ReadXML(const std::function<bool(std::string&)>& NextLine, const std::string& DataID);
  std::string ClipboardText(int ColFirst, int RowFirst, int ColLast, int RowLast,
                            bool WithNames, const std::string* Separator) const;

  std::string FComment;
  std::vector<TNameStrType> FColNames;
  std::vector<TColFmtString> FColFormats;
  std::vector<bool> FCheckedCols;
  std::string FCommonHeader = "NUV Report Listview";
  int FNrOfColumns = 1;
  int FNrOfRows = 0;
  int FSortColumn = -1;
  bool FSortOrder = true;
  std::string FDataID;
  bool FHeaderSortFlag = true;
  std::unique_ptr<TStringArray> FData;
};

// Whether a text file (or a stream, from its position) holds a report list root tag:
// a line with "<replist" and "NuvKitset" whose id attribute equals DataID, both sides
// trimmed of blanks and compared ignoring case (an empty DataID accepts any id).
// Reading stops at the first such line. A file that cannot be read raises EInOutError.
bool CheckIfValidReplist(const std::string& FileName, const std::string& DataID);
bool CheckIfValidReplist(TStream& Stream, const std::string& DataID);

}  // namespace nuv
