// The shell's ties to its surroundings: message line breaks and 8-bit text at the Qt
// boundary, developer mode, the forced number formats, and RunAndWait.

#include <gtest/gtest.h>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <clocale>

#include "shell/ShellEnv.h"

namespace karvelo::shell {
namespace {

TEST(ShellText, MessageLineBreaksBecomeNewlines) {
  EXPECT_EQ(MessageText("a\n\rb\r\nc\rd"), QStringLiteral("a\nb\nc\nd"));
  EXPECT_EQ(MessageText("ERROR: Min and max values must be larger\n\r than zero"),
            QStringLiteral("ERROR: Min and max values must be larger\n than zero"));
}

TEST(ShellText, EightBitTextRoundTrips) {
  const std::string latin = "Profil \xE9st";  // Windows-1252 e acute
  EXPECT_EQ(ToQt(latin), QString::fromUtf8("Profil \xC3\xA9st"));
  EXPECT_EQ(FromQt(ToQt(latin)), latin);
  EXPECT_EQ(FromQt(QString::fromUtf8("\xE2\x82\xAC 5")), "\xE2\x82\xAC 5");  // euro as UTF-8
}

TEST(DeveloperPath, MatchesTheDeveloperFolderInAnyCase) {
  EXPECT_TRUE(IsDeveloperPath("/home/me/res/2d/karvelo.win/karvelo"));
  EXPECT_TRUE(IsDeveloperPath("C:\\Dev\\RES\\2D\\Karvelo.win\\karvelo.exe"));
  EXPECT_FALSE(IsDeveloperPath("/usr/bin/karvelo"));
  EXPECT_FALSE(IsDeveloperPath("/home/me/res/2d/karvelo"));
}

TEST(LocaleFormats, ForcedFormatsUseThePoint) {
  if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) GTEST_SKIP() << "no de_DE locale";
  QLocale::setDefault(QLocale(QLocale::German));
  ForceLocaleFormats();
  EXPECT_STREQ(std::localeconv()->decimal_point, ".");
  EXPECT_EQ(QLocale().toString(1.5), QStringLiteral("1.5"));
  EXPECT_EQ(QLocale().toString(12345), QStringLiteral("12345"));
}

TEST(RunAndWait, WaitsForTheChildWhileEventsFlow) {
  QTemporaryDir dir;
  const std::string marker = dir.filePath(QStringLiteral("done")).toStdString();
  int ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
  timer.start(10);
  EXPECT_TRUE(RunAndWait("\"/bin/sh\" -c \"sleep 0.3; echo finished > '" + marker + "'\""));
  timer.stop();
  EXPECT_TRUE(QFile::exists(QString::fromStdString(marker)));  // it waited for the end
  EXPECT_GT(ticks, 0);  // and the program's events went on meanwhile
}

TEST(RunAndWait, AProgramThatCannotStartIsNotWaitedFor) {
  EXPECT_FALSE(RunAndWait("/nonexistent/k7rdump \"in.K7R\" \"in.TMP\""));
  EXPECT_FALSE(RunAndWait(""));
}

}  // namespace
}  // namespace karvelo::shell
