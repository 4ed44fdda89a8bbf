#include "ui/form1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>
#include <QWindow>

#include "highscore/form2.h"
#include "highscore/form3.h"
#include "highscore/form4.h"
#include "highscore/highscore_table.h"
#include "rules/sounds.h"
#include "tree/tree.h"
#include "ui/base_colour.h"
#include "ui/form1_colours.h"
#include "ui/form1_controls.h"
#include "ui/form1_outside.h"
#include "ui/info_panels.h"
#include "ui/sound_player.h"
#include "ui/widgets/bevel_frame.h"
#include "ui/widgets/board_cursor.h"
#include "ui/widgets/field_widget.h"
#include "ui/widgets/font_fit.h"
#include "ui/widgets/palette_pictures.h"
#include "ui/widgets/tree_canvas_widget.h"

namespace kv {
namespace {

constexpr int kClientWidth = 800;
constexpr int kClientHeight = 600;
constexpr int kFlashMs = 400;

const QString kSoundOffCaption = QStringLiteral("Ton &einschalten");
const QString kSoundOnCaption = QStringLiteral("Ton &ausschalten");

}  // namespace

Form1::Form1(const Form1Setup& setup, QWidget* parent)
    : QWidget(parent),
      random_(setup.random),
      treeRandom_(setup.treeRandom),
      sound_(setup.sound),
      folder_(setup.folder),
      background_(colours::kWindowBackground)
{
    if (random_ == nullptr) {
        ownRandom_ = std::make_unique<ClockRandom>();
        random_ = ownRandom_.get();
    }
    if (treeRandom_ == nullptr)
        treeRandom_ = random_;
    if (sound_ == nullptr) {
        // Cheap until the first sound: the audio system is loaded on the player's own thread.
        ownSound_ = std::make_unique<SoundPlayer>();
        sound_ = ownSound_.get();
    }

    setWindowTitle(QString());
    setFixedSize(kClientWidth, kClientHeight);
    setFont(QFont(QString::fromLatin1(kWindowFontFamily), 24));
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, colours::kWindowForeground);
    setPalette(palette);
    // paintEvent fills every pixel itself.
    setAttribute(Qt::WA_OpaquePaintEvent);

    createControls();
    outside_ = std::make_unique<Form1Outside>(*this);
    game_ = std::make_unique<Game>(*outside_, *random_);
    tree_ = std::make_unique<Tree>(*picCanvas_, *treeRandom_,
                                   [] { QCoreApplication::processEvents(); });
    tmrTimer_.setSingleShot(true);
    tmrTimer_.setInterval(kFlashMs);
    connect(&tmrTimer_, &QTimer::timeout, this, [this] { game_->tmrTimer_Timer(); });
    connectButtons();

    // Start-up in its fixed order. The game state starts with its constants and a score of 0.
    outside_->showScore(game_->state().Score);
    for (FieldWidget* field : fields_)
        field->setBaseColour(colours::kLightGreen);
    {
        QPalette title = lblKarvelo_->palette();
        title.setColor(QPalette::WindowText, colours::kLightGreen);
        lblKarvelo_->setPalette(title);
    }
    picCanvas_->setBackgroundColour(colours::kLightGreen);
    outside_->drawFrame();
    centreOnScreen();
    // A file that cannot be read counts as a table of blank records.
    game_->state().LowestHighscore = readLowestHighscore(folder_).value_or(0);
    // The first tree and the captions' fonts are made when the window is first exposed, before
    // its first frame is painted: see prepareFirstFrame.
    game_->state().SoundOn = true;
    game_->PlaySound(kSoundProgramStart, SoundFlags::Async);
}

Form1::~Form1() = default;

