// Painting of the agent's monitor window: a repaint must cost by the lines that show, never by the length of the
// output line list. Repaints fixed-size windows (offscreen) over the agent's own list holding 50 lines (baselines)
// and holding 204,000 lines, short lines and 16,000-character lines, in the same run, and prints the ratios.
//
//   bench_monitor_paint --bin DIR --root DIR [--repaints N] [--rounds N]
#include "agent/ui/AgentRunLines.h"

#include "agent/Agent.h"

#include "monitor/CMonitorServerOutputWnd.h"
#include "gui/QtPrompter.h"

#include "common/Clock.h"

#include <QApplication>
#include <QImage>
#include <QScrollBar>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

using namespace kv;
using namespace kv::agent;
using Steady = std::chrono::steady_clock;

namespace {

int repaints = 300;
int rounds = 9;

std::string textFor(std::size_t i, std::size_t length) {
    static const char* const kinds[] = {"Log: player joined the match", "WARNING: slow frame", "Karma: adjusted",
                                        "Init: Game engine initialized", "ScriptLog: round timer tick"};
    std::string text = std::string(kinds[i % 5]) + " #" + std::to_string(i) + " ";
    while (text.size() < length)
        text += "abcdefghij klmnopqrst ";
    text.resize(length);
    return text;
}

// Microseconds per repaint over `repaints` repaints.
double measure(monitor::CMonitorServerOutputWnd& window, QImage& image) {
    const auto start = Steady::now();
    for (int i = 0; i < repaints; ++i)
        window.render(&image);
    return std::chrono::duration<double, std::micro>(Steady::now() - start).count() / repaints;
}

void fill(Agent& agent, std::size_t count, std::size_t length, std::size_t longTail) {
    agent.outputLines().clear();
    for (std::size_t i = 0; i < count; ++i)
        agent.outputLines().append(1700000000 + static_cast<std::int64_t>(i / 50),
                                   textFor(i, i + longTail >= count ? 16000 : length), 123456);
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--repaints") && i + 1 < argc)
            repaints = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--rounds") && i + 1 < argc)
            rounds = std::max(1, std::atoi(argv[++i]));
        else if ((!std::strcmp(argv[i], "--bin") || !std::strcmp(argv[i], "--root")) && i + 1 < argc)
            ++i;
    }
    if (!std::getenv("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);

    char folder[] = "/tmp/kvbench-monitor-XXXXXX";
    if (!::mkdtemp(folder)) {
        std::perror("bench_monitor_paint: mkdtemp");
        return 1;
    }
    SystemClock clock;
    AgentEnvironment env;
    env.workDir = folder;
    env.clock = &clock;
    AgentSettings settings = AgentSettings::defaults();
    settings.showMemoryUsage = true; // the widest form of a line: time stamp and memory column
    gui::QtPrompter prompter;

    struct Case {
        const char* name;
        std::size_t count;
        std::size_t longTail; // the newest lines this many are 16,000 characters long
        bool middle;
        int baseline;         // index of the case this one is compared with
        std::unique_ptr<Agent> agent;
        std::unique_ptr<agent::ui::AgentRunLines> lines;
        std::unique_ptr<monitor::CMonitorServerOutputWnd> window;
        double best = 1e300;
    };
    Case cases[] = {{"50 lines of 90 characters (baseline)", 50, 0, false, 0, {}, {}, {}},
                    {"204,000 lines, at the end", 204000, 0, false, 0, {}, {}, {}},
                    {"204,000 lines, scrolled to the middle", 204000, 0, true, 0, {}, {}, {}},
                    {"50 lines of 16,000 characters (baseline)", 50, 50, false, 3, {}, {}, {}},
                    {"204,000 lines, the newest of 16,000 characters", 204000, 200, false, 3, {}, {}, {}}};
    // Each case has its own agent, list and window of the same size, so that the rounds can alternate between
    // them: a busy machine then slows every case alike, and the best round of each is compared.
    for (Case& c : cases) {
        c.agent = std::make_unique<Agent>(env, settings);
        fill(*c.agent, c.count, 90, c.longTail);
        c.lines = std::make_unique<agent::ui::AgentRunLines>(*c.agent, nullptr);
        c.window = std::make_unique<monitor::CMonitorServerOutputWnd>(
            *c.lines, nullptr, monitor::MonitorOptions::forAgent("Bench"), prompter);
        c.window->resize(490, 290);
        c.window->show();
        QCoreApplication::processEvents();
        c.window->refresh(true);
        if (c.middle)
            c.window->scrollBar()->setValue(c.window->scrollBar()->maximum() / 2);
    }
    QImage image(QSize(490, 290), QImage::Format_ARGB32_Premultiplied);
    for (Case& c : cases)
        for (int i = 0; i < 20; ++i) // warm the glyph cache
            c.window->render(&image);
    for (int r = 0; r < rounds; ++r)
        for (Case& c : cases)
            c.best = std::min(c.best, measure(*c.window, image));

    std::printf("repaint of a 490x290 monitor window, %d repaints per round, best of %d rounds\n", repaints, rounds);
    bool ok = true;
    for (const Case& c : cases) {
        const double ratio = c.best / cases[c.baseline].best;
        std::printf("  %-50s %9.1f us  ratio %.2f\n", c.name, c.best, ratio);
        if (ratio >= 1.5)
            ok = false;
    }
    std::printf("target: every ratio under 1.5: %s\n", ok ? "met" : "MISSED");
    for (Case& c : cases) {
        c.window.reset();
        c.agent->outputLines().clear();
    }
    ::rmdir(folder);
    return 0;
}
