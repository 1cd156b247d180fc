// The application object: start-up, the window and its screen mode, focus,
// cursors, sound volumes, safe deletion and shutdown. The running half (the
// main loop and the window messages) is in MainLoop.cpp.

#include "framework/app/ZingAppBase.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "framework/app/FileAccess.h"
#include "framework/archive/PakInterface.h"
#include "framework/audio/OpenALMusicInterface.h"
#include "framework/audio/OpenALSoundManager.h"
#include "framework/audio/SilentSoundManager.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/ImageLib.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/SysFont.h"
#include "framework/platform/FileSystem.h"
#include "framework/platform/Scaling.h"
#include "framework/widget/Dialog.h"
#include "framework/widget/SystemFonts.h"
#include "framework/widget/Widget.h"

namespace Zing {

namespace {

ZingAppBase* gApp = nullptr;

}  // namespace

ZingAppBase* GetApp() { return gApp; }

ZingAppBase::ZingAppBase(std::unique_ptr<Platform::Services> platformServices)
    : services(platformServices ? std::move(platformServices) : Platform::CreateDefaultServices()),
      pakInterface(std::make_unique<PakInterface>()) {
  gApp = this;
  DialogListener::SetDefault(this);
  widgetManager = std::make_unique<WidgetManager>(this);
  soundManager = std::make_unique<SilentSoundManager>();
  placeholderSoundManager = soundManager.get();
  sharedImages = std::make_unique<SharedImageCache>(
      [this](const std::string& fileName) { return GetDisplayImage(fileName, false); });
  manifestFonts = std::make_unique<ManifestFonts>(this, [this](const std::string& text) { Popup(text); });
  // Controls and dialogs without a font of their own draw in the desktop's
  // font; a face the system cannot give leaves their texts undrawn.
  SetSystemFontFactory([](const std::string& face, int size, bool bold) -> std::unique_ptr<Font> {
    auto font = std::make_unique<SysFont>(face, size, bold);
    if (!font->IsValid()) return nullptr;
    return font;
  });
  resourceManager = std::make_unique<ResourceManager>(this);
  resourceManager->SetFontFactory(manifestFonts.get());
  stringTable = {
      {"DIALOG_BUTTON_OK", "OK"},
      {"DIALOG_BUTTON_CANCEL", "CANCEL"},
      {"UPDATE_CHECK_TITLE", "Update Check"},
      {"UPDATE_CHECK_BODY", "Checking if there are any updates available for this product ..."},
      {"UP_TO_DATE_TITLE", "Up to Date"},
      {"UP_TO_DATE_BODY", "There are no updates available for this product at this time."},
      {"NEW_VERSION_TITLE", "New Version"},
      {"NEW_VERSION_BODY",
       "There is an update available for this product.  Would you like to visit the web site to download it?"},
  };
  constructionTick = lastDrawTick = nextDrawTick = services->Now();
  SeedRandom(0);
  services->SetLeaveHandler([this] {
    if (initialized && !shutdown) SaveForLeaving();
  });
}

ZingAppBase::~ZingAppBase() {
  services->SetLeaveHandler(nullptr);
  ConfirmAccelerationOnExit();
  WriteDemoFile();
  settings.SetAccessHook(nullptr);
  StopCursorThread();
  if (loadingThread.joinable()) loadingThread.join();
  // Dialogs still open belong to the table; nothing runs inside them now.
  while (!dialogMap.empty()) KillDialog(dialogMap.begin()->first);
  updateAppDepth = 0;
  ProcessSafeDeleteList();
  widgetManager.reset();
  // The resources let go of their sounds before the players go.
  resourceManager.reset();
  musicInterface.reset();
  soundManager.reset();
  ImageLib::FreeJPEG2000Codec();
  if (DialogListener::GetDefault() == this) DialogListener::SetDefault(nullptr);
  if (gApp == this) gApp = nullptr;
}

// ---------------------------------------------------------------- start-up

void ZingAppBase::Init() {
  mainThreadId = std::this_thread::get_id();
  if (shutdown) return;
  // --help and --version answer before anything is read, written or shown.
  HandleInformationOptions();
  if (shutdown) return;
  // A window nobody can see: say so and stop before the settings are touched.
  const std::string unseen = services->MissingDisplayReason();
  if (!unseen.empty()) {
    std::fprintf(stderr, "%s needs a graphical desktop: %s.\n", productName.c_str(), unseen.c_str());
    Exit(1);
    return;
  }

  // The display library is linked into the program on this platform, so the
  // check for a missing one has nothing to find.
  ReadFromRegistry();

  appDataFolder = services->GetAppDataFolder(companyName, productName);
  if (!demoFileName.empty() && demoFileName[0] != '/') demoFileName = appDataFolder + demoFileName;

  if (!commandLineParsed) ParseCommandLine();
  if (shutdown) return;
  if (isScreenSaver) onlyOneCopy = false;

  if (!changeDirTarget.empty() && !ChangeDirHook(changeDirTarget)) services->ChangeDirectory(changeDirTarget);

  pakInterface->AddPakFile("main.pak");
  ImageLib::LoadJPEG2000Codec();

  if (!services->AcquireInstance(productName + "Mutex")) {
    HandleAlreadyRunning();
    if (shutdown) return;
  }

  // The platform's tick count starts with the program, so on its own it would
  // give every run the same seed; the time of day makes each run its own.
  randomSeed = services->Now() ^
               static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count() / 1000000);
  SeedRandom(randomSeed);
  StartDemo();  // a playback takes the recorded seed
  if (shutdown) return;
  // The runtime's own generator follows the same seed, so that a playback
  // repeats whatever draws from it as well.
  std::srand(randomSeed);

