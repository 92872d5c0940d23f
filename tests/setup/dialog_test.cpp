// The setup dialog with real widgets (offscreen): what enables Install and
// Deinstall, the keyboard, and a whole installation through its buttons.
#include "setup/setup_support.h"

#include "QtTestApplication.h"
#include "rcscript/Messages.h"
#include "setup/SetupDialog.h"
#include "setup/SetupMessages.h"
#include "setup/SetupSettings.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace qln::test {
namespace {

namespace fs = std::filesystem;
namespace msg = setup::msg;

// gtest owns the environment.
[[maybe_unused]] const ::testing::Environment* const kQtApplication =
    ::testing::AddGlobalTestEnvironment(new test::QtApplicationEnvironment);

// The real dialog; message boxes and the medium dialog answer from a transcript.
class TestDialog : public setup::SetupDialog {
public:
    using SetupDialog::SetupDialog;
    SetupTranscript transcript;

    void Inform(const std::string& text) override { transcript.informed.push_back(text); }
    bool Ask(const std::string& question) override { return transcript.Answer(question); }
    std::optional<fs::path> AskForMedium(int medium, const std::string&, int, int, const fs::path&) override
    {
        return transcript.AnswerMedium(medium);
    }

    template <class T>
    T* Child(const char* name)
    {
        return findChild<T*>(name);
    }
};

class SetupDialogTest : public ::testing::Test {
protected:
    TempHome home;
};

TEST_F(SetupDialogTest, OpensWithTheDefaultDestinationAndBothChoices)
{
    TestDialog dialog(home.Environment());
    EXPECT_EQ(dialog.Child<QLineEdit>("destination")->text().toStdString(), (home.home() / "qln40").string());
    EXPECT_TRUE(dialog.Child<QCheckBox>("programFiles")->isChecked());
    EXPECT_TRUE(dialog.Child<QCheckBox>("demoFiles")->isChecked());
    EXPECT_TRUE(dialog.Child<QPushButton>("install")->isEnabled());
    EXPECT_FALSE(dialog.Child<QPushButton>("deinstall")->isEnabled());

    setup::SetupRegistry(home.dirs().configHome).Record("4.0", "/opt/qln40");
    TestDialog again(home.Environment());
    EXPECT_TRUE(again.Child<QPushButton>("deinstall")->isEnabled());
}

TEST_F(SetupDialogTest, InstallIsEnabledOnlyForAUsableDestinationAndAChoice)
{
    TestDialog dialog(home.Environment());
    auto* edit = dialog.Child<QLineEdit>("destination");
    auto* install = dialog.Child<QPushButton>("install");
    const std::pair<const char*, bool> cases[] = {
        {"c:\\", false}, {"/opt", true}, {"/op", false}, {"/opt/my qln", false},
        {"~/qln40", true}, {"qln40", true}, {"~qln40", false}, {"./qln40", false}, {"1qln40", false}, {"", false}};
    for (const auto& [text, enabled] : cases) {
        edit->clear();
        QTest::keyClicks(edit, QString::fromUtf8(text));
        EXPECT_EQ(install->isEnabled(), enabled) << '"' << text << '"';
    }
    edit->setText("/opt/qln\t40");
    EXPECT_FALSE(install->isEnabled());
    edit->setText("/opt/qln40");
    QTest::mouseClick(dialog.Child<QCheckBox>("programFiles"), Qt::LeftButton);
    EXPECT_TRUE(install->isEnabled());
    QTest::mouseClick(dialog.Child<QCheckBox>("demoFiles"), Qt::LeftButton);
    EXPECT_FALSE(install->isEnabled());
    QTest::mouseClick(dialog.Child<QCheckBox>("programFiles"), Qt::LeftButton);
    EXPECT_TRUE(install->isEnabled());
}

TEST_F(SetupDialogTest, EnterInstallsEscapeCancelsAndMnemonicsReachTheControls)
{
    TestDialog dialog(home.Environment(BuiltMedium()));
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    auto* edit = dialog.Child<QLineEdit>("destination");
    edit->setText(QString::fromStdString(BuiltMedium().string()));
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(dialog.transcript.informed,
              std::vector<std::string>{qln::msg::Format(msg::SameDirectory, {BuiltMedium().string()})});

    QTest::keyClick(dialog.windowHandle(), Qt::Key_E, Qt::AltModifier);
    // a button's mnemonic clicks it with a short animation
    auto* demoFiles = dialog.Child<QCheckBox>("demoFiles");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !demoFiles->isChecked(); }));
    dialog.Child<QPushButton>("install")->setFocus();
    QTest::keyClick(dialog.windowHandle(), Qt::Key_T, Qt::AltModifier);
    EXPECT_TRUE(edit->hasFocus());

    QSignalSpy rejected(&dialog, &QDialog::rejected);
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(rejected.count(), 1);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(SetupDialogTest, InstallAndDeinstallThroughTheButtons)
{
    TestDialog dialog(home.Environment());
    dialog.show();
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    QTest::mouseClick(dialog.Child<QPushButton>("install"), Qt::LeftButton);
    EXPECT_EQ(accepted.count(), 1);
    EXPECT_EQ(dialog.transcript.informed, std::vector<std::string>{std::string(msg::InstallComplete)});
    EXPECT_EQ(dialog.Child<QProgressBar>("progress")->maximum(), 21);
    EXPECT_EQ(dialog.Child<QProgressBar>("progress")->value(), 21);
    EXPECT_TRUE(dialog.Child<QPushButton>("cancel")->isEnabled());

    TestDialog second(home.Environment());
    second.show();
    auto* deinstall = second.Child<QPushButton>("deinstall");
    ASSERT_TRUE(deinstall->isEnabled());
    QTest::mouseClick(deinstall, Qt::LeftButton);
    EXPECT_FALSE(deinstall->isEnabled());
    EXPECT_EQ(second.Child<QLabel>("status")->text().toStdString(), msg::StatusDeinstalled);
    EXPECT_FALSE(fs::exists(home.home() / "qln40"));
}

}  // namespace
}  // namespace qln::test
