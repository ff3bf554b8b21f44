#include "render/Axes.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/Res2err.h"
#include "render/DrawLayer.h"
#include "render/RenderFixture.h"

namespace karvelo::test {
namespace {

// The standard page: 500 m by 120 m on 1000 x 800 pixels, font 12. The diagram spans
// x 65..935 and y 295..505; ticks are 3 px; text is 8 px a character and 12 px high.
class AxesTest : public RenderTest {
 protected:
  void SetUp() override {
    RenderTest::SetUp();
    CurrentLabels = EnglishPseudoLabels();
    ASSERT_TRUE(PseudoLayout(1000, 800));
    canvas.Clear();
  }

  // Texts whose top edge is at `top`, in drawing order.
  std::vector<const RecordingCanvas::Text*> TextsAt(int top) const {
    std::vector<const RecordingCanvas::Text*> out;
    for (const auto& t : canvas.texts)
      if (t.y == top) out.push_back(&t);
    return out;
  }
  std::vector<std::string> Strings(const std::vector<const RecordingCanvas::Text*>& texts) const {
    std::vector<std::string> out;
    for (const auto* t : texts) out.push_back(t->text);
    return out;
  }
  // Reference x of a centred text.
  int CentreOf(const RecordingCanvas::Text& t) const {
    return t.x + canvas.charWidth * static_cast<int>(t.text.size()) / 2;
  }
  // Distance labels: bottom at PlotY0 - 1 - TicY.
  std::vector<const RecordingCanvas::Text*> DistanceLabels() const {
    return TextsAt(PlotY0 - 1 - graphtype.TicY - canvas.textHeight);
  }
  // Depth labels left of the frame: right edge at PlotX0 - 1 - 2 TicY.
  std::vector<std::string> LeftDepthLabels() const {
    std::vector<std::string> out;
    for (const auto& t : canvas.texts)
      if (t.x + canvas.charWidth * static_cast<int>(t.text.size()) ==
          PlotX0 - 1 - 2 * graphtype.TicY)
        out.push_back(t.text);
    return out;
  }
};

TEST_F(AxesTest, PseudoFrameRunsOnePixelOutsideTheDiagram) {
  canvas.SetBrushStyle(BrushStyle::Solid);
  DrawPseudoAxes(canvas);
  ASSERT_EQ(canvas.rectangles.size(), 1u);
  const auto& r = canvas.rectangles[0];
  EXPECT_EQ(r.x1, 64);
  EXPECT_EQ(r.y1, 294);
  EXPECT_EQ(r.x2, 936);
  EXPECT_EQ(r.y2, 507);
  EXPECT_EQ(r.brushStyle, BrushStyle::Clear);
}

TEST_F(AxesTest, ElevenDistanceLabelsFromEdgeToEdge) {
  DrawPseudoAxes(canvas);
  const auto labels = DistanceLabels();
  EXPECT_EQ(Strings(labels), (std::vector<std::string>{"0", "50", "100", "150", "200", "250", "300",
                                                       "350", "400", "450", "500"}));
  ASSERT_EQ(labels.size(), 11u);
  EXPECT_EQ(CentreOf(*labels.front()), PlotX0 - 1);
  EXPECT_EQ(CentreOf(*labels.back()), PlotX1 + 1);
  EXPECT_EQ(CentreOf(*labels[1]), 64 + 87);  // 872 / 10 = 87.2
  // Each label has its tick upwards from the frame.
  const auto& tick = canvas.segments[0];
  EXPECT_EQ(tick.x1, 64);
  EXPECT_EQ(tick.y1, 294);
  EXPECT_EQ(tick.x2, 64);
  EXPECT_EQ(tick.y2, 291);
}

TEST_F(AxesTest, ARangeOffTheLabelGridStillEndsAtTheRightEdge) {
  graphtype.Lmax = 480;
  DrawPseudoAxes(canvas);
  const auto labels = DistanceLabels();
  ASSERT_EQ(labels.size(), 11u);
  EXPECT_EQ(labels.back()->text, "500");
  EXPECT_EQ(CentreOf(*labels.back()), PlotX1 + 1);
}

TEST_F(AxesTest, PseudoDepthScaleStartsAtTheSurface) {
  graphtype.Dmin = -5;
  DrawPseudoAxes(canvas);
  EXPECT_EQ(LeftDepthLabels(),
            (std::vector<std::string>{"0", "20", "40", "60", "80", "100", "120"}));
  // Labels on both sides, centred on their rows: the first row is PlotY0 - 1.
  const auto row = TextsAt(294 - 6);
  ASSERT_EQ(row.size(), 2u);
  EXPECT_EQ(row[0]->x, 64 - 6 - 8);
  EXPECT_EQ(row[1]->x, 936 + 6);
  EXPECT_EQ(canvas.FindText(CurrentLabels.DepthStr)->x, 65 - 18);
  EXPECT_EQ(canvas.FindText(CurrentLabels.DepthStr)->y, 505 + 6);
}

TEST_F(AxesTest, DepthLabelsAreCutToTenCharacters) {
  graphtype.Dmin = 0;
  graphtype.Dmax = 1;
  graphtype.Dlabel = 1.0 / 3.0;
  NoDist = true;
  NoDepth = true;
  DrawPseudoAxes(canvas);
  // Four rows, each labelled on both sides; the long labels are pulled onto the page.
  int thirds = 0;
  for (const auto& t : canvas.texts) {
    EXPECT_LE(t.text.size(), 10u) << t.text;
    if (t.text == "0.33333333" || t.text == "0.66666666") ++thirds;
  }
  EXPECT_EQ(thirds, 4);
}

TEST_F(AxesTest, AxisLabelsCanBeSwitchedOff) {
  DrawPseudoAxes(canvas);
  EXPECT_NE(canvas.FindText(CurrentLabels.DistStr), nullptr);
  EXPECT_NE(canvas.FindText(CurrentLabels.DepthStr), nullptr);
  const auto* dist = canvas.FindText(CurrentLabels.DistStr);
  EXPECT_EQ(dist->x + 8 * static_cast<int>(CurrentLabels.DistStr.size()), 935);
  EXPECT_EQ(dist->y, 295 - 18 - 12);

  canvas.Clear();
  NoDist = true;
  NoDepth = true;
  DrawPseudoAxes(canvas);
  EXPECT_EQ(canvas.FindText(CurrentLabels.DistStr), nullptr);
  EXPECT_EQ(canvas.FindText(CurrentLabels.DepthStr), nullptr);
}

TEST_F(AxesTest, LabelStepsThatNeverReachTheEndRaiseInsteadOfHanging) {
  graphtype.Llabel = 0;
  EXPECT_THROW(DrawPseudoAxes(canvas), EKarvInvalidOp);
  EXPECT_THROW(DrawModelAxes(canvas), EKarvDivByZero);
  graphtype.Llabel = -50;
  EXPECT_THROW(DrawPseudoAxes(canvas), EKarvInvalidOp);
  graphtype.Llabel = 50;
  graphtype.Dlabel = 1e-9;
  EXPECT_THROW(DrawPseudoAxes(canvas), EKarvInvalidOp);
  EXPECT_THROW(DrawModelAxes(canvas), EKarvInvalidOp);
}

// ---- Model scales ------------------------------------------------------------------------

TEST_F(AxesTest, ModelDistanceScaleUsesTheGeneralNumberForm) {
  graphtype.Lmin = 0;
  graphtype.Lmax = 2;
  graphtype.Llabel = 0.5;
  PlotTopo = false;
  DrawModelAxes(canvas);
  EXPECT_EQ(Strings(DistanceLabels()), (std::vector<std::string>{"0", "0.5", "1", "1.5", "2"}));
  EXPECT_EQ(canvas.rectangles[0].x2, PlotX1 + 2);
}

TEST_F(AxesTest, ModelDepthScaleWithoutTopography) {
  PlotTopo = false;
  DrawModelAxes(canvas);
  EXPECT_EQ(LeftDepthLabels(),
            (std::vector<std::string>{"0", "20", "40", "60", "80", "100", "120"}));
  EXPECT_NE(canvas.FindText(CurrentLabels.DepthStr), nullptr);
}

TEST_F(AxesTest, ModelWithTopographyShowsElevationsDecreasingDownwards) {
  PlotTopo = true;
  CurrentLabels.AltStr = "Elevation[m]";
  graphtype.Dlabel = 10;
  TopoList.TopoZMin = 93.4;
  TopoList.TopoZMax = 117.8;
  ASSERT_TRUE(ModelLayout(1000, 800));  // TopLevel 120, TopoSpan 30
  canvas.Clear();
  DrawModelAxes(canvas);
  const auto labels = LeftDepthLabels();
  ASSERT_EQ(labels.size(), 16u);
  EXPECT_EQ(labels.front(), "120");
  EXPECT_EQ(labels[1], "110");
  EXPECT_EQ(labels.back(), "-30");
  EXPECT_NE(canvas.FindText(CurrentLabels.AltStr), nullptr);
  EXPECT_EQ(canvas.FindText(CurrentLabels.DepthStr), nullptr);
}

TEST_F(AxesTest, ModelDepthScaleWithOneLevelRaises) {
  PlotTopo = false;
  graphtype.Dmax = 4;  // rounds to the same label step as Dmin
  EXPECT_THROW(DrawModelAxes(canvas), EKarvDivByZero);
}

// ---- Title blocks ------------------------------------------------------------------------

TEST_F(AxesTest, PseudoTitleBlock) {
  optrec.FileName = "LINE1";
  optrec.Comment = "  Profile 1";
  optrec.Date = "2024-05-01 ";
  optrec.LeftDirect = "W";
  optrec.RightDirect = "E";
  CurrentLabels.MethodStr = " Apparent resistivity  ";
  DrawPseudoInfo(canvas);

  const auto* bottom = canvas.FindText("Data file: LINE1");
  ASSERT_NE(bottom, nullptr);
  EXPECT_EQ(bottom->x, 3);
  EXPECT_EQ(bottom->y, 800 - 3 - 12);
  const auto* producer = canvas.FindText(ProducerLine);
  ASSERT_NE(producer, nullptr);
  EXPECT_EQ(producer->y, 3);
  EXPECT_EQ(CentreOf(*producer), 500);
  EXPECT_EQ(producer->fontColour, MakeRgb(0, 0, 0));
  const auto* method = canvas.FindText("Apparent resistivity");
  ASSERT_NE(method, nullptr);
  EXPECT_EQ(method->y, 295 - 30 - 12);
  const auto* comment = canvas.FindText("Profile 1 2024-05-01");
  ASSERT_NE(comment, nullptr);
  EXPECT_EQ(comment->y, 295 - 46 - 12);
  EXPECT_EQ(canvas.FindText("W")->x, 12);
  EXPECT_EQ(canvas.FindText("E")->x, 1000 - 12 - 8);
  EXPECT_EQ(canvas.FindText("E")->y, 295 - 30 - 12);
  EXPECT_EQ(DiagramTop, 295 - 61);
  EXPECT_EQ(DiagramBottom, LegendY1 + 30);
}

TEST_F(AxesTest, NoInfoKeepsProducerBottomLineAndDirections) {
  optrec.LeftDirect = "W";
  optrec.RightDirect = "E";
  CurrentLabels.MethodStr = "Method";
  optrec.Comment = "Comment";
  NoInfo = true;
  DrawPseudoInfo(canvas);
  EXPECT_EQ(canvas.FindText("Method"), nullptr);
  EXPECT_EQ(canvas.FindText("Comment"), nullptr);
  EXPECT_NE(canvas.FindText(ProducerLine), nullptr);
  EXPECT_NE(canvas.FindText("Data file: DEMODATA"), nullptr);
  EXPECT_NE(canvas.FindText("W"), nullptr);
  EXPECT_NE(canvas.FindText("E"), nullptr);
}

TEST_F(AxesTest, ModelTitleBlockNamesTheModelAndItsMisfit) {
  optrec.FileName = "LINE1";
  optrec.DataDir = "/surveys/line1/";
  ModelPath = "/surveys/line1/models/";
  optrec.RMS = {0, 0.25, 0.031};
  CurrentLabels.MethodStr = " Inverse model resistivity";
  DrawModelInfo(canvas, "m1.RHO");
  EXPECT_NE(canvas.FindText("Data file: LINE1   Model file: models/m1.RHO (mean residual = 25.0%)"),
            nullptr);
  EXPECT_NE(canvas.FindText("Inverse model resistivity (mean residual 25.0%)"), nullptr);

  canvas.Clear();
  graphtype.IPflag = 1;  // an IP plot shows the IP misfit
  optrec.InversionTxtStr = "  Robust inversion ";
  DrawModelInfo(canvas, "m1.RHO");
  EXPECT_NE(canvas.FindText("Data file: LINE1   Model file: models/m1.RHO (mean residual = 3.1%)"),
            nullptr);
  EXPECT_NE(canvas.FindText("Robust inversion"), nullptr);

  canvas.Clear();
  optrec.RMS = {0, 0.0004, 0.0004};
  DrawModelInfo(canvas, "m1.RHO");
  EXPECT_NE(canvas.FindText("Data file: LINE1   Model file: models/m1.RHO"), nullptr);
}

TEST(AxesHelpers, MisfitTextRoundsInThousandths) {
  const std::pair<double, const char*> cases[] = {
      {0.25, "25.0"}, {0.0004, ""}, {0.0005, ""},   {0.0006, "0.1"},
      {0.001, "0.1"}, {0, ""},      {1.5, "150.0"}, {-0.02, "-2.0"},
  };
  for (const auto& [rms, text] : cases) EXPECT_EQ(MisfitText(rms), text) << rms;
}

TEST(AxesHelpers, RelativeFolder) {
  const char* cases[][3] = {
      {"/d/s/", "/d/s/", ""},
      {"/d/s/", "/d/s/models/", "models/"},
      {"/d/s/", "/d/other/", "../other/"},
      {"/d/s/deep/", "/e/", "../../../e/"},
      {"/d/s", "/d/s/m", "m/"},
      {"C:/a/", "D:/b/", "D:/b/"},
      {"/a/", "rel/", "rel/"},
      {"", "/x/", "/x/"},
      {"/x/", "", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(RelativeFolder(c[0], c[1]), c[2]) << c[0] << " -> " << c[1];
}

TEST(AxesHelpers, GeneralNumberForm) {
  const std::pair<double, const char*> cases[] = {
      {50, "50"},           {0.1, "0.1"},   {0.1 + 0.2, "0.3"},
      {1e-5, "1E-5"},       {1e15, "1E15"}, {-2.5, "-2.5"},
      {123.456, "123.456"}, {-0.0, "0"},    {1.25e-7, "1.25E-7"},
  };
  for (const auto& [x, text] : cases) EXPECT_EQ(FormatGeneral(x), text) << x;
}

}  // namespace
}  // namespace karvelo::test