  PreDisplayHook();
  const Platform::ScreenRect desktop = services->GetDesktopSize();
  if (windowed && desktop.w > 0 && (desktop.w <= width || desktop.h <= height)) forceFullscreen = true;

  MakeWindow();
  if (shutdown) return;
  ExchangeDemoDisplayMode();

  // The constructor's silent manager makes way for the real one; one that a
  // derived application installed stays.
  if (!soundManager || soundManager.get() == placeholderSoundManager) soundManager.reset(CreateSoundManager());
  placeholderSoundManager = nullptr;
  SetSfxVolume(sfxVolume);
  musicInterface.reset(CreateMusicInterface(nullptr));
  SetMusicVolume(musicVolume);
  if (isScreenSaver) SetCursor(Platform::CursorNone);

  InitHook();
  initialized = true;
}

void ZingAppBase::HandleAlreadyRunning() {
  if (!onlyOneCopy) return;
  services->NotifyRunningInstance(productName + "Mutex");
  Exit(0);
}

void ZingAppBase::HandleNotifyMessage() { services->RestoreAndRaiseWindow(); }

// ---------------------------------------------------------------- window and display

void ZingAppBase::PlaceWindow(Platform::WindowSpec& request) {
  if (preferredX == -1 && preferredY == -1) return;  // centred
  const Platform::ScreenRect area = services->GetDesktopWorkArea();
  const int windowWidth = request.width * request.scale;
  const int windowHeight = request.height * request.scale;
  request.x = std::max(area.x + 4, std::min(preferredX, area.x + area.w - windowWidth - 4));
  request.y = std::max(area.y + 4, std::min(preferredY, area.y + area.h - windowHeight - 4));
}

