#pragma once
// The language key in the registry, through the framework's registry class.
#include <memory>

#include "app/Language.h"

namespace bw::win {
class TRegistry;
}

namespace bw::app {

class TRegistryStore final : public TSettingsStore {
 public:
  TRegistryStore();
  ~TRegistryStore() override;

  bool OpenKey(TSettingsRoot root, TOpenMode mode) override;
  TReadStatus ReadLanguage(std::string& value) override;
  bool WriteLanguage(const std::string& value) override;

 private:
  std::unique_ptr<win::TRegistry> FRegistry;
  bool FOpen = false;
};

}  // namespace bw::app
