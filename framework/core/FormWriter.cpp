#include "framework/core/Collection.h"
#include "framework/core/Exceptions.h"
#include "framework/core/FormStreaming.h"
#include "framework/core/Streams.h"
#include "framework/core/StringList.h"

namespace bw::core {
namespace {

class TDefinedWriter : public TFiler {
 public:
  TDefinedWriter(std::vector<TFormProperty>& out, const std::string& prefix) : FOut(out), FPrefix(prefix) {}
  void DefineBinaryProperty(std::string_view name, const TStreamProc&, const TStreamProc& writeData,
                            bool hasData) override {
    if (!hasData || !writeData) return;
    TMemoryStream data;
    writeData(data);
    TFormProperty p;
    p.Name = FPrefix + std::string(name);
    p.Value.Kind = TFormValueKind::Binary;
    p.Value.Text.assign(reinterpret_cast<const char*>(data.Memory()), static_cast<std::size_t>(data.Size()));
    FOut.push_back(std::move(p));
  }

 private:
  std::vector<TFormProperty>& FOut;
  const std::string& FPrefix;
};

class TWriter {
 public:
  explicit TWriter(TComponent& root) : FRoot(root) {}

  TFormNode Write() {
    FRoot.SetComponentState(TComponentStateFlag::csWriting, true);
    try {
      TFormNode node = NodeOf(FRoot);
      FRoot.SetComponentState(TComponentStateFlag::csWriting, false);
      return node;
    } catch (...) {
      FRoot.SetComponentState(TComponentStateFlag::csWriting, false);
      throw;
    }
  }

 private:
  TFormNode NodeOf(TComponent& c) {
    Enter();
    TFormNode node;
    node.Name = c.Name();
    node.ClassName = c.ClassName();
    WriteProperties(c, "", node.Properties);
    c.GetChildren([&](TComponent& child) { node.Children.push_back(NodeOf(child)); }, FRoot);
    Leave();
    return node;
  }

  void Enter() {
    if (++FDepth > kMaxFormNestingDepth) throw EWriteError("Objects nested too deep to write");
  }
  void Leave() { --FDepth; }

  static TFormValue Ident(std::string text) {
    TFormValue v;
    v.Kind = TFormValueKind::Ident;
    v.Text = std::move(text);
    return v;
  }

  void WriteProperties(TObject& obj, const std::string& prefix, std::vector<TFormProperty>& out) {
    const TPropInfo* componentName = FindPropInfo(TComponent::kClass, "Name");
    const bool isComponent = dynamic_cast<TComponent*>(&obj) != nullptr;
    ForEachPropInfo(obj.ClassType(), [&](const TPropInfo& p) {
      if (isComponent && &p == componentName) return;
      const std::string name = prefix + p.Name;
      TFormValue v;
      switch (p.Kind) {
        case TPropKind::Integer:
        case TPropKind::Enumeration:
        case TPropKind::Boolean:
        case TPropKind::Set: {
          if (p.SetOrd == nullptr) return;
          const std::int32_t ord = p.GetOrd(obj);
          if (p.HasDefault && ord == p.Default) return;
          if (p.Kind == TPropKind::Integer) {
            const char* ident = p.Idents != nullptr ? p.Idents->NameOf(ord) : nullptr;
            if (ident != nullptr) v = Ident(ident);
            else v.Int = ord;
          } else if (p.Kind == TPropKind::Set) {
            v.Kind = TFormValueKind::Set;
            for (std::int32_t i = 0; i < p.Enum->Count() && i < 32; ++i)
              if ((static_cast<std::uint32_t>(ord) >> i) & 1u) v.Names.push_back(p.Enum->NameOf(i));
          } else {
            const char* ident = p.Enum->NameOf(ord);
            if (ident == nullptr) throw EWriteError(std::string("Property ") + p.Name + " is out of range");
            v = Ident(ident);
          }
          break;
        }
        case TPropKind::String:
          if (p.SetStr == nullptr) return;
          v.Kind = TFormValueKind::String;
          v.Text = p.GetStr(obj);
          if (v.Text.empty()) return;
          break;
        case TPropKind::StringList: {
          const auto* strings = dynamic_cast<const TStrings*>(p.GetObj(obj));
          if (strings == nullptr || strings->Count() == 0) return;
          v.Kind = TFormValueKind::List;
          for (std::int32_t i = 0; i < strings->Count(); ++i) {
            TFormValue item;
            item.Kind = TFormValueKind::String;
            item.Text = strings->Get(i);
            v.List.push_back(std::move(item));
          }
          out.push_back({name + ".Strings", std::move(v)});
          return;
        }
        case TPropKind::Object: {
          TObject* sub = p.GetObj(obj);
          if (sub == nullptr) return;
          if (auto* component = dynamic_cast<TComponent*>(sub)) {
            if (p.SetObj == nullptr || component->Name().empty()) return;
            if (component != &FRoot && component->Owner() != &FRoot) return;
            v = Ident(component->Name());
            break;
          }
          if (auto* collection = dynamic_cast<TCollection*>(sub)) {
            if (collection->Count() == 0) return;
            v.Kind = TFormValueKind::Collection;
            Enter();
            for (std::int32_t i = 0; i < collection->Count(); ++i) {
              std::vector<TFormProperty> item;
              WriteProperties(collection->Items(i), "", item);
              v.Items.push_back(std::move(item));
            }
            Leave();
            break;
          }
          Enter();
          WriteProperties(*sub, name + ".", out);
          Leave();
          return;
        }
        case TPropKind::Event: {
          const TEventBase* event = p.GetEvent(obj);
          if (event == nullptr || event->MethodName().empty()) return;
          v = Ident(event->MethodName());
          break;
        }
      }
      out.push_back({name, std::move(v)});
    });
    if (auto* persistent = dynamic_cast<TPersistent*>(&obj)) {
      TDefinedWriter defined(out, prefix);
      persistent->DefineProperties(defined);
    }
  }

  TComponent& FRoot;
  int FDepth = 0;
};

}  // namespace

TFormNode WriteComponent(TComponent& root) { return TWriter(root).Write(); }

std::string WriteComponentText(TComponent& root) { return WriteFormText(WriteComponent(root)); }

}  // namespace bw::core
