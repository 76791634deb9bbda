#pragma once

#include <QStringList>

#include "platform/qt/Prompts.h"

// Replaces the modal prompts for one test: files and folders come from
// Chosen, errors are collected as "caption: text".
struct TFakePrompts {
  TFakePrompts() : Saved(Prompts()) {
    Prompts().OpenFile = [this](QWidget*, const QString&, const QString&, const QString& Folder) {
      StartFolder = Folder;
      return Chosen;
    };
    Prompts().SaveFile = [this](QWidget*, const QString&, const QString&, const QString&) { return Chosen; };
    Prompts().Folder = [this](QWidget*, const QString&, const QString& Text, const QString& Start) {
      FolderText = Text;
      StartFolder = Start;
      return Chosen;
    };
    Prompts().Error = [this](QWidget*, const QString& Caption, const QString& Text) {
      Errors << Caption + ": " + Text;
    };
  }
  ~TFakePrompts() { Prompts() = Saved; }
  TPrompts Saved;
  QString Chosen;
  QStringList Errors;
  // What the last file or folder dialog asked, and where it started.
  QString FolderText;
  QString StartFolder;
};
