#pragma once
// Published properties: each class lists its own in a table of TPropInfo, one line per
// property, built from its getter and setter (a member function or a field):
//
//   const TPropInfo TButton::kProps[] = {
//       StrProp<&TButton::Caption, &TButton::SetCaption>("Caption"),
//       EnumProp<&TButton::FLayout, &TButton::FLayout>("Layout", kButtonLayoutInfo, TButtonLayout::blGlyphLeft),
//       EventProp<&TButton::FOnClick>("OnClick"),
//   };
//
// Lookups by name ignore letter case and walk the class tree from the class itself up.
// A property an object lacks is never an error: readers answer -1, empty text or no object.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeinfo>

#include "framework/core/Object.h"

namespace bw::core {

class TStrings;

// A named enumeration: value names in ordinal order, looked up ignoring case.
struct TEnumInfo {
  const char* Name;
  std::span<const char* const> Values;

  std::int32_t Count() const { return static_cast<std::int32_t>(Values.size()); }
  const char* NameOf(std::int32_t ordinal) const;  // nullptr when out of range
  std::int32_t ValueOf(std::string_view name) const;  // -1 when unknown
};

// Names an integer property may take in a form description (colours, cursors).
struct TIdentEntry {
  std::int32_t Value;
  const char* Name;
};
struct TIdentMap {
  std::span<const TIdentEntry> Entries;
  const char* NameOf(std::int32_t value) const;
  bool ValueOf(std::string_view name, std::int32_t& value) const;
};

// A set of up to 32 members of enumeration E, stored as bits in ordinal order.
template <class E>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> members) {
    for (E e : members) Include(e);
  }
  static constexpr TSet FromBits(std::uint32_t bits) {
    TSet s;
    s.FBits = bits;
    return s;
  }
  constexpr std::uint32_t Bits() const { return FBits; }
  constexpr bool Contains(E e) const { return (FBits & Bit(e)) != 0; }
  constexpr bool Empty() const { return FBits == 0; }
  constexpr TSet& Include(E e) {
    FBits |= Bit(e);
    return *this;
  }
  constexpr TSet& Exclude(E e) {
    FBits &= ~Bit(e);
    return *this;
  }
  constexpr bool operator==(const TSet&) const = default;

 private:
  static constexpr std::uint32_t Bit(E e) { return std::uint32_t{1} << static_cast<unsigned>(e); }
  std::uint32_t FBits = 0;
};

// Event slots. The method name is kept when a form description bound the handler, so
// that writing the form back names it again.
class TEventBase {
 public:
  const std::string& MethodName() const { return FMethodName; }

 protected:
  std::string FMethodName;
};

template <class Sig>
class TEvent;
template <class R, class... A>
class TEvent<R(A...)> : public TEventBase {
 public:
  using THandler = std::function<R(A...)>;
  TEvent() = default;
  TEvent& operator=(THandler handler) {
    FHandler = std::move(handler);
    FMethodName.clear();
    return *this;
  }
  void Bind(THandler handler, std::string methodName) {
    FHandler = std::move(handler);
    FMethodName = std::move(methodName);
  }
  explicit operator bool() const { return static_cast<bool>(FHandler); }
  // Calls the handler if one is assigned; otherwise answers R's default.
  R operator()(A... args) const {
    if (!FHandler) return R();
    return FHandler(std::forward<A>(args)...);
  }

 private:
  THandler FHandler;
};

using TNotifyEvent = TEvent<void(TObject* sender)>;

enum class TPropKind : std::uint8_t { Integer, Enumeration, Boolean, Set, String, Object, StringList, Event };

struct TPropInfo {
  const char* Name = nullptr;
  TPropKind Kind = TPropKind::Integer;
  const TEnumInfo* Enum = nullptr;       // enumeration and boolean values, set members
  const TIdentMap* Idents = nullptr;     // integer values with names
  const TClassInfo* ObjClass = nullptr;  // object and string-list properties
  const std::type_info* EventType = nullptr;
  bool HasDefault = false;  // ordinal values equal to Default are not written
  std::int32_t Default = 0;
  std::int32_t (*GetOrd)(const TObject&) = nullptr;
  void (*SetOrd)(TObject&, std::int32_t) = nullptr;
  std::string (*GetStr)(const TObject&) = nullptr;
  void (*SetStr)(TObject&, const std::string&) = nullptr;
  TObject* (*GetObj)(const TObject&) = nullptr;
  void (*SetObj)(TObject&, TObject*) = nullptr;
  TEventBase* (*GetEvent)(TObject&) = nullptr;

  bool IsOrdinal() const {
    return Kind == TPropKind::Integer || Kind == TPropKind::Enumeration || Kind == TPropKind::Boolean ||
           Kind == TPropKind::Set;
  }
  bool Writable() const { return SetOrd != nullptr || SetStr != nullptr || SetObj != nullptr; }
};

// A method a form description may bind to an event by name (`OnClick = Button1Click`).
struct TMethodInfo {
  const char* Name;
  const std::type_info* EventType;
  void (*Bind)(TObject& root, TEventBase& event, const char* name);
};

