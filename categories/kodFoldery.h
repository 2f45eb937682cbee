// "Foldery i pliki": two shell options of the current user and the list of
// the places where the shell keeps its special folders.
#pragma once

#include <QDialog>
#include <array>
#include <memory>
#include <string>

#include "shell/Binding.h"

namespace Ui {
class TfmFoldery;
}

namespace morvin {

// One special folder: its value under Shell Folders and the name the list shows.
struct ShellFolder {
  const char* value;
  const char* name;  // UTF-8, Polish; translated when shown
};

inline constexpr std::size_t kShellFolderCount = 15;
// In reading order: AppData first, Templates last.
extern const std::array<ShellFolder, kShellFolderCount> kShellFolders;

// The fifteen paths (cp1250), in reading order; empty until read.
using TRecord = std::array<std::string, kShellFolderCount>;

// Reads the paths in reading order; a value that is not text ends the reading,
// leaving it and the paths after it empty.
void readShellFolders(TRecord& record);

class TfmFoldery : public QDialog {
  Q_OBJECT

 public:
  explicit TfmFoldery(QWidget* parent = nullptr);
  ~TfmFoldery() override;

 private:
  void FormCreate();
  void fillList(const TRecord& record);
  void showNames();  // in the program's language

  std::unique_ptr<Ui::TfmFoldery> ui_;
  std::unique_ptr<binding::Engine> engine_;
};

}  // namespace morvin
