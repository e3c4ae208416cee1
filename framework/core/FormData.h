#pragma once
// Form descriptions built into the program (bw_add_form), found by their root's class.
#include <optional>
#include <string_view>

namespace bw::core {

void RegisterFormData(std::string_view className, std::string_view text);
std::optional<std::string_view> FindFormData(std::string_view className);

// Used by the generated sources: registers at static initialisation. Both texts must
// live as long as the program.
struct TFormDataRegistration {
  TFormDataRegistration(std::string_view className, std::string_view text) { RegisterFormData(className, text); }
};

}  // namespace bw::core
