#include "game/ui/main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include "game/highscore/highscore_table.h"
#include "game/tree/tree.h"
#include "game/ui/main_window_colours.h"
#include "game/ui/main_window_controls.h"
#include "game/ui/main_window_outside.h"
#include "game/ui/sound_player.h"
#include "game/ui/widgets/bevel_frame.h"
#include "game/ui/widgets/field_widget.h"
#include "game/ui/widgets/font_fit.h"
#include "game/ui/widgets/palette_pictures.h"
#include "game/ui/widgets/tree_canvas_widget.h"

namespace kv {
namespace {

constexpr int kClientWidth = 800;
constexpr int kClientHeight = 600;
constexpr int kFlashMs = 400;

}  // namespace

MainWindow::MainWindow(const MainWindowSetup& setup, QWidget* parent)
    : QWidget(parent), random_(setup.random), treeRandom_(setup.treeRandom), sound_(setup.sound),
      folder_(setup.folder), background_(colours::kWindowBackground)
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
    outside_ = std::make_unique<MainWindowOutside>(*this);
    game_ = std::make_unique<Game>(*outside_, *random_);
    tree_ = std::make_unique<Tree>(*treeCanvas_, *treeRandom_, [] { QCoreApplication::processEvents(); });
    flashTimer_.setSingleShot(true);
    flashTimer_.setInterval(kFlashMs);
    connect(&flashTimer_, &QTimer::timeout, this, [this] { game_->flashTick(); });
    connectButtons();

    // Start-up in its fixed order. The game state starts with its constants and a score of 0.
    outside_->showScore(game_->state().score);
    for (FieldWidget* field : fields_)
        field->setBaseColour(colours::kLightGreen);
    {
        QPalette title = titleLabel_->palette();
        title.setColor(QPalette::WindowText, colours::kLightGreen);
        titleLabel_->setPalette(title);
    }
    treeCanvas_->setBackgroundColour(colours::kLightGreen);
    outside_->drawFrame();
    centreOnScreen();
    // A file that cannot be read counts as a table of blank records.
    game_->state().lowestHighscore = readLowestHighscore(folder_).value_or(0);
    // The first tree and the captions' fonts are made when the window is first exposed, before
    // its first frame is painted: see prepareFirstFrame.
    game_->state().soundOn = true;
    game_->playSound(Sound::ProgramStart, SoundFlags::Async);
}

MainWindow::~MainWindow() = default;

void MainWindow::prepareFirstFrame()
{
    if (firstFramePrepared_)
        return;
    firstFramePrepared_ = true;
    // Measuring the captions loads the font database, and the tree draws a few thousand lines:
    // done here, the window is on the screen as soon as a bare window would be, and its first
    // frame is the same.
    for (QPushButton* button : {startButton_, abortButton_, soundButton_, baseColourButton_, rulesButton_,
                                informationButton_, showTableButton_, resetTableButton_, endButton_})
        fitButtonCaptions(button);
    outside_->regrowTree();
}

void MainWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!firstFramePrepared_ && windowHandle() != nullptr)
        windowHandle()->installEventFilter(this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    // The window's first exposure comes before its first paint.
    if (watched == windowHandle() && event->type() == QEvent::Expose) {
        windowHandle()->removeEventFilter(this);
        prepareFirstFrame();
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::centreOnScreen()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect area = screen->geometry();
    move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // Closed by the window manager: the same as the end button, even with the table still open.
    event->accept();
    endProgram();
}

void MainWindow::setBackground(const QColor& colour)
{
    background_ = colour;
    QPalette title = titleLabel_->palette();
    title.setColor(QPalette::Window, colour);
    titleLabel_->setPalette(title);
    // A new background erases what was drawn on the old one.
    frameVisible_ = false;
    update();
}

void MainWindow::showFrame()
{
    frameVisible_ = true;
    update();
}

void MainWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), background_);
    if (frameVisible_)
        drawBevelFrame(painter);
}

}  // namespace kv
