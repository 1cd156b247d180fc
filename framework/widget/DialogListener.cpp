#include "framework/widget/DialogListener.h"

namespace Zing {

namespace {

DialogListener* gDefaultListener = nullptr;

}  // namespace

DialogListener* DialogListener::GetDefault() { return gDefaultListener; }

void DialogListener::SetDefault(DialogListener* listener) { gDefaultListener = listener; }

}  // namespace Zing
