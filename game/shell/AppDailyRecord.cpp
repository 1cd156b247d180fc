// Where the daily record is kept between runs.

#include "game/shell/AppManager.h"

namespace Lintwick {

DailyRecord AppManager::LoadDailyRecord() { return mDailyRecordInMemory; }

bool AppManager::SaveDailyRecord(const DailyRecord& record) {
  mDailyRecordInMemory = record;
  return true;
}

}  // namespace Lintwick
