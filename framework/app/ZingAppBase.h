#pragma once

// The framework's application object: one per process. It owns the platform
// services, the window and display, the widget manager, the settings and the
// main loop with its fixed 10 ms updates; the game derives from it and
// overrides its hooks.

#include <atomic>
#include <cstdint>
#include <deque>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "framework/app/Buffer.h"
#include "framework/app/DemoEvents.h"
#include "framework/app/DemoFile.h"
#include "framework/app/SettingsStore.h"
#include "framework/audio/MusicInterface.h"
#include "framework/audio/SoundManager.h"
#include "framework/graphics/SharedImage.h"
#include "framework/platform/Platform.h"
#include "framework/resource/ManifestFonts.h"
#include "framework/resource/ResourceHost.h"
#include "framework/resource/ResourceManager.h"
#include "framework/widget/ButtonListener.h"
#include "framework/widget/DialogListener.h"
#include "framework/widget/WidgetManager.h"
#include "framework/widget/WidgetManagerHost.h"

namespace Zing {

class Dialog;
class Font;
class Image;
class MemoryImage;
class PakInterface;
class Widget;
class ZingAppBase;

// Stands between the settings store and its file while a demo is recorded
// (every access is written to the demo) or played back (every access is
// answered from the demo and never reaches the file).
class DemoSettingsHook : public SettingsAccessHook {
 public:
  explicit DemoSettingsHook(ZingAppBase* owner) : app(owner) {}
  std::optional<bool> AnswerWrite(const std::string& name) override;
  std::optional<bool> AnswerRead(const std::string& name, SettingsValue& value) override;
  void WriteDone(const std::string& name, bool ok) override;
  void ReadDone(const std::string& name, bool ok, const SettingsValue& value) override;

 private:
  ZingAppBase* app;
};

// One parameter of the command line: its name and the value after "=".
struct CommandLineParam {
  std::string name;
  std::string value;
};

// Splits a command line: blanks outside double quotes end a parameter, a
// double quote toggles quoting and is dropped, the first "=" separates the
// name from the value. Parameters without a name are left out.
std::vector<CommandLineParam> SplitCommandLine(const std::string& text);

class ZingAppBase : public ButtonListener, public DialogListener, public WidgetManagerHost, public ResourceHost {
 public:
  // Null services mean the desktop (SDL) services.
  explicit ZingAppBase(std::unique_ptr<Platform::Services> services = nullptr);
  ZingAppBase(const ZingAppBase&) = delete;
  ZingAppBase& operator=(const ZingAppBase&) = delete;
  ~ZingAppBase() override;

  // The button listener callbacks are ButtonListener's: the two-argument
  // press forwards to the one-argument press, the others do nothing.
  using ButtonListener::ButtonPress;

  // Dialog answers become button presses on the application: 2000 + id for
  // yes/ok (button 1000), 3000 + id for no/cancel (button 1001).
  void DialogButtonPress(int dialogId, int buttonId) override;
  void DialogButtonDepress(int dialogId, int buttonId) override;

