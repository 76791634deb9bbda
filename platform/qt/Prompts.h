#pragma once

#include <functional>

#include <QString>

class QWidget;

// The modal prompts the window and its dialogs put to the user: file
// dialogs, a folder dialog and the message box. Each is a replaceable hook,
// so that the window's logic can be driven offscreen by tests; by default
// they show the toolkit's own dialogs.
struct TPrompts {
  // Gives the chosen file, or an empty text when cancelled. The dialog starts in Folder.
  std::function<QString(QWidget* Parent, const QString& Title, const QString& Filter, const QString& Folder)> OpenFile;
  std::function<QString(QWidget* Parent, const QString& Title, const QString& Filter,
                        const QString& DefaultSuffix)>
      SaveFile;
  // Gives the chosen folder, or an empty text when cancelled. Text asks for
  // it; the dialog starts in Start.
  std::function<QString(QWidget* Parent, const QString& Title, const QString& Text, const QString& Start)> Folder;
  // An error message with its caption.
  std::function<void(QWidget* Parent, const QString& Caption, const QString& Text)> Error;
};

// The prompts in use; tests replace its members.
TPrompts& Prompts();