void ZingAppBase::MakeWindow() {
  Platform::WindowSpec request;
  request.title = title;
  // A playback always shows in a window, whatever mode was recorded.
  request.windowed = windowed || playingDemo;
  request.width = width;
  request.height = height;
  request.allowMaximize = allowMaximize;
  if (request.windowed) {
    // "WindowScale": 0 or absent picks the largest whole-number scale that
    // fits the desktop, 1 to 4 a fixed one. It is set by hand in the settings
    // file, so it is read afresh for every window and never written.
    int requestedScale = 0;
    RegistryReadInteger("WindowScale", requestedScale);
    request.scale =
        Platform::ChooseWindowScale(services->GetDesktopWorkArea(), request.width, request.height, requestedScale);
    PlaceWindow(request);
  }
  physWindowed = request.windowed;

  bool stored3D = false;
  if (RegistryReadBoolean("Is3D", stored3D)) {
    accelerated = stored3D;
    if (autoEnable3D) {
      autoEnable3D = false;
      test3D = true;
    }
    if (stored3D) test3D = true;
  }
  if (test3D || autoEnable3D) {
    const bool passed = Is3DSupported();
    if (autoEnable3D && passed && !accelerated) {
      accelerated = true;
      accelerationSwitchedOn = true;
    }
    if (!passed) {
      RegistryEraseValue("Is3D");
      accelerated = false;
    }
  }

  bool created;
  {
    // The cursor thread reads the window and its renderer under this lock.
    std::lock_guard<std::recursive_mutex> lock(displayLock);
    created = services->CreateMainWindow(request);
  }
  if (!created) {
    if (!windowed && !fullscreenFailed) {
      fullscreenFailed = true;
      SwitchScreenMode(true);
      return;
    }
    Popup(GetString("FAILED_INIT_DIRECTDRAW", "Failed to initialize DirectDraw: ") + "no window");
    Exit(1);
    return;
  }
  InitDisplay();
}

// Brings the display up in the window, falling back as the display allows:
// acceleration off, the other screen mode, or a fatal message.
bool ZingAppBase::InitDisplay() {
  for (;;) {
    std::string error;
    Platform::DisplayResult result;
    {
      // Re-initialising destroys the renderer that the cursor thread reads.
      std::lock_guard<std::recursive_mutex> lock(displayLock);
      result = services->InitDisplay(accelerated, error);
    }
    switch (result) {
      case Platform::DisplayResult::Ok:
        break;
      case Platform::DisplayResult::ColorDepthUnsupported:
        if (!windowed) {
          accelerated = false;
          continue;
        }
        if (fullscreenFailed) {
          Popup(GetString("PLEASE_SET_COLOR_DEPTH", "Please set your desktop color depth to 16 bit."));
          Exit(1);
          return false;
        }
        forceFullscreen = true;
        SwitchScreenMode(false);
        return false;
      case Platform::DisplayResult::FullScreenUnavailable:
      case Platform::DisplayResult::FullScreenUnavailable2:
        if (windowed) {  // cannot happen in a window; treat as a plain failure
          Popup(GetString("FAILED_INIT_DIRECTDRAW", "Failed to initialize DirectDraw: ") + error);
          Exit(1);
          return false;
        }
        fullscreenFailed = true;
        SwitchScreenMode(true);
        return false;
      case Platform::DisplayResult::HardwareAccelerationFailed:
        if (!accelerated) {
          Popup(GetString("FAILED_INIT_DIRECTDRAW", "Failed to initialize DirectDraw: ") + error);
          Exit(1);
          return false;
        }
        accelerated = false;
        continue;
      case Platform::DisplayResult::Failed:
        if (accelerated) {
          accelerated = false;
          continue;
        }
        Popup(GetString("FAILED_INIT_DIRECTDRAW", "Failed to initialize DirectDraw: ") + error);
        Exit(1);
        return false;
    }
    break;
  }

  displayLost = false;
  active = DemoActivationAtDisplayStart(services->IsMainWindowActive());
  RehupFocus();
  if (!screenImage) {
    screenImage = std::make_unique<MemoryImage>();
    screenImage->Create(width, height);
    screenImage->SetImageMode(false, false);  // the screen is opaque
  }
  widgetManager->image = screenImage.get();
  widgetManager->SetMouseRects(Rect(0, 0, width, height), Rect(0, 0, width, height));
  widgetManager->MarkAllDirty();
  lastTimerTick = services->Now();
  return true;
}

void ZingAppBase::SwitchScreenMode(bool wantWindowed, bool is3D, bool force) {
  if (is3D != accelerated) (is3D ? accelerationSwitchedOn : accelerationSwitchedOff) = true;
  if (forceFullscreen) wantWindowed = false;
  if (wantWindowed == windowed && !force) {
    if (is3D != accelerated) {
      accelerated = is3D;
      InitDisplay();
    }
    return;
  }
  accelerated = is3D;
  windowed = wantWindowed;
  MakeWindow();
  if (shutdown) return;
  services->ShowMainWindow();
  if (soundManager) soundManager->SetCooperativeWindow(nullptr, windowed);
  timeChecked = false;
}