  // Timing and updates.
  virtual bool Process(bool allowSleep = true);
  virtual void UpdateFrames();
  virtual bool DoUpdateFrames();
  virtual void UpdateFramesSmooth(double fraction);
  virtual void MakeWindow();
  virtual void EnforceCursor();
  virtual void LoadingThreadCompleted() {}
  // The music player (the audio library's; silent where there is no output).
  virtual MusicInterface* CreateMusicInterface(void* window);
  // The effects player, made by Init unless a derived application installed
  // its own `soundManager` first.
  virtual SoundManager* CreateSoundManager();
  virtual void InitHook() {}
  virtual void ShutdownHook() {}
  virtual void PreTerminate() {}
  virtual void LoadingThreadProc() {}
  // One slice of the loading, for platforms without threads, where loading
  // runs on the main loop between frames: true while more is to come. By
  // default the whole of LoadingThreadProc is one slice.
  virtual bool LoadingSlice();
  // The platform is about to end the program without a close request and
  // without running the loop again (a browser tab reloaded or closed): keep
  // what a close would keep. By default the settings.
  virtual void SaveForLeaving();
  virtual void WriteToRegistry();
  virtual void ReadFromRegistry();
  // A plain dialog without images; the game gives its dialogs its own look.
  virtual Dialog* NewDialog(int dialogId, bool isModal, const std::string& header, const std::string& lines,
                            const std::string& footer, int buttonMode);
  virtual void PreDisplayHook() {}
  virtual void BeginPopup() {}
  virtual void EndPopup() {}
  virtual int MsgBox(const std::string& text, const std::string& title = "Message", int flags = 0);
  virtual void Popup(const std::string& text);
  virtual void SafeDeleteWidget(Widget* widget);
  virtual void Shutdown();
  virtual void HandleNotifyMessage();
  virtual void HandleAlreadyRunning();
  virtual void Run();
  virtual void Init();
  virtual bool ChangeDirHook(const std::string&) { return false; }
  virtual void PlaySample(int id, int pan);
  virtual void PlaySample(int id);
  virtual double GetMusicVolume() { return musicVolume; }
  virtual double GetSfxVolume() { return sfxVolume; }
  virtual bool IsMuted() { return muteCount > 0; }
  virtual void SetMusicVolume(double volume);
  virtual void SetSfxVolume(double volume);
  virtual void Mute(bool autoMute = false);
  virtual void Unmute(bool autoMute = false);
  virtual double GetLoadingThreadProgress();
  virtual void SwitchScreenMode(bool wantWindowed, bool is3D, bool force = false);
  virtual void SwitchScreenMode(bool wantWindowed);
  virtual void SwitchScreenMode();
  // The table of open dialogs by id. A new dialog replaces the one open under
  // its id; a dialog without a width is given half the screen's width, its
  // preferred height, and is centred at a fifth of the screen's height.
  virtual Dialog* DoDialog(int dialogId, bool isModal, const std::string& header, const std::string& lines,
                           const std::string& footer, int buttonMode);
  virtual Dialog* GetDialog(int dialogId);
  virtual void AddDialog(int dialogId, Dialog* dialog);
  virtual void AddDialog(Dialog* dialog);
  virtual bool KillDialog(int dialogId, bool removeWidget, bool deleteWidget);
  bool KillDialog(int dialogId) override;
  virtual bool KillDialog(Dialog* dialog);
  virtual int GetDialogCount();
  virtual void ModalOpen() {}
  virtual void ModalClose() {}
  virtual void GotFocus() {}
  virtual void LostFocus() {}
  // The letter arrives as typed: 'r', or 'R' with Shift or Caps Lock.
  virtual bool HandlesAltKey(int key) { return key == KEYCODE_RETURN || key == 'r' || key == 'R'; }
  virtual bool DebugKeyDown(int) { return false; }
  // A key the application answers itself, whatever has the focus; true when
  // it took the key.
  virtual bool CommandKeyDown(int) { return false; }
  virtual bool DebugKeyDownAsync(int, bool, bool) { return false; }
  virtual bool DrawDirtyWidgets();
  virtual void Redraw();
  virtual void MainLoop();
  bool UpdateAppStep(bool* updated) override;
  virtual bool UpdateApp();
  virtual bool AppCanRestore() { return !windowDisabled; }

  // Pictures. GetDisplayImage reads a picture file into a new image (null when
  // it cannot be read); GetSharedImage answers from the shared-image cache,
  // under the display lock, loading on first use.
  virtual std::unique_ptr<MemoryImage> GetDisplayImage(const std::string& fileName, bool commitBits);
  SharedImageRef GetSharedImage(const std::string& fileName, const std::string& variant, bool* isNew) override;
  // Deletes cached pictures nobody references any more (after every update).
  void CleanupSharedImages();
  SoundManager* GetSoundManager() override { return soundManager.get(); }

