#include "framework/platform/NullPlatform.h"

namespace Zing::Platform {

void NullServices::Sleep(int milliseconds) {
  if (milliseconds <= 0) return;
  clock += static_cast<std::uint32_t>(milliseconds);
  totalSlept += static_cast<std::uint32_t>(milliseconds);
}

bool NullServices::CreateMainWindow(const WindowSpec& request) {
  lastWindow = request;
  windowExists = true;
  ++windowsCreated;
  return true;
}

bool NullServices::GetWindowPosition(int& x, int& y) {
  if (!windowExists) return false;
  x = lastWindow.x;
  y = lastWindow.y;
  return true;
}

DisplayResult NullServices::InitDisplay(bool accelerated, std::string& error) {
  displayInits.push_back(accelerated);
  if (displayResults.empty()) return DisplayResult::Ok;
  const DisplayResult result = displayResults.front();
  displayResults.pop_front();
  if (result != DisplayResult::Ok) error = "display test failure";
  return result;
}

bool NullServices::Present(const std::uint32_t*, int, int) {
  if (presentFails) return false;
  ++presents;
  Advance(static_cast<std::uint32_t>(presentMs));
  return true;
}

bool NullServices::PollMessage(WindowMessage& message) {
  if (messages.empty()) return false;
  message = messages.front();
  messages.pop_front();
  return true;
}

bool NullServices::GetPointerInWindow(int& x, int& y) {
  x = pointerX;
  y = pointerY;
  return pointerInWindow;
}

int NullServices::MessageBox(const std::string& text, const std::string& title, int kind) {
  messageBoxes.push_back(title + ": " + text);
  if (messageBoxAnswer != 0) return messageBoxAnswer;
  return kind == MessageBoxYesNo ? AnswerYes : AnswerOk;
}

bool NullServices::ChangeDirectory(const std::string& path) {
  workingFolder = path;
  return true;
}

void NullServices::Inject(MessageCode code, int param, int x, int y) {
  WindowMessage message;
  message.code = code;
  message.param = param;
  message.x = x;
  message.y = y;
  messages.push_back(message);
}

bool NullServices::SetImageCursor(const std::uint32_t* pixels, int width, int height, int hotX, int hotY) {
  if (pixels == nullptr || width <= 0 || height <= 0) return false;
  imageCursorPixels.assign(pixels, pixels + static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  imageCursorWidth = width;
  imageCursorHeight = height;
  imageCursorHotX = hotX;
  imageCursorHotY = hotY;
  imageCursorShown = true;
  return true;
}

}  // namespace Zing::Platform
