#include "platform/NUV_Classes.h"

#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <typeinfo>

namespace nuv {

std::string TObject::ClassName() const {
  const char* mangled = typeid(*this).name();
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> demangled(
      abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
  std::string name = status == 0 && demangled ? demangled.get() : mangled;
  const size_t colon = name.rfind("::");
  return colon == std::string::npos ? name : name.substr(colon + 2);
}

// ---------------------------------------------------------------- TPersistent

void TPersistent::Assign(TPersistent* Source) {
  if (!Source) throw EConvertError("Cannot assign a nil to a " + ClassName());
  Source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* Dest) {
  throw EConvertError("Cannot assign a " + ClassName() + " to a " +
                      (Dest ? Dest->ClassName() : std::string("nil")));
}

// ---------------------------------------------------------------- TComponent

namespace {

bool IsIdentifier(const std::string& S) {
  if (S.empty()) return false;
  auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  if (!alpha(S[0])) return false;
  return std::all_of(S.begin(), S.end(), [&](char c) { return alpha(c) || (c >= '0' && c <= '9'); });
}

}  // namespace

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  FComponentState.include(csDestroying);
  // Owned components go last-created first; each removes itself from this list.
  while (!FComponents.empty()) delete FComponents.back();
  if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::SetName(const std::string& NewName) {
  if (NewName == FName) return;
  if (!NewName.empty()) {
    if (!IsIdentifier(NewName))
      throw EComponentError("\"" + NewName + "\" is not a valid component name");
    if (FOwner) {
      TComponent* other = FOwner->FindComponent(NewName);
      if (other && other != this)
        throw EComponentError("A component named " + NewName + " already exists");
    }
  }
  FName = NewName;
}

TComponent* TComponent::Components(int Index) const {
  if (Index < 0 || Index >= ComponentCount())
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FComponents[Index];
}

TComponent* TComponent::FindComponent(const std::string& AName) const {
  if (AName.empty()) return nullptr;
  for (TComponent* c : FComponents)
    if (SameText(c->FName, AName)) return c;
  return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent) {
  if (!AComponent || AComponent->FOwner == this) return;
  if (!AComponent->FName.empty() && FindComponent(AComponent->FName))
    throw EComponentError("A component named " + AComponent->FName + " already exists");
  if (AComponent->FOwner) AComponent->FOwner->RemoveComponent(AComponent);
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
  if (FComponentState.contains(csDesigning)) AComponent->SetDesigning(true);
  for (TComponent* c : FComponents) c->Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  auto it = std::find(FComponents.begin(), FComponents.end(), AComponent);
  if (it == FComponents.end()) return;
  FComponents.erase(it);
  AComponent->FOwner = nullptr;
  for (TComponent* c : FComponents) c->Notification(AComponent, opRemove);
}

void TComponent::Notification(TComponent*, TOperation) {}

void TComponent::SetDesigning(bool Value) {
  if (Value) FComponentState.include(csDesigning);
  else FComponentState.exclude(csDesigning);
  for (TComponent* c : FComponents) c->SetDesigning(Value);
}

void TComponent::BeginLoading() {
  FComponentState.include(csLoading);
  for (TComponent* c : FComponents) c->BeginLoading();
}

void TComponent::EndLoading() {
  for (TComponent* c : FComponents) c->EndLoading();
  if (!FComponentState.contains(csLoading)) return;
  FComponentState.exclude(csLoading);
  Loaded();
}

// ---------------------------------------------------------------- TStringList

void TStringList::Assign(TPersistent* Source) {
  if (auto* other = dynamic_cast<TStringList*>(Source)) {
    if (other == this) return;
    FItems = other->FItems;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

const std::string& TStringList::Get(int Index) const {
  if (Index < 0 || Index >= Count())
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FItems[Index];
}

void TStringList::Set(int Index, const std::string& S) {
  Get(Index);
  FItems[Index] = S;
  Changed();
}

int TStringList::Add(const std::string& S) {
  FItems.push_back(S);
  Changed();
  return Count() - 1;
}

void TStringList::Insert(int Index, const std::string& S) {
  if (Index < 0 || Index > Count())
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  FItems.insert(FItems.begin() + Index, S);
  Changed();
}

void TStringList::Delete(int Index) {
  Get(Index);
  FItems.erase(FItems.begin() + Index);
  Changed();
}

void TStringList::Clear() {
  if (FItems.empty()) return;
  FItems.clear();
  Changed();
}

int TStringList::IndexOf(const std::string& S) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(FItems[i], S)) return i;
  return -1;
}

void TStringList::Sort() {
  std::stable_sort(FItems.begin(), FItems.end(),
                   [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
  Changed();
}

std::string TStringList::GetText() const {
  std::string out;
  for (const std::string& s : FItems) {
    out += s;
    out += '\n';
  }
  return out;
}

void TStringList::SetText(const std::string& Text) {
  FItems.clear();
  size_t i = 0;
  while (i < Text.size()) {
    size_t j = i;
    while (j < Text.size() && Text[j] != '\r' && Text[j] != '\n') ++j;
    FItems.push_back(Text.substr(i, j - i));
    if (j < Text.size() && Text[j] == '\r') ++j;
    if (j < Text.size() && Text[j] == '\n') ++j;
    i = j;
  }
  Changed();
}

void TStringList::BeginUpdate() { ++FUpdateCount; }

void TStringList::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) Changed();
}

void TStringList::Changed() {
  if (FUpdateCount == 0 && OnChange) OnChange(this);
}

}  // namespace nuv
