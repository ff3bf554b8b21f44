// The diagram window: the picture of the demo survey and of a model, palette, type and
// font changes that redraw, the error banner, dropped re-entrant drawings, the first and
// later drawings, the palette menu and the arrow keys of 3-D data.

#include <QKeyEvent>
#include <QMenu>
#include <fstream>

#include "base/Files.h"
#include "input/QvMath.h"
#include "render/DrawLayer.h"
#include "shell/ShellTestSupport.h"

namespace karvelo::shell::test {
namespace {

using ChildWindow = ShellTest;

// A pixel inside the coloured diagram of the last drawing that shows plot colour n
// (1..11) of the window's palette, with that n; n = 0 when there is none.
struct PlotPixel {
  QPoint at;
  int n = 0;
};
PlotPixel FindPlotPixel(const TfrmMDIChild& child) {
  const QImage picture = child.Picture();
  for (int y = (PlotY0 + PlotY1) / 2; y < PlotY1; ++y) {
    for (int x = PlotX0 + 1; x < PlotX1; ++x) {
      const QRgb c = picture.pixel(x, y) | 0xFF000000u;
      for (int n = 1; n <= 11; ++n) {
        if (c == PlotColour(child.Palette(), n)) return {QPoint(x, y), n};
      }
    }
  }
  return {};
}

// How many of the eleven plot colours 1..11 of the palette the picture shows.
int PlotColoursShown(const TfrmMDIChild& child) {
  const std::set<QRgb> colours = ColoursOf(child.Picture());
  int n = 0;
  for (int c = 1; c <= 11; ++c) n += colours.count(PlotColour(child.Palette(), c)) ? 1 : 0;
  return n;
}

TEST_F(ChildWindow, DemoSurveyIsDrawnInThePaletteColours) {
  TfrmMDIChild* child = Frame().OpenFile(Copy("resources/demo/DEMODATA.DAT"));
  ASSERT_NE(child, nullptr);
  ASSERT_FALSE(child->ShowsErrorBanner()) << (prompts.texts.empty() ? "" : prompts.texts[0]);
  const QImage picture = child->Picture();
  if (qEnvironmentVariableIsSet("KARVELO_DUMP")) picture.save(qEnvironmentVariable("KARVELO_DUMP"));
  EXPECT_EQ(picture.size(), child->size());
  ASSERT_LT(PlotX0, PlotX1);
  ASSERT_LT(PlotY0, PlotY1);
  // The section is filled with the plot colours of the classic palette.
  EXPECT_GE(PlotColoursShown(*child), 6);
  EXPECT_GT(FindPlotPixel(*child).n, 0);
  // Above the title block and below the legend the page stays white.
  EXPECT_EQ(picture.pixel(picture.width() / 2, 2) | 0xFF000000u, qRgb(255, 255, 255));
  // Loading wrote the companion files beside the copy.
  EXPECT_TRUE(FileExistsNoCase(InDir("DEMODATA.inf")));
  EXPECT_TRUE(FileExistsNoCase(InDir("DEMODATA.RLF")));
  EXPECT_TRUE(SameTextNoCase(child->Diagram()->RhoFilename(), "DEMODATA.rho"));
}

TEST_F(ChildWindow, PaletteMenuListsThePaletteFolder) {
  QDir().mkpath(dir.filePath(QStringLiteral("pal")));
  std::ofstream(InDir("pal/Jet.pal")) << "2\n255 0 0\n0 0 255\n";
  std::ofstream(InDir("pal/GREY1.PAL")) << "1\n128 128 128\n";
  std::ofstream(InDir("pal/notes.txt")) << "not a palette\n";
  SetPaletteFolder(InDir("pal"));
  TfrmMDIChild* child = Frame().OpenFile(Copy("resources/demo/DEMODATA.DAT"));
  ASSERT_NE(child, nullptr);
  QStringList captions;
  for (QAction* a : child->mnuPlotPalette->actions()) captions << a->text();
  EXPECT_EQ(captions, (QStringList{QStringLiteral("GREY1"), QStringLiteral("JET")}));
  // classic.pal is not in this folder: its absence was told once.
  const int draws = child->DrawCount();
  ASSERT_TRUE(child->PickPalette(1));
  EXPECT_EQ(child->PaletteFile(), "JET.pal");
  EXPECT_EQ(child->DrawCount(), draws + 1);
  EXPECT_TRUE(child->mnuPlotPalette->actions()[1]->isChecked());
  EXPECT_FALSE(child->mnuPlotPalette->actions()[0]->isChecked());
  // Jet.pal's two colours repeat through the table: entry 16 n alternates.
  EXPECT_EQ(child->Palette()[0], MakeRgb(255, 0, 0));
  EXPECT_EQ(child->Palette()[17], MakeRgb(0, 0, 255));
  EXPECT_FALSE(child->PickPalette(5));
}

TEST_F(ChildWindow, AnotherPaletteRecoloursTheSameDiagram) {
  TfrmMDIChild* child = Frame().OpenFile(Copy("resources/demo/DEMODATA.DAT"));
  ASSERT_NE(child, nullptr);
  ASSERT_EQ(child->PaletteFile(), "classic.pal");
  const PlotPixel before = FindPlotPixel(*child);
  ASSERT_GT(before.n, 0);
  int grey = -1;
  const QList<QAction*> entries = child->mnuPlotPalette->actions();
  for (int i = 0; i < entries.size(); ++i) {
    if (entries[i]->text() == QStringLiteral("GREY")) grey = i;
  }
  ASSERT_GE(grey, 0);
  ASSERT_TRUE(child->PickPalette(grey));
  // The same pixel keeps its colour index and takes the grey palette's colour.
  const QRgb after = child->Picture().pixel(before.at) | 0xFF000000u;
  EXPECT_EQ(after, PlotColour(child->Palette(), before.n));
  EXPECT_EQ(qRed(after), qGreen(after));
  EXPECT_EQ(qGreen(after), qBlue(after));
  EXPECT_GE(PlotColoursShown(*child), 6);
}

TEST_F(ChildWindow, TypeAndFontChangesRedraw) {
  TfrmMDIChild* child = Frame().OpenFile(Copy("resources/demo/DEMODATA.DAT"));
  ASSERT_NE(child, nullptr);
  EXPECT_TRUE(child->mnuTypePseudo->isChecked());
  int draws = child->DrawCount();
  // A 1D section: no model is built when the user declines, and the pseudosection shows.
  prompts.defaultAnswer = Answer::No;
  child->DrawModsec1d();
  EXPECT_EQ(child->DrawCount(), ++draws);
  EXPECT_FALSE(child->mnuType2D->isChecked());
  EXPECT_EQ(child->mnuTypePseudo->isChecked(), child->Diagram()->DiagramType() == dtPseudo);
  child->DrawModsec2d();
  EXPECT_EQ(child->DrawCount(), ++draws);
  EXPECT_TRUE(child->mnuType2D->isChecked());
  EXPECT_EQ(child->Diagram()->DiagramType(), dtModsec2D);
  child->DrawPseudo();
  EXPECT_EQ(child->DrawCount(), ++draws);
  EXPECT_TRUE(child->mnuTypePseudo->isChecked());

  QFont chosen(QStringLiteral("Liberation Serif"), 20);
  chosen.setBold(true);
  child->ApplyFont(chosen);
  EXPECT_EQ(child->DrawCount(), ++draws);
  EXPECT_EQ(Frame().FDrawingFont.family(), QStringLiteral("Liberation Serif"));
  EXPECT_EQ(Frame().FDrawingFont.pointSize(), 12);  // the size is always 12
  // The drawing sizes its text from the window width: round(width x 0.03 x 2/3).
  EXPECT_EQ(graphtype.FontSize, static_cast<int>(RoundHalfEven(child->width() * 0.03 * 2.0 / 3.0)));
}

TEST_F(ChildWindow, AFailedDrawingShowsTheBannerUntilACommandTriesAgain) {
  TfrmMDIChild* child = Frame().OpenFile(Copy("resources/demo/DEMODATA.DAT"));
  ASSERT_NE(child, nullptr);
  ASSERT_FALSE(child->ShowsErrorBanner());
  // A depth label step of 0 leaves the page without a depth scale.
  const double step = child->Diagram()->DepthLabel();
  child->Diagram()->SetDepthLabel(0);
  child->Redraw();
  EXPECT_TRUE(child->ShowsErrorBanner());
  EXPECT_EQ(child->Picture().size(), QSize(239, 25));
  ASSERT_FALSE(prompts.messages.empty());
  EXPECT_EQ(prompts.messages.back().text,
            "Cannot plot diagram! Please check input files and diagram settings ...");
  // Plain redraws leave it failed without telling again, even once the cause is gone.
  const std::size_t told = prompts.messages.size();
  child->Diagram()->SetDepthLabel(step);
  child->Redraw();
  EXPECT_TRUE(child->ShowsErrorBanner());
  EXPECT_EQ(prompts.messages.size(), told);
  // Choosing a palette clears the failure and draws again.
  ASSERT_TRUE(child->PickPalette(0));
  EXPECT_FALSE(child->ShowsErrorBanner());
  EXPECT_EQ(child->Picture().size(), child->size());
}

// Prompts that, while the drawing waits for the Y slice, ask the window to draw again,
// as a resize or a key handled during the question would.
class ReentrantPrompts : public ScriptedPrompts {
 public:
  TfrmMDIChild* window = nullptr;
  int asked = 0;
  int AskYSlice(const std::vector<double>& yValues, int lastChosen) override {
    ++asked;
    if (window) {
      window->Redraw();
      window->DrawPseudo();
      window->PickPalette(0);
    }
    return ScriptedPrompts::AskYSlice(yValues, lastChosen);
  }
};

TEST_F(ChildWindow, ARedrawDuringADrawingIsDropped) {
  ReentrantPrompts reentrant;
  ScopedPrompts use(reentrant);
  TfrmMDIChild* child = Frame().OpenFile(Copy("tests/fixtures/pseudo/WEN_3D.DAT"));
  ASSERT_NE(child, nullptr);
  ASSERT_TRUE(optrec.XYscan);
  ASSERT_EQ(reentrant.asked, 1);  // the first drawing asked for the slice
  reentrant.window = child;
  reentrant.asked = 0;
  const int draws = child->DrawCount();
  child->Redraw();
  EXPECT_EQ(reentrant.asked, 1);  // the requests made meanwhile did not draw
  EXPECT_EQ(child->DrawCount(), draws + 1);
}

TEST_F(ChildWindow, FirstDrawingTakesTheFileSettingsLaterOnesKeepTheWindows) {
  const std::string dat = Copy("resources/demo/DEMODATA.DAT");
  std::ofstream(InDir("DEMODATA.GLF")) << "0\n100\n10\n0\n20\n5\n";
  TfrmMDIChild* child = Frame().OpenFile(dat);
  ASSERT_NE(child, nullptr);
  EXPECT_FALSE(child->FirstTime());
  EXPECT_DOUBLE_EQ(child->Diagram()->SectionEnd(), 100);
  EXPECT_DOUBLE_EQ(child->Diagram()->DepthLabel(), 5);
  // A window setting survives the reload of every later drawing.
  child->Diagram()->SetSectionEnd(60);
  child->Redraw();
  EXPECT_DOUBLE_EQ(graphtype.Lmax, 60);
  EXPECT_DOUBLE_EQ(child->Diagram()->SectionEnd(), 60);
}

// Counts the key presses that reach a widget.
class KeyCounter : public QObject {
 public:
  int presses = 0;
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::KeyPress) ++presses;
    return false;
  }
};

