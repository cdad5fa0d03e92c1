// The report data store's documents: XML writers and readers, the validity test, the
// line import and the HTML export.
#include <gtest/gtest.h>

#include "gui/NUV_replist.h"
#include "tests/support/TestSupport.h"

namespace nuv {
namespace {

using test::FixturesDir;
using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;
using Texts = std::vector<std::string>;

std::string Fixture(const std::string& Name) { return FixturesDir() + "/replist/" + Name; }

bool Contains(const std::string& Text, const std::string& Part) {
  return Text.find(Part) != std::string::npos;
}

// Everything a document must carry over, compared field by field.
void ExpectSameTable(const TRLData& A, const TRLData& B) {
  ASSERT_EQ(A.GetNrOfColumns(), B.GetNrOfColumns());
  ASSERT_EQ(A.GetNrOfRows(), B.GetNrOfRows());
  EXPECT_EQ(A.GetCommonHeader(), B.GetCommonHeader());
  EXPECT_EQ(A.GetComment(), B.GetComment());
  for (int c = 1; c <= A.GetNrOfColumns(); ++c) {
    EXPECT_EQ(A.GetColName(c), B.GetColName(c)) << c;
    EXPECT_EQ(A.GetColumnFormat(c), B.GetColumnFormat(c)) << c;
    EXPECT_EQ(A.GetCheckedCol(c), B.GetCheckedCol(c)) << c;
    for (int r = 1; r <= A.GetNrOfRows(); ++r)
      EXPECT_EQ(A.GetStringArray().GetString(c, r), B.GetStringArray().GetString(c, r))
          << c << "," << r;
  }
}

// Texts that break naive writers and readers.
void FillAwkward(TRLData& D) {
  D.SetNrCols(3);
  D.SetNrRows(4);
  const Texts Cells{"<b>bold</b>", "a & b", "\"quoted\" 'single'", "  blanks  ",
                    "tab\there", "&amp; stays literal", "</replist>", "]]> <!-- -->",
                    "caf\xE9 \x80 \xFF", "del\x7F", "", "line\nbreak\r"};
  for (int i = 0; i < 12; ++i) D.SetElem(i % 3 + 1, i / 3 + 1, Cells[i]);
  D.SetColName(1, "<Name> & \"Co\"");
  D.SetColName(2, " padded ");
  D.SetColumnFormat(2, "[c:5][80]a|b&c|<d>");
  D.SetCheckedCol(3, true);
  D.SetElemChecked(3, 2, true);
  D.SetCommonHeader("");
  D.SetComment("first line\nsecond line\r\n\ttabbed <tag> &");
}

TEST(RLDataXml, RoundTripThroughStreamStringAndFile) {
  TRLData S(nullptr);
  FillAwkward(S);
  const std::string Id = " My \"ID\" & <x> ";
  TStringStream Stream;
  S.WriteToXMLStream(Stream, true, Id);
  const std::string Doc = Stream.DataString();
  EXPECT_EQ(Doc.rfind("<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n", 0), 0u);

  Stream.SetPosition(0);
  EXPECT_TRUE(CheckIfValidReplist(Stream, Id));
  Stream.SetPosition(0);
  EXPECT_TRUE(CheckIfValidReplist(Stream, "my \"id\" & <X>"));
  Stream.SetPosition(0);
  EXPECT_FALSE(CheckIfValidReplist(Stream, "my id"));

  TRLData FromStream(nullptr);
  Stream.SetPosition(0);
  ASSERT_TRUE(FromStream.ReadFromXMLStream(Stream, Id));
  ExpectSameTable(S, FromStream);
  EXPECT_EQ(FromStream.GetDataID(), "My \"ID\" & <x>");
  EXPECT_EQ(FromStream.GetElem(1, 3), "</replist>");

  TRLData FromString(nullptr);
  ASSERT_TRUE(FromString.ReadFromXMLString(Doc, ""));
  ExpectSameTable(S, FromString);

  TempDir Dir;
  const std::string Name = Dir.File("table.xml");
  S.SaveAsXMLFile(Name, Id);
  EXPECT_EQ(ReadFileBytes(Name), Doc);
  EXPECT_TRUE(CheckIfValidReplist(Name, Id));
  TRLData FromFile(nullptr);
  ASSERT_TRUE(FromFile.LoadFromXMLFile(Name, Id));
  ExpectSameTable(S, FromFile);
}

TEST(RLDataXml, SortedTableIsWrittenInItsShownOrderAndReadUnsorted) {
  TRLData S(nullptr);
  S.SetNrRows(3);
  S.SetElem(1, 1, "b");
  S.SetElem(1, 2, "c");
  S.SetElem(1, 3, "a");
  S.Sort(1, true);
  TStringStream Stream;
  S.WriteToXMLStream(Stream, false, "id");
  EXPECT_EQ(Stream.DataString().rfind("<replist", 0), 0u);  // no declaration
  TRLData R(nullptr);
  R.Sort(1, true);
  ASSERT_TRUE(R.ReadFromXMLString(Stream.DataString(), "id"));
  EXPECT_EQ(R.GetSortColumn(), -1);
  R.UnSort();
  EXPECT_EQ((Texts{R.GetElem(1, 1), R.GetElem(1, 2), R.GetElem(1, 3)}), (Texts{"a", "b", "c"}));
}

TEST(RLDataXml, EmptyTableRoundTrips) {
  TRLData S(nullptr);
  S.SetNrCols(2);
  TRLData R(nullptr);
  R.SetNrRows(5);
  R.SetElem(1, 1, "old");
  TStringStream Stream;
  S.WriteToXMLStream(Stream, true, "");
  ASSERT_TRUE(R.ReadFromXMLString(Stream.DataString(), ""));
  ExpectSameTable(S, R);
  R.SetNrRows(1);
  EXPECT_EQ(R.GetElem(1, 1), "");
}

TEST(RLDataXml, ProgressAndChangeNotifications) {
  TRLData S(nullptr);
  S.SetNrRows(200);
  for (int r = 1; r <= 200; ++r) S.SetElem(1, r, std::to_string(r));
  std::vector<int> Percents;
  S.OnPercentDone = [&](TObject* Sender, int P) {
    EXPECT_EQ(Sender, &S);
    Percents.push_back(P);
  };
  TStringStream Stream;
  S.WriteToXMLStream(Stream, true, "p");
  ASSERT_FALSE(Percents.empty());
  EXPECT_TRUE(std::is_sorted(Percents.begin(), Percents.end()));
  EXPECT_EQ(Percents.back(), 100);

  TRLData R(nullptr);
  int Changes = 0;
  int RowsSeen = -1;
  // The handler sees the table complete (a grid repaints from it).
  R.GetStringArray().OnChange = [&](TObject*) {
    ++Changes;
    RowsSeen = R.GetNrOfRows();
  };
  ASSERT_TRUE(R.ReadFromXMLString(Stream.DataString(), "p"));
  EXPECT_EQ(Changes, 1);
  EXPECT_EQ(RowsSeen, 200);
}

TEST(RLDataXml, ValidityTestIgnoresCaseAndBlanksAroundTheId) {
  const std::string File = Fixture("capitals.xml");
  for (const char* Id : {"abc", "", "ABC", "  abc "}) EXPECT_TRUE(CheckIfValidReplist(File, Id)) << Id;
  EXPECT_FALSE(CheckIfValidReplist(File, "abd"));
  EXPECT_FALSE(CheckIfValidReplist(Fixture("nosignature.xml"), ""));
  EXPECT_THROW(CheckIfValidReplist(Fixture("missing.xml"), ""), EInOutError);
  TRLData R(nullptr);
  ASSERT_TRUE(R.LoadFromXMLFile(File, "abc"));
  EXPECT_EQ(R.GetDataID(), "Abc");
  EXPECT_EQ(R.GetElem(2, 1), "two");
  EXPECT_FALSE(R.LoadFromXMLFile(Fixture("missing.xml"), ""));
}

TEST(RLDataXml, StreamTestStopsAfterTheQualifyingLine) {
  TStringStream Stream("first\n<replist id=\"a\" signature=\"NuvKitset\">\nthird\n");
  EXPECT_TRUE(CheckIfValidReplist(Stream, "A"));
  EXPECT_EQ(Stream.GetPosition(), 45);
  Stream.SetPosition(0);
  EXPECT_FALSE(CheckIfValidReplist(Stream, "b"));
  EXPECT_EQ(Stream.GetPosition(), Stream.GetSize());
}

TEST(RLDataXml, DocumentOfAnotherWriterIsRead) {
  // Single quotes, other element order, self-closing and unknown elements, comments,
  // CR LF line ends and a numeric character reference.
  TRLData R(nullptr);
  ASSERT_TRUE(R.LoadFromXMLFile(Fixture("foreign.xml"), "Other"));
  EXPECT_EQ(R.GetNrOfColumns(), 2);
  EXPECT_EQ(R.GetNrOfRows(), 2);
  EXPECT_EQ(R.GetColName(1), "First");
  EXPECT_EQ(R.GetColName(2), "C-2");
  EXPECT_TRUE(R.GetCheckedCol(2));
  EXPECT_TRUE(R.GetElemChecked(2, 2));
  EXPECT_EQ(R.GetElem(1, 2), "\x80 5");
  EXPECT_EQ(R.GetComment(), "");
  EXPECT_EQ(R.GetCommonHeader(), "NUV Report Listview");
}

TEST(RLDataXml, ReadersSkipOtherDocumentsAndStopAfterTheirOwn) {
  TRLData A(nullptr), B(nullptr);
  A.SetElem(1, 1, "never");
  A.SetNrRows(1);
  A.SetElem(1, 1, "from a");
  B.SetNrRows(2);
  B.SetElem(1, 2, "from b");
  TempDir Dir;
  TTextFile F(Dir.File("two.xml"));
  F.Rewrite();
  F.WriteLn("<?xml version=\"1.0\"?>");
  A.WriteToOpenXMLFile(F, false, "a");
  B.WriteToOpenXMLFile(F, false, "b");
  F.WriteLn("trailer");
  F.Close();

  F.Reset();
  TRLData R(nullptr);
  ASSERT_TRUE(R.ReadFromOpenXMLFile(F, "b"));  // skips document "a"
  EXPECT_EQ(R.GetElem(1, 2), "from b");
  EXPECT_EQ(F.ReadLn(), "trailer");
  F.Close();

  F.Reset();
  ASSERT_TRUE(R.ReadFromOpenXMLFile(F, ""));
  EXPECT_EQ(R.GetElem(1, 1), "from a");
  ASSERT_TRUE(R.ReadFromOpenXMLFile(F, ""));
  EXPECT_EQ(R.GetDataID(), "b");
  EXPECT_FALSE(R.ReadFromOpenXMLFile(F, ""));
  EXPECT_EQ(R.GetDataID(), "b");
  F.Close();
}

std::string Document(const std::string& Body) {
  return "<replist id=\"t\" signature=\"NuvKitset\">\n" + Body;
}

TEST(RLDataXml, MalformedDocumentsAreRefusedAndLeaveTheTable) {
  const std::string Dims = "<numcols>2</numcols>\n<numrows>2</numrows>\n";
  struct Case {
    const char* What;
    std::string Text;
  };
  const std::vector<Case> Cases{
      {"no root", Dims + "</replist>\n"},
      {"no signature", "<replist id=\"t\">\n" + Dims + "</replist>\n"},
      {"ends early", Document(Dims + "<cell col=\"1\" row=\"1\">a</cell>\n")},
      {"ends inside a cell", Document(Dims + "<cell col=\"1\" row=\"1\">a")},
      {"ends inside a tag", Document(Dims + "<cell col=\"1\" row=")},
      {"cut after the root", Document("")},
      {"more columns", Document(Dims + "<cell col=\"3\" row=\"1\">a</cell>\n</replist>\n")},
      {"more rows", Document(Dims + "<cell col=\"1\" row=\"3\">a</cell>\n</replist>\n")},
      {"row 0", Document(Dims + "<cell col=\"1\" row=\"0\">a</cell>\n</replist>\n")},
      {"name beyond", Document(Dims + "<colname col=\"3\">a</colname>\n</replist>\n")},
      {"format beyond", Document(Dims + "<columnformat col=\"9\">a</columnformat>\n</replist>\n")},
      {"check beyond", Document(Dims + "<checkedcolumn col=\"3\">true</checkedcolumn>\n</replist>\n")},
      {"bad check flag", Document(Dims + "<checkedcolumn col=\"1\">maybe</checkedcolumn>\n</replist>\n")},
      {"no numcols", Document("<numrows>2</numrows>\n</replist>\n")},
      {"no numrows", Document("<numcols>2</numcols>\n</replist>\n")},
      {"zero columns", Document("<numcols>0</numcols>\n<numrows>2</numrows>\n</replist>\n")},
      {"negative rows", Document("<numcols>2</numcols>\n<numrows>-2</numrows>\n</replist>\n")},
      {"not a number", Document("<numcols>two</numcols>\n<numrows>2</numrows>\n</replist>\n")},
      {"twice numcols", Document(Dims + "<numcols>1</numcols>\n</replist>\n")},
      {"huge", Document("<numcols>100000</numcols>\n<numrows>2000000000</numrows>\n</replist>\n")},
      {"cell without row", Document(Dims + "<cell col=\"1\">a</cell>\n</replist>\n")},
      {"unknown entity", Document(Dims + "<cell col=\"1\" row=\"1\">&nbsp;</cell>\n</replist>\n")},
      {"bare ampersand", Document(Dims + "<comment>a & b</comment>\n</replist>\n")},
      {"raw <", Document(Dims + "<comment>a < b</comment>\n</replist>\n")},
      {"nested element", Document(Dims + "<comment><b>x</b></comment>\n</replist>\n")},
      {"wrong end tag", Document(Dims + "<comment>x</cell>\n</replist>\n")},
      {"stray text", Document(Dims + "text\n</replist>\n")},
      {"unquoted attribute", Document(Dims + "<cell col=1 row=1>a</cell>\n</replist>\n")},
      {"open comment", Document(Dims + "<!-- never closed\n</replist>\n")},
  };
  for (const Case& C : Cases) {
    TRLData R(nullptr);
    R.SetNrRows(1);
    R.SetElem(1, 1, "kept");
    R.SetDataID("mine");
    EXPECT_FALSE(R.ReadFromXMLString(C.Text, "t")) << C.What;
    EXPECT_EQ(R.GetNrOfColumns(), 1) << C.What;
    EXPECT_EQ(R.GetNrOfRows(), 1) << C.What;
    EXPECT_EQ(R.GetElem(1, 1), "kept") << C.What;
    EXPECT_EQ(R.GetDataID(), "mine") << C.What;
  }
  TRLData R(nullptr);
  EXPECT_FALSE(R.ReadFromXMLString(Document(Dims + "</replist>\n"), "other id"));
  EXPECT_TRUE(R.ReadFromXMLString(Document(Dims + "</replist>\n"), "T"));
}

// ---------------------------------------------------------------- lines of a text file

TEST(RLDataLines, LinesBecomeRowsAndTabsSplitColumns) {
  TempDir Dir;
  const std::string Name = Dir.File("lines.txt");
  WriteFileBytes(Name, "header\r\na\tb\nc\r\nd\te\tf\n\nlast");
  TRLData D(nullptr);
  D.SetNrCols(2);
  D.SetColName(1, "Kept");
  D.SetCheckedCol(2, true);
  D.SetNrRows(9);
  D.SetElem(1, 9, "old");
  D.Sort(1, true);
  int Changes = 0;
  D.GetStringArray().OnChange = [&](TObject*) { ++Changes; };
  ASSERT_TRUE(D.LoadLinesFromFile(2, 4, Name));
  EXPECT_EQ(Changes, 1);
  EXPECT_EQ(D.GetNrOfRows(), 3);
  EXPECT_EQ(D.GetNrOfColumns(), 3);
  EXPECT_EQ(D.GetSortColumn(), -1);
  EXPECT_EQ(D.GetColName(1), "Kept");
  EXPECT_EQ(D.GetColName(3), "C-3");
  EXPECT_EQ((Texts{D.GetElem(1, 1), D.GetElem(2, 1), D.GetElem(3, 1)}), (Texts{"a", "b", ""}));
  EXPECT_EQ((Texts{D.GetElem(1, 2), D.GetElem(2, 2)}), (Texts{"c", ""}));
  EXPECT_EQ((Texts{D.GetElem(1, 3), D.GetElem(2, 3), D.GetElem(3, 3)}), (Texts{"d", "e", "f"}));
  EXPECT_EQ(D.GetStringArray().GetString(2, 1), " b");  // unchecked check-box cell
  EXPECT_FALSE(D.GetElemChecked(2, 3));

  ASSERT_TRUE(D.LoadLinesFromFile(0, 0, Name));  // the whole file
  EXPECT_EQ(D.GetNrOfRows(), 6);
  EXPECT_EQ(D.GetElem(1, 6), "last");
  EXPECT_EQ(D.GetElem(1, 5), "");
  ASSERT_TRUE(D.LoadLinesFromFile(5, -1, Name));  // from line 5 to the end
  EXPECT_EQ(D.GetNrOfRows(), 2);
  ASSERT_TRUE(D.LoadLinesFromFile(10, 20, Name));  // past the end: no rows
  EXPECT_EQ(D.GetNrOfRows(), 0);

  D.SetNrRows(1);
  D.SetElem(1, 1, "stays");
  EXPECT_FALSE(D.LoadLinesFromFile(1, 0, Dir.File("missing.txt")));
  EXPECT_EQ(D.GetElem(1, 1), "stays");
}

// ---------------------------------------------------------------- HTML export

TEST(RLDataHtml, ExportWritesAnEscapedTableOfTheRange) {
  TRLData D(nullptr);
  FillAwkward(D);
  D.SetCommonHeader("Awkward <table>");
  std::vector<std::tuple<int, int, std::string>> Seen;
  D.OnBeforeHTMLExport = [&](TObject* Sender, std::string& Text, int Col, int Row) {
    EXPECT_EQ(Sender, &D);
    Seen.emplace_back(Col, Row, Text);
    if (Col == 2 && Row == 1) Text = "<i>changed</i>";
  };
  TempDir Dir;
  const std::string Name = Dir.File("t.html");
  D.ExportHTMLTable(Name, 0, 1, 3, 2, {120, 0}, 1, 3, 10, 80, true, "", "Cap & tion",
                    "td { color: red; } </style><script>");
  const std::string H = ReadFileBytes(Name);
  EXPECT_EQ(H.rfind("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n", 0), 0u);
  EXPECT_TRUE(Contains(H, "<title>Awkward &lt;table&gt;</title>"));
  EXPECT_TRUE(Contains(H, "<caption>Cap &amp; tion</caption>"));
  EXPECT_TRUE(Contains(H, "font-size: 10pt; width: 80%;"));
  EXPECT_TRUE(Contains(H, "border: 1px solid #808080; padding: 3px;"));
  EXPECT_TRUE(Contains(H, "td { color: red; } <\\/style><script>"));
  EXPECT_FALSE(Contains(H, "</style><script>"));
  EXPECT_TRUE(Contains(H, "<colgroup><col style=\"width: 120px\"><col><col></colgroup>"));
  EXPECT_TRUE(Contains(
      H, "<thead><tr><th scope=\"col\">&lt;Name&gt; &amp; &quot;Co&quot;</th><th scope=\"col\"> "
         "padded </th><th scope=\"col\">C-3</th></tr></thead>"));
  EXPECT_TRUE(Contains(H, "<tr><td>&lt;b&gt;bold&lt;/b&gt;</td><td>&lt;i&gt;changed&lt;/i&gt;"
                          "</td><td>&#9744; &quot;quoted&quot; &#39;single&#39;</td></tr>"));
  EXPECT_TRUE(Contains(H, "<td>&#9745; &amp;amp; stays literal</td>"));
  EXPECT_FALSE(Contains(H, "&lt;/replist&gt;"));  // row 3 is outside the range
  const std::string End = "</table>\n</body>\n</html>\n";
  EXPECT_EQ(H.substr(H.size() - std::min(H.size(), End.size())), End);
  EXPECT_EQ(Seen.size(), 6u);
  EXPECT_EQ(Seen.front(), std::make_tuple(1, 1, std::string("<b>bold</b>")));
  EXPECT_EQ(Seen.back(), std::make_tuple(3, 2, std::string("&amp; stays literal")));

  // Windows-1252 texts arrive as UTF-8; control characters become replacement marks.
  D.ExportHTMLTable(Name, 1, 3, 3, 4, {}, 0, 0, 0, 0, false, "T", "", "");
  const std::string H2 = ReadFileBytes(Name);
  EXPECT_TRUE(Contains(H2, "<td>&#9744; caf\xC3\xA9 \xE2\x82\xAC \xC3\xBF</td>"));
  EXPECT_TRUE(Contains(H2, "line&#xFFFD;break&#xFFFD;"));
  EXPECT_TRUE(Contains(H2, "border: none; padding: 0px;"));
  EXPECT_FALSE(Contains(H2, "<thead>"));
  EXPECT_FALSE(Contains(H2, "<caption>"));
  EXPECT_TRUE(Contains(H2, "<title>T</title>"));
}

TEST(RLDataHtml, EmptyRangeGivesAnEmptyTable) {
  TRLData D(nullptr);
  D.SetCommonHeader("");
  TempDir Dir;
  const std::string Name = Dir.File("e.html");
  D.ExportHTMLTable(Name, 1, 1, 1, 0, {}, 1, 2, 0, 0, true, "", "", "");
  const std::string H = ReadFileBytes(Name);
  EXPECT_TRUE(Contains(H, "<title>Report list</title>"));
  EXPECT_TRUE(Contains(H, "<tbody>\n</tbody>\n</table>"));
  EXPECT_THROW(D.ExportHTMLTable(Dir.File("no/such/dir/x.html"), 1, 1, 1, 1, {}, 0, 0, 0, 0,
                                 false, "", "", ""),
               EInOutError);
}

}  // namespace
}  // namespace nuv
