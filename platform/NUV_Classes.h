// Objects, persistence, components, sets and the string list of the platform layer.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/NUV_SysUtils.h"

namespace nuv {

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;
  // The class name without namespace, e.g. "TMeter".
  std::string ClassName() const;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

// A set of enumeration values (ordinals 0..63).
template <typename E>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> Items) {
    for (E e : Items) FBits |= Bit(e);
  }
  constexpr bool contains(E e) const { return (FBits & Bit(e)) != 0; }
  constexpr bool empty() const { return FBits == 0; }
  constexpr TSet& include(E e) { FBits |= Bit(e); return *this; }
  constexpr TSet& exclude(E e) { FBits &= ~Bit(e); return *this; }
  constexpr TSet operator|(TSet o) const { return FromBits(FBits | o.FBits); }
  constexpr TSet operator&(TSet o) const { return FromBits(FBits & o.FBits); }
  constexpr TSet operator-(TSet o) const { return FromBits(FBits & ~o.FBits); }
  constexpr TSet& operator|=(TSet o) { FBits |= o.FBits; return *this; }
  constexpr bool operator==(const TSet&) const = default;
  constexpr uint64_t bits() const { return FBits; }
  static constexpr TSet FromBits(uint64_t b) { TSet s; s.FBits = b; return s; }

 private:
  static constexpr uint64_t Bit(E e) { return uint64_t(1) << static_cast<unsigned>(e); }
  uint64_t FBits = 0;
};

// Assign/AssignTo: Dest.Assign(Source) lets a class copy what it knows; otherwise it asks
// Source.AssignTo(Dest). The default AssignTo raises EConvertError, so the pair never
// recurses.
class TPersistent : public TObject {
 public:
  virtual void Assign(TPersistent* Source);

 protected:
  virtual void AssignTo(TPersistent* Dest);
  friend class TPersistentAccess;
};

enum TComponentStateItem : uint8_t { csLoading, csReading, csWriting, csDestroying, csDesigning };
using TComponentState = TSet<TComponentStateItem>;
enum TOperation : uint8_t { opInsert, opRemove };

// A component is owned by another component (or by nobody). The owner deletes its
// components in its destructor; deleting a component first removes it from its owner.
// Names are unique among the components of one owner (compared ignoring case); an empty
// name is always allowed.
class TComponent : public TPersistent {
 public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;

  TComponent* GetOwner() const { return FOwner; }
  const std::string& GetName() const { return FName; }
  // Raises EComponentError for a name that is not an identifier or already taken.
  virtual void SetName(const std::string& NewName);
  intptr_t GetTag() const { return FTag; }
  void SetTag(intptr_t Value) { FTag = Value; }

  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int Index) const;  // 0-based; raises EListError outside
  TComponent* FindComponent(const std::string& AName) const;
  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);

  TComponentState GetComponentState() const { return FComponentState; }
  // Design mode, as a form designer sets it; passed on to owned components.
  void SetDesigning(bool Value);
  // Loading brackets: BeginLoading sets csLoading (here and in owned components);
  // EndLoading clears it and calls Loaded() on each, owned components first.
  void BeginLoading();
  void EndLoading();

 protected:
  // Called once after the properties have been loaded.
  virtual void Loaded() {}
  // Told about components of the same owner being inserted or removed.
  virtual void Notification(TComponent* AComponent, TOperation Operation);

 private:
  TComponent* FOwner = nullptr;
  std::string FName;
  intptr_t FTag = 0;
  TComponentState FComponentState;
  std::vector<TComponent*> FComponents;
};

// A list of strings, 0-based, with an optional change notification.
class TStringList : public TPersistent {
 public:
  TStringList() = default;
  void Assign(TPersistent* Source) override;

  int Count() const { return static_cast<int>(FItems.size()); }
  const std::string& Get(int Index) const;  // raises EListError outside
  void Set(int Index, const std::string& S);
  const std::string& operator[](int Index) const { return Get(Index); }
  int Add(const std::string& S);
  void Insert(int Index, const std::string& S);
  void Delete(int Index);
  void Clear();
  int IndexOf(const std::string& S) const;  // ignoring case; -1 when absent
  void Sort();                              // byte-wise, ignoring case
  // The lines joined with LF; setting splits at CR, LF or CR LF.
  std::string GetText() const;
  void SetText(const std::string& Text);
  void BeginUpdate();
  void EndUpdate();
  const std::vector<std::string>& Items() const { return FItems; }

  TNotifyEvent OnChange;

 private:
  void Changed();
  std::vector<std::string> FItems;
  int FUpdateCount = 0;
};

}  // namespace nuv
