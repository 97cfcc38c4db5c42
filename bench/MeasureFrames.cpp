// measure_frames: figures for the frame loop, measured on the real code under a display.
//   measure_frames pacing   the real loop on the opening screen for 600 frames, with the old
//                           2 ms spin and with the current wait, side by side
//   measure_frames play [STAGE]  the play scene's update + draw on a stage file, by default one
//                           with 512 points and lines; then its CPU per frame beside a bare clear
//                           + swap, in interleaved rounds
//   measure_frames edit     the editor's update + draw on the same stage, PUT with its rubber band,
//                           the same beside a bare clear + swap, then while the stage check (F5) runs
//   measure_frames startup  from process start to the first drawn frame
//   measure_frames idle     CPU per frame of the title with nothing but its bar moving, update,
//                           draw and swap, beside a bare clear + swap, in interleaved rounds
// Run it from the game folder (it needs the font and stages), e.g. under xvfb-run.
#include "core/stage/FileLocations.h"
#include "core/stage/StageFile.h"
#include "ui/app/MainHandler.h"
#include "ui/app/StartUp.h"
#include "ui/editor/SceneEdit.h"
#include "ui/platform/Platform.h"
#include "ui/render/PartialRedraw.h"
#include "ui/scene/SceneCrossHatch.h"
#include "ui/screens/SceneGameMain.h"
#include "ui/screens/SceneTitle.h"
#include "ui/sound/Sound.h"
#include "ui/system/GameSystem.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;
const Clock::time_point processStart = Clock::now();

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Resident kilobytes from /proc/self/status: "VmRSS" (all), "RssAnon" (the process's own
// memory) or "RssFile" (mapped files, mostly shared libraries such as Mesa's LLVM).
long residentKb(const std::string& field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field + ":", 0) == 0) return std::stol(line.substr(field.size() + 1));
    return -1;
}

// Wraps a scene to note when it is drawn.
class Watched : public Lib::Scene::SceneBase {
public:
    explicit Watched(std::unique_ptr<Lib::Scene::SceneBase> inner) : inner_(std::move(inner)) {}
    void Update() override { inner_->Update(); }
    void Draw() const override {
        inner_->Draw();
        drawn = true;
    }
    mutable bool drawn = false;

private:
    std::unique_ptr<Lib::Scene::SceneBase> inner_;
};

std::unique_ptr<GameSystem> startSystem() {
    EnterDataFolder();
    if (!platform::initSystems()) std::exit(1);
    auto system = std::make_unique<GameSystem>(GameFontPath());
    TheGameSystem = system.get();
    system->active = true;
    platform::showWindow();
    return system;
}

struct PacingRow {
    int drawn = 0, skipped = 0;
    double meanInterval = 0, meanDeviation = 0, p99Deviation = 0, cpuPerFrame = 0, waitCpuPerFrame = 0;
};

// The system clock, noting the process CPU time when a frame's wait begins (after the swap),
// so the wait's own cost can be told apart from the drawing's. Read in whole milliseconds, it
// makes the timer's deadlines whole milliseconds too, as they were before (17, 17, 16 ms).
double waitStartCpu = -1;
bool wholeMilliseconds = false;
Lib::Time::Clock notingClock() {
    const auto now = [] {
        const std::uint64_t us = platform::nowUs();
        return wholeMilliseconds ? us / 1000 * 1000 : us;
    };
    return {now, [](std::uint64_t us, std::uint32_t earlyUs) {
                waitStartCpu = cpuSeconds();
                platform::sleepUntilUs(us, earlyUs);
            }};
}