void ZingAppBase::SwitchScreenMode(bool wantWindowed) { SwitchScreenMode(wantWindowed, accelerated, false); }

void ZingAppBase::SwitchScreenMode() { SwitchScreenMode(windowed, accelerated, true); }

// ---------------------------------------------------------------- focus and cursor

void ZingAppBase::RehupFocus() {
  const bool nowFocused = active && !minimized;
  if (nowFocused == hasFocus) return;
  hasFocus = nowFocused;
  if (hasFocus) {
    if (muteOnLostFocus) Unmute(true);
    widgetManager->AppGotFocus();
    GotFocus();
  } else {
    if (muteOnLostFocus) Mute(true);
    widgetManager->AppLostFocus();
    LostFocus();
    services->CaptureMouse(false);
    heldButtons = 0;
  }
}

void ZingAppBase::SetCursor(int number) {
  cursorNum = number;
  EnforceCursor();
}

void ZingAppBase::EnableCustomCursors(bool enabled) {
  customCursorsEnabled = enabled;
  EnforceCursor();
}

void ZingAppBase::SetCursorImage(int number, Image* image, int hotX, int hotY) {
  if (number < 0 || number >= kNumCursors) return;
  cursorImages[number] = image;
  cursorHotSpots[number] = Point{hotX, hotY};
  EnforceCursor();
}

bool ZingAppBase::ShowImageCursor() {
  // Only images with pixels in memory can become cursors; others fall back
  // to the platform's shape.
  auto* image = dynamic_cast<MemoryImage*>(cursorImages[cursorNum]);
  if (image == nullptr || image->GetWidth() <= 0 || image->GetHeight() <= 0) return false;
  const std::uint32_t* pixels = image->GetBits();
  if (pixels == nullptr) return false;
  const Point hotSpot = cursorHotSpots[cursorNum];
  return services->SetImageCursor(pixels, image->GetWidth(), image->GetHeight(), hotSpot.x, hotSpot.y);
}

void ZingAppBase::EnforceCursor() {
  if (!services->HasMainWindow()) return;
  const bool hasImage = cursorNum >= 0 && cursorNum < kNumCursors && cursorImages[cursorNum] != nullptr;
  if (!crashed && mouseIn && hasImage && (customCursorsEnabled || cursorNum == kImageOnlyCursor) && ShowImageCursor()) {
    imageCursorShown = true;
    systemCursorShown = false;
    return;
  }
  int shape = cursorNum;
  if (crashed || !mouseIn) {
    shape = Platform::CursorArrow;
  } else if (overrideCursor >= 0) {
    shape = overrideCursor;
  } else if (cursorNum == 12 || cursorNum == Platform::CursorNone) {
    shape = Platform::CursorNone;
  } else if (cursorNum < 0 || cursorNum > Platform::CursorWait) {
    shape = Platform::CursorArrow;
  }
  services->SetCursor(shape);
  imageCursorShown = false;
  systemCursorShown = shape != Platform::CursorNone;
}

// ---------------------------------------------------------------- sound plumbing

MusicInterface* ZingAppBase::CreateMusicInterface(void* /*window*/) { return new OpenALMusicInterface(); }

SoundManager* ZingAppBase::CreateSoundManager() { return new OpenALSoundManager(); }

void ZingAppBase::ApplyVolumes() {
  // While muted both hear 0; the stored volumes stay.
  appliedMusicVolume = muteCount > 0 ? 0.0 : musicVolume;
  appliedSfxVolume = muteCount > 0 ? 0.0 : sfxVolume;
  if (musicInterface) musicInterface->SetVolume(appliedMusicVolume);
  if (soundManager) soundManager->SetVolume(appliedSfxVolume);
}

void ZingAppBase::SetMusicVolume(double volume) {
  musicVolume = volume;
  ApplyVolumes();
}

void ZingAppBase::SetSfxVolume(double volume) {
  sfxVolume = volume;
  ApplyVolumes();
}

