#include "bench/soak/watching_outside.h"

#include <algorithm>
#include <limits>

#include "game/rules/sounds.h"

namespace kv::soak {
namespace {

constexpr int kScoreLimit = std::numeric_limits<std::int16_t>::max();

bool sameField(const Field& a, const Field& b)
{
    return a.picture == b.picture && a.code == b.code && a.draggable == b.draggable && a.enabled == b.enabled;
}

bool isFilled(FieldKind kind)
{
    return kind == FieldKind::Coloured || kind == FieldKind::Joker;
}

}  // namespace

void WatchingOutside::fault(const std::string& what)
{
    std::string line = place_ + ": " + what;
    if (game_)
        line += "\n" + boardText(game_->board());
    faults_.push_back(std::move(line));
}

void WatchingOutside::gameStarted()
{
    starting_ = false;
    const Board& board = game_->board();
    for (int i = 0; i < kFieldCount; ++i)
        seen_[static_cast<std::size_t>(i)] = board.field(i);
    cleared_.clear();
    marked_.clear();
    blocked_.clear();
    score_ = game_->state().score;
    pendingPoints_ = 0;
    wipeDue_ = false;
    ended_ = false;
    highscoreCalls_ = 0;

    const FieldCounts counts = countFields(board);
    if (counts.of(FieldKind::Coloured) + counts.of(FieldKind::Joker) != 3 ||
        counts.of(FieldKind::Free) != kFieldCount - 3)
        fault("a new game does not begin with three fields on an empty board");
}

void WatchingOutside::fieldChanged(int index)
{
    ++calls_;
    if (!isFieldIndex(index)) {
        fault("a change was reported for field " + std::to_string(index));
        return;
    }
    Field& seen = seen_[static_cast<std::size_t>(index)];
    const Field& now = game_->board().field(index);
    // Emptied as a hit or the timer empties fields; a move leaves its source draggable.
    if (seen.picture && !now.picture && now.code.isFree() && !now.draggable)
        cleared_.push_back({index, seen});
    if (isFilled(classify(seen)) && classify(now) == FieldKind::Marked)
        marked_.push_back({index, seen});
    seen = now;
}

void WatchingOutside::playSound(Sound sound, SoundFlags)
{
    ++calls_;
    if (sound == Sound::Stripe) {
        ++counts_.stripes;
        hitSounded(stripeFault(cleared_), GameState::kStripePoints);
    } else if (sound == Sound::Square) {
        ++counts_.squares;
        hitSounded(squareFault(cleared_), GameState::kSquarePoints);
    } else if (sound == Sound::BlockedField) {
        ++counts_.blockedFields;
    } else if (sound == Sound::GameOver) {
        endReached();
    }
}

void WatchingOutside::hitSounded(const std::optional<std::string>& shapeFault, int points)
{
    if (ended_)
        fault("a hit scored after the end of the game");
    if (pendingPoints_ != 0)
        fault("a hit came before the previous one was scored");
    if (wipeDue_)
        fault("a square went without its colour wipe");
    if (shapeFault)
        fault(*shapeFault);
    cleared_.clear();
    pendingPoints_ = points;
}

void WatchingOutside::showScore(int score)
{
    ++calls_;
    if (starting_) {
        if (score != 0)
            fault("a start shows the score " + std::to_string(score));
        score_ = 0;
        return;
    }
    if (pendingPoints_ == 0) {
        fault("the score changed to " + std::to_string(score) + " without a hit");
    } else {
        const int expected = std::min(kScoreLimit, score_ + pendingPoints_);
        if (score != expected)
            fault("a hit worth " + std::to_string(pendingPoints_) + " took the score from " +
                  std::to_string(score_) + " to " + std::to_string(score));
        if (score_ + pendingPoints_ > kScoreLimit)
            ++counts_.cappedHits;
        wipeDue_ = pendingPoints_ == GameState::kSquarePoints;
    }
    if (score < score_)
        fault("the score fell from " + std::to_string(score_) + " to " + std::to_string(score));
    if (score != game_->state().score)
        fault("the label shows " + std::to_string(score) + " but the score is " +
              std::to_string(game_->state().score));
    pendingPoints_ = 0;
    score_ = score;
}

void WatchingOutside::setFlashTimer(bool on)
{
    ++calls_;
    if (on)
        wipeDone();
    timerOn_ = on;
}

void WatchingOutside::wipeDone()
{
    ++counts_.wipes;
    wipeDue_ = false;
    // One palette entry was wiped, and all of it: no field may still show it.
    if (!marked_.empty()) {
        const Picture wiped = marked_.front().before.picture;
        for (const ClearedField& f : marked_) {
            if (f.before.picture != wiped)
                fault("one wipe marked fields of more than one palette entry");
        }
        for (int i = 0; i < kFieldCount; ++i) {
            if (game_->board().field(i).picture == wiped)
                fault("field " + std::to_string(i) + " kept the wiped entry " + std::to_string(*wiped));
        }
    }
    marked_.clear();
}

void WatchingOutside::timerFired()
{
    for (const ClearedField& f : cleared_) {
        if (classify(f.before) != FieldKind::Marked)
            fault("the flash timer cleared field " + std::to_string(f.index) + ", which was not marked");
    }
    cleared_.clear();
    if (timerOn_)
        fault("the flash timer stayed on after it fired");
    if (countFields(game_->board()).of(FieldKind::Marked) != 0)
        fault("marked fields are left after the flash");
}

void WatchingOutside::endReached()
{
    if (ended_)
        fault("the game ended twice");
    if (countFields(game_->board()).of(FieldKind::Free) != 0)
        fault("the game ended while a field was free");
    ended_ = true;
}

void WatchingOutside::enterHighscore(int score)
{
    ++calls_;
    ++highscoreCalls_;
    ++counts_.highscoreEntries;
    if (!ended_)
        fault("a highscore entry opened before the end of the game");
    if (score != game_->state().score || score <= game_->state().lowestHighscore)
        fault("the highscore entry got " + std::to_string(score) + " for a score of " +
              std::to_string(game_->state().score) + " against a lowest highscore of " +
              std::to_string(game_->state().lowestHighscore));
}

void WatchingOutside::moveStarting()
{
    // Between moves only the flash timer may change the board, and it has been checked.
    cleared_.clear();
    checkBoard();
}

void WatchingOutside::moveDone()
{
    if (pendingPoints_ != 0)
        fault("a hit sounded but was never scored");
    if (wipeDue_)
        fault("a square went without its colour wipe");
    if (!cleared_.empty())
        fault("field " + std::to_string(cleared_.front().index) + " was emptied without a hit");
    if (!marked_.empty())
        fault("fields were marked but the flash timer never started");
    // Each fault is told once; the next move is watched afresh.
    pendingPoints_ = 0;
    wipeDue_ = false;
    cleared_.clear();
    marked_.clear();
    checkBoard();
}

void WatchingOutside::checkBoard()
{
    const Board& board = game_->board();
    for (int i = 0; i < kFieldCount; ++i) {
        if (!sameField(seen_[static_cast<std::size_t>(i)], board.field(i)))
            fault("field " + std::to_string(i) + " changed without being shown");
    }

    const FieldCounts counts = countFields(board);
    if (counts.of(FieldKind::Inconsistent) != 0 || counts.total() != kFieldCount)
        fault("the board's fields are not each free, a colour, a joker, blocked or marked");
    if (game_->state().score != score_ || score_ < 0)
        fault("the score is " + std::to_string(game_->state().score) + " but " + std::to_string(score_) +
              " was shown");

    for (int index : blocked_) {
        if (classify(board.field(index)) != FieldKind::Blocked)
            fault("blocked field " + std::to_string(index) + " did not stay blocked");
    }
    int newlyBlocked = 0;
    for (int i = 0; i < kFieldCount; ++i) {
        if (classify(board.field(i)) == FieldKind::Blocked &&
            std::find(blocked_.begin(), blocked_.end(), i) == blocked_.end()) {
            blocked_.push_back(i);
            ++newlyBlocked;
        }
    }
    if (newlyBlocked > 1)
        fault("one move blocked " + std::to_string(newlyBlocked) + " fields");

    if (!ended_) {
        if (counts.of(FieldKind::Free) == 0)
            fault("no field is free but the game goes on");
        return;
    }
    for (int i = 0; i < kFieldCount; ++i) {
        if (board.field(i).enabled)
            fault("field " + std::to_string(i) + " is still enabled after the end");
    }
    const int entries = game_->state().score > game_->state().lowestHighscore ? 1 : 0;
    if (highscoreCalls_ != entries)
        fault("the end opened the highscore entry " + std::to_string(highscoreCalls_) +
              " times for a score of " + std::to_string(game_->state().score) +
              " against a lowest highscore of " + std::to_string(game_->state().lowestHighscore));
}

}  // namespace kv::soak