// 600 frames of the real loop on the opening screen, waiting with the given spin margin.
PacingRow measurePacing(std::uint32_t spinUs, bool wholeMs) {
    wholeMilliseconds = wholeMs;
    SceneMaster master(*TheGameSystem, notingClock());
    master.FrameTimer().SetSpinMargin(spinUs);
    // The opening screen hands over after five seconds; keep measuring a fresh one.
    Watched* watched = nullptr;
    const SceneCreator freshOpening = [&watched](SceneMaster& m) -> std::unique_ptr<Lib::Scene::SceneBase> {
        auto scene = std::make_unique<Watched>(std::make_unique<SceneCrossHatch>(&m));
        watched = scene.get();
        return scene;
    };
    SceneTable table;
    table[SceneId::CrossHatch] = freshOpening;
    table[SceneId::Title] = freshOpening;
    master.InstallScenes(table);
    master.PushCreated(master.CreateScene(SceneId::CrossHatch));
    std::vector<double> presents;
    PacingRow row;
    const double cpu0 = cpuSeconds();
    for (int frame = 0; frame < 601; ++frame) {
        platform::Event e;
        while (platform::pollEvent(e)) {
        }
        Watched* current = watched;
        current->drawn = false;
        waitStartCpu = -1;
        master.RunFrame();
        if (waitStartCpu >= 0) row.waitCpuPerFrame += cpuSeconds() - waitStartCpu;
        if (frame == 0) continue; // frame 0 is never drawn by design
        if (!current->drawn) {
            ++row.skipped;
            continue;
        }
        ++row.drawn;
        presents.push_back(std::chrono::duration<double, std::milli>(Clock::now() - processStart).count());
    }
    row.cpuPerFrame = (cpuSeconds() - cpu0) * 1000.0 / 600.0;
    row.waitCpuPerFrame *= 1000.0 / 600.0;
    std::vector<double> deviation;
    for (std::size_t i = 1; i < presents.size(); ++i) {
        const double interval = presents[i] - presents[i - 1];
        row.meanInterval += interval;
        row.meanDeviation += std::fabs(interval - 1000.0 / 60.0);
        deviation.push_back(std::fabs(interval - 1000.0 / 60.0));
    }
    std::sort(deviation.begin(), deviation.end());
    row.meanInterval /= double(deviation.size());
    row.meanDeviation /= double(deviation.size());
    row.p99Deviation =
        deviation[std::min(deviation.size() - 1, std::size_t(double(deviation.size()) * 0.99))];
    return row;
}

// The older waits (spin the last 2 ms; whole-millisecond deadlines) and the current one, one
// after the other in one process.
int pacing() {
    auto system = startSystem();
    const PacingRow rows[3] = {measurePacing(2000, true),
                               measurePacing(Lib::Time::Timer::DefaultSpinUs, true),
                               measurePacing(Lib::Time::Timer::DefaultSpinUs, false)};
    std::printf("%-24s %6s %6s %14s %14s %14s %12s %14s\n", "wait", "drawn", "missed", "mean interval",
                "mean |dev|", "p99 |dev|", "CPU/frame", "of it waiting");
    const char* names[3] = {"whole ms, 2 ms spin", "whole ms, sleep + spin", "exact us, sleep + spin"};
    for (int i = 0; i < 3; ++i) {
        const PacingRow& r = rows[i];
        std::printf("%-24s %6d %6d %11.3f ms %11.3f ms %11.3f ms %9.3f ms %11.3f ms\n", names[i], r.drawn,
                    r.skipped, r.meanInterval, r.meanDeviation, r.p99Deviation, r.cpuPerFrame,
                    r.waitCpuPerFrame);
    }
    return 0;
}

// A stage with every table full: 512 points and 512 lines across the view.
std::string fullStage() {
    Stage s;
    s.timeLimit = 999;
    for (int i = 0; i < MaxPoints; ++i) {
        const float a = float(i) * 0.37f, r = 150.0f + float(i % 64) * 3.5f;
        s.addPoint({r * std::cos(a), r * std::sin(a)});
    }
    for (int i = 0; s.segmentCount() < MaxSegments; ++i)
        s.addSegment(i % MaxPoints, (i + 1 + i / MaxPoints) % MaxPoints, i % 7 ? WALL : GOAL);
    const std::string path = "/tmp/twirlstick-measure-stage";
    saveStage(path, s);
    return path;
}

