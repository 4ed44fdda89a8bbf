// The game's main window: the board, title, score, tree, the button column and the two panels.
#pragma once

#include <QColor>
#include <QTimer>
#include <QWidget>

#include <array>
#include <filesystem>
#include <memory>

#include "game/rules/board.h"
#include "game/rules/game.h"
#include "game/rules/random_source.h"
#include "game/ui/sound_backend.h"

class QLabel;
class QPushButton;
class QTextEdit;

namespace kv {

class BoardCursor;
class FieldWidget;
class MainWindowOutside;
class HighscoreTableWindow;
class NameEntryWindow;
class ResetQuestion;
class PalettePictures;
class Tree;
class TreeCanvasWidget;

// What the window runs on. Left empty, it makes its own: a clock-seeded generator shared by the
// rules and the tree, the sound player (its module beside the program) and P1.dat in the
// working directory.
struct MainWindowSetup {
    RandomSource* random = nullptr;
    // A separate source for the tree's shapes, so that a test's scripted numbers feed the rules
    // alone. Defaults to `random`.
    RandomSource* treeRandom = nullptr;
    SoundBackend* sound = nullptr;
    std::filesystem::path folder;
};

class MainWindow : public QWidget {
    Q_OBJECT

public:
    // Runs the whole start-up: afterwards the board is empty, the first tree stands and the start
    // sound plays; no game runs.
    explicit MainWindow(const MainWindowSetup& setup = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    Game& game() { return *game_; }
    const Game& game() const { return *game_; }

    FieldWidget* field(int index) const { return fields_.at(static_cast<std::size_t>(index)); }
    BoardCursor* boardCursor() const { return boardCursor_; }
    TreeCanvasWidget* treeCanvas() const { return treeCanvas_; }
    // The three highscore windows are made when one of them is first asked for, so a player who
    // never opens them pays neither time nor memory for them. They stay hidden until shown.
    HighscoreTableWindow& highscoreTable();
    NameEntryWindow& nameEntry();
    ResetQuestion& resetQuestion();

    // The rules and information panels are made together when one of them is first asked for,
    // for the same reason. Both start hidden.
    QTextEdit* rulesPanel();
    QTextEdit* informationPanel();

    // Window and title label, RGB(0,128,0) until the first flash.
    QColor background() const { return background_; }
    bool frameVisible() const { return frameVisible_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    friend class MainWindowOutside;

    // main_window_controls.cpp: making the controls, the late ones when first asked for.
    void createControls();
    void createSecondaryWindows();
    void createPanels();
    void hidePanels();

    // main_window_commands.cpp: what the buttons and fields do.
    void connectButtons();
    void toggleSound();
    void nextBaseColour();
    void endProgram();

    // main_window.cpp: the window itself, its place, background, frame and first frame.
    void centreOnScreen();
    void prepareFirstFrame();
    void setBackground(const QColor& colour);
    void showFrame();

    std::unique_ptr<RandomSource> ownRandom_;
    std::unique_ptr<SoundBackend> ownSound_;
    RandomSource* random_ = nullptr;
    RandomSource* treeRandom_ = nullptr;
    SoundBackend* sound_ = nullptr;
    std::filesystem::path folder_;

    QColor background_;
    bool frameVisible_ = false;
    bool firstFramePrepared_ = false;

    std::unique_ptr<PalettePictures> pictures_;
    std::array<FieldWidget*, kFieldCount> fields_{};
    BoardCursor* boardCursor_ = nullptr;
    QLabel* titleLabel_ = nullptr;
    QLabel* scoreLabel_ = nullptr;
    TreeCanvasWidget* treeCanvas_ = nullptr;
    QPushButton* startButton_ = nullptr;
    QPushButton* abortButton_ = nullptr;
    QPushButton* soundButton_ = nullptr;
    QPushButton* baseColourButton_ = nullptr;
    QPushButton* rulesButton_ = nullptr;
    QPushButton* informationButton_ = nullptr;
    QPushButton* showTableButton_ = nullptr;
    QPushButton* resetTableButton_ = nullptr;
    QPushButton* endButton_ = nullptr;
    QTextEdit* rulesPanel_ = nullptr;
    QTextEdit* informationPanel_ = nullptr;
    QTimer flashTimer_;

    HighscoreTableWindow* highscoreTable_ = nullptr;
    NameEntryWindow* nameEntry_ = nullptr;
    ResetQuestion* resetQuestion_ = nullptr;

    std::unique_ptr<Tree> tree_;
    std::unique_ptr<MainWindowOutside> outside_;
    std::unique_ptr<Game> game_;
};

}  // namespace kv
