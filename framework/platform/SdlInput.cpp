#include "framework/platform/SdlInput.h"

#include "framework/platform/Windows1252.h"

namespace Zing::Platform {

int VirtualKeyFromSdl(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return KEYCODE_A + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return KEYCODE_0 + (key - SDLK_0);
  if (key >= SDLK_F1 && key <= SDLK_F12) return KEYCODE_F1 + (key - SDLK_F1);
  switch (key) {
    case SDLK_BACKSPACE: return KEYCODE_BACK;
    case SDLK_TAB: return KEYCODE_TAB;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return KEYCODE_RETURN;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return KEYCODE_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return KEYCODE_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT: return KEYCODE_MENU;
    case SDLK_ESCAPE: return KEYCODE_ESCAPE;
    case SDLK_SPACE: return KEYCODE_SPACE;
    case SDLK_PAGEUP: return KEYCODE_PRIOR;
    case SDLK_PAGEDOWN: return KEYCODE_NEXT;
    case SDLK_END: return KEYCODE_END;
    case SDLK_HOME: return KEYCODE_HOME;
    case SDLK_LEFT: return KEYCODE_LEFT;
    case SDLK_UP: return KEYCODE_UP;
    case SDLK_RIGHT: return KEYCODE_RIGHT;
    case SDLK_DOWN: return KEYCODE_DOWN;
    case SDLK_INSERT: return KEYCODE_INSERT;
    case SDLK_DELETE: return KEYCODE_DELETE;
    default: return 0;
  }
}

namespace {

WindowMessage Mouse(MessageCode code, int x, int y, int param = 0) {
  WindowMessage m;
  m.code = code;
  m.x = x;
  m.y = y;
  m.param = param;
  return m;
}

void TranslateButton(const SDL_MouseButtonEvent& b, bool down, std::vector<WindowMessage>& out) {
  // An even click count is the second click of a double click.
  const bool dbl = down && b.clicks >= 2 && b.clicks % 2 == 0;
  MessageCode code;
  switch (b.button) {
    case SDL_BUTTON_LEFT:
      code = !down ? MessageCode::LButtonUp : dbl ? MessageCode::LButtonDblClk : MessageCode::LButtonDown;
      break;
    case SDL_BUTTON_RIGHT:
      code = !down ? MessageCode::RButtonUp : dbl ? MessageCode::RButtonDblClk : MessageCode::RButtonDown;
      break;
    case SDL_BUTTON_MIDDLE: code = down ? MessageCode::MButtonDown : MessageCode::MButtonUp; break;
    default: return;
  }
  out.push_back(Mouse(code, b.x, b.y));
}

void TranslateWindowEvent(const SDL_WindowEvent& w, std::vector<WindowMessage>& out) {
  WindowMessage m;
  switch (w.event) {
    case SDL_WINDOWEVENT_MOVED: out.push_back(Mouse(MessageCode::Move, w.data1, w.data2)); return;
    case SDL_WINDOWEVENT_MINIMIZED: m.code = MessageCode::Size; m.param = SizeMinimized; break;
    case SDL_WINDOWEVENT_MAXIMIZED: m.code = MessageCode::Size; m.param = SizeMaximized; break;
    case SDL_WINDOWEVENT_RESTORED: m.code = MessageCode::Size; m.param = SizeRestored; break;
    case SDL_WINDOWEVENT_FOCUS_GAINED: m.code = MessageCode::ActivateApp; m.param = 1; break;
    case SDL_WINDOWEVENT_FOCUS_LOST: m.code = MessageCode::ActivateApp; m.param = 0; break;
    case SDL_WINDOWEVENT_CLOSE: m.code = MessageCode::Close; break;
    case SDL_WINDOWEVENT_EXPOSED: m.code = MessageCode::Paint; break;
    case SDL_WINDOWEVENT_LEAVE: m.code = MessageCode::MouseLeave; break;
    case SDL_WINDOWEVENT_DISPLAY_CHANGED: m.code = MessageCode::DisplayChange; break;
    default: return;
  }
  out.push_back(m);
}

void TranslateKey(const SDL_KeyboardEvent& k, bool down, std::vector<WindowMessage>& out) {
  const int vk = VirtualKeyFromSdl(k.keysym.sym);
  if (vk == 0) return;
  WindowMessage m;
  m.code = down ? MessageCode::KeyDown : MessageCode::KeyUp;
  m.param = vk;
  m.altDown = (k.keysym.mod & KMOD_ALT) != 0;
  out.push_back(m);
  if (!down || m.altDown) return;
  if (int c = ControlCharacterOf(vk, (k.keysym.mod & KMOD_CTRL) != 0); c != 0) {
    WindowMessage ch;
    ch.code = MessageCode::Char;
    ch.param = c;
    out.push_back(ch);
  }
}

}  // namespace

void TranslateSdlEvent(const SDL_Event& event, std::vector<WindowMessage>& out) {
  switch (event.type) {
    case SDL_QUIT: out.push_back(Mouse(MessageCode::Close, 0, 0)); break;
    case SDL_WINDOWEVENT: TranslateWindowEvent(event.window, out); break;
    case SDL_KEYDOWN: TranslateKey(event.key, true, out); break;
    case SDL_KEYUP: TranslateKey(event.key, false, out); break;
    case SDL_TEXTINPUT:
      // Characters the code page lacks are dropped, not replaced.
      for (char c : Utf8ToWindows1252(event.text.text, '\0')) {
        WindowMessage ch;
        ch.code = MessageCode::Char;
        ch.param = static_cast<unsigned char>(c);
        if (ch.param >= 32) out.push_back(ch);
      }
      break;
    case SDL_MOUSEMOTION: out.push_back(Mouse(MessageCode::MouseMove, event.motion.x, event.motion.y)); break;
    case SDL_MOUSEBUTTONDOWN: TranslateButton(event.button, true, out); break;
    case SDL_MOUSEBUTTONUP: TranslateButton(event.button, false, out); break;
    case SDL_MOUSEWHEEL: {
      int notches = event.wheel.y;
      if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
      if (notches != 0) out.push_back(Mouse(MessageCode::MouseWheel, 0, 0, notches * 120));
      break;
    }
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET: {
      WindowMessage m;
      m.code = MessageCode::DisplayChange;
      out.push_back(m);
      break;
    }
    default: break;
  }
}

}  // namespace Zing::Platform
