#pragma once

#include <QWidget>

class QLabel;

// The splash window shown while the program starts: borderless, always on
// top, centred on the screen, the logo with the maker's notice over it.
class TfrmSplash : public QWidget {
  Q_OBJECT

public:
  explicit TfrmSplash(QWidget* Parent = nullptr);

  QLabel* imgSplash;
  QLabel* lblCopyright;

private:
  void FormCreate();
};
