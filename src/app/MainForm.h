// TMainFrm, the program's working window: a thin Qt shell over TMainCore.
// It asks for files, shows the core's state and forwards clicks; the
// commands themselves and their log lines live in the core.
#pragma once

#include <QMainWindow>
#include <memory>
#include <string>

#include "CommandGate.h"
#include "Dialogs.h"
#include "EncSelFrm.h"
#include "GenRect.h"
#include "MainWidgets.h"
#include "QtHost.h"
#include "SegmentFrm.h"
#include "StateView.h"
#include "appcore/MainCore.h"

namespace tvlc {

class TMainFrm : public QMainWindow {
  Q_OBJECT

 public:
  // Modules are loaded from moduleDirectory; `dialogs` answers every
  // question the window asks the user.
  explicit TMainFrm(std::unique_ptr<TDialogs> dialogs,
                    const std::string& moduleDirectory = ProgramDirectory());
  ~TMainFrm() override;

  TMainCore& Core() { return core_; }

 private:
  void WireMenus();
  void WireShapeCommands();
  void WireViews();
  void WireCoderTab();
  void WireQuantizationTab();
  void WireSpectrumTabs();

  // Asks for a file to read or write and hands it to a core command;
  // nothing happens when the user cancels.
  using TFileCommand = bool (TMainCore::*)(const std::string& path);
  void OpenThen(const TFileFilter& filter, TFileCommand command);
  void SaveThen(const TFileFilter& filter, TFileCommand command);

  void ShowAboutBox();
  void ChooseTransformation();
  void ShowStatistics();
  void GenerateRectangles();
  void GenerateSegmentation();
  void StudyRateDistortion();

  std::unique_ptr<TDialogs> dialogs_;
  TMainWidgets w_;
  TCommandGate gate_;
  TQtHost host_;
  TMainCore core_;
  TEncSelForm encSelForm_;
  TGenRectFrm genRectFrm_;
  TSegmentFrm segmentFrm_;
  TStateView view_;
};

}  // namespace tvlc
