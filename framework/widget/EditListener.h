#pragma once

// What a text field tells its owner, and the owner's vetoes: Enter reports
// the text; keys, typed characters and whole new texts may be refused.

#include <string>

namespace Zing {

class EditListener {
 public:
  virtual ~EditListener() = default;

  virtual void EditWidgetText(int /*id*/, const std::string& /*text*/) {}
  virtual bool AllowKey(int /*id*/, int /*key*/) { return true; }
  virtual bool AllowChar(int /*id*/, char /*character*/) { return true; }
  virtual bool AllowText(int /*id*/, const std::string& /*text*/) { return true; }
};

}  // namespace Zing
