#include "rules/game.h"

namespace kv {
namespace {

// Marks a move as under way for as long as its handler runs, also when it
// leaves early.
class MoveScope {
public:
    explicit MoveScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~MoveScope() { flag_ = false; }
    MoveScope(const MoveScope&) = delete;
    MoveScope& operator=(const MoveScope&) = delete;

private:
    bool& flag_;
};

} // namespace

void Game::picP_DragDrop(int Index, int Source)
{
    // A drop delivered during the tree's yield would start a second move
    // inside the first one; the player simply drops again.
    if (moveInProgress_)
        return;
    if (!isFieldIndex(Index) || !isFieldIndex(Source))
        return;
    const Field& target = board_.field(Index);
    const Field& source = board_.field(Source);
    // Whether the drag could start was the view's question when the button
    // went down. By the drop the flash timer may have cleared the source;
    // that drop still counts as a move that moves nothing.
    if (!target.enabled || !source.enabled)
        return;

    MoveScope scope(moveInProgress_);
    const auto generation = generation_;

    // Pictures, not codes, decide: a marked field still shows a picture
    // and moves, taking its mark along.
    if (!target.picture && source.picture) {
        const Picture picture = source.picture;
        const FieldCode code = source.code;
        board_.setPicture(Index, picture);
        board_.setCode(Index, code);
        board_.setDraggable(Index, true);
        board_.setPicture(Source, std::nullopt);
        board_.setCode(Source, FieldCode(kFreeCode)); // stays draggable
        outside_.fieldChanged(Index);
        outside_.fieldChanged(Source);
    }

    if (runDetectorsUntilHit() || !sameGeneration(generation))
        return;

    Neufelder();
    if (state_.GameOver || !sameGeneration(generation))
        return;

    if (!runAllDetectors())
        return;
    RandomColourWipe();
    RandomBlockedField();

    if (!board_.hasFreeField())
        EndGame();
}

} // namespace kv
