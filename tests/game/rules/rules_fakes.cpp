#include "tests/game/rules/rules_fakes.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace kv::test {

void ScriptedRandom::add(std::initializer_list<double> numbers)
{
    numbers_.insert(numbers_.end(), numbers);
}

double ScriptedRandom::next()
{
    if (numbers_.empty()) {
        ADD_FAILURE() << "scripted random numbers ran dry after trace " << trace_;
        throw std::runtime_error("scripted random numbers ran dry");
    }
    trace_ += 'd';
    const double r = numbers_.front();
    numbers_.pop_front();
    return r;
}

void RecordingOutside::playSound(Sound sound, SoundFlags flags)
{
    static constexpr const char* kNames[] = {"start",   "placed", "stripe", "square",
                                             "blocked", "table",  "over"};
    const std::string name =
        std::string(kNames[static_cast<int>(sound)]) + (flags == SoundFlags::Wait ? " wait" : "");
    view.sounds.push_back(name);
    log.push_back("sound " + name);
}

void RecordingOutside::regrowTree()
{
    ++view.trees;
    log.push_back("tree");
    if (onRegrowTree)
        onRegrowTree();
}

void RecordingOutside::setFlashTimer(bool on)
{
    view.flashing = on;
    log.push_back(on ? "timer on" : "timer off");
}

void RecordingOutside::showScore(int score)
{
    view.score = score;
    log.push_back("score " + std::to_string(score));
}

void RecordingOutside::showStartButton()
{
    view.startButton = true;
    log.push_back("start shown");
}

void RecordingOutside::hideStartButton()
{
    view.startButton = false;
    log.push_back("start hidden");
}

void RecordingOutside::hidePanels()
{
    view.panelsOpen = false;
    log.push_back("panels hidden");
}

void RecordingOutside::setFlashBackground(Rgb c)
{
    log.push_back("background " + std::to_string(c.red) + "," + std::to_string(c.green) + "," +
                  std::to_string(c.blue));
}

void RecordingOutside::fieldChanged(int index)
{
    if (logFields)
        log.push_back("field " + std::to_string(index));
}

void setBoard(Board& board, std::string_view text)
{
    if (text.size() != kFieldCount + kBoardSide)
        throw std::invalid_argument("board text size");
    for (int i = 0; i < kFieldCount; ++i) {
        const char c = text[static_cast<std::size_t>(i + i / kBoardSide)];
        board.clearField(i);
        board.setEnabled(i, true);
        if (c >= '0' && c <= '6') {
            board.fillField(i, static_cast<PaletteIndex>(c - '0'));
        } else if (c == 'J') {
            board.fillField(i, kJokerEntry);
        } else if (c == 'X') {
            board.setPicture(i, kBlockedEntry);
            board.setCode(i, FieldCode(kBlockedCode));
        } else if (c == '*') {
            board.setPicture(i, kFlashEntry);
            board.setCode(i, FieldCode(kMarkedCode));
            board.setDraggable(i, true);
        } else if (c != '.') {
            throw std::invalid_argument("board character");
        }
    }
}

namespace {

char fieldChar(const Field& f)
{
    if (!f.picture)
        return f.code.isFree() ? '.' : '?';
    const PaletteIndex p = *f.picture;
    if (p < kColourCount && f.code == kPaletteCodes[p])
        return static_cast<char>('0' + p);
    if (p == kJokerEntry && f.code == kPaletteCodes[p])
        return 'J';
    if (p == kBlockedEntry && f.code == kBlockedCode)
        return 'X';
    if (p == kFlashEntry && f.code == kMarkedCode)
        return '*';
    return '?';
}

}  // namespace

std::string boardText(const Board& board)
{
    std::string text;
    for (int i = 0; i < kFieldCount; ++i) {
        text += fieldChar(board.field(i));
        if (i % kBoardSide == kBoardSide - 1)
            text += '\n';
    }
    return text;
}

std::string rowsText(const BoardRows& rows)
{
    std::string text;
    for (std::string_view row : rows)
        text += std::string(row) + '\n';
    return text;
}

std::string chequer()
{
    std::string text;
    for (int row = 0; row < kBoardSide; ++row) {
        for (int column = 0; column < kBoardSide; ++column)
            text += static_cast<char>('0' + (row + 2 * column) % kColourCount);
        text += '\n';
    }
    return text;
}

void put(std::string& text, int field, char c)
{
    text.at(static_cast<std::size_t>(field + field / kBoardSide)) = c;
}

}  // namespace kv::test
