#include "framework/core/FormData.h"

#include <utility>
#include <vector>

#include "framework/core/Text.h"

namespace bw::core {
namespace {

std::vector<std::pair<std::string_view, std::string_view>>& Forms() {
  static std::vector<std::pair<std::string_view, std::string_view>> forms;
  return forms;
}

}  // namespace

void RegisterFormData(std::string_view className, std::string_view text) {
  for (auto& entry : Forms())
    if (SameText(entry.first, className)) {
      entry.second = text;
      return;
    }
  Forms().emplace_back(className, text);
}

std::optional<std::string_view> FindFormData(std::string_view className) {
  for (const auto& entry : Forms())
    if (SameText(entry.first, className)) return entry.second;
  return std::nullopt;
}

}  // namespace bw::core
