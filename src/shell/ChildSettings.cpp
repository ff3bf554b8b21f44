// The settings exchange of a diagram window: the dialog is filled from the diagram, and on
// OK the values go back into it, the settings files are saved and the window redraws.

#include "core/SctDraw.h"
#include "shell/ChildWindow.h"
#include "shell/SettingsDialog.h"

namespace karvelo::shell {

void TfrmMDIChild::FillSettings(TfrmSettings& dialog) {
  TSectionDiagram& d = *FSectionDiagram;
  d.SetProperties();
  dialog.SetHeader(d.Header());
  dialog.SetDate(d.Date());
  dialog.SetLeftDirection(d.LeftDirectionLabel());
  dialog.SetRightDirection(d.RightDirectionLabel());
  dialog.SetArrayTypeStr(d.ArrayTypeStr());
  dialog.SetMinDistInterval(d.SectionStart());
  dialog.SetMaxDistInterval(d.SectionEnd());
  dialog.SetLabelDistInterval(d.SectionLabel());
  dialog.SetMinDepthInterval(d.DepthStart());
  dialog.SetMaxDepthInterval(d.DepthEnd());
  dialog.SetLabelDepthInterval(d.DepthLabel());
  for (int k = 0; k < SettingsLimitCells; ++k) {
    for (int column = 0; column < LimitSets; ++column) {
      dialog.SetLimit(column, k, d.RhoLimit(column, k));
    }
  }
  dialog.SetPlotTopo(d.PlotTopo());
  dialog.SetPlotRef(d.PlotRef());
  dialog.SetNoInfo(d.NoInfo());
  dialog.SetPlotLvl(d.PlotLvl());
  dialog.SetPlotLegend(d.PlotLegend());
  dialog.SetPlotDataPts(d.PlotDataPts());
  dialog.SetPlotMark(d.PlotMark());
  dialog.SetXYRatio(d.XYRatio());
  dialog.SetModelType(d.Model());
  dialog.SetRhoInterpolation(d.RhoInterpolation());
  dialog.SetSquarePlot(d.SquarePlot());
  dialog.SetRhoFileName(d.ModelPath() + d.RhoFilename());
  dialog.SetArrayType(d.ArrayType());
  dialog.SetIPPlot(d.IPplot() != 0);
  dialog.SetIPFlag(d.IPflag());
  dialog.SetNormalisedIP(d.NormalisedIP() != 0);
  dialog.SetTimeWindowIP(d.TimeWindowIP());
}

void TfrmMDIChild::ApplySettings(TfrmSettings& dialog) {
  TSectionDiagram& d = *FSectionDiagram;
  d.SetHeader(dialog.Header());
  d.SetDate(dialog.Date());
  d.SetLeftDirectionLabel(dialog.LeftDirection());
  d.SetRightDirectionLabel(dialog.RightDirection());
  d.SetArrayTypeStr(dialog.ArrayTypeStr());
  d.SetSectionStart(dialog.MinDistInterval());
  d.SetSectionEnd(dialog.MaxDistInterval());
  d.SetSectionLabel(dialog.LabelDistInterval());
  d.SetDepthStart(dialog.MinDepthInterval());
  d.SetDepthEnd(dialog.MaxDepthInterval());
  d.SetDepthLabel(dialog.LabelDepthInterval());
  d.SetRhoInterpolation(dialog.RhoInterpolation());
  for (int column = 0; column < LimitSets; ++column) {
    for (int k = 0; k < SettingsLimitCells; ++k) d.SetRhoLimit(column, k, dialog.Limit(column, k));
  }
  d.SetPlotTopo(dialog.PlotTopo());
  d.SetPlotRef(dialog.PlotRef());
  d.SetPlotLegend(dialog.PlotLegend());
  d.SetNoInfo(dialog.NoInfo());
  d.SetPlotLvl(dialog.PlotLvl());
  d.SetPlotDataPts(dialog.PlotDataPts());
  d.SetPlotMark(dialog.PlotMark());
  d.SetModel(dialog.ModelType());
  d.SetSquarePlot(dialog.SquarePlot());
  d.SetXYRatio(dialog.XYRatio());
  d.SetRhoFilename(dialog.RhoFileName());
  d.SetArrayType(dialog.ArrayType());
  d.SetIPplot(dialog.IPPlot() ? 1 : 0);
  d.SetIPflag(dialog.IPFlag());
  d.SetNormalisedIP(dialog.NormalisedIP() ? 1 : 0);
  d.SetTimeWindowIP(static_cast<std::uint8_t>(dialog.TimeWindowIP()));
  d.SetTimeStepPlot(static_cast<std::uint8_t>(dialog.TimeStepPlot()));
  graphtype.PlotWhich = static_cast<std::uint8_t>(dialog.PlotWhich());
  d.SetException(false);
  d.Save();
  Redraw();
}

}  // namespace karvelo::shell
