#pragma once

// The game's application object: the product's identity on top of the
// framework's application base.

#include <memory>

#include "framework/app/ZingAppBase.h"

namespace Lintwick {

class AppManager : public Zing::ZingAppBase {
 public:
  explicit AppManager(std::unique_ptr<Zing::Platform::Services> platformServices = nullptr);
};

}  // namespace Lintwick
