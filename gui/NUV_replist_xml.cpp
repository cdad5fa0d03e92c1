// TRLData: report list XML documents (writers, readers) and their validity test.
#include <algorithm>
#include <climits>

#include "common/NUV_TrimBlanks.h"
#include "gui/NUV_replist.h"

namespace nuv {

const char* const RepListXmlTagWords[10] = {
    "numcols",      "numrows", "colname", "checkedcolumn", "commonheader",
    "columnformat", "cell",    "comment", "/replist",      "invalidtag"};

namespace {

constexpr const char* Declaration = "<?xml version=\"1.0\" encoding=\"windows-1252\"?>";
constexpr const char* DefaultCommonHeader = "NUV Report Listview";
// A document may declare at most this many cells; larger tables are refused before
// anything is allocated.
constexpr int64_t MaxDocumentCells = int64_t(1) << 24;

std::string TagWord(TRepListXmlTag Tag) { return RepListXmlTagWords[Tag]; }

TRepListXmlTag TagOf(const std::string& Word) {
  for (int t = xmlNumCols; t < xmlInvalid; ++t)
    if (TagWord(static_cast<TRepListXmlTag>(t)) == Word) return static_cast<TRepListXmlTag>(t);
  return xmlInvalid;
}

std::string XmlEscape(const std::string& S) {
  std::string R;
  R.reserve(S.size());
  for (char Ch : S) {
    switch (Ch) {
      case '&': R += "&amp;"; break;
      case '<': R += "&lt;"; break;
      case '>': R += "&gt;"; break;
      case '"': R += "&quot;"; break;
      case '\'': R += "&apos;"; break;
      default:
        // Control characters (DEL too) as references: line readers drop them otherwise.
        if (static_cast<unsigned char>(Ch) < 32 || Ch == 127) {
          R += "&#" + std::to_string(static_cast<unsigned char>(Ch)) + ";";
        } else {
          R += Ch;
        }
    }
  }
  return R;
}

// The Windows-1252 text of a Unicode code point ("?" when the code page lacks it).
std::string CodePointText(uint32_t Cp) {
  if (Cp < 128) return std::string(1, static_cast<char>(Cp));
  std::string U;
  if (Cp < 0x800) {
    U = {char(0xC0 | (Cp >> 6)), char(0x80 | (Cp & 0x3F))};
  } else if (Cp < 0x10000) {
    U = {char(0xE0 | (Cp >> 12)), char(0x80 | ((Cp >> 6) & 0x3F)), char(0x80 | (Cp & 0x3F))};
  } else {
    U = {char(0xF0 | (Cp >> 18)), char(0x80 | ((Cp >> 12) & 0x3F)),
         char(0x80 | ((Cp >> 6) & 0x3F)), char(0x80 | (Cp & 0x3F))};
  }
  return Utf8ToAnsi(U);
}

// The character an entity reference (the text between "&" and ";") stands for.
bool DecodeEntity(const std::string& Name, std::string& Out) {
  static const std::pair<const char*, char> Named[] = {
      {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
  for (const auto& [Word, Ch] : Named) {
    if (Name == Word) {
      Out += Ch;
      return true;
    }
  }
  if (Name.size() < 2 || Name[0] != '#') return false;
  const bool Hex = Name[1] == 'x' || Name[1] == 'X';
  const std::string Digits = Name.substr(Hex ? 2 : 1);
  if (Digits.empty() || Digits.size() > 6) return false;
  uint32_t Cp = 0;
  for (char Ch : Digits) {
    int D;
    if (Ch >= '0' && Ch <= '9') {
      D = Ch - '0';
    } else if (Hex && Ch >= 'a' && Ch <= 'f') {
      D = Ch - 'a' + 10;
    } else if (Hex && Ch >= 'A' && Ch <= 'F') {
      D = Ch - 'A' + 10;
    } else {
      return false;
    }
    Cp = Cp * (Hex ? 16 : 10) + D;
  }
  if (Cp > 0x10FFFF) return false;
  Out += CodePointText(Cp);
  return true;
}

// Replaces entity references. Strict: false for a "&" that starts no known reference;
// otherwise such a "&" stays as it is.
bool XmlUnescape(const std::string& S, std::string& Out, bool Strict) {
  Out.clear();
  for (size_t i = 0; i < S.size(); ++i) {
    if (S[i] != '&') {
      Out += S[i];
      continue;
    }
    const size_t End = S.find(';', i + 1);
    if (End != std::string::npos && DecodeEntity(S.substr(i + 1, End - i - 1), Out)) {
      i = End;
    } else if (Strict) {
      return false;
    } else {
      Out += '&';
    }
  }
  return true;
}

// Whether Line is the root tag of a report list document for WantedID (lower case,
// trimmed; empty accepts any id). Id receives the line's id: decoded, trimmed, case kept.
bool IsQualifyingRoot(const std::string& Line, const std::string& WantedID, std::string* Id) {
  const std::string Lower = LowerCase(Line);
  if (Lower.find("<replist") == std::string::npos || Lower.find("nuvkitset") == std::string::npos)
    return false;
  std::string Raw;
  const size_t p = Lower.find("id=\"");
  if (p != std::string::npos) {
    const size_t q = Lower.find('"', p + 4);
    if (q != std::string::npos) Raw = Line.substr(p + 4, q - p - 4);
  }
  std::string Value;
  XmlUnescape(Raw, Value, false);
  Value = TrimBlanks(Value);
  if (!WantedID.empty() && LowerCase(Value) != WantedID) return false;
  if (Id != nullptr) *Id = Value;
  return true;
}

std::string WantedID(const std::string& DataID) { return LowerCase(TrimBlanks(DataID)); }

bool IsXmlBlank(char Ch) { return Ch == ' ' || Ch == '\t' || Ch == '\r' || Ch == '\n'; }

bool IsNameChar(char Ch) {
  return (Ch >= 'a' && Ch <= 'z') || (Ch >= 'A' && Ch <= 'Z') || (Ch >= '0' && Ch <= '9') ||
         Ch == '_' || Ch == '-' || Ch == ':' || Ch == '.';
}

// A decimal count of up to ten digits, blanks around it allowed.
bool ParseCount(const std::string& S, int64_t& Value) {
  const std::string T = Trim(S);
  if (T.empty() || T.size() > 10) return false;
  Value = 0;
  for (char Ch : T) {
    if (Ch < '0' || Ch > '9') return false;
    Value = Value * 10 + (Ch - '0');
  }
  return true;
}

struct TXmlElement {
  std::string Name;  // lower case
  std::vector<std::pair<std::string, std::string>> Attributes;  // names lower case, decoded
  std::string Text;                                             // decoded

  bool Count(const char* Attr, int64_t& Value) const {
    for (const auto& [Key, V] : Attributes)
      if (Key == Attr) return ParseCount(V, Value);
    return false;
  }
};

// Reads the document body (what follows the root start tag) element by element up to
// the root's end tag. Elements hold text only; comments and processing instructions are
// skipped. False for anything malformed.
class TBodyParser {
 public:
  explicit TBodyParser(const std::string& Body) : B(Body) {}

  // Next element into E; false at the root's end tag (Ended) or on an error.
  bool Next(TXmlElement& E) {
    for (;;) {
      while (P < B.size() && IsXmlBlank(B[P])) ++P;
      if (P >= B.size() || B[P] != '<') return false;
      if (B.compare(P, 4, "<!--") == 0 || B.compare(P, 2, "<?") == 0) {
        const bool Comment = B[P + 1] == '!';
        const size_t End = B.find(Comment ? "-->" : "?>", P + 2);
        if (End == std::string::npos) return false;
        P = End + (Comment ? 3 : 2);
        continue;
      }
      if (B.compare(P, 2, "</") == 0) {
        Ended = LowerCase(ReadEndTag()) == "replist";
        return false;
      }
      return ReadElement(E);
    }
  }
  bool Ended = false;

 private:
  std::string ReadName() {
    const size_t Start = P;
    while (P < B.size() && IsNameChar(B[P])) ++P;
    return LowerCase(B.substr(Start, P - Start));
  }

  // "</name>" at P; the name, or "" when malformed.
  std::string ReadEndTag() {
    P += 2;
    std::string Name = ReadName();
    while (P < B.size() && IsXmlBlank(B[P])) ++P;
    if (P >= B.size() || B[P] != '>') return {};
    ++P;
    return Name;
  }

  bool ReadElement(TXmlElement& E) {
    ++P;
    E.Name = ReadName();
    E.Attributes.clear();
    E.Text.clear();
    if (E.Name.empty()) return false;
    for (;;) {
      const size_t Before = P;
      while (P < B.size() && IsXmlBlank(B[P])) ++P;
      if (P >= B.size()) return false;
      if (B.compare(P, 2, "/>") == 0) {
        P += 2;
        return true;
      }
      if (B[P] == '>') break;
      if (P == Before) return false;  // attributes are separated by blanks
      std::string Key = ReadName();
      if (Key.empty() || P >= B.size() || B[P] != '=') return false;
      ++P;
      if (P >= B.size() || (B[P] != '"' && B[P] != '\'')) return false;
      const size_t End = B.find(B[P], P + 1);
      if (End == std::string::npos) return false;
      std::string Value;
      if (!XmlUnescape(B.substr(P + 1, End - P - 1), Value, true)) return false;
      E.Attributes.emplace_back(std::move(Key), std::move(Value));
      P = End + 1;
    }
    ++P;
    const size_t End = B.find('<', P);
    if (End == std::string::npos) return false;
    if (!XmlUnescape(B.substr(P, End - P), E.Text, true)) return false;
    P = End;
    if (B.compare(P, 2, "</") != 0) return false;  // elements hold text only
    return ReadEndTag() == E.Name;
  }

  const std::string& B;
  size_t P = 0;
};

// What a document holds, checked against its declared size before the table takes it.
struct TXmlDocument {
  int64_t Cols = -1;
  int64_t Rows = -1;
  std::string CommonHeader = DefaultCommonHeader;
  std::string Comment;
  std::vector<std::pair<int64_t, std::string>> Names, Formats;
  std::vector<std::pair<int64_t, bool>> Checked;
  struct TCell {
    int64_t Col, Row;
    std::string Text;
  };
  std::vector<TCell> Cells;

  bool Take(const TXmlElement& E) {
    int64_t Col = 0, Row = 0;
    switch (TagOf(E.Name)) {
      case xmlNumCols:
        return Cols < 0 && ParseCount(E.Text, Cols);
      case xmlNumRows:
        return Rows < 0 && ParseCount(E.Text, Rows);
      case xmlColName:
        if (!E.Count("col", Col)) return false;
        Names.emplace_back(Col, E.Text);
        return true;
      case xmlColumnFormat:
        if (!E.Count("col", Col)) return false;
        Formats.emplace_back(Col, E.Text);
        return true;
      case xmlCheckedColumn: {
        const std::string V = LowerCase(Trim(E.Text));
        if (!E.Count("col", Col) || (V != "true" && V != "false" && V != "1" && V != "0"))
          return false;
        Checked.emplace_back(Col, V == "true" || V == "1");
        return true;
      }
      case xmlCommonHd:
        CommonHeader = E.Text;
        return true;
      case xmlComment:
        Comment = E.Text;
        return true;
      case xmlCell:
        if (!E.Count("col", Col) || !E.Count("row", Row)) return false;
        Cells.push_back({Col, Row, E.Text});
        return true;
      default:
        return true;  // elements of other writers are skipped
    }
  }

  bool Consistent() const {
    if (Cols < 1 || Rows < 0 || Cols > INT_MAX || Rows > INT_MAX) return false;
    if (Cols * std::max<int64_t>(Rows, 1) > MaxDocumentCells) return false;
    auto ColOk = [&](int64_t c) { return c >= 1 && c <= Cols; };
    for (const auto& N : Names) if (!ColOk(N.first)) return false;
    for (const auto& F : Formats) if (!ColOk(F.first)) return false;
    for (const auto& C : Checked) if (!ColOk(C.first)) return false;
    for (const auto& C : Cells) if (!ColOk(C.Col) || C.Row < 1 || C.Row > Rows) return false;
    return true;
  }
};

// Line sources of the readers and the validity test.
using TLineSource = std::function<bool(std::string&)>;

TLineSource StreamLines(TStream& Stream) {
  return [&Stream, AtEnd = false](std::string& Line) mutable {
    if (AtEnd) return false;
    Line = ReadLnStream(Stream, AtEnd, 0);
    if (!Line.empty() && Line.back() == '\r') Line.pop_back();
    return true;
  };
}

TLineSource FileLines(TTextFile& F) {
  return [&F](std::string& Line) {
    if (F.Eof()) return false;
    Line = F.ReadLn();
    return true;
  };
}

// Lines ending in CR, LF or CR LF, as a text file reads them.
TLineSource StringLines(const std::string& Text) {
  return [&Text, Pos = size_t(0)](std::string& Line) mutable {
    if (Pos >= Text.size()) return false;
    const size_t End = Text.find_first_of("\r\n", Pos);
    if (End == std::string::npos) {
      Line = Text.substr(Pos);
      Pos = Text.size();
      return true;
    }
    Line = Text.substr(Pos, End - Pos);
    Pos = End + (Text.compare(End, 2, "\r\n") == 0 ? 2 : 1);
    return true;
  };
}

bool FindQualifyingRoot(const TLineSource& NextLine, const std::string& DataID) {
  const std::string Wanted = WantedID(DataID);
  std::string Line;
  while (NextLine(Line))
    if (IsQualifyingRoot(Line, Wanted, nullptr)) return true;
  return false;
}

// The position of the ">" that ends the tag starting at Start (quoted values skipped).
size_t TagEnd(const std::string& Line, size_t Start) {
  char Quote = 0;
  for (size_t i = Start; i < Line.size(); ++i) {
    if (Quote != 0) {
      if (Line[i] == Quote) Quote = 0;
    } else if (Line[i] == '"' || Line[i] == '\'') {
      Quote = Line[i];
    } else if (Line[i] == '>') {
      return i;
    }
  }
  return std::string::npos;
}

}  // namespace

// ---------------------------------------------------------------- validity test

bool CheckIfValidReplist(const std::string& FileName, const std::string& DataID) {
  TTextFile F(FileName);
  F.Reset();
  const bool Found = FindQualifyingRoot(FileLines(F), DataID);
  F.Close();
  return Found;
}

bool CheckIfValidReplist(TStream& Stream, const std::string& DataID) {
  return FindQualifyingRoot(StreamLines(Stream), DataID);
}

// ---------------------------------------------------------------- writers

void TRLData::WriteXML(const std::function<void(const std::string&)>& WriteLine,
                       bool WithDeclaration, const std::string& DataID) {
  auto Element = [&](TRepListXmlTag Tag, const std::string& Attributes,
                     const std::string& Text) {
    const std::string Word = TagWord(Tag);
    WriteLine("<" + Word + Attributes + ">" + XmlEscape(Text) + "</" + Word + ">");
  };
  auto ColAttr = [](int c) { return " col=\"" + std::to_string(c) + "\""; };
  if (WithDeclaration) WriteLine(Declaration);
  WriteLine("<replist id=\"" + XmlEscape(TrimBlanks(DataID)) + "\" signature=\"NuvKitset\">");
  Element(xmlNumCols, "", std::to_string(FNrOfColumns));
  Element(xmlNumRows, "", std::to_string(FNrOfRows));
  Element(xmlCommonHd, "", FCommonHeader);
  Element(xmlComment, "", FComment);
  for (int c = 1; c <= FNrOfColumns; ++c) {
    Element(xmlColName, ColAttr(c), FColNames[c - 1]);
    if (!FColFormats[c - 1].empty()) Element(xmlColumnFormat, ColAttr(c), FColFormats[c - 1]);
    if (FCheckedCols[c - 1]) Element(xmlCheckedColumn, ColAttr(c), "true");
  }
  int Last = -1;
  for (int r = 1; r <= FNrOfRows; ++r) {
    for (int c = 1; c <= FNrOfColumns; ++c) {
      const std::string S = FData->GetString(c, r);
      if (!S.empty()) Element(xmlCell, ColAttr(c) + " row=\"" + std::to_string(r) + "\"", S);
    }
    ReportPercent(r, FNrOfRows, Last);
  }
  WriteLine("<" + TagWord(xmlEndReplist) + ">");
}

void TRLData::WriteToOpenXMLFile(TTextFile& F, bool WithDeclaration, const std::string& DataID) {
  WriteXML([&F](const std::string& Line) { F.WriteLn(Line); }, WithDeclaration, DataID);
}

void TRLData::WriteToXMLStream(TStream& Stream, bool WithDeclaration, const std::string& DataID) {
  WriteXML([&Stream](const std::string& Line) { WriteLnStream(Stream, Line); },
           WithDeclaration, DataID);
}

void TRLData::SaveAsXMLFile(const std::string& FileName, const std::string& DataID) {
  TTextFile F(FileName);
  F.Rewrite();
  WriteToOpenXMLFile(F, true, DataID);
  F.Close();
}

// ---------------------------------------------------------------- readers

bool TRLData::ReadXML(const std::function<bool(std::string&)>& NextLine,
                      const std::string& DataID) {
  const std::string Wanted = WantedID(DataID);
  std::string Line, Id;
  do {
    if (!NextLine(Line)) return false;
  } while (!IsQualifyingRoot(Line, Wanted, &Id));
  const size_t RootEnd = TagEnd(Line, LowerCase(Line).find("<replist"));
  if (RootEnd == std::string::npos) return false;
  std::string Body = Line.substr(RootEnd + 1);
  for (std::string Rest = Body; LowerCase(Rest).find("</replist") == std::string::npos;) {
    if (!NextLine(Rest)) return false;  // the document ends early
    Body += '\n';
    Body += Rest;
  }
  TXmlDocument Doc;
  TBodyParser Parser(Body);
  TXmlElement E;
  while (Parser.Next(E))
    if (!Doc.Take(E)) return false;
  if (!Parser.Ended || !Doc.Consistent()) return false;

  const int Cols = static_cast<int>(Doc.Cols);
  const int Rows = static_cast<int>(Doc.Rows);
  const bool Resized = WithoutChangeHook(
      [&] {
        try {
          ResizeCells(Cols, Rows);
        } catch (const ENUVError&) {
          return false;
        }
        FData->Clear();
        int Last = -1;
        const int64_t Total = static_cast<int64_t>(Doc.Cells.size());
        for (int64_t i = 0; i < Total; ++i) {
          const auto& C = Doc.Cells[i];
          FData->SetString(static_cast<int>(C.Col), static_cast<int>(C.Row), C.Text);
          ReportPercent(i + 1, Total, Last);
        }
        return true;
      });
  if (!Resized) return false;
  FNrOfColumns = Cols;
  FNrOfRows = Rows;
  FSortColumn = -1;
  ResetColumns(1);
  for (const auto& [c, Name] : Doc.Names) SetColName(static_cast<int>(c), Name);
  for (const auto& [c, Fmt] : Doc.Formats) SetColumnFormat(static_cast<int>(c), Fmt);
  for (const auto& [c, Flag] : Doc.Checked) FCheckedCols[c - 1] = Flag;
  FCommonHeader = Doc.CommonHeader;
  FComment = Doc.Comment;
  FDataID = Id;
  NotifyChange();
  return true;
}

bool TRLData::ReadFromXMLString(const std::string& Text, const std::string& DataID) {
  return ReadXML(StringLines(Text), DataID);
}

bool TRLData::ReadFromXMLStream(TStream& Stream, const std::string& DataID) {
  return ReadXML(StreamLines(Stream), DataID);
}

bool TRLData::ReadFromOpenXMLFile(TTextFile& F, const std::string& DataID) {
  return ReadXML(FileLines(F), DataID);
}

bool TRLData::LoadFromXMLFile(const std::string& FileName, const std::string& DataID) {
  try {
    TTextFile F(FileName);
    F.Reset();
    const bool Done = ReadFromOpenXMLFile(F, DataID);
    F.Close();
    return Done;
  } catch (const EInOutError&) {
    return false;
  }
}

}  // namespace nuv
