#include "framework/widget/SystemFonts.h"

#include <utility>

namespace Zing {

namespace {

SystemFontFactory& Factory() {
  static SystemFontFactory factory;
  return factory;
}

}  // namespace

void SetSystemFontFactory(SystemFontFactory factory) { Factory() = std::move(factory); }

std::unique_ptr<Font> CreateSystemFont(const std::string& face, int size, bool bold) {
  const SystemFontFactory& factory = Factory();
  return factory ? factory(face, size, bold) : nullptr;
}

}  // namespace Zing
