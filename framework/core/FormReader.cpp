#include <algorithm>

#include "framework/core/ClassRegistry.h"
#include "framework/core/Collection.h"
#include "framework/core/Exceptions.h"
#include "framework/core/FormStreaming.h"
#include "framework/core/Streams.h"
#include "framework/core/StringList.h"
#include "framework/core/Text.h"

namespace bw::core {
namespace {

// Finds one binary property among those an object defines.
class TDefinedLookup : public TFiler {
 public:
  explicit TDefinedLookup(std::string_view name) : FName(name) {}
  void DefineBinaryProperty(std::string_view name, const TStreamProc& readData, const TStreamProc&,
                            bool) override {
    if (!FFound && SameText(name, FName)) {
      FFound = true;
      FRead = readData;
    }
  }
  bool FFound = false;
  TStreamProc FRead;

 private:
  std::string_view FName;
};

const char* KindWord(TFormValueKind kind) {
  switch (kind) {
    case TFormValueKind::Integer: return "an integer";
    case TFormValueKind::String: return "a text";
    case TFormValueKind::Ident: return "a name";
    case TFormValueKind::Set: return "a set";
    case TFormValueKind::List: return "a list";
    case TFormValueKind::Collection: return "a collection";
    case TFormValueKind::Binary: return "binary data";
  }
  return "a value";
}

class TReader {
 public:
  explicit TReader(TComponent& root) : FRoot(root) {}

  void Read(const TFormNode& node) {
    if (!SameText(node.ClassName, FRoot.ClassName()))
      throw EReadError("Form description of class " + node.ClassName + " cannot be read into a " +
                       FRoot.ClassName());
    try {
      Begin(FRoot);
      SetName(FRoot, RootName(node.Name));
      ReadBody(FRoot, node);
      for (const TFixup& f : FFixups) ResolveFixup(f);
    } catch (...) {
      for (const TFieldInfo* field : FBoundFields) field->Set(FRoot, nullptr);
      for (auto it = FCreated.rbegin(); it != FCreated.rend(); ++it) delete *it;
      FRoot.SetComponentState(TComponentStateFlag::csReading, false);
      FRoot.SetComponentState(TComponentStateFlag::csLoading, false);
      throw;
    }
    // Children first, in reading order, so that the root's Loaded sees them ready.
    FLoaded.push_back(&FRoot);
    for (TComponent* c : FLoaded) c->SetComponentState(TComponentStateFlag::csReading, false);
    for (TComponent* c : FLoaded) {
      c->Loaded();
      c->SetComponentState(TComponentStateFlag::csLoading, false);
    }
  }

 private:
  struct TFixup {
    TObject* Object;
    const TPropInfo* Prop;
    std::string Target;
    std::string Where;
  };

  static void Begin(TComponent& c) {
    c.SetComponentState(TComponentStateFlag::csLoading, true);
    c.SetComponentState(TComponentStateFlag::csReading, true);
  }

  // A second window made from the same description takes the next free name beside the first
  // ("Form_1", "Form_2"...) instead of failing: an application may open a form many times.
  std::string RootName(const std::string& name) const {
    const TComponent* owner = FRoot.Owner();
    if (name.empty() || !owner) return name;
    std::string unique = name;
    for (int n = 1; owner->FindComponent(unique) && owner->FindComponent(unique) != &FRoot; ++n)
      unique = name + "_" + std::to_string(n);
    return unique;
  }

  void SetName(TComponent& c, const std::string& name) {
    try {
      c.SetName(name);
    } catch (const Exception& e) {
      throw EReadError("Error reading " + name + ": " + e.Message());
    }
  }

  std::string PathOf(const TComponent& c, const std::string& prop) const {
    std::string where = FRoot.Name().empty() ? FRoot.ClassName() : FRoot.Name();
    if (&c != &FRoot) where += "." + c.Name();
    return where + "." + prop;
  }

  void ReadBody(TComponent& comp, const TFormNode& node) {
    for (const TFormProperty& p : node.Properties) {
      const std::string where = PathOf(comp, p.Name);
      try {
        ReadProperty(comp, p.Name, p.Value, where);
      } catch (const std::exception& e) {
        throw EReadError("Error reading " + where + ": " + e.what());
      }
    }
    for (const TFormNode& child : node.Children) {
      TComponent* c = CreateComponent(child.ClassName, &FRoot);
      FCreated.push_back(c);
      Begin(*c);
      SetName(*c, child.Name);
      c->SetParentComponent(&comp);
      BindField(*c);
      FLoaded.push_back(c);
      ReadBody(*c, child);
    }
  }

