// The outside world: documents and links opened by the desktop, commands run.
#pragma once

#include <QString>
#include <memory>

class QWidget;

namespace morvin {

class ShellService {
 public:
  virtual ~ShellService() = default;
  // ShellExecuteA(owner, verb, file, no parameters, no folder, showCommand); result ignored.
  virtual void execute(QWidget* owner, const QString& verb, const QString& file, int showCommand) = 0;
  // WinExec(commandLine, showCommand); result ignored.
  virtual void winExec(const QString& commandLine, int showCommand) = 0;
};

inline constexpr int SW_HIDE_ = 0;
inline constexpr int SW_SHOWNORMAL_ = 1;
inline constexpr int SW_SHOW_ = 5;

ShellService& shellService();
void setShellService(std::shared_ptr<ShellService> service);

}  // namespace morvin
