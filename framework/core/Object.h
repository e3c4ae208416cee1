#pragma once
// The root of the framework's classes: run-time class information (name, parent,
// published properties, event-handler methods, factory) and persistent objects.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace bw::core {

class TObject;
class TComponent;
class TStream;
struct TPropInfo;
struct TMethodInfo;
struct TFieldInfo;

struct TClassInfo {
  const char* Name;
  const TClassInfo* Parent;
  std::span<const TPropInfo> Props;      // this class's own, in stored order
  std::span<const TMethodInfo> Methods;  // handlers a form description may name
  TComponent* (*Create)(TComponent* owner) = nullptr;  // set for creatable components
  std::span<const TFieldInfo> Fields = {};  // a form's component pointers, set by name when read

  bool InheritsFrom(const TClassInfo& other) const;
};

// Every framework class declares `static const TClassInfo kClass;` and overrides
// ClassType() to return it; the class tables live in the .cpp with the class.
class TObject {
 public:
  static const TClassInfo kClass;
  virtual ~TObject() = default;
  virtual const TClassInfo& ClassType() const { return kClass; }
  std::string ClassName() const { return ClassType().Name; }
  bool InheritsFrom(const TClassInfo& cls) const { return ClassType().InheritsFrom(cls); }
};

// Creates a component of class T for the class registry.
template <class T>
TComponent* CreateComponentOf(TComponent* owner) {
  return new T(owner);
}

// The object side of DefineProperties: a persistent object names its binary
// properties with a reader and a writer. The reader gets the stored bytes; the
// writer puts the bytes to store. hasData false leaves the property out when writing.
class TFiler {
 public:
  using TStreamProc = std::function<void(TStream&)>;
  virtual ~TFiler() = default;
  virtual void DefineBinaryProperty(std::string_view name, const TStreamProc& readData,
                                    const TStreamProc& writeData, bool hasData) = 0;
};

class TPersistent : public TObject {
 public:
  static const TClassInfo kClass;
  const TClassInfo& ClassType() const override { return kClass; }

  // Copies source into this object; raises EConvertError when neither side knows how.
  virtual void Assign(const TPersistent& source);
  virtual void DefineProperties(TFiler& filer);
  // The object a nested value belongs to (a font's control, an item's collection).
  virtual TPersistent* GetOwner() const { return nullptr; }

 protected:
  virtual void AssignTo(TPersistent& dest) const;
};

}  // namespace bw::core