// A component pointer of a form class, set when a component of that name is read
// (`TBitBtn* BitBtn1;` listed as `Field<&TForm1::BitBtn1>("BitBtn1")`).
struct TFieldInfo {
  const char* Name;
  const TClassInfo* Class;
  void (*Set)(TObject& root, TComponent* component);
};

extern const TEnumInfo kBooleanInfo;

namespace detail {

template <class M>
struct MemberOf;
template <class C, class T>
struct MemberOf<T C::*> {
  using Class = C;
};

template <auto G>
decltype(auto) Read(const TObject& o) {
  using C = typename MemberOf<decltype(G)>::Class;
  const C& obj = static_cast<const C&>(o);
  if constexpr (std::is_member_object_pointer_v<decltype(G)>) return (obj.*G);
  else return (obj.*G)();
}

template <class C, class R, class A>
std::remove_cvref_t<A> ArgOf(R (C::*)(A));
template <class C, class T>
  requires(!std::is_function_v<T>)
T ArgOf(T C::*);
template <auto S>
using SetterArg = decltype(ArgOf(S));

template <auto S, class V>
void Write(TObject& o, V&& value) {
  using C = typename MemberOf<decltype(S)>::Class;
  C& obj = static_cast<C&>(o);
  if constexpr (std::is_member_object_pointer_v<decltype(S)>) obj.*S = std::forward<V>(value);
  else (obj.*S)(std::forward<V>(value));
}

template <class V>
struct IsSet : std::false_type {};
template <class E>
struct IsSet<TSet<E>> : std::true_type {};

template <class V>
constexpr std::int32_t ToOrd(const V& v) {
  if constexpr (IsSet<V>::value) return static_cast<std::int32_t>(v.Bits());
  else return static_cast<std::int32_t>(v);
}
template <class V>
constexpr V FromOrd(std::int32_t ord) {
  if constexpr (IsSet<V>::value) return V::FromBits(static_cast<std::uint32_t>(ord));
  else if constexpr (std::is_same_v<V, bool>) return ord != 0;
  else return static_cast<V>(ord);
}

template <auto G, auto S>
constexpr TPropInfo OrdProp(const char* name, TPropKind kind) {
  TPropInfo p;
  p.Name = name;
  p.Kind = kind;
  p.GetOrd = [](const TObject& o) { return ToOrd(Read<G>(o)); };
  if constexpr (!std::is_null_pointer_v<decltype(S)>)
    p.SetOrd = [](TObject& o, std::int32_t v) { Write<S>(o, FromOrd<SetterArg<S>>(v)); };
  return p;
}

template <class M>
struct MethodTraits;
template <class C, class R, class... A>
struct MethodTraits<R (C::*)(A...)> {
  using Class = C;
  using Event = TEvent<R(A...)>;
  template <auto M>
  static void Bind(TObject& root, TEventBase& event, const char* name) {
    C* self = &static_cast<C&>(root);
    static_cast<Event&>(event).Bind([self](A... args) -> R { return (self->*M)(std::forward<A>(args)...); },
                                    name);
  }
};

}  // namespace detail

inline constexpr std::int32_t kNoDefault = INT32_MIN;

template <auto G, auto S = nullptr>
constexpr TPropInfo IntProp(const char* name, std::int32_t def = kNoDefault, const TIdentMap* idents = nullptr) {
  TPropInfo p = detail::OrdProp<G, S>(name, TPropKind::Integer);
  p.HasDefault = def != kNoDefault;
  p.Default = def;
  p.Idents = idents;
  return p;
}

template <auto G, auto S = nullptr, class D>
constexpr TPropInfo EnumProp(const char* name, const TEnumInfo& type, D def) {
  TPropInfo p = detail::OrdProp<G, S>(name, TPropKind::Enumeration);
  p.Enum = &type;
  p.HasDefault = true;
  p.Default = detail::ToOrd(def);
  return p;
}

template <auto G, auto S = nullptr>
constexpr TPropInfo BoolProp(const char* name, bool def) {
  TPropInfo p = detail::OrdProp<G, S>(name, TPropKind::Boolean);
  p.Enum = &kBooleanInfo;
  p.HasDefault = true;
  p.Default = def ? 1 : 0;
  return p;
}

template <auto G, auto S = nullptr, class D>
constexpr TPropInfo SetProp(const char* name, const TEnumInfo& members, D def) {
  TPropInfo p = detail::OrdProp<G, S>(name, TPropKind::Set);
  p.Enum = &members;
  p.HasDefault = true;
  p.Default = detail::ToOrd(def);
  return p;
}

template <auto G, auto S = nullptr>
constexpr TPropInfo StrProp(const char* name) {
  TPropInfo p;
  p.Name = name;
  p.Kind = TPropKind::String;
  p.GetStr = [](const TObject& o) { return std::string(detail::Read<G>(o)); };
  if constexpr (!std::is_null_pointer_v<decltype(S)>)
    p.SetStr = [](TObject& o, const std::string& v) { detail::Write<S>(o, v); };
  return p;
}

