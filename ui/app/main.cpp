// The entry: check the data, build the window and the sound, run the loop, tear down in order.
#include "core/lang/Translate.h"
#include "core/settings/Settings.h"
#include "core/stage/FileLocations.h"
#include "ui/app/CommandLine.h"
#include "ui/app/MainHandler.h"
#include "ui/app/StartUp.h"
#include "ui/app/StartUpError.h"
#include "ui/platform/Platform.h"
#include "ui/platform/Requests.h"
#include "ui/sound/Sound.h"
#include "ui/system/GameSystem.h"

#include <cstdio>
#include <memory>

int main(int argc, char** argv) {
    const CommandLine commandLine = HandleCommandLine(argc, argv);
    if (commandLine.exitCode) return *commandLine.exitCode;
    platform::setWindowClassName(Lib::System::WindowClassName);
    const DataFolderSearch search = EnterDataFolder();
    const Settings settings = loadSettings(settingsPath());
    // Before the first text, the start-up box's; the command line's choice outweighs the kept one.
    LoadLanguage(LocaleFolders(), commandLine.language.empty() ? settings.language : commandLine.language);
    if (const auto missing = FirstMissingDataFile()) {
        ReportMissingDataFile(*missing, search);
        return 1; // not 0: a game that could not start has failed
    }
    if (std::error_code error; !ensureWorkingFolder(&error))
        std::fprintf(stderr, "twirlstick: cannot use %s (%s); best runs will not be kept\n",
                     workingFolderPath().c_str(), error.message().c_str());
    else
        sweepTemporaryFiles();
    if (!platform::initSystems()) return 1;

    auto system = std::make_unique<GameSystem>(GameFontPath());
    if (!system->Ready()) { // the window or its context failed, and said so on stderr
        system.reset();
        platform::shutdownSystems();
        return 1;
    }
    TheGameSystem = system.get();
    system->settings = settings;
    system->online.Follow(settings);
    SetSoundVolumes(settings.musicVolume, settings.soundVolume);
    InitAudio();
    LoadAllSounds();
    system->window->SetFullScreen(settings.fullScreen);
    {
        MainHandler handler;
        system->handler = &handler;
        platform::showWindow();
        system->messageLoop->Run();
        FreeAllSounds();
        ShutdownAudio();
        system->handler = nullptr;
        // The handler's scenes go here, while the glyph cache their labels use still exists.
    }
    platform::stopRequests();
    system.reset();
    TheGameSystem = nullptr;
    platform::shutdownSystems();
    return 0;
}
