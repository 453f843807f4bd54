// Answers the window's dialogs in place of the user: each file dialog takes
// the next scripted answer (an empty one cancels), and every question and
// error box is recorded for the test to check.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "Dialogs.h"

namespace tvlc::test {

struct TAskedFile {
  bool Save;
  std::string Filter;
  std::string DefaultExt;
};

class TScriptedDialogs : public TDialogs {
 public:
  std::deque<std::string> Answers;
  std::vector<TAskedFile> Asked;
  std::vector<std::string> Errors;
  std::vector<std::string> Questions;
  std::deque<bool> QuestionAnswers;  // none left: No

  std::string OpenFile(QWidget*, const TFileFilter& filter) override { return Answer(false, filter); }
  std::string SaveFile(QWidget*, const TFileFilter& filter) override { return Answer(true, filter); }
  void ErrorBox(QWidget*, const std::string& text) override { Errors.push_back(text); }
  bool Question(QWidget*, const std::string& text) override {
    Questions.push_back(text);
    if (QuestionAnswers.empty()) return false;
    const bool yes = QuestionAnswers.front();
    QuestionAnswers.pop_front();
    return yes;
  }

 private:
  std::string Answer(bool save, const TFileFilter& filter) {
    Asked.push_back({save, filter.Filter, filter.DefaultExt});
    if (Answers.empty()) return {};
    std::string answer = Answers.front();
    Answers.pop_front();
    return answer;
  }
};

}  // namespace tvlc::test
