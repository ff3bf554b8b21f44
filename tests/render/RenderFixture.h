#pragma once

// The common start of every render test: plot state and drawing layer at their
// start-up values, a recording canvas of 1000 x 800 pixels selected as the page.

#include <gtest/gtest.h>

#include "base/PlotState.h"
#include "render/DrawLayer.h"
#include "support/RecordingCanvas.h"

namespace karvelo::test {

class RenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetPlotState();
    ResetDrawLayer();
    SetupPage(canvas.Width(), canvas.Height());
    InitCanvas(canvas);
    canvas.Clear();
  }
  void TearDown() override { ResetDrawLayer(); }

  RecordingCanvas canvas{1000, 800};
};

}  // namespace karvelo::test
