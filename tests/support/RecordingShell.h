// The window's desktop for tests: every question, error and address it is
// given is recorded, and questions get the answers the test scripted.
#pragma once

#include <QStringList>

#include "gui/Shell.h"

namespace vxtest {

struct TRecordingShell : vx::IShell {
  QStringList Questions;  // "title|text"
  QStringList Errors, Urls;
  bool Answer = false;                  // to a Yes/No question
  vx::TAnswer ThreeWay = vx::anCancel;  // to a Yes/No/Cancel question
  bool ModalResult = false;
  QStringList TextAnswers;    // to text questions in turn; none left: cancelled
  QStringList TextQuestions;  // "title|label"
  int SavedImages = 0;
  vx::TRgbImage SavedImage;  // the last one

  bool AskYesNo(QWidget*, const QString& title, const QString& text) override {
    Questions << title + "|" + text;
    return Answer;
  }
  vx::TAnswer AskYesNoCancel(QWidget*, const QString& title, const QString& text) override {
    Questions << title + "|" + text;
    return ThreeWay;
  }
  void ShowError(QWidget*, const QString& text) override { Errors << text; }
  bool AskText(QWidget*, const QString& title, const QString& label, QString& text) override {
    TextQuestions << title + "|" + label;
    if (TextAnswers.isEmpty()) return false;
    text = TextAnswers.takeFirst();
    return true;
  }
  bool RunModal(QDialog&) override { return ModalResult; }
  bool SaveImage(QWidget*, const vx::TRgbImage& image) override {
    SavedImage = image;
    return ++SavedImages, true;
  }
  void OpenUrl(const QString& url) override { Urls << url; }
};

}  // namespace vxtest
