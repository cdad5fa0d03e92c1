// Objects, components, conversions, dates and the clipboard of the platform core.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/NUV_Classes.h"
#include "platform/NUV_Clipbrd.h"
#include "platform/NUV_SysUtils.h"
#include "platform/NUV_Types.h"

namespace nuv {
namespace {

// Counts live instances so ownership is observable.
struct Counted : TComponent {
  static inline int Alive = 0;
  explicit Counted(TComponent* Owner) : TComponent(Owner) { ++Alive; }
  ~Counted() override { --Alive; }
};

TEST(Component, OwnerFreesOwnedComponentsAndDeletedChildLeavesOwner) {
  Counted::Alive = 0;
  auto* owner = new Counted(nullptr);
  auto* a = new Counted(owner);
  new Counted(a);  // grandchild
  auto* b = new Counted(owner);
  EXPECT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(Counted::Alive, 4);
  delete b;
  EXPECT_EQ(owner->ComponentCount(), 1);
  EXPECT_EQ(owner->Components(0), a);
  delete owner;
  EXPECT_EQ(Counted::Alive, 0);
}

TEST(Component, NamesAreUniqueAmongSiblingsIgnoringCaseAndMustBeIdentifiers) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  auto* b = new TComponent(&owner);
  a->SetName("Meter1");
  EXPECT_THROW(b->SetName("METER1"), EComponentError);
  EXPECT_EQ(b->GetName(), "");
  b->SetName("Meter2");
  a->SetName("Meter1");  // unchanged: no error
  EXPECT_EQ(owner.FindComponent("meter2"), b);
  for (const char* bad : {"1abc", "a b", "x-y"}) EXPECT_THROW(a->SetName(bad), EComponentError) << bad;
  try {
    b->SetName("Meter1");
    FAIL();
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message(), "A component named Meter1 already exists");
  }
  // A component of another owner may carry the same name.
  TComponent other(nullptr);
  auto* c = new TComponent(&other);
  c->SetName("Meter1");
  EXPECT_EQ(c->GetName(), "Meter1");
}

struct LoadProbe : TComponent {
  using TComponent::TComponent;
  int LoadedCalls = 0;
  bool WasLoadingInLoaded = true;
  void Loaded() override {
    ++LoadedCalls;
    WasLoadingInLoaded = GetComponentState().contains(csLoading);
  }
};

TEST(Component, LoadingAndDesignStatesReachOwnedComponents) {
  LoadProbe owner(nullptr);
  auto* child = new LoadProbe(&owner);
  owner.BeginLoading();
  EXPECT_TRUE(child->GetComponentState().contains(csLoading));
  owner.EndLoading();
  EXPECT_EQ(child->LoadedCalls, 1);
  EXPECT_EQ(owner.LoadedCalls, 1);
  EXPECT_FALSE(child->WasLoadingInLoaded);
  owner.EndLoading();  // not loading any more: no second Loaded
  EXPECT_EQ(owner.LoadedCalls, 1);
  owner.SetDesigning(true);
  EXPECT_TRUE(child->GetComponentState().contains(csDesigning));
  auto* late = new TComponent(&owner);
  EXPECT_TRUE(late->GetComponentState().contains(csDesigning));
}

struct Plain : TPersistent {};
struct Other : TPersistent {};

TEST(Persistent, AssignWithoutSupportRaisesInsteadOfRecursing) {
  Plain a;
  Other b;
  try {
    a.Assign(&b);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a Other to a Plain");
  }
  EXPECT_THROW(a.Assign(nullptr), EConvertError);
}

TEST(StringList, TextSplitsEveryLineEndAndChangeFiresOncePerUpdate) {
  TStringList l;
  int changes = 0;
  l.OnChange = [&](TObject*) { ++changes; };
  l.SetText("a\r\nb\rc\nd");
  EXPECT_EQ(l.Count(), 4);
  EXPECT_EQ(l[3], "d");
  EXPECT_EQ(l.GetText(), "a\nb\nc\nd\n");
  EXPECT_EQ(changes, 1);
  l.BeginUpdate();
  l.Add("x");
  l.Delete(0);
  l.EndUpdate();
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(l.IndexOf("X"), 3);
  EXPECT_THROW(l.Get(10), EListError);
}

TEST(Rounding, HalvesToEvenAndSaturatesInsteadOfUndefinedCasts) {
  struct Case {
    double x;
    int64_t round, trunc;
  } cases[] = {
      {0.5, 0, 0},   {1.5, 2, 1},   {2.5, 2, 2},   {-0.5, 0, 0},
      {-1.5, -2, -1}, {-2.7, -3, -2}, {1e300, INT64_MAX, INT64_MAX},
      {-1e300, INT64_MIN, INT64_MIN}, {std::nan(""), 0, 0},
      {std::numeric_limits<double>::infinity(), INT64_MAX, INT64_MAX},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Round(c.x), c.round) << c.x;
    EXPECT_EQ(Trunc(c.x), c.trunc) << c.x;
  }
  EXPECT_EQ(RoundInt(3e9), INT32_MAX);
  EXPECT_EQ(TruncInt(-3e9), INT32_MIN);
}

