#pragma once

#include <QStringList>

#include "platform/qt/Prompts.h"

// Replaces the modal prompts for one test: files and folders come from
// Chosen, errors are collected as "caption: text".
struct TFakePrompts {
  TFakePrompts() : Saved(Prompts()) {
    Prompts().OpenFile = [this](QWidget*, const QString&, const QString&) { return Chosen; };
    Prompts().SaveFile = [this](QWidget*, const QString&, const QString&, const QString&) { return Chosen; };
    Prompts().Folder = [this](QWidget*, const QString&) { return Chosen; };
    Prompts().Error = [this](QWidget*, const QString& Caption, const QString& Text) {
      Errors << Caption + ": " + Text;
    };
  }
  ~TFakePrompts() { Prompts() = Saved; }
  TPrompts Saved;
  QString Chosen;
  QStringList Errors;
};