  // Resources: the manifest is read once at start-up; a failure shows the
  // resource manager's error text and, when asked, ends the process.
  void LoadResourceManifest();
  void ShowResourceError(bool exitNow);

  // Strings that replace the framework's fixed messages.
  std::string GetString(const std::string& key, const std::string& defaultText) const;
  void SetString(const std::string& key, const std::string& text) { stringTable[key] = text; }

  void SetCursor(int number) override;
  void EnableCustomCursors(bool enabled);
  // Sets the image shown for a cursor number when custom cursors are on (none:
  // the platform's cursor), with the point of the image that is the pointer's
  // position, and re-applies the cursor.
  void SetCursorImage(int number, Image* image, int hotX = 0, int hotY = 0);

  // Command line: parameters separated by blanks, quotes group, name=value.
  // The first form parses `commandLine`, the program's arguments.
  void ParseCommandLine();
  void ParseCommandLine(const std::string& text);
  virtual void HandleCmdLineParam(const std::string& name, const std::string& value);
  // The text `--help` prints.
  virtual std::string GetCommandLineHelp() const;

  // Demos. A marker names the current moment of a recording; a playback
  // lists the markers of its file.
  void AddDemoMarker(const std::string& name);
  // A character typed while a demo plays: speed, jumps, pause, sound.
  void HandleDemoPlaybackKey(char key);
  // The numbers N of the files `demoPrefix` N ".dmo" in the per-user folder.
  std::vector<int> FindNumberedDemos() const;

  // Settings of the application's key (see SettingsStore).
  bool RegistryWriteString(const std::string& name, const std::string& text);
  bool RegistryWriteInteger(const std::string& name, int value);
  bool RegistryWriteBoolean(const std::string& name, bool value);
  bool RegistryReadString(const std::string& name, std::string& text);
  bool RegistryReadInteger(const std::string& name, int& value);
  bool RegistryReadBoolean(const std::string& name, bool& value);
  void RegistryEraseValue(const std::string& name);

  // Whole files (reads may come from the archive, writes go to the disk).
  bool FileExists(const std::string& path);
  bool ReadBufferFromFile(const std::string& path, Buffer& buffer);
  bool WriteBufferToFile(const std::string& path, const Buffer& buffer);
  bool WriteBytesToFile(const std::string& path, const void* bytes, std::size_t count);

  // Hardware acceleration: whether this machine can run the display
  // accelerated at all, and whether it is one the framework recommends it
  // for (the desktop makes no such distinction: both are the display test).
  bool Is3DSupported();
  bool Is3DRecommended();
  // At the end of a run in which acceleration was switched on, or seemed to
  // misbehave: asks whether to keep it and stores the answer as "Is3D".
  void ConfirmAccelerationOnExit();

  // Platform queries and folders.
  bool IsOldConsumerSystem() const { return false; }
  bool IsVistaOrLater() const { return true; }
  const std::string& GetAppDataFolder() const { return appDataFolder; }
  void SetAppDataFolder(const std::string& path) { appDataFolder = path; }
  static void MkDir(const std::string& path);
  static bool AllowAllAccess(const std::string& path);

  // The framework's random generator (MT19937).
  void SeedRandom(std::uint32_t seed);
  std::uint32_t Rand();

  // Ends the process after a fatal start-up problem; tests replace it.
  virtual void ExitProcess(int code);

  // What the widget manager asks of the application.
  void ReleaseMouseCapture() override { services->CaptureMouse(false); }
  bool IsHardwareAccelerated() const override { return accelerated; }
  void LockScreenImage() override { displayLock.lock(); }
  void UnlockScreenImage() override { displayLock.unlock(); }
  std::string GetClipboardText() override { return services->GetClipboardText(); }
  void SetClipboardText(const std::string& text) override { services->SetClipboardText(text); }

