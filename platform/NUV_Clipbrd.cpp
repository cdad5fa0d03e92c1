#include "platform/NUV_Clipbrd.h"

namespace nuv {

std::string TClipboard::GetAsText() const { return GetData(CF_TEXT); }

void TClipboard::SetAsText(const std::string& Text) { SetData(CF_TEXT, Text); }

bool TClipboard::HasFormat(unsigned Format) const { return FItems.count(Format) != 0; }

void TClipboard::SetData(unsigned Format, std::string Data) {
  FItems.clear();
  FItems[Format] = std::move(Data);
  if (OnChange) OnChange();
}

const std::string& TClipboard::GetData(unsigned Format) const {
  static const std::string empty;
  auto it = FItems.find(Format);
  return it == FItems.end() ? empty : it->second;
}

void TClipboard::Clear() {
  FItems.clear();
  if (OnChange) OnChange();
}

TClipboard& Clipboard() {
  static TClipboard clipboard;
  return clipboard;
}

}  // namespace nuv