// An object held by the property: a persistent sub-object written in place (Font,
// a collection) or, for components, a reference written by name. No setter: the
// sub-object is modified where it stands.
template <auto G, auto S = nullptr>
constexpr TPropInfo ObjProp(const char* name) {
  using T = std::remove_cvref_t<decltype(detail::Read<G>(std::declval<const TObject&>()))>;
  static_assert(std::is_pointer_v<T>, "an object property's getter answers a pointer");
  TPropInfo p;
  p.Name = name;
  p.Kind = TPropKind::Object;
  p.ObjClass = &std::remove_pointer_t<T>::kClass;
  p.GetObj = [](const TObject& o) -> TObject* { return detail::Read<G>(o); };
  if constexpr (!std::is_null_pointer_v<decltype(S)>)
    p.SetObj = [](TObject& o, TObject* v) {
      detail::Write<S>(o, dynamic_cast<detail::SetterArg<S>>(v));
    };
  return p;
}

// A string list owned by the object; assignments copy into it.
template <auto G>
constexpr TPropInfo StringsProp(const char* name) {
  using T = std::remove_cvref_t<decltype(detail::Read<G>(std::declval<const TObject&>()))>;
  TPropInfo p;
  p.Name = name;
  p.Kind = TPropKind::StringList;
  p.ObjClass = &std::remove_pointer_t<T>::kClass;
  p.GetObj = [](const TObject& o) -> TObject* { return detail::Read<G>(o); };
  return p;
}

template <auto F>
constexpr TPropInfo EventProp(const char* name) {
  using E = std::remove_cvref_t<decltype(detail::Read<F>(std::declval<const TObject&>()))>;
  static_assert(std::is_base_of_v<TEventBase, E>, "an event property holds a TEvent");
  TPropInfo p;
  p.Name = name;
  p.Kind = TPropKind::Event;
  p.EventType = &typeid(E);
  p.GetEvent = [](TObject& o) -> TEventBase* { return const_cast<E*>(&detail::Read<F>(o)); };
  return p;
}

template <auto M>
constexpr TMethodInfo Method(const char* name) {
  using Traits = detail::MethodTraits<decltype(M)>;
  return TMethodInfo{name, &typeid(typename Traits::Event), &Traits::template Bind<M>};
}

template <auto F>
constexpr TFieldInfo Field(const char* name) {
  using C = typename detail::MemberOf<decltype(F)>::Class;
  using T = std::remove_pointer_t<std::remove_cvref_t<decltype(std::declval<C&>().*F)>>;
  return TFieldInfo{name, &T::kClass, [](TObject& root, TComponent* component) {
                      static_cast<C&>(root).*F = dynamic_cast<T*>(component);
                    }};
}

// Lookups over the class tree.
const TPropInfo* FindPropInfo(const TClassInfo& cls, std::string_view name);
const TPropInfo* FindPropInfo(const TObject* obj, std::string_view name);
// Every property of the class, base classes' first: the order properties are written in.
void ForEachPropInfo(const TClassInfo& cls, const std::function<void(const TPropInfo&)>& visit);
const TMethodInfo* FindMethodInfo(const TClassInfo& cls, std::string_view name);
const TFieldInfo* FindFieldInfo(const TClassInfo& cls, std::string_view name);

// Reads. Missing objects, missing properties and properties of another kind answer -1,
// empty text or nullptr.
std::int32_t GetIntProp(const TObject* obj, std::string_view name);
std::string GetEnumProp(const TObject* obj, std::string_view name);  // enumerations and booleans
std::string GetPropText(const TObject* obj, std::string_view name);  // value name or decimal integer
std::string GetStrProp(const TObject* obj, std::string_view name);
std::uint32_t GetSetProp(const TObject* obj, std::string_view name);  // 0 when missing
TObject* GetObjectProp(const TObject* obj, std::string_view name, const TClassInfo* cls = nullptr);
TEventBase* GetEventProp(TObject* obj, std::string_view name);
template <class E>
E* GetEventProp(TObject* obj, std::string_view name) {
  const TPropInfo* p = FindPropInfo(obj, name);
  if (p == nullptr || p->Kind != TPropKind::Event || *p->EventType != typeid(E)) return nullptr;
  return static_cast<E*>(p->GetEvent(*obj));
}

// Writes. Never raise for a missing property; the answer says what happened.
enum class TPropResult : std::uint8_t { Done, Missing, WrongKind, ReadOnly, BadValue };
TPropResult SetIntProp(TObject* obj, std::string_view name, std::int32_t value);
TPropResult SetOrdProp(TObject* obj, std::string_view name, std::int32_t value);  // any ordinal kind
TPropResult SetEnumProp(TObject* obj, std::string_view name, std::string_view valueName);
// An enumeration or boolean by value name, an integer by its decimal (or named) value.
TPropResult SetPropText(TObject* obj, std::string_view name, std::string_view text);
TPropResult SetStrProp(TObject* obj, std::string_view name, const std::string& value);
TPropResult SetObjectProp(TObject* obj, std::string_view name, TObject* value);

// "[a,b]" texts of sets.
std::string SetToString(const TEnumInfo& members, std::uint32_t bits);
bool StringToSet(const TEnumInfo& members, std::string_view text, std::uint32_t& bits);

}  // namespace bw::core
