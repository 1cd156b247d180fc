// The application object's identity, start-up and teardown: the save folder,
// the manifest, groups "Init" and "Splash" on the main thread, the texts of
// the stored language, the splash and the music, then group "Game" on the
// loading thread while the splash shows its progress.

#include "game/shell/AppManager.h"

#include <string>

#include "framework/audio/MusicInterface.h"
#include "framework/resource/ResourceManager.h"
#include "framework/widget/Dialog.h"
#include "game/puzzle/GameScreen.h"
#include "game/shell/DialogIds.h"
#include "game/shell/DialogLook.h"
#include "game/shell/GameConstants.h"
#include "game/shell/LanguageImages.h"
#include "game/shell/MainMenu.h"
#include "game/shell/OptionsDialog.h"
#include "game/shell/Resources.h"
#include "game/shell/ShadowScreen.h"
#include "game/shell/Splash.h"
#include "game/shell/StartScreen.h"
#include "game/shell/Texts.h"

namespace Lintwick {

namespace {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr const char* kMusicFile = "music/game.ogg";

// Takes a screen out of the widget manager (if it is in) and deletes it.
template <typename Screen>
void DeleteScreen(Zing::WidgetManager* manager, Screen*& screen) {
  if (screen == nullptr) return;
  if (screen->widgetManager != nullptr) manager->RemoveWidget(screen);
  delete screen;
  screen = nullptr;
}

}  // namespace

AppManager::AppManager(std::unique_ptr<Zing::Platform::Services> platformServices)
    : ZingAppBase(std::move(platformServices)) {
  productName = kProductName;
  companyName = kCompanyName;
  productVersion = kProductVersion;
  title = std::string(kProductName) + " " + kProductVersion;
  registryKey = kRegistryKey;
  windowed = false;  // full screen unless the stored screen mode says otherwise
  autoEnable3D = true;
  width = kScreenWidth;
  height = kScreenHeight;
}

AppManager::~AppManager() {
  // The loading thread may still be reading resources: let it finish first.
  shutdown = true;
  if (loadingThread.joinable()) loadingThread.join();
  Zing::WidgetManager* manager = GetWidgetManager();
  DeleteScreen(manager, mSplash);
  DeleteScreen(manager, mMainMenu);
  DeleteScreen(manager, mStartScreen);
  DeleteScreen(manager, mShadow);
  DeleteScreen(manager, mGameScreen);
  ProcessSafeDeleteList();
  resourceManager->DeleteResources("");
}

void AppManager::Init() {
  ZingAppBase::Init();
  if (shutdown) return;
  PrepareSaveFolder();
  LoadResourceManifest();
  if (shutdown) return;
  if (!LoadStartGroup("Init", ExtractInitResources)) return;
  SetCustomCursors();
  if (!LoadStartGroup("Splash", ExtractSplashResources)) return;

  if (!RegistryReadString(kLocaleValue, mLocale)) mLocale = "En";
  SetupTexts();

  mSplash = new Splash(this);
  mSplash->Resize(0, 0, kScreenWidth, kScreenHeight);
  GetWidgetManager()->AddWidget(mSplash);

  // The music starts with the splash and plays on through the menus.
  if (musicInterface && musicInterface->LoadMusic(kGameSong, kMusicFile))
    musicInterface->PlayMusic(kGameSong, 0, false);
  loadingTotal = resourceManager->GetNumResources("Game");
}

// The save folder lies in the per-user data folder; it is made before
// anything is saved into it.
void AppManager::PrepareSaveFolder() {
  if (IsOldConsumerSystem()) return;
  const std::string folder = GetAppDataFolder() + kSaveFolder;
  MkDir(folder);
  AllowAllAccess(folder);
}

bool AppManager::LoadStartGroup(const char* group, bool (*extract)(Zing::ResourceManager*)) {
  if (resourceManager->LoadResources(group) && extract(resourceManager.get())) return true;
  mLoadingFailed = true;
  ShowResourceError(true);
  return false;
}

void AppManager::SetCustomCursors() {
  SetCursorImage(0, IMAGE_CUSTOM_POINTER);
  SetCursorImage(1, IMAGE_CUSTOM_HAND);
  SetCursorImage(2, IMAGE_CUSTOM_DRAGGING);
  SetCursorImage(3, IMAGE_CUSTOM_TEXT);
}

// Runs on the loading thread: it touches only the resource manager and the
// counters. The failure is shown later, on the main thread.
void AppManager::LoadingThreadProc() {
  while (LoadingSlice()) {
  }
}

// One resource of group "Game" per slice; the identifiers follow the last.
bool AppManager::LoadingSlice() {
  if (!mLoadingStarted) {
    mLoadingStarted = true;
    resourceManager->StartLoadResources("Game");
  }
  if (resourceManager->LoadNextResource()) {
    ++loadingDone;
    return !shutdown;
  }
  if (resourceManager->HadError() || !ExtractGameResources(resourceManager.get())) mLoadingFailed = true;
  return false;
}

void AppManager::LoadingThreadCompleted() {
  if (mLoadingFailed) {
    ShowResourceError(false);
    return;
  }
  if (mSplash != nullptr) mSplash->EnableStartLink();
}

void AppManager::SplashFinished() {
  mSplash = nullptr;  // it has taken itself out and asked for its deletion
  resourceManager->DeleteResources("Splash");
  SelectLanguageImages();

  mMainMenu = new MainMenu(this);
  mMainMenu->Resize(0, 0, kGameScreenX, kScreenHeight);
  GetWidgetManager()->AddWidget(mMainMenu);

  mStartScreen = new StartScreen(this);
  mStartScreen->Resize(kGameScreenX, kGameScreenY, kGameScreenWidth, kGameScreenHeight);
  GetWidgetManager()->AddWidget(mStartScreen);
  SetUpFocus();

  if (musicInterface && !musicInterface->IsPlaying(kGameSong)) musicInterface->PlayMusic(kGameSong, 0, false);
}

Zing::Dialog* AppManager::NewDialog(int id, bool isModal, const std::string& header, const std::string& lines,
                                    const std::string& footer, int buttonMode) {
  auto* dialog =
      new Zing::Dialog(IMAGE_DIALOG_BOX, IMAGE_DIALOG_BUTTON, id, isModal, header, lines, footer, buttonMode);
  ApplyDialogLook(*dialog);
  const DialogPlace place = DialogPlaceOf(id);
  dialog->Resize(place.x, place.y, place.width, place.height);
  return dialog;
}

void AppManager::Shutdown() {
  const bool onMainThread = std::this_thread::get_id() == mainThreadId;
  GameScreen* game = GetShownGameScreen();
  if (onMainThread && !shutdown && game != nullptr) {
    if (game->IsGameCompleteTransition()) game->StopTransition();
    game->SaveGame();
  }
  ZingAppBase::Shutdown();
}

// A page that goes away keeps the running game as closing would.
void AppManager::SaveForLeaving() {
  if (GameScreen* game = GetShownGameScreen(); game != nullptr && !game->IsGameCompleteTransition()) game->SaveGame();
  ZingAppBase::SaveForLeaving();
}

GameScreen* AppManager::GetShownGameScreen() const {
  return mGameScreen != nullptr && mGameScreen->widgetManager != nullptr ? mGameScreen : nullptr;
}

void AppManager::SetupTexts() { Lintwick::SetupTexts(LanguageOfLocale(mLocale)); }

void AppManager::SelectLanguageImages() { Lintwick::SelectLanguageImages(LanguageOfLocale(mLocale)); }

void AppManager::LanguageChanged() {
  SetupTexts();
  SelectLanguageImages();
  if (auto* options = dynamic_cast<OptionsDialog*>(GetDialog(DIALOG_OPTIONS))) options->Relabel();
  if (mMainMenu != nullptr) mMainMenu->Relabel();
  if (mStartScreen != nullptr) mStartScreen->ApplyLanguageImages();
}

}  // namespace Lintwick