// Update + draw of `scene` for up to 600 frames while `going` holds; prints the figures.
void measureFrames(GameSystem& system, Lib::Scene::SceneBase& scene, const std::function<bool()>& going) {
    std::vector<double> costs;
    long rss = 0, anon = 0, file = 0;
    double cpu = 0; // of all the process's threads (the software renderer's included), so a busy
                    // machine, which stretches the wall time, hardly changes it
    for (int frame = 0; frame < 600 && going(); ++frame) {
        const double cpu0 = cpuSeconds();
        const auto t0 = Clock::now();
        scene.Update();
        glDisable(GL_TEXTURE_2D);
        TheGameSystem->cameraStack.ResetView();
        scene.Draw();
        glFinish(); // the software renderer's work is part of the frame
        costs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        cpu += cpuSeconds() - cpu0;
        system.window->SwapBuffers();
        rss = std::max(rss, residentKb("VmRSS"));
        anon = std::max(anon, residentKb("RssAnon"));
        file = std::max(file, residentKb("RssFile"));
    }
    std::sort(costs.begin(), costs.end());
    double sum = 0;
    for (double c : costs)
        sum += c;
    std::printf("frames measured: %zu\n", costs.size());
    std::printf("update + draw per frame: mean %.3f ms, median %.3f ms, 99th percentile %.3f ms\n",
                sum / double(costs.size()), costs[costs.size() / 2],
                costs[std::size_t(double(costs.size()) * 0.99)]);
    std::printf("CPU time per frame (all threads): mean %.3f ms\n", cpu * 1000.0 / double(costs.size()));
    std::printf("resident memory: %.1f MB (own memory %.1f MB, mapped files %.1f MB)\n", double(rss) / 1024.0,
                double(anon) / 1024.0, double(file) / 1024.0);
}

// CPU per frame (all threads, the swap included) of `frame` over `count` frames.
double cpuPerFrame(GameSystem& system, int count, const std::function<void()>& frame) {
    const double cpu0 = cpuSeconds();
    for (int i = 0; i < count; ++i) {
        frame();
        system.window->SwapBuffers();
    }
    glFinish();
    return (cpuSeconds() - cpu0) * 1000.0 / count;
}

// CPU per frame of `frame` (update, draw and swap) beside a bare clear and swap, in rounds that
// alternate so both meet the same load on a shared machine. `round` starts each round afresh.
void besideBareSwap(GameSystem& system, const char* name, const std::function<void()>& round,
                    const std::function<void()>& frame) {
    constexpr int Rounds = 8, Frames = 300;
    std::vector<double> bare, measured;
    for (int i = 0; i < Rounds; ++i) {
        bare.push_back(cpuPerFrame(system, Frames, [] { ClearScreen(Colors::Black); }));
        round();
        measured.push_back(cpuPerFrame(system, Frames, [&] {
            glDisable(GL_TEXTURE_2D);
            TheGameSystem->cameraStack.ResetView();
            ExpectPresentedFrame();
            frame();
        }));
    }
    std::sort(bare.begin(), bare.end());
    std::sort(measured.begin(), measured.end());
    const auto median = [](const std::vector<double>& v) { return v[v.size() / 2]; };
    std::printf("CPU per frame (all threads, swap included), median of %d rounds of %d frames:\n", Rounds,
                Frames);
    std::printf("  bare clear + swap  %.3f ms (least %.3f)\n", median(bare), bare.front());
    std::printf("  %-18s %.3f ms (least %.3f)\n", name, median(measured), measured.front());
    std::printf("  ratio              %.2fx\n", median(measured) / median(bare));
}

// A game on `stage` past its start click and countdown, on the master's stack.
SceneGameMain* startedGame(SceneMaster& master, const std::string& stage) {
    master.PopScene();
    auto owned = std::make_unique<SceneGameMain>(&master, master.Session(), stage, std::nullopt);
    SceneGameMain* game = owned.get();
    master.PushCreated(std::move(owned));
    MouseState& mouse = TheGameSystem->mouseState;
    mouse.down[MouseLeft] = true; // the start click
    game->Update();
    mouse.down[MouseLeft] = false;
    mouse.previousDown[MouseLeft] = true;
    for (int i = 0; i < PlaySession::CountdownFrames; ++i)
        game->Update();
    mouse.previousDown[MouseLeft] = false;
    return game;
}

