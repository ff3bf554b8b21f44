#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <filesystem>

#include "base/Files.h"
#include "cli/CliTestSupport.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace karvelo::test {
namespace {

QJsonObject Info(const std::string& path, int expectedStatus, const std::string& extra = "") {
  const RunResult r = RunPlot("--info " + extra + " " + ShellQuote(path));
  EXPECT_EQ(r.status, expectedStatus) << path;
  QJsonParseError error{};
  const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(r.out), &error);
  EXPECT_EQ(error.error, QJsonParseError::NoError) << r.out;
  return doc.object();
}

std::string Real(const std::string& name) {
  return std::string(KARVELO_REALDATA_DIR) + "/" + name;
}

TEST(CliInfo, ReportsEveryKeyOfADataFileAndWritesNothingBesideIt) {
  UniqueTempDir dir("karvelo-cli");
  const std::string copy = dir / "p3_Wenner_S-N.dat";
  fs::copy_file(Real("wenner/p3_Wenner_S-N.dat"), copy);
  const QJsonObject o = Info(copy, 0);
  const char* keys[] = {"file",
                        "kind",
                        "title",
                        "array_code",
                        "array_type",
                        "xyscan",
                        "ip_flag",
                        "ip_windows",
                        "time_steps",
                        "error_estimates",
                        "x_is_first_electrode",
                        "n_data",
                        "spacings",
                        "n_factors",
                        "pseudo_depths",
                        "y_values",
                        "spacing_min",
                        "spacing_max",
                        "x_plot_min",
                        "x_plot_max",
                        "rho_min",
                        "rho_max",
                        "ip_min",
                        "ip_max",
                        "topography",
                        "messages",
                        "model"};
  for (const char* k : keys) EXPECT_TRUE(o.contains(k)) << k;
  EXPECT_EQ(o.size(), static_cast<int>(std::size(keys)));
  EXPECT_EQ(o["kind"].toString(), "dat");
  EXPECT_EQ(o["file"].toString().toStdString(), copy);
  EXPECT_EQ(o["n_data"].toInt(), 176);
  EXPECT_EQ(o["array_code"].toInt(), 1);
  EXPECT_EQ(o["array_type"].toString(), "Wenner");
  EXPECT_EQ(o["ip_flag"].toInt(), 1);
  EXPECT_FALSE(o["ip_min"].isNull());
  EXPECT_EQ(o["topography"].toObject()["points"].toInt(), 34);
  EXPECT_TRUE(o["model"].isNull());
  EXPECT_TRUE(o["y_values"].toArray().isEmpty());
  // Read-only: only the data file is in the folder afterwards.
  int files = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path())) ++files;
  EXPECT_EQ(files, 1);
}

TEST(CliInfo, TheIPOptionAnswersTheResistivityOrIPQuestion) {
  // Without --ip the plotted quantity is resistivity; the IP range is reported either way.
  const QJsonObject res = Info(Real("ip/ert1_an_wen.dat"), 0);
  const QJsonObject ip = Info(Real("ip/ert1_an_wen.dat"), 0, "--ip");
  EXPECT_EQ(res["n_data"].toInt(), 84);
  EXPECT_EQ(ip["n_data"].toInt(), 84);
  EXPECT_EQ(res["ip_min"].toDouble(), ip["ip_min"].toDouble());
}

TEST(CliInfo, ABrokenFileNamesTheLineAndItsText) {
  const std::string given = Real("malformed/B52_DDN6.dat");
  const QJsonObject o = Info(given, 1);
  const QJsonArray messages = o["messages"].toArray();
  ASSERT_EQ(messages.size(), 1);
  const std::string m = messages[0].toString().toStdString();
  EXPECT_EQ(m.rfind("Error in file format in data part of " + given + "!", 0), 0u) << m;
  EXPECT_NE(m.find("Line 16: "), std::string::npos) << m;
  EXPECT_NE(m.find("TODO"), std::string::npos) << m;
}

TEST(CliInfo, ExitStatusTellsMissingFromUnreadable) {
  UniqueTempDir dir("karvelo-cli");
  EXPECT_EQ(RunPlot("--info " + ShellQuote(dir / "missing.dat")).status, 2);
  ASSERT_TRUE(WriteFileAtomically(dir / "empty.dat", ""));
  EXPECT_EQ(RunPlot("--info " + ShellQuote(dir / "empty.dat")).status, 1);
  EXPECT_EQ(RunPlot("--info").status, 2);
  EXPECT_EQ(RunPlot("--no-such-option x.dat").status, 2);
  const RunResult help = RunPlot("--help");
  EXPECT_EQ(help.status, 0);
  for (const char* opt :
       {"--info", "--output", "--width", "--height", "--palette", "--ip", "--font-size",
        "--time-step", "--spacing", "--n-factor", "--type", "--build"}) {
    EXPECT_NE(help.out.find(opt), std::string::npos) << opt;
  }
}

TEST(CliInfo, EveryRealDataFileIsReported) {
  struct Case {
    const char* file;
    int nData;
  } cases[] = {{"dipole-dipole/p2_DipolDipol_SSW-NNE.dat", 663},
               {"error-estimate/res2dinv-forward-error.dat", 739},
               {"general-array/res2dinv-ga.dat", 540},
               {"gradient/HOD_DD.dat", 1392},
               {"ip-multiwindow/Project4_Wenner_1.dat", 360},
               {"pole-dipole/res2dinv_PoleDipole.DAT", 162},
               {"pole-pole/res2dinv_PolePole.DAT", 295},
               {"topography/primeFile.dat", 438},
               {"wenner/res2dinv-wenner32.dat", 1648}};
  for (const auto& c : cases) {
    const QJsonObject o = Info(Real(c.file), 0);
    EXPECT_EQ(o["n_data"].toInt(), c.nData) << c.file;
    EXPECT_TRUE(o["messages"].toArray().isEmpty()) << c.file;
  }
}

}  // namespace
}  // namespace karvelo::test
