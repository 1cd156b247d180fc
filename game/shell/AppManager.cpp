#include "game/shell/AppManager.h"

#include <string>

#include "game/shell/GameConstants.h"

namespace Lintwick {

AppManager::AppManager(std::unique_ptr<Zing::Platform::Services> platformServices)
    : ZingAppBase(std::move(platformServices)) {
  productName = kProductName;
  companyName = kCompanyName;
  productVersion = kProductVersion;
  title = std::string(kProductName) + " " + kProductVersion;
  registryKey = kRegistryKey;
  windowed = false;  // full screen unless the stored screen mode says otherwise
  autoEnable3D = true;
  width = 640;
  height = 480;
}

}  // namespace Lintwick
