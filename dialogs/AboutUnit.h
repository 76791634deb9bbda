#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The about box: the logo on black, and an OK button.
class TfrmAbout : public QDialog {
  Q_OBJECT

public:
  explicit TfrmAbout(QWidget* Parent = nullptr);

  QLabel* imgLogo;
  QPushButton* btnOK;

private:
  void FormCreate();
};