void ZingAppBase::Mute(bool autoMute) {
  ++muteCount;
  if (autoMute) ++autoMuteCount;
  ApplyVolumes();
}

void ZingAppBase::Unmute(bool autoMute) {
  if (muteCount > 0) {
    --muteCount;
    if (autoMute && autoMuteCount > 0) --autoMuteCount;
  }
  ApplyVolumes();
}

void ZingAppBase::PlaySample(int id, int pan) {
  if (!soundManager || id < 0) return;
  // The manager keeps the instance on its channel and reclaims it once played.
  SoundInstance* instance = soundManager->GetSoundInstance(static_cast<unsigned int>(id));
  if (!instance) return;
  instance->SetPan(pan);
  instance->Play(false, true);
}

void ZingAppBase::PlaySample(int id) { PlaySample(id, 0); }

// ---------------------------------------------------------------- dialogs, deletion, shutdown

void ZingAppBase::DialogButtonPress(int dialogId, int buttonId) {
  if (buttonId == 1000) ButtonPress(2000 + dialogId);
  if (buttonId == 1001) ButtonPress(3000 + dialogId);
}

void ZingAppBase::DialogButtonDepress(int dialogId, int buttonId) {
  if (buttonId == 1000) ButtonDepress(2000 + dialogId);
  if (buttonId == 1001) ButtonDepress(3000 + dialogId);
}

void ZingAppBase::SafeDeleteWidget(Widget* widget) {
  if (widget == nullptr) return;
  for (const auto& entry : safeDeleteList) {
    if (entry.first == widget) return;  // never delete twice
  }
  safeDeleteList.emplace_back(widget, updateAppDepth);
}

void ZingAppBase::ProcessSafeDeleteList() {
  // A widget queued inside a nested loop waits until that loop has unwound.
  std::vector<Widget*> doomed;
  auto keep = std::stable_partition(safeDeleteList.begin(), safeDeleteList.end(),
                                    [this](const auto& entry) { return entry.second < updateAppDepth; });
  for (auto it = keep; it != safeDeleteList.end(); ++it) doomed.push_back(it->first);
  safeDeleteList.erase(keep, safeDeleteList.end());
  for (Widget* widget : doomed) delete widget;
}

void ZingAppBase::Shutdown() {
  if (mainThreadId != std::thread::id() && std::this_thread::get_id() != mainThreadId) {
    shutdownRequested = true;
    return;
  }
  if (shutdown.exchange(true)) return;
  exitToTop = true;
  ShutdownHook();
  RestoreDemoVolumes();
  StopCursorThread();
  if (musicInterface) musicInterface->StopAllMusic();
  services->HideMainWindow();
  if (readFromRegistry) WriteToRegistry();
  if (playingDemo && readFromRegistry && !isScreenSaver) {
    // The playback's settings come from the demo, but this run marked itself
    // as in progress before the demo was opened: it ends normally.
    settings.SetAccessHook(nullptr);
    settings.RegistryWriteInteger("InProgress", 0);
    settings.SetAccessHook(&demoSettingsHook);
  }
}

void ZingAppBase::Exit(int code) {
  shutdown = true;
  exitToTop = true;
  ExitProcess(code);
}

void ZingAppBase::ExitProcess(int code) { std::exit(code); }

// ---------------------------------------------------------------- strings and messages

std::string ZingAppBase::GetString(const std::string& key, const std::string& defaultText) const {
  auto it = stringTable.find(key);
  return it == stringTable.end() ? defaultText : it->second;
}

int ZingAppBase::MsgBox(const std::string& text, const std::string& boxTitle, int flags) {
  if (isScreenSaver) {
    services->DebugOutput(boxTitle + ": " + text);
    return Platform::AnswerOk;
  }
  BeginPopup();
  const int answer = services->MessageBox(text, boxTitle, flags);
  EndPopup();
  return answer;
}

void ZingAppBase::Popup(const std::string& text) {
  MsgBox(text, GetString("FATAL_ERROR", "FATAL ERROR"), Platform::MessageBoxOk);
}

// ---------------------------------------------------------------- settings

bool ZingAppBase::RegistryWriteString(const std::string& name, const std::string& text) {
  settings.SetRegistryKey(registryKey);
  return settings.RegistryWriteString(name, text);
}

