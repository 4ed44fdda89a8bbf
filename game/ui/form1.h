// The game's main window: the board, title, score, tree, the button column and the two panels.
#pragma once

#include <QColor>
#include <QTimer>
#include <QWidget>

#include <array>
#include <filesystem>
#include <memory>

#include "rules/board.h"
#include "rules/game.h"
#include "rules/random_source.h"
#include "ui/sound_backend.h"

class QLabel;
class QPushButton;
class QTextEdit;

namespace kv {

class BoardCursor;
class FieldWidget;
class Form1Outside;
class Form2;
class Form3;
class Form4;
class PalettePictures;
class Tree;
class TreeCanvasWidget;

// What the window runs on. Left empty, it makes its own: a clock-seeded generator shared by the
// rules and the tree, the sound player (its module beside the program) and P1.dat in the
// working directory.
struct Form1Setup {
    RandomSource* random = nullptr;
    // A separate source for the tree's shapes, so that a test's scripted numbers feed the rules
    // alone. Defaults to `random`.
    RandomSource* treeRandom = nullptr;
    SoundBackend* sound = nullptr;
    std::filesystem::path folder;
};

class Form1 : public QWidget {
    Q_OBJECT

public:
    // Runs the whole start-up: afterwards the board is empty, the first tree stands and the start
    // sound plays; no game runs.
    explicit Form1(const Form1Setup& setup = {}, QWidget* parent = nullptr);
    ~Form1() override;

    Game& game() { return *game_; }
    const Game& game() const { return *game_; }

    FieldWidget* field(int index) const { return fields_.at(static_cast<std::size_t>(index)); }
    BoardCursor* boardCursor() const { return boardCursor_; }
    TreeCanvasWidget* treeCanvas() const { return picCanvas_; }
    // The three highscore windows are made when one of them is first asked for, so a player who
    // never opens them pays neither time nor memory for them. They stay hidden until shown.
    Form2& highscoreTable();
    Form3& nameEntry();
    Form4& resetQuestion();

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
    friend class Form1Outside;

    void createControls();
    void connectButtons();
    void centreOnScreen();
    void createSecondaryWindows();
    void createPanels();
    void prepareFirstFrame();
    void hidePanels();

    void toggleSound();
    void nextBaseColour();
    void endProgram();

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
    QLabel* lblKarvelo_ = nullptr;
    QLabel* lblPunkte_ = nullptr;
    TreeCanvasWidget* picCanvas_ = nullptr;
    QPushButton* cmdSpielStarten_ = nullptr;
    QPushButton* cmdSpielAbbrechen_ = nullptr;
    QPushButton* cmdTonEinschaltenAusschalten_ = nullptr;
    QPushButton* cmdFelderGrundfarbe_ = nullptr;
    QPushButton* cmdSpielregeln_ = nullptr;
    QPushButton* cmdInformation_ = nullptr;
    QPushButton* cmdHighscoreAnzeigen_ = nullptr;
    QPushButton* cmdHighscoreErneuern_ = nullptr;
    QPushButton* cmdProgrammBeenden_ = nullptr;
    QTextEdit* txtSpielregeln_ = nullptr;
    QTextEdit* txtInformation_ = nullptr;
    QTimer tmrTimer_;

    Form2* form2_ = nullptr;
    Form3* form3_ = nullptr;
    Form4* form4_ = nullptr;

    std::unique_ptr<Tree> tree_;
    std::unique_ptr<Form1Outside> outside_;
    std::unique_ptr<Game> game_;
};

}  // namespace kv
