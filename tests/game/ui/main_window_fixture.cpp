#include "tests/game/ui/main_window_fixture.h"

#include <fstream>
#include <iterator>
#include <stdlib.h>

namespace kv::test {

std::vector<double> placements(const std::vector<Placement>& fields)
{
    std::vector<double> draws;
    for (const Placement& p : fields) {
        draws.push_back(colour(p.entry));
        draws.push_back(fieldAt(p.index));
    }
    return draws;
}

std::vector<double> placements(std::initializer_list<Placement> fields)
{
    return placements(std::vector<Placement>(fields));
}

std::vector<double> quietRandomEvents()
{
    return {kNoChance, wipeOf(0), kNoChance, fieldAt(0)};
}

void TempFolder::writeTable(const HighscoreTable& table) const
{
    HighscoreFile file(highscoreFile());
    if (!writeHighscoreTable(file, table) || !file.close())
        qFatal("could not write the test's P1.dat");
}

std::string TempFolder::bytes() const
{
    std::ifstream in(highscoreFile(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Play::Play()
{
    folder.writeTable(shippedHighscoreTable());
    window = std::make_unique<MainWindow>(MainWindowSetup{&random, &treeRandom, &sound, folder.path()});
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get()))
        qWarning("the main window did not become active");
}

Play::~Play() = default;

QPushButton* Play::button(const char* name) const
{
    auto* found = window->findChild<QPushButton*>(QString::fromLatin1(name));
    if (found == nullptr)
        qFatal("no button %s", name);
    return found;
}

QLabel* Play::label(const char* name) const
{
    auto* found = window->findChild<QLabel*>(QString::fromLatin1(name));
    if (found == nullptr)
        qFatal("no label %s", name);
    return found;
}

QTextEdit* Play::panel(const char* name) const
{
    // Also makes the panels when the first frame has not been painted yet.
    window->rulesPanel();
    auto* found = window->findChild<QTextEdit*>(QString::fromLatin1(name));
    if (found == nullptr)
        qFatal("no panel %s", name);
    return found;
}

void Play::click(const char* name) const
{
    QTest::mouseClick(button(name), Qt::LeftButton);
}

void Play::drop(int target, int source) const
{
    emit window->field(target)->dropped(target, source);
}

std::string Play::pictures() const
{
    std::string text;
    for (int i = 0; i < kFieldCount; ++i) {
        const auto picture = window->field(i)->picture();
        text += picture ? static_cast<char>('0' + *picture) : '.';
    }
    return text;
}

int Play::picturesShown() const
{
    int count = 0;
    for (const char c : pictures())
        count += c != '.';
    return count;
}

}  // namespace kv::test