bool ZingAppBase::RegistryWriteInteger(const std::string& name, int value) {
  settings.SetRegistryKey(registryKey);
  return settings.RegistryWriteInteger(name, value);
}

bool ZingAppBase::RegistryWriteBoolean(const std::string& name, bool value) {
  settings.SetRegistryKey(registryKey);
  return settings.RegistryWriteBoolean(name, value);
}

bool ZingAppBase::RegistryReadString(const std::string& name, std::string& text) {
  settings.SetRegistryKey(registryKey);
  return settings.RegistryReadString(name, text);
}

bool ZingAppBase::RegistryReadInteger(const std::string& name, int& value) {
  settings.SetRegistryKey(registryKey);
  return settings.RegistryReadInteger(name, value);
}

bool ZingAppBase::RegistryReadBoolean(const std::string& name, bool& value) {
  settings.SetRegistryKey(registryKey);
  return settings.RegistryReadBoolean(name, value);
}

void ZingAppBase::RegistryEraseValue(const std::string& name) {
  settings.SetRegistryKey(registryKey);
  settings.RegistryEraseValue(name);
}

// The framework's stored values, taken from and given back to the fields.
FrameworkSettings ZingAppBase::GetFrameworkSettings() const {
  FrameworkSettings values;
  values.musicVolume = musicVolume;
  values.sfxVolume = sfxVolume;
  values.muteCount = muteCount;
  values.autoMuteCount = autoMuteCount;
  values.windowed = windowed;
  values.preferredX = preferredX;
  values.preferredY = preferredY;
  values.customCursors = customCursorsEnabled;
  values.waitForVSync = waitForVSync;
  values.lastShutdownWasGraceful = lastShutdownWasGraceful;
  return values;
}

void ZingAppBase::SetFrameworkSettings(const FrameworkSettings& values) {
  musicVolume = values.musicVolume;
  sfxVolume = values.sfxVolume;
  muteCount = values.muteCount;
  windowed = values.windowed;
  preferredX = values.preferredX;
  preferredY = values.preferredY;
  waitForVSync = values.waitForVSync;
  lastShutdownWasGraceful = values.lastShutdownWasGraceful;
  EnableCustomCursors(values.customCursors);
}

void ZingAppBase::ReadFromRegistry() {
  readFromRegistry = true;
  registryKey = GetString("RegistryKey", registryKey);
  if (registryKey.empty()) return;
  settings.SetRegistryKey(registryKey);
  FrameworkSettings values = GetFrameworkSettings();
  settings.ReadFrameworkSettings(values, isScreenSaver);
  SetFrameworkSettings(values);
}

void ZingAppBase::SaveForLeaving() {
  if (readFromRegistry) WriteToRegistry();
}

void ZingAppBase::WriteToRegistry() {
  if (registryKey.empty()) return;
  settings.SetRegistryKey(registryKey);
  settings.WriteFrameworkSettings(GetFrameworkSettings());
}

// ---------------------------------------------------------------- files, folders, random

bool ZingAppBase::FileExists(const std::string& path) { return Zing::FileExists(path); }

bool ZingAppBase::ReadBufferFromFile(const std::string& path, Buffer& buffer) {
  return Zing::ReadBufferFromFile(path, buffer);
}

bool ZingAppBase::WriteBufferToFile(const std::string& path, const Buffer& buffer) {
  return Zing::WriteBufferToFile(path, buffer);
}

bool ZingAppBase::WriteBytesToFile(const std::string& path, const void* bytes, std::size_t count) {
  return Zing::WriteBytesToFile(path, bytes, count);
}

void ZingAppBase::MkDir(const std::string& path) { Platform::CreateFolders(path); }

// The save folder keeps the user's own permissions: it is never opened to
// other users of the machine.
bool ZingAppBase::AllowAllAccess(const std::string&) { return true; }

void ZingAppBase::SeedRandom(std::uint32_t seed) { random.seed(seed == 0 ? 4357u : seed); }

std::uint32_t ZingAppBase::Rand() { return static_cast<std::uint32_t>(random()); }

}  // namespace Zing
