// "Nowa maszyna": what a machine made from a Windows 98 drive is made of,
// asked once the drive has been read: the partition of a disk image (when it
// has several), the user profile (when there are any besides the default
// one) and the machine's name, proposed from the computer's own name.
#pragma once

#include <QDialog>
#include <QString>
#include <memory>
#include <optional>
#include <string>

#include "platform/Win9xChoices.h"

namespace Ui {
class TfmNowaMaszyna;
}

namespace morvin {

class TfmNowaMaszyna : public QDialog {
  Q_OBJECT

 public:
  // `fallbackName`: the file or folder name, for a drive whose computer name will not do.
  TfmNowaMaszyna(const QString& source, platform::win9x::DriveChoices choices, const QString& fallbackName,
                 QWidget* parent = nullptr);
  ~TfmNowaMaszyna() override;

  // The chosen partition (0: a folder or a bare volume), profile (empty:
  // the default user) and name, and the drive already open on that partition
  // (nullptr when it is another one).
  int partition() const;
  std::string profile() const;
  QString machineName() const;
  std::shared_ptr<platform::win9x::Drive> openedDrive() const;

  // The computer's name (cp1250) when it can name a new machine, else
  // `fallback` with " 2", " 3"... added while that name is taken.
  static QString proposedName(const std::optional<std::string>& computerName, const QString& fallback);
  // A partition as the list shows it.
  static QString partitionText(const platform::win9x::DriveVolume& volume);

  // Takes the name only when a machine can have it and none has it yet.
  void accept() override;

 private:
  const platform::win9x::DriveVolume& volume() const;
  void showVolume();

  std::unique_ptr<Ui::TfmNowaMaszyna> ui;
  platform::win9x::DriveChoices choices_;
  QString fallbackName_;
  bool nameEdited_ = false;
};

}  // namespace morvin
