#include "platform/NUV_Menus.h"

#include <algorithm>

namespace nuv {

namespace {

std::string WithoutAccelerators(const std::string& S) {
  std::string R;
  for (char c : S)
    if (c != '&') R += c;
  return R;
}

}  // namespace

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), FBitmap(std::make_unique<TBitmap>()) {}

TMenuItem::~TMenuItem() {
  Clear();
  if (FParent) FParent->Remove(this);
}

TMenuItem* TMenuItem::Items(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError("Menu index out of bounds (" + IntToStr(Index) + ")");
  return FItems[static_cast<size_t>(Index)];
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(int Index, TMenuItem* Item) {
  if (!Item || Item == this) throw EInvalidOperation("A menu item cannot be inserted here");
  if (Item->FParent) throw EInvalidOperation("Menu item \"" + Item->FCaption + "\" is already in a menu");
  if (Index < 0 || Index > Count()) throw EListError("Menu index out of bounds (" + IntToStr(Index) + ")");
  FItems.insert(FItems.begin() + Index, Item);
  Item->FParent = this;
}

void TMenuItem::Delete(int Index) { delete Items(Index); }

void TMenuItem::Remove(TMenuItem* Item) {
  auto It = std::find(FItems.begin(), FItems.end(), Item);
  if (It == FItems.end()) return;
  FItems.erase(It);
  Item->FParent = nullptr;
}

void TMenuItem::Clear() {
  while (!FItems.empty()) delete FItems.back();
}

int TMenuItem::IndexOf(const TMenuItem* Item) const {
  auto It = std::find(FItems.begin(), FItems.end(), Item);
  return It == FItems.end() ? -1 : static_cast<int>(It - FItems.begin());
}

TMenuItem* TMenuItem::Find(const std::string& ACaption) const {
  const std::string Wanted = WithoutAccelerators(ACaption);
  for (TMenuItem* I : FItems)
    if (SameText(WithoutAccelerators(I->FCaption), Wanted)) return I;
  return nullptr;
}

void TMenuItem::Click() {
  if (FEnabled && OnClick) OnClick(this);
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TComponent(AOwner), FItems(std::make_unique<TMenuItem>(nullptr)) {}

TPopupMenu::~TPopupMenu() = default;

void TPopupMenu::Popup(int X, int Y) {
  FPopupPoint = Point(X, Y);
  if (OnPopup) OnPopup(this);
}

}  // namespace nuv
