#include "platform/qt/Prompts.h"

#include <QFileDialog>
#include <QMessageBox>

TPrompts& Prompts() {
  static TPrompts prompts{
      [](QWidget* Parent, const QString& Title, const QString& Filter, const QString& Folder) {
        // The working directory is never changed by the dialog here.
        return QFileDialog::getOpenFileName(Parent, Title, Folder, Filter, nullptr, QFileDialog::ReadOnly);
      },
      [](QWidget* Parent, const QString& Title, const QString& Filter, const QString& DefaultSuffix) {
        QFileDialog dialog(Parent, Title, QString(), Filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(DefaultSuffix);
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
      },
      [](QWidget* Parent, const QString& Title, const QString& Text, const QString& Start) {
        // The toolkit's own dialog, which can show the text.
        QFileDialog dialog(Parent, Title, Start);
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
        dialog.setLabelText(QFileDialog::LookIn, Text);
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
      },
      [](QWidget* Parent, const QString& Caption, const QString& Text) {
        QMessageBox::critical(Parent, Caption, Text);
      },
  };
  return prompts;
}
