#pragma once

// What a check box tells its owner when it is toggled.

namespace Zing {

class CheckboxListener {
 public:
  virtual ~CheckboxListener() = default;

  virtual void CheckboxChecked(int /*id*/, bool /*checked*/) {}
};

}  // namespace Zing
