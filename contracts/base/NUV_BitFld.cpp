#include "contracts/base/NUV_BitFld.h"

#include <bit>
#include <climits>
#include <new>

#include "contracts/base/NUV_BaseTypes.h"

namespace nuv {

TBitFld::TBitFld(TComponent* AOwner) : TComponent(AOwner) {}

void TBitFld::SetSize(int N) {
  const int count = N < 0 ? 0 : (N >= INT_MAX ? INT_MAX : N + 1);
  try {
    FWords.resize((static_cast<size_t>(count) + 63) / 64, 0);
  } catch (const std::bad_alloc&) {
    throw ENUVError("TBitFld: not enough memory for " + IntToStr(count) + " bits");
  }
  // Bits beyond the new count are cleared, so that growing again gives false bits.
  if (count % 64 != 0) FWords.back() &= (uint64_t(1) << (count % 64)) - 1;
  FCount = count;
}

void TBitFld::Clear() {
  for (uint64_t& w : FWords) w = 0;
}

bool TBitFld::GetBit(int Index) const {
  if (Index < 0 || Index >= FCount) return false;
  return (FWords[static_cast<size_t>(Index) / 64] >> (Index % 64)) & 1;
}

void TBitFld::SetBit(int Index, bool Value) {
  if (Index < 0 || Index >= FCount) return;
  const uint64_t mask = uint64_t(1) << (Index % 64);
  uint64_t& w = FWords[static_cast<size_t>(Index) / 64];
  w = Value ? (w | mask) : (w & ~mask);
}

int TBitFld::FirstTrueBit() const {
  for (size_t i = 0; i < FWords.size(); ++i)
    if (FWords[i] != 0) return static_cast<int>(i * 64) + std::countr_zero(FWords[i]);
  return -1;
}

int TBitFld::CountTrueBits() const {
  int n = 0;
  for (uint64_t w : FWords) n += std::popcount(w);
  return n;
}

}  // namespace nuv