  void BindField(TComponent& c) {
    const TFieldInfo* field = FindFieldInfo(FRoot.ClassType(), c.Name());
    if (field == nullptr || c.Name().empty()) return;
    if (!c.InheritsFrom(*field->Class))
      throw EReadError("Error reading " + c.Name() + ": the form's field is a " + field->Class->Name + ", not a " +
                       c.ClassName());
    field->Set(FRoot, &c);
    FBoundFields.push_back(field);
  }

  void ReadProperty(TObject& target, std::string_view path, const TFormValue& value, const std::string& where) {
    TObject* obj = &target;
    for (;;) {
      const std::size_t dot = path.find('.');
      const std::string_view segment = path.substr(0, dot);
      const TPropInfo* p = FindPropInfo(obj, segment);
      if (dot == std::string_view::npos) {
        if (p != nullptr) return Assign(*obj, *p, value, where);
        return ReadDefined(*obj, segment, value);
      }
      const std::string_view rest = path.substr(dot + 1);
      if (p != nullptr && p->Kind == TPropKind::StringList && SameText(rest, "Strings"))
        return Assign(*obj, *p, value, where);
      if (p == nullptr || p->Kind != TPropKind::Object)
        throw EReadError("Property " + std::string(segment) + " does not exist");
      obj = p->GetObj(*obj);
      if (obj == nullptr) throw EReadError("Property " + std::string(segment) + " holds no object");
      path = rest;
    }
  }

  static void ReadDefined(TObject& obj, std::string_view name, const TFormValue& value) {
    auto* persistent = dynamic_cast<TPersistent*>(&obj);
    TDefinedLookup lookup(name);
    if (persistent != nullptr) persistent->DefineProperties(lookup);
    if (!lookup.FFound) throw EReadError("Property " + std::string(name) + " does not exist");
    if (value.Kind != TFormValueKind::Binary) throw EReadError("Binary data expected");
    TMemoryStream data;
    data.WriteBuffer(value.Text.data(), static_cast<std::int64_t>(value.Text.size()));
    data.SetPosition(0);
    if (lookup.FRead) lookup.FRead(data);
  }

  static void Expect(const TFormValue& value, TFormValueKind kind) {
    if (value.Kind != kind)
      throw EReadError(std::string("Invalid property value: ") + KindWord(kind) + " expected, not " +
                       KindWord(value.Kind));
  }