  Platform::Services& GetServices() { return *services; }
  WidgetManager* GetWidgetManager() { return widgetManager.get(); }
  MemoryImage* GetScreenImage() { return screenImage.get(); }
  std::recursive_mutex& GetDisplayLock() { return displayLock; }

  // Identity and paths.
  std::string companyName;
  std::string productName = "Product";
  std::string title = "ZingApp";
  std::string registryKey;
  std::string changeDirTarget;
  std::string demoPrefix = "zingapp";
  std::string demoFileName = "zingapp.dmo";
  std::string productVersion;  // shown by --version and stored in demo files
  std::string appDataFolder;
  std::string commandLine;  // the program's arguments, as one text
  std::map<std::string, std::string> stringTable;

  // Window and display.
  int width = 640;
  int height = 480;
  int preferredX = -1;
  int preferredY = -1;
  bool windowed = true;
  bool physWindowed = true;
  bool forceFullscreen = false;
  bool fullscreenFailed = false;
  bool allowMaximize = false;
  bool onlyOneCopy = true;
  bool autoEnable3D = false;
  bool test3D = false;
  bool accelerated = false;
  bool accelerationSwitchedOn = false;
  bool accelerationSwitchedOff = false;  // the player switched it off during this run
  bool accelerationMisbehaved = false;   // a frame failed to reach the accelerated display
  int accelerationTestResult = -1;       // the display's last acceleration test: 1 passed, 0 failed, -1 not run
  bool displayLost = false;
  std::uint32_t lastRecoveryTick = 0;

  // Activity and state.
  bool active = false;
  bool minimized = false;
  bool hasFocus = false;
  bool mouseIn = false;
  bool running = false;
  bool initialized = false;
  std::atomic<bool> shutdown{false};
  std::atomic<bool> exitToTop{false};
  std::atomic<bool> shutdownRequested{false};
  bool closeRequested = false;
  bool crashed = false;
  bool windowDisabled = false;
  bool muteOnLostFocus = true;
  bool lastShutdownWasGraceful = true;
  bool readFromRegistry = false;
  bool ctrlDown = false;
  bool altDown = false;
  bool debugKeysEnabled = false;
  bool isScreenSaver = false;
  std::uint32_t lastInputTick = 0;
  // The screen-saver watch of the draw step.
  bool screenSaverEnabled = false;
  bool screenSaverWatchMark = false;
  int screenSaverThreshold = 0;
  bool screenSaverQueried = false;
  std::uint32_t lastScreenSaverQuery = 0;
  bool commandLineParsed = false;
  std::uint32_t randomSeed = 0;

  // Demo recording and playback.
  bool recordingDemo = false;
  bool playingDemo = false;
  int nextDemoEventUpdate = 0;  // update of the next event to play; -1 when none is left
  int demoEventCount = 0;       // events recorded or played so far
  int demoLength = 0;           // updates of the whole recording
  int demoJumpTarget = 0;       // fast-forward until this update
  bool fastForwardToEnd = false;
  bool stepOneUpdate = false;
  std::vector<DemoMarker> demoMarkers;

  // Cursor.
  static constexpr int kNumCursors = 13;
  static constexpr int kImageOnlyCursor = 12;  // shown only as its image, whatever the setting
  int cursorNum = 0;
  bool customCursorsEnabled = false;
  Image* cursorImages[kNumCursors] = {};
  Point cursorHotSpots[kNumCursors] = {};
  int overrideCursor = -1;  // a platform cursor shape used instead of cursorNum's; -1 none
  bool systemCursorShown = true;
  bool imageCursorShown = false;

  // Open dialogs by id, and in the order they were added.
  std::map<int, Dialog*> dialogMap;
  std::list<Dialog*> dialogList;

