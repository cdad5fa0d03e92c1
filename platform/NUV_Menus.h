// Menu items and the popup menu of the platform layer.
//
// A control with a PopupMenu opens it when the right mouse button is released over it
// (or over a child that has none). The headless platform shows nothing: Popup records the
// point and fires OnPopup, and a program or test picks an item by calling its Click.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/NUV_Classes.h"
#include "platform/NUV_Graphics.h"
#include "platform/NUV_Types.h"

namespace nuv {

class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent* AOwner);
  // Deletes the sub-items and leaves the parent item.
  ~TMenuItem() override;

  const std::string& GetCaption() const { return FCaption; }
  void SetCaption(const std::string& Value) { FCaption = Value; }
  // A caption of "-" makes the item a separator line.
  bool IsLine() const { return FCaption == "-"; }
  bool GetChecked() const { return FChecked; }
  void SetChecked(bool Value) { FChecked = Value; }
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool Value) { FEnabled = Value; }
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value) { FVisible = Value; }
  const std::string& GetHint() const { return FHint; }
  void SetHint(const std::string& Value) { FHint = Value; }
  // The glyph shown before the caption (empty at first).
  TBitmap* GetBitmap() const { return FBitmap.get(); }

  // Sub-items, 0-based. The item takes the sub-items it is given and deletes them.
  int Count() const { return static_cast<int>(FItems.size()); }
  TMenuItem* Items(int Index) const;  // raises EListError outside
  void Add(TMenuItem* Item);
  void Insert(int Index, TMenuItem* Item);
  void Delete(int Index);       // deletes the sub-item
  void Remove(TMenuItem* Item); // takes it out without deleting it
  void Clear();                 // deletes every sub-item
  int IndexOf(const TMenuItem* Item) const;  // -1 when absent
  // The first sub-item with this caption ignoring case and "&" ("" for none: nullptr).
  TMenuItem* Find(const std::string& ACaption) const;
  TMenuItem* GetParent() const { return FParent; }

  // Fires OnClick when the item is enabled.
  virtual void Click();
  TNotifyEvent OnClick;

 private:
  std::string FCaption, FHint;
  bool FChecked = false, FEnabled = true, FVisible = true;
  std::unique_ptr<TBitmap> FBitmap;
  std::vector<TMenuItem*> FItems;
  TMenuItem* FParent = nullptr;
};

class TPopupMenu : public TComponent {
 public:
  explicit TPopupMenu(TComponent* AOwner);
  ~TPopupMenu() override;

  // The root item whose sub-items are the menu.
  TMenuItem* GetItems() const { return FItems.get(); }
  // Opens the menu at the screen point: fires OnPopup and records the point.
  virtual void Popup(int X, int Y);
  TPoint GetPopupPoint() const { return FPopupPoint; }
  // The control whose right click opened the menu (nullptr when opened by a call).
  TComponent* GetPopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* Value) { FPopupComponent = Value; }
  // When false, a right click does not open the menu.
  bool GetAutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool Value) { FAutoPopup = Value; }

  TNotifyEvent OnPopup;

 private:
  std::unique_ptr<TMenuItem> FItems;
  TPoint FPopupPoint;
  TComponent* FPopupComponent = nullptr;
  bool FAutoPopup = true;
};

}  // namespace nuv
