#pragma once
// Reading components from a form description and writing them back.
//
// Reading a form: every component of the description is created (owned by the root),
// put under its parent component, and given its properties in stored order while it is
// in the reading state; a property name the class does not publish goes to the
// object's DefineProperties (binary properties); a component whose name the root's
// class lists as a field is stored in that field. Component references and event
// handlers are resolved once the whole form is read; then Loaded runs on every
// component, the root last. A failure frees the components created so far and raises
// EReadError naming the property ("Error reading Form1.Button1.Caption: ...").
#include <memory>
#include <string>
#include <string_view>

#include "framework/core/Component.h"
#include "framework/core/FormText.h"

namespace bw::core {

// root must be of the description's class (the form itself, already constructed).
void ReadComponent(TComponent& root, const TFormNode& node);
void ReadComponentText(TComponent& root, std::string_view text);
// Creates the root by its registered class; the caller owns it.
std::unique_ptr<TComponent> CreateComponentFromText(std::string_view text);

// Properties whose value differs from the declared default, in class order (base
// first), then binary properties, then the child components in GetChildren order.
TFormNode WriteComponent(TComponent& root);
std::string WriteComponentText(TComponent& root);

}  // namespace bw::core
