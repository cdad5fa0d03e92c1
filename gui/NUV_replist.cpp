// TRLData: dimensions, columns, cells, default values, sorting, copying and the
// clipboard export.
#include "gui/NUV_replist.h"

#include <algorithm>
#include <new>

#include "common/NUV_NumFormats.h"
#include "platform/NUV_Clipbrd.h"

namespace nuv {

namespace {

constexpr size_t MaxNameLength = 50;
constexpr size_t MaxFormatLength = 80;
constexpr char StateChecked = 'X';
constexpr char StateUnchecked = ' ';

std::string DefaultColName(int Col) { return "C-" + std::to_string(Col); }

// A digit count read from a column format, as the byte it is stored in.
int DigitCount(int32_t N) { return std::clamp<int32_t>(N, 0, 255); }

// The last N decimal digits of |Value| with leading zeros, "-" first for negatives.
std::string FormatDecDigits(int64_t Value, int N) {
  if (N < 1) N = 1;
  std::string Digits = std::to_string(Value < 0 ? -Value : Value);
  if (Digits.size() > static_cast<size_t>(N)) {
    Digits.erase(0, Digits.size() - N);
  } else {
    Digits.insert(0, N - Digits.size(), '0');
  }
  return Value < 0 ? "-" + Digits : Digits;
}

int ScanIntAt(const std::string& Text, int Pos) { return ScanIntNum(Text, Pos); }

}  // namespace

// ---------------------------------------------------------------- construction

TRLData::TRLData(TComponent* AOwner) : TComponent(AOwner) {
  try {
    FData = std::make_unique<TStringArray>(nullptr);
    FData->SetAllocRowsBy(10);
    FData->Resize(1, 1);
    FData->Clear();
    ResetColumns(1, ": failed to initialize (out of memory)");
  } catch (const std::bad_alloc&) {
    Fail(": failed to initialize (out of memory)");
  }
  AttachStringArray();
}

TRLData::~TRLData() = default;

void TRLData::Fail(const std::string& Text) const {
  throw ENUVRLDataError("Component \"" + GetName() + "\"" + Text);
}

void TRLData::AttachStringArray() {
  FData->OnBeforeSortExchange = [this](TObject* Sender, const std::string& Text,
                                       std::string& Text2) {
    BeforeSortExchange(Sender, Text, Text2);
  };
}

// Columns From..NrOfColumns get their initial name, no format and no check box; the
// arrays take the size of the table. A failing allocation raises with NoMemory.
void TRLData::ResetColumns(int From, const char* NoMemory) {
  try {
    FColNames.resize(FNrOfColumns);
    FColFormats.resize(FNrOfColumns);
    FCheckedCols.resize(FNrOfColumns);
  } catch (const std::bad_alloc&) {
    Fail(NoMemory);
  }
  for (int c = std::max(From, 1); c <= FNrOfColumns; ++c) {
    FColNames[c - 1] = DefaultColName(c);
    FColFormats[c - 1].clear();
    FCheckedCols[c - 1] = false;
  }
}

bool TRLData::WithoutChangeHook(const std::function<bool()>& Body) {
  TNotifyEvent Saved = std::move(FData->OnChange);
  FData->OnChange = nullptr;
  bool Changed;
  try {
    Changed = Body();
  } catch (...) {
    FData->OnChange = std::move(Saved);
    throw;
  }
  FData->OnChange = std::move(Saved);
  return Changed;
}

void TRLData::NotifyChange() {
  if (FData->OnChange) FData->OnChange(FData.get());
}

void TRLData::ReportPercent(int64_t Done, int64_t Total, int& Last) {
  const int Percent = Total > 0 ? static_cast<int>(Done * 100 / Total) : 100;
  if (Percent == Last) return;
  Last = Percent;
  if (OnPercentDone) OnPercentDone(this, Percent);
}

// ---------------------------------------------------------------- dimensions

void TRLData::ResizeCells(int Cols, int Rows) {
  try {
    FData->Resize(Cols, std::max(Rows, 1));
  } catch (const std::exception& E) {
    throw ENUVError("Component \"" + GetName() + "\": cannot resize the table to " +
                    std::to_string(Cols) + " columns and " + std::to_string(Rows) +
                    " rows (" + E.what() + ")");
  }
}

void TRLData::SetNrRows(int N) {
  N = std::max(N, 0);
  ResizeCells(FNrOfColumns, N);
  FNrOfRows = N;
  if (N == 0) {
    // The array keeps one row for an empty table: empty it, so nothing of it returns.
    for (int c = 1; c <= FNrOfColumns; ++c) FData->SetString(c, 1, "");
    FData->SetRowAttrib(1, 0);
  }
}

void TRLData::SetNrCols(int N) {
  N = std::max(N, 1);
  const int Old = FNrOfColumns;
  // The change is announced once the new columns are complete.
  WithoutChangeHook([&] {
    ResizeCells(N, FNrOfRows);
    FNrOfColumns = N;
    try {
      ResetColumns(Old + 1);
    } catch (const ENUVRLDataError&) {
      // The column arrays hold at least the old columns: go back to those.
      FNrOfColumns = Old;
      ResizeCells(Old, FNrOfRows);
      throw;
    }
    return true;
  });
  if (N != Old) NotifyChange();
}

void TRLData::SetCommonHeader(const std::string& Value) {
  if (Value != FCommonHeader) FCommonHeader = Value;
}

// ---------------------------------------------------------------- columns

TNameStrType TRLData::GetColName(int Col) const {
  return Col >= 1 && Col <= FNrOfColumns ? FColNames[Col - 1] : std::string();
}

void TRLData::SetColName(int Col, const std::string& Name) {
  if (Col >= 1 && Col <= FNrOfColumns) FColNames[Col - 1] = Name.substr(0, MaxNameLength);
}

TColFmtString TRLData::GetColumnFormat(int Col) const {
  return Col >= 1 && Col <= FNrOfColumns ? FColFormats[Col - 1] : std::string();
}

void TRLData::SetColumnFormat(int Col, const std::string& Fmt) {
  if (Col >= 1 && Col <= FNrOfColumns) FColFormats[Col - 1] = Fmt.substr(0, MaxFormatLength);
}

bool TRLData::GetCheckedCol(int Col) const {
  return Col >= 1 && Col <= FNrOfColumns && FCheckedCols[Col - 1];
}

void TRLData::SetCheckedCol(int Col, bool Value) {
  if (Col < 1 || Col > FNrOfColumns || FCheckedCols[Col - 1] == Value) return;
  WithoutChangeHook(
      [&] {
        for (int r = 1; r <= FNrOfRows; ++r) {
          const std::string S = FData->GetString(Col, r);
          if (S.empty()) continue;
          FData->SetString(Col, r, Value ? StateUnchecked + S : S.substr(1));
        }
        return true;
      });
  FCheckedCols[Col - 1] = Value;
}

int TRLData::ColumnIndex(const std::string& Name, bool Partial) const {
  const std::string Wanted = LowerCase(Name);
  if (Partial && Wanted.empty()) return -1;
  for (int c = FNrOfColumns; c >= 1; --c) {
    const std::string Have = LowerCase(FColNames[c - 1]);
    if (Partial ? Have.find(Wanted) != std::string::npos : Have == Wanted) return c;
  }
  return -1;
}

// ---------------------------------------------------------------- cells

bool TRLData::ValidCell(int Col, int Row) const {
  return Col >= 1 && Col <= FNrOfColumns && Row >= 1 && Row <= FNrOfRows;
}

std::string TRLData::StoredText(int Col, int Row) const {
  return ValidCell(Col, Row) ? FData->GetString(Col, Row) : std::string();
}

std::string TRLData::GetElem(int Col, int Row) const {
  std::string S = StoredText(Col, Row);
  if (!S.empty() && FCheckedCols[Col - 1]) S.erase(0, 1);
  return S;
}

void TRLData::SetElem(int Col, int Row, const std::string& Text) {
  if (!ValidCell(Col, Row)) return;
  if (!FCheckedCols[Col - 1]) {
    FData->SetString(Col, Row, Text);
    return;
  }
  const std::string S = FData->GetString(Col, Row);
  FData->SetString(Col, Row, (S.empty() ? StateUnchecked : S[0]) + Text);
}

bool TRLData::GetElemChecked(int Col, int Row) const {
  if (!ValidCell(Col, Row) || !FCheckedCols[Col - 1]) return false;
  const std::string S = FData->GetString(Col, Row);
  return !S.empty() && S[0] != StateUnchecked;
}

void TRLData::SetElemChecked(int Col, int Row, bool Value) {
  if (!ValidCell(Col, Row) || !FCheckedCols[Col - 1]) return;
  std::string S = FData->GetString(Col, Row);
  const char State = Value ? StateChecked : StateUnchecked;
  if (S.empty()) {
    S.assign(1, State);
  } else {
    S[0] = State;
  }
  FData->SetString(Col, Row, S);
}

int TRLData::CountCheckedElemsInCol(int Col) const {
  int N = 0;
  for (int r = 1; r <= FNrOfRows; ++r) N += GetElemChecked(Col, r) ? 1 : 0;
  return N;
}

int TRLData::CountCheckedElemsInRow(int Row) const {
  int N = 0;
  for (int c = 1; c <= FNrOfColumns; ++c) N += GetElemChecked(c, Row) ? 1 : 0;
  return N;
}

double TRLData::GetAsNumber(int Col, int Row) const {
  return FData->GetAsNumber(ValidCell(Col, Row) ? Col : 0, Row);
}

std::string TRLData::GetCellDefaultValue(int Col, int Row) const {
  std::string F = GetColumnFormat(Col);
  const size_t k = F.find(']');
  const std::string Kind = k == std::string::npos ? std::string() : F.substr(0, k + 1);
  F.erase(0, Kind.size());
  if (F.empty()) return {};
  const size_t w = F.find(']');
  std::string D = w == std::string::npos ? F : F.substr(w + 1);
  D.resize(std::min<size_t>(D.size(), TStringArray::MaxCellLength));
  const std::string Lower = LowerCase(D);
  switch (Kind.size() >= 2 ? Kind[1] : '\0') {
    case 'c':
    case 'l':
      return D.substr(0, D.find('|'));
    case 'd':
      return D;
    case 'e':
    case 'f':
      if (Lower.find("rix") == std::string::npos) return D;
      return strff(Row, 1, DigitCount(ScanIntAt(D, 4)));
    case 'h':
      if (Lower.find("rix") == std::string::npos) return D;
      return FormatHexDigits(static_cast<uint32_t>(Row), DigitCount(ScanIntAt(D, 4)));
    case 'i':
      if (Lower.find("rix") == std::string::npos) return D;
      return FormatDecDigits(Row, DigitCount(ScanIntAt(D, 4)));
    case 's':
      if (Lower.find("$pwd$") == std::string::npos) return D;
      return InventPassword(DigitCount(ScanIntAt(D, 6)));
    default:
      return {};
  }
}

void TRLData::Fill(const std::string& Text) {
  for (int c = 1; c <= FNrOfColumns; ++c) {
    for (int r = 1; r <= FNrOfRows; ++r) {
      if (!FCheckedCols[c - 1]) {
        FData->SetString(c, r, Text);
        continue;
      }
      const std::string S = FData->GetString(c, r);
      const bool Unchecked = S.empty() || S[0] == StateUnchecked;
      FData->SetString(c, r, (Unchecked ? StateUnchecked : StateChecked) + Text);
    }
  }
}

void TRLData::Clear() {
  FData->Clear();
  ResetColumns(1);
}

// ---------------------------------------------------------------- sorting

void TRLData::Sort(int Col, bool Flag) {
  if (Col < 1 || Col > FNrOfColumns) return;
  FSortColumn = Col;
  FSortOrder = Flag;
  FData->Sort(Col, Flag);
}

void TRLData::UnSort() {
  FSortColumn = -1;
  FData->UnSort();
}

void TRLData::BeforeSortExchange(TObject*, const std::string& Text, std::string& Text2) {
  if (OnBeforeSortExchange) OnBeforeSortExchange(this, Text, Text2);
}

// ---------------------------------------------------------------- copying

void TRLData::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TRLData*>(Source);
  if (S == nullptr) {
    TComponent::Assign(Source);
    return;
  }
  if (S == this) return;
  const TStringArray& From = *S->FData;
  const int Cols = S->FNrOfColumns;
  const int Rows = S->FNrOfRows;
  WithoutChangeHook(
      [&] {
        ResizeCells(Cols, Rows);
        FData->Clear();  // stored order, empty cells, attributes 0
        FData->SetAllocRowsBy(From.GetAllocRowsBy());
        // Stored row p of the copy receives what S shows at the position whose stored
        // row is p; then the copy's order is made S's.
        for (int r = 1; r <= Rows; ++r) {
          const int Stored = From.GetSortOrder(r);
          for (int c = 1; c <= Cols; ++c) FData->SetString(c, Stored, From.GetString(c, r));
        }
        for (int r = 1; r <= Rows; ++r) FData->SetSortOrder(r, From.GetSortOrder(r));
        // Row attributes follow the positions, now that the order is S's.
        for (int r = 1; r <= Rows; ++r) FData->SetRowAttrib(r, From.GetRowAttrib(r));
        for (int c = 1; c <= Cols; ++c) FData->SetColAttrib(c, From.GetColAttrib(c));
        return true;
      });
  FNrOfColumns = Cols;
  FNrOfRows = Rows;
  FSortColumn = S->FSortColumn;
  FSortOrder = S->FSortOrder;
  FHeaderSortFlag = S->FHeaderSortFlag;
  FComment = S->FComment;
  FCommonHeader = S->FCommonHeader;
  OnBeforeSortExchange = S->OnBeforeSortExchange;
  FDataID = S->FDataID;
  try {
    FColNames = S->FColNames;
    FColFormats = S->FColFormats;
    FCheckedCols = S->FCheckedCols;
  } catch (const std::bad_alloc&) {
    Fail(": not enough memory on heap");
  }
  NotifyChange();
}

