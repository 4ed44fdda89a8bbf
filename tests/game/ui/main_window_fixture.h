// A main window on scripted chance, a recording sound back end and a private P1.dat.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <QTextEdit>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "tests/game/rules/draws.h"
#include "game/highscore/highscore_table.h"
#include "game/rules/game.h"
#include "game/ui/main_window.h"
#include "game/ui/sound_backend.h"
#include "game/ui/widgets/field_widget.h"
#include "tests/support/scratch_folder.h"

namespace kv::test {

// Every sound as "sounds/soundN.wav 1" (flags 1: returns at once) or "... 0" (waits).
class RecordingSound : public SoundBackend {
public:
    void play(const QString& file, bool waitUntilFinished) override
    {
        log << file + (waitUntilFinished ? QStringLiteral(" 0") : QStringLiteral(" 1"));
        if (onPlay)
            onPlay(log.back());
    }
    QStringList log;
    std::function<void(const QString&)> onPlay;
};

// Hands out the given numbers in order. Running dry is a broken script, not a result: it stops
// the test program instead of letting a redraw loop spin.
class ScriptedRandom : public RandomSource {
public:
    void add(std::initializer_list<double> numbers) { numbers_.insert(numbers_.end(), numbers); }
    void add(const std::vector<double>& numbers)
    {
        numbers_.insert(numbers_.end(), numbers.begin(), numbers.end());
    }
    double next() override
    {
        if (numbers_.empty())
            qFatal("the scripted random numbers ran dry");
        const double r = numbers_.front();
        numbers_.pop_front();
        return r;
    }
    void reseedFromClock() override {}
    std::size_t remaining() const { return numbers_.size(); }

private:
    std::deque<double> numbers_;
};

// The tree's shapes: deterministic, and different from one regrowth to the next.
class SteppingRandom : public RandomSource {
public:
    double next() override
    {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(state_ >> 11) / 9007199254740992.0;
    }
    void reseedFromClock() override {}

private:
    unsigned long long state_ = 12345;
};

struct Placement {
    int index;
    int entry;
};

// The draws of a start or of the new fields of a move: colour first, then place.
std::vector<double> placements(std::initializer_list<Placement> fields);
std::vector<double> placements(const std::vector<Placement>& fields);
// After a fruitless move that leaves a free field: no random wipe, no blocked field.
std::vector<double> quietRandomEvents();

class TempFolder : public ScratchFolder {
public:
    TempFolder() : ScratchFolder("kv_main_window") {}
    std::filesystem::path highscoreFile() const { return path() / "P1.dat"; }
    void writeTable(const HighscoreTable& table) const;
    std::string bytes() const;
};

// A shown main window in a folder holding the shipped P1.dat.
struct Play {
    Play();
    ~Play();

    QPushButton* button(const char* name) const;
    QLabel* label(const char* name) const;
    QTextEdit* panel(const char* name) const;
    FieldWidget* field(int index) const { return window->field(index); }
    void click(const char* name) const;
    // What the field widgets report when a drag from `source` ends over `target`.
    void drop(int target, int source) const;
    // The pictures of the board in index order: '.' none, '0'-'9' the palette entry.
    std::string pictures() const;
    int picturesShown() const;

    TempFolder folder;
    ScriptedRandom random;
    SteppingRandom treeRandom;
    RecordingSound sound;
    std::unique_ptr<MainWindow> window;
};

}  // namespace kv::test
