#include "shell/Startup.h"

#include <cstdio>

#include "engine/GameFont.h"
#include "engine/GraphicEngine.h"
#include "engine/SoundEngine.h"
#include "platform/CodePage.h"
#include "platform/DataFolder.h"
#include "platform/Display.h"
#include "platform/MessageBox.h"
#include "platform/MessageQueue.h"
#include "platform/PlayerFiles.h"
#include "platform/Random.h"
#include "platform/ScriptRunner.h"
#include "platform/SingleInstance.h"
#include "platform/WindowSystemWait.h"
#include "results/HiScore.h"
#include "results/ResultBook.h"
#include "results/WeakKeys.h"
#include "shell/DialogScriptVerbs.h"
#include "shell/ExitQuestion.h"
#include "shell/FrameLoop.h"
#include "shell/Globals.h"
#include "shell/IGameInterface.h"
#include "shell/MessageDlg.h"
#include "shell/ScreenFactory.h"
#include "shell/ScriptVerbs.h"
#include "shell/Settings.h"
#include "shell/SetupDlg.h"
#include "shell/SoundSwitch.h"

namespace {

constexpr const char16_t* kWindowTitle = u"打字游戏";

constexpr const char* kNoDisplay =
    "glyphor_police: no display to open the window on (set DISPLAY or WAYLAND_DISPLAY, or "
    "SDL_VIDEODRIVER=offscreen to run without a screen)\n";

constexpr const char* kAlreadyRunning = "already running: its window was brought to the front\n";

// Held for the whole run; released at its end, which removes its socket file.
std::unique_ptr<platform::SingleInstance> g_instance;

void CreateWindow() {
    g_Display = platform::Display::CreateWindow(platform::ToUtf8(kWindowTitle));
    if (!g_Display) {
        platform::ShowMessageBox(GraphicEngine::DisplayFailureMessage(), platform::ApplicationTitle());
        ShutdownProgram(kFatalExitStatus);
    }
    platform::MessageQueue::Instance().SetWindowEventHandler(&platform::Display::DispatchWindowEvent);
}

void SetWindowIcon() {
    platform::SurfacePtr icon;
    if (g_Graphic->LoadPicture(icon, "MAIN_ICON") && icon) g_Display->SetIcon(*icon);
}

void OpenHistory() {
    results::ResultBook::Open(platform::PlayerDataFolder() + results::kHistoryFileName);
    // A result just handed in is still written when the display goes away (the session ends).
    platform::WindowSystemWait::SetLastWork(&results::ResultBook::Close);
}

void RegisterShellScriptVerbs() {
    RegisterDialogScriptVerbs();
    // "everyframe": every frame is drawn from then on, also those of a still screen.
    RegisterScriptVerb("everyframe", [](const std::string& args) {
        if (!args.empty()) return false;
        SetDrawEveryFrame(true);
        return true;
    });
}

}  // namespace

void ReleaseSingleInstance() { g_instance.reset(); }

void CreateSharedFonts() {
    g_SongFont = std::make_shared<GameFont>();
    g_SongFont->SetFaceName(u"宋体");
    g_SongFont->SetHeight(-14);
    g_SongFont->SetCharSet(134);
    g_ArialFont = std::make_shared<GameFont>();
    g_ArialFont->SetFaceName(u"Arial");
    g_ArialFont->SetBold(true);
    g_ArialFont->SetHeight(-19);
}

void AdoptPlayerFilesLeftBesideProgram() {
    const std::string config = platform::PlayerConfigFolder();
    for (const char* name : {kSettingsFile, SoundSwitch::kFileName, results::WeakKeys::kOptionFileName})
        platform::AdoptFromProgramFolder(name, config);
    const std::string data = platform::PlayerDataFolder();
    for (const char* name : {kHiScoreFile, results::kHistoryFileName}) platform::AdoptFromProgramFolder(name, data);
}

int RunProgram(bool startAtMenu) {
    platform::ScriptRunner::StartFromEnvironment();

    // The packs and texts lie beside the executable in the build tree, under the prefix once
    // installed; without them nothing can be shown.
    if (!platform::UseDataFolder()) return 1;

    // Without a screen the window would open nowhere and the program would run unseen.
    if (!platform::Display::Available()) {
        std::fputs(kNoDisplay, stderr);
        return 1;
    }

    // One copy only: a second start brings the first forward and ends here.
    g_instance = platform::SingleInstance::Acquire(platform::SingleInstance::DefaultName());
    if (!g_instance) {
        std::fputs(kAlreadyRunning, stdout);
        return 0;
    }

    AdoptPlayerFilesLeftBesideProgram();
    platform::Random::SeedFromClock();
    StartFrameClock();
    // The first screen's pictures are decoded on a helper thread while the window opens.
    const ScreenFactory::Screen first = startAtMenu ? ScreenFactory::kMenu : ScreenFactory::kPolice;
    g_Graphic = std::make_shared<GraphicEngine>();
    g_Graphic->DecodeAhead(ScreenFactory::FirstPictures(first));
    CreateWindow();

    g_Sound = std::make_shared<SoundEngine>();
    g_Sound->Init();  // on failure it has said so, and the game runs silent
    SoundSwitch::Restore();

    if (!g_Graphic->Init(g_Display.get())) ShutdownProgram(kFatalExitStatus);
    SetWindowIcon();

    CreateSharedFonts();
    LoadSettings(kSettingsFile);

    g_MsgDlg = MessageDlg::Create();
    g_MsgDlg2 = MessageDlg::Create();
    g_SetupDlg = SetupDlg::Create();
    g_HiScore = std::make_shared<HiScore>();
    OpenHistory();
    if (platform::ScriptRunner::Active()) RegisterShellScriptVerbs();

    // The program opens on the police game, or on the main menu when asked to (the caller has
    // registered both with the screen factory); started at the menu, every game's exit leads
    // back there.
    ExitQuestion::SetStartedAtMenu(startAtMenu);
    MakeCurrentScreen(ScreenFactory::Create(first));

    g_Display->Show();
    RunMainPump();
    ShutdownProgram();
}