void TRLData::AssignTo(TPersistent* Dest) {
  if (auto* D = dynamic_cast<TRLData*>(Dest)) {
    D->Assign(this);
  } else {
    TComponent::AssignTo(Dest);
  }
}

// ---------------------------------------------------------------- clipboard

std::string TRLData::ClipboardText(int ColFirst, int RowFirst, int ColLast, int RowLast,
                                   bool WithNames, const std::string* Separator) const {
  ColFirst = std::max(ColFirst, 1);
  ColLast = std::min(ColLast, FNrOfColumns);
  RowFirst = std::max(RowFirst, 1);
  RowLast = std::min(RowLast, FNrOfRows);
  if (ColFirst > ColLast) return {};
  std::vector<int> Width(ColLast - ColFirst + 1, 0);
  if (Separator == nullptr) {
    for (int c = ColFirst; c <= ColLast; ++c) {
      int& W = Width[c - ColFirst];
      if (WithNames) W = static_cast<int>(FColNames[c - 1].size());
      for (int r = RowFirst; r <= RowLast; ++r)
        W = std::max(W, static_cast<int>(FData->GetString(c, r).size()));
    }
  }
  std::string Text;
  auto Line = [&](auto&& Field) {
    for (int c = ColFirst; c <= ColLast; ++c) {
      if (Separator == nullptr) {
        Text += LeftString(Field(c), Width[c - ColFirst] + 1);
        continue;
      }
      if (c > ColFirst) Text += *Separator;
      Text += Field(c);
    }
    Text += '\n';
  };
  if (WithNames) {
    Line([&](int c) { return FColNames[c - 1]; });
    Text += '\n';
  }
  for (int r = RowFirst; r <= RowLast; ++r) Line([&](int c) { return GetElem(c, r); });
  return Text;
}

void TRLData::CopyToClipBoard(int ColFirst, int RowFirst, int ColLast, int RowLast,
                              bool WithNames, bool TabSeparated) {
  const std::string Tab = "\t";
  Clipboard().SetAsText(ClipboardText(ColFirst, RowFirst, ColLast, RowLast, WithNames,
                                      TabSeparated ? &Tab : nullptr));
}

void TRLData::CopyToClipBoard(int ColFirst, int RowFirst, int ColLast, int RowLast,
                              bool WithNames, const std::string& Separator) {
  Clipboard().SetAsText(
      ClipboardText(ColFirst, RowFirst, ColLast, RowLast, WithNames, &Separator));
}

}  // namespace nuv
