#include "framework/core/TypeInfo.h"

#include <vector>

#include "framework/core/Text.h"

namespace bw::core {
namespace {

const char* const kBooleanNames[] = {"False", "True"};

const TPropInfo* FindOrdinal(const TObject* obj, std::string_view name, TPropResult& result) {
  const TPropInfo* p = FindPropInfo(obj, name);
  if (p == nullptr) result = TPropResult::Missing;
  else if (!p->IsOrdinal()) result = TPropResult::WrongKind;
  else if (p->SetOrd == nullptr) result = TPropResult::ReadOnly;
  else return p;
  return nullptr;
}

}  // namespace

const TEnumInfo kBooleanInfo{"Boolean", kBooleanNames};

const char* TEnumInfo::NameOf(std::int32_t ordinal) const {
  if (ordinal < 0 || ordinal >= Count()) return nullptr;
  return Values[static_cast<std::size_t>(ordinal)];
}

std::int32_t TEnumInfo::ValueOf(std::string_view name) const {
  for (std::size_t i = 0; i < Values.size(); ++i)
    if (SameText(Values[i], name)) return static_cast<std::int32_t>(i);
  return -1;
}

const char* TIdentMap::NameOf(std::int32_t value) const {
  for (const TIdentEntry& e : Entries)
    if (e.Value == value) return e.Name;
  return nullptr;
}

bool TIdentMap::ValueOf(std::string_view name, std::int32_t& value) const {
  for (const TIdentEntry& e : Entries)
    if (SameText(e.Name, name)) {
      value = e.Value;
      return true;
    }
  return false;
}

const TPropInfo* FindPropInfo(const TClassInfo& cls, std::string_view name) {
  for (const TClassInfo* c = &cls; c != nullptr; c = c->Parent)
    for (const TPropInfo& p : c->Props)
      if (SameText(p.Name, name)) return &p;
  return nullptr;
}

const TPropInfo* FindPropInfo(const TObject* obj, std::string_view name) {
  return obj == nullptr ? nullptr : FindPropInfo(obj->ClassType(), name);
}

void ForEachPropInfo(const TClassInfo& cls, const std::function<void(const TPropInfo&)>& visit) {
  std::vector<const TClassInfo*> chain;
  for (const TClassInfo* c = &cls; c != nullptr; c = c->Parent) chain.push_back(c);
  for (auto it = chain.rbegin(); it != chain.rend(); ++it)
    for (const TPropInfo& p : (*it)->Props) {
      // A class may redeclare a base property (a new default); the most derived one wins.
      if (FindPropInfo(cls, p.Name) == &p) visit(p);
    }
}

const TMethodInfo* FindMethodInfo(const TClassInfo& cls, std::string_view name) {
  for (const TClassInfo* c = &cls; c != nullptr; c = c->Parent)
    for (const TMethodInfo& m : c->Methods)
      if (SameText(m.Name, name)) return &m;
  return nullptr;
}

const TFieldInfo* FindFieldInfo(const TClassInfo& cls, std::string_view name) {
  for (const TClassInfo* c = &cls; c != nullptr; c = c->Parent)
    for (const TFieldInfo& f : c->Fields)
      if (SameText(f.Name, name)) return &f;
  return nullptr;
}

std::int32_t GetIntProp(const TObject* obj, std::string_view name) {
  const TPropInfo* p = FindPropInfo(obj, name);
  if (p == nullptr || p->Kind != TPropKind::Integer) return -1;
  return p->GetOrd(*obj);
}

std::string GetEnumProp(const TObject* obj, std::string_view name) {
  const TPropInfo* p = FindPropInfo(obj, name);
  if (p == nullptr || (p->Kind != TPropKind::Enumeration && p->Kind != TPropKind::Boolean)) return {};
  const char* text = p->Enum->NameOf(p->GetOrd(*obj));
  return text == nullptr ? std::string() : std::string(text);
}

std::string GetPropText(const TObject* obj, std::string_view name) {
  const TPropInfo* p = FindPropInfo(obj, name);
  if (p == nullptr) return {};
  if (p->Kind == TPropKind::Integer) return IntToStr(p->GetOrd(*obj));
  return GetEnumProp(obj, name);
}

std::string GetStrProp(const TObject* obj, std::string_view name) {
  const TPropInfo* p = FindPropInfo(obj, name);
  if (p == nullptr || p->Kind != TPropKind::String) return {};
  return p->GetStr(*obj);
}

std::uint32_t GetSetProp(const TObject* obj, std::string_view name) {
  const TPropInfo* p = FindPropInfo(obj, name);
  if (p == nullptr || p->Kind != TPropKind::Set) return 0;
  return static_cast<std::uint32_t>(p->GetOrd(*obj));
}

TObject* GetObjectProp(const TObject* obj, std::string_view name, const TClassInfo* cls) {
  const TPropInfo* p = FindPropInfo(obj, name);
  if (p == nullptr || (p->Kind != TPropKind::Object && p->Kind != TPropKind::StringList)) return nullptr;
  TObject* value = p->GetObj(*obj);
  if (value != nullptr && cls != nullptr && !value->InheritsFrom(*cls)) return nullptr;
  return value;
}

TEventBase* GetEventProp(TObject* obj, std::string_view name) {
  const TPropInfo* p = FindPropInfo(obj, name);
  if (p == nullptr || p->Kind != TPropKind::Event) return nullptr;
  return p->GetEvent(*obj);
}

TPropResult SetIntProp(TObject* obj, std::string_view name, std::int32_t value) {
  TPropResult result = TPropResult::Done;
  const TPropInfo* p = FindOrdinal(obj, name, result);
  if (p == nullptr) return result;
  if (p->Kind != TPropKind::Integer) return TPropResult::WrongKind;
  p->SetOrd(*obj, value);
  return TPropResult::Done;
}

TPropResult SetOrdProp(TObject* obj, std::string_view name, std::int32_t value) {
  TPropResult result = TPropResult::Done;
  const TPropInfo* p = FindOrdinal(obj, name, result);
  if (p == nullptr) return result;
  if ((p->Kind == TPropKind::Enumeration || p->Kind == TPropKind::Boolean) &&
      (value < 0 || value >= p->Enum->Count()))
    return TPropResult::BadValue;
  if (p->Kind == TPropKind::Set && p->Enum->Count() < 32 &&
      (static_cast<std::uint32_t>(value) >> p->Enum->Count()) != 0)
    return TPropResult::BadValue;
  p->SetOrd(*obj, value);
  return TPropResult::Done;
}

TPropResult SetEnumProp(TObject* obj, std::string_view name, std::string_view valueName) {
  TPropResult result = TPropResult::Done;
  const TPropInfo* p = FindOrdinal(obj, name, result);
  if (p == nullptr) return result;
  if (p->Kind != TPropKind::Enumeration && p->Kind != TPropKind::Boolean) return TPropResult::WrongKind;
  const std::int32_t value = p->Enum->ValueOf(valueName);
  if (value < 0) return TPropResult::BadValue;
  p->SetOrd(*obj, value);
  return TPropResult::Done;
}

TPropResult SetPropText(TObject* obj, std::string_view name, std::string_view text) {
  const TPropInfo* p = FindPropInfo(obj, name);
  if (p == nullptr) return TPropResult::Missing;
  if (p->Kind == TPropKind::Enumeration || p->Kind == TPropKind::Boolean) return SetEnumProp(obj, name, text);
  if (p->Kind != TPropKind::Integer) return TPropResult::WrongKind;
  std::int32_t value = 0;
  if (!TryStrToInt(text, value) && (p->Idents == nullptr || !p->Idents->ValueOf(text, value)))
    return TPropResult::BadValue;
  return SetIntProp(obj, name, value);
}

TPropResult SetStrProp(TObject* obj, std::string_view name, const std::string& value) {
  const TPropInfo* p = FindPropInfo(obj, name);
  if (p == nullptr) return TPropResult::Missing;
  if (p->Kind != TPropKind::String) return TPropResult::WrongKind;
  if (p->SetStr == nullptr) return TPropResult::ReadOnly;
  p->SetStr(*obj, value);
  return TPropResult::Done;
}

TPropResult SetObjectProp(TObject* obj, std::string_view name, TObject* value) {
  const TPropInfo* p = FindPropInfo(obj, name);
  if (p == nullptr) return TPropResult::Missing;
  if (p->Kind != TPropKind::Object) return TPropResult::WrongKind;
  if (p->SetObj == nullptr) return TPropResult::ReadOnly;
  if (value != nullptr && !value->InheritsFrom(*p->ObjClass)) return TPropResult::BadValue;
  p->SetObj(*obj, value);
  return TPropResult::Done;
}

std::string SetToString(const TEnumInfo& members, std::uint32_t bits) {
  std::string text = "[";
  for (std::int32_t i = 0; i < members.Count() && i < 32; ++i) {
    if ((bits & (std::uint32_t{1} << i)) == 0) continue;
    if (text.size() > 1) text += ',';
    text += members.NameOf(i);
  }
  return text + "]";
}

bool StringToSet(const TEnumInfo& members, std::string_view text, std::uint32_t& bits) {
  if (text.size() < 2 || text.front() != '[' || text.back() != ']') return false;
  text = text.substr(1, text.size() - 2);
  std::uint32_t result = 0;
  while (!text.empty()) {
    const std::size_t comma = text.find(',');
    std::string_view item = text.substr(0, comma);
    while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
    while (!item.empty() && item.back() == ' ') item.remove_suffix(1);
    const std::int32_t ordinal = members.ValueOf(item);
    if (ordinal < 0 || ordinal >= 32) return false;
    result |= std::uint32_t{1} << ordinal;
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
    if (text.empty()) return false;
  }
  bits = result;
  return true;
}

}  // namespace bw::core
