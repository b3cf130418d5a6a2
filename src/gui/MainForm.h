// TMainForm: Vantor's main window. It binds the controls (TMainWidgets) to
// the window model: what the user does goes to the model, and what the model
// tells it to show, it shows. The logic, the state and the answers to the
// controller, to automation clients and to the sibling programs are the
// model's.
#pragma once

#include <QMainWindow>
#include <memory>

#include "app/Session.h"
#include "app/WindowFace.h"
#include "app/WindowModel.h"
#include "gui/FormServices.h"
#include "gui/MainWidgets.h"
#include "gui/Shell.h"

namespace vx {

class TMainForm : public QMainWindow, public TShellFace {
  Q_OBJECT
 public:
  TMainForm(TSessionSetup setup, TMainFormServices services, QWidget* parent = nullptr);
  ~TMainForm() override;

  TWindowModel& Model() { return *Model_; }
  TPredictionController& Controller() { return Model_->Controller(); }

  // Start-up (the model's Open), the window placed and the clocks started.
  // False when the engine is not ready; the user has been told what is
  // missing and the program should end without saving anything.
  bool FormCreate();
  // The window goes: the model writes the settings if it should. False only
  // when writing them failed (reported).
  bool FormDestroy();
  // The context menu's items for the page shown and the Ctrl key.
  void PreparePopup(bool ctrlHeld);
  // Automation clients connected (the close then only hides the window),
  // and the desktop session ending (the close is never refused).
  int AutomationClients = 0;
  bool ShuttingDown = false;

  // IWindowFace
  void Show(uint32_t parts) override;
  bool FrameVisible() const override { return isVisible(); }
  void SetFrameVisible(bool on) override { setVisible(on); }
  int FrameLeft() const override { return pos().x(); }
  int FrameTop() const override { return pos().y(); }
  void MoveFrame(int left, int top) override { move(left, top); }
  void RaiseFrame() override;
  void FocusCall() override;
  void StartProgress(int max) override;
  void MoveProgress(int position) override;
  void OpenProgress() override;
  void CloseProgress() override;

 signals:
  // An automation event (ExitRequest, Error, MapChange, ChartChange) for the
  // connected clients, after the handler that raised it has returned.
  void ClientEvent(int code);
  // "View pattern": the antenna model file and the band index.
  void PatternRequested(const QString& fileName, int band);
  // The window was minimised (the program may hide it in the tray).
  void Minimised();

 protected:
  void closeEvent(QCloseEvent* e) override;
  void changeEvent(QEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  void ConnectControls();
  void ConnectMenu();
  void ShowInputs();
  void ShowSolar();
  void ShowOptions();
  void ShowStatus();
  void ShowEngine();
  void AskForHome();  // the locator labels beside the two frames
  void ShowPopup(QWidget* surface, const QPoint& at);
  void SaveImageClick();
  void PreComputeClick();

  TMainFormServices Services_;
  std::unique_ptr<TWindowModel> Model_;
  TMainWidgets W;
  bool ShownOnce_ = false;
};

}  // namespace vx
