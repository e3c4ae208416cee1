#include "framework/core/Object.h"

#include "framework/core/Exceptions.h"
#include "framework/core/TypeInfo.h"

namespace bw::core {

const TClassInfo TObject::kClass{"TObject", nullptr, {}, {}};
const TClassInfo TPersistent::kClass{"TPersistent", &TObject::kClass, {}, {}};

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
  for (const TClassInfo* c = this; c != nullptr; c = c->Parent)
    if (c == &other) return true;
  return false;
}

void TPersistent::Assign(const TPersistent& source) { source.AssignTo(*this); }

void TPersistent::AssignTo(TPersistent& dest) const {
  throw EConvertError("Cannot assign a " + ClassName() + " to a " + dest.ClassName());
}

void TPersistent::DefineProperties(TFiler&) {}

}  // namespace bw::core