int play(std::string stage) {
    if (stage.empty()) stage = fullStage();
    std::printf("stage: %s\n", stage.c_str());
    auto system = startSystem();
    SceneMaster master(*system);
    SceneGameMain* game = startedGame(master, stage);
    measureFrames(*system, *game, [game] { return game->Play().state() == GameState::Playing; });
    // Each round plays the first 300 frames of a fresh attempt, so every round draws the same.
    besideBareSwap(
        *system, "play", [&] { game = startedGame(master, stage); },
        [&game] {
            game->Update();
            game->Draw();
        });
    return 0;
}

int edit() {
    auto system = startSystem();
    SceneMaster master(*system);
    const std::string path = fullStage();
    auto owned = std::make_unique<SceneEdit>(&master, master.Session(), path, path);
    SceneEdit* editor = owned.get();
    master.PushCreated(std::move(owned));
    const Stage& stage = editor->Session().stage;
    MouseState& mouse = system->mouseState;
    // A click on point 0 ends the chain there (the full table takes no new point); the cursor
    // then rests on point 1, so every frame picks it and draws the rubber band to it.
    mouse.cursor = mouse.previousCursor = stage.points[0];
    mouse.down[MouseLeft] = true;
    editor->Update();
    mouse.down[MouseLeft] = false;
    mouse.previousDown[MouseLeft] = true;
    editor->Update();
    mouse.previousDown[MouseLeft] = false;
    mouse.cursor = mouse.previousCursor = stage.points[1];
    if (editor->Session().activePoint != 0) return 1;
    std::printf("editor, PUT, rubber band from point 0 to point 1:\n");
    measureFrames(*system, *editor, [] { return true; });
    besideBareSwap(
        *system, "editor", [] {},
        [editor] {
            editor->Update();
            editor->Draw();
        });
    // The same with the stage check (F5) searching on its worker thread all along: with the start
    // moved out of the rings into open space the search has no end before its budget.
    editor->Session().stage.initialPivot = {1500, 1500};
    system->keyState.presses = {{platform::Key::F5, false, false}};
    editor->Update();
    system->keyState.presses.clear();
    std::printf("the same while the stage check runs:\n");
    measureFrames(*system, *editor, [editor] { return editor->Check().running(); });
    std::printf("the check searched %zu states in %.1f s\n", editor->Check().states(),
                editor->Check().seconds());
    return 0;
}

// The title idles as a player leaves it: its bar turns, nothing else moves.
int idle() {
    auto system = startSystem();
    SceneMaster master(*system);
    auto owned = std::make_unique<SceneTitle>(&master, master.Session());
    SceneTitle* title = owned.get();
    master.PushCreated(std::move(owned));
    besideBareSwap(
        *system, "title, idle", [] {},
        [title] {
            title->Update();
            title->Draw();
        });
    return 0;
}

int startup() {
    auto system = startSystem();
    InitAudio();
    LoadAllSounds();
    MainHandler handler;
    auto owned = std::make_unique<Watched>(std::make_unique<SceneCrossHatch>(&handler.master));
    Watched* watched = owned.get();
    handler.master.PushCreated(std::move(owned));
    system->handler = &handler;
    while (!watched->drawn) {
        platform::Event e;
        while (platform::pollEvent(e)) {
        }
        system->PollInput();
        handler.Frame();
    }
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - processStart).count();
    std::printf("process start to first drawn frame: %.1f ms\n", ms);
    FreeAllSounds();
    ShutdownAudio();
    system->handler = nullptr;
    return 0;
}
} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "pacing") return pacing();
    if (mode == "play") return play(argc > 2 ? argv[2] : "");
    if (mode == "edit") return edit();
    if (mode == "startup") return startup();
    if (mode == "idle") return idle();
    const bool help = mode == "--help" || mode == "-h";
    std::fputs(
        "usage: measure_frames pacing|play [STAGE]|edit|startup|idle   (under a display, e.g. xvfb-run -a)\n"
        "  pacing   600 frames of the real loop: how far each interval is from 1/60 s, CPU per frame\n"
        "  play     the play scene's update and draw on STAGE (a full stage by default), and its memory\n"
        "  edit     the editor's update and draw on the same stage\n"
        "  startup  process start to the first drawn frame\n"
        "  idle     CPU per frame of the idle title beside a bare clear and swap\n",
        help ? stdout : stderr);
    return help ? 0 : 2;
}
