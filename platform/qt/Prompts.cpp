#include "platform/qt/Prompts.h"

#include <QFileDialog>
#include <QMessageBox>

TPrompts& Prompts() {
  static TPrompts prompts{
      [](QWidget* Parent, const QString& Title, const QString& Filter) {
        // The working directory is never changed by the dialog here.
        return QFileDialog::getOpenFileName(Parent, Title, QString(), Filter, nullptr,
                                            QFileDialog::ReadOnly);
      },
      [](QWidget* Parent, const QString& Title, const QString& Filter, const QString& DefaultSuffix) {
        QFileDialog dialog(Parent, Title, QString(), Filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(DefaultSuffix);
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
      },
      [](QWidget* Parent, const QString& Title) {
        return QFileDialog::getExistingDirectory(Parent, Title, QString());
      },
      [](QWidget* Parent, const QString& Caption, const QString& Text) {
        QMessageBox::critical(Parent, Caption, Text);
      },
  };
  return prompts;
}
