// The process clipboard. It holds one item per format; setting any format clears the
// others, as an OS clipboard does. Text is Windows-1252. Other units store their formats
// as bytes (the graphics unit stores bitmaps as BMP data under CF_BITMAP).
#pragma once

#include <functional>
#include <map>
#include <string>

namespace nuv {

enum TClipboardFormat : unsigned { CF_TEXT = 1, CF_BITMAP = 2 };

class TClipboard {
 public:
  std::string GetAsText() const;
  void SetAsText(const std::string& Text);
  bool HasFormat(unsigned Format) const;
  void SetData(unsigned Format, std::string Data);
  const std::string& GetData(unsigned Format) const;  // "" when absent
  void Clear();
  // Called after every change (a window backend syncs the OS clipboard with it).
  std::function<void()> OnChange;

 private:
  std::map<unsigned, std::string> FItems;
};

TClipboard& Clipboard();

}  // namespace nuv
