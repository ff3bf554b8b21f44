// The dialogs the diagram core opens (plot type, Y slice, progress), the message boxes of
// the Qt prompts, the splash window and the about box.

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "shell/CoreDialogs.h"
#include "shell/QtPrompts.h"
#include "shell/ShellTestSupport.h"
#include "shell/SplashAbout.h"

namespace karvelo::shell::test {
namespace {

TEST(PlotTypeDialog, PreselectsByTheModelFlagEveryTime) {
  TfrmPlotType dlg;
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Plot type"));
  EXPECT_FALSE(dlg.rb1D->isVisibleTo(&dlg));
  EXPECT_FALSE(dlg.rb1D->isEnabled());
  dlg.Prepare(true);
  EXPECT_EQ(dlg.Chosen(), dtModsec2D);
  dlg.Prepare(false);  // a DAT file after a model: the pseudosection again
  EXPECT_EQ(dlg.Chosen(), dtPseudo);
  dlg.rb2D->setChecked(true);
  EXPECT_EQ(dlg.Chosen(), dtModsec2D);
  dlg.Prepare(false);
  EXPECT_EQ(dlg.Chosen(), dtPseudo);
}

TEST(YSliceDialog, PreselectsTheSliceAfterTheLastOne) {
  TfrmSelectY dlg;
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Select Y"));
  const std::vector<double> ys = {0, 2.5, 5};
  const struct {
    int last;
    int preselected;
  } cases[] = {{0, 1}, {1, 2}, {2, 3}, {3, 1}, {7, 1}};
  for (const auto& c : cases) {
    dlg.Prepare(ys, c.last);
    EXPECT_EQ(dlg.Chosen(), c.preselected) << "last " << c.last;
  }
  EXPECT_EQ(dlg.lstY->item(1)->text(), QStringLiteral("2.5"));
}

TEST(YSliceDialog, ArrowKeysStepAndEnterConfirms) {
  TfrmSelectY dlg;
  dlg.Prepare({1, 2, 3}, 0);
  dlg.show();
  const auto press = [&](Qt::Key key) {
    QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(dlg.lstY, &e);
  };
  press(Qt::Key_Right);
  press(Qt::Key_Right);
  press(Qt::Key_Right);  // stays on the last
  EXPECT_EQ(dlg.Chosen(), 3);
  press(Qt::Key_Left);
  EXPECT_EQ(dlg.Chosen(), 2);
  press(Qt::Key_Return);
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(dlg.Chosen(), 2);
}

TEST(WorkingBox, BarRunsToTenAndStartsOver) {
  TfrmWorking box;
  EXPECT_EQ(box.windowTitle(), QStringLiteral("Working"));
  box.Reset();
  EXPECT_TRUE(box.isVisible());
  EXPECT_EQ(box.Position(), 0);
  for (int i = 1; i <= 10; ++i) box.Update();
  EXPECT_EQ(box.Position(), 10);
  box.Update();
  EXPECT_EQ(box.Position(), 0);
  EXPECT_TRUE(box.closeTimer.isActive());
  EXPECT_EQ(box.closeTimer.interval(), 2500);
  box.closeTimer.setInterval(0);
  box.closeTimer.start();
  QElapsedTimer clock;
  clock.start();
  while (box.isVisible() && clock.elapsed() < 5000) QApplication::processEvents();
  EXPECT_FALSE(box.isVisible());
}

// Answers the next modal box from inside its event loop and records what it said.
struct BoxWatcher {
  QString text;
  QString title;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  void Answer(QMessageBox::StandardButton button) {
    QTimer::singleShot(0, [this, button] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      text = box->text();
      title = box->windowTitle();
      icon = box->icon();
      box->button(button)->click();
    });
  }
};

TEST(QtPromptBoxes, ShowTheTextWithPlainLineBreaks) {
  QWidget parent;
  TfrmPlotType plotType;
  TfrmSelectY selectY;
  TfrmWorking working;
  QtPrompts prompts(&parent, &plotType, &selectY, &working);
  BoxWatcher watcher;
  watcher.Answer(QMessageBox::Ok);
  prompts.Message("ERROR: Min and max values must be larger\n\r than zero", MessageKind::Error);
  EXPECT_EQ(watcher.text, QStringLiteral("ERROR: Min and max values must be larger\n than zero"));
  EXPECT_EQ(watcher.icon, QMessageBox::Critical);

  watcher.Answer(QMessageBox::No);
  EXPECT_FALSE(prompts.AskYesNo("Are you sure you want to change the array type?"));
  EXPECT_EQ(watcher.text, QStringLiteral("Are you sure you want to change the array type?"));
  EXPECT_EQ(watcher.icon, QMessageBox::Question);
  watcher.Answer(QMessageBox::Yes);
  EXPECT_TRUE(prompts.AskYesNo("Again?"));
  watcher.Answer(QMessageBox::Cancel);
  EXPECT_EQ(prompts.AskYesNoCancel("Save?"), Answer::Cancel);

  // The plot type question is the program's dialog.
  QTimer::singleShot(0, [&] { plotType.accept(); });
  EXPECT_EQ(prompts.AskPlotType(true), dtModsec2D);
  QTimer::singleShot(0, [&] { selectY.accept(); });
  EXPECT_EQ(prompts.AskYSlice({1, 2, 3}, 1), 2);
  prompts.ProgressReset();
  EXPECT_TRUE(working.isVisible());
}

TEST(SplashAndAbout, ShowVersionAndAuthors) {
  TfrmSplash splash(nullptr, 60000);
  TfrmAbout about;
  EXPECT_EQ(about.windowTitle(), QStringLiteral("About..."));
  for (QWidget* w : {static_cast<QWidget*>(&splash), static_cast<QWidget*>(&about)}) {
    auto* version = w->findChild<QLabel*>(QStringLiteral("lblVersion"));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), QStringLiteral("2.20.00"));
    auto* authors = w->findChild<QLabel*>(QStringLiteral("lblAuthors"));
    ASSERT_NE(authors, nullptr);
    EXPECT_TRUE(authors->text().contains(QStringLiteral("-") + ProgramYear()));
  }
  EXPECT_EQ(ProgramYear().size(), 4);
  EXPECT_TRUE(splash.windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST(SplashAndAbout, SplashClosesItself) {
  TfrmSplash splash(nullptr, 10);
  splash.show();
  QElapsedTimer clock;
  clock.start();
  while (splash.isVisible() && clock.elapsed() < 5000) QApplication::processEvents();
  EXPECT_FALSE(splash.isVisible());
}

}  // namespace
}  // namespace karvelo::shell::test