TEST_F(ChildWindow, ArrowKeysRedrawOnlyThreeDimensionalData) {
  TfrmMDIChild* flat = Frame().OpenFile(Copy("resources/demo/DEMODATA.DAT"));
  ASSERT_NE(flat, nullptr);
  int draws = flat->DrawCount();
  QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
  QApplication::sendEvent(flat, &right);
  EXPECT_EQ(flat->DrawCount(), draws);

  TfrmMDIChild* cube = Frame().OpenFile(Copy("tests/fixtures/dat/grid3d_uniform.dat"));
  ASSERT_NE(cube, nullptr);
  ASSERT_TRUE(optrec.XYscan);
  draws = cube->DrawCount();
  // The window redraws but does not consume the key: it goes on to the parent.
  KeyCounter parent;
  cube->parentWidget()->installEventFilter(&parent);
  for (const Qt::Key key : {Qt::Key_Left, Qt::Key_Up, Qt::Key_Right, Qt::Key_Down}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(cube, &press);
  }
  EXPECT_EQ(cube->DrawCount(), draws + 4);
  EXPECT_EQ(parent.presses, 4);
  QKeyEvent other(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
  QApplication::sendEvent(cube, &other);
  EXPECT_EQ(cube->DrawCount(), draws + 4);
}

TEST_F(ChildWindow, ModelFileIsDrawnAsAModelSection) {
  TfrmMDIChild* child = Frame().OpenFile(Copy("tests/fixtures/model/m1.RHO", "m1.rho"));
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(child->Diagram()->DiagramType(), dtModsec2D);
  EXPECT_TRUE(child->mnuType2D->isChecked());
  EXPECT_TRUE(graphtype.ModSelFlag);
  EXPECT_TRUE(child->toolTip().contains(QStringLiteral("\nDepth: ")));
  EXPECT_FALSE(child->ShowsErrorBanner());
  EXPECT_GE(PlotColoursShown(*child), 3);
}

}  // namespace
}  // namespace karvelo::shell::test