TEST(Conversion, FloatToStrGeneralFormWith15Digits) {
  struct Case {
    double x;
    const char* text;
  } cases[] = {
      {0, "0"},
      {1.5, "1.5"},
      {-2, "-2"},
      {0.1, "0.1"},
      {1.0 / 3, "0.333333333333333"},
      {123456789012345.0, "123456789012345"},
      {1234567890123456.0, "1.23456789012346E15"},
      {1e20, "1E20"},
      {0.0001, "0.0001"},
      {0.00001, "0.00001"},
      {0.000001, "1E-6"},
      {1.5e-7, "1.5E-7"},
      {std::nan(""), "NAN"},
      {std::numeric_limits<double>::infinity(), "INF"},
      {-std::numeric_limits<double>::infinity(), "-INF"},
  };
  for (const Case& c : cases) EXPECT_EQ(FloatToStr(c.x), c.text) << c.x;
  DecimalSeparator = ',';
  EXPECT_EQ(FloatToStr(-1.25), "-1,25");
  EXPECT_EQ(StrToFloat("2,5"), 2.5);
  EXPECT_THROW(StrToFloat("2.5"), EConvertError);
  DecimalSeparator = '.';
}

TEST(Conversion, StrToIntAndStrToFloatRefuseWhatIsNotANumber) {
  EXPECT_EQ(StrToInt(" -42 "), -42);
  EXPECT_EQ(StrToInt("$FF"), 255);
  EXPECT_EQ(StrToInt("-9223372036854775808"), INT64_MIN);
  for (const char* bad : {"", "12a", "9223372036854775808", "--1", "$"})
    EXPECT_THROW(StrToInt(bad), EConvertError) << bad;
  EXPECT_EQ(StrToIntDef("x", 7), 7);
  for (const char* bad : {"nan", "inf", "1e999", "", "1.2.3", "0x10"}) {
    double v;
    EXPECT_FALSE(TryStrToFloat(bad, v)) << bad;
  }
  EXPECT_EQ(StrToFloat("-1.5e3"), -1500);
}

TEST(Conversion, CaseIsChangedByteWise) {
  EXPECT_EQ(LowerCase("AbC\xC4\xDC"), "abc\xC4\xDC");
  EXPECT_EQ(UpperCase("ab\xE4z"), "AB\xE4Z");
  EXPECT_EQ(CompareText("abc", "ABD"), -1);
  EXPECT_TRUE(SameText("Meter", "METER"));
}

TEST(Conversion, Windows1252AndUtf8RoundTrip) {
  const std::string ansi = "\xB0" "C \x80 \xE4\xF6\xFC \x96";  // degree, euro, umlauts, en dash
  const std::string utf8 = AnsiToUtf8(ansi);
  EXPECT_EQ(utf8, "\xC2\xB0" "C \xE2\x82\xAC \xC3\xA4\xC3\xB6\xC3\xBC \xE2\x80\x93");
  EXPECT_EQ(Utf8ToAnsi(utf8), ansi);
  EXPECT_EQ(Utf8ToAnsi("\xE4\xB8\xAD"), "?");           // not in the code page
  EXPECT_EQ(Utf8ToAnsi("a\xC3"), "a?");                 // truncated sequence
  EXPECT_EQ(Utf8ToAnsi("\xC0\xAF"), "??");              // overlong form
  EXPECT_EQ(AnsiCharToUnicode(0x81), U'\xFFFD');
}

TEST(Dates, EncodeDecodeAndFormat) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(2000, 1, 1), 36526);
  EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
  EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
  int y, m, d;
  DecodeDate(EncodeDate(2024, 2, 29), y, m, d);
  EXPECT_EQ(y * 10000 + m * 100 + d, 20240229);
  DecodeDate(-1, y, m, d);
  EXPECT_EQ(y * 10000 + m * 100 + d, 18991229);
  const TDateTime dt = EncodeDate(2026, 12, 11) + EncodeTime(14, 5, 9, 7);
  EXPECT_EQ(DayOfWeek(dt), 6);  // a Friday
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", dt), "2026-12-11 14:05:09.007");
  EXPECT_EQ(FormatDateTime("d/m/yy h:mm", dt), "11-12-26 14:05");
  EXPECT_EQ(FormatDateTime("dddd d mmmm \"at\" h am/pm", dt), "Friday 11 December at 2 pm");
  EXPECT_EQ(FormatDateTime("ddd mmm", dt), "Fri Dec");
  EXPECT_EQ(FormatDateTime("c", dt), "2026-12-11 14:05:09");
  // A time that rounds up to midnight belongs to the next day.
  int h, n, s, ms;
  DecodeTime(EncodeDate(2020, 1, 1) + 0.99999999999, h, n, s, ms);
  DecodeDate(EncodeDate(2020, 1, 1) + 0.99999999999, y, m, d);
  EXPECT_EQ(d * 100 + h, 200);
}

