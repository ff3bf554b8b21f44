#include "cli/InfoReport.h"

#include <QJsonArray>

#include "base/PlotState.h"
#include "input/ModelReaders.h"

namespace karvelo::cli {
namespace {

QString Text(const std::string& s) {
  return QString::fromLatin1(s.data(), static_cast<int>(s.size()));
}

QJsonArray List(const std::array<double, MaxScanList>& values, int count) {
  QJsonArray a;
  for (int i = 0; i < count && i < MaxScanList; ++i) a.append(values[static_cast<std::size_t>(i)]);
  return a;
}

QJsonValue Topography() {
  const TTopoList& t = TopoList;
  if (t.nTopoPoints <= 0) return QJsonValue::Null;
  QJsonObject o;
  o["type"] = t.TopoDistanceType;
  o["points"] = t.nTopoPoints;
  o["x_first"] = t.TopoXFirst;
  o["x_last"] = t.TopoXLast;
  o["z_min"] = t.TopoZMin;
  o["z_max"] = t.TopoZMax;
  return o;
}

QJsonValue Model() {
  const TModelScan& m = LastModelScan;
  QJsonObject o;
  o["dialect"] = ModelDialectName(m.Dialect);
  o["ip"] = optrec.IPflag != 0;
  o["first_x"] = m.FirstX;
  o["last_x"] = m.LastX;
  o["column_width"] = m.ColumnWidthValid ? QJsonValue(m.ColumnWidth) : QJsonValue::Null;
  o["top_depth"] = m.TopDepth;
  o["bottom_depth"] = m.BottomDepth;
  o["value_min"] = m.ValueMin;
  o["value_max"] = m.ValueMax;
  o["elevation_min"] = m.ElevationMin;
  o["elevation_max"] = m.ElevationMax;
  o["rms"] = QJsonArray{optrec.RMS[1], optrec.RMS[2]};
  o["inversion_text"] = Text(optrec.InversionTxtStr);
  o["labels_read"] = m.LabelsRead;
  return o;
}

}  // namespace

QJsonObject BuildInfoReport(const std::string& file, FileKind kind,
                            const std::vector<std::string>& messages) {
  const TScanResults& s = ScanResults;
  const bool ip = optrec.IPflag != 0;
  QJsonObject o;
  o["file"] = Text(file);
  o["kind"] = kind == FileKind::Data ? "dat" : "model";
  o["title"] = Text(optrec.Comment.str());
  o["array_code"] = optrec.ArrayCode;
  o["array_type"] = Text(optrec.ArrayType.str());
  o["xyscan"] = optrec.XYscan;
  o["ip_flag"] = optrec.IPflag;
  o["ip_windows"] = optrec.IPwindows;
  o["time_steps"] = optrec.TimeSteps;
  o["error_estimates"] = optrec.ErrorEstimates != 0;
  o["x_is_first_electrode"] = XIsFirstElectrode;
  o["n_data"] = s.nDataPoints;
  o["spacings"] = List(s.SpacingList, s.nSpacings);
  o["n_factors"] = List(s.NFactorList, s.nNFactors);
  o["pseudo_depths"] = List(s.PseudoDepthList, s.nPseudoDepths);
  o["y_values"] = List(s.YList, s.nYValues);
  o["spacing_min"] = s.SpacingMin;
  o["spacing_max"] = s.SpacingMax;
  o["x_plot_min"] = s.XPlotMin;
  o["x_plot_max"] = s.XPlotMax;
  o["rho_min"] = s.RhoDataMin;
  o["rho_max"] = s.RhoDataMax;
  o["ip_min"] = ip ? QJsonValue(s.IPDataMin) : QJsonValue::Null;
  o["ip_max"] = ip ? QJsonValue(s.IPDataMax) : QJsonValue::Null;
  o["topography"] = Topography();
  QJsonArray shown;
  for (const auto& m : messages) shown.append(Text(m));
  o["messages"] = shown;
  o["model"] = kind == FileKind::Model ? Model() : QJsonValue::Null;
  return o;
}

}  // namespace karvelo::cli
