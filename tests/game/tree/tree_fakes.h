// A canvas that records what is drawn and a random source that plays a script.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "game/rules/random_source.h"
#include "game/tree/tree_canvas.h"

namespace kv::test {

struct Line {
    int x1, y1, x2, y2;
    int width;  // the line width set when it was drawn
    bool operator==(const Line&) const = default;
};

// Events in the order they happened: "reseed", "clear", "yield", "width N", "line".
using EventLog = std::vector<std::string>;

class RecordingCanvas : public TreeCanvas {
public:
    RecordingCanvas(double width, double height, EventLog& log) : width_(width), height_(height), log_(log) {}

    double innerWidth() const override { return width_; }
    double innerHeight() const override { return height_; }
    void clear() override
    {
        lines.clear();
        log_.push_back("clear");
    }
    void setLineWidth(int pixels) override
    {
        currentWidth = pixels;
        log_.push_back("width " + std::to_string(pixels));
    }
    void drawLine(int x1, int y1, int x2, int y2) override
    {
        lines.push_back({x1, y1, x2, y2, currentWidth});
        log_.push_back("line");
    }

    std::vector<Line> lines;
    int currentWidth = 0;

private:
    double width_;
    double height_;
    EventLog& log_;
};

// Hands out the scripted numbers in order; once they are used up it hands out `fallback`, or
// fails the test when there is none.
class ScriptedRandom : public RandomSource {
public:
    ScriptedRandom(std::vector<double> script, EventLog& log, double fallback = -1)
        : script_(std::move(script)), fallback_(fallback), log_(log)
    {
    }

    double next() override
    {
        ++draws;
        if (used_ < script_.size())
            return script_[used_++];
        if (fallback_ < 0)
            ADD_FAILURE() << "more random numbers drawn than scripted";
        return fallback_ < 0 ? 0.5 : fallback_;
    }
    void reseedFromClock() override { log_.push_back("reseed"); }

    bool scriptUsedUp() const { return used_ == script_.size(); }
    std::size_t draws = 0;

private:
    std::vector<double> script_;
    std::size_t used_ = 0;
    double fallback_;
    EventLog& log_;
};

}  // namespace kv::test
