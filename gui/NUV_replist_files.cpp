// TRLData: reading the lines of a text file into the table and the HTML export.
#include <algorithm>

#include "common/NUV_TrimBlanks.h"
#include "gui/NUV_replist.h"

namespace nuv {

namespace {

// Text for HTML element content and attribute values. Control characters (other than
// TAB) have no place in HTML text and show as the replacement character.
std::string HtmlEscape(const std::string& S) {
  std::string R;
  R.reserve(S.size());
  for (char Ch : S) {
    switch (Ch) {
      case '&': R += "&amp;"; break;
      case '<': R += "&lt;"; break;
      case '>': R += "&gt;"; break;
      case '"': R += "&quot;"; break;
      case '\'': R += "&#39;"; break;
      default:
        if (static_cast<unsigned char>(Ch) < 32 && Ch != '\t') {
          R += "&#xFFFD;";
        } else {
          R += Ch;
        }
    }
  }
  return R;
}

// A style sheet placed into a <style> element: "</" would end the element early, so it
// is written as "<\/" (the same text for CSS).
std::string StyleText(const std::string& S) {
  std::string R;
  for (size_t i = 0; i < S.size(); ++i) {
    R += S[i];
    if (S[i] == '<' && i + 1 < S.size() && S[i + 1] == '/') R += '\\';
  }
  return R;
}

std::vector<std::string> SplitAtTabs(const std::string& Line) {
  std::vector<std::string> Fields;
  size_t Start = 0;
  for (;;) {
    const size_t Tab = Line.find('\t', Start);
    Fields.push_back(Line.substr(Start, Tab - Start));
    if (Tab == std::string::npos) return Fields;
    Start = Tab + 1;
  }
}

}  // namespace

// ---------------------------------------------------------------- lines of a text file

bool TRLData::LoadLinesFromFile(int FirstLine, int LastLine, const std::string& FileName) {
  FirstLine = std::max(FirstLine, 1);
  std::vector<std::vector<std::string>> Lines;
  try {
    TTextFile F(FileName);
    F.Reset();
    for (int Line = 1; !F.Eof() && (LastLine < FirstLine || Line <= LastLine); ++Line) {
      std::string Text = F.ReadLn();
      if (Line >= FirstLine) Lines.push_back(SplitAtTabs(Text));
    }
    F.Close();
  } catch (const EInOutError&) {
    return false;
  }
  size_t Fields = 0;
  for (const auto& L : Lines) Fields = std::max(Fields, L.size());
  const int Rows = static_cast<int>(std::min<size_t>(Lines.size(), INT32_MAX));
  WithoutChangeHook(
      [&] {
        SetNrCols(std::max(FNrOfColumns, static_cast<int>(std::min<size_t>(Fields, INT32_MAX))));
        ResizeCells(FNrOfColumns, Rows);
        FNrOfRows = Rows;
        FSortColumn = -1;
        FData->Clear();
        int Last = -1;
        for (int r = 1; r <= Rows; ++r) {
          const auto& L = Lines[r - 1];
          for (size_t c = 1; c <= L.size(); ++c) SetElem(static_cast<int>(c), r, L[c - 1]);
          ReportPercent(r, Rows, Last);
        }
        return true;
      });
  NotifyChange();
  return true;
}

// ---------------------------------------------------------------- HTML export

void TRLData::ExportHTMLTable(const std::string& FileName, int ColFirst, int RowFirst,
                              int ColLast, int RowLast, const std::vector<int>& ColWidths,
                              int BorderWidth, int CellPadding, int FontSize, int TableWidth,
                              bool WithNames, const std::string& Title,
                              const std::string& Caption, const std::string& StyleSheet) {
  ColFirst = std::max(ColFirst, 1);
  ColLast = std::min(ColLast, FNrOfColumns);
  RowFirst = std::max(RowFirst, 1);
  RowLast = std::min(RowLast, FNrOfRows);
  BorderWidth = std::clamp(BorderWidth, 0, 100);
  CellPadding = std::clamp(CellPadding, 0, 100);

  TTextFile F(FileName);
  F.Rewrite();
  // The page is UTF-8, as HTML5 asks; the texts of the table are Windows-1252.
  auto Put = [&F](const std::string& Line) { F.WriteLn(AnsiToUtf8(Line)); };
  std::string PageTitle = Title;
  if (TrimBlanks(PageTitle).empty()) PageTitle = FCommonHeader;
  if (TrimBlanks(PageTitle).empty()) PageTitle = "Report list";
  Put("<!DOCTYPE html>");
  Put("<html>");
  Put("<head>");
  Put("<meta charset=\"utf-8\">");
  Put("<title>" + HtmlEscape(PageTitle) + "</title>");
  Put("<style>");
  std::string Table = "table.nuvreplist { border-collapse: collapse;";
  if (FontSize > 0) Table += " font-size: " + std::to_string(std::min(FontSize, 200)) + "pt;";
  if (TableWidth > 0) Table += " width: " + std::to_string(std::min(TableWidth, 100)) + "%;";
  Put(Table + " }");
  Put("table.nuvreplist th, table.nuvreplist td { border: " +
      (BorderWidth > 0 ? std::to_string(BorderWidth) + "px solid #808080" : "none") +
      "; padding: " + std::to_string(CellPadding) +
      "px; text-align: left; vertical-align: top; white-space: pre; }");
  Put("table.nuvreplist th { background: #c0c0c0; }");
  if (!StyleSheet.empty()) Put(StyleText(StyleSheet));
  Put("</style>");
  Put("</head>");
  Put("<body>");
  Put("<table class=\"nuvreplist\">");
  if (!Caption.empty()) Put("<caption>" + HtmlEscape(Caption) + "</caption>");
  if (ColFirst <= ColLast) {
    std::string Cols = "<colgroup>";
    for (int c = ColFirst; c <= ColLast; ++c) {
      const size_t i = static_cast<size_t>(c - ColFirst);
      const int W = i < ColWidths.size() ? ColWidths[i] : 0;
      Cols += W > 0 ? "<col style=\"width: " + std::to_string(W) + "px\">" : "<col>";
    }
    Put(Cols + "</colgroup>");
    if (WithNames) {
      std::string Head = "<thead><tr>";
      for (int c = ColFirst; c <= ColLast; ++c)
        Head += "<th scope=\"col\">" + HtmlEscape(FColNames[c - 1]) + "</th>";
      Put(Head + "</tr></thead>");
    }
    Put("<tbody>");
    int Last = -1;
    for (int r = RowFirst; r <= RowLast; ++r) {
      std::string Row = "<tr>";
      for (int c = ColFirst; c <= ColLast; ++c) {
        std::string Text = GetElem(c, r);
        BeforeHTMLExport(Text, c, r);
        std::string Box;
        if (FCheckedCols[c - 1] && !FData->GetString(c, r).empty())
          Box = GetElemChecked(c, r) ? "&#9745; " : "&#9744; ";
        Row += "<td>" + Box + HtmlEscape(Text) + "</td>";
      }
      Put(Row + "</tr>");
      ReportPercent(r - RowFirst + 1, RowLast - RowFirst + 1, Last);
    }
    Put("</tbody>");
  }
  Put("</table>");
  Put("</body>");
  Put("</html>");
  F.Close();
}

void TRLData::BeforeHTMLExport(std::string& Text, int Col, int Row) {
  if (OnBeforeHTMLExport) OnBeforeHTMLExport(this, Text, Col, Row);
}

}  // namespace nuv
