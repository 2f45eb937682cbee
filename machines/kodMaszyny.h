// "Maszyny": the machines the program keeps (its own and those made from
// Windows 98 drives), which one is in use, what waits to be handed back;
// makes a machine from a disk image in the background, switches to another
// machine without a restart, hands the changes back after a preview, and
// removes a machine made from a drive (never the drive).
#pragma once

#include <QDialog>
#include <QString>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

#include "platform/Machines.h"

class QThread;

namespace morvin::platform::win9x {
class KeptDrive;
struct DriveChoices;
struct ImportOptions;
}  // namespace morvin::platform::win9x

namespace Ui {
class TfmMaszyny;
}

namespace morvin {

class TfmMaszyny : public QDialog {
  Q_OBJECT

 public:
  explicit TfmMaszyny(QWidget* parent = nullptr);
  ~TfmMaszyny() override;

  // Reads the list of machines again.
  void Odswiez();
  // A new machine from a disk image, or from a folder holding a drive (a copy or a mount).
  void NewFromImageClick();
  void NewFromFolderClick();
  void CancelReadingClick();
  void UseClick();
  void HandBackClick();
  void RefreshClick();
  void RemoveClick();

  // Whether a drive is being read in the background.
  bool reading() const { return reader_ != nullptr; }
  const std::vector<platform::MachineInfo>& shownMachines() const { return machines_; }

  // Whether a hand-back or a refresh is working on the drive in the background.
  bool workingOnDrive() const { return worker_ != nullptr; }

  // What the preview of a hand-back lists, line for line (for the window and
  // its tests); `kept` keeps the drive it opened for the hand-back itself.
  static QStringList handBackPreview(const std::string& machineFolder, const std::string& target,
                                     platform::win9x::KeptDrive* kept = nullptr);

 signals:
  void readingFinished();
  // A hand-back or refresh ended: done, declined or failed.
  void driveWorkFinished();

 private:
  const platform::MachineInfo* chosen() const;
  void updateButtons();
  // Runs `job` on a worker thread, the progress moving and the drive buttons
  // off; `then` gets on this thread what the job threw (null when nothing)
  // and may start the next step. Its failures show as any handler's do.
  void inBackground(std::function<void()> job, std::function<void(std::exception_ptr)> then);
  // Runs `work` on the machine's drive in the background, then `done`: a disk
  // in use is named; values changed on both sides are asked about, and a yes
  // runs `work` again with the machine's state winning.
  void onDrive(const platform::MachineInfo& machine, std::function<void(bool force)> work,
               std::function<void()> done, bool force = false);
  void confirmHandBack(const platform::MachineInfo& machine, const QStringList& preview);
  // Reads what there is to choose on the drive in the background, then asks.
  void readChoices(const QString& source, const QString& fallbackName);
  // Asks what the machine is made of, then makes it in the background.
  void askAndMake(const QString& source, const QString& fallbackName, platform::win9x::DriveChoices choices);
  void makeMachine(const QString& name, const platform::win9x::ImportOptions& options);
  // Runs `job` on a reader thread with the progress and the cancel button
  // shown; `finished` gets what it threw as text, empty when nothing.
  void startReading(std::function<void()> job, std::function<void(const QString& failure)> finished);
  void stopReading();
  void finishReading(const QString& name, const QString& failure);

  std::unique_ptr<Ui::TfmMaszyny> ui;
  std::vector<platform::MachineInfo> machines_;
  QThread* reader_ = nullptr;
  bool cancelled_ = false;
  QThread* worker_ = nullptr;  // a hand-back's or refresh's step on the drive
  // The drive one hand-back or refresh opened, for all its steps.
  std::unique_ptr<platform::win9x::KeptDrive> kept_;
};

// Shows the window modally (a new one each time), over `parent`.
void showMachinesWindow(QWidget* parent);

// The machine chosen in the window, remembered between runs (the program's
// host settings); empty for the default one.
QString rememberedMachine();
void rememberMachine(const QString& name);

}  // namespace morvin
