// TBitFld: a resizable field of bits.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/NUV_Classes.h"

namespace nuv {

// Bits 0..n after SetSize(n) (n + 1 bits); a new field has none. Bits outside read false
// and writes to them are ignored.
class TBitFld : public TComponent {
 public:
  explicit TBitFld(TComponent* AOwner = nullptr);

  // Makes bits 0..N usable (none for N < 0); bits that stay keep their values, new bits
  // are false. N = INT_MAX counts as INT_MAX - 1. Raises ENUVError when the memory
  // cannot be had.
  void SetSize(int N);
  // The highest usable bit index, -1 when there is none.
  int GetSize() const { return FCount - 1; }
  // All bits false; the size stays.
  void Clear();
  bool GetBit(int Index) const;
  void SetBit(int Index, bool Value);
  // The lowest set bit, -1 when none is set.
  int FirstTrueBit() const;
  int CountTrueBits() const;

 private:
  std::vector<uint64_t> FWords;
  int FCount = 0;
};

}  // namespace nuv
