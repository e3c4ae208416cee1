#pragma once
// The class registry: component classes a form description may name, created by name.
#include <string_view>

#include "framework/core/Object.h"

namespace bw::core {

// Registering the same class again is harmless; another class of the same name
// raises EFilerError. Only classes with a Create function can be registered.
void RegisterComponentClass(const TClassInfo& cls);
void UnregisterComponentClass(const TClassInfo& cls);
const TClassInfo* FindClass(std::string_view name);  // letter case ignored; nullptr when unknown
// Raises EClassNotFound for an unknown name.
TComponent* CreateComponent(std::string_view className, TComponent* owner);

// Registers at static initialisation: `const TClassRegistration kReg{TButton::kClass};`
struct TClassRegistration {
  explicit TClassRegistration(const TClassInfo& cls) { RegisterComponentClass(cls); }
};

}  // namespace bw::core