TEST(Clock, TheReplaceableClockDrivesNowAndTicks) {
  TDateTime t = EncodeDate(2020, 5, 1);
  SetClock([&] { return t; });
  EXPECT_EQ(Now(), t);
  const int64_t t0 = GetTickCount64();
  t += 1.5 / 86400.0;
  EXPECT_EQ(GetTickCount64() - t0, 1500);
  EXPECT_EQ(Date(), EncodeDate(2020, 5, 1));
  SetClock(nullptr);
  EXPECT_GT(Now(), EncodeDate(2020, 1, 1));
}

TEST(Random, TheSameSeedGivesTheSameSequenceWithinRange) {
  RandSeed = 42;
  int first[5];
  for (int& v : first) v = Random(100);
  RandSeed = 42;
  for (int v : first) EXPECT_EQ(Random(100), v);
  for (int i = 0; i < 1000; ++i) {
    const int v = Random(7);
    ASSERT_GE(v, 0);
    ASSERT_LT(v, 7);
    const double x = Random();
    ASSERT_GE(x, 0.0);
    ASSERT_LT(x, 1.0);
  }
  EXPECT_EQ(Random(0), 0);
}

TEST(Colors, SystemColoursResolveThroughTheFixedTable) {
  EXPECT_EQ(ColorToRGB(clBtnFace), 0xC0C0C0u);
  EXPECT_EQ(ColorToRGB(clBtnShadow), 0x808080u);
  EXPECT_EQ(ColorToRGB(clBtnHighlight), 0xFFFFFFu);
  EXPECT_EQ(ColorToRGB(clHighlight), 0x800000u);
  EXPECT_EQ(ColorToRGB(clGradientActiveCaption), 0xF0CAA6u);
  EXPECT_EQ(ColorToRGB(0xFF0000FF), 0u);  // no such system colour
  EXPECT_EQ(ColorToRGB(0x12345678), 0x345678u);
  EXPECT_EQ(ColorToString(clRed), "clRed");
  EXPECT_EQ(ColorToString(clBtnFace), "clBtnFace");
  EXPECT_EQ(ColorToString(0x123456), "$00123456");
  EXPECT_EQ(StringToColor("clbtnface"), clBtnFace);
  EXPECT_EQ(StringToColor("$00FF8000"), 0xFF8000u);
  EXPECT_THROW(StringToColor("reddish"), EConvertError);
}

TEST(Rects, IntersectionAndContainmentUseExclusiveEdges) {
  const TRect r = Rect(0, 0, 10, 5);
  EXPECT_TRUE(PtInRect(r, Point(9, 4)));
  EXPECT_FALSE(PtInRect(r, Point(10, 4)));
  TRect out;
  EXPECT_TRUE(IntersectRect(out, r, Rect(5, 2, 20, 20)));
  EXPECT_EQ(out, Rect(5, 2, 10, 5));
  EXPECT_FALSE(IntersectRect(out, r, Rect(10, 0, 20, 5)));
  EXPECT_TRUE(IsRectEmpty(out));
}

TEST(Paths, BothSeparatorsAreAccepted) {
  EXPECT_EQ(ExtractFileName("C:\\maps\\alps.bmp"), "alps.bmp");
  EXPECT_EQ(ExtractFilePath("data/maps\\alps.bmp"), "data/maps\\");
  EXPECT_EQ(ExtractFileDir("/a/b.txt"), "/a");
  EXPECT_EQ(ExtractFileExt("dir.v2/file"), "");
  EXPECT_EQ(ExtractFileExt("a/b.tar.gz"), ".gz");
  EXPECT_EQ(ChangeFileExt("a\\b.bmp", ".xml"), "a\\b.xml");
  EXPECT_EQ(IncludeTrailingPathDelimiter("x"), "x/");
  EXPECT_EQ(IncludeTrailingPathDelimiter("x\\"), "x\\");
}

TEST(Clipboard, OneItemPerFormatAndSettingClearsTheOthers) {
  Clipboard().SetData(CF_BITMAP, "BM..");
  EXPECT_TRUE(Clipboard().HasFormat(CF_BITMAP));
  Clipboard().SetAsText("a\tb");
  EXPECT_TRUE(Clipboard().HasFormat(CF_TEXT));
  EXPECT_FALSE(Clipboard().HasFormat(CF_BITMAP));
  EXPECT_EQ(Clipboard().GetAsText(), "a\tb");
  Clipboard().Clear();
  EXPECT_EQ(Clipboard().GetAsText(), "");
}

}  // namespace
}  // namespace nuv
