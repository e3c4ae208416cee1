#include "framework/core/ClassRegistry.h"

#include <algorithm>
#include <vector>

#include "framework/core/Exceptions.h"
#include "framework/core/Text.h"

namespace bw::core {
namespace {

// Pointers only: names are read at lookup time, after every table is initialised.
std::vector<const TClassInfo*>& Registry() {
  static std::vector<const TClassInfo*> registry;
  return registry;
}

}  // namespace

void RegisterComponentClass(const TClassInfo& cls) {
  if (cls.Create == nullptr) throw EFilerError(std::string("Class ") + cls.Name + " cannot be created by name");
  const TClassInfo* existing = FindClass(cls.Name);
  if (existing == &cls) return;
  if (existing != nullptr) throw EFilerError(std::string("A class named ") + cls.Name + " already exists");
  Registry().push_back(&cls);
}

void UnregisterComponentClass(const TClassInfo& cls) {
  auto& registry = Registry();
  registry.erase(std::remove(registry.begin(), registry.end(), &cls), registry.end());
}

const TClassInfo* FindClass(std::string_view name) {
  for (const TClassInfo* cls : Registry())
    if (SameText(cls->Name, name)) return cls;
  return nullptr;
}

TComponent* CreateComponent(std::string_view className, TComponent* owner) {
  const TClassInfo* cls = FindClass(className);
  if (cls == nullptr) throw EClassNotFound("Class " + std::string(className) + " not found");
  return cls->Create(owner);
}

}  // namespace bw::core