  void Assign(TObject& obj, const TPropInfo& p, const TFormValue& value, const std::string& where) {
    const bool writable = p.Writable() || p.Kind == TPropKind::Event || p.Kind == TPropKind::StringList ||
                          (p.Kind == TPropKind::Object && value.Kind == TFormValueKind::Collection);
    if (!writable) throw EReadError(std::string("Property ") + p.Name + " is read-only");
    switch (p.Kind) {
      case TPropKind::Integer: {
        std::int32_t v = value.Int;
        if (value.Kind == TFormValueKind::Ident) {
          if (p.Idents == nullptr || !p.Idents->ValueOf(value.Text, v))
            throw EReadError("Invalid property value " + value.Text);
        } else {
          Expect(value, TFormValueKind::Integer);
        }
        return p.SetOrd(obj, v);
      }
      case TPropKind::Enumeration:
      case TPropKind::Boolean: {
        Expect(value, TFormValueKind::Ident);
        const std::int32_t v = p.Enum->ValueOf(value.Text);
        if (v < 0) throw EReadError("Invalid property value " + value.Text);
        return p.SetOrd(obj, v);
      }
      case TPropKind::Set: {
        Expect(value, TFormValueKind::Set);
        std::uint32_t bits = 0;
        for (const std::string& name : value.Names) {
          const std::int32_t v = p.Enum->ValueOf(name);
          if (v < 0 || v >= 32) throw EReadError("Invalid set member " + name);
          bits |= std::uint32_t{1} << v;
        }
        return p.SetOrd(obj, static_cast<std::int32_t>(bits));
      }
      case TPropKind::String:
        Expect(value, TFormValueKind::String);
        return p.SetStr(obj, value.Text);
      case TPropKind::StringList: {
        Expect(value, TFormValueKind::List);
        auto* strings = dynamic_cast<TStrings*>(p.GetObj(obj));
        if (strings == nullptr) throw EReadError(std::string("Property ") + p.Name + " holds no list");
        strings->BeginUpdate();
        try {
          strings->Clear();
          for (const TFormValue& item : value.List) {
            Expect(item, TFormValueKind::String);
            strings->Add(item.Text);
          }
        } catch (...) {
          strings->EndUpdate();
          throw;
        }
        return strings->EndUpdate();
      }
      case TPropKind::Object:
        if (value.Kind == TFormValueKind::Collection) return ReadCollection(obj, p, value, where);
        Expect(value, TFormValueKind::Ident);
        if (!p.ObjClass->InheritsFrom(TComponent::kClass))
          throw EReadError(std::string("Property ") + p.Name + " does not refer to a component");
        FFixups.push_back({&obj, &p, value.Text, where});
        return;
      case TPropKind::Event: {
        Expect(value, TFormValueKind::Ident);
        const TMethodInfo* m = FindMethodInfo(FRoot.ClassType(), value.Text);
        if (m == nullptr) throw EReadError("Method " + value.Text + " does not exist in " + FRoot.ClassName());
        if (*m->EventType != *p.EventType)
          throw EReadError("Method " + value.Text + " does not fit event " + p.Name);
        TEventBase* event = p.GetEvent(obj);
        return m->Bind(FRoot, *event, m->Name);
      }
    }
  }

  void ReadCollection(TObject& obj, const TPropInfo& p, const TFormValue& value, const std::string& where) {
    auto* collection = dynamic_cast<TCollection*>(p.GetObj(obj));
    if (collection == nullptr) throw EReadError(std::string("Property ") + p.Name + " holds no collection");
    collection->BeginUpdate();
    try {
      collection->Clear();
      for (const auto& itemProps : value.Items) {
        TCollectionItem& item = collection->Add();
        for (const TFormProperty& ip : itemProps) ReadProperty(item, ip.Name, ip.Value, where);
      }
    } catch (...) {
      collection->EndUpdate();
      throw;
    }
    collection->EndUpdate();
  }

  void ResolveFixup(const TFixup& f) {
    // A component may be named nil; only an unknown nil means no object.
    TComponent* target = SameText(f.Target, FRoot.Name()) ? &FRoot : FRoot.FindComponent(f.Target);
    if (target == nullptr && !SameText(f.Target, "nil"))
      throw EReadError("Error reading " + f.Where + ": Invalid reference " + f.Target);
    if (target != nullptr) {
      if (!target->InheritsFrom(*f.Prop->ObjClass))
        throw EReadError("Error reading " + f.Where + ": " + f.Target + " is not a " + f.Prop->ObjClass->Name);
    }
    try {
      f.Prop->SetObj(*f.Object, target);
    } catch (const std::exception& e) {
      throw EReadError("Error reading " + f.Where + ": " + e.what());
    }
  }

  TComponent& FRoot;
  std::vector<TComponent*> FCreated;
  std::vector<TComponent*> FLoaded;
  std::vector<TFixup> FFixups;
  std::vector<const TFieldInfo*> FBoundFields;
};

}  // namespace

void ReadComponent(TComponent& root, const TFormNode& node) { TReader(root).Read(node); }

void ReadComponentText(TComponent& root, std::string_view text) {
  TFormParseResult parsed = ParseFormText(text);
  if (!parsed.Ok) throw EReadError("Invalid form description: " + parsed.Error);
  ReadComponent(root, parsed.Root);
}

std::unique_ptr<TComponent> CreateComponentFromText(std::string_view text) {
  TFormParseResult parsed = ParseFormText(text);
  if (!parsed.Ok) throw EReadError("Invalid form description: " + parsed.Error);
  std::unique_ptr<TComponent> root(bw::core::CreateComponent(parsed.Root.ClassName, nullptr));
  ReadComponent(*root, parsed.Root);
  return root;
}

}  // namespace bw::core
