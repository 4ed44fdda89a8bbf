#include "game/rules/game.h"

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

}  // namespace

void Game::dropField(int target, int source)
{
    // A drop delivered during the tree's yield would start a second move
    // inside the first one; the player simply drops again.
    if (moveInProgress_)
        return;
    if (!isFieldIndex(target) || !isFieldIndex(source))
        return;
    const Field& to = board_.field(target);
    const Field& from = board_.field(source);
    // Whether the drag could start was the view's question when the button
    // went down. By the drop the flash timer may have cleared the source;
    // that drop still counts as a move that moves nothing.
    if (!to.enabled || !from.enabled)
        return;

    MoveScope scope(moveInProgress_);
    const auto generation = generation_;

    // Pictures, not codes, decide: a marked field still shows a picture
    // and moves, taking its mark along.
    if (!to.picture && from.picture) {
        const Picture picture = from.picture;
        const FieldCode code = from.code;
        board_.setPicture(target, picture);
        board_.setCode(target, code);
        board_.setDraggable(target, true);
        board_.setPicture(source, std::nullopt);
        board_.setCode(source, FieldCode(kFreeCode));  // stays draggable
        outside_.fieldChanged(target);
        outside_.fieldChanged(source);
    }

    if (runDetectorsUntilHit() || !sameGeneration(generation))
        return;

    placeNewFields();
    if (state_.gameOver || !sameGeneration(generation))
        return;

    if (!runAllDetectors())
        return;
    randomColourWipe();
    randomBlockedField();

    if (!board_.hasFreeField())
        endGame();
}

}  // namespace kv
