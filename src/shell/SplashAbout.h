#pragma once

// The splash window shown at start and the about box.

#include <QDialog>
#include <QString>
#include <QWidget>

namespace karvelo::shell {

inline constexpr const char* ProgramVersionText = "2.20.00";

// The authors' line; its year range ends with the year of the program file's date.
QString AuthorsLine();
// "yyyy" of the program file's modification date.
QString ProgramYear();

class TfrmSplash : public QWidget {
  Q_OBJECT
 public:
  // Closes itself `lifetimeMs` after it was created.
  explicit TfrmSplash(QWidget* parent = nullptr, int lifetimeMs = 5000);
};

class TfrmAbout : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmAbout(QWidget* parent = nullptr);
};

}  // namespace karvelo::shell
