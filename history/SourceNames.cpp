#include "SourceNames.h"

#include <QCoreApplication>
#include <array>

#include "registry/Cp1250.h"
#include "registry/JournalHistory.h"
#include "shell/Text.h"

namespace morvin {

namespace {

// A stored id (UTF-8) and the caption with the context its form translates it in.
struct SourceTitle {
  const char* stored;
  const char* context;
  const char* caption;
};

constexpr std::array<SourceTitle, 14> kTitles = {{
    {"Morvin 2.0 - Next Generation", "TMainForm", "Morvin 2.0 - Next Generation"},
    {"Pulpit", "TfmPulpit", "Pulpit"},
    {"Windows", "TfmWindows", "Windows"},
    {"Sieć", "TfmWeb", "Sieć"},
    {"Pasek zadań i Menu Start", "TfmMenuStart", "Pasek zadań i Menu Start"},
    {"Microsoft DOS", "TfmDos", "Microsoft DOS"},
    {"Foldery i pliki", "TfmFoldery", "Foldery i pliki"},
    {"Ikony", "TfmIkony", "Ikony"},
    {"Ustawienia programu", "TfmSet", "Ustawienia programu"},
    {"Zainstalowane programy", "TfmProgramy", "Zainstalowane programy"},
    {"Sztuczki w Windows - Praktyczny poradnik", "TfmSztuczki", "Sztuczki w Windows - Praktyczny poradnik"},
    // The form's caption carries spaces after the words; the stored id none.
    {"Kreator animowanej tapety", "TfmKreatorAnimTapeta", "Kreator animowanej tapety     "},
    {"Historia zmian", "TfmHistoria", "Historia zmian"},
    {reg::journal::kRefreshSource, "morvin::SourceNames",
     QT_TRANSLATE_NOOP("morvin::SourceNames", "Odczyt z dysku")},
}};

}  // namespace

QString sourceTitle(const std::string& storedSource) {
  for (const SourceTitle& title : kTitles)
    if (storedSource == cp1250::fromUtf8(title.stored))
      return QCoreApplication::translate(title.context, title.caption).trimmed();
  return fromAnsi(storedSource);
}

}  // namespace morvin