void Form1::createControls()
{
    pictures_ = std::make_unique<PalettePictures>(devicePixelRatioF());
    for (int i = 0; i < kFieldCount; ++i) {
        auto* field = new FieldWidget(i, *pictures_, this);
        field->setObjectName(QStringLiteral("picP%1").arg(i));
        field->setGeometry(37 + 63 * (i % kBoardSide), 17 + 63 * (i / kBoardSide), 62, 62);
        fields_.at(static_cast<std::size_t>(i)) = field;
    }
    lblKarvelo_ = makeTitleLabel(this);
    lblPunkte_ = makeScoreLabel(this);
    picCanvas_ = new TreeCanvasWidget(this);
    picCanvas_->setObjectName(QStringLiteral("picCanvas"));
    picCanvas_->setGeometry(624, 125, kTreeCanvasSize, kTreeCanvasSize);
    picCanvas_->setForegroundColour(colours::kTreeLines);

    cmdSpielStarten_ = makeColumnButton(this, "cmdSpielStarten", QStringLiteral("Spiel &starten"), 295);
    cmdSpielAbbrechen_ = makeColumnButton(this, "cmdSpielAbbrechen", QStringLiteral("Spiel &abbrechen"), 322);
    cmdTonEinschaltenAusschalten_ = makeColumnButton(this, "cmdTonEinschaltenAusschalten",
                                                     QStringLiteral("&Ton ausschalten"), 349);
    cmdFelderGrundfarbe_ = makeColumnButton(this, "cmdFelderGrundfarbe",
                                            QStringLiteral("&Feldergrundfarbe ändern"), 376);
    cmdSpielregeln_ = makeColumnButton(this, "cmdSpielregeln", QStringLiteral("Spiel&regeln"), 403);
    cmdInformation_ = makeColumnButton(this, "cmdInformation", QStringLiteral("&Information"), 430);
    cmdHighscoreAnzeigen_ = makeColumnButton(this, "cmdHighscoreAnzeigen",
                                             QStringLiteral("Highscore an&zeigen"), 457);
    cmdHighscoreErneuern_ = makeColumnButton(this, "cmdHighscoreErneuern",
                                             QStringLiteral("Highscore er&neuern"), 484);
    cmdProgrammBeenden_ = makeColumnButton(this, "cmdProgrammBeenden", QStringLiteral("Programm &beenden"), 538);
    // Made after the buttons: it is the last stop of the Tab order and lies over the fields.
    boardCursor_ = new BoardCursor(fields_, this);
    boardCursor_->setObjectName(QStringLiteral("boardCursor"));
}

void Form1::createPanels()
{
    if (txtSpielregeln_ != nullptr)
        return;
    // Made after every other control, so they lie over the board.
    txtSpielregeln_ = makeRulesPanel(this);
    txtInformation_ = makeInformationPanel(this);
}

Form2& Form1::highscoreTable()
{
    createSecondaryWindows();
    return *form2_;
}

Form3& Form1::nameEntry()
{
    createSecondaryWindows();
    return *form3_;
}

Form4& Form1::resetQuestion()
{
    createSecondaryWindows();
    return *form4_;
}

void Form1::prepareFirstFrame()
{
    if (firstFramePrepared_)
        return;
    firstFramePrepared_ = true;
    // Measuring the captions loads the font database, and the tree draws a few thousand lines:
    // done here, the window is on the screen as soon as a bare window would be, and its first
    // frame is the same.
    for (QPushButton* button : {cmdSpielStarten_, cmdSpielAbbrechen_, cmdTonEinschaltenAusschalten_,
                                cmdFelderGrundfarbe_, cmdSpielregeln_, cmdInformation_,
                                cmdHighscoreAnzeigen_, cmdHighscoreErneuern_, cmdProgrammBeenden_})
        fitButtonCaptions(button);
    outside_->regrowTree();
}

void Form1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!firstFramePrepared_ && windowHandle() != nullptr)
        windowHandle()->installEventFilter(this);
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    // The window's first exposure comes before its first paint.
    if (watched == windowHandle() && event->type() == QEvent::Expose) {
        windowHandle()->removeEventFilter(this);
        prepareFirstFrame();
    }
    return QWidget::eventFilter(watched, event);
}

