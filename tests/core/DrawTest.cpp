#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "base/Res2err.h"
#include "core/CoreTestSupport.h"
#include "core/DrawRegistry.h"
#include "core/SctDraw.h"

namespace karvelo {
namespace {

using testing::CoreTest;

// A canvas that draws nothing: the renderers here are fakes.
class NullCanvas : public Canvas {
 public:
  int Width() const override { return 640; }
  int Height() const override { return 480; }
  void SetPenColour(TColor) override {}
  void SetPenStyle(PenStyle) override {}
  void SetPenWidth(int) override {}
  void SetBrushColour(TColor) override {}
  void SetBrushStyle(BrushStyle) override {}
  BrushStyle GetBrushStyle() const override { return BrushStyle::Clear; }
  void SetBrushPattern(const PatternBitmap*) override {}
  void SetFont(const std::string&, int, bool) override {}
  void SetFontColour(TColor) override {}
  void MoveTo(int, int) override {}
  void LineTo(int, int) override {}
  void Polygon(const TPoint*, int) override {}
  void Rectangle(int, int, int, int) override {}
  void PutPixel(int, int, TColor) override {}
  void TextOut(int, int, const std::string&) override {}
  int TextWidth(const std::string&) override { return 0; }
  int TextHeight(const std::string&) override { return 0; }
  void SetClipRect(int, int, int, int) override {}
  void ClearClip() override {}
};

class DrawTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    ClearDrawRegistrations();
    DrawingLayerHooks hooks;
    hooks.SetupPage = [this](int w, int h) {
      calls.push_back("SetupPage " + std::to_string(w) + "x" + std::to_string(h));
    };
    hooks.InitPlotColours = [this] { calls.push_back("InitPlotColours"); };
    hooks.InitCanvas = [this](Canvas& c) {
      calls.push_back(&c == &canvas ? "InitCanvas" : "InitCanvas other");
    };
    hooks.ResetViewPort = [this] { calls.push_back("ResetViewPort"); };
    hooks.DiagramTop = [] { return 17; };
    hooks.DiagramBottom = [] { return 400; };
    RegisterDrawingLayer(hooks);
    for (TDiagramType t : {dtPseudo, dtModsec1D, dtModsec2D}) {
      RegisterRenderer(t, [this, t](Canvas&, int w, int h) {
        calls.push_back("Plot " + std::to_string(t) + " " + std::to_string(w) + "x" +
                        std::to_string(h));
        if (t == failing) fail();
      });
    }
    diagram.SetCanvas(&canvas);
    diagram.SetWidth(640);
    diagram.SetHeight(480);
  }
  void TearDown() override { ClearDrawRegistrations(); }

  NullCanvas canvas;
  std::vector<std::string> calls;
  TDiagramType failing = dtPseudo;
  std::function<void()> fail = [] {};
  TSectionDiagram diagram;
};

TEST_F(DrawTest, SetsUpThePageDrawsByTypeAndCopiesTheResultsBack) {
  diagram.SetDiagramType(dtModsec2D);
  graphtype.IPflag = 1;
  graphtype.maxcol = 11;
  graphtype.RhoLimit[25] = 0.5;
  graphtype.RhoLimit[35] = 40;
  graphtype.rholabel = 3;
  ModelPath = "/m/";
  RhoFilename = "x.RHO";
  CurrentLabels.DistStr = "gone after drawing";
  diagram.Draw();
  const std::vector<std::string> expected = {"SetupPage 640x480", "InitPlotColours", "InitCanvas",
                                             "ResetViewPort", "Plot 2 640x480"};
  EXPECT_EQ(calls, expected);
  EXPECT_EQ(diagram.DiagramTop(), 17);
  EXPECT_EQ(diagram.DiagramBottom(), 400);
  EXPECT_EQ(diagram.RhoMin(), 0.5);  // the IP column, as plotted
  EXPECT_EQ(diagram.RhoMax(), 40);
  EXPECT_EQ(diagram.RhoLabel(), 3);
  EXPECT_EQ(diagram.RhoLimits(), graphtype.RhoLimit);
  EXPECT_EQ(diagram.ModelPath(), "/m/");
  EXPECT_EQ(diagram.RhoFilename(), "x.RHO");
  EXPECT_EQ(CurrentLabels.DistStr, "");
  EXPECT_EQ(ModelLabels.DeptStr, ProducerLine);
  EXPECT_FALSE(diagram.Exception());
  EXPECT_TRUE(prompts.texts.empty());
}

TEST_F(DrawTest, AxisEndsAreRaisedToWholeLabelSteps) {
  struct Case {
    double start, end, label, expected;
  };
  const Case cases[] = {
      {0, 95, 10, 100}, {0, 100, 10, 100}, {-5, 12, 5, 15}, {0, 0.3, 0.1, 0.30000000000000004},
      {20, 10, 5, 25},  // an end below the start: one step
      {0, 95, 0, 95},   // no label step: the end stays
      {0, 95, -10, 95},
  };
  for (const Case& c : cases) {
    diagram.SetSectionStart(c.start);
    diagram.SetSectionEnd(c.end);
    diagram.SetSectionLabel(c.label);
    diagram.SetDepthStart(c.start);
    diagram.SetDepthEnd(c.end);
    diagram.SetDepthLabel(c.label);
    diagram.Draw();
    EXPECT_EQ(diagram.SectionEnd(), c.expected) << c.start << " " << c.end << " " << c.label;
    EXPECT_EQ(graphtype.Lmax, c.expected);
    EXPECT_EQ(diagram.DepthEnd(), c.expected);
    EXPECT_EQ(graphtype.Dmax, c.expected);
  }
}

