// kv5 on a real X server, played with synthesised mouse input the way a player would.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "kv5_session.h"

namespace kv::x11test {
namespace {

using namespace std::chrono_literals;

constexpr int kStartButtonX = 635 + 65;
constexpr int kStartButtonY = 295 + 11;

std::vector<int> fieldsThatAre(const BoardOnScreen& board, FieldLook look)
{
    std::vector<int> found;
    for (int i = 0; i < 81; ++i)
        if (board[i].look == look)
            found.push_back(i);
    return found;
}

class Kv5OnX11 : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        try {
            session_ = new Kv5Session(KV5_PATH, KV_STAGE_DIR);
        } catch (const std::exception& e) {
            setupError_ = e.what();
        }
    }
    static void TearDownTestSuite()
    {
        delete session_;
        session_ = nullptr;
    }
    void SetUp() override
    {
        if (!session_)
            FAIL() << "kv5 could not be brought up on Xvfb: " << setupError_;
    }
    void TearDown() override
    {
        if (HasFailure() && session_)
            std::cerr << "kv5's own output:\n" << session_->gameOutput() << '\n';
    }

    // Starts the game once for all tests that need a running one.
    static BoardOnScreen startedBoard()
    {
        static std::optional<BoardOnScreen> started;
        if (!started) {
            const BoardOnScreen empty = session_->board();
            session_->clickAt(kStartButtonX, kStartButtonY);
            started = session_->boardAfterChange(empty, 10s);
        }
        return *started;
    }

    static Kv5Session* session_;
    static std::string setupError_;
};
Kv5Session* Kv5OnX11::session_ = nullptr;
std::string Kv5OnX11::setupError_;

TEST_F(Kv5OnX11, WindowHasAClientAreaOf800x600)
{
    EXPECT_EQ(session_->window().width, 800);
    EXPECT_EQ(session_->window().height, 600);
}

TEST_F(Kv5OnX11, StartButtonPlacesThreeFields)
{
    const BoardOnScreen board = startedBoard();
    EXPECT_EQ(occupiedFields(board), 3) << describe(board);
    EXPECT_TRUE(fieldsThatAre(board, FieldLook::Blocked).empty()) << describe(board);
}

TEST_F(Kv5OnX11, ClickOnAFilledFieldPlacesMoreFields)
{
    BoardOnScreen board = startedBoard();
    // A click is a fruitless move and adds three fields. A random colour wipe or a stripe the
    // new fields complete can take fields away, so another click gets a second chance.
    std::string attempts;
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::vector<int> filled = fieldsThatAre(board, FieldLook::Coloured);
        ASSERT_FALSE(filled.empty()) << "no plain coloured field to click:\n" << describe(board);
        const int clicked = filled[attempt % filled.size()];
        ASSERT_TRUE(session_->clickField(clicked));
        const BoardOnScreen after = session_->boardAfterChange(board, 5s);
        attempts += "clicked field " + std::to_string(clicked) + ":\n" + describe(board)
                    + "->\n" + describe(after);
        if (occupiedFields(after) > occupiedFields(board))
            return;
        board = after;
    }
    ADD_FAILURE() << "no click on a filled field placed new fields\n" << attempts;
}

TEST_F(Kv5OnX11, DragMovesAFieldOntoAFreeOne)
{
    startedBoard();
    BoardOnScreen board = session_->board();
    // A move that happens to complete a figure clears the moved field, and a random wipe may
    // take its colour: then another pair shows the move.
    std::string attempts;
    for (int attempt = 0; attempt < 4; ++attempt) {
        const std::vector<int> filled = fieldsThatAre(board, FieldLook::Coloured);
        const std::vector<int> free = fieldsThatAre(board, FieldLook::Free);
        ASSERT_FALSE(filled.empty() || free.empty()) << describe(board);
        const int from = filled[attempt % filled.size()];
        const int to = free[(free.size() / 2 + 7 * attempt) % free.size()];
        ASSERT_TRUE(session_->dragField(from, to));
        const BoardOnScreen after = session_->boardAfterChange(board, 5s);
        attempts += "dragged " + std::to_string(from) + " to " + std::to_string(to) + ":\n"
                    + describe(board) + "->\n" + describe(after);
        if (after[from].look == FieldLook::Free && after[to] == board[from])
            return;
        board = after;
    }
    ADD_FAILURE() << "no drag moved a field onto a free one\n" << attempts;
}

} // namespace
} // namespace kv::x11test