QTextEdit* Form1::rulesPanel()
{
    createPanels();
    return txtSpielregeln_;
}

QTextEdit* Form1::informationPanel()
{
    createPanels();
    return txtInformation_;
}

void Form1::hidePanels()
{
    // Panels not made yet are hidden already.
    if (txtSpielregeln_ == nullptr)
        return;
    txtInformation_->hide();
    txtSpielregeln_->hide();
}

void Form1::connectButtons()
{
    // The mouse and the keyboard hand their moves to the same handler.
    const auto drop = [this](int target, int source) { game_->picP_DragDrop(target, source); };
    for (FieldWidget* field : fields_) {
        connect(field, &FieldWidget::dropped, this, drop);
        // A press during the tree's yield would start a drag whose drop the game ignores.
        field->setDragGate([this] { return !game_->moveInProgress(); });
    }
    connect(boardCursor_, &BoardCursor::dropped, this, drop);
    connect(cmdSpielStarten_, &QPushButton::clicked, this, [this] { game_->StartGame(); });
    connect(cmdSpielAbbrechen_, &QPushButton::clicked, this, [this] { game_->AbortGame(); });
    connect(cmdTonEinschaltenAusschalten_, &QPushButton::clicked, this, &Form1::toggleSound);
    connect(cmdFelderGrundfarbe_, &QPushButton::clicked, this, &Form1::nextBaseColour);
    connect(cmdSpielregeln_, &QPushButton::clicked, this,
            [this] { togglePanel(rulesPanel(), informationPanel()); });
    connect(cmdInformation_, &QPushButton::clicked, this,
            [this] { togglePanel(informationPanel(), rulesPanel()); });
    connect(cmdHighscoreAnzeigen_, &QPushButton::clicked, this, [this] {
        game_->PlaySound(kSoundHighscoreTable, SoundFlags::Async);
        highscoreTable().displayTable();
    });
    connect(cmdHighscoreErneuern_, &QPushButton::clicked, this, [this] { resetQuestion().ask(); });
    connect(cmdProgrammBeenden_, &QPushButton::clicked, this, &Form1::endProgram);
}

void Form1::centreOnScreen()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect area = screen->geometry();
    move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
}

void Form1::createSecondaryWindows()
{
    if (form2_ != nullptr)
        return;
    // Each centres itself and draws its own frame; all stay hidden until asked for.
    form2_ = new Form2(folder_, this);
    form3_ = new Form3(*form2_, folder_, this);
    form4_ = new Form4(*form2_, folder_, this);
}

void Form1::toggleSound()
{
    // The caption is the state the player sees, so it decides.
    const bool switchingOff = cmdTonEinschaltenAusschalten_->text() != kSoundOffCaption;
    cmdTonEinschaltenAusschalten_->setText(switchingOff ? kSoundOffCaption : kSoundOnCaption);
    game_->state().SoundOn = !switchingOff;
}

void Form1::nextBaseColour()
{
    const auto next = kv::nextBaseColour(fields_[0]->baseColour());
    if (!next)
        return;
    for (FieldWidget* field : fields_)
        field->setBaseColour(*next);
}

void Form1::endProgram()
{
    // Nothing is stored: a running game and an open name entry are dropped.
    QCoreApplication::quit();
}

void Form1::closeEvent(QCloseEvent* event)
{
    // Closed by the window manager: the same as the end button, even with the table still open.
    event->accept();
    endProgram();
}

void Form1::setBackground(const QColor& colour)
{
    background_ = colour;
    QPalette title = lblKarvelo_->palette();
    title.setColor(QPalette::Window, colour);
    lblKarvelo_->setPalette(title);
    // A new background erases what was drawn on the old one.
    frameVisible_ = false;
    update();
}

void Form1::showFrame()
{
    frameVisible_ = true;
    update();
}

void Form1::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), background_);
    if (frameVisible_)
        drawBevelFrame(painter);
}

}  // namespace kv
