#pragma once

// What a slider tells its owner: its new value, 0 to 1.

namespace Zing {

class SliderListener {
 public:
  virtual ~SliderListener() = default;

  virtual void SliderValueChanged(int /*id*/, double /*value*/) {}
};

}  // namespace Zing
