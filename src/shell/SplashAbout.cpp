#include "shell/SplashAbout.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "shell/Icons.h"

namespace karvelo::shell {
namespace {

// Picture, program name, version and authors, stacked and centred.
void FillInfo(QWidget* w, QVBoxLayout* layout) {
  auto* picture = new QLabel(w);
  picture->setPixmap(ProgramPicture(128));
  picture->setAlignment(Qt::AlignCenter);
  auto* name = new QLabel(QStringLiteral("Karvelo"), w);
  QFont big = name->font();
  big.setPointSize(big.pointSize() * 2);
  big.setBold(true);
  name->setFont(big);
  name->setAlignment(Qt::AlignCenter);
  auto* version = new QLabel(QString::fromLatin1(ProgramVersionText), w);
  version->setObjectName(QStringLiteral("lblVersion"));
  version->setAlignment(Qt::AlignCenter);
  auto* authors = new QLabel(AuthorsLine(), w);
  authors->setObjectName(QStringLiteral("lblAuthors"));
  authors->setAlignment(Qt::AlignCenter);
  layout->addWidget(picture);
  layout->addWidget(name);
  layout->addWidget(version);
  layout->addWidget(authors);
}

void CentreOnScreen(QWidget* w) {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    w->move(area.center() - QPoint(w->width() / 2, w->height() / 2));
  }
}

}  // namespace

QString ProgramYear() {
  QString path = QCoreApplication::applicationFilePath();
  const QFileInfo info(path);
  const QDateTime stamp = info.exists() ? info.lastModified() : QDateTime::currentDateTime();
  return stamp.toString(QStringLiteral("yyyy-MM-dd")).left(4);
}

QString AuthorsLine() {
  return QStringLiteral("Copyright (C) 1998-") + ProgramYear() +
         QStringLiteral(" the Karvelo authors");
}

TfrmSplash::TfrmSplash(QWidget* parent, int lifetimeMs)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("frmSplash"));
  setAttribute(Qt::WA_DeleteOnClose, false);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::white);
  setPalette(pal);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(32, 24, 32, 24);
  FillInfo(this, layout);
  adjustSize();
  CentreOnScreen(this);
  QTimer::singleShot(lifetimeMs, this, &QWidget::close);
}

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmAbout"));
  setWindowTitle(QStringLiteral("About..."));
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::white);
  setPalette(pal);
  auto* layout = new QVBoxLayout(this);
  FillInfo(this, layout);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setDefault(true);
  layout->addWidget(ok, 0, Qt::AlignCenter);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  adjustSize();
}

}  // namespace karvelo::shell