  // Sound.
  double musicVolume = 0.85;
  double sfxVolume = 0.85;
  int muteCount = 0;
  int autoMuteCount = 0;
  double appliedMusicVolume = 0;  // what the music and the effects play at now
  double appliedSfxVolume = 0;
  // Silent until Init replaces it (a derived application may install its own).
  std::unique_ptr<SoundManager> soundManager;
  std::unique_ptr<MusicInterface> musicInterface;
  const SoundManager* placeholderSoundManager = nullptr;  // the constructor's silent one

  // Shared pictures and the resources of the manifest. Declared in this order
  // so that the manager lets go of its pictures before the cache goes.
  std::unique_ptr<SharedImageCache> sharedImages;
  std::unique_ptr<ManifestFonts> manifestFonts;  // makes the manifest's fonts
  std::unique_ptr<ResourceManager> resourceManager;

  // Timing and the update loop.
  int frameTime = 10;
  double updateMultiplier = 1.0;
  double pendingTime = 0;
  std::uint32_t lastTimeCheck = 0;
  bool timeChecked = false;
  double updateFraction = 0;
  int updateAppState = 0;
  int updateAppDepth = 0;
  int nonDrawCount = 0;
  int updateCount = 0;
  int drawCount = 0;
  int sleepCount = 0;
  bool hasPendingDraw = true;
  bool lastDrawWasEmpty = false;
  std::uint32_t lastDrawTick = 0;
  std::uint32_t nextDrawTick = 0;
  bool forceRedraw = false;
  bool paused = false;
  int holdTime = 0;
  bool vsyncUpdates = false;
  int refreshRate = 100;
  bool waitForVSync = false;
  bool vsyncBroken = false;
  int vsyncBrokenCount = 0;
  int vsyncCheckCount = 0;
  std::uint32_t lastVSyncCheckTick = 0;
  std::uint32_t lastTimerTick = 0;
  std::uint32_t constructionTick = 0;

  // Loading thread.
  bool autoStartLoadingThread = true;
  bool loadingThreadStarted = false;
  std::atomic<bool> loadingThreadCompleted{false};
  bool loaded = false;
  std::atomic<bool> throttleMainThread{false};
  std::atomic<int> loadingTotal{0};
  std::atomic<int> loadingDone{0};
  bool loadingInSlices = false;  // loading runs on the main loop (no threads)

  // Statistics.
  bool showFPS = false;
  int fpsMode = 0;  // 0 frames per second, 1 the pointer's position
  int drawTime = 0;
  int presentTime = 0;
  int presentCount = 0;
  std::atomic<int> loadingTime{0};  // milliseconds from construction to the end of loading

 protected:
  friend class DemoSettingsHook;

  FrameworkSettings GetFrameworkSettings() const;
  void SetFrameworkSettings(const FrameworkSettings& values);
  // One deferred window message; returns whether more remain.
  bool ProcessDeferredMessages();
  void ProcessDeferredMessage(const Platform::WindowMessage& message);
  // The window procedure: queues what the loop handles later, handles the rest.
  void WindowProc(const Platform::WindowMessage& message);
  void PumpMessages();
  bool IsVSyncPaced() const;
  void AccountElapsedTime(std::uint32_t now);
  void Rest(int milliseconds);
  int RunLoadingSlices(int milliseconds);
  void FinishLoading();
  void WatchScreenSaver(std::uint32_t now);
  void ProcessSafeDeleteList();
  void RehupFocus();
  void ApplyVolumes();
  void ProcessMouseMessage(const Platform::WindowMessage& message);
  void ProcessKeyDown(const Platform::WindowMessage& message);
  void CheckPointerInWindow();
  void SetMouseIn(bool inside);
  void CompleteLoading();
  // --help and --version: print and end before anything else happens.
  void HandleInformationOptions();
  void SelectNumberedDemo(bool record, const std::string& value);

