#include "skin/data/SkinManagerLink.h"

namespace bw::skin {

namespace {
TSkinManagerProvider gProvider = nullptr;
}  // namespace

TSkinManagerLink* SkinManagerLink(bool create) { return gProvider ? gProvider(create) : nullptr; }

void SetSkinManagerProvider(TSkinManagerProvider provider) { gProvider = provider; }

}  // namespace bw::skin
