// The entry: check the data, build the window and the sound, run the loop, tear down in order.
#include "app/CommandLine.h"
#include "app/MainHandler.h"
#include "app/StartUp.h"
#include "app/StartUpError.h"
#include "lang/Translate.h"
#include "platform/Platform.h"
#include "sound/Sound.h"
#include "stage/FileLocations.h"
#include "system/GameSystem.h"

#include <cstdio>
#include <memory>

int main(int argc, char** argv) {
    const CommandLine commandLine = HandleCommandLine(argc, argv);
    if (commandLine.exitCode) return *commandLine.exitCode;
    platform::setWindowClassName(Lib::System::WindowClassName);
    const DataFolderSearch search = EnterDataFolder();
    LoadLanguage(LocaleFolders(), commandLine.language); // before the first text, the start-up box's
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
    InitAudio();
    LoadAllSounds();
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
    system.reset();
    TheGameSystem = nullptr;
    platform::shutdownSystems();
    return 0;
}