TEST_F(DrawTest, EveryErrorOfARendererBecomesItsMessage) {
  struct Case {
    const char* name;
    std::function<void()> fail;
    const char* message;  // nullptr: no message
    MessageKind kind;
  };
  const Case cases[] = {
      {"capacity", [] { throw EKarvCapacity("rows"); },
       "Error : Data exceeds y-dimension capacity of plot routine!", MessageKind::Information},
      {"read", [] { throw EInOutError(100, "read"); }, "Error reading file!", MessageKind::Error},
      {"write", [] { throw EInOutError(101, "w"); }, "Error Writing file!", MessageKind::Error},
      {"assigned", [] { throw EInOutError(102, ""); }, "File not assigned!", MessageKind::Error},
      {"open", [] { throw EInOutError(103, ""); }, "File not open!", MessageKind::Error},
      {"input", [] { throw EInOutError(104, ""); }, "File not open for input!", MessageKind::Error},
      {"output", [] { throw EInOutError(105, ""); }, "File not open for output!",
       MessageKind::Error},
      {"numeric", [] { throw EInOutError(106, ""); }, "Invalid numeric format!",
       MessageKind::Error},
      {"other io", [] { throw EInOutError(2, "no such file"); }, nullptr, MessageKind::Error},
      {"memory", [] { throw std::bad_alloc(); },
       "Out of memory. Try closing some other applications.", MessageKind::Error},
      {"zero", [] { throw EKarvDivByZero("scale"); },
       "Cannot plot diagram! Please check input files and diagram settings.", MessageKind::Error},
      {"invalid", [] { throw EKarvInvalidOp("nan"); },
       "Cannot plot diagram! Please check input files and diagram settings ...",
       MessageKind::Error},
      {"other", [] { throw ERes2GrfmNoModelFile("Model file m.rho is missing"); },
       "Cannot plot diagram! Error while drawing: Model file m.rho is missing", MessageKind::Error},
      {"unknown", [] { throw 42; }, "Cannot plot diagram! Error while drawing: unknown error.",
       MessageKind::Error},
  };
  for (const Case& c : cases) {
    prompts.messages.clear();
    diagram.SetException(false);
    fail = c.fail;
    diagram.Draw();
    EXPECT_TRUE(diagram.Exception()) << c.name;
    if (c.message == nullptr) {
      EXPECT_TRUE(prompts.messages.empty()) << c.name;
      continue;
    }
    ASSERT_EQ(prompts.messages.size(), 1u) << c.name;
    EXPECT_EQ(prompts.messages[0].text, c.message) << c.name;
    EXPECT_EQ(prompts.messages[0].kind, c.kind) << c.name;
  }
}

TEST_F(DrawTest, AFailedDrawingStaysBlankUntilTheFlagIsCleared) {
  fail = [] { throw EKarvCapacity("rows"); };
  diagram.Draw();
  ASSERT_TRUE(diagram.Exception());
  calls.clear();
  diagram.SetSectionStart(0);
  diagram.SetSectionEnd(95);
  diagram.SetSectionLabel(10);
  diagram.Draw();
  diagram.Draw();
  // The page is still prepared and the axes rounded, but nothing is plotted.
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "Plot 0 640x480"), 0);
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "SetupPage 640x480"), 2);
  EXPECT_EQ(diagram.SectionEnd(), 100);
  EXPECT_EQ(prompts.messages.size(), 1u);
  diagram.SetException(false);
  fail = [] {};
  diagram.Draw();
  EXPECT_EQ(calls.back(), "Plot 0 640x480");
  EXPECT_FALSE(diagram.Exception());
}

TEST_F(DrawTest, ASectionWithoutAModelDrawsThePseudosectionInstead) {
  diagram.SetDiagramType(dtModsec1D);
  failing = dtModsec1D;
  fail = [] { throw EKarvNoModelCreated("no model"); };
  diagram.Draw();
  EXPECT_EQ(diagram.DiagramType(), dtPseudo);
  EXPECT_FALSE(diagram.Exception());
  EXPECT_TRUE(prompts.texts.empty());
  EXPECT_EQ(calls.back(), "Plot 0 640x480");
  EXPECT_EQ(calls[calls.size() - 2], "Plot 1 640x480");

  // The pseudosection failing in its turn is an ordinary failure.
  calls.clear();
  diagram.SetDiagramType(dtModsec1D);
  RegisterRenderer(dtPseudo, [](Canvas&, int, int) { throw EKarvCapacity("rows"); });
  diagram.Draw();
  EXPECT_TRUE(diagram.Exception());
  ASSERT_EQ(prompts.texts.size(), 1u);
  EXPECT_EQ(prompts.texts[0], "Error : Data exceeds y-dimension capacity of plot routine!");
}

TEST_F(DrawTest, NothingRegisteredOrNoCanvasDrawsNothingAndFailsNothing) {
  ClearDrawRegistrations();
  diagram.Draw();
  EXPECT_FALSE(diagram.Exception());
  RegisterRenderer(dtPseudo, [this](Canvas&, int, int) { calls.push_back("drawn"); });
  diagram.SetCanvas(nullptr);
  diagram.Draw();
  EXPECT_TRUE(calls.empty());
  EXPECT_FALSE(diagram.Exception());
}

TEST_F(DrawTest, AFailingPageSetUpIsReportedLikeARenderer) {
  DrawingLayerHooks hooks;
  hooks.SetupPage = [](int, int) { throw std::bad_alloc(); };
  RegisterDrawingLayer(hooks);
  diagram.Draw();
  EXPECT_TRUE(diagram.Exception());
  EXPECT_TRUE(calls.empty());
  ASSERT_EQ(prompts.texts.size(), 1u);
  EXPECT_EQ(prompts.texts[0], "Out of memory. Try closing some other applications.");
}

}  // namespace
}  // namespace karvelo
