// TGeoDB: opening and closing, the header, the five indexes and the searches.
#include "geo/NUV_GeoDB.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <filesystem>
#include <type_traits>

#include "geo/NUV_GeoDB_Files.h"

namespace nuv {

using namespace gdbfile;

namespace {

bool PathExists(const std::string& Name) {
  std::error_code ec;
  return std::filesystem::exists(std::filesystem::symlink_status(NativePath(Name), ec));
}

std::vector<uint8_t> ReadAll(TFileStream& F, int64_t Count) {
  std::vector<uint8_t> bytes(static_cast<size_t>(Count));
  F.SetPosition(0);
  F.ReadBuffer(bytes.data(), Count);
  return bytes;
}

// Keys compare as numbers; a bound that is not a number sorts below every number, so that
// one such bound cannot leave the rest of an index out of order.
template <typename KeyT>
bool KeyLess(KeyT A, KeyT B) {
  if constexpr (std::is_floating_point_v<KeyT>)
    return std::isnan(A) ? !std::isnan(B) : A < B;
  else
    return A < B;
}

// The bisection shared by the insertion rule and the closest-entry searches, over the
// first L entries: the position of an entry equal to Key that the bisection meets, else of
// the first greater entry (L when every entry is smaller).
template <typename Entry, typename KeyT, typename KeyOf>
size_t Bisect(const std::vector<Entry>& Ix, size_t L, KeyT Key, KeyOf KeyOfEntry) {
  if (L == 0) return 0;
  int64_t lo = 0, hi = static_cast<int64_t>(L) - 1, mid = 0;
  bool found = false;
  while (hi >= lo && !found) {
    mid = (lo + hi) / 2;
    const KeyT k = KeyOfEntry(Ix[static_cast<size_t>(mid)]);
    if (KeyLess(k, Key))
      lo = mid + 1;
    else if (!KeyLess(Key, k))
      found = true;
    else
      hi = mid - 1;
  }
  if (KeyLess<KeyT>(KeyOfEntry(Ix[static_cast<size_t>(mid)]), Key)) ++mid;
  return static_cast<size_t>(mid);
}

double LLKey(const TIxLLRec& E) { return E.Value; }
int32_t IDKey(const TIxItemIDRec& E) { return E.ItemID; }

template <typename Entry, typename KeyT, typename KeyOf>
void SortInto(std::vector<Entry>& Ix, const Entry& E, KeyT Key, KeyOf KeyOfEntry) {
  if (Ix.empty()) return;
  const size_t L = Ix.size() - 1;
  const size_t pos = Bisect(Ix, L, Key, KeyOfEntry);
  std::move_backward(Ix.begin() + static_cast<ptrdiff_t>(pos),
                     Ix.begin() + static_cast<ptrdiff_t>(L), Ix.end());
  Ix[pos] = E;
}

}  // namespace

TGeoDB::TGeoDB(TComponent* AOwner) : TComponent(AOwner) {}

TGeoDB::~TGeoDB() {
  try {
    if (FLazyWrite) SaveIndexes();
  } catch (const Exception&) {
    // A destructor cannot report; the indexes are rebuilt when the database is next opened.
  }
}

std::string TGeoDB::FileName(int Which) const { return FDBName + Extensions[Which]; }

void TGeoDB::Fail(const std::string& Text) const {
  throw ENUVGeoDBError("Component \"" + GetName() + "\"" + Text);
}

void TGeoDB::Progress(int Percent) {
  if (OnPercentDone) OnPercentDone(this, Percent);
}

void TGeoDB::ResetHeader() {
  FLastItemID = 0;
  FFormatCode = FormatCode;
  FDescription.clear();
  FRevision = 0;
}

void TGeoDB::Close() {
  if (FLazyWrite) SaveIndexes();
  Forget();
}

void TGeoDB::Forget() {
  FLazyWrite = false;
  ResetHeader();
  FDBName.clear();
  FItems.clear();
  FIxItemID.clear();
  for (auto& ix : FIxLL) ix.clear();
}

void TGeoDB::SetDBName(const std::string& Value) {
  if (Value.empty()) {
    Close();
    return;
  }
  if (IsOpen() && FLazyWrite) SaveIndexes();
  const bool lazy = FLazyWrite;
  Forget();
  FLazyWrite = lazy;
  const std::string base = StripExtension(Value);
  try {
    if (base.empty()) Fail(": cannot open \"" + Value + "\".");
    Load(base);
  } catch (...) {
    Forget();
    throw;
  }
}

// A compaction writes "<data>~" and "<items>~" completely, then renames the data file and
// then the item file. Only "<items>~" left alone means it stopped between the renames.
void TGeoDB::FinishCompaction(const std::string& Base) {
  const std::string items = Base + Extensions[ItemFile], data = Base + Extensions[DataFile];
  std::error_code ec;
  if (PathExists(items + "~") && !PathExists(data + "~"))
    std::filesystem::rename(NativePath(items + "~"), NativePath(items), ec);
  std::filesystem::remove(NativePath(items + "~"), ec);
  std::filesystem::remove(NativePath(data + "~"), ec);
}

void TGeoDB::Load(const std::string& Base) {
  FinishCompaction(Base);
  std::array<std::string, 7> names;
  std::array<bool, 7> exists{};
  for (int i = 0; i < 7; ++i) {
    names[i] = Base + Extensions[i];
    exists[i] = PathExists(names[i]);
  }

  // Everything that exists is read before anything is created, so a file that cannot be
  // read leaves all seven as they were.
  std::vector<TgdbData> items;
  THeader header;
  std::array<std::vector<uint8_t>, 5> ixBytes;
  std::array<bool, 5> ixLoaded{};
  std::string current;
  try {
    if (exists[ItemFile]) {
      current = names[ItemFile];
      TFileStream f(current, fmOpenRead);
      const int64_t n = f.GetSize() / RecordSize;  // a torn last record is ignored
      const auto bytes = ReadAll(f, n * RecordSize);
      items.reserve(static_cast<size_t>(n));
      for (int64_t i = 0; i < n; ++i) items.push_back(DecodeRecord(&bytes[i * RecordSize]));
    }
    if (exists[DataFile]) {
      current = names[DataFile];
      TFileStream f(current, fmOpenRead);
      const auto bytes = ReadAll(f, std::min<int64_t>(f.GetSize(), HeaderSize));
      header = DecodeHeader(bytes.data(), bytes.size());
    }
    for (int w = 0; w < 5; ++w) {
      if (!exists[w]) continue;
      current = names[w];
      TFileStream f(current, fmOpenRead);
      const int64_t size = f.GetSize();
      // An index of another length is rebuilt, so it is not worth reading.
      if (size / IndexEntrySize == static_cast<int64_t>(items.size())) {
        ixBytes[w] = ReadAll(f, static_cast<int64_t>(items.size()) * IndexEntrySize);
        ixLoaded[w] = true;
      }
    }
  } catch (const Exception&) {
    Fail(": cannot open \"" + current + "\".");
  }

  // A data file made anew must not hand out identifiers that records already carry.
  for (const auto& d : items) header.LastItemID = std::max(header.LastItemID, d.ItemID);

  try {
    for (int w = 0; w < 6; ++w) {
      current = names[w];
      if (!exists[w]) TFileStream f(current, fmCreate);
    }
    current = names[DataFile];
    if (!exists[DataFile]) {
      uint8_t bytes[HeaderSize];
      EncodeHeader(header, bytes);
      TFileStream f(current, fmCreate);
      f.WriteBuffer(bytes, HeaderSize);
    }
  } catch (const Exception&) {
    Fail(": cannot create \"" + current + "\".");
  }

  FDBName = Base;
  FItems = std::move(items);
  FLastItemID = header.LastItemID;
  FFormatCode = header.FormatCode;
  FDescription = header.Description;
  FRevision = header.Revision;
  const size_t n = FItems.size();
  FIxItemID.resize(ixLoaded[0] ? n : 0);
  for (size_t i = 0; i < FIxItemID.size(); ++i)
    FIxItemID[i] = DecodeIxItemID(&ixBytes[0][i * IndexEntrySize]);
  for (int w = 0; w < 4; ++w) {
    FIxLL[w].resize(ixLoaded[w + 1] ? n : 0);
    for (size_t i = 0; i < FIxLL[w].size(); ++i)
      FIxLL[w][i] = DecodeIxLL(&ixBytes[w + 1][i * IndexEntrySize]);
  }
  if (!IndexesMatchItems()) {
    RebuildIndexes();
    try {
      SaveIndexes();
    } catch (const Exception&) {
      // A read-only medium: the rebuilt indexes serve from memory, the files stay as they are.
    }
  }
}

// Every index must hold each record exactly once, with the record's own key, in ascending
// order of its key.
bool TGeoDB::IndexesMatchItems() const {
  const size_t n = FItems.size();
  std::vector<bool> seen;
  auto fresh = [&](int32_t RecIdx) {
    if (RecIdx < 0 || static_cast<size_t>(RecIdx) >= n || seen[RecIdx]) return false;
    seen[RecIdx] = true;
    return true;
  };
  if (FIxItemID.size() != n) return false;
  seen.assign(n, false);
  for (size_t i = 0; i < n; ++i) {
    const auto& e = FIxItemID[i];
    if (!fresh(e.RecIdx) || e.ItemID != FItems[e.RecIdx].ItemID) return false;
    if (i > 0 && e.ItemID < FIxItemID[i - 1].ItemID) return false;
  }
  for (int w = 0; w < 4; ++w) {
    const auto& ix = FIxLL[w];
    if (ix.size() != n) return false;
    seen.assign(n, false);
    for (size_t i = 0; i < n; ++i) {
      if (!fresh(ix[i].RecIdx)) return false;
      if (std::bit_cast<uint32_t>(ix[i].Value) !=
          std::bit_cast<uint32_t>(BoundOf(FItems[ix[i].RecIdx], w)))
        return false;
      if (i > 0 && KeyLess(ix[i].Value, ix[i - 1].Value)) return false;
    }
  }
  return true;
}

void TGeoDB::SetLazyWrite(bool Value) {
  if (Value == FLazyWrite) return;
  FLazyWrite = Value;
  if (!Value) SaveIndexes();
}

void TGeoDB::WriteHeader(const char* Operation) {
  THeader h{FLastItemID, FFormatCode, FDescription, FRevision};
  uint8_t bytes[HeaderSize];
  EncodeHeader(h, bytes);
  try {
    TFileStream f(FileName(DataFile), fmOpenReadWrite);
    f.WriteBuffer(bytes, HeaderSize);
  } catch (const Exception&) {
    Fail(std::string(": ") + Operation + ": cannot open database.");
  }
}

void TGeoDB::SetDescription(const std::string& Value) {
  if (!IsOpen()) return;
  FDescription = Value.substr(0, DescriptionCapacity);
  WriteHeader("SetDescription");
}

void TGeoDB::SetRevision(int Value) {
  if (!IsOpen()) return;
  FRevision = Value;
  WriteHeader("SetRevision");
}

// ------------------------------------------------------------ access by position

namespace {
size_t Clamped(int n, size_t Count) {
  return static_cast<size_t>(std::clamp<int64_t>(n, 1, static_cast<int64_t>(Count)) - 1);
}
template <typename Entry>
Entry OneBased(const std::vector<Entry>& Ix, int n) {
  if (Ix.empty()) return {};
  Entry e = Ix[Clamped(n, Ix.size())];
  ++e.RecIdx;
  return e;
}
}  // namespace

TgdbData TGeoDB::GetSumdata(int n) const {
  return FItems.empty() ? TgdbData{} : FItems[Clamped(n, FItems.size())];
}
TIxItemIDRec TGeoDB::GetIxItemID(int n) const { return OneBased(FIxItemID, n); }
TIxLLRec TGeoDB::GetIxLatLow(int n) const { return OneBased(FIxLL[0], n); }
TIxLLRec TGeoDB::GetIxLatHigh(int n) const { return OneBased(FIxLL[1], n); }
TIxLLRec TGeoDB::GetIxLongLow(int n) const { return OneBased(FIxLL[2], n); }
TIxLLRec TGeoDB::GetIxLongHigh(int n) const { return OneBased(FIxLL[3], n); }

// ------------------------------------------------------------ indexes

void TGeoDB::SortIxInto(TIxLLRecArray& Ix, const TIxLLRec& Entry) {
  SortInto(Ix, Entry, Entry.Value, [](const TIxLLRec& E) { return E.Value; });
}

void TGeoDB::SortIxItemIDInto(TIxItemIDRecArray& Ix, const TIxItemIDRec& Entry) {
  SortInto(Ix, Entry, Entry.ItemID, IDKey);
}

void TGeoDB::InsertIntoIndex(int RecNo, const TgdbData& Data) {
  SortIxItemIDInto(FIxItemID, {Data.ItemID, RecNo - 1});
  for (int w = 0; w < 4; ++w) SortIxInto(FIxLL[w], {BoundOf(Data, w), RecNo - 1});
}

void TGeoDB::RemoveIndexEntries(int RecNo) {
  const size_t n = FItems.size();
  auto remove = [&](auto& Ix) {
    const size_t live = std::min(n, Ix.size());
    for (size_t i = 0; i < live; ++i) {
      if (Ix[i].RecIdx + 1 == RecNo) {
        std::move(Ix.begin() + static_cast<ptrdiff_t>(i + 1),
                  Ix.begin() + static_cast<ptrdiff_t>(live), Ix.begin() + static_cast<ptrdiff_t>(i));
        return;
      }
    }
  };
  remove(FIxItemID);
  for (auto& ix : FIxLL) remove(ix);
}

void TGeoDB::RecalcIndexes() {
  RebuildIndexes();
  if (IsOpen() && !FLazyWrite) SaveIndexes();
}

void TGeoDB::RebuildIndexes() {
  FIxItemID.clear();
  FIxItemID.reserve(FItems.size());
  for (auto& ix : FIxLL) {
    ix.clear();
    ix.reserve(FItems.size());
  }
  for (size_t r = 0; r < FItems.size(); ++r) {
    FIxItemID.emplace_back();
    for (auto& ix : FIxLL) ix.emplace_back();
    InsertIntoIndex(static_cast<int>(r + 1), FItems[r]);
  }
}

void TGeoDB::SaveIndex(int Which) {
  if (!IsOpen() || Which < 0 || Which > 4) return;
  const size_t n = Which == 0 ? FIxItemID.size() : FIxLL[Which - 1].size();
  std::vector<uint8_t> bytes(n * IndexEntrySize);
  for (size_t i = 0; i < n; ++i) {
    if (Which == 0)
      EncodeIxItemID(FIxItemID[i], &bytes[i * IndexEntrySize]);
    else
      EncodeIxLL(FIxLL[Which - 1][i], &bytes[i * IndexEntrySize]);
  }
  TFileStream f(FileName(Which), fmCreate);
  f.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TGeoDB::SaveIndexes() {
  for (int w = 0; w < 5; ++w) SaveIndex(w);
}

// ------------------------------------------------------------ searching

int TGeoDB::GetClosestLatLowIx(double Value) const {
  return static_cast<int>(Bisect(FIxLL[0], FIxLL[0].size(), Value, LLKey)) + 1;
}
int TGeoDB::GetClosestLatHighIx(double Value) const {
  return static_cast<int>(Bisect(FIxLL[1], FIxLL[1].size(), Value, LLKey)) + 1;
}
int TGeoDB::GetClosestLongLowIx(double Value) const {
  return static_cast<int>(Bisect(FIxLL[2], FIxLL[2].size(), Value, LLKey)) + 1;
}
int TGeoDB::GetClosestLongHighIx(double Value) const {
  return static_cast<int>(Bisect(FIxLL[3], FIxLL[3].size(), Value, LLKey)) + 1;
}
int TGeoDB::GetClosestItemIDIx(int ItemID) const {
  return static_cast<int>(Bisect(FIxItemID, FIxItemID.size(), ItemID, IDKey)) + 1;
}

int TGeoDB::SearchForItemID(int ItemID) const {
  const size_t pos = Bisect(FIxItemID, FIxItemID.size(), ItemID, IDKey);
  if (pos < FIxItemID.size() && FIxItemID[pos].ItemID == ItemID) return FIxItemID[pos].RecIdx + 1;
  return 0;
}

std::vector<int> TGeoDB::FindItemsAt(double Lat, double Long) const {
  TRectDouble area;
  area.Left = area.Right = Long;
  area.Top = area.Bottom = Lat;
  return FindItemsInArea(area);
}

// Each bound index narrows the candidates to one contiguous run (for instance every item
// whose LatLow lies at or below the area's northern edge); the shortest run is checked.
std::vector<int> TGeoDB::FindItemsInArea(const TRectDouble& Area) const {
  const double south = std::min(Area.Top, Area.Bottom), north = std::max(Area.Top, Area.Bottom);
  const double west = std::min(Area.Left, Area.Right), east = std::max(Area.Left, Area.Right);
  auto upTo = [](const TIxLLRecArray& Ix, double V) {  // entries with Value <= V
    return std::upper_bound(Ix.begin(), Ix.end(), V, [](double v, const TIxLLRec& e) {
      return KeyLess<double>(v, e.Value);
    });
  };
  auto from = [](const TIxLLRecArray& Ix, double V) {  // entries with Value >= V
    return std::lower_bound(Ix.begin(), Ix.end(), V, [](const TIxLLRec& e, double v) {
      return KeyLess<double>(e.Value, v);
    });
  };
  using It = TIxLLRecArray::const_iterator;
  const std::pair<It, It> runs[4] = {{FIxLL[0].begin(), upTo(FIxLL[0], north)},
                                     {from(FIxLL[1], south), FIxLL[1].end()},
                                     {FIxLL[2].begin(), upTo(FIxLL[2], east)},
                                     {from(FIxLL[3], west), FIxLL[3].end()}};
  const auto shortest = std::min_element(
      std::begin(runs), std::end(runs),
      [](const auto& a, const auto& b) { return a.second - a.first < b.second - b.first; });
  std::vector<int> found;
  for (It it = shortest->first; it != shortest->second; ++it) {
    const TgdbData& d = FItems[it->RecIdx];
    if (d.LatLow <= north && d.LatHigh >= south && d.LongLow <= east && d.LongHigh >= west)
      found.push_back(it->RecIdx + 1);
  }
  std::sort(found.begin(), found.end());
  return found;
}

int TGeoDB::SearchData(const std::string& Name, TgdbItem ItemType, int StartIndex,
                       uint8_t ItemClass) const {
  for (size_t i = static_cast<size_t>(std::max(StartIndex, 1)) - 1; i < FItems.size(); ++i) {
    const TgdbData& d = FItems[i];
    if (d.ItemType == ItemType && d.ItemClass == ItemClass && SameText(d.Name.Str(), Name))
      return static_cast<int>(i + 1);
  }
  return 0;
}

int TGeoDB::SearchData(const std::string& Name) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (SameText(FItems[i].Name.Str(), Name)) return static_cast<int>(i + 1);
  return 0;
}

// ------------------------------------------------------------ system information

bool ReadSystemInformation(const std::string& FileName, TgdbSystemInfo& Info) {
  const std::string base = StripExtension(FileName);
  try {
    TFileStream f(base + Extensions[DataFile], fmOpenRead);
    const auto bytes = ReadAll(f, std::min<int64_t>(f.GetSize(), HeaderSize));
    const THeader h = DecodeHeader(bytes.data(), bytes.size());
    Info.LastItemID = h.LastItemID;
    Info.FormatCode = h.FormatCode;
    Info.Description = h.Description;
    Info.Revision = h.Revision;
    const int64_t items = FileSize(NativePath(base + Extensions[ItemFile]));
    Info.NumEntries = static_cast<int>(std::clamp<int64_t>(items / RecordSize, 0, INT32_MAX));
    return true;
  } catch (const Exception&) {
    return false;
  }
}

}  // namespace nuv
