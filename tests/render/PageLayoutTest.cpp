#include <limits>

#include <gtest/gtest.h>

#include "base/PlotState.h"
#include "base/Res2err.h"
#include "render/DrawLayer.h"
#include "render/RenderFixture.h"

namespace karvelo::test {
namespace {

class PageLayoutTest : public RenderTest {
 protected:
  void SetUp() override {
    RenderTest::SetUp();
    // A survey 500 m long, 120 m deep, drawn at equal scales.
    graphtype.Lmin = 0;
    graphtype.Lmax = 500;
    graphtype.Dmin = 0;
    graphtype.Dmax = 120;
    graphtype.XYfactor = 1;
    graphtype.FontSize = 12;
  }
};

TEST_F(PageLayoutTest, PseudosectionOnAThousandByEightHundredPage) {
  graphtype.Xsize = 50;  // the user's value is overwritten by every layout
  ASSERT_TRUE(PseudoLayout(1000, 800));
  EXPECT_EQ(graphtype.TicY, 3);
  EXPECT_EQ(graphtype.Xsize, 87);
  EXPECT_EQ(graphtype.Ysize, 21);
  EXPECT_EQ(PlotX0, 65);
  EXPECT_EQ(PlotX1, 935);
  EXPECT_EQ(PlotY0, 295);
  EXPECT_EQ(PlotY1, 505);
  EXPECT_EQ(LegendX0, 65);  // the diagram's width: AdjustDiagramWidth is on
  EXPECT_EQ(LegendX1, 935);
  EXPECT_EQ(LegendY0, 529);
  EXPECT_EQ(LegendY1, 537);  // 1 % of 800
  EXPECT_EQ(DiagramTop, 295 - 61);
  EXPECT_EQ(DiagramBottom, 537 + 30);
  EXPECT_EQ(TopoSpan, 0);
}

TEST_F(PageLayoutTest, TickLengthFollowsTheFontWithHalvesToEven) {
  const int cases[][2] = {{12, 3}, {10, 2}, {14, 4}, {18, 4}, {22, 6}, {2, 0}};
  for (const auto& c : cases) {
    graphtype.FontSize = c[0];
    PseudoLayout(1000, 800);
    EXPECT_EQ(graphtype.TicY, c[1]) << "font " << c[0];
  }
}

TEST_F(PageLayoutTest, DeepSectionIsNarrowedToKeepItsHeight) {
  graphtype.Lmax = 100;
  graphtype.Dmax = 100;
  ASSERT_TRUE(PseudoLayout(1000, 800));
  EXPECT_EQ(graphtype.Ysize, 38);
  EXPECT_EQ(graphtype.Xsize, 38);
  EXPECT_EQ(PlotX0, 310);
  EXPECT_EQ(PlotX1, 690);
  EXPECT_EQ(PlotY1 - PlotY0, 380);
  EXPECT_EQ(LegendX0, 310);
}

TEST_F(PageLayoutTest, WithoutWidthAdjustmentTheLegendKeepsItsOwnWidth) {
  graphtype.AdjustDiagramWidth = false;
  graphtype.Dmax = 1150;  // Ysize 200: tall, but still a valid percentage
  ASSERT_TRUE(PseudoLayout(1000, 5000));
  EXPECT_EQ(graphtype.Ysize, 200);
  EXPECT_EQ(graphtype.Xsize, 87);
  EXPECT_EQ(PlotY0, 2500 - 1000);
  EXPECT_EQ(LegendX0, 65);
  EXPECT_EQ(LegendX1, 935);
}

TEST_F(PageLayoutTest, APercentageBeyondAByteDoesNotFitInsteadOfWrapping) {
  graphtype.AdjustDiagramWidth = false;
  graphtype.Lmax = 50;
  graphtype.Dmax = 1000;  // 87 * 1000 / 50 = 1740 % of the page width
  EXPECT_FALSE(PseudoLayout(1000, 100000));
  EXPECT_FALSE(ModelLayout(1000, 100000));
  graphtype.XYfactor = -1;  // a negative height
  EXPECT_FALSE(PseudoLayout(1000, 100000));
}

TEST_F(PageLayoutTest, TooShortForTheTitleOrTheLegendDoesNotFit) {
  EXPECT_FALSE(PseudoLayout(1000, 300));  // PlotY0 45, title block needs 61
  EXPECT_TRUE(PseudoLayout(1000, 340));
  graphtype.Ylegend = 10;  // the legend block now runs off the bottom
  EXPECT_FALSE(PseudoLayout(1000, 340));
  EXPECT_FALSE(ModelLayout(1000, 340));
}

TEST_F(PageLayoutTest, DegenerateRangesRaiseTheDrawingErrors) {
  graphtype.Lmax = graphtype.Lmin;
  EXPECT_THROW(PseudoLayout(1000, 800), EKarvDivByZero);
  EXPECT_THROW(ModelLayout(1000, 800), EKarvDivByZero);
  graphtype.Lmax = 500;
  graphtype.Dmax = std::numeric_limits<double>::infinity();
  EXPECT_THROW(PseudoLayout(1000, 800), EKarvInvalidOp);
}

TEST_F(PageLayoutTest, ModelLegendIsCentredWithItsOwnWidth) {
  PlotTopo = false;
  ASSERT_TRUE(ModelLayout(1000, 800));
  EXPECT_EQ(graphtype.Ysize, 21);
  EXPECT_EQ(LegendX0, 65);
  EXPECT_EQ(LegendX1, 65 + 870);
  EXPECT_EQ(TopoSpan, 0);
  EXPECT_EQ(TopLevel, 0);
}

TEST_F(PageLayoutTest, ModelReservesTheTopographyBetweenLabelLevels) {
  PlotTopo = true;
  graphtype.Dlabel = 10;
  TopoList.TopoZMin = 93.4;
  TopoList.TopoZMax = 117.8;
  ASSERT_TRUE(ModelLayout(1000, 800));
  EXPECT_DOUBLE_EQ(TopLevel, 120);
  EXPECT_DOUBLE_EQ(TopoSpan, 30);  // label levels 90 .. 120
  EXPECT_EQ(graphtype.Ysize, 26);  // 87 * 150 / 500 = 26.1
}

TEST_F(PageLayoutTest, FlatGroundNeedsNoExtraDepth) {
  PlotTopo = true;
  graphtype.Dlabel = 20;
  TopoList.TopoZMin = 100;
  TopoList.TopoZMax = 100;
  ASSERT_TRUE(ModelLayout(1000, 800));
  EXPECT_DOUBLE_EQ(TopoSpan, 0);
  EXPECT_DOUBLE_EQ(TopLevel, 100);
}

TEST_F(PageLayoutTest, BadLabelIntervalsForTopographyRaiseInsteadOfHanging) {
  PlotTopo = true;
  TopoList.TopoZMin = 0;
  TopoList.TopoZMax = 1e6;
  graphtype.Dlabel = 0;
  EXPECT_THROW(ModelLayout(1000, 800), EKarvDivByZero);
  graphtype.Dlabel = -10;
  EXPECT_THROW(ModelLayout(1000, 800), EKarvInvalidOp);
  graphtype.Dlabel = 1e-3;  // a billion steps
  EXPECT_THROW(ModelLayout(1000, 800), EKarvInvalidOp);
}

}  // namespace
}  // namespace karvelo::test