  // Demos (Demo.cpp).
  void StartDemo();
  void WriteDemoFile();
  bool IsMainThread() const { return std::this_thread::get_id() == mainThreadId; }
  void RecordDemoEvent(DemoEvent event);
  void RecordDemoPointer(int x, int y);
  // A deferred message while recording: written to the demo in the form it
  // is then processed in, so that playback repeats exactly this processing.
  void RecordAndProcess(const Platform::WindowMessage& message);
  void RecordAndProcessPointer(Platform::WindowMessage message);
  void ProcessDeferredMessageInPlayback(const Platform::WindowMessage& message);
  void ReadAheadDemoEvent();
  // Plays every event due at the current update; stops at an event that has
  // to wait (loading not finished yet, a settings access still to come).
  void ReplayDemoEvents();
  void ApplyDemoEvent(const DemoEvent& event);
  bool DemoHoldsUpdates() const;
  // Takes the next event when it is of `kind` and due now; stale settings
  // events left over from a diverging playback are skipped first.
  bool TakeDemoEvent(DemoEventKind kind, DemoEvent& event);
  bool DemoActivationAtDisplayStart(bool live);
  void ExchangeDemoDisplayMode();
  void CheckDemoEnd();
  bool DemoFastForward(bool allowSleep);
  void FinishDemoFastForward();
  void JumpDemoTo(int update);
  void HandleDemoTimeEntry(char key);
  void ShowDemoMarkers();
  void ToggleDemoSound();
  void RestoreDemoVolumes();

  // The statistics display (Statistics.cpp).
  void UpdateStatistics(std::uint32_t now);
  std::vector<std::string> StatisticsLines() const;
  // Draws the statistics into the screen image, keeping what they cover in
  // `saved` so that RestoreUnderStatistics can put it back after presenting.
  void DrawStatistics();
  void RestoreUnderStatistics();
  bool InitDisplay();
  void PlaceWindow(Platform::WindowSpec& request);
  // Shows the image of `cursorNum` through the platform; false when there is
  // none to show.
  bool ShowImageCursor();
  void StartCursorThread();
  void StopCursorThread();
  void RecoverDisplay();
  void Exit(int code);

  std::unique_ptr<Platform::Services> services;
  std::unique_ptr<PakInterface> pakInterface;  // the process's archive layer
  std::unique_ptr<WidgetManager> widgetManager;
  std::unique_ptr<MemoryImage> screenImage;
  SettingsStore settings;
  // Held while the screen image is drawn or presented, and while the image
  // cache is touched; drawing code may take it again.
  std::recursive_mutex displayLock;
  std::deque<Platform::WindowMessage> deferredMessages;
  std::vector<std::pair<Widget*, int>> safeDeleteList;
  std::thread loadingThread;
  std::thread cursorThread;
  std::atomic<bool> cursorThreadRunning{false};
  std::atomic<bool> stopCursorThread{false};
  std::atomic<int> cursorX{0};  // pointer position seen by the cursor thread
  std::atomic<int> cursorY{0};
  std::thread::id mainThreadId;
  std::mt19937 random;
  int heldButtons = 0;

  // Demo state.
  DemoSettingsHook demoSettingsHook{this};
  std::unique_ptr<DemoEventWriter> demoWriter;
  std::unique_ptr<DemoEventReader> demoReader;
  std::optional<DemoEvent> demoNextEvent;
  int demoPointerX = 0;  // the pointer as the demo knows it
  int demoPointerY = 0;
  bool demoFastForwarding = false;
  std::uint32_t demoLastFastDraw = 0;
  bool demoVolumesSaved = false;
  double demoSavedMusicVolume = 0;
  double demoSavedSfxVolume = 0;
  bool demoTimeEntryOpen = false;
  std::string demoTimeEntry;

  // Statistics display.
  std::unique_ptr<Font> statisticsFont;
  int fpsFrames = 0;
  std::uint32_t fpsStart = 0;
  int fpsValue = 0;
  Rect statisticsRect;
  std::vector<std::uint32_t> statisticsSaved;
};

// The process's application object.
ZingAppBase* GetApp();

}  // namespace Zing
