// How the setup's windows look and take the keyboard: sizes and control positions from dialog
// units, centring by the screen's size, default buttons, the icon and the dialog font.
#include <QAbstractButton>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTest>

#include "tests/setup/program/in_process_fixture.h"

namespace setup::testing {
namespace {

bool isLicencePage(QWidget* w)
{
    return w->findChild<QPlainTextEdit*>() != nullptr;
}
bool isPasswordPrompt(QWidget* w)
{
    return w->findChild<QLineEdit*>() != nullptr;
}

QRect geometryOf(QWidget* window, const QString& caption)
{
    QAbstractButton* button = buttonWithText(window, caption);
    return button ? button->geometry() : QRect();
}

bool isDefault(QWidget* window, const QString& caption)
{
    auto* button = qobject_cast<QPushButton*>(buttonWithText(window, caption));
    return button && button->isDefault();
}

// Left and top are half of what the screen leaves beside the window, rounded down.
void expectCentred(QWidget* window)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect frame = window->frameGeometry();
    EXPECT_EQ(frame.left(), screen.left() + (screen.width() - frame.width()) / 2)
        << window->windowTitle().toStdString();
    EXPECT_EQ(frame.top(), screen.top() + (screen.height() - frame.height()) / 2)
        << window->windowTitle().toStdString();
}

int installerRuns(const std::string& log)
{
    int ends = 0;
    for (const std::string& line : installerLog(log))
        ends += line == "end";
    return ends;
}

TEST_F(InProcessRun, MainWindowLayoutIconFontAndEnterStartingTheInstallation)
{
    mkpackage::PackagePlan plan = programPlan();
    plan.header.welcomeText = "Willkommen";
    QRect install, close, text;
    bool installIsDefault = false, closeIsDefault = true;
    QIcon icon;
    QString fontFamily;
    script.then({"main window opened", [](QWidget* w) { return isMainWindow(w); },
                 [&](QWidget* w) {
                     install = geometryOf(w, "&Installieren");
                     close = geometryOf(w, "&Schließen");
                     text = w->findChild<QLabel*>()->geometry();
                     installIsDefault = isDefault(w, "&Installieren");
                     closeIsDefault = isDefault(w, "&Schließen");
                     icon = w->windowIcon();
                     fontFamily = QFontInfo(w->font()).family();
                     expectCentred(w);
                     keyLater(w, Qt::Key_Return);
                 }});
    EXPECT_EQ(runOn(plan), 0);

    EXPECT_EQ(install, QRect(374, 21, 65, 24));  // 249, 13, 43 x 15 dialog units
    EXPECT_EQ(close, QRect(374, 54, 65, 24));    // 249, 33, 43 x 15
    EXPECT_EQ(text, QRect(26, 8, 342, 122));     // 17, 5, 228 x 75
    EXPECT_TRUE(installIsDefault);
    EXPECT_FALSE(closeIsDefault);
    // Enter pressed Install: the window then closed by itself.
    EXPECT_EQ(installerRuns(log), 2);
    EXPECT_FALSE(exists(workFolder()));

    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.availableSizes(), QList<QSize>{QSize(32, 32)});
    const QImage image = icon.pixmap(QSize(32, 32)).toImage();
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    EXPECT_GT(colours.size(), 1);
    EXPECT_LE(colours.size(), 16);

    // The dialog family itself is not installed; the first of its installed substitutes is used.
    const QStringList substitutes = QFont::substitutes(QStringLiteral("MS Sans Serif"));
    ASSERT_FALSE(substitutes.isEmpty());
    const QStringList installed = QFontDatabase::families();
    for (const QString& family : substitutes) {
        if (!installed.contains(family))
            continue;
        EXPECT_EQ(fontFamily, family);
        break;
    }
}

TEST_F(InProcessRun, LicencePageLayoutAndCentring)
{
    mkpackage::PackagePlan plan = programPlan();
    plan.header.welcomeText = "Hallo";
    plan.header.licenceText = "Lizenz";
    QSize size;
    QRect text, prompt, agree, decline;
    script.then({"main window opened", [](QWidget* w) { return isMainWindow(w); },
                 [](QWidget* w) {
                     expectCentred(w);
                     clickLater(buttonWithText(w, "&Installieren"));
                 }});
    script.then({"licence page", isLicencePage, [&](QWidget* w) {
                     size = w->size();
                     text = w->findChild<QPlainTextEdit*>()->geometry();
                     prompt = w->findChild<QLabel*>()->geometry();
                     agree = geometryOf(w, "Ich stimme zu");
                     decline = geometryOf(w, "&Abbrechen");
                     expectCentred(w);
                     clickLater(buttonWithText(w, "&Abbrechen"));
                 }});
    clickInMain("&Schließen");
    EXPECT_EQ(runOn(plan), 0);
    EXPECT_EQ(size, QSize(473, 255));             // 315 x 157 dialog units
    EXPECT_EQ(text, QRect(14, 11, 444, 177));     // 9, 7, 296 x 109
    EXPECT_EQ(prompt, QRect(15, 200, 446, 36));   // 10, 123, 297 x 22
    EXPECT_EQ(agree, QRect(155, 228, 83, 23));    // 103, 140, 55 x 14
    EXPECT_EQ(decline, QRect(252, 228, 83, 23));  // 168, 140, 55 x 14
    EXPECT_FALSE(exists(log));
}

TEST_F(InProcessRun, PasswordPromptLayoutAndEnterConfirms)
{
    mkpackage::PackagePlan plan = programPlan();
    for (mkpackage::EntryPlan& entry : plan.entries)
        entry.password = "geheim";
    QSize size;
    QRect edit, ok, cancel;
    int prompts = 0;
    script.then({"password prompt", isPasswordPrompt, [&](QWidget* w) {
                     ++prompts;
                     size = w->size();
                     edit = w->findChild<QLineEdit*>()->geometry();
                     ok = geometryOf(w, "&Ok");
                     cancel = geometryOf(w, "&Abbrechen");
                     expectCentred(w);
                     QTest::keyClicks(w->findChild<QLineEdit*>(), "geheim");
                     keyLater(w, Qt::Key_Return);
                 }});
    EXPECT_EQ(runOn(plan), 0);
    EXPECT_EQ(prompts, 1);
    EXPECT_EQ(size, QSize(287, 67));            // 191 x 41 dialog units
    EXPECT_EQ(edit, QRect(8, 10, 272, 20));     // 5, 6, 181 x 12
    EXPECT_EQ(ok, QRect(93, 39, 48, 21));       // 62, 24, 32 x 13
    EXPECT_EQ(cancel, QRect(153, 39, 53, 21));  // 102, 24, 35 x 13
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(installerRuns(log), 2);
    EXPECT_FALSE(exists(workFolder()));
}

TEST_F(InProcessRun, EscapeInThePasswordPromptCancelsTheExtraction)
{
    mkpackage::PackagePlan plan = programPlan();
    plan.entries[1].password = "geheim";
    script.then({"password prompt, typed then Escape", isPasswordPrompt, [](QWidget* w) {
                     QTest::keyClicks(w->findChild<QLineEdit*>(), "geheim");
                     keyLater(w, Qt::Key_Escape);
                 }});
    EXPECT_EQ(runOn(plan), 0);
    // Cancelled, although the typed password was right: the first file stays, nothing ran.
    EXPECT_TRUE(exists(work("KARV10G1.INF")));
    EXPECT_FALSE(exists(work("kv5")));
    EXPECT_FALSE(exists(log));
}

}  // namespace
}  // namespace setup::testing
